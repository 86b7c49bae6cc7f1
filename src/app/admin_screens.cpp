#include "app/admin_screens.h"

#include "app/log_viewer.h"
#include "app/mant_ser.h"

namespace app {

void registerAdminScreens() {
  registerSerialScreen();
  registerLogViewers();
}

}  // namespace app
