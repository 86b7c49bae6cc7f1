// "Clases de Habitaciones" (menu 3095): the room classes of the business unit, used for
// statistics and forecasting; each room type belongs to one. Its editor is CLAS_RO2 (dialog
// AGREGAR_CLAS_ROM). Deleting a class leaves its types and rooms without class and deletes
// the class's availability rows (CLASS_LEAVES).
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace rooms {

class CLAS_ROM : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3095;
  CLAS_ROM(const std::string& dialog, const std::string& negocio);

  void ADD_CLAS_ROM();
  void MOD_CLAS_ROM();
  void DEL_CLAS_ROM();

 protected:
  void DOBLE_CLICK() override { MOD_CLAS_ROM(); }
};

}  // namespace rooms
