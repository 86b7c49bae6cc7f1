#include "xbase/field_text.h"

#include <cctype>

#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace xbase {

std::string escapeFieldText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out.push_back(c);
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
    case 'V':
    case 'M': {
      std::string s = v.text;
      if (f.type != 'M')
        while (!s.empty() && s.back() == ' ') s.pop_back();
      return escapeFieldText(s);
    }
    case 'G':
    case 'W':
    case 'Q':
      return "<" + std::to_string(v.text.size()) + " bytes>";
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
