#include "rooms/acc_rom.h"

#include "rooms/room_details.h"
#include "rooms/room_references.h"
#include "screens/messages.h"

namespace rooms {

ACC_ROM::ACC_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"ACC_ROM",
                 kMenuId,
                 "!!!!",
                 "AGREGAR_TIPO_ACC",
                 "Código de Accesorio ya definido...",
                 "Código Ya definido...",
                 screens::cascadeQuestion("Desea borrar la Accesorios?"),
                 {{"DET_ROM1", "CODIGO", "DET_ROM12", true, true}},
                 kRecodificandoHabitaciones}) {}

void ACC_ROM::afterAdd(const std::string& code) {
  FILAS_PARA_ROOMS(kAccesorios, NEGOCIO, code);
}

}  // namespace rooms
