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

// The pair the rate is for ("Dólares Americanos en Colones"): the one chosen for a new rate,
// the record's own for a rate changed. A new rate starts on today's date.
void MODIT_CAMBIO::CARGAR() {
  EDITOR::CARGAR();
  const bool adding = MODO_E == kAdd;
  const std::string moneda1 = adding ? pair_.moneda1 : REGISTRO->S("MONEDA1");
  const std::string moneda2 = adding ? pair_.moneda2 : REGISTRO->S("MONEDA2");
  SetDlgItemText(kPair, currencyName(NEGOCIO, moneda2) + " en " + currencyName(NEGOCIO, moneda1));
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
  if (MODO_E == kAdd) {
    t.FieldPut("MONEDA1", lib::Value::chars(pair_.moneda1));
    t.FieldPut("MONEDA2", lib::Value::chars(pair_.moneda2));
  }
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
