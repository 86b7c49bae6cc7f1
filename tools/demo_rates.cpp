#include "tools/demo_rates.h"

#include <array>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "lib/money.h"
#include "lib/rate_calendar.h"
#include "lib/text.h"
#include "rates/niveles.h"
#include "tools/demo_data.h"
#include "tools/demo_hotel.h"
#include "xbase/date.h"

namespace initdb {

using lib::Money;
using xbase::DbfTable;

namespace {

const std::string kGeneral(15, '*');

// Nightly price for two adults of each room type of the hotel (rack, middle season).
const std::map<std::string, int> kTwoAdults = {{"SGL", 85}, {"DBL", 110}, {"TRP", 135}, {"SUP", 150}, {"SUV", 185},
                                               {"FAM", 210}, {"JRS", 280}, {"MST", 650}};

// Rate types priced by period, with their share of the rack price.
struct RatePlan {
  const char* code;
  Money factor;
};
const RatePlan kPeriodRates[] = {{"RACK", Money::units(1)},           {"CORP", Money::millionths(850'000)},
                                 {"WEB", Money::millionths(920'000)},  {"PAQ", Money::millionths(1'300'000)},
                                 {"MAYO", Money::millionths(750'000)}, {"GOB", Money::millionths(800'000)}};

struct PeriodPlan {
  const char* descrip;
  int d1, m1, y1, d2, m2, y2;
  Money factor;
};
// The demo year, 16/12/2025 to 15/12/2026, by price period; "Semana Santa" lies inside the high
// season and, written first, wins where they overlap.
const PeriodPlan kYear[] = {
    {"Semana Santa 2026", 29, 3, 2026, 5, 4, 2026, Money::millionths(1'400'000)},
    {"Temporada Alta 2025-2026", 16, 12, 2025, 15, 4, 2026, Money::millionths(1'250'000)},
    {"Temporada Media Abril-Mayo", 16, 4, 2026, 15, 5, 2026, Money::units(1)},
    {"Temporada Baja", 16, 5, 2026, 30, 6, 2026, Money::millionths(850'000)},
    {"Verano 2026", 1, 7, 2026, 31, 8, 2026, Money::millionths(1'100'000)},
    {"Temporada Baja de Otoño", 1, 9, 2026, 15, 12, 2026, Money::millionths(850'000)},
};

std::string two(int n) {
  char t[8];
  std::snprintf(t, sizeof t, "%02d", n);
  return t;
}

std::string key(const std::string& s, size_t width) {
  return lib::padded(s, width);
}

// The record of `code` in business `negocio` on `tag`: reused when the earlier parts of the demo
// wrote it, appended otherwise (true then).
bool recordFor(DbfTable& t, const char* tag, const std::string& negocio, const std::string& code, size_t width) {
  t.setOrder(tag);
  if (t.seek(negocio + key(code, width))) return false;
  t.append();
  t.putString("NEGOCIO", negocio);
  t.putString("CODIGO", code);
  return true;
}

void putMoney(DbfTable& t, const std::string& field, Money m) {
  t.putNumber(field, m.rounded(2).number());
}

// The prices of one record from the price of two adults: by persons and by guest.
void putPrices(DbfTable& t, Money twoAdults) {
  const Money p = twoAdults.rounded(2);
  const Money byPersons[] = {p * Money::millionths(850'000), p, p * Money::millionths(1'300'000),
                             p * Money::millionths(1'550'000)};
  for (int n = 1; n <= 4; ++n) putMoney(t, "ADULT_" + std::to_string(n), byPersons[n - 1]);
  const Money children[] = {Money::units(25), Money::units(45), Money::units(60)};
  for (int n = 1; n <= 3; ++n) putMoney(t, "NINHO_" + std::to_string(n), children[n - 1]);
  putMoney(t, "ADULT_NORM", p / Money::units(2));
  putMoney(t, "ADULT_EXT", Money::units(35));
  putMoney(t, "NINHO_NORM", Money::units(20));
  putMoney(t, "NINHO_EXT", Money::units(15));
}

std::vector<std::string> roomTypes(const std::string& home, const std::string& negocio) {
  std::vector<std::string> types;
  auto t = openTable(home, "TIPO_ROM");
  t->setOrder("TIPO_ROM");
  for (t->seek(negocio, true); !t->eof() && t->getString("NEGOCIO") == negocio; t->skip(1))
    types.push_back(lib::rtrim(t->getString("CODIGO")));
  return types;
}

Money twoAdults(const std::string& tipo) {
  auto found = kTwoAdults.find(tipo);
  return Money::units(found == kTwoAdults.end() ? 100 : found->second);
}

// The meal-plan profiles; the transaction codes the breakdowns name (HOSP, ALIM, BEBI) are the
// cashier's demo's.
void mealPlans(const std::string& home) {
  auto m = openTable(home, "TIPO_AYB");
  for (const char* negocio : {"01", "02"})
    for (auto [code, descrip] : {std::pair{"DESA", "Desayuno Incluido"}, std::pair{"TODO", "Todo Incluido"}})
      if (recordFor(*m, "TIPO_AYB", negocio, code, 4)) m->putString("DESCRIP", descrip);
}

// Percentage (and a fixed) components per guest line.
void breakdowns(const std::string& home) {
  auto pct = openTable(home, "DET_RACK");
  auto fixed = openTable(home, "DET_RAK2");
  auto line = [&](const std::string& negocio, const std::string& rack, const std::string& especial,
                  const std::string& codigo, const std::string& trans, int porcentaje) {
    pct->append();
    pct->putString("NEGOCIO", negocio);
    pct->putString("RACK", rack);
    pct->putString("ESPECIAL", especial);
    pct->putString("CODIGO", codigo);
    pct->putString("COD_TRANS", trans);
    pct->putNumber("PORCENTAJE", porcentaje);
    pct->putNumber("IMPONIBLE", 100);
  };
  for (const char* codigo : {"01", "02", "03", "04"}) {
    for (const char* rack : {"RACK", "WEB", "MAYO", "GOB"}) line("01", rack, "", codigo, "HOSP", 100);
    line("02", "RACK", "", codigo, "HOSP", 100);
    const bool adult = std::string(codigo) < "03";
    line("01", "CORP", "", codigo, "HOSP", adult ? 88 : 100);
    if (adult) line("01", "CORP", "", codigo, "ALIM", 12);
    line("01", "PAQ", "", codigo, "HOSP", adult ? 55 : 40);
    line("01", "PAQ", "", codigo, "ALIM", adult ? 45 : 60);
  }
  for (const char* codigo : {"01", "02"}) {
    line("01", "PAQ", "SUIT", codigo, "HOSP", 50);
    line("01", "PAQ", "SUIT", codigo, "ALIM", 50);
  }
  fixed->append();
  fixed->putString("NEGOCIO", "01");
  fixed->putString("RACK", "PAQ");
  fixed->putString("CODIGO", "01");
  fixed->putString("COD_TRANS", "BEBI");
  fixed->putNumber("VALOR", 15);
  fixed->putNumber("IMPONIBLE", 100);
  fixed->putNumber("MONTO_BASE", 15);
  auto special = openTable(home, "ENC_RAC2");
  special->append();
  special->putString("NEGOCIO", "01");
  special->putString("CODIGO", "SUIT");
  special->putString("DESCRIP", "Paquete en Suites con Cena");
  special->putString("RACK", "PAQ");
  special->putString("TIPOS", "*JRS*MST*");
}

void rateTypes(const std::string& home) {
  auto t = openTable(home, "ENC_RACK");
  struct Setting {
    const char* code;
    const char* descrip;
    int calculo;
    const char* ayb;
    const char* factura;
  };
  for (const Setting& s : {Setting{"RACK", "Tarifa Rack", 1, "", "Hospedaje"},
                           Setting{"CORP", "Tarifa Corporativa", 1, "DESA", "Hospedaje Corporativo"},
                           Setting{"WEB", "Tarifa Internet", 1, "", "Hospedaje"},
                           Setting{"PAQ", "Paquete Todo Incluido", 0, "TODO", "Paquete Todo Incluido"},
                           Setting{"MAYO", "Tarifa Mayorista", 1, "", "Hospedaje"},
                           Setting{"GOB", "Tarifa Gobierno", 1, "", "Hospedaje"}}) {
    if (recordFor(*t, "ENC_RACK", "01", s.code, 4)) {
      t->putString("DESCRIP", s.descrip);
      t->putNumber("TIP_CAMBIO", 1);
      t->putNumber("COBRADO", 1);
      t->putNumber("EN_WALKIN", 1);
    }
    t->putNumber("CALCULO", s.calculo);
    t->putString("COD_AYB", s.ayb);
    t->putString("COMENT_FAC", s.factura);
    t->putString("ROT_CONF", s.descrip);
    t->putString("C_NOSHOW", "HOSP");
    t->putNumber("P_HOSP", 100);
    t->putNumber("P_INGR", 100);
    t->putNumber("COTIZA", 1);
  }
  if (recordFor(*t, "ENC_RACK", "01", "WEB", 4)) t->putString("DESCRIP", "Tarifa Internet");
  t->putString("TD_CAT", "DIN");
  t->putString("COMENTA", "Sigue los niveles de ocupación del verano (tarifa dinámica).");
  if (recordFor(*t, "ENC_RACK", "02", "RACK", 4)) t->putString("DESCRIP", "Tarifa Rack");
  t->putNumber("CALCULO", 1);
  t->putNumber("COBRADO", 1);
}

void subTypes(const std::string& home) {
  auto h = openTable(home, "ENC_TREL");
  auto d = openTable(home, "DET_TRL1");
  auto detail = [&](const std::string& code, const std::string& rack, const std::string& tipo, int kind, int a,
                    int n) {
    d->append();
    d->putString("NEGOCIO", "01");
    d->putString("CODIGO", code);
    d->putString("COD_RACK", rack);
    d->putString("TIPO_ROM", tipo);
    d->putNumber("TIPO", kind);
    d->putNumber("VALOR_A", a);
    d->putNumber("VALOR_N", n);
  };
  if (recordFor(*h, "ENC_TREL", "01", "CO10", 15)) h->putString("DESCRIP", "Corporativo 10% de descuento");
  if (recordFor(*h, "ENC_TREL", "01", "MY15", 15)) h->putString("DESCRIP", "Mayorista 15 menos por adulto");
  for (const std::string& tipo : roomTypes(home, "01")) {
    detail("CO10", "CORP", tipo, 0, 10, 0);
    detail("CO10", "RACK", tipo, 0, 10, 0);
    detail("MY15", "MAYO", tipo, 1, 15, 5);
  }
}

// Agencies of the demo: the wholesaler has its own prices and sub-type, the corporate account
// its discount, the online agency takes part in promotion 01.
void agencies(const std::string& home) {
  auto a = openTable(home, "AGENCIAS");
  struct Setting {
    const char* code;
    const char* descrip;
    int tarifaEsp;
    const char* trel;
    int promo1;
  };
  for (const Setting& s : {Setting{"TURISOL", "Turismo Solidario S.A.", 1, "MY15", 0},
                           Setting{"CORPTEC", "Corporación Tecnológica", 0, "CO10", 0},
                           Setting{"EXPEDIA", "Expedia", 0, "", 1}}) {
    if (recordFor(*a, "AGENCIAS", "01", s.code, 15)) a->putString("DESCRIP", s.descrip);
    a->putNumber("TARIFA_ESP", s.tarifaEsp);
    a->putString("COD_TREL", s.trel);
    a->putNumber("PROMO1", s.promo1);
  }
}

void seasons(const std::string& home, const std::string& negocio) {
  auto t = openTable(home, "TEMPORA");
  auto s = openTable(home, "SUBTEMPO");
  auto f = openTable(home, "FEC_TEMP");
  struct Season {
    const char* code;
    const char* descrip;
    std::vector<std::array<int, 4>> dates;  // day, month from; day, month to
  };
  const Season kSeasons[] = {{"AL", "Temporada Alta", {{15, 12, 15, 4}}},
                             {"MD", "Temporada Media", {{16, 4, 15, 5}, {1, 7, 31, 8}}},
                             {"BJ", "Temporada Baja", {{16, 5, 30, 6}, {1, 9, 14, 12}}}};
  for (const Season& season : kSeasons) {
    if (recordFor(*t, "TEMPORA", negocio, season.code, 2)) t->putString("DESCRIP", season.descrip);
    for (auto [code, descrip, first, last] : {std::tuple{"SE", "Entre Semana", 1, 5}, std::tuple{"FS", "Fin de Semana", 6, 7}}) {
      s->append();
      s->putString("NEGOCIO", negocio);
      s->putString("LINEA", season.code);
      s->putString("CODIGO", code);
      s->putString("DESCRIP", descrip);
      s->putNumber("DIAI", first);
      s->putNumber("DIAF", last);
      s->putNumber("COM_IND", 10);
      s->putNumber("COM_GRUP", 8);
    }
    for (const auto& d : season.dates) {
      f->append();
      f->putString("NEGOCIO", negocio);
      f->putString("CODIGO", season.code);
      f->putNumber("DIA_INI", d[0]);
      f->putNumber("MES_INI", d[1]);
      f->putNumber("DIA_FIN", d[2]);
      f->putNumber("MES_FIN", d[3]);
    }
  }
  // Season prices of the general tariff for the rack rate (and the corporate one in "01").
  auto p = openTable(home, "TIP_PREC");
  const std::pair<const char*, Money> kSeasonFactor[] = {
      {"AL", Money::millionths(1'250'000)}, {"MD", Money::units(1)}, {"BJ", Money::millionths(850'000)}};
  std::vector<std::pair<const char*, Money>> racks = {{"RACK", Money::units(1)}};
  if (negocio == "01") racks.push_back({"CORP", Money::millionths(850'000)});
  const std::vector<std::string> types = roomTypes(home, negocio);
  for (const auto& [rack, rackFactor] : racks)
    for (const auto& [season, seasonFactor] : kSeasonFactor)
      for (auto [sub, weekend] : {std::pair{"SE", false}, std::pair{"FS", true}})
        for (const std::string& tipo : types) {
          p->append();
          p->putString("NEGOCIO", negocio);
          p->putString("AGENCIA", kGeneral);
          p->putString("RACK", rack);
          p->putString("T_ROOM", tipo);
          p->putString("COD_TEMP", season);
          p->putString("DET_TEMP", sub);
          Money price = twoAdults(tipo) * rackFactor * seasonFactor;
          if (weekend) price = price * Money::millionths(1'100'000);
          putPrices(*p, price);
        }
}

void periodRecord(DbfTable& p, const std::string& agencia, const std::string& rack, const std::string& tipo,
                  const PeriodPlan& period, bool yearly, Money price, int levels = 0) {
  p.append();
  p.putString("NEGOCIO", "01");
  p.putString("AGENCIA", agencia);
  p.putString("RACK", rack);
  p.putString("T_ROOM", tipo);
  p.putString("DESCRIP", period.descrip);
  p.putNumber("CALC_TAR", 1);
  p.putNumber("RA_DEFECTO", yearly ? 1 : 0);
  p.putNumber("NIV_TARI", levels);
  const std::string y1 = yearly ? "" : std::to_string(period.y1), y2 = yearly ? "" : std::to_string(period.y2);
  p.putString("I_DIA", two(period.d1));
  p.putString("I_MES", two(period.m1));
  p.putString("I_ANHO", y1);
  p.putString("F_DIA", two(period.d2));
  p.putString("F_MES", two(period.m2));
  p.putString("F_ANHO", y2);
  p.putString("CODIGO", key(y1, 4) + two(period.m1) + two(period.d1) + key(y2, 4) + two(period.m2) + two(period.d2));
  putPrices(p, price);
}

void periods(const std::string& home) {
  auto p = openTable(home, "TIP_PREC");
  const std::vector<std::string> types = roomTypes(home, "01");
  for (const RatePlan& rate : kPeriodRates)
    for (const PeriodPlan& period : kYear) {
      const std::string rack = rate.code;
      // Government rates start with the calendar year: the last nights of 2025 have none.
      if (rack == "GOB" && period.y1 == 2025) continue;
      for (const std::string& tipo : types) {
        const bool levels = rack == "WEB" && std::string(period.descrip) == "Verano 2026";
        periodRecord(*p, kGeneral, rack, tipo, period, false, twoAdults(tipo) * rate.factor * period.factor, levels);
      }
    }
  // A yearly default period behind the rack rate's dated ones.
  const PeriodPlan yearly{"Tarifa Rack Anual", 1, 1, 0, 31, 12, 0, Money::units(1)};
  for (const std::string& tipo : types) periodRecord(*p, kGeneral, "RACK", tipo, yearly, true, twoAdults(tipo));
  // The wholesaler's own net prices in the high season and the summer; the other nights it
  // falls back to the general wholesale prices.
  for (const PeriodPlan& period : kYear) {
    const std::string name = period.descrip;
    if (name != "Temporada Alta 2025-2026" && name != "Verano 2026") continue;
    for (const std::string& tipo : types)
      periodRecord(*p, lib::padded("TURISOL", 15), "MAYO", tipo, period, false,
                   twoAdults(tipo) * Money::millionths(700'000) * period.factor);
  }
  // Promotion 01 of the Internet rate, May and the first half of June.
  for (const std::string& tipo : types) {
    p->append();
    p->putString("NEGOCIO", "01");
    p->putString("RACK", "WEB");
    p->putString("T_ROOM", tipo);
    p->putNumber("PROMOCION", 1);
    p->putString("COD_PROMO", "01");
    p->putString("I_DIA", "01");
    p->putString("I_MES", "05");
    p->putString("I_ANHO", "2026");
    p->putString("F_DIA", "15");
    p->putString("F_MES", "06");
    p->putString("F_ANHO", "2026");
    putPrices(*p, twoAdults(tipo) * Money::millionths(800'000));
  }
}

void dynamicRates(const std::string& home) {
  {
    auto c = openTable(home, "TD_CATS");
    c->append();
    c->putString("NEGOCIO", "01");
    c->putString("CODIGO", "DIN");
    c->putString("DESCRIP1", "Tarifas Dinámicas Internet");
    c->putString("DESCRIP2", "Tipos de tarifa vendidos por internet cuyo precio sigue los niveles de ocupación.");
    auto n = openTable(home, "ENC_NIV");
    for (auto [code, from, to, nights] :
         {std::tuple{"N1", 0, 60, 1}, std::tuple{"N2", 60, 85, 1}, std::tuple{"N3", 85, 100, 2}}) {
      n->append();
      n->putString("NEGOCIO", "01");
      n->putString("CODIGO", code);
      n->putNumber("P_OCUP1", from);
      n->putNumber("P_OCUP2", to);
      n->putNumber("MIN_NIGHT", nights);
      n->putNumber("MIN_ADULT", 1);
    }
    auto s = openTable(home, "TD_E_TEM");
    const int32_t from = xbase::julianFromYmd(2026, 7, 1), to = xbase::julianFromYmd(2026, 8, 31);
    const std::string code = xbase::dtos(from) + xbase::dtos(to);
    s->append();
    s->putString("NEGOCIO", "01");
    s->putString("COD_RACK", "WEB");
    s->putString("CODIGO", code);
    s->putString("DESCRIP", "Verano 2026");
    s->putDate("F_INICIO", from);
    s->putDate("F_FINAL", to);
    auto v = openTable(home, "TD_D_TEM");
    for (const std::string& tipo : roomTypes(home, "01")) {
      const Money base = twoAdults(tipo) * Money::millionths(1'012'000);  // 0.92 of the summer rack
      v->append();
      v->putString("NEGOCIO", "01");
      v->putString("COD_RACK", "WEB");
      v->putString("CODIGO", code);
      v->putString("TIPO_ROM", tipo);
      putMoney(*v, "VALOR", base);
      v->putNumber("TIPO", 1);
      putMoney(*v, "PISO", base * Money::millionths(800'000));
      putMoney(*v, "TECHO", base * Money::millionths(1'600'000));
      v->putNumber("REDONDEO", 3);
    }
  }
  rates::PeriodoNivel summer{kGeneral, "WEB", "01", "07", "2026", "31", "08", "2026"};
  rates::NIVELES_PERIODO("01", true, summer, xbase::julianFromYmd(2026, 7, 1), xbase::julianFromYmd(2026, 8, 31));
}

}  // namespace

void addRatesDemo(const std::string& home) {
  mealPlans(home);
  rateTypes(home);
  breakdowns(home);
  subTypes(home);
  agencies(home);
  for (const char* negocio : {"01", "02"}) seasons(home, negocio);
  periods(home);
  {
    auto h2 = openTable(home, "F_HOTEL2");
    h2->setOrder("F_HOTEL2");
    if (h2->seek("01")) h2->putNumber("CALC_TAR", 1);
  }
  dynamicRates(home);
}

}  // namespace initdb
