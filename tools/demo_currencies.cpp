#include "tools/demo_currencies.h"

#include <cstdint>
#include <vector>

#include "lib/money.h"
#include "lib/program_time.h"
#include "tools/demo_data.h"
#include "xbase/date.h"

namespace initdb {

namespace {

using xbase::DbfTable;

struct Currency {
  const char *code, *name, *symbol, *abbreviation;
  const char *minimum, *rounding;  // lowest rate an operator may type; balance rounding
};

// The codes and names the parameter part of the demo lists as well.
const Currency kCurrencies[] = {{"01", "Colones", "¢", "CRC", "0", "5"},
                                {"02", "Dólares Americanos", "$", "USD", "450", "0.01"},
                                {"03", "Euros", "€", "EUR", "0", "0.01"}};

// A pair and its daily rates: one unit of `second` is worth about `base` units of `first`,
// moving within ±`swing` over the year, quoted in steps of `step`; slot 2 is the selling
// rate, `spread` above slot 1, and the other slots are not used.
struct Pair {
  const char *first, *second, *text, *projected;
  int64_t base, swing, spread, step;  // hundred-thousandths
};

lib::Money hundredThousandths(int64_t n) {
  return lib::Money::millionths(n * 10);
}

// A record of `code` of the business: the one the parameter demo wrote, or a new one.
void goToCurrency(DbfTable& t, const std::string& negocio, const std::string& code) {
  t.setOrder("MONEDAS");
  if (t.seek(negocio + code)) return;
  t.append();
  t.putString("NEGOCIO", negocio);
  t.putString("CODIGO", code);
}

void addCurrencies(const std::string& home, const std::string& negocio) {
  auto t = openTable(home, "MONEDAS");
  for (const Currency& c : kCurrencies) {
    goToCurrency(*t, negocio, c.code);
    t->putString("DESCRIP", c.name);
    t->putString("SIMBOLO", c.symbol);
    t->putString("SIGLAS", c.abbreviation);
    t->put("CAMBIO_MIN", xbase::Value::num(lib::Money::parse(c.minimum)->number()));
    t->putNumber("NEGATIVO", 0);
    t->putString("EQUIVAL", c.code);
    t->put("SAL_CXP", xbase::Value::num(lib::Money::parse(c.rounding)->number()));
    t->put("SAL_CXC", xbase::Value::num(lib::Money::parse(c.rounding)->number()));
  }
}

// A triangle wave over the year with a weekly ripple, in hundred-thousandths.
int64_t drift(int day, int64_t swing) {
  const int phase = day % 182;
  const int64_t triangle = phase < 91 ? phase : 182 - phase;  // 0 .. 91 .. 0
  const int64_t ripple = (day * 37) % 7 - 3;                  // -3 .. 3
  return swing * (2 * triangle - 91) / 91 + ripple * swing / 40;
}

void addPairs(const std::string& home, const std::string& negocio, const std::vector<Pair>& pairs) {
  auto det = openTable(home, "DET_MON");
  auto rates = openTable(home, "T_CAMBIO");
  const int32_t first = xbase::julianFromYmd(2025, 12, 16), last = xbase::julianFromYmd(2026, 12, 15);
  const int32_t limite = xbase::julianFromYmd(2090, 1, 1);
  for (const Pair& p : pairs) {
    det->append();
    det->putString("NEGOCIO", negocio);
    det->putString("MONEDA_1", p.first);
    det->putString("MONEDA_2", p.second);
    det->putString("DESCRIP", p.text);
    det->put("PROYECTA", xbase::Value::num(lib::Money::parse(p.projected)->number()));
    for (int32_t d = first; d <= last; ++d) {
      const int64_t buying = (p.base + drift(int(d - first), p.swing)) / p.step * p.step;
      rates->append();
      rates->putString("NEGOCIO", negocio);
      rates->putString("MONEDA1", p.first);
      rates->putString("MONEDA2", p.second);
      rates->putDate("FECHA", d);
      rates->putDate("LIMITE", limite);
      rates->put("CAMBIO", xbase::Value::num(hundredThousandths(buying).number()));
      rates->put("CAMBIO2", xbase::Value::num(hundredThousandths(buying + p.spread).number()));
      for (const char* unused : {"CAMBIO3", "CAMBIO4", "CAMBIO5"}) rates->putNumber(unused, 0);
      rates->putString("USUARIO", "ADM");
      rates->putString("INFO_USER", "configura-initdb / DEMO " + lib::DTOC(d) + " 08:00:00");
    }
  }
}

// The business's accounting currency, its exchange-rate handling and its review range.
void setBusiness(const std::string& home, const std::string& negocio, const char* accounting, int manejo, int checkMon,
                 int cantMon) {
  auto t = openTable(home, "NEGOCIOS");
  t->setOrder("NEGOCIOS");
  if (!t->seek(negocio)) return;
  t->putString("MONEDA_CON", accounting);
  t->putNumber("MANEJO_TC", manejo);
  t->putNumber("CHECK_MON", checkMon);
  t->putNumber("CANT_MON", cantMon);
}

}  // namespace

void addCurrencyDemo(const std::string& home) {
  // The city hotel keeps its accounts in colones, with the dollar and the euro priced in
  // colones; rates older than a week are stale.
  addCurrencies(home, "01");
  addPairs(home, "01",
           {{"01", "02", "Dólares Americanos   ($)", "0.0500", 50512000, 900000, 600000, 1000},
            {"01", "03", "Euros   (€)", "0", 54830000, 1200000, 1500000, 1000}});
  setBusiness(home, "01", "01", 0, 1, 7);
  // The beach hotel keeps them in dollars, its colones still priced in colones per dollar
  // and the euro in dollars: colones come into its accounts through the reverse of their
  // pair; rates older than a month are stale.
  addCurrencies(home, "02");
  addPairs(home, "02",
           {{"01", "02", "Dólares Americanos   ($)", "0", 50512000, 900000, 600000, 1000},
            {"02", "03", "Euros   (€)", "0", 108550, 2500, 1200, 10}});
  setBusiness(home, "02", "02", 1, 0, 1);
}

}  // namespace initdb
