#include "rates/e_rack3.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/rack2.h"
#include "win/controls.h"

namespace rates {

namespace {

constexpr int kTabs = 200, kRateType = 502, kRoomTypes = 801, kPropagate = 901;

std::string especialOf(RACK2* list, screens::EDITOR::Mode mode) {
  return mode == screens::EDITOR::kModify ? list->TABLA->S("CODIGO") : "";
}

}  // namespace

std::string TIPOS_APLICABLES(const std::vector<std::string>& codes) {
  std::string text = "*";
  for (const std::string& c : codes) text += lib::trim(c) + "*";
  return text;
}

bool APLICA_TIPO(const std::string& tipos, const std::string& code) {
  return tipos.find("*" + lib::trim(code) + "*") != std::string::npos;
}

E_RACK3::E_RACK3(RACK2* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "E_RACK3", negocio, mode), RACK(list->RACK), desglose_(*this, negocio, especialOf(list, mode)) {}

void E_RACK3::BIND() {
  MAINTABPAGE(DIALOG, kTabs);
  ADDTABPAGE("E_RACK7", "Adultos");
  ADDTABPAGE("E_RACK8", "Niños");
  FORM_.UPPER(500, REGISTRO, "CODIGO");
  FORM_.TRIMMED(501, REGISTRO, "DESCRIP");
  desglose_.BIND();
  ADD_BUTTON(kPropagate, [this] { desglose_.PROPAGAR(); });
}

void E_RACK3::LOAD_LISTAS() {
  win::CLISTBOX types(this, kRoomTypes);
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& t) {
    types.Add(t.S("CODIGO") + " - " + t.S("DESCRIP"), t.S("CODIGO"));
  });
  auto rates = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
  if (rates->Seek(rates->KeyPart("NEGOCIO", NEGOCIO) + rates->KeyPart("CODIGO", RACK)))
    SetDlgItemText(kRateType, RACK + " - " + rates->S("DESCRIP"));
}

void E_RACK3::CARGAR() {
  EDITOR::CARGAR();
  desglose_.CONFIGURA();
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    const std::string tipos = REGISTRO->S("TIPOS");
    win::CLISTBOX types(this, kRoomTypes);
    for (int i = 1; i <= types.Count(); ++i) types.SetSel(i, APLICA_TIPO(tipos, types.ItemCargo(i)));
    desglose_.CARGAR(RACK);
  }
  ACTIVATEPAGE(1);
}

std::string E_RACK3::TIPOS() const {
  win::CLISTBOX types(const_cast<E_RACK3*>(this), kRoomTypes);
  std::vector<std::string> codes;
  for (int i : types.Selected()) codes.push_back(types.ItemCargo(i));
  return TIPOS_APLICABLES(codes);
}

// Codes are unique within the rate type.
bool E_RACK3::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  auto specials = lib::USE(nullptr, "ENC_RAC2", "ENC_RAC2");
  const std::string key = lib::businessKey(NEGOCIO) + lib::padded(RACK, 4) + lib::padded(code, 4);
  specials->SetScope(key);
  for (specials->GoTop(); !specials->Eof(); specials->Skip())
    if (specials->RecNo() != XRECNO) return REHUSA(DUPLICADO_ALTA, CODE_ID);
  return true;
}

bool E_RACK3::AGREGA(const std::string& code) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    REGISTRO->FieldPut("RACK", lib::Value::chars(RACK));
    REGISTRO->FieldPut("TIPOS", lib::Value::chars(TIPOS()));
    FORM_.SAVE(REGISTRO);
  });
  const uint32_t added = REGISTRO->RecNo();
  desglose_.GRABAR(RACK, code);
  REGISTRO->GoTo(added);
  return true;
}

bool E_RACK3::MODIFICA(const std::string& code) {
  lib::WDBTable& t = *REGISTRO;
  t.GoTo(XRECNO);
  const std::string oldCode = lib::trim(t.S("CODIGO"));
  if (oldCode != code) {
    const std::string key = lib::businessKey(NEGOCIO) + lib::padded(RACK, 4) + lib::padded(oldCode, 4);
    for (auto [table, tag] : {std::pair{"DET_RACK", "DET_RACK3"}, std::pair{"DET_RAK2", "DET_RAK23"}}) {
      auto d = lib::USE(nullptr, table, tag);
      // Each rewrite moves the record out of the key: seek again for the next one.
      while (d->Seek(key)) lib::MODIFY(*d, [&] { d->FieldPut("ESPECIAL", lib::Value::chars(code)); });
    }
  }
  t.GoTo(XRECNO);
  lib::MODIFY(t, [&] {
    FORM_.SAVE(&t);
    t.FieldPut("TIPOS", lib::Value::chars(TIPOS()));
  });
  desglose_.GRABAR(RACK, code);
  t.GoTo(XRECNO);
  return true;
}

void E_RACK3::CerrarBases() {
  desglose_.CERRAR();
  EDITOR::CerrarBases();
}

}  // namespace rates
