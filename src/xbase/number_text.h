// Numbers as text, the same under every process locale.
//
// The window layer lets Qt set the C locale from the environment, and on a Spanish desktop
// strtod, printf's %f/%g and scanf's %lf then take "," for the decimal point. The tables,
// the pictures, the entry filters, the server driver and the tools therefore convert
// through these functions only: "." is always the decimal point, digits are never grouped,
// and no result depends on setlocale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xbase {

// The number at the start of `text` (after blanks and tabs): [sign] digits [. digits]
// [e [sign] digits], read as strtod reads it in the C locale; what follows is ignored.
// 0 when no digit comes first. Beyond the range of a double it is +-HUGE_VAL, below it 0.
double parseNumber(std::string_view text);

// The whole of `text` (blanks around allowed) as a number: what parseNumber reads, or
// "inf"/"nan"; nullopt when anything else is there.
std::optional<double> readNumber(std::string_view text);

// xBase rounds the decimal text of a number, not its binary value: a double is taken to its
// 15 significant digits (what it holds reliably) and rounded half away from zero there, so
// that 2.675 gives 2.68.

// `value` with `decimals` places so rounded, "-" only when a non-zero digit is left; no
// padding ("2.68", "0.00", "-1.50").
std::string decimalText(double value, int64_t decimals);
// The number that text stands for (ROUND()); negative `decimals` round to tens, hundreds...
double roundDecimal(double value, int64_t decimals);
// All the significant digits of a finite `value`, no exponent, no padding ("0.125", "-3").
std::string significantText(double value);

// A numeric field's text: decimalText right-aligned in `width` characters; "" when it does
// not fit or the value is not finite.
std::string formatNumber(double value, int width, int decimals);

// `value` with exactly `decimals` places, correctly rounded from its binary value (as
// printf's "%.*f" in the C locale).
std::string fixedNumber(double value, int decimals);

// The shortest text that reads back as the same double ("1.5", "1e+300", "inf").
std::string shortestNumber(double value);

// Fixed-point values kept as integers scaled by 10^places (currency fields: 4 places): the
// exact text ("-12.3400" for -123400), and back from such a text (places beyond `places`
// dropped, missing ones taken as zeros; reading stops at the first other character).
std::string scaledText(int64_t scaled, int places);
int64_t scaledFrom(std::string_view text, int places);

// At most `digits` significant digits, trailing zeros dropped, exponent form for very large
// or small values (as printf's "%.*g" in the C locale).
std::string generalNumber(double value, int digits);

}  // namespace xbase
