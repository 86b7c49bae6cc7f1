#include "win/resources.h"

namespace win {

ResourceSet& resources() {
  static ResourceSet set = ResourceSet::builtIn();
  return set;
}

void addResourceScript(const std::string& text, const std::string& fileName) {
  resources().parse(text, fileName);
}

std::string resourceString(int id, const std::string& fallback) {
  std::optional<std::string> s = resources().string(id);
  return s ? *s : fallback;
}

}  // namespace win
