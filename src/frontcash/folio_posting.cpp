#include "frontcash/folio_posting.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cashier/code_rules.h"
#include "cashier/tax_rule.h"
#include "lib/exchange_rates.h"
#include "lib/folio_currency.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"
#include "xbase/error.h"

namespace frontcash {

namespace {

using lib::Money;
using lib::Value;

constexpr const char* kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

struct HotelParameters {
  int32_t cierreDia = 0;
  std::string serialFol, maeAgen, tFaltante;
};

HotelParameters hotel(const std::string& negocio) {
  HotelParameters p;
  lib::EACH_RECORD("F_HOTEL", "F_HOTEL", lib::businessKey(negocio), [&](const lib::WDBTable& h) {
    p.cierreDia = h.D("CIERRE_DIA");
    p.serialFol = h.S("SERIAL_FOL");
    p.maeAgen = h.S("MAE_AGEN");
    p.tFaltante = h.S("T_FALTANTE");
  });
  return p;
}

std::string fourDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", n % 10000);
  return text;
}

}  // namespace

std::string nextConsecutive(const std::string& consecut) {
  long value = 0;
  for (char c : lib::trim(consecut)) {
    const char* at = std::strchr(kDigits, std::toupper(static_cast<unsigned char>(c)));
    value = value * 36 + (at && *at ? at - kDigits : 0);
  }
  ++value;
  std::string out;
  for (int i = 0; i < 4; ++i, value /= 36) out.insert(out.begin(), kDigits[value % 36]);
  return out;
}

namespace {

std::string registerFolioKey(const std::string& negocio, const std::string& caja, const Period& start) {
  return lib::businessKey(negocio) + "3" + lib::padded(caja, 2) + xbase::dtos(start.date) + lib::padded(start.time, 8);
}

}  // namespace

bool FOLIO_CAJA_POSIBLE(const std::string& negocio, const std::string& caja, const Period& start) {
  bool exists = false;
  lib::EACH_RECORD("ENC_FOL", "ENC_FOL6", registerFolioKey(negocio, caja, start),
                   [&](const lib::WDBTable&) { exists = true; });
  return exists || lib::GET_CURRENTSERIAL(nullptr, negocio, hotel(negocio).serialFol) != lib::kNoSerial;
}

std::string FOLIO_CAJA(const std::string& negocio, const std::string& caja, const Period& start) {
  auto folios = lib::USE(nullptr, "ENC_FOL", "ENC_FOL6");
  if (folios->Seek(registerFolioKey(negocio, caja, start))) {
    const std::string numero = folios->S("NUMERO");
    lib::KILLTABLA(folios);
    return numero;
  }
  const HotelParameters p = hotel(negocio);
  const std::string serial = lib::GET_NXSERIAL(nullptr, negocio, p.serialFol);
  if (serial == lib::kNoSerial) {
    lib::KILLTABLA(folios);
    throw xbase::Error(xbase::EG_ARG, xbase::SC_VALUE,
                       "No existe el serial de folios \"" + lib::trim(p.serialFol) + "\"", "SERIALES", 0, "FOLIO_CAJA");
  }
  const std::string numero = lib::trim(serial);
  const std::string currency = lib::MONEDA_FOLIO(negocio, p.maeAgen, lib::Folio::Master);
  lib::ADD(*folios, [&] {
    folios->FieldPut("NEGOCIO", Value::chars(negocio));
    folios->FieldPut("NUMERO", Value::chars(numero));
    folios->FieldPut("CTA_MAES", Value::num(3));
    folios->FieldPut("MASTER", Value::chars("1"));
    folios->FieldPut("CONSECUT", Value::chars("0001"));
    folios->FieldPut("GRUPO", Value::chars("0001"));
    folios->FieldPut("FACTURADO", Value::num(0));
    folios->FieldPut("FECHA_CAJA", Value::date(start.date));
    folios->FieldPut("HORA_CAJA", Value::chars(start.time));
    folios->FieldPut("COD_CAJA", Value::chars(caja));
    folios->FieldPut("MONEDA", Value::chars(currency));
  });
  lib::KILLTABLA(folios);
  return numero;
}

void POSTEA_FOLIO(const std::string& negocio, const std::string& caja, const std::string& numero,
                  const std::string& code, Money amount, const std::string& currency, const std::string& comment) {
  const HotelParameters p = hotel(negocio);
  const std::optional<cashier::CodeRules> rules = cashier::REGLAS_CARGO(negocio, code);
  if (!rules) return;
  bool serial = false, grouped = false;
  std::string series;
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio) + lib::padded(code, 4),
                   [&](const lib::WDBTable& t) {
                     serial = t.N("SERIAL") == 1;
                     series = t.S("COD_SERIAL");
                     grouped = t.N("AGRUPAR") == 0;
                   });
  bool folioCurrencies = false;
  std::string accounting;
  lib::EACH_RECORD("NEGOCIOS", "NEGOCIOS", negocio, [&](const lib::WDBTable& n) {
    if (lib::rtrim(n.S("CODIGO")) != lib::rtrim(negocio)) return;
    folioCurrencies = n.N("MON_FOL") == 1;
    accounting = n.S("MONEDA_CON");
  });

  auto folios = lib::USE(nullptr, "ENC_FOL", "ENC_FOL2");
  if (!folios->Seek(lib::businessKey(negocio) + "3" + lib::padded(numero, 10))) {
    lib::KILLTABLA(folios);
    return;
  }
  const std::string posting =
      folioCurrencies && !lib::trim(folios->S("MONEDA")).empty() ? folios->S("MONEDA") : accounting;
  auto rates = lib::USE(nullptr, "T_CAMBIO", "T_CAMB2");
  const lib::ExchangeFactor rate = lib::CAMBIO_ACT(negocio, *rates, currency, posting);
  lib::KILLTABLA(rates);
  const Money factor = rate.factor();
  const auto converted = cashier::DERIVA_IMPUESTOS(*rules, amount, factor);
  const auto original = cashier::DERIVA_IMPUESTOS(*rules, amount);
  std::string grupo;
  // A posting with taxes takes the folio's current group, and the folio moves on to the next.
  if (grouped && !rules->composite && !rules->taxes.empty()) {
    const int current = std::atoi(lib::trim(folios->S("GRUPO")).c_str());
    grupo = fourDigits(current);
    lib::MODIFY(*folios, [&] { folios->FieldPut("GRUPO", Value::chars(fourDigits(current + 1))); });
  }
  auto lines = lib::USE(nullptr, "DET_FOL");
  for (size_t i = 0; i < converted.size(); ++i) {
    const cashier::TaxLine& line = converted[i];
    const Money originalAmount = i < original.size() ? original[i].amount : line.amount;
    const std::string consecut = folios->S("CONSECUT");
    lib::ADD(*lines, [&] {
      if (serial && i == 0) lines->FieldPut("COD_SERIAL", Value::chars(lib::GET_NXSERIAL(nullptr, negocio, series)));
      lines->FieldPut("AJUSTE", Value::num(0));
      lines->FieldPut("NEGOCIO", Value::chars(negocio));
      lines->FieldPut("NUMERO", Value::chars(numero));
      lines->FieldPut("FECHA", Value::date(lib::XDATE()));
      lines->FieldPut("HORA", Value::chars(lib::XTIME()));
      lines->FieldPut("CAJA", Value::chars(caja));
      lines->FieldPut("CIERRE_DIA", Value::date(p.cierreDia));
      lines->FieldPut("FECHA_O", Value::date(p.cierreDia));
      lines->FieldPut("COD_TRANS", Value::chars(line.code));
      lines->FieldPut("COD_TRAN", Value::chars(code));
      lines->FieldPut("COMENTA", Value::chars(comment));
      lines->FieldPut("SI_IMP", Value::num(line.isTax ? 1 : 0));
      lines->FieldPut("MONEDA", Value::chars(posting));
      lines->FieldPut("CONSECUT", Value::chars(consecut));
      lines->FieldPut("T_CAMBIO", rate.rate);
      lines->FieldPut("OCAMBIO", rate.rate);
      lines->FieldPut("OMONEDA", Value::chars(currency));
      lines->FieldPut("ORIG_GRP2", Value::chars(p.tFaltante));
      lines->FieldPut("USUARIO", Value::chars(lib::G().XUSER_ABREVIA));
      lines->FieldPut("GRUPO", Value::chars(grupo));
      lines->FieldPut(line.credit ? "CREDITO" : "DEBITO", line.amount);
      lines->FieldPut(line.credit ? "OCREDITO" : "ODEBITO", originalAmount);
    });
    lib::MODIFY(*folios, [&] { folios->FieldPut("CONSECUT", Value::chars(nextConsecutive(consecut))); });
  }
  // The counter moves once more after a posting.
  lib::MODIFY(*folios, [&] { folios->FieldPut("CONSECUT", Value::chars(nextConsecutive(folios->S("CONSECUT")))); });
  lib::KILLTABLA(lines);
  lib::KILLTABLA(folios);
}

}  // namespace frontcash
