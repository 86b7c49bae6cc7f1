// The corporate report on the demo year: STAT_TI2 and STAT_TI3 recomputed here straight from
// the availability rows and the reservation-day rows, STAT_TR1 and STAT_TR2 from folio lines
// the test posts (the demo year has none of its own), figure by figure; the months before the
// start and the second business unit left as they were; a day without rows keeping the
// month-to-date sums; a second run giving the same totals.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>

#include "lib/globals.h"
#include "lib/money.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "processes/corporate_report.h"
#include "support/demo_hotel_test.h"
#include "support/program_folder.h"
#include "xbase/date.h"

namespace {

using namespace processes;
using lib::Money;
using lib::Value;

constexpr const char* kSold[] = {"RESERVADO", "N_ADULT", "N_NINHO", "N_GRATIS"};
constexpr const char* kToDate[] = {"A_RESERV", "A_ADULT", "A_NINHO", "A_GRATIS"};

int32_t day(int d, int m, int y) {
  return xbase::julianFromYmd(y, m, d);
}

// One occupancy row: availability (monthly), the 16 counters (measure x source kind) and
// their month-to-date sums (daily).
struct Occupancy {
  double reservado = 0, total = 0;
  std::array<double, 16> sold{}, toDate{};
  bool operator==(const Occupancy&) const = default;
};

std::string describe(const Occupancy& o) {
  std::ostringstream s;
  s << "res " << o.reservado << " tot " << o.total << " |";
  for (double v : o.sold) s << " " << v;
  s << " | a";
  for (double v : o.toDate) s << " " << v;
  return s.str();
}

struct Revenue {
  Money monto;
  double contador = 0;
  bool operator==(const Revenue&) const = default;
};

template <typename Map, typename Describe>
std::string differences(const Map& want, const Map& got, Describe describe) {
  std::string out;
  int shown = 0;
  for (const auto& [k, v] : want) {
    auto it = got.find(k);
    if (it == got.end())
      out += "falta [" + k + "]\n";
    else if (!(it->second == v))
      out += "[" + k + "]: " + describe(it->second) + "\n   en vez de " + describe(v) + "\n";
    else
      continue;
    if (++shown > 10) return out;
  }
  for (const auto& [k, v] : got)
    if (!want.count(k) && shown++ < 20) out += "sobra [" + k + "]\n";
  return out;
}

std::string code(const lib::WDBTable& t, const char* field, size_t width) {
  return lib::padded(t.S(field), width);
}

std::string month(int32_t date) {
  const xbase::Ymd ymd = xbase::ymdFromJulian(date);
  return std::to_string(ymd.year) + (ymd.month < 10 ? "0" : "") + std::to_string(ymd.month);
}

// Every record of `table` (deleted ones hidden), in record order, whatever its indexes say.
template <typename F>
void eachRow(const std::string& table, F visit) {
  auto t = lib::USE(nullptr, table);
  for (t->GoTop(); !t->Eof(); t->Skip()) visit(*t);
  lib::KILLTABLA(t);
}

// What the tables of business `neg` hold: key -> figures.
std::map<std::string, Occupancy> storedMonths(const std::string& neg = "01") {
  std::map<std::string, Occupancy> out;
  eachRow("STAT_TI2", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") != neg) return;
    Occupancy& o = out[t.S("ANHO") + t.S("MES") + code(t, "CLASE", 4) + code(t, "TIPO_ROM", 4)];
    EXPECT_EQ(o, Occupancy()) << "dos filas " << t.S("ANHO") << t.S("MES") << t.S("CLASE") << t.S("TIPO_ROM");
    o.reservado = t.N("RESERVADO");
    o.total = t.N("TOTAL");
    for (int c = 0; c < 4; ++c)
      for (int k = 1; k <= 4; ++k) o.sold[size_t(c * 4 + k - 1)] = t.N(kSold[c] + std::to_string(k));
  });
  return out;
}

std::map<std::string, Occupancy> storedDays(const std::string& neg = "01") {
  std::map<std::string, Occupancy> out;
  eachRow("STAT_TI3", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") != neg) return;
    Occupancy& o = out[xbase::dtos(t.D("FECHA")) + code(t, "CLASE", 4) + code(t, "TIPO_ROM", 4)];
    EXPECT_EQ(o, Occupancy()) << "dos filas " << lib::DTOC(t.D("FECHA")) << t.S("CLASE") << t.S("TIPO_ROM");
    o.reservado = t.N("RESERVADO");
    o.total = t.N("TOTAL");
    for (int c = 0; c < 4; ++c)
      for (int k = 1; k <= 4; ++k) {
        o.sold[size_t(c * 4 + k - 1)] = t.N(kSold[c] + std::to_string(k));
        o.toDate[size_t(c * 4 + k - 1)] = t.N(kToDate[c] + std::to_string(k));
      }
  });
  return out;
}

std::map<std::string, Revenue> storedRevenue(const std::string& table, const std::string& neg = "01") {
  std::map<std::string, Revenue> out;
  eachRow(table, [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") != neg) return;
    const std::string when = table == "STAT_TR1" ? t.S("ANHO") + t.S("MES") : xbase::dtos(t.D("FECHA"));
    Revenue& r = out[when + code(t, "COD_TRANS", 4)];
    EXPECT_EQ(r, Revenue()) << "dos filas " << when << t.S("COD_TRANS");
    r = {t.M("MONTO"), t.N("CONTADOR")};
  });
  return out;
}

// The corporate report of business 01 from `start`, as the rows say, computed apart.
struct Expected {
  std::map<std::string, Occupancy> months, days;
  std::map<std::string, Revenue> revenueMonths, revenueDays;
};

Expected recompute(int32_t start, int32_t closing) {
  Expected e;
  // The master data of business 01 by code.
  std::map<std::string, std::string> headerRacks, lineTypes, typeClasses;
  struct Rack {
    std::string clase;
    int source = 0;
  };
  std::map<std::string, Rack> racks;
  std::map<std::string, std::pair<int, int32_t>> stays;  // state, departure
  int tipoStat = 0;
  eachRow("ENC_RES", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") headerRacks[code(t, "CODIGO", 10)] = t.S("COD_RACK");
  });
  eachRow("DET_RES1", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") lineTypes[code(t, "COD_RES", 10) + code(t, "COD_HAB", 2)] = t.S("TIPO_ROM");
  });
  eachRow("TIPO_ROM", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") typeClasses[t.S("CODIGO")] = t.S("CLASE");
  });
  eachRow("ENC_RACK", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") racks[t.S("CODIGO")] = {t.S("CLASE"), int(t.N("TIP_SOURCE"))};
  });
  eachRow("DET_RES2", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01")
      stays[code(t, "COD_RES", 10) + code(t, "COD_HAB", 2) + code(t, "CODIGO", 2)] = {int(t.N("ESTADO")),
                                                                                      t.D("F_FINAL")};
  });
  eachRow("F_HOTEL3", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") tipoStat = int(t.N("TIPO_STAT"));
  });

  eachRow("STAT_TIP", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") != "01" || t.D("FECHA") < start) return;
    const std::string ct = code(t, "CLASE", 4) + code(t, "TIPO_ROM", 4);
    Occupancy& m = e.months[month(t.D("FECHA")) + ct];
    m.reservado += t.N("RESERVADO");
    m.total += t.N("TOTAL");
    e.days[xbase::dtos(t.D("FECHA")) + ct];
  });
  eachRow("DET_RES9", [&](const lib::WDBTable& t) {
    const int32_t d = t.D("FECHA");
    if (t.S("NEGOCIO") != "01" || d < start || d >= closing) return;
    const std::string res = code(t, "COD_RES", 10), line = res + code(t, "COD_HAB", 2);
    if (auto s = stays.find(line + code(t, "CODIGO", 2)); s != stays.end()) {
      const auto [state, departure] = s->second;
      if (d == departure || state == 3 || state == 4 || state == 9) return;
    }
    auto h = headerRacks.find(res);
    if (h == headerRacks.end()) return;
    auto r = racks.find(h->second);
    if (r == racks.end() || r->second.source < 0 || r->second.source > 3) return;
    const std::string type = lineTypes.count(line) ? lineTypes[line] : "";
    const std::string clase = tipoStat == 1 ? (typeClasses.count(type) ? typeClasses[type] : "") : r->second.clase;
    const std::string ct = lib::padded(clase, 4) + lib::padded(type, 4);
    const size_t k = size_t(r->second.source);
    for (Occupancy* o : {&e.months[month(d) + ct], &e.days[xbase::dtos(d) + ct]}) {
      o->sold[0 + k] += 1;
      o->sold[4 + k] += t.N("N_ADULT");
      o->sold[8 + k] += t.N("N_NINHO");
      o->sold[12 + k] += t.N("N_GRATIS");
    }
  });
  // Month to date: the days' counters summed over the days of the month so far (keys sort by
  // date first, so each class and type meets its days in order).
  std::map<std::string, std::pair<std::string, std::array<double, 16>>> running;
  for (auto& [key, o] : e.days) {
    if (xbase::julianFromDtos(key.substr(0, 8)) >= closing) continue;
    auto& [m, sums] = running[key.substr(8)];
    if (m != key.substr(0, 6)) m = key.substr(0, 6), sums.fill(0);
    for (size_t i = 0; i < 16; ++i) o.toDate[i] = sums[i] += o.sold[i];
  }

  eachRow("DET_FOL", [&](const lib::WDBTable& t) {
    const int32_t d = t.D("CIERRE_DIA");
    if (t.S("NEGOCIO") != "01" || d < start || d >= closing || t.N("ANULA") == 1 || t.N("VOID") == 1) return;
    for (Revenue* r : {&e.revenueMonths[month(d) + code(t, "COD_TRANS", 4)],
                       &e.revenueDays[xbase::dtos(d) + code(t, "COD_TRANS", 4)]}) {
      r->monto += t.M("DEBITO") - t.M("CREDITO");
      r->contador += 1;
    }
  });
  return e;
}

// A folio line posted on business date `date`.
struct Posting {
  const char* negocio;
  int32_t date;
  const char* code;
  const char* debit;
  const char* credit;
  int anula = 0, voided = 0;
};

void post(const std::vector<Posting>& postings) {
  auto t = lib::USE(nullptr, "DET_FOL");
  int n = 0;
  for (const Posting& p : postings)
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars(p.negocio));
      t->FieldPut("NUMERO", Value::chars("T" + std::to_string(++n)));
      t->FieldPut("FECHA", Value::date(p.date));
      t->FieldPut("CIERRE_DIA", Value::date(p.date));
      t->FieldPut("COD_TRANS", Value::chars(p.code));
      t->FieldPut("DEBITO", *Money::parse(p.debit));
      t->FieldPut("CREDITO", *Money::parse(p.credit));
      t->FieldPut("ANULA", Value::num(p.anula));
      t->FieldPut("VOID", Value::num(p.voided));
    });
  lib::KILLTABLA(t);
}

// Rows of another business unit and of the month before the start, planted in each table.
void plantOthers(int32_t before, int32_t inside) {
  for (const char* neg : {"01", "02"}) {
    const int32_t d = std::string(neg) == "01" ? before : inside;
    auto ti2 = lib::USE(nullptr, "STAT_TI2");
    lib::ADD(*ti2, [&] {
      ti2->FieldPut("NEGOCIO", Value::chars(neg));
      ti2->FieldPut("ANHO", Value::chars(month(d).substr(0, 4)));
      ti2->FieldPut("MES", Value::chars(month(d).substr(4)));
      ti2->FieldPut("CLASE", Value::chars("STD"));
      ti2->FieldPut("TIPO_ROM", Value::chars("SGL"));
      ti2->FieldPut("RESERVADO", Value::num(7));
      ti2->FieldPut("N_ADULT2", Value::num(11));
    });
    auto ti3 = lib::USE(nullptr, "STAT_TI3");
    lib::ADD(*ti3, [&] {
      ti3->FieldPut("NEGOCIO", Value::chars(neg));
      ti3->FieldPut("FECHA", Value::date(d));
      ti3->FieldPut("CLASE", Value::chars("STD"));
      ti3->FieldPut("TIPO_ROM", Value::chars("SGL"));
      ti3->FieldPut("RESERVADO1", Value::num(3));
      ti3->FieldPut("A_RESERV1", Value::num(9));
    });
    auto tr1 = lib::USE(nullptr, "STAT_TR1");
    lib::ADD(*tr1, [&] {
      tr1->FieldPut("NEGOCIO", Value::chars(neg));
      tr1->FieldPut("ANHO", Value::chars(month(d).substr(0, 4)));
      tr1->FieldPut("MES", Value::chars(month(d).substr(4)));
      tr1->FieldPut("COD_TRANS", Value::chars("HAB"));
      tr1->FieldPut("MONTO", *Money::parse("123.45"));
      tr1->FieldPut("CONTADOR", Value::num(2));
    });
    auto tr2 = lib::USE(nullptr, "STAT_TR2");
    lib::ADD(*tr2, [&] {
      tr2->FieldPut("NEGOCIO", Value::chars(neg));
      tr2->FieldPut("FECHA", Value::date(d));
      tr2->FieldPut("COD_TRANS", Value::chars("HAB"));
      tr2->FieldPut("MONTO", *Money::parse("67.80"));
      tr2->FieldPut("CONTADOR", Value::num(1));
    });
    for (auto* t : {&ti2, &ti3, &tr1, &tr2}) lib::KILLTABLA(*t);
  }
}

class CorporateReport : public testing_support::DemoHotelTest {
 protected:
  void SetUp() override {
    DemoHotelTest::SetUp();
    if (HasFatalFailure()) return;
    lib::EACH_RECORD("F_HOTEL", "F_HOTEL", "01", [&](const lib::WDBTable& h) { closing_ = h.D("CIERRE_DIA"); });
    ASSERT_EQ(closing_, day(15, 1, 2026));
  }

  CorporateResult run(int year, int month) {
    rooms::Progress quiet;
    return ACTUALIZA_CORPORATIVO("01", year, month, quiet);
  }

  // Every table against the recomputation from `start`.
  void expectAsRecomputed(int32_t start) {
    const Expected want = recompute(start, closing_);
    EXPECT_TRUE(storedMonths() == want.months) << differences(want.months, storedMonths(), describe);
    EXPECT_TRUE(storedDays() == want.days) << differences(want.days, storedDays(), describe);
    auto money = [](const Revenue& r) { return r.monto.text() + " x" + std::to_string(int(r.contador)); };
    EXPECT_TRUE(storedRevenue("STAT_TR1") == want.revenueMonths)
        << differences(want.revenueMonths, storedRevenue("STAT_TR1"), money);
    EXPECT_TRUE(storedRevenue("STAT_TR2") == want.revenueDays)
        << differences(want.revenueDays, storedRevenue("STAT_TR2"), money);
  }

  int32_t closing_ = 0;
};

// Folio lines around the demo's closing day (15/01/2026): before the start, in December and
// January, on the closing day itself and after it, annulled and voided, and of business 02.
const std::vector<Posting> kPostings = {
    {"01", day(30, 11, 2025), "HAB", "500.00", "0"},   {"01", day(1, 12, 2025), "HAB", "100.00", "0"},
    {"01", day(1, 12, 2025), "HAB", "50.25", "0"},     {"01", day(1, 12, 2025), "EFE", "0", "150.25"},
    {"01", day(20, 12, 2025), "ALI", "33.10", "0"},    {"01", day(20, 12, 2025), "ALI", "0", "3.10"},
    {"01", day(31, 12, 2025), "HAB", "80.00", "0", 1}, {"01", day(31, 12, 2025), "HAB", "70.00", "0", 0, 1},
    {"01", day(14, 1, 2026), "HAB", "120.00", "0"},    {"01", day(15, 1, 2026), "HAB", "999.00", "0"},
    {"01", day(2, 2, 2026), "HAB", "999.00", "0"},     {"02", day(1, 12, 2025), "HAB", "40.00", "0"},
};

TEST_F(CorporateReport, TheDemoYearGivesEveryFigureOfTheRowsItIsBuiltFrom) {
  post(kPostings);
  const CorporateResult r = run(2025, 12);
  EXPECT_TRUE(r.completed);
  const Expected want = recompute(day(1, 12, 2025), closing_);
  // The demo's nights before the closing day and its availability of the whole year.
  EXPECT_GT(r.nights, 2000);
  EXPECT_GT(want.days.size(), 300u * 20);
  EXPECT_EQ(storedMonths().size(), want.months.size());
  expectAsRecomputed(day(1, 12, 2025));
  // The postings, worked out by hand: December and January up to the 14th, the closing day
  // and later, annulled and voided lines and business 02 left out.
  const std::map<std::string, Revenue> months = storedRevenue("STAT_TR1");
  EXPECT_EQ(months.at("202512HAB "), (Revenue{*Money::parse("150.25"), 2}));
  EXPECT_EQ(months.at("202512EFE "), (Revenue{*Money::parse("-150.25"), 1}));
  EXPECT_EQ(months.at("202512ALI "), (Revenue{*Money::parse("30.00"), 2}));
  EXPECT_EQ(months.at("202601HAB "), (Revenue{*Money::parse("120.00"), 1}));
  EXPECT_EQ(months.size(), 4u);
  EXPECT_EQ(storedRevenue("STAT_TR2").size(), 4u);
  EXPECT_EQ(r.lines, 6);
  // Running it again gives the same figures, not twice them.
  EXPECT_TRUE(run(2025, 12).completed);
  expectAsRecomputed(day(1, 12, 2025));
}

TEST_F(CorporateReport, AMonthToDateSumOfADayWithoutRowsGoesOn) {
  // No availability and no nights on 20/12/2025: that day has no STAT_TI3 rows, and the
  // sums of the 21st still hold the 16th to the 19th.
  const int32_t gap = day(20, 12, 2025);
  for (const char* table : {"STAT_TIP", "DET_RES9"}) {
    auto t = lib::USE(nullptr, table);
    for (t->GoTop(); !t->Eof(); t->Skip())
      if (t->D("FECHA") == gap) lib::MODIFY(*t, [&] { t->Delete(); });
    lib::KILLTABLA(t);
  }
  EXPECT_TRUE(run(2025, 12).completed);
  expectAsRecomputed(day(1, 12, 2025));
  const std::map<std::string, Occupancy> days = storedDays();
  bool sawGap = false, carried = false;
  for (const auto& [key, o] : days) {
    if (key.substr(0, 8) == xbase::dtos(gap)) sawGap = true;
    if (key.substr(0, 8) != xbase::dtos(gap + 1)) continue;
    for (size_t i = 0; i < 16; ++i) carried |= o.toDate[i] > o.sold[i];
  }
  EXPECT_FALSE(sawGap);
  EXPECT_TRUE(carried);
}

TEST_F(CorporateReport, TheMonthsBeforeTheStartAndOtherBusinessesKeepTheirRows) {
  post(kPostings);
  plantOthers(day(20, 11, 2025), day(20, 12, 2025));
  const auto monthsOf02 = storedMonths("02");
  const auto daysOf02 = storedDays("02");
  const auto tr1Of02 = storedRevenue("STAT_TR1", "02"), tr2Of02 = storedRevenue("STAT_TR2", "02");
  ASSERT_EQ(monthsOf02.size(), 1u);

  EXPECT_TRUE(run(2025, 12).completed);
  const auto december = storedDays();
  const auto decemberMonths = storedMonths();
  const auto decemberRevenue = storedRevenue("STAT_TR2");
  // November (business 01) is still there as planted.
  EXPECT_EQ(december.at("20251120STD SGL ").sold[0], 3);
  EXPECT_EQ(december.at("20251120STD SGL ").toDate[0], 9);
  EXPECT_EQ(decemberMonths.at("202511STD SGL ").reservado, 7);
  EXPECT_EQ(storedRevenue("STAT_TR1").at("202511HAB ").monto, *Money::parse("123.45"));
  EXPECT_EQ(decemberRevenue.at("20251120HAB ").monto, *Money::parse("67.80"));

  // A change in December's rows and a run from January: December stays as the first run left it.
  {
    auto t = lib::USE(nullptr, "DET_RES9");
    for (t->GoTop(); !t->Eof(); t->Skip())
      if (t->S("NEGOCIO") == "01") lib::MODIFY(*t, [&] { t->FieldPut("N_ADULT", Value::num(t->N("N_ADULT") + 1)); });
    lib::KILLTABLA(t);
  }
  post({{"01", day(10, 12, 2025), "HAB", "1.00", "0"}, {"01", day(10, 1, 2026), "HAB", "2.00", "0"}});
  EXPECT_TRUE(run(2026, 1).completed);
  const auto after = storedDays();
  const Expected january = recompute(day(1, 1, 2026), closing_);
  long decemberRows = 0, januaryRows = 0;
  for (const auto& [key, o] : after) {
    if (key < "20260101") {
      ++decemberRows;
      EXPECT_TRUE(december.count(key) && december.at(key) == o) << key;
    } else {
      ++januaryRows;
      EXPECT_TRUE(january.days.count(key) && january.days.at(key) == o) << key;
    }
  }
  for (const auto& [key, o] : december) {
    if (key < "20260101") {
      EXPECT_TRUE(after.count(key)) << "falta " << key;
    }
  }
  EXPECT_GT(decemberRows, 100);
  EXPECT_EQ(size_t(januaryRows), january.days.size());
  for (const auto& [key, o] : storedMonths()) {
    if (key < "202601") {
      EXPECT_TRUE(decemberMonths.at(key) == o) << key;
    }
  }
  const auto revenue = storedRevenue("STAT_TR2");
  EXPECT_EQ(revenue.at("20251201HAB ").monto, *Money::parse("150.25"));
  EXPECT_FALSE(revenue.count("20251210HAB "));
  EXPECT_EQ(revenue.at("20260110HAB ").monto, *Money::parse("2.00"));

  // Business 02 untouched throughout.
  EXPECT_TRUE(storedMonths("02") == monthsOf02);
  EXPECT_TRUE(storedDays("02") == daysOf02);
  EXPECT_TRUE(storedRevenue("STAT_TR1", "02") == tr1Of02);
  EXPECT_TRUE(storedRevenue("STAT_TR2", "02") == tr2Of02);
}

TEST_F(CorporateReport, TheRateTypeGivesTheClassAndSkippedStaysCountNowhere) {
  // Class from the rate type; one rate type out of the source kinds, one reservation's rate
  // type gone, one stay cancelled (state 3): the recomputation, which skips the same, agrees.
  {
    auto h3 = lib::USE(nullptr, "F_HOTEL3", "F_HOTEL3");
    ASSERT_TRUE(h3->Seek("01"));
    lib::MODIFY(*h3, [&] { h3->FieldPut("TIPO_STAT", Value::num(0)); });
    lib::KILLTABLA(h3);
  }
  std::string cancelled;
  {
    auto stays = lib::USE(nullptr, "DET_RES2");
    for (stays->GoTop(); !stays->Eof(); stays->Skip())
      if (stays->S("NEGOCIO") == "01" && stays->D("F_INICIO") < closing_ - 3 && stays->D("F_FINAL") > closing_) {
        cancelled = stays->S("COD_RES");
        lib::MODIFY(*stays, [&] { stays->FieldPut("ESTADO", Value::num(3)); });
        break;
      }
    lib::KILLTABLA(stays);
  }
  ASSERT_FALSE(cancelled.empty());
  std::vector<std::string> rackCodes;
  eachRow("ENC_RACK", [&](const lib::WDBTable& t) {
    if (t.S("NEGOCIO") == "01") rackCodes.push_back(t.S("CODIGO"));
  });
  ASSERT_GE(rackCodes.size(), 3u);
  {
    auto racks = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
    ASSERT_TRUE(racks->Seek("01" + lib::padded(rackCodes[0], 4)));
    lib::MODIFY(*racks, [&] { racks->FieldPut("TIP_SOURCE", Value::num(7)); });
    ASSERT_TRUE(racks->Seek("01" + lib::padded(rackCodes[1], 4)));
    lib::MODIFY(*racks, [&] { racks->Delete(); });
    lib::KILLTABLA(racks);
  }
  const CorporateResult r = run(2025, 12);
  EXPECT_TRUE(r.completed);
  expectAsRecomputed(day(1, 12, 2025));
  // Fewer nights than the rows before the closing day that are not departure days.
  EXPECT_GT(r.nights, 100);
  double sold = 0;
  for (const auto& [key, o] : storedMonths())
    for (int k = 0; k < 4; ++k) sold += o.sold[size_t(k)];
  EXPECT_EQ(sold, double(r.nights));
}

TEST_F(CorporateReport, AMonthThatIsNoneDoesNothing) {
  rooms::Progress quiet;
  EXPECT_EQ(ACTUALIZA_CORPORATIVO("01", 2025, 13, quiet).read, 0);
  EXPECT_EQ(ACTUALIZA_CORPORATIVO("01", 2025, 0, quiet).read, 0);
  EXPECT_TRUE(storedDays().empty());
}

// A progress window whose user stops the run after `rows` rows.
class StopAfter : public rooms::Progress {
 public:
  explicit StopAfter(int rows) : rows_(rows) {}
  bool CANPRINT() override { return rows_-- > 0; }

 private:
  int rows_;
};

TEST_F(CorporateReport, AStoppedRunSaysSoAndARunAfterItRebuildsTheWhole) {
  post(kPostings);
  StopAfter stop(5000);
  const CorporateResult stopped = ACTUALIZA_CORPORATIVO("01", 2025, 12, stop);
  EXPECT_FALSE(stopped.completed);
  EXPECT_EQ(stopped.read, 5000);
  EXPECT_TRUE(run(2025, 12).completed);
  expectAsRecomputed(day(1, 12, 2025));
}

}  // namespace
