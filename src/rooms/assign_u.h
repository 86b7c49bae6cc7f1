// "Clases Permitidas x Usuario" (menu 5112): the users of the business unit, and for the
// one under the cursor (button 201) the room classes he may pre-assign (CLASES_HOT) and
// whether special prices are blocked for him (PRECIO_ESP), edited in the modal dialog
// E_ASSIGN_U.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace rooms {

class ASSIGN_U : public screens::LIST_SCREEN {
 public:
  ASSIGN_U(const std::string& dialog, const std::string& negocio);
  void EDITAR();

 protected:
  void BOTONES() override;
  void DOBLE_CLICK() override { EDITAR(); }
};

}  // namespace rooms
