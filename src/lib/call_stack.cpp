#include "lib/call_stack.h"

#include <exception>
#include <set>

namespace lib {

namespace {

thread_local CallLevel* innermost = nullptr;
thread_local int activeDepth = 0;

// The levels an exception unwound, innermost first.
struct Unwound {
  const char* routine;
  int line;
  int depth;
};
constexpr int kTrail = 64;
thread_local Unwound trail[kTrail];
thread_local int trailSize = 0;

}  // namespace

CallLevel::CallLevel(const char* routine, int line) noexcept
    : routine_(routine ? routine : "?"),
      line_(line),
      outer_(innermost),
      depth_(++activeDepth),
      uncaught_(std::uncaught_exceptions()) {
  trailSize = 0;  // the program went on: what an earlier failure unwound is history
  innermost = this;
}

// Levels end in reverse order of their start (they live on the stack), so the innermost
// one is always the one ending. One that an exception ends joins the trail; a trail whose
// last level is not inside this one belongs to a failure already dealt with.
CallLevel::~CallLevel() {
  if (std::uncaught_exceptions() > uncaught_) {
    if (trailSize > 0 && trail[trailSize - 1].depth <= depth_) trailSize = 0;
    if (trailSize < kTrail) trail[trailSize++] = {routine_, line_, depth_};
  }
  innermost = outer_;
  --activeDepth;
}

void forgetUnwoundLevels() {
  trailSize = 0;
}

std::vector<CallLevelInfo> activeCallLevels() {
  std::vector<CallLevelInfo> levels;
  for (int i = 0; i < trailSize; ++i) levels.push_back({trail[i].routine, trail[i].line});
  for (const CallLevel* l = innermost; l; l = l->outer_) levels.push_back({l->routine_, l->line_});
  return levels;
}

const char* routineName(const std::string& name) {
  static std::set<std::string> names;  // node-based: pointers stay valid
  return names.insert(name).first->c_str();
}

}  // namespace lib
