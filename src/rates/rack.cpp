#include "rates/rack.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/e_rack.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kOldCode = 500, kOldName = 501, kNewCode = 502, kNewName = 503;

// What goes with a deleted rate type: its components (the specials' as well), its special
// breakdowns, and then its prices.
const std::vector<screens::RecodeStep> kBreakdowns = {{"DET_RACK", "RACK", "DET_RACK3", true, true},
                                                      {"DET_RAK2", "RACK", "DET_RAK23", true, true},
                                                      {"ENC_RAC2", "RACK", "ENC_RAC2", true, true}};
const screens::RecodeStep kPrices{"TIP_PREC", "RACK", "TIP_PREC4", true, true};

// Appends a copy of the table's current record with `changes`.
void copyRecord(lib::WDBTable& t, const std::function<void()>& changes) {
  std::vector<lib::Value> values;
  for (int i = 1; i <= t.FCount(); ++i) values.push_back(t.FieldGet(i));
  lib::ADD(t, [&] {
    for (int i = 1; i <= t.FCount(); ++i) t.FieldPut(i, values[size_t(i - 1)]);
    changes();
  });
}

}  // namespace

// The specials' header follows its rate type with its components.
const std::vector<screens::RecodeStep>& RATE_TYPE_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"DET_RACK", "RACK", "DET_RACK3"}, {"DET_RAK2", "RACK", "DET_RAK23"}, {"ENC_RAC2", "RACK", "ENC_RAC2"},
      {"ENC_RES", "COD_RACK", ""},      {"DET_FOL", "COD_RACK", ""},       {"TIP_PREC", "RACK", "TIP_PREC4"}};
  return steps;
}

RACK::RACK(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"ENC_RACK",
                   "ENC_RACK",
                   kMenuId,
                   {{"Código", "CODIGO", "!!!!", 0, 16},
                    {"Descripción", "DESCRIP", std::string(40, 'X')},
                    {"Comentario", "COMENTA", std::string(40, 'X')}}}) {}

void RACK::ADD_RACK() {
  screens::OPEN<E_RACK>(this, NEGOCIO, E_RACK::kAdd);
}

void RACK::MOD_RACK() {
  if (hasRecord()) screens::OPEN<E_RACK>(this, NEGOCIO, E_RACK::kModify);
}

void RACK::DEL_RACK() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const std::string code = TABLA->S("CODIGO");
  BORRA_REGISTRO("Desea borrar el Tipo de Tarifa", [&](win::WAIT& wait) {
    for (const screens::RecodeStep& step : kBreakdowns) screens::BORRA_REFERENCIAS(step, NEGOCIO, code);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Tarifas...");
    screens::BORRA_REFERENCIAS(kPrices, NEGOCIO, code);
  });
}

// The header under the new code and description, every percentage component of the rate
// type (its specials' too) and the specials' headers; fixed amounts and prices stay behind.
void RACK::DUP_RACK() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const uint32_t source = TABLA->RecNo();
  const std::string code = TABLA->S("CODIGO"), name = TABLA->S("DESCRIP");
  uint32_t added = 0;
  win::DIALOG_BOX(
      "DUP_RACK", this,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(kOldCode, code);
         d.SetDlgItemText(kOldName, name);
         d.SetFocusTo(kNewCode);
       },
       [&](win::ModalDialog& d) {
         const std::string newCode = lib::upper(lib::trim(d.GetDlgItemText(kNewCode)));
         auto headers = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
         if (newCode.empty()) {
           screens::error("Debe definir el Código");
           d.SetFocusTo(kNewCode);
           return false;
         }
         if (headers->Seek(headers->KeyPart("NEGOCIO", NEGOCIO) + headers->KeyPart("CODIGO", newCode))) {
           screens::error("Código nuevo ya se encuentra definido");
           d.SetFocusTo(kNewCode);
           return false;
         }
         SIN_GRID([&] {
           win::WAIT wait(&d);
           wait.PUT_TEXT("Un momento por favor...", "Duplicando Tarifa...");
           headers->GoTo(source);
           copyRecord(*headers, [&] {
             headers->FieldPut("CODIGO", lib::Value::chars(newCode));
             headers->FieldPut("DESCRIP", lib::Value::chars(lib::trim(d.GetDlgItemText(kNewName))));
           });
           added = headers->RecNo();
           for (const char* table : {"DET_RACK", "ENC_RAC2"}) {
             auto t = lib::USE(nullptr, table, table == std::string("DET_RACK") ? "DET_RACK3" : "ENC_RAC2");
             std::vector<uint32_t> records;
             t->SetScope(t->KeyPart("NEGOCIO", NEGOCIO) + t->KeyPart("RACK", code));
             for (t->GoTop(); !t->Eof(); t->Skip()) records.push_back(t->RecNo());
             t->ClearScope();
             for (uint32_t r : records) {
               t->GoTo(r);
               copyRecord(*t, [&] { t->FieldPut("RACK", lib::Value::chars(newCode)); });
             }
           }
           wait.TERMINAR();
         });
         return true;
       }});
  if (added) REFRESCA(true, added);
}

}  // namespace rates
