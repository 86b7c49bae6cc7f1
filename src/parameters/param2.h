// "Parámetros de Control #3" (menu 3744, dialog PARAMET_F): cash handling — the exchange-rate
// slot of received currencies, money delivery and change, the transactions of change, money
// delivery and register closings, the cash payment form, the negative margin (F_HOTEL) and
// the serial of the housekeeping count (F_HOTEL3). Saves without validations, and only into
// records that exist.
#pragma once

#include <string>

#include "parameters/parameter_screen.h"

namespace parameters {

class PARAM2 : public PARAMETER_SCREEN {
 public:
  PARAM2(const std::string& dialog, const std::string& negocio);

  void PROCESAR();

  lib::WDBTable *F_HOTEL = nullptr, *F_HOTEL3 = nullptr;

 protected:
  void ABRIRBASES() override;
  void CONTROLES() override;
  void LOAD_LISTAS() override;
};

}  // namespace parameters
