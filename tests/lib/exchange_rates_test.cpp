// The conversion routines on a real rate table: the rate effective on a date, direct and
// reverse pairs with their signs, slots, projection, business units kept apart, the table
// left as it was, and amounts carried back and forth through a stored rate without a loss.
#include <gtest/gtest.h>

#include "lib/catalogue.h"
#include "lib/exchange_rates.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ProgramFolder;
using Source = ExchangeFactor::Source;

namespace {

Money m(const char* text) {
  return Money::parse(text).value();
}

int32_t day(int d, int mo, int y) {
  return xbase::julianFromYmd(y, mo, d);
}

// A program folder with empty currency and rate tables; today is 15/01/2026.
class Rates : public ::testing::Test {
 protected:
  Rates() {
    for (const char* name : {"T_CAMBIO", "MONEDAS"}) {
      const CatalogueTable* t = Catalogue::builtIn().find(name);
      xbase::DbfTable::create(p.bases(std::string(name) + ".DBF"), t->fields, t->tags);
    }
    rates = USE(nullptr, "T_CAMBIO", "T_CAMBIO");
  }

  // One unit of `m2` is worth `cambio` units of `m1` from `fecha` on.
  void rate(const std::string& m1, const std::string& m2, int32_t fecha, const char* cambio, const char* cambio2 = "0",
            const std::string& negocio = "01") {
    ADD(*rates, [&] {
      rates->FieldPut("NEGOCIO", Value::chars(negocio));
      rates->FieldPut("MONEDA1", Value::chars(m1));
      rates->FieldPut("MONEDA2", Value::chars(m2));
      rates->FieldPut("FECHA", Value::date(fecha));
      rates->FieldPut("LIMITE", Value::date(day(1, 1, 2090)));
      rates->FieldPut("CAMBIO", m(cambio));
      rates->FieldPut("CAMBIO2", m(cambio2));
    });
  }

  ExchangeFactor spec(const std::string& from, const std::string& to, int32_t fecha, int slot = 1) {
    return CAMBIO_SPEC("01", *rates, from, to, fecha, slot);
  }

  ProgramFolder p;
  std::unique_ptr<WDBTable> rates;
};

}  // namespace

TEST_F(Rates, ACurrencyIntoItselfIsOneEvenWithoutRates) {
  const ExchangeFactor f = spec("02", "02", day(3, 3, 2025));
  EXPECT_EQ(f.source, Source::Same);
  EXPECT_EQ(f.factor(), Money::units(1));
  EXPECT_EQ(f.fecha, day(3, 3, 2025));
  EXPECT_EQ(f.convert(m("12.34")), m("12.34"));
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "02", "02", day(3, 3, 2025)), Money::units(1));
  EXPECT_EQ(CFECHA_ACT("01", *rates, "02", "02"), day(15, 1, 2026));
  // Codes typed short are the padded codes.
  EXPECT_EQ(spec("1", "1 ", day(1, 1, 2026)).source, Source::Same);
}

// (MONEDA1 = 01, MONEDA2 = 02, 500): from 02 into 01 multiplies by 500, from 01 into 02
// divides; the rate itself keeps the sign of the direction unless the business drops it.
TEST_F(Rates, TheReversePairDividesAndCarriesItsSign) {
  rate("01", "02", day(1, 1, 2026), "500");
  const ExchangeFactor direct = spec("02", "01", day(10, 1, 2026)), reverse = spec("01", "02", day(10, 1, 2026));
  EXPECT_EQ(direct.source, Source::Direct);
  EXPECT_EQ(direct.factor(), m("500"));
  EXPECT_EQ(reverse.source, Source::Reverse);
  EXPECT_EQ(reverse.factor(), m("0.002"));
  EXPECT_EQ(reverse.fecha, day(1, 1, 2026));
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "02", "01", day(10, 1, 2026)), m("500"));
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "01", "02", day(10, 1, 2026)), m("-500"));
  EXPECT_EQ(XCAMBIO_ACT("01", *rates, "01", "02"), m("-500"));
  G().XMANEJO_TC = 1;
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "01", "02", day(10, 1, 2026)), m("500"));
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "02", "01", day(10, 1, 2026)), m("500"));
  EXPECT_EQ(XCAMBIO_ACT("01", *rates, "01", "02"), m("-500"));  // only the dated one drops it
  // A pair nobody defined.
  EXPECT_EQ(spec("01", "03", day(10, 1, 2026)).source, Source::None);
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "03", "01", day(10, 1, 2026)), Money());
}

// The latest rate dated on or before the date: between two dates the earlier one, from the
// later date on the later one; rates in the future are not used.
TEST_F(Rates, TheRateEffectiveOnADate) {
  rate("01", "02", day(10, 1, 2026), "510");
  rate("01", "02", day(1, 1, 2026), "500");
  rate("01", "03", day(20, 1, 2026), "600");  // only in the future
  EXPECT_EQ(spec("02", "01", day(5, 1, 2026)).factor(), m("500"));
  EXPECT_EQ(spec("02", "01", day(5, 1, 2026)).fecha, day(1, 1, 2026));
  EXPECT_EQ(spec("02", "01", day(1, 1, 2026)).factor(), m("500"));
  EXPECT_EQ(spec("02", "01", day(9, 1, 2026)).factor(), m("500"));
  EXPECT_EQ(spec("02", "01", day(10, 1, 2026)).factor(), m("510"));
  EXPECT_EQ(spec("02", "01", day(31, 12, 2030)).factor(), m("510"));
  EXPECT_EQ(spec("02", "01", day(31, 12, 2025)).source, Source::None);
  EXPECT_EQ(spec("02", "01", day(31, 12, 2025)).factor(), Money());
  EXPECT_EQ(spec("03", "01", day(15, 1, 2026)).factor(), Money());
  EXPECT_EQ(spec("03", "01", day(20, 1, 2026)).factor(), m("600"));
  EXPECT_EQ(CFECHA_ACT("01", *rates, "01", "02"), day(10, 1, 2026));  // today is 15/01/2026
  EXPECT_EQ(CFECHA_ACT("01", *rates, "02", "01"), day(10, 1, 2026));
  EXPECT_EQ(CFECHA_ACT("01", *rates, "01", "03"), 0);
}

// A direct record wins over a reverse one of the same pair, whatever their dates; another
// business's rates and the neighbouring pairs of the index are never taken.
TEST_F(Rates, DirectBeforeReverseAndEachBusinessItsOwn) {
  rate("02", "01", day(14, 1, 2026), "0.00200");
  rate("01", "02", day(2, 1, 2026), "490");
  rate("01", "02", day(1, 1, 2026), "700", "0", "02");
  rate("01", "04", day(1, 1, 2026), "9");
  EXPECT_EQ(spec("02", "01", day(15, 1, 2026)).factor(), m("490"));
  EXPECT_EQ(spec("01", "02", day(15, 1, 2026)).factor(), m("0.002"));
  EXPECT_EQ(spec("01", "02", day(15, 1, 2026)).source, Source::Direct);
  EXPECT_EQ(spec("01", "02", day(13, 1, 2026)).source, Source::Reverse);
  EXPECT_EQ(spec("01", "02", day(13, 1, 2026)).factor(), m("1") / m("490"));
  EXPECT_EQ(CAMBIO_SPEC("02", *rates, "02", "01", day(15, 1, 2026)).factor(), m("700"));
  EXPECT_EQ(CAMBIO_SPEC("03", *rates, "02", "01", day(15, 1, 2026)).source, Source::None);
  EXPECT_EQ(spec("03", "01", day(15, 1, 2026)).source, Source::None);
}

TEST_F(Rates, SlotsAndAZeroSlotOfAReverseHit) {
  rate("01", "02", day(1, 1, 2026), "500", "505.5");
  EXPECT_EQ(spec("02", "01", day(2, 1, 2026), 2).factor(), m("505.5"));
  EXPECT_EQ(spec("02", "01", day(2, 1, 2026), 0).factor(), m("500"));
  EXPECT_EQ(spec("02", "01", day(2, 1, 2026), 9).factor(), m("500"));
  const ExchangeFactor zero = spec("01", "02", day(2, 1, 2026), 3);
  EXPECT_EQ(zero.source, Source::Reverse);
  EXPECT_EQ(zero.factor(), Money());
  EXPECT_EQ(zero.convert(m("100")), Money());
  EXPECT_FALSE(zero.defined());
  EXPECT_EQ(XCAMBIO_SPEC("01", *rates, "01", "02", day(2, 1, 2026), 2), m("-505.5"));
}

// Today's rate moved by the pair's projected daily change for the days since its date and
// the days asked ahead.
TEST_F(Rates, TodaysRateWithTheProjectedChange) {
  rate("01", "02", day(5, 1, 2026), "500");
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "02", "01").factor(), m("500"));
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "02", "01", m("0.5")).factor(), m("505"));
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "02", "01", m("0.5"), 2).factor(), m("506"));
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "01", "02", m("0.5"), 2).factor(), m("1") / m("506"));
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "01", "03", m("0.5"), 2).factor(), Money());
  EXPECT_EQ(CAMBIO_ACT("01", *rates, "01", "01", m("0.5"), 2).factor(), m("1"));
}

// A table the caller also walks is put back where it was; one kept for lookups (on their
// order) is left on the last rate read.
TEST_F(Rates, ATableOnAnotherOrderIsPutBackWhereItWas) {
  rate("01", "02", day(1, 1, 2026), "500");
  rate("01", "02", day(2, 1, 2026), "501");
  rate("01", "03", day(2, 1, 2026), "601");
  rates->SetOrder("T_CAMB4");
  rates->GoTo(2);
  EXPECT_EQ(spec("01", "03", day(3, 1, 2026)).factor(), m("1") / m("601"));
  EXPECT_EQ(CFECHA_ACT("01", *rates, "01", "02"), day(2, 1, 2026));
  EXPECT_EQ(rates->Order(), "T_CAMB4");
  EXPECT_EQ(rates->RecNo(), 2u);
  rates->GoTo(rates->LastRec() + 1);
  spec("02", "01", day(3, 1, 2026));
  EXPECT_TRUE(rates->Eof());
  rates->SetOrder("T_CAMB2");
  rates->GoTo(1);
  EXPECT_EQ(spec("03", "01", day(3, 1, 2026)).factor(), m("601"));
  EXPECT_EQ(rates->Order(), "T_CAMB2");
  EXPECT_EQ(rates->RecNo(), 3u);
  EXPECT_EQ(spec("02", "01", day(1, 1, 2026)).factor(), m("500"));  // the lookup after it is not disturbed
  auto currencies = USE(nullptr, "MONEDAS", "MONEDAS");
  currencies->SetOrder("");
  SIMBOLO(*currencies, "02", "01");
  EXPECT_EQ(currencies->Order(), "");
}

// Every call reads the table: a rate another workstation saves counts from the next call.
TEST_F(Rates, NothingIsCached) {
  rate("01", "02", day(1, 1, 2026), "500");
  EXPECT_EQ(spec("02", "01", day(2, 1, 2026)).factor(), m("500"));
  auto other = USE(nullptr, "T_CAMBIO", "T_CAMBIO");
  other->GoTo(1);
  MODIFY(*other, [&] { other->FieldPut("CAMBIO", m("512.25")); });
  EXPECT_EQ(spec("02", "01", day(2, 1, 2026)).factor(), m("512.25"));
}

// 100,000 amounts of 0.01 dollars into colones at a stored rate of five decimals, each
// converted on its own, and their total back into dollars: what integer arithmetic in
// millionths gives, and the dollars to the cent.
TEST_F(Rates, ManyCentsThroughAStoredRateAndBack) {
  rate("01", "02", day(1, 1, 2026), "530.12345");
  const ExchangeFactor toColones = spec("02", "01", day(1, 1, 2026)), toDollars = spec("01", "02", day(1, 1, 2026));
  Money dollars, colones;
  for (int i = 0; i < 100'000; ++i) {
    dollars += m("0.01");
    colones += toColones.convert(m("0.01"));
  }
  EXPECT_EQ(dollars.text(2), "1000.00");
  // 0.01 × 530.12345 = 5.3012345 → 5.301235 (half away from zero), 100,000 times.
  EXPECT_EQ(colones.millionths(), 5'301'235LL * 100'000);
  EXPECT_EQ(toDollars.convert(colones).text(2), "1000.00");
  EXPECT_EQ(toDollars.convert(toColones.convert(dollars)), dollars);
  // The factor of a reverse hit is rounded to millionths; dividing by the rate is not.
  EXPECT_EQ(toDollars.factor(), m("0.001886"));
  EXPECT_EQ(toDollars.convert(m("530123.45")), m("1000"));
}

TEST_F(Rates, TheSymbolOfACurrency) {
  auto currencies = USE(nullptr, "MONEDAS", "MONEDAS");
  ADD(*currencies, [&] {
    currencies->FieldPut("NEGOCIO", Value::chars("01"));
    currencies->FieldPut("CODIGO", Value::chars("02"));
    currencies->FieldPut("SIMBOLO", Value::chars("US$"));
  });
  EXPECT_EQ(SIMBOLO(*currencies, "02", "01"), "US$");
  EXPECT_EQ(SIMBOLO(*currencies, "03", "01"), "");
  EXPECT_EQ(SIMBOLO(*currencies, "02", "02"), "");
}
