// The screens of the processes over the reservation data.
#include "processes/calc_est.h"
#include "processes/calc_st2.h"
#include "processes/congruen.h"
#include "screens/registry.h"

namespace processes {

SCREEN_REGISTRATION(registerProcessScreens) {
  screens::opens<CONGRUEN>("CONGRUEN");
  screens::opens<CALC_EST>("CALC_EST");
  screens::opens<CALC_ST2>("CALC_ST2");
}

}  // namespace processes
