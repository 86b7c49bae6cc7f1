#include "lib/picture.h"

#include <cmath>

#include "xbase/number_text.h"

namespace lib {

std::string pictureTemplate(const std::string& picture) {
  if (picture.empty() || picture[0] != '@') return picture;
  size_t space = picture.find(' ');
  return space == std::string::npos ? std::string() : picture.substr(space + 1);
}

int pictureDecimals(const std::string& picture) {
  std::string t = pictureTemplate(picture);
  size_t dot = t.find('.');
  if (dot == std::string::npos) return 0;
  int n = 0;
  for (size_t i = dot + 1; i < t.size(); ++i) n += (t[i] == '9' || t[i] == '#');
  return n;
}

int pictureIntegerDigits(const std::string& picture) {
  std::string t = pictureTemplate(picture);
  int n = 0;
  for (char c : t.substr(0, t.find('.'))) n += (c == '9' || c == '#');
  return n;
}

std::string TRANSFORM_NUMBER(double value, const std::string& picture) {
  std::string functions = !picture.empty() && picture[0] == '@' ? picture.substr(0, picture.find(' ')) : "";
  std::string t = pictureTemplate(picture);
  if (t.empty()) return xbase::generalNumber(value, 6);
  int decimals = pictureDecimals(picture);
  int places = pictureIntegerDigits(picture);
  if (functions.find('Z') != std::string::npos && value == 0) return std::string(t.size(), ' ');
  std::string digits = xbase::formatNumber(std::fabs(value), 40, decimals);
  size_t b = digits.find_first_not_of(' ');
  digits = b == std::string::npos ? "0" : digits.substr(b);
  std::string intPart = digits.substr(0, digits.find('.'));
  std::string decPart = decimals > 0 ? digits.substr(digits.find('.') + 1) : "";
  bool negative = value < 0 && digits.find_first_not_of("0.") != std::string::npos;
  int needed = int(intPart.size()) + (negative ? 1 : 0);
  if (intPart == "0" && decimals > 0 && places == 0) needed = negative ? 1 : 0;
  if (needed > places && !(intPart == "0" && places == 0 && !negative)) return std::string(t.size(), '*');
  // Fill the template from the right.
  std::string out(t.size(), ' ');
  size_t dot = t.find('.');
  size_t d = 0;
  if (dot != std::string::npos) {
    out[dot] = '.';
    for (size_t i = dot + 1; i < t.size(); ++i) {
      if (t[i] == '9' || t[i] == '#')
        out[i] = d < decPart.size() ? decPart[d++] : '0';
      else
        out[i] = t[i];
    }
  }
  int k = int(intPart.size()) - 1;
  int end = int(dot == std::string::npos ? t.size() : dot) - 1;
  int lastDigitAt = end + 1;
  for (int i = end; i >= 0; --i) {
    char c = t[size_t(i)];
    if (c == '9' || c == '#') {
      if (k >= 0) {
        out[size_t(i)] = intPart[size_t(k--)];
        lastDigitAt = i;
      }
    } else if (c == ',') {
      out[size_t(i)] = k >= 0 ? ',' : ' ';
    } else if (k >= 0) {
      out[size_t(i)] = c;
    }
  }
  if (negative) {
    int at = lastDigitAt - 1;
    if (at < 0) return std::string(t.size(), '*');
    out[size_t(at)] = '-';
  } else if (functions.find('L') != std::string::npos) {
    // @L: the unused digit places show zeros ("07" for 7 in "@L 99").
    for (int i = 0; i <= end; ++i)
      if ((t[size_t(i)] == '9' || t[size_t(i)] == '#') && out[size_t(i)] == ' ') out[size_t(i)] = '0';
  }
  return out;
}

double readNumber(const std::string& text) {
  std::string clean;
  for (char c : text)
    if (c != ',' && c != ' ') clean.push_back(c);
  return xbase::parseNumber(clean);
}

}  // namespace lib
