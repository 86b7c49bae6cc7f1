// The tax rule against the cases a hotel meets and against a plain computation written here
// from the rule's words: whole cents and fractions of whole numbers, one rounding per line.
#include "cashier/tax_rule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace lib {
void PrintTo(const Money& amount, std::ostream* out) {
  *out << amount.text(6);
}
}  // namespace lib

namespace {

using cashier::AppliedTax;
using cashier::CodeRules;
using cashier::Component;
using cashier::DERIVA_IMPUESTOS;
using cashier::SimpleRules;
using cashier::TaxLine;
using lib::Money;

Money m(const char* text) {
  return *Money::parse(text);
}

AppliedTax tax(const std::string& code, const char* rate, const std::string& posting) {
  return {code, "Impuesto " + code, m(rate), posting};
}

CodeRules simple(const std::string& code, bool included, std::vector<AppliedTax> taxes, bool credit = false) {
  CodeRules r;
  r.code = code;
  r.description = "Cargo " + code;
  r.included = included;
  r.credit = credit;
  r.taxes = std::move(taxes);
  return r;
}

Component component(const SimpleRules& rules, const char* percentage, std::vector<std::string> postsTaxes = {}) {
  return {rules, m(percentage), std::move(postsTaxes)};
}

std::vector<std::string> amounts(const std::vector<TaxLine>& lines) {
  std::vector<std::string> out;
  for (const TaxLine& l : lines) out.push_back(l.code + " " + l.amount.text());
  return out;
}

Money sum(const std::vector<TaxLine>& lines) {
  Money s;
  for (const TaxLine& l : lines) s += l.amount;
  return s;
}

// ---- The plain computation: amounts in whole cents, rates in hundredths of a percent,
// factors in millionths; a value is a fraction of whole numbers rounded once, half away from
// zero.
__extension__ typedef __int128 Big;

int64_t roundFraction(Big num, Big den) {
  if (den < 0) num = -num, den = -den;
  Big q = num / den, r = num % den;
  if (r < 0) r = -r;
  if (2 * r >= den) q += num < 0 ? -1 : 1;
  return int64_t(q);
}

// The lines in cents of amount `cents` under a simple code with `rates` (hundredths of a
// percent) at factor `factor` (millionths): charge first, then one line per rate.
std::vector<int64_t> plainLines(int64_t cents, int64_t factor, const std::vector<int64_t>& rates, bool included) {
  int64_t p = 0;
  for (int64_t r : rates) p += r;
  // Converted amount: cents x factor / 10^6 (in cents). Charge: that, times 10000 / (10000 + p)
  // when the taxes are included.
  const Big converted = Big(cents) * factor;
  const int64_t charge = included ? roundFraction(converted * 10000, Big(1'000'000) * (10000 + p))
                                  : roundFraction(converted, 1'000'000);
  std::vector<int64_t> out{charge};
  int64_t total = charge;
  for (int64_t r : rates) {
    out.push_back(roundFraction(Big(charge) * r, 10000));  // charge x (r / 100) / 100
    total += out.back();
  }
  if (included) out.back() += roundFraction(converted, 1'000'000) - total;
  return out;
}

Money fromCents(int64_t c) {
  return Money::millionths(c * 10'000);
}

}  // namespace

TEST(TaxRule, IncludedTaxesAreDividedOutOfTheAmountAndTheLinesAddUpToIt) {
  const CodeRules room = simple("HOSP", true, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  // 123.00 at 13 % and 10 % included: base 100.00, lines 13.00 and 10.00.
  std::vector<TaxLine> lines = DERIVA_IMPUESTOS(room, m("123.00"));
  EXPECT_EQ(amounts(lines), (std::vector<std::string>{"HOSP 100.00", "IVA 13.00", "ISH 10.00"}));
  EXPECT_TRUE(lines[1].isTax);
  EXPECT_EQ(lines[1].postedCode, "HOSP");
  EXPECT_EQ(lines[1].base, m("100"));
  EXPECT_EQ(lines[0].rate, m("23"));
  EXPECT_TRUE(lines[2].adjustment.isZero());
  // 100.00: 81.300813 -> 81.30; 10.569 -> 10.57; 8.13; they add up without help.
  lines = DERIVA_IMPUESTOS(room, m("100.00"));
  EXPECT_EQ(amounts(lines), (std::vector<std::string>{"HOSP 81.30", "IVA 10.57", "ISH 8.13"}));
  EXPECT_EQ(lines[0].exact, m("81.300813"));
  // 10.00: 8.13 + 1.06 + 0.81 = 10.00; 1.00: 0.81 + 0.11 + 0.08 = 1.00; 0.05: 0.04 + 0.01 + 0.00.
  for (const char* a : {"10.00", "1.00", "0.05", "0.01", "99999.99", "-123.00"})
    EXPECT_EQ(sum(DERIVA_IMPUESTOS(room, m(a))), m(a)) << a;
  // 0.04: 0.03, 0.00, 0.00 fall a cent short.
  lines = DERIVA_IMPUESTOS(room, m("0.04"));
  EXPECT_EQ(amounts(lines), (std::vector<std::string>{"HOSP 0.03", "IVA 0.00", "ISH 0.01"}));
  EXPECT_EQ(lines[2].adjustment, m("0.01"));  // the last line takes what the lines fell short
}

TEST(TaxRule, AddedTaxesComeOnTopOfTheAmountWithNoAdjustment) {
  const CodeRules bar = simple("BAR", false, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(bar, m("100.00"))),
            (std::vector<std::string>{"BAR 100.00", "IVA 13.00", "ISH 10.00"}));
  // 0.05: 0.0065 -> 0.01, 0.005 -> 0.01 (half away from zero); -0.05 mirrors it.
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(bar, m("0.05"))), (std::vector<std::string>{"BAR 0.05", "IVA 0.01", "ISH 0.01"}));
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(bar, m("-0.05"))),
            (std::vector<std::string>{"BAR -0.05", "IVA -0.01", "ISH -0.01"}));
  // A tax is on the charge line only, never on another tax: 13 % of 100, not of 110.
  EXPECT_EQ(DERIVA_IMPUESTOS(bar, m("100"))[1].base, m("100"));
  // The side is the code's.
  const CodeRules refund = simple("DEVO", false, {tax("IVA", "13", "IVA")}, true);
  for (const TaxLine& l : DERIVA_IMPUESTOS(refund, m("10"))) EXPECT_TRUE(l.credit);
  // A code without taxes posts its amount, rounded to cents.
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(simple("EFEC", true, {}), m("12.345"))), (std::vector<std::string>{"EFEC 12.35"}));
}

TEST(TaxRule, AnExemptFolioPaysNoneOfTheTaxItIsExemptFrom) {
  const CodeRules room = simple("HOSP", true, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  // Exempt from IVA: 123.00 includes only the 10 % service: 111.82 + 11.18.
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(room, m("123.00"), Money::units(1), {"IVA"})),
            (std::vector<std::string>{"HOSP 111.82", "ISH 11.18"}));
  // Exempt from both: the whole amount is the charge.
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(room, m("123.00"), Money::units(1), {"IVA", "ISH"})),
            (std::vector<std::string>{"HOSP 123.00"}));
  const CodeRules bar = simple("BAR", false, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(bar, m("100.00"), Money::units(1), {"ISH"})),
            (std::vector<std::string>{"BAR 100.00", "IVA 13.00"}));
}

TEST(TaxRule, TheExchangeFactorConvertsBeforeAnythingIsRounded) {
  const CodeRules room = simple("HOSP", true, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  // 100.00 dollars at 512.34: 51234.00 colones; the lines add up to it.
  std::vector<TaxLine> lines = DERIVA_IMPUESTOS(room, m("100.00"), m("512.34"));
  EXPECT_EQ(sum(lines), m("51234.00"));
  EXPECT_EQ(lines[0].amount, m("41653.66"));  // 51234 / 1.23 = 41653.658...
  // 0.01 at 0.499999 is 0.00499999: below half a cent, so 0.00 (a product rounded to the
  // millionth first would make it 0.005000 and then 0.01).
  const CodeRules plain = simple("EFEC", false, {});
  EXPECT_EQ(DERIVA_IMPUESTOS(plain, m("0.01"), m("0.499999"))[0].amount, m("0.00"));
  EXPECT_EQ(DERIVA_IMPUESTOS(plain, m("0.01"), m("0.5"))[0].amount, m("0.01"));
}

TEST(TaxRule, ACompositeSplitsTheAmountToTheCentAndEachShareFollowsItsComponent) {
  const SimpleRules room = simple("HOSP", true, {tax("IVA", "13", "IVA"), tax("ISH", "10", "ISH")});
  const SimpleRules food = simple("AYB", false, {tax("IVA", "13", "IVA")});
  const SimpleRules tip = simple("PROP", false, {});
  CodeRules package = simple("PAQ", false, {});
  package.composite = true;
  package.components = {component(room, "33.333"), component(food, "33.333"), component(tip, "33.334")};
  // 100.00: 33.333 -> 33.33, 33.33, 33.334 -> 33.33 + 0.01 remainder = 33.34.
  std::vector<TaxLine> lines = DERIVA_IMPUESTOS(package, m("100.00"));
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].share + lines[3].share + lines[5].share, m("100.00"));
  EXPECT_EQ(lines[5].share, m("33.34"));
  EXPECT_EQ(lines[5].shareAdjustment, m("0.01"));
  // The room's share includes its taxes (27.10 + 3.52 + 2.71 = 33.33); the food's adds them.
  EXPECT_EQ(amounts(lines), (std::vector<std::string>{"HOSP 27.10", "IVA 3.52", "ISH 2.71", "AYB 33.33", "IVA 4.33",
                                                      "PROP 33.34"}));
  for (const TaxLine& l : lines) EXPECT_EQ(l.postedCode, "PAQ");
  EXPECT_EQ(lines[1].component, "HOSP");
  // Three thirds of 0.10, of 1,000.00 and of 999,999.99 add up to the amount.
  CodeRules thirds = package;
  thirds.components = {component(tip, "33.333"), component(tip, "33.333"), component(tip, "33.334")};
  for (const char* a : {"0.10", "0.01", "1000.00", "999999.99", "-77.77"}) EXPECT_EQ(sum(DERIVA_IMPUESTOS(thirds, m(a))), m(a)) << a;
  // Percentages that do not total 100 split that share of the amount: 50 % of 0.05 is 0.03.
  CodeRules half = package;
  half.components = {component(tip, "25"), component(tip, "25")};
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(half, m("0.05"))), (std::vector<std::string>{"PROP 0.01", "PROP 0.02"}));
}

TEST(TaxRule, AnExemptFolioSkipsTheComponentThatPostsTheTaxItIsExemptFrom) {
  const SimpleRules room = simple("HOSP", false, {});
  const SimpleRules service = simple("ISH", false, {});
  CodeRules package = simple("PAQ", false, {});
  package.composite = true;
  package.components = {component(room, "90"), component(service, "10", {"ISH"})};
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(package, m("110.00"))), (std::vector<std::string>{"HOSP 99.00", "ISH 11.00"}));
  EXPECT_EQ(amounts(DERIVA_IMPUESTOS(package, m("110.00"), Money::units(1), {"ISH"})),
            (std::vector<std::string>{"HOSP 99.00"}));
  // A composite without components posts nothing.
  CodeRules empty = package;
  empty.components.clear();
  EXPECT_TRUE(DERIVA_IMPUESTOS(empty, m("10")).empty());
}

TEST(TaxRule, AgreesWithThePlainComputationOnManyAmountsRatesAndFactors) {
  std::mt19937_64 rng(20260115);
  const std::vector<std::vector<int64_t>> rateSets = {{1300, 1000}, {1300}, {1000, 500, 250}, {1}, {9999, 1}, {}};
  for (int i = 0; i < 20000; ++i) {
    const int64_t cents = int64_t(rng() % 100'000'000'000ull) - 10'000'000'000ll;
    const int64_t factor = i % 3 == 0 ? 1'000'000 : int64_t(rng() % 2'000'000'000ull) + 1;
    const std::vector<int64_t>& rates = rateSets[size_t(i) % rateSets.size()];
    const bool included = i % 2 == 0;
    CodeRules rules = simple("CODE", included, {});
    for (size_t k = 0; k < rates.size(); ++k)
      rules.taxes.push_back({"T" + std::to_string(k), "", Money::millionths(rates[k] * 10'000), "P" + std::to_string(k)});
    const std::vector<int64_t> expected = plainLines(cents, factor, rates, included);
    const std::vector<TaxLine> lines = DERIVA_IMPUESTOS(rules, fromCents(cents), Money::millionths(factor));
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t k = 0; k < lines.size(); ++k)
      ASSERT_EQ(lines[k].amount, fromCents(expected[k]))
          << "amount " << fromCents(cents).text() << " factor " << Money::millionths(factor).text(6) << " line " << k;
  }
}
