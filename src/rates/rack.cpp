#include "rates/rack.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia.h"
#include "rates/duplicado.h"
#include "rates/e_rack.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rates {

namespace {

// What goes with a deleted rate type: its components (the specials' as well), its special
// breakdowns, and then its prices.
const std::vector<screens::RecodeStep> kBreakdowns = {{"DET_RACK", "RACK", "DET_RACK3", true, true},
                                                      {"DET_RAK2", "RACK", "DET_RAK23", true, true},
                                                      {"ENC_RAC2", "RACK", "ENC_RAC2", true, true}};
const screens::RecodeStep kPrices{"TIP_PREC", "RACK", "TIP_PREC4", true, true};

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
  const std::string code = TABLA->S("CODIGO");
  uint32_t added = 0;
  auto headers = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
  auto exists = [&](const std::string& c) {
    return headers->Seek(headers->KeyPart("NEGOCIO", NEGOCIO) + headers->KeyPart("CODIGO", c));
  };
  auto copy = [&](const Duplicado& nuevo) {
    SIN_GRID([&] {
      headers->GoTo(source);
      COPIA_REGISTRO(*headers, [&] {
        headers->FieldPut("CODIGO", lib::Value::chars(nuevo.codigo));
        headers->FieldPut("DESCRIP", lib::Value::chars(nuevo.descrip));
      });
      added = headers->RecNo();
      const std::string key = lib::businessKey(NEGOCIO) + lib::padded(code, 4);
      for (auto [table, tag] : {std::pair{"DET_RACK", "DET_RACK3"}, std::pair{"ENC_RAC2", "ENC_RAC2"}})
        COPIA_REGISTROS(table, tag, key, [&](lib::WDBTable& t) { t.FieldPut("RACK", lib::Value::chars(nuevo.codigo)); });
    });
  };
  if (DUPLICAR("DUP_RACK", this, code, TABLA->S("DESCRIP"), exists, copy)) REFRESCA(true, added);
}

}  // namespace rates
