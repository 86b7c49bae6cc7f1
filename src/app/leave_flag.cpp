#include "app/leave_flag.h"

#include <cstdio>
#include <fstream>

#include "lib/globals.h"
#include "xbase/file.h"

namespace app {

bool LeaveFlag::moduleMustLeave(size_t last) const {
  int sum = 0;
  for (size_t i = 1; i < text.size() && i < last; ++i)
    if (text[i] >= '0' && text[i] <= '9') sum += text[i] - '0';
  if (sum == 0) return true;
  return text.size() >= size_t(kModulePosition) && text[kModulePosition - 1] == '1';
}

std::optional<LeaveFlag> readLeaveFlag() {
  std::string path = xbase::findFileNoCase(lib::G().PATH + "BLOQUEAD.!");
  if (path.empty()) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  LeaveFlag f;
  char buf[50];
  in.read(buf, sizeof buf);
  f.text.assign(buf, size_t(in.gcount()));
  return f;
}

bool writeLeaveFlag(const std::string& text) {
  std::ofstream out(lib::G().PATH + "BLOQUEAD.!", std::ios::binary | std::ios::trunc);
  out << text;
  return bool(out);
}

void removeLeaveFlag() {
  std::string path = xbase::findFileNoCase(lib::G().PATH + "BLOQUEAD.!");
  if (!path.empty()) std::remove(path.c_str());
}

}  // namespace app
