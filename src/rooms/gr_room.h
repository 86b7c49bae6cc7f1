// "Grupos Tipos de Habitaciones" (menu 5572): the groups room types are gathered in
// (TIPO_ROM.GRUPO). A changed code follows into the types of the group; a deleted group
// leaves its types without a group.
#pragma once

#include "screens/code_list.h"

namespace rooms {

class GR_ROOM : public screens::CODE_LIST {
 public:
  static constexpr int kMenuId = 5572;
  GR_ROOM(const std::string& dialog, const std::string& negocio);

  void ADD_GR_ROOM() { AGREGAR(); }
  void MOD_GR_ROOM() { MODIFICAR(); }
  void DEL_GR_ROOM() { BORRAR(); }
};

}  // namespace rooms
