#include "win/entry.h"

#include <QTimer>
#include <cstdio>

namespace win {

namespace {

EntryGuard& installed() {
  static EntryGuard guard;
  return guard;
}

void unguarded(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Error de sistema: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Error de sistema desconocido\n");
  }
}

}  // namespace

void setEntryGuard(EntryGuard guard) {
  installed() = std::move(guard);
}

void fromEventLoop(const std::function<void()>& step) {
  // A copy: the step may install another guard (a test does).
  EntryGuard guard = installed();
  if (!guard) return unguarded(step);
  try {
    guard(step);
  } catch (...) {
    // The guard itself failed (or let an unexpected exception through): never into Qt.
    unguarded([] { throw; });
  }
}

void reportLater(std::exception_ptr failure) {
  QTimer::singleShot(0, [failure] { fromEventLoop([failure] { std::rethrow_exception(failure); }); });
}

}  // namespace win
