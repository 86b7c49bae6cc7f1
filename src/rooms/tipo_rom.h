// "Tipos de Habitaciones" (menu 3091): the room types of the business unit, the unit that is
// sold and reserved. Its editor is TIPO_RO2 (dialog AGREGAR_TIPO_ROM). Deleting a type
// leaves its rooms without type and class, takes its rooms from its class and deletes its
// availability rows. "Recodificar Reservas" moves the reservations of the type under the
// cursor to another type (RECODIFICA_RES).
#pragma once

#include <string>
#include <vector>

#include "screens/list_screen.h"

namespace rooms {

// The codes of the rooms of a type.
std::vector<std::string> ROOMS_DEL_TIPO(const std::string& negocio, const std::string& tipo);

class TIPO_ROM : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3091;
  TIPO_ROM(const std::string& dialog, const std::string& negocio);

  void ADD_TIPO_ROM();
  void MOD_TIPO_ROM();
  void DEL_TIPO_ROM();
  void RECODIFICA_RES();

 protected:
  void DOBLE_CLICK() override { MOD_TIPO_ROM(); }
};

}  // namespace rooms
