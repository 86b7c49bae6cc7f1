// "Parámetros de Control #2" (menu 3975): room order and legal names in reservations, the
// lines and colours of the occupancy forecast, restaurant accounts, meals and the
// frequent-guest programme (F_HOTEL3), the accounting link of guests still in house
// (F_HOTEL) and the multi-currency folios of the business unit (NEGOCIOS). Saves without
// validations.
#pragma once

#include <string>

#include "parameters/parameter_screen.h"

namespace parameters {

class PARAMET2 : public PARAMETER_SCREEN {
 public:
  PARAMET2(const std::string& dialog, const std::string& negocio);

  void SAVE_DATOS();

  lib::WDBTable *F_HOTEL = nullptr, *F_HOTEL3 = nullptr, *NEGOCIOS = nullptr;

 protected:
  void ABRIRBASES() override;
  void CONTROLES() override;
  void LOAD_LISTAS() override;
  void LOAD_DATOS() override;
};

}  // namespace parameters
