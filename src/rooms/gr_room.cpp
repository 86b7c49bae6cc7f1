#include "rooms/gr_room.h"

#include "rooms/recode.h"
#include "rooms/room_util.h"

namespace rooms {

namespace {

const RecodeStep kTypesOfGroup{"TIPO_ROM", "GRUPO", ""};

}  // namespace

GR_ROOM::GR_ROOM(const std::string& dialog, const std::string& negocio)
    : CODE_LIST(dialog, negocio,
                {"GR_ROOM", kMenuId, "!!", "ADD_GR_ROOM", "Código Ya definido...", "Código Ya definido...",
                 "Desea borrar el Grupo de Rooms"}) {}

void GR_ROOM::recode(const std::string& oldCode, const std::string& newCode, win::WAIT&) {
  REEMPLAZA_CODIGO(kTypesOfGroup, NEGOCIO, oldCode, newCode);
}

void GR_ROOM::deleteReferences(const std::string& code, win::WAIT&) {
  REEMPLAZA_CODIGO(kTypesOfGroup, NEGOCIO, code, "");
}

}  // namespace rooms
