#include "xbase/expr_functions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace xbase::expr_detail {

using Node = Expr::Node;
using VT = ValueType;

// ---- value helpers ----

int64_t toInt(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 9.0e18) return int64_t(9000000000000000000LL);
  if (d <= -9.0e18) return -int64_t(9000000000000000000LL);
  return int64_t(d);
}

int compareChars(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  if (n > 0) {
    int c = std::char_traits<char>::compare(a.data(), b.data(), n);
    if (c != 0) return c;
  }
  // The shorter operand reads as if padded with blanks.
  std::string_view rest = a.size() > n ? a.substr(n) : b.substr(n);
  for (char ch : rest) {
    if (ch == ' ') continue;
    int r = static_cast<unsigned char>(ch) < static_cast<unsigned char>(' ') ? -1 : 1;
    return a.size() > n ? r : -r;
  }
  return 0;
}

bool charsEqual(std::string_view a, std::string_view b) {
  if (a.size() < b.size()) return false;
  return b.empty() || std::char_traits<char>::compare(a.data(), b.data(), b.size()) == 0;
}

namespace {
std::string_view trimRight(std::string_view s) {
  size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}
}  // namespace

bool charsExact(std::string_view a, std::string_view b) {
  return trimRight(a) == trimRight(b);
}

namespace {
constexpr int64_t kDayMs = 86400000;
constexpr int32_t kMaxJulian = 5373484;  // 9999-12-31
}  // namespace

// An empty date stays empty; a result outside years 1..9999 becomes the empty date.
int32_t dateAdd(int32_t julian, double days) {
  if (julian == 0) return 0;
  int64_t r = int64_t(julian) + toInt(days);
  if (r < 1 || r > kMaxJulian) return 0;
  return int32_t(r);
}

Value dateTimeAdd(const Value& t, double seconds) {
  if (t.julian == 0) return Value::dateTime(0, 0);
  double ms = std::round(seconds * 1000.0);
  if (!(std::fabs(ms) < 1e18)) return Value::dateTime(0, 0);
  int64_t total = int64_t(t.julian) * kDayMs + t.millis + int64_t(ms);
  int64_t day = total >= 0 ? total / kDayMs : -((-total + kDayMs - 1) / kDayMs);
  int64_t rem = total - day * kDayMs;
  if (day < 1 || day > kMaxJulian) return Value::dateTime(0, 0);
  return Value::dateTime(int32_t(day), int32_t(rem));
}

double dateTimeDiff(const Value& a, const Value& b) {
  if (a.julian == 0 || b.julian == 0) return 0;
  int64_t ms = (int64_t(a.julian) - b.julian) * kDayMs + (int64_t(a.millis) - b.millis);
  return double(ms) / 1000.0;
}

namespace {

bool hasNonZeroDigit(std::string_view s) {
  return s.find_first_of("123456789") != std::string_view::npos;
}

// The text of a number with no picture: all its significant digits, no padding.
std::string numberText(double x) {
  return std::isfinite(x) ? significantText(x) : "*";
}

}  // namespace

// STR(): right-justified in `len`; decimals that do not fit are dropped, and when the
// integer part does not fit either the result is all asterisks.
std::string strNumber(double x, int64_t len, int64_t dec) {
  if (len <= 0) return {};
  dec = std::clamp<int64_t>(dec, 0, std::max<int64_t>(0, len - 2));
  if (!std::isfinite(x)) return std::string(size_t(len), '*');
  for (;;) {
    std::string digits = decimalText(std::fabs(x), dec);
    bool neg = x < 0 && hasNonZeroDigit(digits);
    int64_t need = int64_t(digits.size()) + (neg ? 1 : 0);
    if (need <= len) {
      std::string out(size_t(len - need), ' ');
      if (neg) out.push_back('-');
      out += digits;
      return out;
    }
    if (dec == 0) return std::string(size_t(len), '*');
    int64_t intLen = int64_t(digits.find('.'));
    int64_t room = len - intLen - (neg ? 1 : 0) - 1;
    dec = room >= 1 ? std::min(room, dec - 1) : 0;
  }
}

namespace {

// ---- dates ----

std::string two(int v) {
  char b[3] = {char('0' + (v / 10) % 10), char('0' + v % 10), 0};
  return b;
}

std::string dtocText(int32_t julian) {
  Ymd d = ymdFromJulian(julian);
  if (d.year <= 0) return "  /  /  ";
  return two(d.day) + "/" + two(d.month) + "/" + two(d.year % 100);
}

// "dd/mm/yy" or "dd/mm/yyyy" (also with '-' or '.'); two-digit years fall in 1980..2079.
int32_t ctodValue(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  int part[3] = {0, 0, 0};
  int yearDigits = 0;
  for (int k = 0; k < 3; ++k) {
    if (k > 0) {
      if (i >= s.size() || (s[i] != '/' && s[i] != '-' && s[i] != '.')) return 0;
      ++i;
    }
    int digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (++digits > 4) return 0;
      part[k] = part[k] * 10 + (s[i] - '0');
      ++i;
    }
    if (digits == 0) return 0;
    if (k == 2) yearDigits = digits;
  }
  int year = part[2];
  if (yearDigits <= 2) year += year < 80 ? 2000 : 1900;
  return julianFromYmd(year, part[1], part[0]);
}

void hms(int32_t millis, int& h, int& m, int& s) {
  int secs = std::clamp<int32_t>(millis, 0, int32_t(kDayMs - 1)) / 1000;
  h = secs / 3600;
  m = secs / 60 % 60;
  s = secs % 60;
}

int ttocWidth(int flag) {
  switch (flag) {
    case 1:
      return 14;
    case 2:
      return 8;
    case 3:
      return 19;
    default:
      return 17;
  }
}

// TTOC(t): "dd/mm/yy hh:mm:ss"; flag 1: "yyyymmddhhmmss"; 2: "hh:mm:ss"; 3: "yyyy-mm-ddThh:mm:ss".
std::string ttocText(const Value& t, int flag) {
  if (t.julian == 0) {
    if (flag == 0) return "  /  /     :  :  ";
    if (flag == 2) return "  :  :  ";
    return std::string(size_t(ttocWidth(flag)), ' ');
  }
  Ymd d = ymdFromJulian(t.julian);
  int h, m, s;
  hms(t.millis, h, m, s);
  std::string time = two(h) + ":" + two(m) + ":" + two(s);
  std::string year = two(d.year / 100) + two(d.year % 100);
  switch (flag) {
    case 1:
      return year + two(d.month) + two(d.day) + two(h) + two(m) + two(s);
    case 2:
      return time;
    case 3:
      return year + "-" + two(d.month) + "-" + two(d.day) + "T" + time;
    default:
      return dtocText(t.julian) + " " + time;
  }
}

std::string defaultText(const Value& v) {
  switch (v.type) {
    case VT::Char:
      return v.text;
    case VT::Number:
      return numberText(v.number);
    case VT::Date:
      return dtocText(v.julian);
    case VT::Logical:
      return v.logical ? ".T." : ".F.";
    case VT::DateTime:
      return ttocText(v, 0);
    case VT::Null:
      break;
  }
  return ".NULL.";
}

int defaultWidth(const Node& arg) {
  switch (arg.type) {
    case VT::Char:
      return arg.width;
    case VT::Date:
      return 8;
    case VT::Logical:
      return 3;
    case VT::DateTime:
      return 17;
    default:
      return 10;
  }
}

// ---- compile-time helpers ----

[[noreturn]] void argError(const CompileInfo& info, const std::string& reason) {
  throw Error(EG_ARG, SC_EXPR, "argumento no válido en la expresión: " + std::string(info.source) + " — " + reason);
}

void expect(const Node& call, const CompileInfo& info, size_t i, VT t) {
  VT got = call.args[i]->type;
  if (got != t)
    typeError(info.source, call.name + ": el argumento " + std::to_string(i + 1) + " debe ser " + typeName(t) +
                               ", no " + typeName(got));
}

void expectEither(const Node& call, const CompileInfo& info, size_t i, VT t1, VT t2) {
  VT got = call.args[i]->type;
  if (got != t1 && got != t2)
    typeError(info.source, call.name + ": el argumento " + std::to_string(i + 1) + " debe ser " + typeName(t1) + " o " +
                               typeName(t2) + ", no " + typeName(got));
}

void expectSame(const Node& call, const CompileInfo& info, size_t i, size_t j) {
  VT a = call.args[i]->type, b = call.args[j]->type;
  if (a != b)
    typeError(info.source, call.name + ": los argumentos " + std::to_string(i + 1) + " y " + std::to_string(j + 1) +
                               " deben ser del mismo tipo (" + typeName(a) + " y " + typeName(b) + ")");
}

bool isConst(const Node& call, size_t i) {
  return i < call.args.size() && call.args[i]->constant;
}

double constNum(const Node& call, size_t i) {
  return call.args[i]->value.number;
}

// A width given by a constant argument: negative means 0, above the cap is an error.
int constSize(const Node& call, const CompileInfo& info, size_t i, int64_t factor = 1) {
  int64_t v = std::max<int64_t>(0, toInt(constNum(call, i)));
  if (factor > 0 && v > kMaxText / factor)
    limitError(info.source, call.name + " pide más de " + std::to_string(kMaxText) + " bytes");
  return int(v * factor);
}

void setResult(Node& call, VT type, int width, EvalFn fn) {
  call.type = type;
  call.width = type == VT::Char ? width : 0;
  call.fn = fn;
}

// ---- run-time helpers ----

// Checks a requested text size; the cap keeps a bad expression from exhausting memory.
size_t textSize(const EvalState& st, const Node& call, int64_t n) {
  if (n <= 0) return 0;
  if (n > kMaxText)
    runtimeError(st, EG_LIMIT,
                 call.name + " pide " + std::to_string(n) + " bytes (máximo " + std::to_string(kMaxText) + ")");
  return size_t(n);
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// ---- functions ----

Value evUpper(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (!v.isNull()) st.codePage.upperInPlace(v.text);
  return v;
}
Value evLower(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (!v.isNull()) st.codePage.lowerInPlace(v.text);
  return v;
}
void chkUpper(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Char, n.args[0]->width, evUpper);
}
void chkLower(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Char, n.args[0]->width, evLower);
}

// LEFT / RIGHT: the first (last) characters of the text.
template <bool FromRight>
Value evSide(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  Value k = n.arg(1, st);
  if (k.isNull()) return k;
  int64_t len = toInt(k.number);
  if (len <= 0)
    v.text.clear();
  else if (uint64_t(len) >= v.text.size())
    return v;
  else if constexpr (FromRight)
    v.text.erase(0, v.text.size() - size_t(len));
  else
    v.text.resize(size_t(len));
  return v;
}
void chkLeftRight(Node& n, const CompileInfo& info, EvalFn fn) {
  expect(n, info, 0, VT::Char);
  expect(n, info, 1, VT::Number);
  // A key is as wide as what the expression gives on a record: never wider than the text.
  int w = n.args[0]->width;
  setResult(n, VT::Char, isConst(n, 1) ? std::min(constSize(n, info, 1), w) : w, fn);
}
void chkLeft(Node& n, const CompileInfo& info) {
  chkLeftRight(n, info, evSide<false>);
}
void chkRight(Node& n, const CompileInfo& info) {
  chkLeftRight(n, info, evSide<true>);
}

// SUBSTR: a start of 0 reads as 1 and a negative one counts from the end.
Value evSubstr(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  Value s = n.arg(1, st);
  if (s.isNull()) return s;
  int64_t size = int64_t(v.text.size());
  int64_t start = toInt(s.number);
  if (start < 0) start = std::max<int64_t>(1, size + start + 1);
  if (start == 0) start = 1;
  int64_t len = size - start + 1;
  if (n.args.size() > 2) {
    Value l = n.arg(2, st);
    if (l.isNull()) return l;
    len = std::min(len, toInt(l.number));
  }
  if (start > size || len <= 0) {
    v.text.clear();
    return v;
  }
  v.text.erase(0, size_t(start - 1));
  v.text.resize(size_t(len));
  return v;
}
void chkSubstr(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  expect(n, info, 1, VT::Number);
  if (n.args.size() > 2) expect(n, info, 2, VT::Number);
  int w = n.args[0]->width;
  if (isConst(n, 1)) {
    int64_t s = toInt(constNum(n, 1));
    if (s >= 1)
      w = int(std::max<int64_t>(0, w - s + 1));
    else if (s < 0)
      w = int(std::min<int64_t>(-s, w));
  }
  if (isConst(n, 2)) w = std::min(constSize(n, info, 2), w);
  setResult(n, VT::Char, w, evSubstr);
}

Value evStrImpl(const Node& n, const EvalState& st, bool zeros) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  int64_t len = 10, dec = 0;
  if (n.args.size() > 1) {
    Value l = n.arg(1, st);
    if (l.isNull()) return l;
    len = toInt(l.number);
  }
  if (n.args.size() > 2) {
    Value d = n.arg(2, st);
    if (d.isNull()) return d;
    dec = toInt(d.number);
  }
  textSize(st, n, len);
  std::string s = strNumber(v.number, len, dec);
  if (zeros && !s.empty() && s[0] != '*') {
    size_t first = s.find_first_not_of(' ');
    bool neg = first != std::string::npos && s[first] == '-';
    std::fill(s.begin(), s.begin() + std::ptrdiff_t(first == std::string::npos ? s.size() : first), '0');
    if (neg) {
      s[first] = '0';
      s[0] = '-';
    }
  }
  return Value::chars(std::move(s));
}
Value evStr(const Node& n, const EvalState& st) {
  return evStrImpl(n, st, false);
}
Value evStrZero(const Node& n, const EvalState& st) {
  return evStrImpl(n, st, true);
}
void chkStrImpl(Node& n, const CompileInfo& info, EvalFn fn) {
  for (size_t i = 0; i < n.args.size(); ++i) expect(n, info, i, VT::Number);
  int w = 10;
  if (n.args.size() > 1) w = isConst(n, 1) ? constSize(n, info, 1) : 10;
  setResult(n, VT::Char, w, fn);
}
void chkStr(Node& n, const CompileInfo& info) {
  chkStrImpl(n, info, evStr);
}
void chkStrZero(Node& n, const CompileInfo& info) {
  chkStrImpl(n, info, evStrZero);
}

// Same text as dtos(), without going through printf: DTOS keys are built on every write.
std::string dtosText(int32_t julian) {
  Ymd d = ymdFromJulian(julian);
  if (d.year <= 0 || d.year > 9999) return std::string(8, ' ');
  char b[8];
  int y = d.year;
  for (int i = 3; i >= 0; --i, y /= 10) b[i] = char('0' + y % 10);
  b[4] = char('0' + d.month / 10);
  b[5] = char('0' + d.month % 10);
  b[6] = char('0' + d.day / 10);
  b[7] = char('0' + d.day % 10);
  return std::string(b, 8);
}

Value evDtos(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::chars(dtosText(v.julian));
}
void chkDtos(Node& n, const CompileInfo& info) {
  expectEither(n, info, 0, VT::Date, VT::DateTime);
  setResult(n, VT::Char, 8, evDtos);
}

Value evDtoc(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::chars(n.param == 1 ? dtosText(v.julian) : dtocText(v.julian));
}
void chkDtoc(Node& n, const CompileInfo& info) {
  expectEither(n, info, 0, VT::Date, VT::DateTime);
  if (n.args.size() > 1) {
    expect(n, info, 1, VT::Number);
    if (!isConst(n, 1)) argError(info, "el segundo argumento de DTOC debe ser una constante");
    n.param = toInt(constNum(n, 1)) == 1 ? 1 : 0;
  }
  setResult(n, VT::Char, 8, evDtoc);
}

Value evCtod(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::date(ctodValue(v.text));
}
void chkCtod(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Date, 0, evCtod);
}

// PADL/PADR/PADC: any type is padded as its default text; a longer text keeps its left part.
template <int Side>  // 0 left, 1 right, 2 centre
Value evPad(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  Value k = n.arg(1, st);
  if (k.isNull()) return k;
  char fill = ' ';
  if (n.args.size() > 2) {
    Value f = n.arg(2, st);
    if (f.isNull()) return f;
    if (!f.text.empty()) fill = f.text[0];
  }
  size_t size = textSize(st, n, toInt(k.number));
  std::string text = v.type == VT::Char ? std::move(v.text) : defaultText(v);
  if (text.size() >= size) {
    text.resize(size);
    return Value::chars(std::move(text));
  }
  size_t pad = size - text.size();
  size_t left = Side == 0 ? pad : Side == 1 ? 0 : pad / 2;
  if (Side == 1) {
    text.append(pad, fill);
    return Value::chars(std::move(text));
  }
  std::string out;
  out.reserve(size);
  out.append(left, fill);
  out += text;
  out.append(pad - left, fill);
  return Value::chars(std::move(out));
}
template <int Side>
void chkPad(Node& n, const CompileInfo& info) {
  expect(n, info, 1, VT::Number);
  if (n.args.size() > 2) expect(n, info, 2, VT::Char);
  setResult(n, VT::Char, isConst(n, 1) ? constSize(n, info, 1) : defaultWidth(*n.args[0]), evPad<Side>);
}

Value evTrim(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  size_t last = v.text.find_last_not_of(' ');
  v.text.resize(last == std::string::npos ? 0 : last + 1);
  return v;
}
Value evLtrim(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  size_t first = v.text.find_first_not_of(' ');
  v.text.erase(0, first == std::string::npos ? v.text.size() : first);
  return v;
}
Value evAlltrim(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  size_t last = v.text.find_last_not_of(' ');
  v.text.resize(last == std::string::npos ? 0 : last + 1);
  size_t first = v.text.find_first_not_of(' ');
  v.text.erase(0, first == std::string::npos ? v.text.size() : first);
  return v;
}
template <EvalFn Fn>
void chkTrim(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Char, n.args[0]->width, Fn);
}

// A null condition takes the false branch; only the chosen branch is evaluated.
Value evIif(const Node& n, const EvalState& st) {
  Value c = n.arg(0, st);
  return (!c.isNull() && c.logical) ? n.arg(1, st) : n.arg(2, st);
}
void chkIif(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Logical);
  expectSame(n, info, 1, 2);
  setResult(n, n.args[1]->type, std::max(n.args[1]->width, n.args[2]->width), evIif);
}

Value evVal(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  std::string_view s = v.text;
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  size_t start = i;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  size_t intEnd = i;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  }
  double x = 0;
  if (i > start && !(i == start + 1 && s[start] == '.')) {
    std::string buf = "0";
    buf.append(s.substr(start, intEnd - start));
    if (i > intEnd + 1) buf.append(s.substr(intEnd, i - intEnd));
    auto res = std::from_chars(buf.data(), buf.data() + buf.size(), x);
    if (res.ec == std::errc::result_out_of_range) x = HUGE_VAL;
  }
  return Value::num(neg && x != 0 ? -x : x);
}
void chkVal(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Number, 0, evVal);
}

// DESCEND: text bytes become their two's complement (0 stays 0), numbers are negated,
// dates and date-times become the negated day number, logicals are inverted.
Value evDescend(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  switch (v.type) {
    case VT::Char:
      for (auto& c : v.text) c = static_cast<char>((256 - static_cast<unsigned char>(c)) & 0xFF);
      return v;
    case VT::Number:
      v.number = -v.number;
      return v;
    case VT::Date:
      return Value::num(-double(v.julian));
    case VT::DateTime:
      return Value::num(-(double(v.julian) + double(v.millis) / double(kDayMs)));
    case VT::Logical:
      v.logical = !v.logical;
      return v;
    case VT::Null:
      break;
  }
  return v;
}
void chkDescend(Node& n, const CompileInfo&) {
  VT t = n.args[0]->type;
  VT r = (t == VT::Date || t == VT::DateTime) ? VT::Number : t;
  setResult(n, r, n.args[0]->width, evDescend);
}

Value evRecno(const Node&, const EvalState& st) {
  return Value::num(double(st.context.recNo()));
}
void chkRecno(Node& n, const CompileInfo&) {
  setResult(n, VT::Number, 0, evRecno);
}
Value evDeleted(const Node&, const EvalState& st) {
  return Value::boolean(st.context.deleted());
}
void chkDeleted(Node& n, const CompileInfo&) {
  setResult(n, VT::Logical, 0, evDeleted);
}

template <int Part>  // 0 year, 1 month, 2 day, 3 day of week
Value evDatePart(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  if (Part == 3) return Value::num(dayOfWeek(v.julian));
  Ymd d = ymdFromJulian(v.julian);
  return Value::num(Part == 0 ? d.year : Part == 1 ? d.month : d.day);
}
template <int Part>
void chkDatePart(Node& n, const CompileInfo& info) {
  expectEither(n, info, 0, VT::Date, VT::DateTime);
  setResult(n, VT::Number, 0, evDatePart<Part>);
}

// EMPTY of a null is .T., as for an uninitialised value.
Value evEmpty(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  bool e = true;
  switch (v.type) {
    case VT::Char:
      e = std::all_of(v.text.begin(), v.text.end(), isBlank);
      break;
    case VT::Number:
      e = v.number == 0;
      break;
    case VT::Date:
    case VT::DateTime:
      e = v.julian == 0;
      break;
    case VT::Logical:
      e = !v.logical;
      break;
    case VT::Null:
      break;
  }
  return Value::boolean(e);
}
void chkEmpty(Node& n, const CompileInfo&) {
  setResult(n, VT::Logical, 0, evEmpty);
}

Value evLen(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::num(double(v.text.size()));
}
void chkLen(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Number, 0, evLen);
}

Value evSpace(const Node& n, const EvalState& st) {
  Value k = n.arg(0, st);
  if (k.isNull()) return k;
  return Value::chars(std::string(textSize(st, n, toInt(k.number)), ' '));
}
void chkSpace(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  setResult(n, VT::Char, isConst(n, 0) ? constSize(n, info, 0) : 10, evSpace);
}

Value evReplicate(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  Value k = n.arg(1, st);
  if (k.isNull()) return k;
  int64_t times = std::max<int64_t>(0, toInt(k.number));
  if (v.text.empty() || times == 0) return Value::chars({});
  // Both factors are capped before multiplying, so the product cannot overflow.
  int64_t size = std::min<int64_t>(int64_t(v.text.size()), kMaxText + 1);
  std::string out;
  out.reserve(textSize(st, n, size * std::min<int64_t>(times, kMaxText + 1)));
  for (int64_t i = 0; i < times; ++i) out += v.text;
  return Value::chars(std::move(out));
}
void chkReplicate(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  expect(n, info, 1, VT::Number);
  int w = n.args[0]->width;
  if (isConst(n, 1)) w = w == 0 ? 0 : constSize(n, info, 1, w);
  setResult(n, VT::Char, w, evReplicate);
}

template <double (*Op)(double)>
Value evMath1(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (!v.isNull()) v.number = Op(v.number);
  return v;
}
double mInt(double x) {
  return std::trunc(x);
}
double mAbs(double x) {
  return std::fabs(x);
}
double mFloor(double x) {
  return std::floor(x);
}
double mCeil(double x) {
  return std::ceil(x);
}
template <double (*Op)(double)>
void chkMath1(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  setResult(n, VT::Number, 0, evMath1<Op>);
}

Value evRound(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  Value d = n.arg(1, st);
  if (d.isNull()) return d;
  v.number = roundDecimal(v.number, toInt(d.number));
  return v;
}
void chkRound(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  expect(n, info, 1, VT::Number);
  setResult(n, VT::Number, 0, evRound);
}

Value evMod(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  if (b.number == 0) return Value::num(0);
  double r = std::fmod(a.number, b.number);
  if (r != 0 && ((r < 0) != (b.number < 0))) r += b.number;
  return Value::num(r);
}
void chkMod(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  expect(n, info, 1, VT::Number);
  setResult(n, VT::Number, 0, evMod);
}

int order(const Value& a, const Value& b) {
  switch (a.type) {
    case VT::Char:
      return compareChars(a.text, b.text);
    case VT::Number:
      return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    case VT::Logical:
      return int(a.logical) - int(b.logical);
    default:
      if (a.julian != b.julian) return a.julian < b.julian ? -1 : 1;
      return a.millis < b.millis ? -1 : a.millis > b.millis ? 1 : 0;
  }
}
template <bool Max>
Value evMaxMin(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  int c = order(a, b);
  return (Max ? c >= 0 : c <= 0) ? a : b;
}
template <bool Max>
void chkMaxMin(Node& n, const CompileInfo& info) {
  expectSame(n, info, 0, 1);
  setResult(n, n.args[0]->type, std::max(n.args[0]->width, n.args[1]->width), evMaxMin<Max>);
}

Value evChr(const Node& n, const EvalState& st) {
  Value k = n.arg(0, st);
  if (k.isNull()) return k;
  int64_t c = toInt(k.number) % 256;
  if (c < 0) c += 256;
  return Value::chars(std::string(1, static_cast<char>(c)));
}
void chkChr(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  setResult(n, VT::Char, 1, evChr);
}

Value evAsc(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::num(v.text.empty() ? 0 : static_cast<unsigned char>(v.text[0]));
}
void chkAsc(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  setResult(n, VT::Number, 0, evAsc);
}

// AT(needle, haystack[, occurrence]): 1-based position, 0 when absent or needle is empty.
Value evAt(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  int64_t occurrence = 1;
  if (n.args.size() > 2) {
    Value o = n.arg(2, st);
    if (o.isNull()) return o;
    occurrence = toInt(o.number);
  }
  if (a.text.empty() || occurrence < 1) return Value::num(0);
  size_t pos = std::string::npos;
  size_t from = 0;
  for (int64_t k = 0; k < occurrence; ++k) {
    pos = b.text.find(a.text, from);
    if (pos == std::string::npos) return Value::num(0);
    from = pos + 1;
  }
  return Value::num(double(pos + 1));
}
void chkAt(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Char);
  expect(n, info, 1, VT::Char);
  if (n.args.size() > 2) expect(n, info, 2, VT::Number);
  setResult(n, VT::Number, 0, evAt);
}

// BINTOC: big-endian two's complement with the sign bit flipped, so byte order is numeric
// order. Values outside the size's range are an error, as in Visual FoxPro.
Value evBintoc(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  int size = n.param;
  int64_t x = toInt(v.number);
  int64_t lo = -(int64_t(1) << (8 * size - 1)), hi = (int64_t(1) << (8 * size - 1)) - 1;
  if (x < lo || x > hi)
    runtimeError(
        st, EG_DATAWIDTH,
        "BINTOC: " + numberText(v.number) + " no cabe en " + std::to_string(size) + (size == 1 ? " byte" : " bytes"));
  uint64_t u = uint64_t(x) ^ (uint64_t(1) << (8 * size - 1));
  std::string out(size_t(size), '\0');
  for (int i = size - 1; i >= 0; --i) {
    out[size_t(i)] = static_cast<char>(u & 0xFF);
    u >>= 8;
  }
  return Value::chars(std::move(out));
}
void chkBintoc(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Number);
  int size = 4;
  if (n.args.size() > 1) {
    expect(n, info, 1, VT::Number);
    if (!isConst(n, 1)) argError(info, "el tamaño de BINTOC debe ser una constante");
    int64_t s = toInt(constNum(n, 1));
    if (s != 1 && s != 2 && s != 4) argError(info, "BINTOC admite tamaños 1, 2 o 4");
    size = int(s);
  }
  n.param = size;
  setResult(n, VT::Char, size, evBintoc);
}

// ---- TRANSFORM ----
// Supported: "@" functions ! (upper case), Z (blank when zero), B (left-justify number);
// template symbols 9 # X A N L Y ! take a source character (! upper-cased), any other
// template character is inserted as it stands. Numbers fill 9/# positions right-aligned,
// with ',' shown only between digits. Dates and date-times ignore the template.

struct Picture {
  std::string_view functions;
  std::string_view tmpl;
};

Picture splitPicture(std::string_view p) {
  Picture r;
  if (!p.empty() && p[0] == '@') {
    size_t sp = p.find(' ');
    r.functions = p.substr(1, sp == std::string_view::npos ? std::string_view::npos : sp - 1);
    if (sp != std::string_view::npos) r.tmpl = p.substr(sp + 1);
  } else {
    r.tmpl = p;
  }
  return r;
}

bool hasFunction(const Picture& p, char f) {
  for (char c : p.functions)
    if (c == f || (c >= 'a' && c <= 'z' && char(c - 32) == f)) return true;
  return false;
}

std::string transformNumber(double x, const Picture& pic) {
  std::string_view t = pic.tmpl;
  auto isDigitSlot = [](char c) { return c == '9' || c == '#'; };
  std::string out;
  if (t.empty()) {
    out = numberText(x);
  } else if (std::none_of(t.begin(), t.end(), isDigitSlot)) {
    // A template without digit positions: the plain text, right-justified in its length.
    out = numberText(x);
    out = out.size() > t.size() ? std::string(t.size(), '*') : std::string(t.size() - out.size(), ' ') + out;
  } else if (!std::isfinite(x)) {
    out.assign(t.size(), '*');
  } else {
    size_t dot = t.find('.');
    size_t intEnd = dot == std::string_view::npos ? t.size() : dot;
    int64_t decPlaces = 0, intSlots = 0;
    for (size_t i = 0; i < t.size(); ++i)
      if (isDigitSlot(t[i])) (i < intEnd ? intSlots : decPlaces)++;
    std::string digits = decimalText(std::fabs(x), decPlaces);
    size_t point = digits.find('.');
    std::string intPart = digits.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : digits.substr(point + 1);
    if (intPart == "0" && intSlots == 0) intPart.clear();
    bool neg = x < 0 && hasNonZeroDigit(digits);
    out.assign(t);
    size_t left = intPart.size();
    size_t firstDigit = intEnd;
    for (size_t i = intEnd; i-- > 0;) {
      char c = t[i];
      if (isDigitSlot(c)) {
        if (left > 0) {
          out[i] = intPart[--left];
          firstDigit = i;
        } else {
          out[i] = ' ';
        }
      } else if (c == ',') {
        out[i] = left > 0 ? ',' : ' ';
      }
    }
    bool overflow = left > 0;
    if (neg && !overflow) {
      if (firstDigit > 0 && out[firstDigit - 1] == ' ')
        out[firstDigit - 1] = '-';
      else
        overflow = true;
    }
    size_t fi = 0;
    for (size_t i = intEnd + 1; i < t.size(); ++i)
      if (isDigitSlot(t[i])) out[i] = fi < frac.size() ? frac[fi++] : '0';
    if (overflow) out.assign(t.size(), '*');
  }
  if (hasFunction(pic, 'Z') && x == 0) out.assign(out.size(), ' ');
  if (hasFunction(pic, 'B')) {
    size_t first = out.find_first_not_of(' ');
    if (first != std::string::npos && first > 0) {
      out.erase(0, first);
      out.append(first, ' ');
    }
  }
  return out;
}

std::string transformValue(const Value& v, std::string_view picture, const CodePage& cp) {
  Picture pic = splitPicture(picture);
  switch (v.type) {
    case VT::Number:
      return transformNumber(v.number, pic);
    case VT::Char: {
      std::string out;
      if (pic.tmpl.empty()) {
        out = v.text;
      } else {
        out.reserve(pic.tmpl.size());
        size_t si = 0;
        for (char c : pic.tmpl) {
          switch (c) {
            case '9':
            case '#':
            case 'X':
            case 'A':
            case 'N':
            case 'L':
            case 'Y':
            case '!': {
              char ch = si < v.text.size() ? v.text[si++] : ' ';
              if (c == '!') ch = static_cast<char>(cp.upper(static_cast<unsigned char>(ch)));
              out.push_back(ch);
              break;
            }
            default:
              out.push_back(c);
          }
        }
      }
      if (hasFunction(pic, '!')) cp.upperInPlace(out);
      return out;
    }
    case VT::Logical: {
      if (pic.tmpl.empty()) return v.logical ? ".T." : ".F.";
      bool yesNo = pic.tmpl.find('Y') != std::string_view::npos;
      std::string out(1, yesNo ? (v.logical ? 'Y' : 'N') : (v.logical ? 'T' : 'F'));
      out.resize(pic.tmpl.size(), ' ');
      return out;
    }
    default:
      return defaultText(v);
  }
}

Value evTransform(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  if (n.args.size() < 2) return Value::chars(transformValue(v, {}, st.codePage));
  Value p = n.arg(1, st);
  if (p.isNull()) return p;
  return Value::chars(transformValue(v, p.text, st.codePage));
}
void chkTransform(Node& n, const CompileInfo& info) {
  const Node& a = *n.args[0];
  int w = defaultWidth(a);
  if (n.args.size() > 1) {
    expect(n, info, 1, VT::Char);
    if (isConst(n, 1)) {
      Picture pic = splitPicture(n.args[1]->value.text);
      bool templated = a.type == VT::Char || a.type == VT::Number || a.type == VT::Logical;
      if (templated && !pic.tmpl.empty()) w = int(pic.tmpl.size());
    }
  }
  setResult(n, VT::Char, w, evTransform);
}

Value evTtod(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::date(v.julian);
}
void chkTtod(Node& n, const CompileInfo& info) {
  expectEither(n, info, 0, VT::DateTime, VT::Date);
  setResult(n, VT::Date, 0, evTtod);
}

Value evDtot(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::dateTime(v.julian, 0);
}
void chkDtot(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::Date);
  setResult(n, VT::DateTime, 0, evDtot);
}

Value evTtoc(const Node& n, const EvalState& st) {
  Value v = n.arg(0, st);
  if (v.isNull()) return v;
  return Value::chars(ttocText(v, n.param));
}
void chkTtoc(Node& n, const CompileInfo& info) {
  expect(n, info, 0, VT::DateTime);
  if (n.args.size() > 1) {
    expect(n, info, 1, VT::Number);
    if (!isConst(n, 1)) argError(info, "el segundo argumento de TTOC debe ser una constante");
    int64_t f = toInt(constNum(n, 1));
    n.param = (f >= 1 && f <= 3) ? int(f) : 0;
  }
  setResult(n, VT::Char, ttocWidth(n.param), evTtoc);
}

Value evNvl(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  return a.isNull() ? n.arg(1, st) : a;
}
void chkNvl(Node& n, const CompileInfo& info) {
  expectSame(n, info, 0, 1);
  setResult(n, n.args[0]->type, std::max(n.args[0]->width, n.args[1]->width), evNvl);
}

Value evIsnull(const Node& n, const EvalState& st) {
  return Value::boolean(n.arg(0, st).isNull());
}
void chkIsnull(Node& n, const CompileInfo&) {
  setResult(n, VT::Logical, 0, evIsnull);
}

Value evDate(const Node&, const EvalState&) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return Value::date(julianFromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday));
}
void chkDate(Node& n, const CompileInfo&) {
  setResult(n, VT::Date, 0, evDate);
}

// Sorted by name; lookups are rare (compile time only) so a linear scan is fine.
const FuncDef kFunctions[] = {
    {"ABS", 1, 1, true, chkMath1<mAbs>},
    {"ALLTRIM", 1, 1, true, chkTrim<evAlltrim>},
    {"ASC", 1, 1, true, chkAsc},
    {"AT", 2, 3, true, chkAt},
    {"BINTOC", 1, 2, true, chkBintoc},
    {"CEILING", 1, 1, true, chkMath1<mCeil>},
    {"CHR", 1, 1, true, chkChr},
    {"CTOD", 1, 1, true, chkCtod},
    {"DATE", 0, 0, false, chkDate},
    {"DAY", 1, 1, true, chkDatePart<2>},
    {"DELETED", 0, 0, false, chkDeleted},
    {"DESCEND", 1, 1, true, chkDescend},
    {"DOW", 1, 1, true, chkDatePart<3>},
    {"DTOC", 1, 2, true, chkDtoc},
    {"DTOS", 1, 1, true, chkDtos},
    {"DTOT", 1, 1, true, chkDtot},
    {"EMPTY", 1, 1, true, chkEmpty},
    {"FLOOR", 1, 1, true, chkMath1<mFloor>},
    {"IF", 3, 3, true, chkIif},
    {"IIF", 3, 3, true, chkIif},
    {"INT", 1, 1, true, chkMath1<mInt>},
    {"ISNULL", 1, 1, true, chkIsnull},
    {"LEFT", 2, 2, true, chkLeft},
    {"LEN", 1, 1, true, chkLen},
    {"LOWER", 1, 1, true, chkLower},
    {"LTRIM", 1, 1, true, chkTrim<evLtrim>},
    {"MAX", 2, 2, true, chkMaxMin<true>},
    {"MIN", 2, 2, true, chkMaxMin<false>},
    {"MOD", 2, 2, true, chkMod},
    {"MONTH", 1, 1, true, chkDatePart<1>},
    {"NVL", 2, 2, true, chkNvl},
    {"PADC", 2, 3, true, chkPad<2>},
    {"PADL", 2, 3, true, chkPad<0>},
    {"PADR", 2, 3, true, chkPad<1>},
    {"RECNO", 0, 0, false, chkRecno},
    {"REPLICATE", 2, 2, true, chkReplicate},
    {"RIGHT", 2, 2, true, chkRight},
    {"ROUND", 2, 2, true, chkRound},
    {"RTRIM", 1, 1, true, chkTrim<evTrim>},
    {"SPACE", 1, 1, true, chkSpace},
    {"STR", 1, 3, true, chkStr},
    {"STRZERO", 1, 3, true, chkStrZero},
    {"SUBSTR", 2, 3, true, chkSubstr},
    {"TRANSFORM", 1, 2, true, chkTransform},
    {"TRIM", 1, 1, true, chkTrim<evTrim>},
    {"TTOC", 1, 2, true, chkTtoc},
    {"TTOD", 1, 1, true, chkTtod},
    {"UPPER", 1, 1, true, chkUpper},
    {"VAL", 1, 1, true, chkVal},
    {"YEAR", 1, 1, true, chkDatePart<0>},
};

}  // namespace

const FuncDef* findFunction(std::string_view upperName, bool& ambiguous) {
  ambiguous = false;
  for (const auto& f : kFunctions)
    if (upperName == f.name) return &f;
  // xBase lets names be shortened to their first four letters or more.
  if (upperName.size() < 4) return nullptr;
  const FuncDef* found = nullptr;
  for (const auto& f : kFunctions) {
    std::string_view name = f.name;
    if (name.size() > upperName.size() && name.substr(0, upperName.size()) == upperName) {
      if (found) {
        ambiguous = true;
        return nullptr;
      }
      found = &f;
    }
  }
  return found;
}

}  // namespace xbase::expr_detail
