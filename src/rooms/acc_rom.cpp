#include "rooms/acc_rom.h"

#include "rooms/recode.h"
#include "rooms/room_details.h"
#include "rooms/room_util.h"

namespace rooms {

namespace {

const RecodeStep kRowsOfAccessory{"DET_ROM1", "CODIGO", "DET_ROM12"};

}  // namespace

ACC_ROM::ACC_ROM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"ACC_ROM", kMenuId, "!!!!", "AGREGAR_TIPO_ACC", "Código de Accesorio ya definido...",
                 "Código Ya definido...", cascadeQuestion("Desea borrar la Accesorios?")}) {}

void ACC_ROM::afterAdd(const std::string& code) {
  FILAS_PARA_ROOMS(kAccesorios, NEGOCIO, code);
}

void ACC_ROM::recode(const std::string& oldCode, const std::string& newCode, win::WAIT&) {
  REEMPLAZA_CODIGO(kRowsOfAccessory, NEGOCIO, oldCode, newCode);
}

void ACC_ROM::deleteReferences(const std::string& code, win::WAIT&) {
  BORRA_REFERENCIAS(kRowsOfAccessory, NEGOCIO, code);
}

}  // namespace rooms
