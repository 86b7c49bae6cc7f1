#include "frontcash/register_periods.h"

#include <functional>
#include <memory>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/recode.h"
#include "xbase/date.h"

namespace frontcash {

namespace {

using lib::Value;

std::string periodKey(const std::string& negocio, const std::string& caja, const Period& start) {
  return lib::businessKey(negocio) + lib::padded(caja, 2) + xbase::dtos(start.date) + lib::padded(start.time, 8);
}

// Changes every record whose key on `tag` begins with `prefix`; the records are taken
// first, so that rewriting or deleting them cannot disturb the walk.
void each(lib::WDBTable& t, const std::string& tag, const std::string& prefix,
          const std::function<void(lib::WDBTable&)>& change) {
  t.SetOrder(tag);
  t.SetScope(prefix);
  std::vector<uint32_t> records;
  for (t.GoTop(); !t.Eof(); t.Skip()) records.push_back(t.RecNo());
  t.ClearScope();
  for (uint32_t recno : records) {
    t.GoTo(recno);
    lib::MODIFY(t, [&] { change(t); });
  }
}

void stampLimit(lib::WDBTable& t) {
  t.FieldPut("H_LIMITE", Value::chars(kHoraLimite));
  t.FieldPut("LIMITE", Value::date(fechaLimite()));
}

}  // namespace

int32_t fechaLimite() {
  return xbase::julianFromDtos("20900101");
}

void ADD_PERIODO(const std::string& negocio, const std::string& caja, const Period& start, const Period& end,
                 bool counted) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  lib::ADD(*periods, [&] {
    periods->FieldPut("NEGOCIO", Value::chars(negocio));
    periods->FieldPut("CAJA", Value::chars(caja));
    periods->FieldPut("FECHA_INI", Value::date(start.date));
    periods->FieldPut("HORA_INI", Value::chars(start.time));
    periods->FieldPut("FECHA_FIN", Value::date(end.date));
    periods->FieldPut("HORA_FIN", Value::chars(end.time));
    stampLimit(*periods);
  });
  lib::KILLTABLA(periods);
  if (!counted) return;
  std::vector<std::string> currencies;
  lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(negocio),
                   [&](const lib::WDBTable& m) { currencies.push_back(m.S("CODIGO")); });
  auto balances = lib::USE(nullptr, "DET_HCA2", "DET_HCA2");
  for (const std::string& currency : currencies)
    lib::ADD(*balances, [&] {
      balances->FieldPut("NEGOCIO", Value::chars(negocio));
      balances->FieldPut("CAJA", Value::chars(caja));
      balances->FieldPut("MONEDA", Value::chars(currency));
      balances->FieldPut("MONTO", Value::num(0));
      balances->FieldPut("FECHA_INI", Value::date(start.date));
      balances->FieldPut("HORA_INI", Value::chars(start.time));
      balances->FieldPut("FECHA_FIN", Value::date(end.date));
      balances->FieldPut("HORA_FIN", Value::chars(end.time));
      stampLimit(*balances);
    });
  lib::KILLTABLA(balances);
}

void MOD_PERIODO(const std::string& negocio, const std::string& caja, uint32_t recno, const Period& before,
                 const Period& start, const Period& end) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(recno);
  lib::MODIFY(*periods, [&] {
    periods->FieldPut("FECHA_INI", Value::date(start.date));
    periods->FieldPut("HORA_INI", Value::chars(start.time));
    periods->FieldPut("FECHA_FIN", Value::date(end.date));
    periods->FieldPut("HORA_FIN", Value::chars(end.time));
  });
  lib::KILLTABLA(periods);
  if (before.date == start.date && lib::padded(before.time, 8) == lib::padded(start.time, 8)) return;
  const std::string key = periodKey(negocio, caja, before);
  auto folios = lib::USE(nullptr, "ENC_FOL", "ENC_FOL7");
  each(*folios, "ENC_FOL7", key, [&](lib::WDBTable& f) {
    f.FieldPut("FECHA_CAJA", Value::date(start.date));
    f.FieldPut("HORA_CAJA", Value::chars(start.time));
  });
  lib::KILLTABLA(folios);
  // The balances and counts are found by the period's start: they move with it, or the
  // period would lose them.
  for (const char* table : {"DET_HCA2", "DET_HCA3", "DET_HCA4"}) {
    auto t = lib::USE(nullptr, table, table);
    each(*t, table, key, [&](lib::WDBTable& r) {
      r.FieldPut("FECHA_INI", Value::date(start.date));
      r.FieldPut("HORA_INI", Value::chars(start.time));
    });
    lib::KILLTABLA(t);
  }
}

void DEL_PERIODO(const std::string& negocio, uint32_t recno) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(recno);
  const std::string caja = periods->S("CAJA");
  const Period start{periods->D("FECHA_INI"), periods->S("HORA_INI")};
  const std::string key = periodKey(negocio, caja, start);
  for (const char* table : {"DET_HCA2", "DET_HCA3"}) {
    auto t = lib::USE(nullptr, table, table);
    each(*t, table, key, [](lib::WDBTable& r) { r.Delete(); });
    lib::KILLTABLA(t);
  }
  periods->GoTo(recno);
  lib::MODIFY(*periods, [&] { periods->Delete(); });
  lib::KILLTABLA(periods);
}

void RECODIFICA_CAJA(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                     win::WAIT* wait) {
  screens::RECODIFICA({{"ENC_FOL", "COD_CAJA", "ENC_FOL7"},
                       {"DET_HCAJ", "CAJA", "DET_HCAJ"},
                       {"DET_HCA2", "CAJA", "DET_HCA2"},
                       {"DET_HCA3", "CAJA", "DET_HCA3"},
                       {"DET_HCA4", "CAJA", "DET_HCA4"},
                       {"DET_FOL", "CAJA", "DET_FOL11"}},
                      negocio, oldCode, newCode, wait);
}

}  // namespace frontcash
