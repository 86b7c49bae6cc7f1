// "Tipos de Habitaciones" (menu 3091): the room types of the business unit, the unit that is
// sold and reserved. Its editor is TIPO_RO2 (dialog AGREGAR_TIPO_ROM, mode 1 adds, 2 modifies
// the type under the cursor). Deleting a type leaves its rooms without type and class, takes
// its rooms from its class and deletes its availability rows. "Recodificar Reservas" moves
// the reservations of the type under the cursor to another type (RECODIFICA_RES).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lib/wdbtable.h"
#include "rooms/recode.h"
#include "win/browse.h"
#include "win/wdiag.h"

namespace rooms {

// The tables that name a room type, in the order a changed type code is carried into them.
const std::vector<RecodeStep>& TYPE_REFERENCES();

// The codes of the rooms of a type.
std::vector<std::string> ROOMS_DEL_TIPO(const std::string& negocio, const std::string& tipo);

class TIPO_ROM : public win::WDIAG, public win::ADD2BROWSE {
 public:
  static constexpr int kMenuId = 3091;

  TIPO_ROM(const std::string& dialog, const std::string& negocio);

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }

  void ADD_TIPO_ROM();
  void MOD_TIPO_ROM();
  void DEL_TIPO_ROM();
  void RECODIFICA_RES();

  // After the editor saved: the grid shows the table again, one row more after an add.
  void refreshTypes(bool added);
  bool hasType() const;

  std::unique_ptr<lib::WDBTable> TIPO_ROM_;  // the member named after its table
  std::unique_ptr<win::WBLISTBOX> OB;

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
};

}  // namespace rooms
