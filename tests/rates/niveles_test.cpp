// The level rows of a period with level analysis, on real tables: made for every date, room type
// and level, marked on the last level, refreshed in place, released when the period shrinks and
// taken again before new records are appended.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "lib/price_lookup.h"
#include "lib/rate_levels.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/niveles.h"
#include "rates/rates_folder.h"
#include "xbase/date.h"

using rates_testing::day;
using rates_testing::RatesFolder;
using rates_testing::V;

namespace {

const std::string kGeneral = lib::kTarifaGeneral;

struct Row {
  std::string negocio, nivel, tipPrec;
  int marcado = 0;
  double adult2 = 0, ocup2 = 0;
};

// The rows of the business (and the released ones) by room type, date and level.
std::map<std::tuple<std::string, int32_t, std::string>, Row> rows(bool released = false) {
  std::map<std::tuple<std::string, int32_t, std::string>, Row> out;
  auto t = lib::USE(nullptr, "NIV_TARI");
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    const bool isReleased = lib::padded(t->S("NEGOCIO"), 15) == lib::kNivelLiberado;
    if (isReleased != released) continue;
    out[{t->S("TIPO_ROM"), t->D("FECHA"), t->S("COD_NIVEL")}] = {t->S("NEGOCIO"), t->S("COD_NIVEL"), t->S("TIP_PREC"),
                                                                int(t->N("MARCADO")), t->N("ADULT2"), t->N("P_OCUP2")};
  }
  lib::KILLTABLA(t);
  return out;
}

uint32_t records() {
  auto t = lib::USE(nullptr, "NIV_TARI");
  const uint32_t n = t->LastRec();
  lib::KILLTABLA(t);
  return n;
}

class Niveles : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tipo : {"DBL", "SGL"}) RatesFolder::row("TIPO_ROM", {{"CODIGO", tipo}});
    for (auto [code, to] : {std::pair{"N1", 50}, std::pair{"N2", 80}, std::pair{"N3", 100}})
      RatesFolder::row("ENC_NIV", {{"CODIGO", code}, {"P_OCUP1", to - 30}, {"P_OCUP2", to}, {"MIN_NIGHT", 1}});
    RatesFolder::period(kGeneral, "WEB", "DBL", "01/03/2026", "31/03/2026", 60, 0, 0, 1);
  }
  static rates::PeriodoNivel march() { return {kGeneral, "WEB", "01", "03", "2026", "31", "03", "2026"}; }
  RatesFolder folder;
};

TEST_F(Niveles, EveryDateTypeAndLevelGetsARowAndOnlyTheLastLevelIsMarked) {
  std::vector<int32_t> told;
  rates::NIVELES_PERIODO("01", true, march(), day(1, 3, 2026), day(31, 3, 2026), 0, 0,
                         [&](int32_t fecha) { told.push_back(fecha); });
  auto made = rows();
  ASSERT_EQ(made.size(), 31u * 2 * 3);
  const Row& last = made[{"DBL", day(15, 3, 2026), "N3"}];
  EXPECT_EQ(last.marcado, 1);
  EXPECT_EQ(last.tipPrec, "GLOBAL2");
  EXPECT_EQ(last.adult2, 120);
  EXPECT_EQ(last.ocup2, 100);
  EXPECT_EQ((made[{"DBL", day(15, 3, 2026), "N1"}].marcado), 0);
  EXPECT_EQ((made[{"DBL", day(15, 3, 2026), "N2"}].ocup2), 80);
  // A room type without a record of the period gets zero prices.
  EXPECT_EQ((made[{"SGL", day(15, 3, 2026), "N3"}].adult2), 0);
  EXPECT_EQ(told, (std::vector<int32_t>{day(1, 3, 2026), day(21, 3, 2026)}));
  // The lookup reads the marked row.
  lib::C_PRECIO p("01", "WEB");
  EXPECT_EQ(p.PRECIO_NIVEL(day(15, 3, 2026), kGeneral, "DBL", lib::C_PRECIO::kAdulto, 2), lib::Money::units(120));
  // Without level analysis nothing is made.
  rates::NIVELES_PERIODO("01", false, march(), day(1, 4, 2026), day(30, 4, 2026));
  EXPECT_EQ(rows().size(), 31u * 2 * 3);
}

TEST_F(Niveles, ARowAlreadyThereKeepsItsMarkAndLevelDataAndTakesThePricesAgain) {
  rates::NIVELES_PERIODO("01", true, march(), day(1, 3, 2026), day(2, 3, 2026));
  {
    // The reservation programs moved the mark to N1 on the 1st and changed its bounds; the period's
    // price changed.
    auto t = lib::USE(nullptr, "NIV_TARI", "NIV_TARI11");
    const std::string dateKey = lib::CLAVE_NIVEL("01", kGeneral, "DBL", "WEB", day(1, 3, 2026));
    ASSERT_TRUE(t->Seek(dateKey + "N1  "));
    lib::MODIFY(*t, [&] {
      t->FieldPut("MARCADO", lib::Value::num(1));
      t->FieldPut("P_OCUP2", lib::Value::num(55));
      t->FieldPut("TIP_PREC", lib::Value::chars("OTRO"));
    });
    ASSERT_TRUE(t->Seek(dateKey + "N3  "));
    lib::MODIFY(*t, [&] { t->FieldPut("MARCADO", lib::Value::num(0)); });
    lib::KILLTABLA(t);
    auto p = lib::USE(nullptr, "TIP_PREC");
    p->GoTo(1);
    lib::MODIFY(*p, [&] { p->FieldPut("ADULT_2", lib::Value::num(150)); });
    lib::KILLTABLA(p);
  }
  const uint32_t before = records();
  rates::NIVELES_PERIODO("01", true, march(), day(1, 3, 2026), day(2, 3, 2026));
  EXPECT_EQ(records(), before);
  auto after = rows();
  const Row& n1 = after[{"DBL", day(1, 3, 2026), "N1"}];
  EXPECT_EQ(n1.marcado, 1);
  EXPECT_EQ(n1.ocup2, 55);
  EXPECT_EQ(n1.tipPrec, "GLOBAL2");
  EXPECT_EQ(n1.adult2, 150);
  EXPECT_EQ((after[{"DBL", day(1, 3, 2026), "N3"}].marcado), 0);
  EXPECT_EQ((after[{"DBL", day(2, 3, 2026), "N3"}].adult2), 150);
}

TEST_F(Niveles, AShortenedPeriodReleasesTheDatesItLeftAndTheNextRunTakesThemFirst) {
  rates::NIVELES_PERIODO("01", true, march(), day(1, 3, 2026), day(31, 3, 2026));
  const uint32_t full = records();
  rates::PeriodoNivel shorter{kGeneral, "WEB", "10", "03", "2026", "20", "03", "2026"};
  rates::NIVELES_PERIODO("01", true, shorter, day(10, 3, 2026), day(20, 3, 2026), day(1, 3, 2026), day(31, 3, 2026));
  auto kept = rows();
  EXPECT_EQ(kept.size(), 11u * 2 * 3);
  for (const auto& [key, row] : kept) {
    EXPECT_GE(std::get<1>(key), day(10, 3, 2026));
    EXPECT_LE(std::get<1>(key), day(20, 3, 2026));
  }
  EXPECT_EQ(rows(true).size(), 20u * 2 * 3);
  EXPECT_EQ(records(), full);
  // Five new dates take released rows: nothing is appended. A reused row that carried the last
  // level's mark and is now written for another level has none.
  rates::PeriodoNivel april{kGeneral, "WEB", "01", "04", "2026", "05", "04", "2026"};
  rates::NIVELES_PERIODO("01", true, april, day(1, 4, 2026), day(5, 4, 2026));
  EXPECT_EQ(records(), full);
  EXPECT_EQ(rows(true).size(), 15u * 2 * 3);
  auto now = rows();
  int marked = 0;
  for (int d = 1; d <= 5; ++d)
    for (const char* tipo : {"DBL", "SGL"})
      for (const char* nivel : {"N1", "N2", "N3"}) {
        auto found = now.find({tipo, day(d, 4, 2026), nivel});
        ASSERT_NE(found, now.end());
        EXPECT_EQ(found->second.marcado, std::string(nivel) == "N3" ? 1 : 0);
        marked += found->second.marcado;
      }
  EXPECT_EQ(marked, 10);
  // Once the released rows are used up, new records are appended.
  rates::PeriodoNivel may{kGeneral, "WEB", "01", "05", "2026", "31", "05", "2026"};
  rates::NIVELES_PERIODO("01", true, may, day(1, 5, 2026), day(31, 5, 2026));
  EXPECT_EQ(rows(true).size(), 0u);
  EXPECT_EQ(records(), full + (31u - 15u) * 2 * 3);
}

TEST_F(Niveles, ReleasingTouchesOnlyItsAgencyRateTypeAndRoomType) {
  rates::NIVELES_PERIODO("01", true, march(), day(1, 3, 2026), day(3, 3, 2026));
  rates::PeriodoNivel other{lib::padded("VIAJES", 15), "WEB", "01", "03", "2026", "31", "03", "2026"};
  rates::NIVELES_PERIODO("01", true, other, day(1, 3, 2026), day(3, 3, 2026));
  EXPECT_EQ(rates::LIBERA_NIVELES("01", kGeneral, "WEB", "DBL", day(2, 3, 2026), day(9, 3, 2026)), 2u * 3);
  // Both agencies' rows but the six released (rows() keys by type, date and level: count them).
  EXPECT_EQ(records() - rows(true).size(), 2u * (3 * 2 * 3) - 2 * 3);
  EXPECT_EQ(rows(true).size(), 6u);
  EXPECT_EQ(rates::LIBERA_NIVELES("01", kGeneral, "CORP", "DBL", day(1, 3, 2026), day(9, 3, 2026)), 0u);
}

}  // namespace
