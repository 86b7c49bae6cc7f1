#include "app/admin_screens.h"

#include "app/mant_ser.h"

namespace app {

void registerAdminScreens() {
  registerSerialScreen();
}

}  // namespace app
