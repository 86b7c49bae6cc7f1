#include "lib/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "xbase/date.h"

namespace lib {

int64_t RealClock::ticks() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::busyWait(int64_t millis) {
  // The waits of the retry protocol are short; sleeping gives the other workstation's
  // process the processor it needs to finish and release.
  std::this_thread::sleep_for(std::chrono::milliseconds(millis));
}

WallTime RealClock::now() {
  using namespace std::chrono;
  auto t = system_clock::now();
  std::time_t secs = system_clock::to_time_t(t);
  std::tm tm{};
  localtime_r(&secs, &tm);
  int ms = int(duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000);
  return {xbase::julianFromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
          ((tm.tm_hour * 60 + tm.tm_min) * 60 + tm.tm_sec) * 1000 + ms};
}

void VirtualClock::busyWait(int64_t millis) {
  advance(millis);
  if (millis > 0) std::this_thread::sleep_for(std::chrono::microseconds(millis * 10));
}

void VirtualClock::advance(int64_t millis) {
  ticks_ += millis;
  int64_t ms = int64_t(wall_.millis) + millis;
  wall_.julian += int32_t(ms / 86400000);
  wall_.millis = int32_t(ms % 86400000);
}

}  // namespace lib
