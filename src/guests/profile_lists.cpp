// The guest profile lists the reservation and front-desk programs pick from: professions,
// airlines of arrival and guest classifications (short lists, as data). A changed code is
// carried into the reservations and the reservation history that hold it; a deleted one
// stays there without its entry. And the languages, the countries with their states.
#include "guests/languages.h"
#include "guests/paises.h"
#include "screens/code_list.h"
#include "screens/form.h"
#include "screens/registry.h"

namespace guests {

namespace {

using screens::CodeListDefinition;

constexpr int kAbbreviation = 504, kNoInternet = 1001;

CodeListDefinition professions() {
  return {.screen = "PROFE",
          .table = "T_PROFE",
          .menuId = 3458,
          .entries = {3459, 3460, 3461},
          .codePicture = "!!!!",  // the code is 4 wide: two places would cut it
          .editor = "MODIPROFESION",
          .duplicateAdd = "Código de profesión ya definido...",
          .duplicateModify = "Código de profesión ya definido...",
          .deleteQuestion = "¿Desea borrar la profesión?",
          .references = {{"ENC_RES", "PROFESION", "ENC_RES35"},
                         {"H_E_RES", "PROFESION", "H_E_RES5"},
                         {"DET_RES2", "PROFESION", "DET_RS40"},
                         {"H_D_RES2", "PROFESION", "H_D_RES4"}},
          .recodeText = "Recodificando referencias...",
          .captions = {"Agregar", "Modificar", "Borrar"},
          .descriptionTitle = "Descrpción",
          .deleteKeepsReferences = true};
}

CodeListDefinition airlines() {
  return {.screen = "AERO_LIN",
          .table = "AEROLIN",
          .menuId = 4249,
          .entries = {4250, 4251, 4252},
          .codePicture = "!!",
          .editor = "MODIAERO_LIN",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código ya definido...",
          .deleteQuestion = "¿Desea borrar el item seleccionado?",
          .references = {{"ENC_RES", "AEROLINEA", "ENC_RES39"}, {"PENC_RES", "AEROLINEA", "ENC_RES39"}},
          .recodeText = "Recodificando referencias...",
          .captions = {"Agregar", "Modificar", "Borrar"},
          .descriptionTitle = "Descrpción",
          .deleteKeepsReferences = true};
}

// The classification also keeps its abbreviation and whether its guests' Internet is charged.
CodeListDefinition classifications() {
  return {.screen = "CLAS_HUE",
          .table = "CLAS_HUE",
          .menuId = 4245,
          .entries = {4246, 4247, 4248},
          .codePicture = "!!",
          .editor = "MODICLAS_HUE",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código ya definido...",
          .deleteQuestion = "¿Desea borrar la clasificación?",
          .references = {{"ENC_RES", "CLAS_HUE", "ENC_RES38"}, {"PENC_RES", "CLAS_HUE", "ENC_RES38"}},
          .recodeText = "Recodificando referencias...",
          .bind =
              [](screens::FORM& form, lib::WDBTable* record, const std::string&) {
                form.TRIMMED(kAbbreviation, record, "SIGLAS");
                form.FLAG(kNoInternet, record, "INTERNET_G");
              },
          .captions = {"Agregar", "Modificar", "Borrar"},
          .descriptionTitle = "Descrpción",
          .deleteKeepsReferences = true};
}

}  // namespace

SCREEN_REGISTRATION(registerGuestProfileLists) {
  for (const CodeListDefinition& list : {professions(), airlines(), classifications(), languages()})
    screens::REGISTER_CODE_LIST(list);
  screens::opens<PAISES>("PAISES");
}

}  // namespace guests
