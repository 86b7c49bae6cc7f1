// Window timers on one clock. The program runs them on Qt's timers and the real clock;
// tests and scripts run them on virtual time, where advance(ms) fires every timer that
// falls due on the way, in order, and moves the program clock (lib::G().clock) along.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace win {

class TimerService {
 public:
  virtual ~TimerService() = default;
  // Starts (or restarts) timer `id` of `owner`: `tick` runs every `periodMs` until stopped.
  virtual void start(const void* owner, int id, int periodMs, std::function<void()> tick) = 0;
  virtual void stop(const void* owner, int id) = 0;
  virtual void stopAll(const void* owner) = 0;
  virtual bool virtualTime() const { return false; }
};

// The service in use (real unless useVirtualTime() was called).
TimerService& timers();
// Switches to virtual time: the program clock becomes a lib::VirtualClock too.
void useVirtualTime();
bool isVirtualTime();
// Virtual time only: moves time on by `ms`, firing due timers (and pending window events).
void advance(int64_t ms);
// Fires virtual timers already due (called when window messages are pumped).
void fireDueTimers();

}  // namespace win
