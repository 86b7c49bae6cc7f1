#include "lib/passwords.h"

namespace lib {

std::string ENCRYPT_STRING(const std::string& text, int flag) {
  if (flag == 0) return text;
  size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
  std::string core = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
  for (size_t i = 0; i < core.size(); ++i) core[i] = char(static_cast<unsigned char>(core[i]) ^ (i + 1));
  core.resize(text.size(), ' ');
  return core;
}

std::string DECRYPT_STRING(const std::string& text, int flag) {
  return ENCRYPT_STRING(text, flag);
}

bool samePassword(const std::string& a, const std::string& b) {
  std::string x = a.substr(0, 10), y = b.substr(0, 10);
  x.resize(10, ' ');
  y.resize(10, ' ');
  return x == y;
}

}  // namespace lib
