// "Parámetros de Control #4" (menu entry without a right of its own): day passes and the
// wristband types of each kind of guest and day, invoices and a few front-desk switches
// (F_HOTEL3), the captions of the wristband restriction classes and the switches of
// F_HOTEL4. Saves without validations.
#pragma once

#include <string>

#include "parameters/parameter_screen.h"

namespace parameters {

class PARAMET3 : public PARAMETER_SCREEN {
 public:
  PARAMET3(const std::string& dialog, const std::string& negocio);

  void SAVE_DATOS();

  lib::WDBTable *F_HOTEL3 = nullptr, *F_HOTEL4 = nullptr;

 protected:
  void ABRIRBASES() override;
  void CONTROLES() override;
  void LOAD_LISTAS() override;
};

}  // namespace parameters
