// The screens of agencies: the agencies with their "Editar" entries, the agency types and
// the agency classifications (short lists, as data), the market segments.
#include "agencies/agencias.h"
#include "agencies/def_seg.h"
#include "lib/text.h"
#include "screens/code_list.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/registry.h"
#include "win/controls.h"

namespace agencies {

namespace {

using screens::CodeListDefinition;

constexpr int kAccountingCurrency = 201, kTypeCurrencies = 202, kMaster = 601, kExtra = 602;

// "Tipos de Agencias ": the folio currencies of a type's agencies — the accounting currency,
// or the type's own master and extra currencies. A changed code follows into the agencies;
// a deleted type leaves them without one.
CodeListDefinition agencyTypes() {
  return {.screen = "TIPO_AGE",
          .table = "TIPO_AGE",
          .menuId = 3129,
          .entries = {3130, 3131, 3132},
          .codePicture = "!!!!",
          .editor = "AGREGAR_TIPO_AGE",
          .duplicateAdd = "Código ya definido...",
          .duplicateModify = "Código Ya definido...",
          .deleteQuestion = screens::cascadeQuestion("Desea borrar el CODIGO De Tipo de Agencia?"),
          .references = {{"AGENCIAS", "TIPO", "AGENCIA2"}},
          .recodeText = "Recodificando referencias en Habitaciones...",
          .bind =
              [](screens::FORM& form, lib::WDBTable* record, const std::string& negocio) {
                win::WDIAG* d = &form.dialog();
                screens::LOAD_LISTA(*d, {kMaster, kExtra}, "MONEDAS", "MONEDAS", negocio, "DESCRIP", true);
                // The accounting currency: no currencies of the type's own.
                form.OPTION(record, "TIPO_MON", {{kAccountingCurrency, 0}, {kTypeCurrencies, 1}}, kAccountingCurrency,
                            [d] {
                              if (!d->IsDlgButtonChecked(kAccountingCurrency)) return;
                              for (int id : {kMaster, kExtra}) win::CCOMBOBOX(d, id).SetCurItem(0);
                            });
                form.CODE_OR_BLANK(kMaster, record, "MON_MASTER");
                form.CODE_OR_BLANK(kExtra, record, "MON_EXTRA");
              },
          .captions = {"Agregar", "Modificar ", "Borrar  "}};
}

// "Definición de Clasificación de Agencias": a changed code follows into the agencies'
// CLASIFICA; a deleted classification leaves them without one (their editor asks for one).
CodeListDefinition agencyClassifications() {
  return {.screen = "CLAS_AGE",
          .table = "CLAS_AGE",
          .menuId = 3302,
          .entries = {3303, 3304, 3305},
          .codePicture = std::string(15, '!'),
          .editor = "AGREGAR_CLAS_AGE",
          .duplicateAdd = "Código de CLAS_AGE ya definido...",
          .duplicateModify = "Código de CLAS_AGE Ya definido...",
          .deleteQuestion = "Desea borrar LA CLAS_AGE?",
          .references = {{"AGENCIAS", "CLASIFICA", "AGENCIA6"}}};
}

}  // namespace

SCREEN_REGISTRATION(registerAgencyScreens) {
  std::vector<win::EditEntry> entries = screens::listEntries<AGENCIAS>({3126, 3127, 3128}, &AGENCIAS::ADD_AGENCIA,
                                                                       &AGENCIAS::MOD_AGENCIA, &AGENCIAS::DEL_AGENCIA);
  entries.push_back(screens::entry(3433, "Registro de Allotment", &AGENCIAS::ALLOTMENT));
  entries.push_back(screens::entry(3447, "Reporte de Agencias", &AGENCIAS::REPORTE));
  entries.push_back(screens::entry(3462, "Registro de Comision", &AGENCIAS::REG_COMISION));
  screens::editMenu(AGENCIAS::kMenuId, entries);
  screens::opens<AGENCIAS>("AGENCIAS");
  screens::opens<DEF_SEG>("DEF_SEG");
  for (const CodeListDefinition& list : {agencyTypes(), agencyClassifications()}) screens::REGISTER_CODE_LIST(list);
}

}  // namespace agencies
