// "Recodificación Habitaciones" (menu 3893, dialog RECOD_ROOM): a room's code replaced by a
// new one in the room and everywhere the business unit refers to it — reservations, the
// reservation table, accessories and qualities, folios, invoices, messages, calls, pending
// charges and events (ROOM_REFERENCES). The room must exist and the new code must not.
#pragma once

#include <string>

#include "screens/screen.h"

namespace rooms {

class RECOD_R : public screens::SCREEN {
 public:
  RECOD_R(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;
  void PROCESAR();
};

}  // namespace rooms
