// The screens of the hotel control parameters, registered for the module menu: "Parámetros
// de Control" (PARAMET), "#2" (PARAMET2), "#3" (PARAM2 on dialog PARAMET_F) and "#4"
// (PARAMET3). Each opens on the business unit active on the toolbar.
#pragma once

namespace parameters {

void registerParameterScreens();

}  // namespace parameters
