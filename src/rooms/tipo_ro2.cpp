#include "rooms/tipo_ro2.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "rooms/hotel_day.h"
#include "rooms/room_counters.h"
#include "rooms/room_references.h"
#include "rooms/tipo_rom.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kClass = 601, kAllotment = 602, kGroup = 603, kRate = 604, kPointsType = 605;
constexpr int kCeiling = 510;
constexpr const char* kNoGroup = "***Sin Asociación";

}  // namespace

TIPO_RO2::TIPO_RO2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_TIPO_ROM", negocio, mode) {}

// Every field but the room count, which the rooms screens keep.
void TIPO_RO2::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.TRIMMED(502, t, "ABREVIA");
  FORM_.SHOWN(503, t, "CANTIDAD", "9999");
  FORM_.NUMBER(504, t, "CANT_MIN", "9999");
  FORM_.NUMBER(505, t, "CANT_ADULT", "9999");
  FORM_.NUMBER(506, t, "CANT_NINHO", "9999");
  FORM_.NUMBER(507, t, "PORC_MIN", "999.99");
  FORM_.NUMBER(508, t, "FACTOR", "9999.9999");
  FORM_.NUMBER(509, t, "WEB_MENOS", "9999");
  FORM_.NUMBER(kCeiling, t, "TOPE1", "999.99");
  FORM_.CODE_OR_BLANK(kClass, t, "CLASE");
  FORM_.CHOICE(kAllotment, t, "ALLOTMENT", {});
  FORM_.CODE_OR_BLANK(kGroup, t, "GRUPO");
  FORM_.CODE_OR_BLANK(kRate, t, "COD_RACK");
  FORM_.CODE_OR_BLANK(kPointsType, t, "ROOM_PUNTO");
  FORM_.FLAG(1001, t, "SHOW_WEB");
  FORM_.FLAG(1002, t, "PUNTOS");
  FORM_.FLAG(1003, t, "CONEX_ROOM");
}

void TIPO_RO2::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kClass}, "CLAS_ROM", "CLAS_ROM", NEGOCIO, "DESCRIP", true);
  win::CCOMBOBOX allotment(this, kAllotment);
  for (int n = 1; n <= 20; ++n) allotment.Add(std::to_string(n), 0, std::to_string(n));
  screens::LOAD_LISTA(*this, {kRate}, "ENC_RACK", "ENC_RACK", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kPointsType}, "ROOM_PTO", "ROOM_PTO", NEGOCIO, "DESCRIP", true);
  win::CCOMBOBOX(this, kGroup).Add(kNoGroup, 0, "");
  screens::LOAD_LISTA(*this, {kGroup}, "GR_ROOM", "GR_ROOM", NEGOCIO, "DESCRIP", true);
}

// The type as stored, its room count first recounted from the rooms; a new type starts
// without a group.
void TIPO_RO2::CARGAR() {
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    RECUENTA_TIPO(NEGOCIO, REGISTRO->S("CODIGO"));
  }
  EDITOR::CARGAR();
  if (MODO_E == kAdd) win::CCOMBOBOX(this, kGroup).SeekCargo("");
}

bool TIPO_RO2::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (FORM_.text(kClass).empty()) return REHUSA("Debe definir el Tipo de Ubicación", kClass);
  if (FORM_.text(kAllotment).empty()) return REHUSA("Debe definir una Columna para el Allotment", kAllotment);
  return EDITOR::VALIDA(code);
}

// A new type, without rooms yet, and its availability rows from the closing day on.
bool TIPO_RO2::AGREGA(const std::string& code) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    REGISTRO->FieldPut("CANTIDAD", lib::Value::num(0));
    FORM_.SAVE(REGISTRO);
  });
  const std::string clase = FORM_.text(kClass);
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Generando Disponibilidad del Tipo...");
    CREA_DISPONIBLE_TIPO(NEGOCIO, code, clase, 0, desde);
    TOPE_TIPO(NEGOCIO, code, FORM_.number(kCeiling), desde);
    CLASE_A_ROOMS(NEGOCIO, code, clase);
    wait.TERMINAR();
  }
  screens::notice("Fin de Creación de Tipo del Habitación");
  return true;
}

// The type rewritten from the controls. A changed class takes the type's rooms from the old
// class to the new one; a changed code is carried into every table that names the type.
bool TIPO_RO2::MODIFICA(const std::string& code) {
  lib::WDBTable& t = *REGISTRO;
  t.GoTo(XRECNO);
  const std::string oldCode = lib::trim(t.S("CODIGO")), oldClass = t.S("CLASE");
  const std::string clase = FORM_.text(kClass);
  const double cantidad = t.N("CANTIDAD");
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  screens::CascadeReport report;
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...");
    if (oldClass != clase) {
      SUMA_CLASE(NEGOCIO, oldClass, -cantidad);
      SUMA_CLASE(NEGOCIO, clase, +cantidad);
      // The class-total availability rows follow their classes' room counts.
      SUMA_DISPONIBLE_CLASE(NEGOCIO, oldClass, desde, -cantidad);
      SUMA_DISPONIBLE_CLASE(NEGOCIO, clase, desde, +cantidad);
    }
    if (oldCode != code) report = screens::RECODIFICA(TYPE_REFERENCES(), NEGOCIO, oldCode, code, &wait);
    t.GoTo(XRECNO);
    lib::MODIFY(t, [&] { FORM_.SAVE(&t); });
    TOPE_TIPO(NEGOCIO, code, FORM_.number(kCeiling), desde);
    CLASE_A_ROOMS(NEGOCIO, code, clase);
    if (oldClass != clase) {
      SHOW_TIPO_EN_CLASE(NEGOCIO, code, clase, desde);
      for (const std::string& room : ROOMS_DEL_TIPO(NEGOCIO, code)) CLASE_TAB_RESE(NEGOCIO, room, clase, desde);
    }
    wait.TERMINAR();
  }
  screens::AVISA_FALTANTES(report);
  t.GoTo(XRECNO);
  return true;
}

}  // namespace rooms
