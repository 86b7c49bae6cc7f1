// "Definición de Seriales" (menu 2841, dialog MANT_SERIAL): the serial-number counters of
// the business unit (SERIALES, every module's), with their prefix, width, suffix and the
// next number each one hands out. Its editor is MANT_SE2 (dialog EDIT_SERIAL). Deleting a
// series leaves the documents that draw from it with "NO_SERIAL!" for a number.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace app {

class MANT_SER : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 2841;
  MANT_SER(const std::string& dialog, const std::string& negocio);

  void ADD_SERIAL();
  void MOD_SERIAL();
  void DEL_SERIAL();

 protected:
  void MontarColumnas() override;
  void DOBLE_CLICK() override { MOD_SERIAL(); }
};

void registerSerialScreen();

}  // namespace app
