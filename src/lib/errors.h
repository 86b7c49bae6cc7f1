// Run-time failures of the program are xbase::Error, the one exception family that carries
// the general code, sub-code, operating-system code, subsystem, operation and file. This
// header adds what the data layer needs on top of it.
#pragma once

#include <string>

#include "xbase/error.h"

namespace lib {

using RuntimeError = xbase::Error;

// An operation inside a server transaction that could not get its lock, table or append in
// time: it stops at once, without a message, and the transaction is rolled back by whoever
// handles it (its reason is G().XADS_T_ERR).
class TransactionAbort : public xbase::Error {
 public:
  explicit TransactionAbort(const std::string& reason)
      : xbase::Error(xbase::EG_LOCK, 9000, "transacción abortada: " + reason) {
    setSubsystem("ADSCDX");
  }
};

// The failures the retry loops treat as "not now, try again": a sharing violation on open
// (general code 21 or 2006 with operating-system code 32) or a refused append lock (40),
// when the failing operation may return a default.
bool isNetworkSoftFailure(const xbase::Error& e);

// Errors with these sub-codes yield 0 and execution goes on.
bool yieldsZero(const xbase::Error& e);

// Division as the program does it: by zero gives 0 (percentages and averages rely on it).
double DIVIDE(double a, double b);

}  // namespace lib
