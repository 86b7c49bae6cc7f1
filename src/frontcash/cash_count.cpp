#include "frontcash/cash_count.h"

#include <memory>

#include "frontcash/folio_posting.h"
#include "frontcash/register_open_close.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"

namespace frontcash {

namespace {

using lib::Money;
using lib::Value;

std::string moment(int32_t date, const std::string& time) {
  return xbase::dtos(date) + lib::padded(time, 8);
}

std::string registerKey(const std::string& negocio, const std::string& caja) {
  return lib::businessKey(negocio) + lib::padded(caja, 2);
}

struct Adjustments {
  std::string shortage, overage;
};

Adjustments adjustmentCodes(const std::string& negocio) {
  Adjustments a;
  lib::EACH_RECORD("F_HOTEL", "F_HOTEL", lib::businessKey(negocio), [&](const lib::WDBTable& h) {
    a.shortage = h.S("T_FALTANTE");
    a.overage = h.S("T_SOBRANTE");
  });
  return a;
}

// Each difference to the register folio: a shortage for its absolute value, an overage as
// it is, nothing for none.
void postDifferences(const std::string& negocio, const std::string& caja, const Period& start,
                     const std::vector<CountRow>& rows) {
  const Adjustments codes = adjustmentCodes(negocio);
  std::string folio;
  for (const CountRow& row : rows) {
    const Money difference = row.difference().rounded(2);
    if (difference.isZero()) continue;
    if (folio.empty()) folio = FOLIO_CAJA(negocio, caja, start);
    if (difference.negative())
      POSTEA_FOLIO(negocio, caja, folio, codes.shortage, difference.abs(), row.moneda, "Ajuste por faltante en caja");
    else
      POSTEA_FOLIO(negocio, caja, folio, codes.overage, difference, row.moneda, "Ajuste por sobrante en caja");
  }
}

void balance(lib::WDBTable& t, const std::string& negocio, const std::string& caja, const std::string& currency,
             Money amount, const Period& start, const Period& now) {
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars(negocio));
    t.FieldPut("CAJA", Value::chars(caja));
    t.FieldPut("MONEDA", Value::chars(currency));
    t.FieldPut("MONTO", amount);
    t.FieldPut("FECHA_INI", Value::date(start.date));
    t.FieldPut("HORA_INI", Value::chars(start.time));
    t.FieldPut("FECHA_FIN", Value::date(now.date));
    t.FieldPut("HORA_FIN", Value::chars(now.time));
    t.FieldPut("H_LIMITE", Value::chars(kHoraLimite));
    t.FieldPut("LIMITE", Value::date(fechaLimite()));
  });
}

Period periodStart(uint32_t recno) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(recno);
  Period start{periods->D("FECHA_INI"), periods->S("HORA_INI")};
  lib::KILLTABLA(periods);
  return start;
}

}  // namespace

uint32_t PERIODO_ABIERTO(const std::string& negocio, const std::string& caja) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ2");
  const uint32_t found = periods->Seek(registerKey(negocio, caja) + std::string(8, ' ')) ? periods->RecNo() : 0;
  lib::KILLTABLA(periods);
  return found;
}

std::vector<CountRow> SALDO_ESPERADO(const std::string& negocio, const std::string& caja, const Period& start) {
  std::vector<CountRow> rows;
  lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(negocio), [&](const lib::WDBTable& m) {
    rows.push_back({m.S("CODIGO"), m.S("SIMBOLO"), m.S("DESCRIP"), Money(), Money()});
  });
  auto rowOf = [&](const std::string& currency) -> CountRow* {
    for (CountRow& r : rows)
      if (lib::rtrim(r.moneda) == lib::rtrim(currency)) return &r;
    return nullptr;
  };
  // The previous period and the next one (a later start bounds the lines counted).
  const std::string key = registerKey(negocio, caja);
  const std::string startMoment = moment(start.date, start.time);
  std::string previous, later;
  lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ", key, [&](const lib::WDBTable& p) {
    const std::string at = moment(p.D("FECHA_INI"), p.S("HORA_INI"));
    if (at < startMoment) previous = at;
    if (at > startMoment && later.empty()) later = at;
  });
  if (!previous.empty())
    lib::EACH_RECORD("DET_HCA2", "DET_HCA2", key + previous, [&](const lib::WDBTable& b) {
      if (CountRow* row = rowOf(b.S("MONEDA"))) row->expected += b.M("MONTO");
    });
  std::vector<std::string> cashCodes;
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio), [&](const lib::WDBTable& t) {
    if (t.N("PIDE_CAJA") == 1 && t.N("NO_CAJA") == 0 && t.N("ES_TARJETA") == 0) cashCodes.push_back(t.S("CODIGO"));
  });
  auto lines = lib::USE(nullptr, "DET_FOL", "DET_FOL18");
  for (const std::string& code : cashCodes) {
    const std::string prefix = key + lib::padded(code, 4);
    lines->Seek(prefix + xbase::dtos(start.date), true);
    for (; !lines->Eof(); lines->Skip()) {
      if (registerKey(lines->S("NEGOCIO"), lines->S("CAJA")) + lib::padded(lines->S("COD_TRANS"), 4) != prefix) break;
      const std::string at = moment(lines->D("FECHA"), lines->S("HORA"));
      if (!later.empty() && at >= later) continue;
      if (at < startMoment) continue;
      if (lines->N("AJUSTE") != 0) continue;
      const Money credit = lines->M("OCREDITO");
      const Money amount = credit.isZero() ? -lines->M("ODEBITO") : credit;
      if (CountRow* row = rowOf(lines->S("OMONEDA"))) row->expected += amount;
    }
  }
  lib::KILLTABLA(lines);
  return rows;
}

void CIERRE_CON_ARQUEO(const std::string& negocio, const std::string& caja, uint32_t periodRecno,
                       const std::vector<CountRow>& rows, bool counted) {
  const Period start = periodStart(periodRecno);
  const Period now{lib::XDATE(), lib::XTIME()};
  auto balances = lib::USE(nullptr, "DET_HCA2", "DET_HCA2");
  for (const CountRow& row : rows)
    balance(*balances, negocio, caja, row.moneda, counted ? row.counted : row.expected, start, now);
  lib::KILLTABLA(balances);
  if (counted) postDifferences(negocio, caja, start, rows);
  FOLIO_CAJA(negocio, caja, start);

  CIERRA_CAJA(negocio, caja, periodRecno, now);
}

std::string ARQUEO_ADICIONAL(const std::string& negocio, const std::string& caja, uint32_t periodRecno,
                             const Period& from, const Period& to, const std::vector<CountRow>& rows) {
  const Period start = periodStart(periodRecno);
  if (from.date < start.date) return "La fecha no puede ser inferior a la fecha de cierre actual";
  if (from.date == start.date && lib::padded(from.time, 8) < lib::padded(start.time, 8))
    return "La hora no puede ser inferior a la hora de cierre actual";
  const Period now{lib::XDATE(), lib::XTIME()};
  auto headers = lib::USE(nullptr, "DET_HCA3", "DET_HCA3");
  lib::ADD(*headers, [&] {
    headers->FieldPut("NEGOCIO", Value::chars(negocio));
    headers->FieldPut("CAJA", Value::chars(caja));
    headers->FieldPut("FECHA_INI", Value::date(from.date));
    headers->FieldPut("HORA_INI", Value::chars(from.time));
    headers->FieldPut("FECHA_FIN", Value::date(to.date));
    headers->FieldPut("HORA_FIN", Value::chars(to.time));
  });
  lib::KILLTABLA(headers);
  auto amounts = lib::USE(nullptr, "DET_HCA4", "DET_HCA4");
  for (const CountRow& row : rows) balance(*amounts, negocio, caja, row.moneda, row.counted, from, now);
  lib::KILLTABLA(amounts);
  postDifferences(negocio, caja, start, rows);
  return "";
}

}  // namespace frontcash
