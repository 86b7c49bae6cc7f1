// The shell's own screens, and every subsystem's through its registration.
#include "app/admin_screens.h"
#include "app/dialog_log_viewer.h"
#include "app/password_screen.h"
#include "app/screens.h"
#include "app/users_screen.h"
#include "screens/registry.h"

namespace app {

void registerModuleScreens() {
  static bool done = false;
  if (done) return;
  done = true;
  registerPasswordScreen();
  registerDialogLogViewer();
  registerUsersScreen();
  registerAdminScreens();
  screens::REGISTER_SCREENS();
}

}  // namespace app
