#include "lib/param_file.h"

#include <fstream>
#include <sstream>

#include "xbase/file.h"

namespace lib {

std::vector<std::string> GET_A_ADS(const std::string& path) {
  std::vector<std::string> lines;
  std::string real = xbase::findFileNoCase(path);
  if (!real.empty()) {
    std::ifstream in(real, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    const char separator = text.find('\r') == std::string::npos ? '\n' : '\r';
    std::string current;
    for (char c : text) {
      if (c == separator) {
        lines.push_back(current);
        current.clear();
      } else if (c != '\n') {
        current.push_back(c);
      }
    }
    if (!current.empty()) lines.push_back(current);
  }
  if (lines.size() < 26) lines.resize(26);
  return lines;
}

std::string paramLine(const std::vector<std::string>& lines, size_t n) {
  return n >= 1 && n <= lines.size() ? lines[n - 1] : std::string();
}

}  // namespace lib
