#include "lib/call_stack.h"

#include <set>

namespace lib {

namespace {

thread_local CallLevel* innermost = nullptr;

}  // namespace

CallLevel::CallLevel(const char* routine, int line) noexcept
    : routine_(routine ? routine : "?"), line_(line), outer_(innermost) {
  innermost = this;
}

// Levels end in reverse order of their start (they live on the stack), so the innermost
// one is always the one ending.
CallLevel::~CallLevel() {
  innermost = outer_;
}

std::vector<CallLevelInfo> activeCallLevels() {
  std::vector<CallLevelInfo> levels;
  for (const CallLevel* l = innermost; l; l = l->outer_) levels.push_back({l->routine_, l->line_});
  return levels;
}

const char* routineName(const std::string& name) {
  static std::set<std::string> names;  // node-based: pointers stay valid
  return names.insert(name).first->c_str();
}

}  // namespace lib
