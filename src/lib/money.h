// Amounts, rates and factors as exact decimals.
//
// A Money is a whole number of millionths (six decimal places: rates and factors keep up
// to six, amounts two), in 64 bits: up to about nine million million units either side of
// zero. Sums and differences are exact; a product or a quotient is carried at full precision
// and rounded once to millionths, half away from zero; rounding to fewer places (an amount to
// cents) is explicit, with `rounded`, half away from zero unless a caller says otherwise.
// Division by zero gives zero, as the program divides (lib::DIVIDE).
//
// At the table boundary a numeric field crosses as a double (xbase::Value): `fromNumber`
// takes it through its decimal text (15 significant digits, what a field of up to 15 digits
// holds exactly), and `number()` hands back the double whose decimal text is the amount, so
// a field read, computed on and written back never goes through binary arithmetic.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lib {

class Money {
 public:
  static constexpr int kPlaces = 6;
  static constexpr int64_t kOne = 1'000'000;

  constexpr Money() = default;
  // Whole units (12 = 12.000000).
  static constexpr Money units(int64_t whole) { return Money(whole * kOne); }
  // Millionths as they are kept.
  static constexpr Money millionths(int64_t m) { return Money(m); }
  // What a user or a file writes: blanks around, an optional sign, digits with "," between
  // thousands, a "." and decimals (beyond six rounded half away from zero). nullopt for
  // anything else, or beyond the range.
  static std::optional<Money> parse(std::string_view text);
  // A numeric field's value.
  static Money fromNumber(double value);

  int64_t millionths() const { return m_; }
  // The double whose decimal text is this amount (for a numeric field).
  double number() const;
  // "1234.50" with `places` decimals (0 to 6), rounded half away from zero, "-" only when a
  // non-zero digit is left; no thousands separators.
  std::string text(int places = 2) const;

  // Rounded to `places` decimals (0 to 6), half away from zero.
  Money rounded(int places) const;
  // Rounded to `places` decimals, half to even (the "banker's" rule some tax rules ask for).
  Money roundedHalfEven(int places) const;

  Money operator-() const { return Money(-m_); }
  Money& operator+=(Money o) {
    m_ += o.m_;
    return *this;
  }
  Money& operator-=(Money o) {
    m_ -= o.m_;
    return *this;
  }
  friend Money operator+(Money a, Money b) { return a += b; }
  friend Money operator-(Money a, Money b) { return a -= b; }
  // The product rounded to millionths, half away from zero.
  friend Money operator*(Money a, Money b);
  // The quotient rounded to millionths, half away from zero; 0 when `b` is zero.
  friend Money operator/(Money a, Money b);
  friend constexpr auto operator<=>(Money, Money) = default;

  bool isZero() const { return m_ == 0; }
  bool negative() const { return m_ < 0; }
  Money abs() const { return Money(m_ < 0 ? -m_ : m_); }

 private:
  explicit constexpr Money(int64_t m) : m_(m) {}
  int64_t m_ = 0;
};

}  // namespace lib
