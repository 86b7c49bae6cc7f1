// The source-of-business rebuild on the demo year: E_AGEN1 recomputed here straight from the
// reservation-day rows, figure by figure; a period run rebuilding its months only; the
// monthly tables summing the daily ones.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "lib/globals.h"
#include "lib/money.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "processes/source_of_business.h"
#include "support/demo_hotel_test.h"
#include "support/program_folder.h"
#include "xbase/date.h"

namespace {

using namespace processes;
using lib::Money;

struct Figures {
  Money prices[4], commission;
  double adults = 0, children = 0, free = 0, nights = 0;
  bool operator==(const Figures& o) const {
    for (int i = 0; i < 4; ++i)
      if (prices[i] != o.prices[i]) return false;
    return commission == o.commission && adults == o.adults && children == o.children && free == o.free &&
           nights == o.nights;
  }
};

std::string describe(const Figures& f) {
  std::ostringstream s;
  s << f.prices[0].text() << " " << f.prices[1].text() << " " << f.prices[2].text() << " " << f.prices[3].text()
    << " com " << f.commission.text() << " a" << f.adults << " n" << f.children << " g" << f.free << " noches "
    << f.nights;
  return s.str();
}

constexpr const char* kPrices[] = {"P_ADULT_R", "P_ADULT_E", "P_NINHO_R", "P_NINHO_E"};

// The first record's field, remembered (the tables read here do not change under the test).
std::string firstOf(const std::string& table, const std::string& tag, const std::string& key, const char* field) {
  static std::map<std::string, std::string> seen;
  static std::string folder;
  if (folder != lib::G().PATH) seen.clear(), folder = lib::G().PATH;
  const std::string id = table + "|" + key + "|" + field;
  if (auto it = seen.find(id); it != seen.end()) return it->second;
  std::string value;
  bool done = false;
  lib::EACH_RECORD(table, tag, key, [&](const lib::WDBTable& t) {
    if (!done) value = t.S(field);
    done = true;
  });
  return seen[id] = value;
}

// E_AGEN1 of business 01 as the rows say, computed apart: key -> figures.
std::map<std::string, Figures> expectedDaily(int32_t closing, int32_t from = 0, int32_t to = 0) {
  std::map<std::string, Figures> out;
  auto rows = lib::USE(nullptr, "DET_RES9");
  auto stays = lib::USE(nullptr, "DET_RES2", "DET_RES2");
  auto headers = lib::USE(nullptr, "ENC_RES", "ENC_RES");
  for (rows->GoTop(); !rows->Eof(); rows->Skip()) {
    if (rows->S("NEGOCIO") != "01") continue;
    const int32_t d = rows->D("FECHA");
    if ((from && d < from) || (to && d > to)) continue;
    const std::string res = rows->S("COD_RES");
    if (!headers->Seek("01" + lib::padded(res, 10))) continue;
    const bool stay = stays->Seek("01" + lib::padded(res, 10) + lib::padded(rows->S("COD_HAB"), 2) +
                                  lib::padded(rows->S("CODIGO"), 2));
    if (stay && (stays->D("F_FINAL") == d || stays->N("ESTADO") > 2)) continue;
    const std::string type =
        firstOf("DET_RES1", "DET_RES1", "01" + lib::padded(res, 10) + lib::padded(rows->S("COD_HAB"), 2), "TIPO_ROM");
    const std::string clase = firstOf("TIPO_ROM", "TIPO_ROM", "01" + lib::padded(type, 4), "CLASE");  // TIPO_STAT 1
    const std::string country = stay ? stays->S("PAIS") : "";
    const std::string region =
        country.empty() ? "" : firstOf("PAISES", "PAISES", "01" + lib::padded(country, 4), "REGION");
    const std::string key = lib::padded(headers->S("AGENCIA"), 15) + lib::padded(country, 4) + lib::padded(region, 4) +
                            lib::padded(headers->S("CLAS_1"), 4) + lib::padded(headers->S("CLAS_2"), 4) +
                            xbase::dtos(d) + lib::padded(headers->S("COD_RACK"), 4) + lib::padded(clase, 4);
    Figures& f = out[key];
    const bool past = d < closing;
    for (int i = 0; i < 4; ++i) f.prices[i] += past ? rows->M(kPrices[i]) : stay ? stays->M(kPrices[i]) : Money();
    const lib::WDBTable& guests = past ? *rows : *stays;
    if (past || stay) {
      f.adults += guests.N("N_ADULT");
      f.children += guests.N("N_NINHO");
      f.free += guests.N("N_GRATIS");
    }
    if (past) f.commission += rows->M("COMISION");
    f.nights += 1;
  }
  lib::KILLTABLA(rows);
  lib::KILLTABLA(stays);
  lib::KILLTABLA(headers);
  return out;
}

// What a source-of-business table holds for business 01: key -> figures.
std::map<std::string, Figures> stored(const std::string& table, bool daily) {
  std::map<std::string, Figures> out;
  lib::EACH_RECORD(table, "ORDEN11", "01", [&](const lib::WDBTable& t) {
    const std::string key = lib::padded(t.S("CODIGO"), 15) + lib::padded(t.S("PAIS"), 4) +
                            lib::padded(t.S("REGION"), 4) + lib::padded(t.S("CLAS_1"), 4) +
                            lib::padded(t.S("CLAS_2"), 4) +
                            (daily ? xbase::dtos(t.D("FECHA")) : t.S("ANHO") + t.S("MES")) +
                            lib::padded(t.S("TIPO_RES"), 4) + lib::padded(t.S("CLASE"), 4);
    Figures& f = out[key];
    for (int i = 0; i < 4; ++i) f.prices[i] += t.M(kPrices[i]);
    f.commission += t.M("COMISION");
    f.adults += t.N("N_ADULT");
    f.children += t.N("N_NINHO");
    f.free += t.N("N_GRATIS");
    f.nights += t.N("NOCHES");
  });
  return out;
}

// The daily figures summed by month, as the monthly table holds them.
std::map<std::string, Figures> byMonth(const std::map<std::string, Figures>& daily) {
  std::map<std::string, Figures> out;
  for (const auto& [key, f] : daily) {
    const std::string month = key.substr(0, 31) + key.substr(31, 6) + key.substr(39);
    Figures& m = out[month];
    for (int i = 0; i < 4; ++i) m.prices[i] += f.prices[i];
    m.commission += f.commission;
    m.adults += f.adults;
    m.children += f.children;
    m.free += f.free;
    m.nights += f.nights;
  }
  return out;
}

std::string differences(const std::map<std::string, Figures>& want, const std::map<std::string, Figures>& got) {
  std::string out;
  int shown = 0;
  for (const auto& [k, f] : want) {
    auto it = got.find(k);
    if (it == got.end())
      out += "falta " + k + "\n";
    else if (!(it->second == f))
      out += k + ": " + describe(it->second) + " en vez de " + describe(f) + "\n";
    else
      continue;
    if (++shown > 10) break;
  }
  for (const auto& [k, f] : got)
    if (!want.count(k) && shown++ < 20) out += "sobra " + k + "\n";
  return out;
}

class SourceOfBusiness : public testing_support::DemoHotelTest {
 protected:
  void SetUp() override {
    DemoHotelTest::SetUp();
    if (HasFatalFailure()) return;
    lib::EACH_RECORD("F_HOTEL", "F_HOTEL", "01", [&](const lib::WDBTable& h) { closing_ = h.D("CIERRE_DIA"); });
  }

  int32_t closing_ = 0;
};

TEST_F(SourceOfBusiness, TheFullRunGivesEveryFigureOfTheDayRows) {
  rooms::Progress quiet;
  const SourceResult r = ACTUALIZA_SOURCE("01", std::nullopt, quiet);
  EXPECT_TRUE(r.completed);
  const std::map<std::string, Figures> want = expectedDaily(closing_);
  ASSERT_GT(want.size(), 1000u);
  const std::map<std::string, Figures> daily = stored("E_AGEN1", true);
  EXPECT_TRUE(daily == want) << differences(want, daily);
  const std::map<std::string, Figures> monthly = stored("E_AGEN2", false);
  EXPECT_TRUE(monthly == byMonth(want)) << differences(byMonth(want), monthly);
  // By the agency's country the same nights and money, grouped otherwise.
  double nights = 0, nights3 = 0;
  for (const auto& [k, f] : daily) nights += f.nights;
  for (const auto& [k, f] : stored("E_AGEN3", true)) nights3 += f.nights;
  EXPECT_EQ(nights, double(r.nights));
  EXPECT_EQ(nights3, nights);
  // Run again: the same figures, not twice them.
  ACTUALIZA_SOURCE("01", std::nullopt, quiet);
  EXPECT_TRUE(stored("E_AGEN1", true) == want);
}

TEST_F(SourceOfBusiness, APeriodRebuildsItsMonthsAndLeavesTheOthersAsTheyWere) {
  rooms::Progress quiet;
  ACTUALIZA_SOURCE("01", std::nullopt, quiet);
  const xbase::Ymd c = xbase::ymdFromJulian(closing_);
  // A change to every past night's price: only the period's months take it.
  {
    auto rows = lib::USE(nullptr, "DET_RES9");
    for (rows->GoTop(); !rows->Eof(); rows->Skip())
      if (rows->S("NEGOCIO") == "01")
        lib::MODIFY(*rows, [&] { rows->FieldPut("P_ADULT_R", rows->M("P_ADULT_R") + Money::units(1)); });
    lib::KILLTABLA(rows);
  }
  const std::map<std::string, Figures> before = stored("E_AGEN1", true);
  const std::map<std::string, Figures> monthsBefore = stored("E_AGEN2", false);
  const MonthRange period{c.year - 1, 12, c.year, 1};  // December to January, across the new year
  const auto [from, to] = period.days();
  EXPECT_EQ(from, xbase::julianFromYmd(c.year - 1, 12, 1));
  EXPECT_EQ(to, xbase::julianFromYmd(c.year, 1, 31));
  ACTUALIZA_SOURCE("01", period, quiet);
  const std::map<std::string, Figures> after = stored("E_AGEN1", true);
  const std::map<std::string, Figures> want = expectedDaily(closing_, from, to);
  long inside = 0, outside = 0;
  for (const auto& [k, f] : after) {
    const int32_t d = xbase::julianFromDtos(k.substr(31, 8));
    if (d >= from && d <= to) {
      ++inside;
      EXPECT_TRUE(want.count(k) && want.at(k) == f) << k;
    } else {
      ++outside;
      EXPECT_TRUE(before.count(k) && before.at(k) == f) << k;
    }
  }
  EXPECT_GT(inside, 100);
  EXPECT_GT(outside, 100);
  for (const auto& [k, f] : stored("E_AGEN2", false)) {
    const std::string month = k.substr(31, 6);
    const bool in = month == std::to_string(c.year - 1) + "12" || month == std::to_string(c.year) + "01";
    if (!in) {
      EXPECT_TRUE(monthsBefore.count(k) && monthsBefore.at(k) == f) << k;
    }
  }
}

// One night of the beach hotel ("02", which has no reservations of its own): every figure of
// its four rows, by agency, guest's or agency's country and region, classifications, rate
// type and the room type's class; its departure-day row counts nowhere.
TEST_F(SourceOfBusiness, AOneNightStayOfTheBeachHotelIsExact) {
  const int32_t arrival = xbase::julianFromYmd(2026, 1, 10);
  auto add = [](const char* table, const std::function<void(lib::WDBTable&)>& fill) {
    auto t = lib::USE(nullptr, table);
    lib::ADD(*t, [&] { fill(*t); });
    lib::KILLTABLA(t);
  };
  auto chars = [](const char* text) { return lib::Value::chars(text); };
  add("ENC_RES", [&](lib::WDBTable& t) {
    t.FieldPut("NEGOCIO", chars("02"));
    t.FieldPut("CODIGO", chars("P0001"));
    t.FieldPut("AGENCIA", chars("EXPEDIA"));
    t.FieldPut("CLAS_1", chars("VAC"));
    t.FieldPut("CLAS_2", chars("IND"));
    t.FieldPut("COD_RACK", chars("RACK"));
  });
  add("DET_RES1", [&](lib::WDBTable& t) {
    t.FieldPut("NEGOCIO", chars("02"));
    t.FieldPut("COD_RES", chars("P0001"));
    t.FieldPut("COD_HAB", chars("01"));
    t.FieldPut("TIPO_ROM", chars("JRS"));
  });
  add("DET_RES2", [&](lib::WDBTable& t) {
    t.FieldPut("NEGOCIO", chars("02"));
    t.FieldPut("COD_RES", chars("P0001"));
    t.FieldPut("COD_HAB", chars("01"));
    t.FieldPut("CODIGO", chars("01"));
    t.FieldPut("ESTADO", lib::Value::num(2));
    t.FieldPut("F_INICIO", lib::Value::date(arrival));
    t.FieldPut("F_FINAL", lib::Value::date(arrival + 1));
    t.FieldPut("PAIS", chars("ESP"));
  });
  for (int32_t d : {arrival, arrival + 1})
    add("DET_RES9", [&](lib::WDBTable& t) {
      const bool night = d == arrival;
      t.FieldPut("NEGOCIO", chars("02"));
      t.FieldPut("FECHA", lib::Value::date(d));
      t.FieldPut("COD_RES", chars("P0001"));
      t.FieldPut("COD_HAB", chars("01"));
      t.FieldPut("CODIGO", chars("01"));
      t.FieldPut("TIPO_ROM", chars("JRS"));
      t.FieldPut("P_ADULT_R", lib::Value::num(night ? 150.25 : 999));
      t.FieldPut("P_ADULT_E", lib::Value::num(night ? 20.10 : 999));
      t.FieldPut("P_NINHO_R", lib::Value::num(night ? 30 : 999));
      t.FieldPut("P_NINHO_E", lib::Value::num(night ? 0.05 : 999));
      t.FieldPut("N_ADULT", lib::Value::num(2));
      t.FieldPut("N_NINHO", lib::Value::num(1));
      t.FieldPut("N_GRATIS", lib::Value::num(night ? 1 : 5));
      t.FieldPut("COMISION", lib::Value::num(night ? 27.04 : 999));
    });
  rooms::Progress quiet;
  ASSERT_TRUE(ACTUALIZA_SOURCE("02", std::nullopt, quiet).completed);

  // Table -> its rows of business 02, each as "key | figures".
  auto rows = [](const std::string& table, bool daily) {
    std::vector<std::string> out;
    lib::EACH_RECORD(table, "ORDEN11", "02", [&](const lib::WDBTable& t) {
      std::ostringstream line;
      line << lib::trim(t.S("CODIGO")) << " " << lib::trim(t.S("PAIS")) << " " << lib::trim(t.S("REGION")) << " "
           << lib::trim(t.S("CLAS_1")) << " " << lib::trim(t.S("CLAS_2")) << " "
           << (daily ? xbase::dtos(t.D("FECHA")) : t.S("ANHO") + t.S("MES")) << " " << lib::trim(t.S("TIPO_RES")) << " "
           << lib::trim(t.S("CLASE")) << " | " << t.M("P_ADULT_R").text() << " " << t.M("P_ADULT_E").text() << " "
           << t.M("P_NINHO_R").text() << " " << t.M("P_NINHO_E").text() << " a" << t.N("N_ADULT") << " n"
           << t.N("N_NINHO") << " g" << t.N("N_GRATIS") << " com " << t.M("COMISION").text() << " noches "
           << t.N("NOCHES") << " hab " << t.N("N_ROOMS");
      out.push_back(line.str());
    });
    return out;
  };
  const std::string figures = " | 150.25 20.10 30.00 0.05 a2 n1 g1 com 27.04 noches 1 hab 0";
  using Rows = std::vector<std::string>;
  EXPECT_EQ(rows("E_AGEN1", true), Rows{"EXPEDIA ESP EUR VAC IND 20260110 RACK SUI" + figures});
  EXPECT_EQ(rows("E_AGEN2", false), Rows{"EXPEDIA ESP EUR VAC IND 202601 RACK SUI" + figures});
  EXPECT_EQ(rows("E_AGEN3", true), Rows{"EXPEDIA USA AMN VAC IND 20260110 RACK SUI" + figures});
  EXPECT_EQ(rows("E_AGEN4", false), Rows{"EXPEDIA USA AMN VAC IND 202601 RACK SUI" + figures});
}

TEST(MonthRanges, EndOnTheLastDayAndRefuseWhatIsNoPeriod) {
  EXPECT_EQ((MonthRange{2030, 12, 2030, 12}.days()),
            std::make_pair(xbase::julianFromYmd(2030, 12, 1), xbase::julianFromYmd(2030, 12, 31)));
  EXPECT_EQ((MonthRange{2032, 2, 2032, 2}.days().second), xbase::julianFromYmd(2032, 2, 29));
  EXPECT_EQ((MonthRange{2030, 13, 2030, 12}.days().first), 0);
  EXPECT_EQ((MonthRange{2030, 5, 2030, 4}.days().first), 0);
}

}  // namespace
