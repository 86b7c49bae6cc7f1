// "Tipos Garantía Reservaciones" (menu 3111): the guarantee types of the business unit, with
// their editor ED_TR. Deleting a type deletes its messages (D_T_RES); the reservations keep
// the deleted code.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace reservations {

class BROW_TR : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3111;
  BROW_TR(const std::string& dialog, const std::string& negocio);

  void ADD_TR();
  void MOD_TR();
  void DEL_TR();

 protected:
  void DOBLE_CLICK() override { MOD_TR(); }
};

}  // namespace reservations
