// Numbers are read and written the same way under every process locale. Qt sets the C
// locale from the environment, and on a Spanish desktop (es_ES.UTF-8) the C library's
// decimal point becomes ","; each test runs under "C" and under that locale and expects the
// same results.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <clocale>
#include <cstdlib>
#include <string>

#include "lib/picture.h"
#include "support/open_screen.h"
#include "support/program_folder.h"
#include "win/controls.h"
#include "win/driver.h"
#include "win/entry_filters.h"
#include "win/main_frame.h"
#include "win/resources.h"
#include "win/wdiag.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"
#include "xbase/expr.h"
#include "xbase/field_text.h"
#include "xbase/number_text.h"

using namespace xbase;

namespace {

class NumbersUnderLocale : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    previous_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
        << GetParam() << " no está instalado (scripts/setup-deps lo genera)";
    if (std::string(GetParam()) != "C") {
      // The point of running here at all: the C library itself now reads "1.5" as 1.
      ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);
    }
  }
  void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

Value evaluate(const std::string& source) {
  struct NoRecord : EvalContext {
    Value field(int) const override { return {}; }
    uint32_t recNo() const override { return 1; }
    bool deleted() const override { return false; }
  } none;
  return Expr::compile(source, {}).evaluate(none);
}

}  // namespace

TEST_P(NumbersUnderLocale, NumericFieldsKeepTheirDecimals) {
  testing_support::TempDir dir;
  std::string path = dir.file("NUMEROS.DBF");
  DbfTable::create(path, {{"FACTOR", 'N', 8, 4}, {"MONTO", 'N', 20, 2}, {"TASA", 'F', 10, 3}, {"REAL", 'B', 8, 3}}, {});
  {
    auto t = DbfTable::open(path, OpenOptions{false, false});
    ASSERT_TRUE(t->append());
    t->put(0, Value::num(1.5));
    t->put(1, Value::num(-25000000000.10));
    t->put(2, Value::num(0.125));
    t->put(3, Value::num(2.5));
    ASSERT_TRUE(t->append());
    t->put(0, *parseFieldText(t->field(0), "-0.0001"));
    t->put(1, *parseFieldText(t->field(1), "1234.565"));
    t->flush();
  }
  auto t = DbfTable::open(path, OpenOptions{true, true});
  t->goTo(1);
  EXPECT_EQ(t->rawFieldText(0), "1.5000");
  EXPECT_EQ(t->rawFieldText(1), "-25000000000.10");
  EXPECT_EQ(t->rawFieldText(2), "0.125");
  EXPECT_EQ(t->rawFieldText(3), "2.500");
  EXPECT_DOUBLE_EQ(t->get(0).number, 1.5);
  EXPECT_DOUBLE_EQ(t->get(2).number, 0.125);
  t->goTo(2);
  EXPECT_EQ(t->rawFieldText(0), "-0.0001");
  EXPECT_EQ(t->rawFieldText(1), "1234.57");
  EXPECT_DOUBLE_EQ(t->get(0).number, -0.0001);
  EXPECT_THROW(parseFieldText(t->field(0), "1,5"), Error);
}

TEST_P(NumbersUnderLocale, TextConversionsOfTheEngine) {
  EXPECT_DOUBLE_EQ(parseNumber("  -3.25xyz"), -3.25);
  EXPECT_DOUBLE_EQ(parseNumber("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(parseNumber("1.5e3"), 1500);
  EXPECT_EQ(parseNumber("1e999"), HUGE_VAL);
  EXPECT_EQ(parseNumber("-1e999"), -HUGE_VAL);
  EXPECT_EQ(parseNumber("0.00001e-999"), 0);
  EXPECT_EQ(parseNumber("abc"), 0);
  EXPECT_EQ(readNumber(" 2.75 "), 2.75);
  EXPECT_EQ(readNumber("2.75x"), std::nullopt);
  EXPECT_EQ(readNumber("2,75"), std::nullopt);
  EXPECT_EQ(readNumber("-inf"), -HUGE_VAL);
  EXPECT_EQ(formatNumber(2.675, 6, 2), "  2.68");
  EXPECT_EQ(formatNumber(-0.001, 5, 2), " 0.00");
  EXPECT_EQ(formatNumber(123.4, 4, 2), "");
  EXPECT_EQ(formatNumber(1e12 + 0.25, 20, 2), "    1000000000000.25");
  EXPECT_EQ(formatNumber(12345678901234567.0, 20, 0), "   12345678901234600");  // 15 digits hold
  EXPECT_EQ(fixedNumber(1.0 / 3, 4), "0.3333");
  EXPECT_EQ(shortestNumber(0.1), "0.1");
  EXPECT_EQ(generalNumber(1234567.0, 6), "1.23457e+06");
  EXPECT_EQ(generalNumber(0.5, 6), "0.5");
}

TEST_P(NumbersUnderLocale, PicturesShowAPointAndCommasWhereTheySay) {
  EXPECT_EQ(lib::TRANSFORM_NUMBER(1234.5, "999,999.99"), "  1,234.50");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(-7.25, "@Z 9999.9"), "  -7.3");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(0.75, ""), "0.75");
  EXPECT_DOUBLE_EQ(lib::readNumber(" 1,234.50"), 1234.5);
  EXPECT_DOUBLE_EQ(lib::readNumber("-0.5"), -0.5);
}

TEST_P(NumbersUnderLocale, ExpressionsStrAndVal) {
  EXPECT_EQ(evaluate("STR(1.5, 6, 2)").text, "  1.50");
  EXPECT_EQ(evaluate("STR(VAL('3.25') * 2, 5, 1)").text, "  6.5");
  EXPECT_DOUBLE_EQ(evaluate("VAL('  -12.75abc')").number, -12.75);
  EXPECT_DOUBLE_EQ(evaluate("ROUND(2.675, 2)").number, 2.68);
  EXPECT_EQ(evaluate("STR(1234567.891, 12, 3)").text, " 1234567.891");
  EXPECT_EQ(evaluate("STR(0.000123456789012345, 20, 18)").text, "0.000123456789012345");
  EXPECT_EQ(evaluate("TRANSFORM(1.5)").text, "1.5");
}

namespace {

class NUMEROS : public win::WDIAG {
 public:
  NUMEROS() {
    if (!Init(nullptr, "NUMEROS")) return;
    MONTO = std::make_unique<win::WEDIT>(this, 501);
    CREATE("NUMEROS");
  }
  std::unique_ptr<win::WEDIT> MONTO;
};

}  // namespace

TEST_P(NumbersUnderLocale, TheNumericEntryFilterKeepsTheTypedDecimals) {
  static bool loaded = false;
  if (!loaded) {
    win::addResourceScript(
        "NUMEROS DIALOGEX 0, 0, 120, 40\nSTYLE WS_CHILD | WS_CAPTION\nCAPTION \"Números\"\n"
        "FONT 8, \"MS Sans Serif\"\nBEGIN\n    EDITTEXT        501, 8, 8, 60, 12\n"
        "    EDITTEXT        502, 8, 22, 60, 12\nEND\n",
        "numeros.rc");
    loaded = true;
  }
  testing_support::ProgramFolder folder;
  win::Driver& d = win::Driver::instance();
  d.install();
  auto frame = std::make_unique<win::MainFrame>("Configuración Hotelería");
  frame->window()->show();
  NUMEROS* screen = testing_support::open<NUMEROS>();
  ASSERT_NE(screen, nullptr);
  QCoreApplication::processEvents();
  win::ONLYNUMBER(*screen->MONTO, "99,999.9999");
  d.type(501, "1.5");
  EXPECT_EQ(d.text(501), "     1.5000");
  EXPECT_DOUBLE_EQ(win::NUMBER_OF(*screen->MONTO), 1.5);
  d.setText(502, "");  // away and back: focus selects everything, typing replaces it
  d.type(501, "1234.0625");
  EXPECT_EQ(d.text(501), " 1,234.0625");
  EXPECT_DOUBLE_EQ(win::NUMBER_OF(*screen->MONTO), 1234.0625);
  d.type(501, "-");
  EXPECT_DOUBLE_EQ(win::NUMBER_OF(*screen->MONTO), -1234.0625);
  frame.reset();
  QCoreApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(Locales, NumbersUnderLocale, ::testing::Values("C", "es_ES.UTF-8"),
                         [](const ::testing::TestParamInfo<const char*>& locale) {
                           return std::string(locale.param[0] == 'C' ? "C" : "es_ES");
                         });
