#include "rooms/ubic_rom.h"

#include "rooms/recode.h"
#include "rooms/room_util.h"

namespace rooms {

namespace {

const RecodeStep kRoomsOfLocation{"ROOMS", "UBICA", "ROOMS3"};

}  // namespace

UBIC_ROM::UBIC_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"UBIC_ROM", kMenuId, "!!!!", "AGREGAR_TIPO_UBICACION", "Código de ubicación ya definido...",
                 "Código Ya definido...", cascadeQuestion("Desea borrar la Ubicación?")}) {}

void UBIC_ROM::recode(const std::string& oldCode, const std::string& newCode, win::WAIT&) {
  REEMPLAZA_CODIGO(kRoomsOfLocation, NEGOCIO, oldCode, newCode);
}

void UBIC_ROM::deleteReferences(const std::string& code, win::WAIT&) {
  REEMPLAZA_CODIGO(kRoomsOfLocation, NEGOCIO, code, "");
}

}  // namespace rooms
