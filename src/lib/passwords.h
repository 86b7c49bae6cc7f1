// The scrambling of stored passwords: each character of the text (without its leading and
// trailing blanks) is combined with its position by exclusive or; the result keeps the
// length of the given text. Scrambling twice gives the text back. Flag 0 leaves it as is.
#pragma once

#include <string>

namespace lib {

std::string ENCRYPT_STRING(const std::string& text, int flag = 1);
std::string DECRYPT_STRING(const std::string& text, int flag = 1);
// Passwords are compared on their first 10 characters, blank-padded.
bool samePassword(const std::string& a, const std::string& b);

}  // namespace lib
