// "Parámetros de Control" (menu 3049): the hotel control parameters of the business unit in
// its four parameter records. The closing date, the check-in, check-out and night-closing
// times, the credit and a few switches sit above the tabs; the pages "Datos 1", "Datos 2",
// "Cierres", "Datos 3" and "Datos 4" hold the rest. Opening creates the business unit's
// record of each table when it is missing; "Aceptar" validates, writes the four records
// and closes; "Cancelar" closes without writing.
#pragma once

#include <memory>
#include <string>

#include "parameters/parameter_form.h"
#include "win/wdiag.h"

namespace lib {
class WDBTable;
}

namespace parameters {

class PARAMET : public win::WDIAG {
 public:
  PARAMET(win::WDIAG* parent, const std::string& dialogName, const std::string& business);
  ~PARAMET() override;

  void SAVE_DATOS();
  void TERMINAR();
  void OnNCDESTROY() override { CERRARBASES(); }

  std::unique_ptr<lib::WDBTable> F_HOTEL, F_HOTEL2, F_HOTEL3, F_HOTEL4;

 private:
  void ABRIRBASES();
  void CERRARBASES();
  void CONTROLES();
  void LOAD_LISTAS();
  void LOAD_DATOS();
  // The agency of the in-house list can be chosen only while it is ordered by agency.
  void CTRL_ORDEN();
  void MARCAR_TARIFAS(bool selected);
  // The selected rate types as R3_TARIFA stores them: 4-character codes and one "|".
  std::string TARIFAS() const;
  // Shows the page holding `id`, puts the focus there and reports `text`.
  void REHUSA(int page, int id, const std::string& text, const std::string& title);

  PARAM_FORM form_{*this};
};

}  // namespace parameters
