// "Tipos de Ubicaciones" (menu 3099): the room locations of the business unit. A changed
// code follows into the rooms of the location; a deleted location leaves its rooms with a
// blank location, never deletes them.
#pragma once

#include "screens/code_list.h"

namespace rooms {

class UBIC_ROM : public screens::CODE_LIST {
 public:
  static constexpr int kMenuId = 3099;
  UBIC_ROM(const std::string& dialog, const std::string& negocio);

  void ADD_UBIC_ROM() { AGREGAR(); }
  void MOD_UBIC_ROM() { MODIFICAR(); }
  void DEL_UBIC_ROM() { BORRAR(); }
};

}  // namespace rooms
