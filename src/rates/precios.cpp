#include "rates/precios.h"

#include <QtCore/Qt>
#include <map>
#include <memory>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/explicar_precio.h"
#include "rates/noches_sin_tarifa.h"

namespace rates {

namespace {

constexpr const char* kPrice = "9,999,999.9999";
constexpr int kFirstPrice = 4;  // N/A, Código, Descripción, then the prices

}  // namespace

PRECIOS::PRECIOS(const std::string& dialog, const std::string& negocio, const std::string& tag, int menuId)
    : LIST_SCREEN(dialog, negocio, {"TIP_PREC", tag, menuId, {}}) {}

void PRECIOS::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  win::BrowMarksOptions options;
  options.noRefresh = true;
  options.searchDisabled = true;  // typing on a price edits it
  BROWMARKS(*OB, {{1, mainTag()}}, 1, "---", options);
  OB->keyBlock = [this](win::WBLISTBOX& grid, int key, const std::string& text) { return TECLA(grid, key, text); };
  COLUMNAS("");
}

void PRECIOS::CerrarBases() {
  LIST_SCREEN::CerrarBases();
}

void PRECIOS::COLUMNAS(const std::string& rack) {
  rack_ = lib::trim(rack);
  {
    auto rates = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
    porPersonas_ = !rack_.empty() &&
                   rates->Seek(rates->KeyPart("NEGOCIO", NEGOCIO) + rates->KeyPart("CODIGO", rack_)) &&
                   rates->N("CALCULO") != 0;
  }
  auto names = std::make_shared<std::map<std::string, std::string>>();
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO),
                   [&](const lib::WDBTable& t) { (*names)[lib::trim(t.S("CODIGO"))] = t.S("DESCRIP"); });
  win::WBLISTBOX& g = *OB;
  lib::WDBTable* t = TABLA;
  g.wbCols.clear();
  win::AGREGARCOL(g, t, "N/A", "NO_APLICA", "", [t] { return lib::Value::chars(t->N("NO_APLICA") == 1 ? "Sí" : ""); }, 0,
                  true, 8);
  win::AGREGARCOL(g, t, "Código", "T_ROOM", "!!!!", {}, 0, false, 12);
  win::AGREGARCOL(g, t, "Descripción", "T_ROOM", std::string(24, 'X'),
                  [t, names] {
                    auto it = names->find(lib::trim(t->S("T_ROOM")));
                    return lib::Value::chars(it == names->end() ? "" : it->second);
                  },
                  0, true);
  if (!porPersonas_) {
    for (auto [heading, field] : {std::pair{"Adult.Prec Norm", "ADULT_NORM"}, std::pair{"Adult.Prec Ext", "ADULT_EXT"},
                                  std::pair{"Niños.Prec Norm", "NINHO_NORM"}, std::pair{"Niños.Prec Ext", "NINHO_EXT"}})
      win::AGREGARCOL(g, t, heading, field, kPrice, {}, 2);
  } else {
    for (int n = 1; n <= 10; ++n)
      win::AGREGARCOL(g, t, std::to_string(n) + (n == 1 ? " Adulto" : " Adultos"), "ADULT_" + std::to_string(n), kPrice,
                      {}, 2);
    for (int n = 1; n <= 10; ++n)
      win::AGREGARCOL(g, t, std::to_string(n) + (n == 1 ? " Niño" : " Niños"), "NINHO_" + std::to_string(n), kPrice, {},
                      2);
  }
  g.CONFIGURE();
}

void PRECIOS::MUESTRA(const std::string& scope) {
  SET_SCOPE(*OB, scope.empty() ? "---" : scope, std::nullopt, true);
  OB->colPos = kFirstPrice;
  if (OB->nMaxRec > 0) OB->GoToRow(1);
}

bool PRECIOS::TECLA(win::WBLISTBOX& grid, int key, const std::string& text) {
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  const bool typed = !text.empty() && std::isalnum(static_cast<unsigned char>(text[0]));
  if ((!enter && !typed) || !hasRecord()) return false;
  if (grid.colPos == 1) {
    if (enter) TOGGLE_NA();
    return enter;
  }
  if (grid.colPos < kFirstPrice) return false;
  bool written = false;
  lib::MODIFY(*TABLA, [&] { written = Editar(*TABLA, grid, 0, key, text, this); });
  if (written) CAMBIO_PRECIO();
  const int last = porPersonas_ ? kFirstPrice + 19 : kFirstPrice + 3;
  if (grid.colPos < last) {
    grid.colPos += 1;
    grid.GoToRow(grid.nCurRec);
  } else {
    grid.colPos = 3;
    grid.GoToRow(std::min(grid.nCurRec + 1, grid.nMaxRec));
  }
  return true;
}

void PRECIOS::TOGGLE_NA() {
  const uint32_t recno = TABLA->RecNo();
  lib::MODIFY(*TABLA, [&] { TABLA->FieldPut("NO_APLICA", lib::Value::num(TABLA->N("NO_APLICA") == 1 ? 0 : 1)); });
  TABLA->GoTo(recno);
  OB->REFRESHCURRENT();
  CAMBIO_PRECIO();
}

void PRECIOS::EXPLICAR_PRECIO() {
  CALL_LEVEL();
  rates::EXPLICAR_PRECIO(this, NEGOCIO, rack_);
}

void PRECIOS::NOCHES_SIN_TARIFA() {
  CALL_LEVEL();
  rates::NOCHES_SIN_TARIFA(this, NEGOCIO);
}

}  // namespace rates
