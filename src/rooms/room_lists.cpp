// The short lists of the rooms menu, as data: the locations, accessories, qualities and
// type groups of the business unit, each with the tables its code is carried into.
#include "rooms/room_details.h"
#include "rooms/room_references.h"
#include "screens/code_list.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/registry.h"

namespace rooms {

namespace {

using screens::cascadeQuestion;
using screens::CodeListDefinition;

// "Tipos de Ubicaciones": a changed code follows into the rooms of the location; a deleted
// location leaves its rooms with a blank location, never deletes them.
CodeListDefinition locations() {
  return {.screen = "UBIC_ROM",
          .table = "UBIC_ROM",
          .menuId = 3099,
          .entries = {3100, 3101, 3102},
          .codePicture = "!!!!",
          .editor = "AGREGAR_TIPO_UBICACION",
          .duplicateAdd = "Código de ubicación ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = cascadeQuestion("Desea borrar la Ubicación?"),
          .references = {{"ROOMS", "UBICA", "ROOMS3"}},
          .recodeText = kRecodificandoHabitaciones};
}

// "Accesorios de Habitaciones": a new accessory gets an unmarked row in DET_ROM1 for every
// room; a changed code follows into those rows, and a deleted accessory takes them with it.
CodeListDefinition accessories() {
  return {.screen = "ACC_ROM",
          .table = "ACC_ROM",
          .menuId = 3103,
          .entries = {3104, 3105, 3106},
          .codePicture = "!!!!",
          .editor = "AGREGAR_TIPO_ACC",
          .duplicateAdd = "Código de Accesorio ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = cascadeQuestion("Desea borrar la Accesorios?"),
          .references = {{"DET_ROM1", "CODIGO", "DET_ROM12", true, true}},
          .recodeText = kRecodificandoHabitaciones,
          .afterAdd = [](const std::string& negocio, const std::string& code) {
            FILAS_PARA_ROOMS(kAccesorios, negocio, code);
          }};
}

// "Cualidades de Habitaciones": the same over DET_ROM2, each quality optionally shown as a
// markable item on the registration card (SHOW_REG).
CodeListDefinition qualities() {
  return {.screen = "CUAL_ROM",
          .table = "CUAL_ROM",
          .menuId = 3107,
          .entries = {3108, 3109, 3110},
          .codePicture = "!!!!",
          .editor = "AGREGAR_TIPO_CUAL",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = cascadeQuestion("Desea borrar la Cualidad?"),
          .references = {{"DET_ROM2", "CODIGO", "DET_ROM22", true, true}},
          .recodeText = kRecodificandoHabitaciones,
          .bind = [](screens::FORM& form, lib::WDBTable* record,
                     const std::string&) { form.FLAG(1001, record, "SHOW_REG"); },
          .afterAdd = [](const std::string& negocio,
                         const std::string& code) { FILAS_PARA_ROOMS(kCualidades, negocio, code); }};
}

// "Grupos Tipos de Habitaciones": the groups room types are gathered in (TIPO_ROM.GRUPO); a
// deleted group leaves its types without one.
CodeListDefinition typeGroups() {
  return {.screen = "GR_ROOM",
          .table = "GR_ROOM",
          .menuId = 5572,
          .entries = {5573, 5574, 5575},
          .codePicture = "!!",
          .editor = "ADD_GR_ROOM",
          .duplicateAdd = "Código Ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = "Desea borrar el Grupo de Rooms",
          .references = {{"TIPO_ROM", "GRUPO", ""}},
          .recodeText = kRecodificandoHabitaciones};
}

}  // namespace

SCREEN_REGISTRATION(registerRoomLists) {
  for (const CodeListDefinition& list : {locations(), accessories(), qualities(), typeGroups()})
    screens::REGISTER_CODE_LIST(list);
}

}  // namespace rooms
