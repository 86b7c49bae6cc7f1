#include "xbase/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace xbase {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// A decimal number at the start of `s`: [sign] digits [. digits] [e [sign] digits].
struct Scanned {
  size_t length = 0;  // 0: no number there
  double value = 0;
};

Scanned scanDecimal(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  size_t mantissa = i;
  int wholeDigits = 0, leadingZeros = 0, digits = 0;
  bool significant = false;
  for (; i < s.size() && isDigit(s[i]); ++i, ++digits) {
    significant = significant || s[i] != '0';
    if (significant) ++wholeDigits;
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && isDigit(s[i]); ++i, ++digits) {
      if (!significant && s[i] == '0') ++leadingZeros;
      significant = significant || s[i] != '0';
    }
  }
  if (digits == 0) return {};
  long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    bool negativeExp = false;
    if (j < s.size() && (s[j] == '-' || s[j] == '+')) negativeExp = s[j++] == '-';
    if (j < s.size() && isDigit(s[j])) {
      for (; j < s.size() && isDigit(s[j]); ++j) exponent = std::min(exponent * 10 + (s[j] - '0'), 100000L);
      if (negativeExp) exponent = -exponent;
      i = j;
    }
  }
  double v = 0;
  auto res = std::from_chars(s.data() + mantissa, s.data() + i, v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Where the first significant digit stands tells overflow from underflow.
    long magnitude = (wholeDigits > 0 ? wholeDigits : -leadingZeros) + exponent;
    v = magnitude > 0 ? HUGE_VAL : 0.0;
  }
  return {i, negative ? -v : v};
}

// ---- decimal rounding ----
// xBase rounds the decimal text of a number, not its binary value: ROUND(2.675, 2) is 2.68.
// Numbers are taken to 15 significant digits, which is what a double holds reliably.

struct Digits {
  char d[24] = {};
  int n = 0;    // significant digits, no trailing zeros; 0 means the value is zero
  int exp = 0;  // value = 0.d[0..n) * 10^exp
};

Digits decompose(double ax) {
  Digits r;
  if (!(ax > 0) || std::isinf(ax)) return r;
  // "d.dddddddddddddde+XX": fifteen digits and the exponent of the first.
  char buf[48];
  char* end = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, 14).ptr;
  r.d[r.n++] = buf[0];
  char* p = buf + 2;
  while (*p != 'e') r.d[r.n++] = *p++;
  int exp10 = 0;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exp10);
  r.exp = exp10 + 1;
  while (r.n > 0 && r.d[r.n - 1] == '0') --r.n;
  if (r.n == 0) r.exp = 0;
  return r;
}

void roundDigits(Digits& r, int64_t dec) {
  int64_t keep = r.exp + dec;
  if (keep >= r.n) return;
  if (keep < 0) {
    r.n = 0;
    r.exp = 0;
    return;
  }
  bool up = r.d[keep] >= '5';
  r.n = int(keep);
  if (up) {
    int i = r.n - 1;
    while (i >= 0 && r.d[i] == '9') --i;
    if (i < 0) {
      r.d[0] = '1';
      r.n = 1;
      r.exp += 1;
    } else {
      r.d[i]++;
      r.n = i + 1;
    }
  }
  while (r.n > 0 && r.d[r.n - 1] == '0') --r.n;
  if (r.n == 0) r.exp = 0;
}

// "123.45" for digits already rounded to `dec` places.
std::string fixedText(const Digits& r, int64_t dec) {
  std::string s;
  if (r.exp <= 0) {
    s = "0";
  } else {
    s.reserve(size_t(r.exp) + size_t(dec) + 1);
    for (int i = 0; i < r.exp; ++i) s.push_back(i < r.n ? r.d[i] : '0');
  }
  if (dec > 0) {
    s.push_back('.');
    for (int64_t j = 0; j < dec; ++j) {
      int64_t idx = r.exp + j;
      s.push_back(idx >= 0 && idx < r.n ? r.d[idx] : '0');
    }
  }
  return s;
}

bool isSmallInteger(double x) {
  return std::fabs(x) < 1e15 && x == std::trunc(x);
}

std::string integerText(double ax) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, int64_t(ax));
  return std::string(buf, res.ptr);
}

std::string absText(double ax, int64_t dec) {
  if (dec == 0 && isSmallInteger(ax)) return integerText(ax);
  // Fast path: away from a decimal tie, rounding the scaled binary value gives the same
  // digits as rounding the decimal text (below 1e9 the 15-digit error is under 1e-6).
  static constexpr double kPow10[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  if (dec <= 9 && ax < 1e9) {
    double scaled = ax * kPow10[dec];
    double whole = std::floor(scaled);
    double frac = scaled - whole;
    if (scaled < 1e9 && std::fabs(frac - 0.5) > 1e-6) {
      std::string s = integerText(whole + (frac > 0.5 ? 1 : 0));
      if (dec > 0) {
        if (s.size() <= size_t(dec)) s.insert(0, size_t(dec) + 1 - s.size(), '0');
        s.insert(s.size() - size_t(dec), 1, '.');
      }
      return s;
    }
  }
  Digits r = decompose(ax);
  roundDigits(r, dec);
  return fixedText(r, dec);
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

double parseNumber(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && isBlank(text[b])) ++b;
  return scanDecimal(text.substr(b)).value;
}

std::optional<double> readNumber(std::string_view text) {
  std::string_view t = trimBlanks(text);
  if (t.empty()) return std::nullopt;
  Scanned n = scanDecimal(t);
  if (n.length == t.size()) return n.value;
  if (n.length > 0) return std::nullopt;
  // No digits: only the names of infinity and not-a-number are left.
  bool negative = t[0] == '-';
  if (t[0] == '-' || t[0] == '+') t.remove_prefix(1);
  double v = 0;
  auto res = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return std::nullopt;
  return negative ? -v : v;
}

std::string fixedNumber(double value, int decimals) {
  // A double has at most 309 integer digits; the places are capped well below the buffer.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::clamp(decimals, 0, 60));
  return std::string(buf, res.ptr);
}

std::string shortestNumber(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

std::string generalNumber(double value, int digits) {
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, std::clamp(digits, 1, 60));
  return std::string(buf, res.ptr);
}

std::string decimalText(double value, int64_t decimals) {
  std::string digits = absText(std::fabs(value), std::max<int64_t>(decimals, 0));
  bool negative = value < 0 && digits.find_first_of("123456789") != std::string::npos;
  return negative ? "-" + digits : digits;
}

double roundDecimal(double value, int64_t decimals) {
  if (!std::isfinite(value) || value == 0) return value;
  decimals = std::clamp<int64_t>(decimals, -400, 400);
  Digits r = decompose(std::fabs(value));
  if (r.exp + decimals >= r.n) return value;
  roundDigits(r, decimals);
  if (r.n == 0) return 0;
  std::string s = "0." + std::string(r.d, size_t(r.n)) + "e" + std::to_string(r.exp);
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return value < 0 ? -v : v;
}

std::string significantText(double value) {
  if (isSmallInteger(value)) return (value < 0 ? "-" : "") + integerText(std::fabs(value));
  Digits r = decompose(std::fabs(value));
  std::string s = fixedText(r, std::max(0, r.n - r.exp));
  return (value < 0 && r.n > 0 ? "-" : "") + s;
}

std::string scaledText(int64_t scaled, int places) {
  uint64_t a = scaled < 0 ? 0ull - uint64_t(scaled) : uint64_t(scaled);
  char buf[32];
  std::string digits(buf, std::to_chars(buf, buf + sizeof buf, a).ptr);
  if (places > 0) {
    if (digits.size() <= size_t(places)) digits.insert(0, size_t(places) + 1 - digits.size(), '0');
    digits.insert(digits.size() - size_t(places), 1, '.');
  }
  return scaled < 0 ? "-" + digits : digits;
}

int64_t scaledFrom(std::string_view text, int places) {
  size_t i = 0;
  bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  int64_t v = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) v = v * 10 + (text[i] - '0');
  int taken = 0;
  if (i < text.size() && text[i] == '.')
    for (++i; i < text.size() && isDigit(text[i]) && taken < places; ++i, ++taken) v = v * 10 + (text[i] - '0');
  for (; taken < places; ++taken) v *= 10;
  return negative ? -v : v;
}

std::string formatNumber(double value, int width, int decimals) {
  if (!std::isfinite(value)) return {};
  std::string s = decimalText(value, std::clamp(decimals, 0, 18));
  if (int(s.size()) > width) return {};
  return std::string(size_t(width) - s.size(), ' ') + s;
}

}  // namespace xbase
