// Where the codes of the rooms' lists are carried: the tables of the business unit that
// name a room, a room type, a room class or the reserved type, in the order a changed code
// is rewritten. The cascades are data (screens/recode.h runs them).
#pragma once

#include <vector>

#include "screens/recode.h"

namespace rooms {

// The progress window's line while a code of the rooms' lists is rewritten.
inline constexpr const char* kRecodificandoHabitaciones = "Recodificando referencias en Habitaciones...";

// Every reference to a room code, ROOMS.CODIGO first.
const std::vector<screens::RecodeStep>& ROOM_REFERENCES();
// Every reference to a room type.
const std::vector<screens::RecodeStep>& TYPE_REFERENCES();
// Every reference to a room class (a changed code).
const std::vector<screens::RecodeStep>& CLASS_REFERENCES();
// What a deleted class leaves: rooms and types without class, no class combining with it,
// and none of its availability rows (the class-total rows and those of its types).
const std::vector<screens::RecodeStep>& CLASS_LEAVES();
// The reservations that name a reserved type ("Recodificar Reservas").
const std::vector<screens::RecodeStep>& RESERVATION_TYPE_REFERENCES();

}  // namespace rooms
