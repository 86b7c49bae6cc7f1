#include "rooms/cual_rom.h"

#include "rooms/room_details.h"
#include "rooms/room_references.h"
#include "screens/form.h"
#include "screens/messages.h"

namespace rooms {

CUAL_ROM::CUAL_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"CUAL_ROM",
                 kMenuId,
                 "!!!!",
                 "AGREGAR_TIPO_CUAL",
                 "Código ya definido...",
                 "Código Ya definido...",
                 screens::cascadeQuestion("Desea borrar la Cualidad?"),
                 {{"DET_ROM2", "CODIGO", "DET_ROM22", true, true}},
                 kRecodificandoHabitaciones}) {}

void CUAL_ROM::BIND(screens::FORM& form, lib::WDBTable* record) {
  form.FLAG(1001, record, "SHOW_REG");  // shown on the registration card
}

void CUAL_ROM::afterAdd(const std::string& code) {
  FILAS_PARA_ROOMS(kCualidades, NEGOCIO, code);
}

}  // namespace rooms
