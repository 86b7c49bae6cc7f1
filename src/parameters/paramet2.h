// "Parámetros de Control #2" (menu 3975): room order and legal names in reservations, the
// lines and colours of the occupancy forecast, restaurant accounts, meals and the
// frequent-guest programme (F_HOTEL3), the accounting link of guests still in house
// (F_HOTEL) and the multi-currency folios of the business unit (NEGOCIOS). Saves without
// validations.
#pragma once

#include <memory>
#include <string>

#include "parameters/parameter_form.h"
#include "win/wdiag.h"

namespace lib {
class WDBTable;
}

namespace parameters {

class PARAMET2 : public win::WDIAG {
 public:
  PARAMET2(win::WDIAG* parent, const std::string& dialogName, const std::string& business);
  ~PARAMET2() override;

  void SAVE_DATOS();
  void TERMINAR();
  void OnNCDESTROY() override { CERRARBASES(); }

  std::unique_ptr<lib::WDBTable> F_HOTEL, F_HOTEL3, NEGOCIOS;

 private:
  void ABRIRBASES();
  void CERRARBASES();
  void CONTROLES();
  void LOAD_LISTAS();

  PARAM_FORM form_{*this};
};

}  // namespace parameters
