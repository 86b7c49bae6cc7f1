#include "lib/multitask.h"

#include "lib/globals.h"

namespace lib {

void MULTITASK(int passes, bool force) {
  Globals& g = G();
  if (g.XINMULTITASK) return;
  auto& [counter, interval] = g.XMULTITASK;
  if (interval != 0 && counter % interval != 0 && !force) {
    ++counter;
    return;
  }
  g.XINMULTITASK = 1;
  for (int i = 0; i < passes; ++i) {
    counter = 1;
    if (g.pumpMessages) g.pumpMessages();
  }
  g.XINMULTITASK = 0;
}

void WAIT_TIME(double seconds) {
  Globals& g = G();
  int64_t end = g.clock->ticks() + int64_t(seconds * 1000);
  while (g.clock->ticks() < end) {
    if (g.pumpMessages) g.pumpMessages();
    g.clock->busyWait(10);
  }
}

}  // namespace lib
