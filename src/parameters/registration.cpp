// The screens of the hotel control parameters: "Parámetros de Control" (PARAMET), "#2"
// (PARAMET2), "#3" (PARAM2 on dialog PARAMET_F) and "#4" (PARAMET3). Each opens on the
// business unit active on the toolbar.
#include "parameters/param2.h"
#include "parameters/paramet.h"
#include "parameters/paramet2.h"
#include "parameters/paramet3.h"
#include "screens/registry.h"

namespace parameters {

SCREEN_REGISTRATION(registerParameterScreens) {
  screens::opens<PARAMET>("PARAMET");
  screens::opens<PARAMET2>("PARAMET2");
  screens::opens<PARAM2>("PARAM2");
  screens::opens<PARAMET3>("PARAMET3");
}

}  // namespace parameters
