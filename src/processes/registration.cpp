// The screens of the processes over the reservation data.
#include "processes/congruen.h"
#include "screens/registry.h"

namespace processes {

SCREEN_REGISTRATION(registerProcessScreens) {
  screens::opens<CONGRUEN>("CONGRUEN");
}

}  // namespace processes
