#include "app/admin_screens.h"

#include "app/log_viewer.h"
#include "app/mant_ser.h"
#include "app/opt_file.h"

namespace app {

void registerAdminScreens() {
  registerSerialScreen();
  registerLogViewers();
  registerOptimizationScreens();
}

}  // namespace app
