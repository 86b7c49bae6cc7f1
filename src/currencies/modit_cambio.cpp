#include "currencies/modit_cambio.h"

#include "lib/calendar.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"

namespace currencies {

namespace {

constexpr int kPair = 400, kDate = 502, kFirstRate = 505;
constexpr const char* kPlainRate = "999999.99999";

std::string currencyName(const std::string& negocio, const std::string& code) {
  auto currencies = lib::USE(nullptr, "MONEDAS", "MONEDAS");
  return currencies->Seek(lib::businessKey(negocio) + lib::padded(code, 2)) ? lib::trim(currencies->S("DESCRIP"))
                                                                             : lib::trim(code);
}

}  // namespace

MODIT_CAMBIO::MODIT_CAMBIO(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode, const RELACION& pair)
    : EDITOR(list, "MODIT_CAMBIO", negocio, mode), pair_(pair) {
  CODE_ID = kDate;
}

void MODIT_CAMBIO::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.DATE(kDate, t, "FECHA");
  int id = kFirstRate;
  for (const char* field : {"CAMBIO", "CAMBIO2", "CAMBIO3", "CAMBIO4", "CAMBIO5"})
    FORM_.NUMBER(id++, t, field, kPlainRate);
}

// The pair the rate is for ("Dólares Americanos en Colones"); a new rate starts on today's date.
void MODIT_CAMBIO::CARGAR() {
  SetDlgItemText(kPair, currencyName(NEGOCIO, pair_.moneda2) + " en " + currencyName(NEGOCIO, pair_.moneda1));
  EDITOR::CARGAR();
  if (MODO_E == kAdd) SetDlgItemText(kDate, lib::DTOC(lib::XDATE(true)));
}

bool MODIT_CAMBIO::VALIDA(const std::string&) {
  if (FORM_.number(kFirstRate) == 0) return REHUSA("El Tipo de Cambio #1 debe ser distinto de CERO", kFirstRate);
  if (!FORM_.VALID()) return false;
  if (lib::readDate(GetDlgItemText(kDate)).empty()) return REHUSA("Fecha inválida", kDate);
  return true;
}

void MODIT_CAMBIO::GRABA() {
  lib::WDBTable& t = *REGISTRO;
  FORM_.SAVE(&t);
  t.FieldPut("MONEDA1", lib::Value::chars(pair_.moneda1));
  t.FieldPut("MONEDA2", lib::Value::chars(pair_.moneda2));
  t.FieldPut("LIMITE", lib::Value::date(lib::FECHA_LIMITE()));
  t.FieldPut("USUARIO", lib::Value::chars(lib::G().XUSER_ABREVIA));
  t.FieldPut("INFO_USER", lib::Value::chars(lib::INFO_TEXT()));
}

bool MODIT_CAMBIO::AGREGA(const std::string&) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    GRABA();
  });
  return true;
}

bool MODIT_CAMBIO::MODIFICA(const std::string&) {
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] { GRABA(); });
  return true;
}

}  // namespace currencies
