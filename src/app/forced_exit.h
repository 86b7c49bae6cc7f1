// The periodic leave-the-system check (CHECK_QUIT, every minute) and the five-minute
// countdown it starts when the flag file BLOQUEAD.! asks this module to leave: a user who
// is neither supervisor nor exempt is told and, five minutes later, the program ends
// without logout. Supervisors and exempt users are told once and stay.
#pragma once

#include <cstdint>
#include <functional>

namespace app {

inline constexpr int64_t kForcedExitMs = 300000;
inline constexpr int kCountdownPeriodMs = 30000;

class ForcedExit {
 public:
  void CHECK_QUIT();
  // One tick of the countdown (timer 3): ends the program once the time is up.
  void countdownTick();
  // Whether the countdown ran out for a user who must leave.
  bool expired() const;

  int Por_Salir = 0;
  int64_t Time_Salir = 0;

  // Set by the main window.
  std::function<void()> onExpired;  // EXIT_LOGIN
  const void* timerOwner = nullptr;
};

// Set while a process changes table structures: no forced exit meanwhile.
bool& structureChangeRunning();

}  // namespace app
