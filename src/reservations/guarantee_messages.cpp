#include "reservations/guarantee_messages.h"

#include <memory>

#include "lib/call_stack.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "lib/wdbtable.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace reservations {

namespace {

using lib::Value;

// What a message holds besides its language: both texts and the mail settings.
constexpr const char* kMessageFields[] = {"TEXTO",     "TEXTO2",   "IMAGENES", "ATTACHMENT", "HTML_CONF", "IMAGEN2",
                                          "ATTACH2",   "HTML_CONF2", "HTML_PREV2", "IMAGEN3", "ATTACH3", "HTML_CONF3",
                                          "HTML_COT",  "HTML_COT2", "HTML_COT3", "HTML_COT4", "ATTACH_COT"};

void copyMessage(const lib::WDBTable& from, lib::WDBTable& to) {
  to.FieldPut("IDIOMA", from.FieldGet("IDIOMA"));
  for (const char* f : kMessageFields) to.FieldPut(f, from.FieldGet(f));
}

std::string languageName(const std::string& negocio, const std::string& idioma) {
  std::string name;
  lib::EACH_RECORD("IDIOMAS", "IDIOMAS", lib::businessKey(negocio) + lib::padded(idioma, 2),
                   [&](const lib::WDBTable& t) {
                     if (name.empty()) name = t.S("DESCRIP");
                   });
  return name;
}

constexpr int kLanguage = 601, kHeaderFields = 602, kFooterFields = 603;
constexpr int kHeader = 510, kFooter = 511;
constexpr int kAddHeader = 211, kRemoveHeader = 212, kAddFooter = 213, kRemoveFooter = 214;

// The language is chosen and no other live row of the working copy has it.
bool languageAccepted(lib::WDBTable& working, const std::string& idioma, uint32_t editing) {
  if (idioma.empty()) {
    screens::error("El idioma no es válido");
    return false;
  }
  bool repeated = false;
  const uint32_t at = working.RecNo();
  for (working.GoTop(); !working.Eof() && !repeated; working.Skip())
    repeated = working.RecNo() != editing && lib::trim(working.S("IDIOMA")) == idioma;
  working.GoTo(at);
  if (repeated) screens::error("Un mensaje en el idioma seleccionado ya existe");
  return !repeated;
}

void mergeButtons(win::ModalDialog& d, int list, int edit, int add, int remove) {
  win::CCOMBOBOX fields(&d, list);
  for (const MergeField& m : kMergeFields) fields.Add(m.caption, 0, m.text);
  d.ADD_BUTTON(add, [&d, list, edit] {
    const std::string field = win::CCOMBOBOX(&d, list).CurCargo();
    if (!field.empty()) win::WEDIT(&d, edit).InsertAtCursor(field);
  });
  d.ADD_BUTTON(remove, [&d, list, edit] {
    const std::string field = win::CCOMBOBOX(&d, list).CurCargo();
    win::WEDIT text(&d, edit);
    if (!field.empty()) text.TEXT(SIN_DATO(text.TEXT(), field));
  });
}

}  // namespace

const MergeField kMergeFields[8] = {{"Nombre Completo", "<<nombre>>"}, {"Nombre ", "<<p_nombre>>"},
                                    {"Apellido ", "<<apellido>>"},     {"Cédula", "<<cedula>>"},
                                    {"Fecha Ingreso", "<<fecha_I>>"},  {"Fecha Salida", "<<fecha_S>>"},
                                    {"Reservación", "<<reserva>>"},    {"Total", "<<total>>"}};

std::string SIN_DATO(std::string text, const std::string& field) {
  if (field.empty()) return text;
  for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at)) text.erase(at, field.size());
  return text;
}

void CARGA_MENSAJES(lib::WDBTable& working, const std::string& negocio, const std::string& type) {
  lib::EACH_RECORD("D_T_RES", "D_T_RES", lib::businessKey(negocio) + lib::padded(type, 2),
                   [&](const lib::WDBTable& row) {
                     const std::string name = languageName(negocio, row.S("IDIOMA"));
                     lib::ADD(working, [&] {
                       working.FieldPut("NUM_REC", Value::num(row.RecNo()));
                       working.FieldPut("DESCRIP", Value::chars(name));
                       copyMessage(row, working);
                     });
                   });
  working.GoTop();
}

void GRABA_MENSAJES(lib::WDBTable& working, const std::string& negocio, const std::string& type) {
  auto stored = lib::USE(nullptr, "D_T_RES", "D_T_RES");
  working.driver().setDeletedHidden(false);  // the rows the user removed are in the copy still
  const std::string order = working.Order();
  working.SetOrder("");
  for (working.GoTop(); !working.Eof(); working.Skip()) {
    const uint32_t from = uint32_t(working.N("NUM_REC"));
    if (working.Deleted()) {
      if (!from) continue;  // added and removed again
      stored->GoTo(from);
      if (!stored->Eof() && !stored->Deleted()) lib::MODIFY(*stored, [&] { stored->Delete(); });
      continue;
    }
    auto write = [&] {
      stored->FieldPut("CODIGO", Value::chars(type));
      copyMessage(working, *stored);
    };
    if (from) {
      stored->GoTo(from);
      if (!stored->Eof() && !stored->Deleted()) {
        lib::MODIFY(*stored, write);
        continue;
      }
    }
    lib::ADD(*stored, [&] {
      stored->FieldPut("NEGOCIO", Value::chars(negocio));
      write();
    });
  }
  working.driver().setDeletedHidden(true);
  working.SetOrder(order);
  lib::KILLTABLA(stored);
}

bool ED_TR2(win::WDIAG* owner, lib::WDBTable& working, const std::string& negocio, bool adding) {
  CALL_LEVEL_AS("ED_TR2");
  // A new row reaches the working copy only once accepted: the controls start blank.
  const uint32_t editing = adding ? 0 : working.RecNo();
  std::unique_ptr<screens::FORM> form;
  const int code = win::DIALOG_BOX(
      "ED_TR2", owner,
      {[&](win::ModalDialog& d) {
         form = std::make_unique<screens::FORM>(d);
         lib::WDBTable* t = &working;
         form->CODE(kLanguage, t, "IDIOMA");
         form->TEXT(kHeader, t, "TEXTO");
         form->TEXT(kFooter, t, "TEXTO2");
         form->TEXT(512, t, "HTML_CONF");
         form->TEXT(513, t, "IMAGENES");
         form->TEXT(514, t, "ATTACHMENT");
         form->TEXT(515, t, "HTML_CONF2");
         form->TEXT(516, t, "IMAGEN2");
         form->TEXT(517, t, "ATTACH2");
         form->NUMBER(518, t, "HTML_PREV2", "999");
         form->TEXT(519, t, "HTML_CONF3");
         form->TEXT(520, t, "IMAGEN3");
         form->TEXT(521, t, "ATTACH3");
         form->TEXT(522, t, "HTML_COT");
         form->TEXT(523, t, "HTML_COT2");
         form->TEXT(524, t, "HTML_COT3");
         form->TEXT(525, t, "HTML_COT4");
         form->TEXT(526, t, "ATTACH_COT");
         screens::LOAD_LISTA(d, {kLanguage}, "IDIOMAS", "IDIOMAS", negocio);
         mergeButtons(d, kHeaderFields, kHeader, kAddHeader, kRemoveHeader);
         mergeButtons(d, kFooterFields, kFooter, kAddFooter, kRemoveFooter);
         if (adding)
           form->CLEAR();
         else
           form->LOAD();
         form->FILTROS();
         d.SetFocusTo(kLanguage);
       },
       [&](win::ModalDialog& d) {
         const std::string idioma = lib::trim(win::CCOMBOBOX(&d, kLanguage).CurCargo());
         if (!languageAccepted(working, idioma, editing)) {
           d.SetFocusTo(kLanguage);
           return false;
         }
         const Value name = Value::chars(languageName(negocio, idioma));
         if (adding) {
           lib::ADD(working, [&] {
             working.FieldPut("NUM_REC", Value::num(0));
             working.FieldPut("DESCRIP", name);
             form->SAVE(&working);
           });
         } else {
           working.GoTo(editing);
           lib::MODIFY(working, [&] {
             working.FieldPut("DESCRIP", name);
             form->SAVE(&working);
           });
         }
         return true;
       }});
  return code == win::IDOK;
}

}  // namespace reservations
