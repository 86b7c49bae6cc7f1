// Letting pending window messages run during long loops, on the single user-interface
// thread. MULTITASK is not re-entrant: a call while one runs returns at once. With
// XMULTITASK = {counter, interval} and interval != 0, only every interval-th call (or a
// forced one) really pumps; the others just count.
#pragma once

namespace lib {

void MULTITASK(int passes = 1, bool force = false);
// Waits `seconds` while the window keeps processing its messages.
void WAIT_TIME(double seconds);

}  // namespace lib
