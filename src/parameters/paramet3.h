// "Parámetros de Control #4" (menu entry without a right of its own): day passes and the
// wristband types of each kind of guest and day, invoices and a few front-desk switches
// (F_HOTEL3), the captions of the wristband restriction classes and the switches of
// F_HOTEL4. Saves without validations.
#pragma once

#include <memory>
#include <string>

#include "parameters/parameter_form.h"
#include "win/wdiag.h"

namespace lib {
class WDBTable;
}

namespace parameters {

class PARAMET3 : public win::WDIAG {
 public:
  PARAMET3(win::WDIAG* parent, const std::string& dialogName, const std::string& business);
  ~PARAMET3() override;

  void SAVE_DATOS();
  void TERMINAR();
  void OnNCDESTROY() override { CERRARBASES(); }

  std::unique_ptr<lib::WDBTable> F_HOTEL3, F_HOTEL4;

 private:
  void ABRIRBASES();
  void CERRARBASES();
  void CONTROLES();
  void LOAD_LISTAS();

  PARAM_FORM form_{*this};
};

}  // namespace parameters
