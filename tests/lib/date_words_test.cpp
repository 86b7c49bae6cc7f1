// Days and months in words, dates with the month in words, and the calendar arithmetic of
// months and descending keys.
#include <gtest/gtest.h>

#include "lib/calendar.h"
#include "lib/date_words.h"
#include "xbase/date.h"

using namespace lib;

namespace {

int32_t day(int d, int m, int y) {
  return xbase::julianFromYmd(y, m, d);
}

}  // namespace

TEST(DateWords, DaysAndMonthsInBothFormsAndLanguages) {
  EXPECT_EQ(DIAS_EN_LETRAS(1), "DOMINGO");
  EXPECT_EQ(DIAS_EN_LETRAS(4), "MIERCOLES");
  EXPECT_EQ(DIAS_EN_LETRAS(7), "SABADO");
  EXPECT_EQ(DIAS_EN_LETRAS(7, 1), "SA");
  EXPECT_EQ(DIAS_EN_LETRAS(xbase::dayOfWeek(day(5, 9, 2024)), 1), "JU");
  EXPECT_EQ(MES_EN_LETRAS(9), "SETIEMBRE");
  EXPECT_EQ(MES_EN_LETRAS(9, 2), "SEPTEMBER");
  EXPECT_EQ(MES_EN_LETRAS(12, 2), "DECEMBER");
  EXPECT_EQ(MES_EN_LETRAS_CORTO(8), "AGO");
  EXPECT_EQ(MES_EN_LETRAS_CORTO(8, 2), "AUG");
  EXPECT_EQ(MES_EN_LETRAS_CORTO(1), "ENE");
  EXPECT_EQ(MES_EN_LETRAS_REPORTE(9), "Setiembre");
  EXPECT_EQ(MES_EN_LETRAS_REPORTE(13), "");
  for (const std::string& none : {DIAS_EN_LETRAS(0), DIAS_EN_LETRAS(8), DIAS_EN_LETRAS(3, 2), MES_EN_LETRAS(0),
                                  MES_EN_LETRAS(13, 2), MES_EN_LETRAS(5, 3), MES_EN_LETRAS_CORTO(-1)})
    EXPECT_EQ(none, "-----------");
}

TEST(DateWords, DatesWithTheMonthInWords) {
  const int32_t d = day(5, 9, 2024);
  EXPECT_EQ(DTOC2(d), "05/SEP/2024");
  EXPECT_EQ(DTOC2(d, 1), "05/SET/2024");
  EXPECT_EQ(DTOC2(d, 3), "05/09/2024");
  EXPECT_EQ(DTOC2(d, 0), "05/09/2024");
  EXPECT_EQ(DTOC2(day(31, 12, 1999), 2), "31/DEC/1999");
  EXPECT_EQ(DTOC2(0), "");
}

TEST(Calendar, MonthsBackAndForthKeepTheDayOrTakeTheMonthsLast) {
  EXPECT_EQ(LAST_DAY(day(10, 2, 2024)), day(29, 2, 2024));
  EXPECT_EQ(LAST_DAY(day(1, 2, 2026)), day(28, 2, 2026));
  EXPECT_EQ(LAST_DAY(day(31, 12, 2026)), day(31, 12, 2026));
  EXPECT_EQ(GOMONTH(day(31, 3, 2024), -1), day(29, 2, 2024));
  EXPECT_EQ(GOMONTH(day(31, 3, 2026), -1), day(28, 2, 2026));
  EXPECT_EQ(GOMONTH(day(31, 1, 2026), 1), day(28, 2, 2026));
  EXPECT_EQ(GOMONTH(day(15, 3, 2026), -14), day(15, 1, 2025));
  EXPECT_EQ(GOMONTH(day(30, 11, 2025), 3), day(28, 2, 2026));
  EXPECT_EQ(GOMONTH(day(15, 1, 2026), 0), day(15, 1, 2026));
  EXPECT_EQ(GOMONTH(0, 1), 0);
  EXPECT_EQ(LAST_DAY(0), 0);
}

TEST(Calendar, DescendingKeysSortTheLaterMomentFirst) {
  EXPECT_EQ(FECHA_LIMITE(), day(1, 1, 2090));
  const std::string k = NUM_INVERSO(day(31, 12, 2089), "23:59:58");
  EXPECT_EQ(k, "         1         1         1         2");
  EXPECT_LT(NUM_INVERSO(day(15, 1, 2026), "10:00:00"), NUM_INVERSO(day(15, 1, 2026), "09:59:59"));
  EXPECT_LT(NUM_INVERSO(day(16, 1, 2026), "00:00:00"), NUM_INVERSO(day(15, 1, 2026), "23:59:59"));
  EXPECT_EQ(NUM_INVERSO(day(1, 1, 2090), "9:5:7").substr(10), "        15        55        53");
}
