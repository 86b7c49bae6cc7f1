// "Recodificación Habitaciones" (menu 3893, dialog RECOD_ROOM): a room's code replaced by a
// new one in the room and everywhere the business unit refers to it — reservations, the
// reservation table, accessories and qualities, folios, invoices, messages, calls, pending
// charges and events. The room must exist and the new code must not.
#pragma once

#include <string>
#include <vector>

#include "rooms/recode.h"
#include "win/wdiag.h"

namespace rooms {

// Every reference to a room code, in the order the recoding announces them, ROOMS.CODIGO
// first.
const std::vector<RecodeStep>& ROOM_REFERENCES();

class RECOD_R : public win::WDIAG {
 public:
  RECOD_R(const std::string& dialog, const std::string& negocio);
  void PROCESAR();
};

}  // namespace rooms
