// How the room screens register themselves: their "Editar" entries bound to operations of
// the screen class, and the class that opens for a menu entry.
#pragma once

#include <string>

#include "app/screens.h"
#include "win/main_frame.h"

namespace rooms {

// An "Editar" entry bound to an operation of the screen class S.
template <typename S>
win::EditEntry entry(int id, const char* caption, void (S::*operation)()) {
  return {id, caption, [operation](win::WDIAG& screen) { (static_cast<S&>(screen).*operation)(); }};
}

// The line between groups of entries.
inline win::EditEntry separator() {
  return {0, "", {}};
}

// The screen class S opens with the entry's dialog and the active business unit.
template <typename S>
void opens(const std::string& screenClass) {
  app::registerScreen(screenClass, [](const app::ScreenRequest& r) { win::open<S>(r.entry.dialogName(), r.business); });
}

}  // namespace rooms
