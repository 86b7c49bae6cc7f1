// Every entry from the event loop into program code — a command of a control, a menu or
// "Editar" entry, a timer, a grid or tree callback, the first activation of a screen, the
// close box — runs through fromEventLoop. The application installs the guard that hands a
// failure to the run-time error handler (the error window, the ERROR record); whatever the
// guard decides, an exception never leaves the entry, so it never crosses Qt.
//
// The guard runs the step again when the user chooses to retry, abandons it when the user
// chooses to go on, and ends the program when the user chooses to leave. Whatever the step
// had under way unwinds first: locks, progress windows and disabled grids are released by
// the objects that took them.
#pragma once

#include <exception>
#include <functional>

namespace win {

using EntryGuard = std::function<void(const std::function<void()>& step)>;

// Installs the guard (an empty one restores the default: the failure is written to the
// standard error stream and the step abandoned).
void setEntryGuard(EntryGuard guard);

// Runs `step` as an entry from the event loop.
void fromEventLoop(const std::function<void()>& step);

// A failure caught where no window may open (while a grid paints its rows): reported through
// the guard as soon as the event loop is free again.
void reportLater(std::exception_ptr failure);

}  // namespace win
