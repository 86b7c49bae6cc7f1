#include "rooms/clas_ro2.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/hotel_day.h"
#include "rooms/room_counters.h"
#include "rooms/room_references.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kOtherClass = 601, kAdultBand = 602, kChildBand = 603;
constexpr int kCombine = 1002;
constexpr int kCeiling = 504;

}  // namespace

CLAS_RO2::CLAS_RO2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_CLAS_ROM", negocio, mode) {
  DUPLICADO_ALTA = "Código ya definido...";
}

void CLAS_RO2::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.TRIMMED(502, t, "ABREVIA");
  FORM_.NUMBER(503, t, "FACTOR", "9999.9999");
  FORM_.NUMBER(kCeiling, t, "TOPE1", "999.99");
  FORM_.SHOWN(505, t, "CANTIDAD", "999999");  // the recount of the rooms of the class's types
  FORM_.CODE_OR_BLANK(kOtherClass, t, "OTRA_CLASE");
  // The wristbands keep their codes when their lists offer no choice.
  FORM_.CODE(kAdultBand, t, "BRAS_ADULT");
  FORM_.CODE(kChildBand, t, "BRAS_NINHO");
  FORM_.FLAG(1001, t, "PRESUP_REQ");
  FORM_.FLAG(kCombine, t, "COMBINAR", [this] { COMBINAR_CHANGED(); });
  FORM_.FLAG(1003, t, "LEER_BRAZA");
  FORM_.FLAG(1004, t, "PRES_PLAN");
  FORM_.FLAG(1005, t, "ST_IMAGE");
}

// The classes this one may combine with: every other class of the business unit; and the
// wristbands, where the hotel keeps them.
void CLAS_RO2::LOAD_LISTAS() {
  win::CCOMBOBOX box(this, kOtherClass);
  lib::EACH_RECORD("CLAS_ROM", "CLAS_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& c) {
    if (c.RecNo() != XRECNO) box.Add(c.S("DESCRIP"), 0, c.S("CODIGO"));
  });
  screens::LOAD_LISTA(*this, {kAdultBand, kChildBand}, "DEF_BRAS", "DEF_BRAS", NEGOCIO, "DESCRIP", true);
}

// The class as stored, its room count first recounted from the rooms of its types.
void CLAS_RO2::CARGAR() {
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    RECUENTA_CLASE(NEGOCIO, REGISTRO->S("CODIGO"));
  }
  EDITOR::CARGAR();
  COMBINAR_CHANGED();
}

// The class to combine with is chosen only while "Combinar Ocupación para Pronóstico" is
// checked; unchecked, the class combines with none.
void CLAS_RO2::COMBINAR_CHANGED() {
  const bool combine = IsDlgButtonChecked(kCombine);
  EnableItem(kOtherClass, combine);
  if (!combine) win::CCOMBOBOX(this, kOtherClass).SetCurItem(0);
}

bool CLAS_RO2::AGREGA(const std::string& code) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    REGISTRO->FieldPut("CANTIDAD", lib::Value::num(0));
    FORM_.SAVE(REGISTRO);
  });
  TOPE_CLASE(NEGOCIO, code, FORM_.number(kCeiling), CIERRE_DIA(NEGOCIO));
  return true;
}

bool CLAS_RO2::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  if (old != code) {
    screens::CascadeReport report;
    {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", kRecodificandoHabitaciones);
      report = screens::RECODIFICA(CLASS_REFERENCES(), NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    screens::AVISA_FALTANTES(report);
  }
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] { FORM_.SAVE(REGISTRO); });
  TOPE_CLASE(NEGOCIO, code, FORM_.number(kCeiling), CIERRE_DIA(NEGOCIO));
  return true;
}

}  // namespace rooms
