// A room changes type: its reservations follow. Every room assignment of the room (DET_RES2)
// is carried to the new type — a line for a single room simply changes type; a line for
// several rooms is split, the assignment moving to a new one-room line of the new type that
// takes its share of the price — and the room counters and the room's blocked nights move
// from the old type (and class) to the new one from the closing day.
#pragma once

#include <cstdint>
#include <string>

namespace win {
class WAIT;
}

namespace rooms {

// The tables whose rows belong to one room assignment (business + reservation + line +
// assignment) and move with it when its line is split; the nightly rows (DET_RES9) move too.
extern const char* const kAssignmentTables[8];

// `oldCode` is the room's stored code; assignments that move to a new line take `newCode`.
void CAMBIA_TIPO_ROOM(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                      const std::string& oldType, const std::string& newType, int32_t desde, win::WAIT* wait);

// The line code that follows the highest numeric line code of the reservation: two digits.
std::string NUEVA_LINEA(const std::string& negocio, const std::string& reserva);

}  // namespace rooms
