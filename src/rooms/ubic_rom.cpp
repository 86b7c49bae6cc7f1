#include "rooms/ubic_rom.h"

#include "rooms/room_references.h"
#include "screens/messages.h"

namespace rooms {

UBIC_ROM::UBIC_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"UBIC_ROM",
                 kMenuId,
                 "!!!!",
                 "AGREGAR_TIPO_UBICACION",
                 "Código de ubicación ya definido...",
                 "Código Ya definido...",
                 screens::cascadeQuestion("Desea borrar la Ubicación?"),
                 {{"ROOMS", "UBICA", "ROOMS3"}},
                 kRecodificandoHabitaciones}) {}

}  // namespace rooms
