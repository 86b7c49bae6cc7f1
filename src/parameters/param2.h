// "Parámetros de Control #3" (menu 3744, dialog PARAMET_F): cash handling — the exchange-rate
// slot of received currencies, money delivery and change, the transactions of change, money
// delivery and register closings, the cash payment form, the negative margin (F_HOTEL) and
// the serial of the housekeeping count (F_HOTEL3). Saves without validations, and only into
// records that exist.
#pragma once

#include <memory>
#include <string>

#include "parameters/parameter_form.h"
#include "win/wdiag.h"

namespace lib {
class WDBTable;
}

namespace parameters {

class PARAM2 : public win::WDIAG {
 public:
  PARAM2(win::WDIAG* parent, const std::string& dialogName, const std::string& business);
  ~PARAM2() override;

  void PROCESAR();
  void TERMINAR();
  void OnNCDESTROY() override { CERRARBASES(); }

  std::unique_ptr<lib::WDBTable> F_HOTEL, F_HOTEL3;

 private:
  void ABRIRBASES();
  void CERRARBASES();
  void CONTROLES();
  void LOAD_LISTAS();

  PARAM_FORM form_{*this};
};

}  // namespace parameters
