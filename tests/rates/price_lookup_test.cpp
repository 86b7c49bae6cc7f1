// The price lookup on small hotels of its own: seasons and sub-seasons, periods, promotions,
// agencies' own prices and sub-types, level rows with their base rate type and dynamic season.
#include <gtest/gtest.h>

#include "lib/dynamic_rate.h"
#include "lib/price_lookup.h"
#include "lib/rate_calendar.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/rates_folder.h"
#include "xbase/date.h"

using lib::C_PRECIO;
using lib::kTarifaGeneral;
using lib::Money;
using rates_testing::day;
using rates_testing::RatesFolder;

namespace {

Money m(const char* text) {
  return *Money::parse(text);
}

const std::string kViajes = lib::padded("VIAJES", 15);

class Lookup : public testing::Test {
 protected:
  void pricingBy(int calcTar) { RatesFolder::row("F_HOTEL2", {{"CALC_TAR", calcTar}}); }
  static void rack(const std::string& code, int calculo = 0, int calcTar = 0, const std::string& base = "",
                   int tipoBase = 0) {
    RatesFolder::row("ENC_RACK", {{"CODIGO", code},
                                  {"CALCULO", calculo},
                                  {"CALC_TAR", calcTar},
                                  {"RACK_BASE", base},
                                  {"TIPO_BASE", tipoBase}});
  }
  static void agency(const std::string& code, int tarifaEsp, const std::string& trel = "", int promo = 0) {
    RatesFolder::row("AGENCIAS", {{"CODIGO", code}, {"TARIFA_ESP", tarifaEsp}, {"COD_TREL", trel}});
    if (promo) {
      auto t = lib::USE(nullptr, "AGENCIAS", "AGENCIAS");
      t->Seek("01" + lib::padded(code, 15));
      lib::MODIFY(*t, [&] { t->FieldPut("PROMO" + std::to_string(promo), lib::Value::num(1)); });
      lib::KILLTABLA(t);
    }
  }
  RatesFolder folder;
};

// ---- The calendar rules ----

TEST(RateCalendar, YearlyRangesAcrossTheYearEndAndWeekRangesAcrossTheWeekEnd) {
  EXPECT_TRUE(lib::EN_RANGO_ANUAL(12, 31, 12, 15, 1, 15));
  EXPECT_TRUE(lib::EN_RANGO_ANUAL(1, 1, 12, 15, 1, 15));
  EXPECT_TRUE(lib::EN_RANGO_ANUAL(1, 15, 12, 15, 1, 15));
  EXPECT_FALSE(lib::EN_RANGO_ANUAL(1, 16, 12, 15, 1, 15));
  EXPECT_FALSE(lib::EN_RANGO_ANUAL(12, 14, 12, 15, 1, 15));
  EXPECT_TRUE(lib::EN_RANGO_ANUAL(6, 30, 6, 1, 6, 30));
  EXPECT_FALSE(lib::EN_RANGO_ANUAL(7, 1, 6, 1, 6, 30));
  // Friday to Monday holds Saturday and Sunday, not Wednesday.
  EXPECT_TRUE(lib::EN_DIAS_SEMANA(7, 6, 2));
  EXPECT_TRUE(lib::EN_DIAS_SEMANA(1, 6, 2));
  EXPECT_TRUE(lib::EN_DIAS_SEMANA(2, 6, 2));
  EXPECT_FALSE(lib::EN_DIAS_SEMANA(4, 6, 2));
  EXPECT_TRUE(lib::EN_DIAS_SEMANA(4, 2, 6));
  EXPECT_FALSE(lib::EN_DIAS_SEMANA(7, 2, 6));
}

TEST(RateCalendar, DateTextsWriteADateOrNone) {
  EXPECT_EQ(lib::FECHA_TEXTOS("05", "03", "2026"), day(5, 3, 2026));
  EXPECT_EQ(lib::FECHA_TEXTOS(" 5", "3 ", "2026"), day(5, 3, 2026));
  EXPECT_EQ(lib::FECHA_TEXTOS("31", "02", "2026"), 0);
  EXPECT_EQ(lib::FECHA_TEXTOS("01", "01", ""), 0);
  EXPECT_EQ(lib::FECHA_TEXTOS("a1", "01", "2026"), 0);
  EXPECT_EQ(lib::TEXTO_FECHA("5", 2), "05");
  EXPECT_EQ(lib::TEXTO_FECHA("123", 2), "12");
  EXPECT_EQ(lib::TEXTO_FECHA("", 2), "  ");
}

TEST(DynamicRate, RoundsToItsStepThenHoldsBetweenFloorAndCeiling) {
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.4567"), 0), m("123.4567"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.45"), 1), m("123.50"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.44"), 1), m("123.40"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.13"), 2), m("123.25"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.12"), 2), m("123.00"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.75"), 3), m("124.00"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.50"), 4), m("124.00"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.49"), 4), m("123.00"));
  EXPECT_EQ(lib::REDONDEA_DINAMICO(m("123.49"), 7), m("123.49"));
  const lib::ValoresDinamicos v{m("100"), m("199.80"), 3};
  EXPECT_EQ(lib::AJUSTA_DINAMICO(m("150.30"), v), m("150.50"));
  EXPECT_EQ(lib::AJUSTA_DINAMICO(m("80"), v), m("100"));
  // Rounded up past the ceiling, it is held at the ceiling.
  EXPECT_EQ(lib::AJUSTA_DINAMICO(m("199.76"), v), m("199.80"));
  EXPECT_EQ(lib::AJUSTA_DINAMICO(Money{}, v), Money{});
  EXPECT_EQ(lib::AJUSTA_DINAMICO(m("1000.20"), {Money{}, Money{}, 1}), m("1000.20"));
}

// ---- Seasons ----

TEST_F(Lookup, SeasonModeFindsSeasonSubSeasonAndTheirPrices) {
  pricingBy(0);
  rack("RACK");
  RatesFolder::row("TIPO_ROM", {{"CODIGO", "DBL"}, {"PORC_MIN", 80}});
  // FEC_TEMP2 tries the low season (from 16/01) first; the high season runs across the year end.
  RatesFolder::row("FEC_TEMP", {{"CODIGO", "AL"}, {"DIA_INI", 15}, {"MES_INI", 12}, {"DIA_FIN", 15}, {"MES_FIN", 1}});
  RatesFolder::row("FEC_TEMP", {{"CODIGO", "BJ"}, {"DIA_INI", 16}, {"MES_INI", 1}, {"DIA_FIN", 14}, {"MES_FIN", 12}});
  RatesFolder::row("SUBTEMPO", {{"LINEA", "AL"}, {"CODIGO", "FS"}, {"DIAI", 6}, {"DIAF", 2}});
  RatesFolder::row("SUBTEMPO", {{"LINEA", "AL"}, {"CODIGO", "SE"}, {"DIAI", 3}, {"DIAF", 5}});
  RatesFolder::price({{"AGENCIA", kTarifaGeneral}, {"RACK", "RACK"}, {"T_ROOM", "DBL"}, {"COD_TEMP", "AL"},
                      {"DET_TEMP", "FS"}, {"ADULT_NORM", 100}, {"ADULT_EXT", 40}, {"NINHO_NORM", 20},
                      {"NINHO_EXT", 10}, {"ADULT_2", 180}});
  C_PRECIO p("01", "RACK");
  EXPECT_FALSE(p.POR_PERIODOS());
  EXPECT_EQ(p.TEMPORADA(day(31, 12, 2026)), "AL");
  EXPECT_EQ(p.TEMPORADA(day(1, 1, 2030)), "AL");
  EXPECT_EQ(p.TEMPORADA(day(20, 6, 2026)), "BJ");
  EXPECT_EQ(p.SUBTEMPORADA("AL", 7), "FS");
  EXPECT_EQ(p.SUBTEMPORADA("AL", 1), "FS");
  EXPECT_EQ(p.SUBTEMPORADA("AL", 4), "SE");
  EXPECT_EQ(p.SUBTEMPORADA("BJ", 4), "");
  EXPECT_EQ(p.OBT_TARIFA(7, C_PRECIO::kAdulto, C_PRECIO::kRegular, "AL", "DBL", false, kTarifaGeneral, false, 0),
            m("100"));
  EXPECT_EQ(p.OBT_TARIFA(7, C_PRECIO::kNino, C_PRECIO::kExtra, "AL", "DBL", false, kTarifaGeneral, false, 0), m("10"));
  EXPECT_EQ(p.OBT_TARIFA(7, C_PRECIO::kAdulto, C_PRECIO::kRegular, "AL", "DBL", false, kTarifaGeneral, true, 2),
            m("180"));
  EXPECT_EQ(p.OBT_TARIFA(7, C_PRECIO::kAdulto, C_PRECIO::kRegular, "AL", "DBL", false, kTarifaGeneral, true, 11),
            Money{});
  EXPECT_EQ(p.OBT_TARIFA(7, C_PRECIO::kAdulto, C_PRECIO::kExtra, "AL", "DBL", true, kTarifaGeneral, false, 0),
            m("32"));
  // Wednesday's sub-season has no price record: 0.
  EXPECT_EQ(p.OBT_TARIFA(4, C_PRECIO::kAdulto, C_PRECIO::kRegular, "AL", "DBL", false, kTarifaGeneral, false, 0),
            Money{});
  // A Saturday in the high season, and one in the low season (no sub-season there).
  lib::PriceSet s = p.PRECIO_NOCHE(day(2, 1, 2027), "DBL", 2, 1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.grossAdult, m("100"));
  EXPECT_EQ(s.grossChild, m("20"));
  EXPECT_EQ(s.netTotal, m("120"));
  EXPECT_FALSE(p.PRECIO_NOCHE(day(20, 6, 2026), "DBL", 2, 0).found);
}

TEST_F(Lookup, AnAgencyWithoutSpecialPricesIsPricedFromTheGeneralTariff) {
  pricingBy(0);
  rack("RACK");
  agency("VIAJES", 0);
  agency("PROPIA", 1);
  RatesFolder::row("FEC_TEMP", {{"CODIGO", "AL"}, {"DIA_INI", 1}, {"MES_INI", 1}, {"DIA_FIN", 31}, {"MES_FIN", 12}});
  RatesFolder::row("SUBTEMPO", {{"LINEA", "AL"}, {"CODIGO", "TD"}, {"DIAI", 1}, {"DIAF", 7}});
  for (auto [agencia, price] : {std::pair{kTarifaGeneral, 100}, std::pair{kViajes, 70},
                                std::pair{lib::padded("PROPIA", 15), 60}})
    RatesFolder::price({{"AGENCIA", agencia}, {"RACK", "RACK"}, {"T_ROOM", "DBL"}, {"COD_TEMP", "AL"},
                        {"DET_TEMP", "TD"}, {"ADULT_NORM", price}});
  C_PRECIO viajes("01", "RACK", "VIAJES");
  EXPECT_EQ(viajes.AGENCIA_KEY(), kTarifaGeneral);
  EXPECT_EQ(viajes.PRECIO_NOCHE(day(3, 3, 2026), "DBL", 2, 0).grossAdult, m("100"));
  C_PRECIO propia("01", "RACK", "PROPIA ");
  EXPECT_EQ(propia.AGENCIA_KEY(), lib::padded("PROPIA", 15));
  EXPECT_EQ(propia.PRECIO_NOCHE(day(3, 3, 2026), "DBL", 2, 0).grossAdult, m("60"));
  C_PRECIO nadie("01", "RACK", "NOEXISTE");
  EXPECT_EQ(nadie.AGENCIA_KEY(), kTarifaGeneral);
}

// ---- Periods and promotions ----

TEST_F(Lookup, PeriodsTryPromotionsThenTheAgencysDatedAndDefaultPeriodsThenTheGeneralTariff) {
  pricingBy(1);
  rack("WEB");
  agency("VIAJES", 1, "", 7);
  agency("OTRA", 1);
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/01/2026", "31/12/2026", 50);
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/01", "31/12", 40);
  RatesFolder::period(kViajes, "WEB", "DBL", "01/03/2026", "31/03/2026", 30, 0, /*noAplica=*/1);
  RatesFolder::period(kViajes, "WEB", "DBL", "01/03/2026", "15/03/2026", 35);
  RatesFolder::period(kViajes, "WEB", "DBL", "01/12", "05/01", 45);
  // Promotion 07 in April.
  RatesFolder::price({{"RACK", "WEB"}, {"T_ROOM", "DBL"}, {"PROMOCION", 1}, {"COD_PROMO", "07"}, {"I_DIA", "01"},
                      {"I_MES", "04"}, {"I_ANHO", "2026"}, {"F_DIA", "30"}, {"F_MES", "04"}, {"F_ANHO", "2026"},
                      {"ADULT_2", 20}});
  C_PRECIO viajes("01", "WEB", "VIAJES");
  ASSERT_TRUE(viajes.POR_PERIODOS());
  // The N/A period is skipped: the next one holding the night wins.
  lib::PriceSet s = viajes.GET_TARIFA(day(10, 3, 2026), viajes.AGENCIA_KEY(), "DBL", 2, 0);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.grossAdult, m("70"));
  // No dated period of the agency: its default period.
  EXPECT_EQ(viajes.GET_TARIFA(day(2, 1, 2026), viajes.AGENCIA_KEY(), "DBL", 2, 0).grossAdult, m("90"));
  // Neither: the general tariff's dated period, before its default one.
  EXPECT_EQ(viajes.GET_TARIFA(day(20, 3, 2026), viajes.AGENCIA_KEY(), "DBL", 2, 0).grossAdult, m("100"));
  EXPECT_EQ(viajes.GET_TARIFA(day(20, 3, 2027), viajes.AGENCIA_KEY(), "DBL", 2, 0).grossAdult, m("80"));
  // The promotion it takes part in wins; another agency does not take part and is ignored.
  EXPECT_EQ(viajes.GET_TARIFA(day(10, 4, 2026), viajes.AGENCIA_KEY(), "DBL", 2, 0).grossAdult, m("20"));
  C_PRECIO otra("01", "WEB", "OTRA");
  EXPECT_EQ(otra.GET_TARIFA(day(10, 4, 2026), otra.AGENCIA_KEY(), "DBL", 2, 0).grossAdult, m("100"));
  // Another room type has nothing at all.
  lib::PriceSet none = viajes.GET_TARIFA(day(10, 3, 2026), viajes.AGENCIA_KEY(), "SGL", 2, 0);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.netTotal, Money{});
  // What holds a night, for the overlap check.
  EXPECT_EQ(viajes.PERIODOS_VIGENTES(day(1, 1, 2026), kTarifaGeneral, "DBL").size(), 2u);
  EXPECT_EQ(viajes.PERIODOS_VIGENTES(day(10, 3, 2026), kViajes, "DBL").size(), 1u);
}

TEST_F(Lookup, SubTypeOffsetsDiscountAndTheTotalNumberOfGuests) {
  pricingBy(1);
  rack("CORP");
  rack("NG", 0, 1);
  agency("PORC", 0, "P10");
  agency("ABSO", 0, "A15");
  RatesFolder::row("DET_TRL1", {{"CODIGO", "P10"}, {"COD_RACK", "CORP"}, {"TIPO_ROM", "DBL"}, {"TIPO", 0},
                                {"VALOR_A", 10}, {"VALOR_N", 50}});
  RatesFolder::row("DET_TRL1", {{"CODIGO", "A15"}, {"COD_RACK", "CORP"}, {"TIPO_ROM", "DBL"}, {"TIPO", 1},
                                {"VALOR_A", 15}, {"VALOR_N", 5}});
  RatesFolder::period(kTarifaGeneral, "CORP", "DBL", "01/01/2026", "31/12/2026", 55, 30);
  RatesFolder::price({{"AGENCIA", kTarifaGeneral}, {"RACK", "NG"}, {"T_ROOM", "DBL"}, {"CALC_TAR", 1},
                      {"I_DIA", "01"}, {"I_MES", "01"}, {"I_ANHO", "2026"}, {"F_DIA", "31"}, {"F_MES", "12"},
                      {"F_ANHO", "2026"}, {"ADULT_2", 100}, {"ADULT_3", 130}, {"NINHO_1", 25}});
  const int32_t d = day(1, 6, 2026);
  C_PRECIO porc("01", "CORP", "PORC");
  lib::PriceSet s = porc.GET_TARIFA(d, porc.AGENCIA_KEY(), "DBL", 2, 1, m("10"));
  EXPECT_EQ(s.grossAdult, m("99"));
  EXPECT_EQ(s.grossChild, m("15"));
  EXPECT_EQ(s.netAdult, m("89.10"));
  EXPECT_EQ(s.netChild, m("13.50"));
  EXPECT_EQ(s.netTotal, m("102.60"));
  C_PRECIO abso("01", "CORP", "ABSO");
  s = abso.GET_TARIFA(d, abso.AGENCIA_KEY(), "DBL", 2, 1);
  EXPECT_EQ(s.grossAdult, m("95"));
  EXPECT_EQ(s.grossChild, m("25"));
  // No agency: no sub-type.
  C_PRECIO walkIn("01", "CORP");
  EXPECT_EQ(walkIn.GET_TARIFA(d, kTarifaGeneral, "DBL", 2, 1).grossAdult, m("110"));
  // "Cálculo Tarifa según NG": two adults and a child are three guests, no child price.
  C_PRECIO ng("01", "NG");
  s = ng.GET_TARIFA(d, kTarifaGeneral, "DBL", 2, 1);
  EXPECT_EQ(s.grossAdult, m("130"));
  EXPECT_EQ(s.grossChild, Money{});
}

// ---- Level rows ----

class Levels : public Lookup {
 protected:
  using V = rates_testing::V;
  static void level(const std::string& rack, int32_t fecha, const std::string& nivel, int marked, double adult2,
                    double child1 = 0, const std::string& agencia = kTarifaGeneral) {
    RatesFolder::row("NIV_TARI", {{"AGENCIA", agencia},
                                  {"COD_RACK", rack},
                                  {"TIPO_ROM", "DBL"},
                                  {"FECHA", V::date(fecha)},
                                  {"COD_NIVEL", nivel},
                                  {"MARCADO", marked},
                                  {"ADULT2", adult2},
                                  {"NINHO1", child1}});
  }
};

TEST_F(Levels, APeriodWithLevelAnalysisReadsTheMarkedRowOfTheNight) {
  pricingBy(1);
  rack("WEB");
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/07/2026", "31/07/2026", 50, 0, 0, /*levels=*/1);
  level("WEB", day(2, 7, 2026), "N1", 0, 100);
  level("WEB", day(2, 7, 2026), "N2", 1, 140, 30);
  C_PRECIO p("01", "WEB");
  lib::PriceSet s = p.GET_TARIFA(day(2, 7, 2026), kTarifaGeneral, "DBL", 2, 1);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.grossAdult, m("140"));
  EXPECT_EQ(s.grossChild, m("30"));
  // A night of the period without a level row prices at 0.
  s = p.GET_TARIFA(day(3, 7, 2026), kTarifaGeneral, "DBL", 2, 0);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.grossAdult, Money{});
  EXPECT_EQ(p.PRECIO_NIVEL(day(2, 7, 2026), kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 11), Money{});
}

TEST_F(Levels, ARateTypeWithABaseDerivesItsLevelFromTheBasesAndIsHeldByItsDynamicSeason) {
  pricingBy(1);
  rack("BASE");
  rack("PCT", 0, 0, "BASE", 0);
  rack("MTO", 0, 0, "BASE", 1);
  agency("CORP", 0, "P10");
  RatesFolder::row("DET_TRL1", {{"CODIGO", "P10"}, {"COD_RACK", "PCT"}, {"TIPO_ROM", "DBL"}, {"TIPO", 0},
                                {"VALOR_A", 10}, {"VALOR_N", 0}});
  const int32_t d = day(2, 7, 2026), other = day(3, 7, 2026);
  level("BASE", d, "N1", 1, 200, 40);
  level("PCT", d, "N1", 1, 10.13, 10);
  level("MTO", d, "N1", 1, 25);
  level("MTO", other, "N1", 1, 25);  // the base has no row that night
  C_PRECIO pct("01", "PCT");
  // 200 x (100 + 10.13) / 100 = 220.26; children's price 40 x 110 / 100.
  EXPECT_EQ(pct.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), m("220.26"));
  EXPECT_EQ(pct.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kNino, 1), m("44"));
  C_PRECIO mto("01", "MTO");
  EXPECT_EQ(mto.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), m("225"));
  EXPECT_EQ(mto.PRECIO_NIVEL(other, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), Money{});

  // The dynamic season of PCT rounds to .50 and holds the adults' price under 220.
  RatesFolder::row("TD_E_TEM", {{"COD_RACK", "PCT"}, {"CODIGO", "2026070120260731"}, {"F_INICIO", V::date(day(1, 7, 2026))},
                                {"F_FINAL", V::date(day(31, 7, 2026))}});
  RatesFolder::row("TD_D_TEM", {{"COD_RACK", "PCT"}, {"CODIGO", "2026070120260731"}, {"TIPO_ROM", "DBL"},
                                {"PISO", 150}, {"TECHO", 220}, {"REDONDEO", 3}});
  EXPECT_EQ(pct.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), m("220"));
  EXPECT_EQ(pct.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kNino, 1), m("44"));
  RatesFolder::row("NIV_TARI", {{"AGENCIA", kTarifaGeneral}, {"COD_RACK", "PCT"}, {"TIPO_ROM", "DBL"},
                                {"FECHA", V::date(d)}, {"COD_NIVEL", "N0"}, {"MARCADO", 0}, {"ADULT1", 1}});
  // Another row of the night that is not marked changes nothing; the agency's sub-type comes
  // last, after the season held the price.
  C_PRECIO corp("01", "PCT", "CORP");
  EXPECT_EQ(corp.PRECIO_NIVEL(d, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), m("198"));
  // Below the floor: 113.60 x 110.13 / 100 = 125.107..., rounded to 125, held up to 150.
  level("BASE", other, "N1", 1, 113.60);
  level("PCT", other, "N1", 1, 10.13);
  EXPECT_EQ(pct.PRECIO_NIVEL(other, kTarifaGeneral, "DBL", C_PRECIO::kAdulto, 2), m("150"));
}

TEST_F(Levels, TheTraceNamesTheWinnerAndWhyTheOthersLost) {
  pricingBy(1);
  rack("WEB");
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/01/2026", "31/12/2026", 50, 0, /*noAplica=*/1);
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/06/2026", "30/06/2026", 60);
  RatesFolder::period(kTarifaGeneral, "WEB", "DBL", "01/06/2026", "31/12/2026", 70);
  C_PRECIO p("01", "WEB");
  lib::PriceTrace trace;
  lib::PriceSet s = p.PRECIO_NOCHE(day(10, 6, 2026), "DBL", 2, 0, {}, &trace);
  EXPECT_EQ(s.grossAdult, m("120"));
  std::string all;
  for (const std::string& line : trace.lines) all += line + "\n";
  EXPECT_NE(all.find("marcado N/A, se salta"), std::string::npos) << all;
  EXPECT_NE(all.find("01/06/2026 a 30/06/2026: contiene la noche: gana"), std::string::npos) << all;
  EXPECT_NE(all.find("también contiene la noche, pero otro ganó antes"), std::string::npos) << all;
  // The trace changes nothing.
  EXPECT_EQ(p.PRECIO_NOCHE(day(10, 6, 2026), "DBL", 2, 0).grossAdult, m("120"));
}

}  // namespace
