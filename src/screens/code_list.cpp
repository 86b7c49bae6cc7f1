#include "screens/code_list.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/registry.h"
#include "screens/unique_code.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace screens {

namespace {

using lib::Value;
constexpr int kCode = 500, kDescription = 501;

ListDefinition listOf(const CodeListDefinition& d) {
  const bool shortCode = d.codePicture.size() < 4;
  return {d.table,
          d.table,
          d.menuId,
          {{"Código", "CODIGO", d.codePicture, 0, shortCode ? 30 : 16},
           {d.descriptionTitle, "DESCRIP", std::string(40, '!')}}};
}

}  // namespace

CODE_LIST::CODE_LIST(CodeListDefinition definition, std::string dialog, std::string negocio)
    : LIST_SCREEN(std::move(dialog), std::move(negocio), listOf(definition)), code_(std::move(definition)) {}

void CODE_LIST::AGREGAR() {
  CALL_LEVEL_AS(routine("AGREGAR"));
  EDITAR(Mode::Add);
}

void CODE_LIST::MODIFICAR() {
  CALL_LEVEL_AS(routine("MODIFICAR"));
  if (hasRecord()) EDITAR(Mode::Modify);
}

// The editor works on an object of its own on the table, on the record under the cursor
// when modifying; the list's object is moved only to show the result.
void CODE_LIST::EDITAR(Mode mode) {
  auto record = lib::USE(this, code_.table, code_.table);
  if (mode == Mode::Modify) record->GoTo(TABLA->RecNo());
  std::unique_ptr<FORM> form;
  const int code = win::DIALOG_BOX(code_.editor, this,
                                   {[&](win::ModalDialog& d) {
                                      form = std::make_unique<FORM>(d);
                                      form->UPPER(kCode, record.get(), "CODIGO");
                                      form->TRIMMED(kDescription, record.get(), "DESCRIP");
                                      if (code_.bind) code_.bind(*form, record.get(), NEGOCIO);
                                      if (mode == Mode::Modify)
                                        form->LOAD();
                                      else
                                        form->CLEAR();
                                      form->FILTROS();
                                      d.SetFocusTo(kCode);
                                    },
                                    [&](win::ModalDialog& d) { return SAVE_DATOS(d, *form, *record, mode); }});
  const uint32_t saved = record->RecNo();
  lib::KILLTABLA(record);
  if (code == win::IDOK) REFRESCA(mode == Mode::Add, saved);
}

bool CODE_LIST::SAVE_DATOS(win::WDIAG& d, FORM& form, lib::WDBTable& record, Mode mode) {
  const std::string code = form.text(kCode);
  if (code.empty()) {
    error("Debe definir el Código");
    d.SetFocusTo(kCode);
    return false;
  }
  if (!form.VALID()) return false;
  const uint32_t editing = mode == Mode::Modify ? record.RecNo() : 0;
  const std::string& duplicate = mode == Mode::Add ? code_.duplicateAdd : code_.duplicateModify;
  if (!duplicate.empty() && CODIGO_DEFINIDO(record, NEGOCIO, code, editing)) {
    error(duplicate);
    d.SetFocusTo(kCode);
    return false;
  }
  if (mode == Mode::Add) {
    lib::ADD(record, [&] {
      record.FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      form.SAVE(&record);
    });
    if (code_.afterAdd) code_.afterAdd(NEGOCIO, code);
    return true;
  }
  const std::string old = lib::trim(record.S("CODIGO"));
  if (old != code && !code_.references.empty()) {
    CascadeReport report;
    SIN_GRID([&] {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", code_.recodeText);
      report = RECODIFICA(code_.references, NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    });
    AVISA_FALTANTES(report);
  }
  record.GoTo(editing);
  lib::MODIFY(record, [&] { form.SAVE(&record); });
  return true;
}

void CODE_LIST::BORRAR() {
  CALL_LEVEL_AS(routine("BORRAR"));
  CascadeReport report;
  const std::string code = hasRecord() ? lib::trim(TABLA->S("CODIGO")) : "";
  if (BORRA_REGISTRO(code_.deleteQuestion, [&](win::WAIT& wait) {
        if (!code_.deleteKeepsReferences) report = BORRA_CODIGO(code_.references, NEGOCIO, code, &wait);
      }))
    AVISA_FALTANTES(report);
}

void REGISTER_CODE_LIST(const CodeListDefinition& definition) {
  std::vector<win::EditEntry> entries = listEntries(definition.entries, &CODE_LIST::AGREGAR, &CODE_LIST::MODIFICAR,
                                                    &CODE_LIST::BORRAR, definition.captions);
  entries.insert(entries.end(), definition.moreEntries.begin(), definition.moreEntries.end());
  editMenu(definition.menuId, entries);
  registerScreen(definition.screen,
                 [definition](const ScreenRequest& r) { OPEN<CODE_LIST>(definition, r.dialog, r.business); });
}

}  // namespace screens
