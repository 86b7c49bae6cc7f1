#include "rates/rack2.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia.h"
#include "rates/duplicado.h"
#include "rates/e_rack3.h"
#include "screens/recode.h"
#include "win/wait.h"

namespace rates {

RACK2::RACK2(win::WDIAG* editor, const std::string& negocio, const std::string& rack)
    : LIST_SCREEN("E_RACK_ESP", negocio,
                  {"ENC_RAC2", "ENC_RAC2", 0, {{"Código", "CODIGO", "!!!!", 0, 16}, {"Descripción", "DESCRIP", std::string(40, 'X')}}}),
      RACK(lib::trim(rack)),
      editor_(editor) {}

void RACK2::INIT() {
  LIST_SCREEN::INIT();
  if (window()) EDITOR_OF(editor_);
}

void RACK2::BOTONES() {
  ADD_BUTTON(201, [this] { ADD_RACK2(); });
  ADD_BUTTON(202, [this] { MOD_RACK2(); });
  ADD_BUTTON(203, [this] { DEL_RACK2(); });
  ADD_BUTTON(204, [this] { DUP_RACK2(); });
  ADD_BUTTON(205, [this] { MOD_RACK2(); });
}

void RACK2::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, mainTag()}}, 1, TABLA->KeyPart("NEGOCIO", NEGOCIO) + TABLA->KeyPart("RACK", RACK));
}

void RACK2::ADD_RACK2() {
  screens::OPEN<E_RACK3>(this, NEGOCIO, E_RACK3::kAdd);
}

void RACK2::MOD_RACK2() {
  if (hasRecord()) screens::OPEN<E_RACK3>(this, NEGOCIO, E_RACK3::kModify);
}

// The special's components go with it.
void RACK2::DEL_RACK2() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const std::string key = lib::businessKey(NEGOCIO) + lib::padded(RACK, 4) + lib::padded(TABLA->S("CODIGO"), 4);
  BORRA_REGISTRO("Desea borrar el Tipo Especial de Tarifa", [&](win::WAIT&) {
    for (auto [table, tag] : {std::pair{"DET_RACK", "DET_RACK3"}, std::pair{"DET_RAK2", "DET_RAK23"}})
      BORRA_REGISTROS(table, tag, key);
  });
}

void RACK2::DUP_RACK2() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const uint32_t source = TABLA->RecNo();
  const std::string code = TABLA->S("CODIGO");
  const std::string rackKey = lib::businessKey(NEGOCIO) + lib::padded(RACK, 4);
  uint32_t added = 0;
  auto headers = lib::USE(nullptr, "ENC_RAC2", "ENC_RAC2");
  auto exists = [&](const std::string& c) { return headers->Seek(rackKey + lib::padded(c, 4)); };
  auto copy = [&](const Duplicado& nuevo) {
    SIN_GRID([&] {
      headers->GoTo(source);
      COPIA_REGISTRO(*headers, [&] {
        headers->FieldPut("CODIGO", lib::Value::chars(nuevo.codigo));
        headers->FieldPut("DESCRIP", lib::Value::chars(nuevo.descrip));
      });
      added = headers->RecNo();
      COPIA_REGISTROS("DET_RACK", "DET_RACK3", rackKey + lib::padded(code, 4),
                      [&](lib::WDBTable& t) { t.FieldPut("ESPECIAL", lib::Value::chars(nuevo.codigo)); });
    });
  };
  if (DUPLICAR("DUP_ESP", this, code, TABLA->S("DESCRIP"), exists, copy)) REFRESCA(true, added);
}

}  // namespace rates
