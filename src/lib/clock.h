// Time as the program sees it: a monotonic tick in milliseconds for waits and timers, and
// the workstation's wall clock. The program runs on RealClock; tests and scripts run on a
// VirtualClock, where "seven seconds later" is a step, not a sleep.
#pragma once

#include <cstdint>

namespace lib {

struct WallTime {
  int32_t julian = 0;  // today's date
  int32_t millis = 0;  // milliseconds since midnight
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t ticks() = 0;                // milliseconds, monotonic
  virtual void busyWait(int64_t millis) = 0;  // waits without letting window messages run
  virtual WallTime now() = 0;
};

class RealClock : public Clock {
 public:
  int64_t ticks() override;
  void busyWait(int64_t millis) override;
  WallTime now() override;
};

// Time moves only when told to, or when somebody waits. A wait also lets a hundredth of its
// length pass on the real clock: another workstation's process (a lock holder a test runs
// beside the script) gets the processor, as it would in the time the wait stands for,
// instead of seeing five seconds of retries go by while it is not running.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(WallTime start = {2461056, 9 * 3600 * 1000}) : wall_(start) {}
  int64_t ticks() override { return ticks_; }
  void busyWait(int64_t millis) override;
  WallTime now() override { return wall_; }
  void advance(int64_t millis);

 private:
  int64_t ticks_ = 1000;
  WallTime wall_;
};

}  // namespace lib
