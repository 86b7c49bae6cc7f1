#include "lib/retry.h"

#include "lib/errors.h"
#include "lib/globals.h"

namespace lib {

void retryUntil(const std::function<bool()>& attempt, const RetryPolicy& policy) {
  Clock& clock = *G().clock;
  const int64_t start = policy.since >= 0 ? policy.since : clock.ticks();
  while (!attempt()) {
    if (!policy.silent && clock.ticks() - start > kRetryQuietMs) {
      if (policy.afterQuiet) policy.afterQuiet();
      if (G().XADSTRANS == 1) throw TransactionAbort(G().XADS_T_ERR.empty() ? policy.message : G().XADS_T_ERR);
      if (G().messages->show(policy.message, "Alerta", MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
        xbase::Error e(policy.genCode, xbase::SC_LOCK, policy.message, policy.file);
        e.setRetry(true);  // the whole operation may be tried again from the error window
        throw e;
      }
    }
    if (policy.counter >= 0) ++G().XRETRIES[size_t(policy.counter)];
    XDELAY(kRetryWaitMs);
  }
}

void XDELAY(int millis) {
  G().clock->busyWait(millis);
}
void XWAITMILLISEC(int millis) {
  G().clock->busyWait(millis);
}

}  // namespace lib
