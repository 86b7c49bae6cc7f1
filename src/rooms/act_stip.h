// "Sincronizar Web-Interface" (menu 6203): marks the availability rows of a class, of the
// room types chosen and of a date range as changed (ALTERA_1 = 1), so that the web
// interface sends them again.
#pragma once

#include <string>

#include "screens/screen.h"

namespace rooms {

class ACT_STIP : public screens::SCREEN {
 public:
  ACT_STIP(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;

  // "Actualizar!": checks the range, the class and the types, flags the rows and tells how
  // many were flagged.
  void PROCESAR();
  void L_CLASES();
  void L_TIPOS();

  long flagged = 0;  // rows flagged by the last run
};

}  // namespace rooms
