#include "rooms/gr_room.h"

#include "rooms/room_references.h"

namespace rooms {

GR_ROOM::GR_ROOM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"GR_ROOM",
                 kMenuId,
                 "!!",
                 "ADD_GR_ROOM",
                 "Código Ya definido...",
                 "Código Ya definido...",
                 "Desea borrar el Grupo de Rooms",
                 {{"TIPO_ROM", "GRUPO", ""}},
                 kRecodificandoHabitaciones}) {}

}  // namespace rooms
