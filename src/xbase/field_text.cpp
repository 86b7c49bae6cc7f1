#include "xbase/field_text.h"

#include <cctype>

#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace xbase {

namespace {

// The length of the well-formed UTF-8 sequence that starts at `i` (no overlong forms,
// surrogates or code points past U+10FFFF), 0 when there is none.
size_t utf8Length(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = byte(i);
  size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the second byte's range
  if (c == 0xE0) lo = 0xA0;
  if (c == 0xED) hi = 0x9F;
  if (c == 0xF0) lo = 0x90;
  if (c == 0xF4) hi = 0x8F;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string escapeFieldText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    auto u = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (u >= 0x20 && u < 0x7F) {
      out.push_back(c);
    } else if (size_t n = u >= 0x80 ? utf8Length(text, i) : 0) {
      out.append(text.substr(i, n));
      i += n - 1;
    } else {  // a control character, or a byte that is not part of a UTF-8 character
      out += "\\x";
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 0xF]);
    }
  }
  return out;
}

std::string unescapeFieldText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    char n = text[++i];
    switch (n) {
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case '\\':
        out.push_back('\\');
        break;
      case 'x':
        if (i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
          out.push_back(char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
          i += 2;
          break;
        }
        [[fallthrough]];
      default:
        out.push_back('\\');
        out.push_back(n);
    }
  }
  return out;
}

std::string formatFieldText(const DbfTable& table, int i) {
  const Field& f = table.field(i);
  Value v = table.get(i);
  if (v.isNull()) return ".NULL.";
  switch (f.type) {
    case 'C':
    case 'V': {
      std::string s = v.text;
      while (!s.empty() && s.back() == ' ') s.pop_back();
      return escapeFieldText(s);
    }
    case 'M':
    case 'G':
    case 'W':
    case 'Q':
      return escapeFieldText(v.text);
    default:
      return escapeFieldText(table.rawFieldText(i));
  }
}

std::optional<Value> parseFieldText(const Field& f, std::string_view escaped) {
  std::string text = unescapeFieldText(escaped);
  auto bad = [&]() -> std::optional<Value> {
    throw Error(EG_DATATYPE, SC_VALUE, "valor no válido para el campo " + f.name + " (" + f.type + "): " + text);
  };
  if (text == ".NULL.") return Value::null();
  std::string t = text;
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.pop_back();
  size_t b = 0;
  while (b < t.size() && std::isspace(static_cast<unsigned char>(t[b]))) ++b;
  t = t.substr(b);
  switch (f.type) {
    case 'C':
    case 'V':
    case 'M':
    case 'G':
    case 'W':
    case 'Q':
      return Value::chars(text);
    case 'N':
    case 'F':
    case 'I':
    case 'B':
    case 'Y': {
      if (t.empty()) return std::nullopt;
      std::optional<double> d = readNumber(t);
      if (!d) return bad();
      return Value::num(*d);
    }
    case 'D': {
      if (t.empty()) return Value::date(0);
      int32_t jd = julianFromDtos(t);
      if (t.size() != 8 || jd == 0) return bad();
      return Value::date(jd);
    }
    case 'T': {
      if (t.empty()) return Value::dateTime(0, 0);
      int32_t jd = julianFromDtos(t);
      if ((t.size() != 8 && t.size() != 14) || jd == 0) return bad();
      int ms = 0;
      if (t.size() == 14) {
        for (size_t i = 8; i < 14; ++i)
          if (!std::isdigit(static_cast<unsigned char>(t[i]))) return bad();
        int hh = std::stoi(t.substr(8, 2)), mm = std::stoi(t.substr(10, 2)), ss = std::stoi(t.substr(12, 2));
        if (hh > 23 || mm > 59 || ss > 59) return bad();
        ms = ((hh * 60 + mm) * 60 + ss) * 1000;
      }
      return Value::dateTime(jd, ms);
    }
    case 'L': {
      if (t.empty()) return std::nullopt;
      std::string u;
      for (char c : t) u.push_back(char(std::toupper(static_cast<unsigned char>(c))));
      if (u == "T" || u == ".T." || u == "Y" || u == "S" || u == "1") return Value::boolean(true);
      if (u == "F" || u == ".F." || u == "N" || u == "0") return Value::boolean(false);
      return bad();
    }
    default:
      return bad();
  }
}

}  // namespace xbase
