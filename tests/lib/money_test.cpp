// Money on exact decimals: what users type, what fields hold, sums, products, quotients and
// the two roundings, each against plain integer arithmetic in cents or millionths.
#include <gtest/gtest.h>

#include "lib/money.h"

using lib::Money;

namespace {

Money m(const char* text) {
  return Money::parse(text).value();
}

}  // namespace

TEST(Money, ReadsWhatUsersTypeAndRefusesTheRest) {
  EXPECT_EQ(m("1,234.56").millionths(), 1'234'560'000);
  EXPECT_EQ(m("  -0.5 ").millionths(), -500'000);
  EXPECT_EQ(m("+7").millionths(), 7'000'000);
  EXPECT_EQ(m(".25").millionths(), 250'000);
  EXPECT_EQ(m("0.0000005").millionths(), 1);  // the seventh decimal rounds half away from zero
  EXPECT_EQ(m("-0.0000005").millionths(), -1);
  EXPECT_EQ(m("0.0000004").millionths(), 0);
  for (const char* bad : {"", "  ", "-", "1.2.3", "12a", "1,5.0.", "99999999999999999999"})
    EXPECT_FALSE(Money::parse(bad).has_value()) << bad;
}

TEST(Money, WritesWithThePlacesAskedRoundingHalfAwayFromZero) {
  EXPECT_EQ(m("2.675").text(2), "2.68");
  EXPECT_EQ(m("-2.675").text(2), "-2.68");
  EXPECT_EQ(m("-0.004").text(2), "0.00");
  EXPECT_EQ(m("1234.5").text(0), "1235");
  EXPECT_EQ(m("0.125").roundedHalfEven(2).text(2), "0.12");
  EXPECT_EQ(m("0.135").roundedHalfEven(2).text(2), "0.14");
  EXPECT_EQ(m("-0.125").roundedHalfEven(2).text(2), "-0.12");
  EXPECT_EQ(m("3.14159").text(6), "3.141590");
}

// A field holds what it is given: through the double of the table boundary and back, the
// amount is the same to the millionth, also where binary fractions are not exact.
TEST(Money, ANumericFieldsValueCrossesTheBoundaryExactly) {
  for (const char* text : {"0.10", "0.70", "1.15", "25000000000.10", "-99999999.99", "18.456789"}) {
    const Money a = m(text);
    EXPECT_EQ(Money::fromNumber(a.number()), a) << text;
  }
  EXPECT_EQ(Money::fromNumber(0.1 + 0.2).text(2), "0.30");  // what a field of two decimals would hold
}

// The sum of 100,000 cents is 1,000.00 exactly; each converted through a rate and back
// gives what integer arithmetic in millionths gives, to the cent.
TEST(Money, ManyCentsSumAndConvertExactly) {
  const Money cent = m("0.01"), rate = m("18.456789");
  Money sum, converted;
  for (int i = 0; i < 100'000; ++i) {
    sum += cent;
    converted += cent * rate;
  }
  EXPECT_EQ(sum.text(2), "1000.00");
  // 0.01 x 18.456789 = 0.18456789, rounded to millionths 0.184568, times 100,000.
  EXPECT_EQ(converted.millionths(), 184'568LL * 100'000);
  EXPECT_EQ((converted / rate).text(2), "1000.00");
  EXPECT_EQ((sum * rate / rate), sum);
}

TEST(Money, ProductsAndQuotientsRoundOnceAndDivisionByZeroIsZero) {
  EXPECT_EQ((m("10") / m("3")).text(6), "3.333333");
  EXPECT_EQ((m("20") / m("3")).text(6), "6.666667");
  EXPECT_EQ((m("-20") / m("3")).text(6), "-6.666667");
  EXPECT_EQ((m("1") / m("-8")).text(6), "-0.125000");
  EXPECT_EQ((m("5") / Money()).millionths(), 0);
  EXPECT_EQ((m("0.000001") * m("0.5")).millionths(), 1);  // half a millionth, away from zero
  EXPECT_EQ((m("-0.000001") * m("0.5")).millionths(), -1);
  // Large amounts keep every cent through a product (the wide intermediate).
  EXPECT_EQ((m("999999999.99") * m("1000")).text(2), "999999999990.00");
  EXPECT_EQ(Money::units(3) + m("0.5"), m("3.5"));
  EXPECT_LT(m("-1"), Money());
  EXPECT_TRUE(m("-1").abs() == Money::units(1));
}
