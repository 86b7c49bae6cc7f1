#include "app/call_stack.h"

namespace app {

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

}  // namespace app
