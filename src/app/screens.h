// The screens the module menu opens, by class name: the shell's own (users, passwords, the
// screen log), registered here with the main window at hand, and those of the subsystems,
// registered with the screen framework (screens/registry.h). An entry whose screen this
// version does not have yet shows a notice naming the screen class instead of doing
// nothing.
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

// Registers every screen of the program, the shell's and the subsystems' (once; later
// calls do nothing).
void registerModuleScreens();

}  // namespace app
