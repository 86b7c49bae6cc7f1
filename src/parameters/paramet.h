// "Parámetros de Control" (menu 3049): the hotel control parameters of the business unit in
// its four parameter records. The closing date, the check-in, check-out and night-closing
// times, the credit and a few switches sit above the tabs; the pages "Datos 1", "Datos 2",
// "Cierres", "Datos 3" and "Datos 4" hold the rest. Opening creates the business unit's
// record of each table when it is missing; "Aceptar" validates, writes the four records
// and closes; "Cancelar" closes without writing.
#pragma once

#include <string>

#include "parameters/parameter_screen.h"

namespace parameters {

class PARAMET : public PARAMETER_SCREEN {
 public:
  PARAMET(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void SAVE_DATOS();

  lib::WDBTable *F_HOTEL = nullptr, *F_HOTEL2 = nullptr, *F_HOTEL3 = nullptr, *F_HOTEL4 = nullptr;

 protected:
  void ABRIRBASES() override;
  void CONTROLES() override;
  void LOAD_LISTAS() override;
  void LOAD_DATOS() override;

 private:
  // The agency of the in-house list can be chosen only while it is ordered by agency.
  void CTRL_ORDEN();
  void MARCAR_TARIFAS(bool selected);
  // The selected rate types as R3_TARIFA stores them: 4-character codes and one "|".
  std::string TARIFAS() const;
  // Shows the page holding `id`, puts the focus there and reports `text`.
  void REHUSA(int page, int id, const std::string& text, const std::string& title);
};

}  // namespace parameters
