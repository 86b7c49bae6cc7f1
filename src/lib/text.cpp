#include "lib/text.h"

#include <cctype>

namespace lib {

std::string upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string trim(std::string_view s, std::string_view blanks) {
  size_t b = s.find_first_not_of(blanks), e = s.find_last_not_of(blanks);
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b, e - b + 1));
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string padded(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

std::string STR(long long n, int width) {
  std::string digits = std::to_string(n);
  if (int(digits.size()) < width) digits.insert(0, size_t(width) - digits.size(), ' ');
  return digits;
}

std::string businessKey(const std::string& negocio) {
  return padded(negocio, kBusinessWidth);
}

}  // namespace lib
