#include "lib/money.h"

#include <cstdlib>

#include "xbase/number_text.h"

namespace lib {

namespace {

__extension__ typedef __int128 Wide;  // products of two amounts before they are rounded

constexpr int64_t kPow10[] = {1, 10, 100, 1'000, 10'000, 100'000, 1'000'000};

// `n` divided by `d` (> 0), rounded half away from zero.
Wide divideRounded(Wide n, Wide d) {
  const Wide q = n / d, r = n % d;
  const Wide twice = (r < 0 ? -r : r) * 2;
  if (twice >= d) return n < 0 ? q - 1 : q + 1;
  return q;
}

int clampPlaces(int places) {
  return places < 0 ? 0 : places > Money::kPlaces ? Money::kPlaces : places;
}

}  // namespace

std::optional<Money> Money::parse(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  Wide whole = 0, fraction = 0;
  int places = 0, digits = 0, roundDigit = -1;
  bool point = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == ',' && !point) continue;  // thousands separators
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    ++digits;
    if (!point) {
      whole = whole * 10 + (c - '0');
      if (whole > INT64_MAX / kOne) return std::nullopt;
    } else if (places < kPlaces) {
      fraction = fraction * 10 + (c - '0');
      ++places;
    } else if (roundDigit < 0) {
      roundDigit = c - '0';
    }
  }
  if (digits == 0) return std::nullopt;
  Wide m = whole * kOne + fraction * kPow10[kPlaces - places];
  if (roundDigit >= 5) ++m;
  if (m > INT64_MAX) return std::nullopt;
  return Money(int64_t(negative ? -m : m));
}

Money Money::fromNumber(double value) {
  // The decimal text of the double (its 15 significant digits), then exact.
  return parse(xbase::decimalText(value, kPlaces)).value_or(Money());
}

double Money::number() const {
  return xbase::parseNumber(text(kPlaces));
}

std::string Money::text(int places) const {
  places = clampPlaces(places);
  const int64_t r = rounded(places).m_;
  const int64_t a = r < 0 ? -r : r;
  std::string out = std::to_string(a / kOne);
  if (places > 0) {
    std::string decimals = std::to_string(a % kOne + kOne).substr(1, size_t(places));
    out += "." + decimals;
  }
  return r < 0 ? "-" + out : out;
}

Money Money::rounded(int places) const {
  const int64_t unit = kPow10[kPlaces - clampPlaces(places)];
  return Money(int64_t(divideRounded(m_, unit) * unit));
}

Money Money::roundedHalfEven(int places) const {
  const int64_t unit = kPow10[kPlaces - clampPlaces(places)];
  int64_t q = m_ / unit, r = m_ % unit;
  const int64_t twice = (r < 0 ? -r : r) * 2;
  if (twice > unit || (twice == unit && q % 2 != 0)) q += m_ < 0 ? -1 : 1;
  return Money(q * unit);
}

Money operator*(Money a, Money b) {
  return Money(int64_t(divideRounded(Wide(a.m_) * b.m_, Money::kOne)));
}

Money operator/(Money a, Money b) {
  if (b.m_ == 0) return Money();
  Wide n = Wide(a.m_) * Money::kOne, d = b.m_;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  return Money(int64_t(divideRounded(n, d)));
}

}  // namespace lib
