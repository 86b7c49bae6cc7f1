#include "frontcash/saldos_cierre.h"

#include <QKeyEvent>

#include <cctype>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"

namespace frontcash {

namespace {

constexpr const char* kAmount = "999,999,999.99";

// The currency's description, for the "Moneda" column.
std::function<lib::Value()> currencyName(const std::string& negocio, lib::WDBTable* t) {
  return [negocio, t] {
    std::string name;
    lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(negocio) + lib::padded(t->S("MONEDA"), 2),
                     [&](const lib::WDBTable& m) { name = m.S("DESCRIP"); });
    return lib::Value::chars(name);
  };
}

}  // namespace

HCAJAS3::HCAJAS3(const std::string& negocio, std::string period)
    : LIST_SCREEN("HCAJAS3", negocio, {"DET_HCA2", "DET_HCA2", 0, {}}), period_(std::move(period)) {}

void HCAJAS3::MontarColumnas() {
  win::AGREGARCOL(*OB, TABLA, "Cod", "MONEDA", "XX");
  win::AGREGARCOL(*OB, TABLA, "Moneda", "", std::string(25, 'X'), currencyName(NEGOCIO, TABLA));
  win::AGREGARCOL(*OB, TABLA, "Monto", "MONTO", kAmount, {}, 2);
}

void HCAJAS3::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  win::BrowMarksOptions options;
  options.searchDisabled = true;
  BROWMARKS(*OB, {{1, "DET_HCA2"}}, 1, period_, options);
  OB->keyBlock = [this](win::WBLISTBOX&, int key, const std::string& text) { return TECLA(key, text); };
  OB->doubleclick = [this](win::WBLISTBOX&) { TECLA(Qt::Key_Return, ""); };
}

// A letter or digit, or Enter, on the amount edits it in place under the record's lock.
bool HCAJAS3::TECLA(int qtKey, const std::string& text) {
  const bool typed = !text.empty() && std::isalnum(static_cast<unsigned char>(text[0]));
  if (!typed && qtKey != Qt::Key_Return && qtKey != Qt::Key_Enter) return false;
  if (!hasRecord()) return false;
  // Only the amount is edited, wherever the cursor stands.
  OB->colPos = OB->DrawPosition(3);
  TABLA->GoTo(OB->nCRecNo);
  lib::MODIFY(*TABLA, [&] { win::EDITCELL().Editar(*TABLA, *OB, 0, qtKey, text, this); });
  OB->REFRESHALL();
  return true;
}

HCAJAS6::HCAJAS6(const std::string& negocio, std::string caja)
    : LIST_SCREEN("HCAJAS6", negocio, {"DET_HCA4", "DET_HCA4", 0, {}}), caja_(std::move(caja)) {}

void HCAJAS6::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  DET_HCA3 = USE("DET_HCA3", "DET_HCA3");
}

void HCAJAS6::BOTONES() {
  OB2 = std::make_unique<win::WBLISTBOX>(this, 701, DET_HCA3);
  ADD(OB2.get());
}

void HCAJAS6::MontarColumnas() {
  win::AGREGARCOL(*OB2, DET_HCA3, "Fecha Arq.", "FECHA_INI");
  win::AGREGARCOL(*OB2, DET_HCA3, "Hora Arq.", "HORA_INI", "XXXXXXXX");
  win::AGREGARCOL(*OB2, DET_HCA3, "Fecha Cierre", "FECHA_FIN");
  win::AGREGARCOL(*OB2, DET_HCA3, "Hora Cierre", "HORA_FIN", "XXXXXXXX");
  win::AGREGARCOL(*OB, TABLA, "Cod", "MONEDA", "XX");
  win::AGREGARCOL(*OB, TABLA, "Moneda", "", std::string(25, 'X'), currencyName(NEGOCIO, TABLA));
  win::AGREGARCOL(*OB, TABLA, "Monto", "MONTO", kAmount, {}, 2);
}

void HCAJAS6::ConfigBrow() {
  OB->useMaintenanceLook();
  OB2->useMaintenanceLook();
  lib::SELECT(DET_HCA3->Area);
  BROWMARKS(*OB2, {{1, "DET_HCA3"}}, 1, lib::businessKey(NEGOCIO) + lib::padded(caja_, 2));
  lib::SELECT(TABLA->Area);
  BROWMARKS(*OB, {{1, "DET_HCA4"}}, 1, lib::businessKey(NEGOCIO) + lib::padded(caja_, 2) + "\x01");
  OB2->selectblock = [this](win::WBLISTBOX&) { MONTOS(); };
  MONTOS();
}

void HCAJAS6::CerrarBases() {
  if (OB2) CLOSEBROWSE(*OB2);
  LIST_SCREEN::CerrarBases();
  DET_HCA3 = nullptr;
}

void HCAJAS6::MONTOS() {
  std::string key = lib::businessKey(NEGOCIO) + lib::padded(caja_, 2);
  if (DET_HCA3 && !DET_HCA3->Eof() && OB2->nMaxRec > 0)
    key += xbase::dtos(DET_HCA3->D("FECHA_INI")) + lib::padded(DET_HCA3->S("HORA_INI"), 8);
  else
    key += "\x01";  // no count: nothing under it
  SET_SCOPE(*OB, key, std::nullopt, true);
}

}  // namespace frontcash
