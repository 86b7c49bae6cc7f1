// The screens the module menu opens, by class name. Each screen of the program registers
// how it opens; an entry whose screen this version does not have yet shows a notice
// naming the screen class instead of doing nothing.
#pragma once

#include <functional>
#include <string>

#include "app/module_menu.h"

namespace app {

class PRINCIPAL;

struct ScreenRequest {
  const MenuEntry& entry;
  PRINCIPAL& principal;
  std::string business;  // the active business from the toolbar
};

using ScreenOpener = std::function<void(const ScreenRequest&)>;

void registerScreen(const std::string& screenClass, ScreenOpener opener);
bool screenAvailable(const std::string& screenClass);
void openScreen(const ScreenRequest& request);

// Registers every screen of the program (once; later calls do nothing).
void registerModuleScreens();

}  // namespace app
