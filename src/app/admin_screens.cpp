#include "app/admin_screens.h"

#include "app/adsinfo.h"
#include "app/log_viewer.h"
#include "app/mant_ser.h"
#include "app/opt_file.h"
#include "app/system_dialogs.h"

namespace app {

void registerAdminScreens() {
  registerSerialScreen();
  registerLogViewers();
  registerOptimizationScreens();
  registerSettingsDialogs();
  registerServerInfo();
}

}  // namespace app
