// The one retry protocol of the program, used by opening, locking, appending and releasing:
// try, and after every failure wait 100 ms and try again. For the first 5000 ms nobody is
// told; after that every failed attempt shows `message` (title "Alerta", Reintentar and
// Cancelar) — or, inside a server transaction, aborts the transaction (TransactionAbort)
// instead. Outside a transaction the attempts go on while the user answers Reintentar;
// Cancelar ends them with a run-time error (general code `genCode`, the message and the
// file), which the error handler shows and records like any other: a workstation that holds
// a record for good never keeps another one waiting for ever.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lib {

inline constexpr int kRetryWaitMs = 100;
inline constexpr int kRetryQuietMs = 5000;

struct RetryPolicy {
  std::string message;  // shown after the quiet period
  int counter = -1;     // index in XRETRIES counted on each failure, -1 for none
  // Called once per failure after the quiet period, before the message or the abort (the
  // lock protocol stores the server's reason there).
  std::function<void()> afterQuiet;
  bool silent = false;  // no messages at all (appending with no-wait)
  int genCode = 41;     // of the error when the user gives up (EG_LOCK; EG_OPEN for opens)
  std::string file;     // the table or file waited for, named in that error
  int64_t since = -1;   // clock ticks of a first attempt made before retryUntil, if any
};

void retryUntil(const std::function<bool()>& attempt, const RetryPolicy& policy);

// XDELAY / XWAITMILLISEC: a busy wait that lets no window message run.
void XDELAY(int millis);
void XWAITMILLISEC(int millis);

}  // namespace lib
