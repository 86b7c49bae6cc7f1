// "Accesorios de Habitaciones" (menu 3103): the accessories a room may have. A new
// accessory gets an unmarked row in DET_ROM1 for every room; a changed code follows into
// those rows, and a deleted accessory takes its rows with it.
#pragma once

#include "screens/code_list.h"

namespace rooms {

class ACC_ROM : public screens::CODE_LIST {
 public:
  static constexpr int kMenuId = 3103;
  ACC_ROM(const std::string& dialog, const std::string& negocio);

  void ADD_ACC_ROM() { AGREGAR(); }
  void MOD_ACC_ROM() { MODIFICAR(); }
  void DEL_ACC_ROM() { BORRAR(); }

 protected:
  void afterAdd(const std::string& code) override;
};

}  // namespace rooms
