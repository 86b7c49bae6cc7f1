// The active call levels, as the error report lists them ("Called from NAME(LINE)").
//
// A routine that wants to appear in error reports opens a level on entry:
//
//   void ROOMS::ADD_ROOMS() {
//     CALL_LEVEL_NAMED("ROOMS:ADD_ROOMS");
//     ...
//   }
//
// or simply CALL_LEVEL() to use the function's own name. A level is a few words on the
// stack linked into a per-thread list: opening and closing one costs no allocation, so
// screens and processes can use it everywhere.
//
// The error handler runs where the failure is caught, after the failing routines have
// unwound; so a level that ends because an exception leaves it is kept (in a fixed trail,
// innermost first) and reported with the levels still active, until the program goes on
// into a new level.
#pragma once

#include <string>
#include <vector>

namespace lib {

struct CallLevelInfo {
  std::string routine;
  int line = 0;
};

class CallLevel {
 public:
  // `routine` must outlive the level (a literal or __func__).
  CallLevel(const char* routine, int line) noexcept;
  ~CallLevel();
  CallLevel(const CallLevel&) = delete;
  CallLevel& operator=(const CallLevel&) = delete;

  // Moves the level's line forward, for a long routine that wants the report to say where.
  void at(int line) noexcept { line_ = line; }

 private:
  friend std::vector<CallLevelInfo> activeCallLevels();
  const char* routine_;
  int line_;
  CallLevel* outer_;
  int depth_;
  int uncaught_;
};

// The levels of the calling thread, innermost first: those an exception left on its way
// here, then those still active.
std::vector<CallLevelInfo> activeCallLevels();

// Forgets the levels a failure unwound, once it has been dealt with.
void forgetUnwoundLevels();

// A routine name made at run time ("TIPO_ROM:ADD_TIPO_ROM"), kept for the life of the
// process so that a level can name it; the same name gives the same pointer.
const char* routineName(const std::string& name);

}  // namespace lib

#define APP_CALL_LEVEL_JOIN2(a, b) a##b
#define APP_CALL_LEVEL_JOIN(a, b) APP_CALL_LEVEL_JOIN2(a, b)
#define CALL_LEVEL() ::lib::CallLevel APP_CALL_LEVEL_JOIN(callLevel_, __LINE__)(__func__, __LINE__)
#define CALL_LEVEL_NAMED(name) ::lib::CallLevel APP_CALL_LEVEL_JOIN(callLevel_, __LINE__)(name, __LINE__)
#define CALL_LEVEL_AS(name) \
  ::lib::CallLevel APP_CALL_LEVEL_JOIN(callLevel_, __LINE__)(::lib::routineName(name), __LINE__)
