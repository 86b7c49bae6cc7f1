#include "cashier/def_ingr.h"

#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace cashier {

namespace {

using lib::Value;

constexpr int kConcepts = 901, kDetail = 902, kCodes = 701;
constexpr int kAdd = 101, kModify = 102, kDelete = 103, kInclude = 104, kExclude = 105;
constexpr size_t kMemberWidth = 15;
const char* const kCheck = "\u2713";
constexpr int kSpace = 0x20;  // the space bar, as the grid reports keys

std::string member(const std::string& negocio, const std::string& group, int tipo, const std::string& code) {
  return lib::businessKey(negocio) + lib::padded(group, 4) + std::to_string(tipo) + lib::padded(code, kMemberWidth);
}

// The DET_INGR records whose key begins with `prefix`.
std::vector<uint32_t> members(lib::WDBTable& t, const std::string& prefix) {
  std::vector<uint32_t> out;
  t.SetScope(prefix);
  for (t.GoTop(); !t.Eof(); t.Skip())
    if (!t.Deleted()) out.push_back(t.RecNo());
  t.ClearScope();
  return out;
}

}  // namespace

DEF_INGR::DEF_INGR(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"ENC_INGR", "ENC_INGR", 0, {{"Código", "CODIGO", "!!!!", 0, 16}, {"Descripción", "DESCRIP", std::string(30, '!')}}}) {}

void DEF_INGR::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  CARGOS_ = USE("TRANSACS");
  CARGOS_->SetOrder("TRANSACS1");
}

void DEF_INGR::BOTONES() {
  ADD(std::make_unique<win::CLISTBOX>(this, kConcepts));
  ADD(std::make_unique<win::CLISTBOX>(this, kDetail));
  OB2 = std::make_unique<win::WBLISTBOX>(this, kCodes, CARGOS_);
  ADD(OB2.get());
  ADD_BUTTON(kAdd, [this] { AGREGAR(); });
  ADD_BUTTON(kModify, [this] { MODIFICAR(); });
  ADD_BUTTON(kDelete, [this] { BORRAR(); });
  ADD_BUTTON(kInclude, [this] { INCLUYE_CONCEPTO(); });
  ADD_BUTTON(kExclude, [this] { EXCLUYE_CONCEPTO(); });
}

void DEF_INGR::MontarColumnas() {
  LIST_SCREEN::MontarColumnas();
  win::AGREGARCOL(
      *OB2, CARGOS_, "Marca", "", "", [this] { return Value::chars(marked_.count(lib::trim(CARGOS_->S("CODIGO"))) ? kCheck : ""); },
      0, true, 24);
  win::AGREGARCOL(*OB2, CARGOS_, "Cód.", "CODIGO", "!!!!", {}, 0, false, 12);
  win::AGREGARCOL(*OB2, CARGOS_, "Descripción", "DESCRIP", std::string(26, '!'));
}

void DEF_INGR::ConfigBrow() {
  LIST_SCREEN::ConfigBrow();
  OB2->useMaintenanceLook();
  lib::SELECT(CARGOS_->Area);
  BROWMARKS(*OB2, {{2, "TRANSACS1"}}, 1, NEGOCIO);
  // A double click, Enter or the space bar on a code marks or unmarks it.
  OB2->doubleclick = [this](win::WBLISTBOX&) { MARCA_CARGO(); };
  OB2->keyBlock = [this](win::WBLISTBOX&, int key, const std::string&) {
    if (key != kSpace) return false;
    MARCA_CARGO();
    return true;
  };
  OB->selectblock = [this](win::WBLISTBOX&) { MIEMBROS(); };
}

void DEF_INGR::CerrarBases() {
  if (OB2) CLOSEBROWSE(*OB2);
  LIST_SCREEN::CerrarBases();
}

void DEF_INGR::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  win::CLISTBOX concepts(this, kConcepts);
  lib::EACH_RECORD("CONCEPT1", "CONCEPT1", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& c) {
    concepts.Add(lib::trim(c.S("CONCEPTO")) + " - " + c.S("DESCRIP"), lib::trim(c.S("CONCEPTO")));
  });
  MIEMBROS();
}

std::string DEF_INGR::GRUPO() const {
  return hasRecord() ? lib::trim(TABLA->S("CODIGO")) : "";
}

void DEF_INGR::MIEMBROS() {
  const std::string group = GRUPO();
  win::CLISTBOX detail(this, kDetail);
  detail.Clear();
  marked_.clear();
  if (!group.empty()) {
    std::vector<std::pair<std::string, std::string>> concepts;
    lib::EACH_RECORD("DET_INGR", "DET_INGR", lib::businessKey(NEGOCIO) + lib::padded(group, 4),
                     [&](const lib::WDBTable& d) {
                       const std::string code = lib::trim(d.S("CODIGO"));
                       if (d.N("TIPO") == 1)
                         marked_.insert(code);
                       else
                         concepts.push_back({code, ""});
                     });
    auto names = lib::USE(this, "CONCEPT1", "CONCEPT1");
    for (auto& [code, text] : concepts) {
      const bool found = names->Seek(lib::businessKey(NEGOCIO) + names->KeyPart("CONCEPTO", code));
      detail.Add(code + " - " + (found ? names->S("DESCRIP") : ""), code);
    }
    lib::KILLTABLA(names);
  }
  OB2->REFRESHALL();
}

void DEF_INGR::AGREGAR() {
  CALL_LEVEL();
  EDITA(true);
}

void DEF_INGR::MODIFICAR() {
  CALL_LEVEL();
  if (hasRecord()) EDITA(false);
}

// ED_CONJ: the group's code and description; a changed code is carried into its members.
void DEF_INGR::EDITA(bool adding) {
  auto record = lib::USE(this, "ENC_INGR", "ENC_INGR");
  const uint32_t editing = adding ? 0 : TABLA->RecNo();
  if (editing) record->GoTo(editing);
  const int answer = win::DIALOG_BOX(
      "ED_CONJ", this,
      {[&](win::ModalDialog& d) {
         d.ADD(std::make_unique<win::WEDIT>(&d, 500))->SetLimit(4);
         d.ADD(std::make_unique<win::WEDIT>(&d, 501))->SetLimit(40);
         if (editing) {
           d.SetDlgItemText(500, lib::trim(record->S("CODIGO")));
           d.SetDlgItemText(501, record->S("DESCRIP"));
         }
         d.SetFocusTo(500);
       },
       [&](win::ModalDialog& d) {
         const std::string code = lib::upper(lib::trim(d.GetDlgItemText(500)));
         const std::string description = lib::trim(d.GetDlgItemText(501));
         if (code.empty()) {
           screens::error("Debe definir el Código");
           return false;
         }
         if (screens::CODIGO_DEFINIDO(*record, NEGOCIO, code, editing)) {
           screens::error("Código Ya definido...");
           return false;
         }
         SIN_GRID([&] {
           if (!editing) {
             lib::ADD(*record, [&] {
               record->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
               record->FieldPut("CODIGO", Value::chars(code));
               record->FieldPut("DESCRIP", Value::chars(description));
             });
             return;
           }
           record->GoTo(editing);
           const std::string old = lib::trim(record->S("CODIGO"));
           if (old != code) {
             auto details = lib::USE(nullptr, "DET_INGR", "DET_INGR");
             for (uint32_t r : members(*details, lib::businessKey(NEGOCIO) + lib::padded(old, 4))) {
               details->GoTo(r);
               lib::MODIFY(*details, [&] { details->FieldPut("ENCABEZADO", Value::chars(code)); });
             }
             lib::KILLTABLA(details);
           }
           record->GoTo(editing);
           lib::MODIFY(*record, [&] {
             record->FieldPut("CODIGO", Value::chars(code));
             record->FieldPut("DESCRIP", Value::chars(description));
           });
         });
         return true;
       }});
  const uint32_t saved = record->RecNo();
  lib::KILLTABLA(record);
  if (answer != win::IDOK) return;
  REFRESCA(adding, saved);
  MIEMBROS();
}

// The group goes with its members.
void DEF_INGR::BORRAR() {
  CALL_LEVEL();
  const std::string group = GRUPO();
  if (BORRA_REGISTRO("¿Desea borrar el ítem seleccionado?", [&](win::WAIT&) {
        auto details = lib::USE(nullptr, "DET_INGR", "DET_INGR");
        for (uint32_t r : members(*details, lib::businessKey(NEGOCIO) + lib::padded(group, 4))) {
          details->GoTo(r);
          lib::MODIFY(*details, [&] { details->Delete(); });
        }
        lib::KILLTABLA(details);
      }))
    MIEMBROS();
}

void DEF_INGR::INCLUYE_CONCEPTO() {
  CALL_LEVEL();
  const std::string group = GRUPO();
  const std::string billing = win::CLISTBOX(this, kConcepts).CurCargo();
  if (group.empty() || billing.empty()) return;
  auto details = lib::USE(this, "DET_INGR", "DET_INGR");
  if (!members(*details, member(NEGOCIO, group, 0, billing)).empty()) {
    lib::KILLTABLA(details);
    return screens::error("Este código de Facturación ya se encuentra incluido en este conjunto");
  }
  lib::ADD(*details, [&] {
    details->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    details->FieldPut("ENCABEZADO", Value::chars(group));
    details->FieldPut("CODIGO", Value::chars(lib::padded(billing, kMemberWidth)));
    details->FieldPut("TIPO", Value::num(0));
  });
  lib::KILLTABLA(details);
  MIEMBROS();
}

void DEF_INGR::EXCLUYE_CONCEPTO() {
  CALL_LEVEL();
  const std::string group = GRUPO();
  const std::string billing = win::CLISTBOX(this, kDetail).CurCargo();
  if (group.empty() || billing.empty()) return;
  auto details = lib::USE(this, "DET_INGR", "DET_INGR");
  for (uint32_t r : members(*details, member(NEGOCIO, group, 0, billing))) {
    details->GoTo(r);
    lib::MODIFY(*details, [&] { details->Delete(); });
  }
  lib::KILLTABLA(details);
  MIEMBROS();
}

// A marked code becomes a member of the group (TIPO 1), an unmarked one stops being one.
void DEF_INGR::MARCA_CARGO() {
  CALL_LEVEL();
  const std::string group = GRUPO();
  if (group.empty() || CARGOS_->Eof() || OB2->nMaxRec == 0) return;
  const std::string code = lib::trim(CARGOS_->S("CODIGO"));
  auto details = lib::USE(this, "DET_INGR", "DET_INGR");
  const std::vector<uint32_t> found = members(*details, member(NEGOCIO, group, 1, code));
  if (found.empty()) {
    lib::ADD(*details, [&] {
      details->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      details->FieldPut("ENCABEZADO", Value::chars(group));
      details->FieldPut("CODIGO", Value::chars(lib::padded(code, kMemberWidth)));
      details->FieldPut("TIPO", Value::num(1));
    });
  } else {
    for (uint32_t r : found) {
      details->GoTo(r);
      lib::MODIFY(*details, [&] { details->Delete(); });
    }
  }
  lib::KILLTABLA(details);
  MIEMBROS();
}

}  // namespace cashier
