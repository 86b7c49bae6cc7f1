// Text helpers for the program's fields: codes and names are blank-padded to their field's
// width and compared in capitals.
#pragma once

#include <string>
#include <string_view>

namespace lib {

// ASCII letters in capitals (what the tables' keys hold; other bytes unchanged).
std::string upper(std::string s);
// Without the `blanks` at both ends.
std::string trim(std::string_view s, std::string_view blanks = " ");
// Without trailing blanks: a field's value as the screens show it.
std::string rtrim(std::string s);
// Blank-padded (or cut) to `width`: a value as its field stores it, or a key part.
std::string padded(std::string s, size_t width);

// A number right-aligned in `width` characters, as xBase's STR(n, width) writes a whole
// number (key parts such as a user code).
std::string STR(long long n, int width);

// The business unit as every key of the shared tables begins with it: NEGOCIO is two
// characters wide in all of them.
inline constexpr size_t kBusinessWidth = 2;
std::string businessKey(const std::string& negocio);

}  // namespace lib
