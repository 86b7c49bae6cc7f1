// Every screen of the program, registered for the module menu.
#include "app/dialog_log_viewer.h"
#include "app/password_screen.h"
#include "app/screens.h"
#include "app/users_screen.h"
#include "parameters/parameter_screens.h"
#include "rooms/room_screens.h"
#include "rooms/availability_screens.h"

namespace app {

void registerModuleScreens() {
  static bool done = false;
  if (done) return;
  done = true;
  registerPasswordScreen();
  registerDialogLogViewer();
  registerUsersScreen();
  parameters::registerParameterScreens();
  rooms::registerRoomScreens();
  rooms::registerAvailabilityScreens();
}

}  // namespace app
