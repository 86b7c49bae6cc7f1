// The window layer's tests build their screens in the constructor, as the layer alone lets
// them (the program's screens are opened by screens::OPEN): constructed, then handed to the
// layer, which deletes them once their window is gone; nullptr when no window came.
#pragma once

#include <utility>

#include "win/wdiag.h"

namespace testing_support {

template <typename T, typename... Args>
T* open(Args&&... args) {
  T* screen = new T(std::forward<Args>(args)...);
  if (!screen->window()) {
    delete screen;
    return nullptr;
  }
  win::adoptScreen(screen);
  return screen;
}

}  // namespace testing_support
