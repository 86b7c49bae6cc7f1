// "Cualidades de Habitaciones" (menu 3107): the qualities a room may have, each optionally
// shown as a markable item on the registration card (SHOW_REG). A new quality gets an
// unmarked row in DET_ROM2 for every room; a changed code follows into those rows, and a
// deleted quality takes its rows with it.
#pragma once

#include "screens/code_list.h"

namespace rooms {

class CUAL_ROM : public screens::CODE_LIST {
 public:
  static constexpr int kMenuId = 3107;
  CUAL_ROM(const std::string& dialog, const std::string& negocio);

  void ADD_CUAL_ROM() { AGREGAR(); }
  void MOD_CUAL_ROM() { MODIFICAR(); }
  void DEL_CUAL_ROM() { BORRAR(); }

 protected:
  void BIND(screens::FORM& form, lib::WDBTable* record) override;
  void afterAdd(const std::string& code) override;
};

}  // namespace rooms
