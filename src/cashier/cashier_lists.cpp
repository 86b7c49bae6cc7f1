// The short lists of the transaction codes, as data: the virtual transactions codes are
// totalled under on reports, and the management classifications of the corporate and daily
// income reports.
#include "screens/code_list.h"
#include "screens/form.h"
#include "screens/registry.h"

namespace cashier {

namespace {

using screens::CodeListDefinition;

// Virtual transactions (TRA_VIRT, opened from "Definición de Transacciones"): a changed code
// follows into the codes totalled under it; a deleted one leaves them without one.
CodeListDefinition virtualTransactions() {
  return {.screen = "TRA_VIRT",
          .table = "TRA_VIRT",
          .menuId = 3058,
          .entries = {3059, 3060, 3061},
          .codePicture = "!!!!",
          .editor = "ADD_TRA_VIRT",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = "Desea borrar este registro?\rSe borrarán todas las referencias en los cargos.",
          .references = {{"TRANSACS", "COD_VIRT", "TRANSACS4"}},
          .captions = {"Agregar    ", "Modificar  ", "Borrar     "}};
}

// "Definición de Clasificaciones de Transacciones" (menu 3777): a changed code follows into
// the codes that carried it, and only those; the codes of a deleted classification are left
// "Sin Asociación" (a blank classification), as their editor would show them anyway.
CodeListDefinition managementClasses() {
  return {.screen = "CLAS_TRA",
          .table = "CLAS_TRA",
          .menuId = 3777,
          .entries = {3778, 3779, 3780},
          .codePicture = "!!",
          .editor = "MODI_CLAS_TRA",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = "¿Desea borrar el ítem seleccionado?",
          .references = {{"TRANSACS", "CLASIFICA", ""}},
          .bind = [](screens::FORM& form, lib::WDBTable* record, const std::string&) {
            form.TRIMMED(502, record, "ABREVIA");
            form.OPTION(record, "POS_IMP", {{201, 0}, {202, 1}}, 201);
          }};
}

}  // namespace

SCREEN_REGISTRATION(registerCashierLists) {
  for (const CodeListDefinition& list : {virtualTransactions(), managementClasses()})
    screens::REGISTER_CODE_LIST(list);
}

}  // namespace cashier
