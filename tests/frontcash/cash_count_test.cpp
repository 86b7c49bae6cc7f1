// Cash counts on the demo hotel's front-desk register (01, closed with a count): the expected
// balances from the previous closing and the period's cash lines; an additional count and
// then the closing count posting their differences once each, with their serials, to one
// register folio; a declined count storing the expected balances.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "frontcash/cash_count.h"
#include "frontcash/folio_posting.h"
#include "lib/money.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"
#include "xbase/date.h"

namespace {

using frontcash::CountRow;
using lib::Money;
using lib::Value;

Money m(const char* text) {
  return *Money::parse(text);
}

int32_t may(int day) {
  return xbase::julianFromYmd(2024, 5, day);
}

void cashLine(const char* code, int day, const char* hora, const char* currency, const char* credit, const char* debit,
              int adjustment = 0) {
  auto t = lib::USE(nullptr, "DET_FOL");
  lib::ADD(*t, [&] {
    t->FieldPut("NEGOCIO", Value::chars("01"));
    t->FieldPut("NUMERO", Value::chars("5001"));
    t->FieldPut("CAJA", Value::chars("01"));
    t->FieldPut("COD_TRANS", Value::chars(code));
    t->FieldPut("FECHA", Value::date(may(day)));
    t->FieldPut("HORA", Value::chars(hora));
    t->FieldPut("OMONEDA", Value::chars(currency));
    t->FieldPut("OCREDITO", m(credit));
    t->FieldPut("ODEBITO", m(debit));
    t->FieldPut("AJUSTE", Value::num(adjustment));
  });
  lib::KILLTABLA(t);
}

struct Posted {
  std::string code, consecut, serial, comment, omoneda;
  Money debit, credit, odebit, ocredit;
};

std::vector<Posted> postedTo(const std::string& folio) {
  std::vector<Posted> lines;
  lib::EACH_RECORD("DET_FOL", "DET_FOL5", "01" + lib::padded(folio, 10), [&](const lib::WDBTable& l) {
    lines.push_back({l.S("COD_TRANS"), l.S("CONSECUT"), l.S("COD_SERIAL"), l.S("COMENTA"), l.S("OMONEDA"),
                     l.M("DEBITO"), l.M("CREDITO"), l.M("ODEBITO"), l.M("OCREDITO")});
  });
  return lines;
}

size_t recordsOf(const std::string& table, const std::string& tag, const std::string& prefix) {
  size_t n = 0;
  lib::EACH_RECORD(table, tag, prefix, [&](const lib::WDBTable&) { ++n; });
  return n;
}

class CashCount : public testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder_.path() + "' --force --demo 2>&1",
                                          &out),
              0)
        << out;
    // Shortages take a serial of their own.
    auto codes = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
    ASSERT_TRUE(codes->Seek("01FALT"));
    lib::MODIFY(*codes, [&] {
      codes->FieldPut("SERIAL", Value::num(1));
      codes->FieldPut("COD_SERIAL", Value::chars("AJUS"));
    });
    lib::KILLTABLA(codes);
    auto series = lib::USE(nullptr, "SERIALES");
    lib::ADD(*series, [&] {
      series->FieldPut("NEGOCIO", Value::chars("01"));
      series->FieldPut("CODIGO", Value::chars("AJUS"));
      series->FieldPut("PREFIJO", Value::chars("AJ-"));
      series->FieldPut("INDENT", Value::num(4));
    });
    lib::KILLTABLA(series);
    period_ = frontcash::PERIODO_ABIERTO("01", "01");
    ASSERT_NE(period_, 0u);
    // The open period started on 14/05/24 at 07:00:02.
    cashLine("EFEC", 14, "08:00:00", "01", "5000.00", "0");
    cashLine("EFEC", 14, "06:00:00", "01", "777.00", "0");       // before the start time
    cashLine("EFEC", 15, "01:00:00", "02", "0", "20.00");        // a later day, whatever its time
    cashLine("EFEC", 14, "09:00:00", "01", "123.00", "0", 1);    // an adjustment
    cashLine("TARJ", 14, "10:00:00", "02", "80.00", "0");        // a card
  }

  std::map<std::string, Money> expected() {
    std::map<std::string, Money> byCurrency;
    for (const CountRow& r : frontcash::SALDO_ESPERADO("01", "01", {may(14), "07:00:02"}))
      byCurrency[r.moneda] = r.expected;
    return byCurrency;
  }

  testing_support::ProgramFolder folder_;
  uint32_t period_ = 0;
};

TEST_F(CashCount, TheExpectedBalanceIsThePreviousClosingPlusThePeriodsCashLines) {
  // The demo's previous closing (13/05/24) held 150,013.00, 333.00 and 13.00.
  const auto balances = expected();
  EXPECT_EQ(balances.at("01"), m("155013.00"));
  EXPECT_EQ(balances.at("02"), m("313.00"));
  EXPECT_EQ(balances.at("03"), m("13.00"));
}

TEST_F(CashCount, DifferencesArePostedOnceEachToOneRegisterFolio) {
  std::vector<CountRow> rows = frontcash::SALDO_ESPERADO("01", "01", {may(14), "07:00:02"});
  for (CountRow& r : rows) {
    if (r.moneda == "01") r.counted = m("155000.00");  // 13.00 short
    if (r.moneda == "02") r.counted = r.expected;      // nothing to post
    if (r.moneda == "03") r.counted = m("20.00");      // 7.00 over
  }
  EXPECT_EQ(frontcash::ARQUEO_ADICIONAL("01", "01", period_, {may(14), "07:00:00"}, {may(14), "12:00:00"}, rows),
            "La hora no puede ser inferior a la hora de cierre actual");
  EXPECT_EQ(frontcash::ARQUEO_ADICIONAL("01", "01", period_, {may(13), "08:00:00"}, {may(14), "12:00:00"}, rows),
            "La fecha no puede ser inferior a la fecha de cierre actual");
  EXPECT_EQ(recordsOf("DET_HCA3", "DET_HCA3", "0101"), 0u) << "a refused count writes nothing";
  ASSERT_EQ(frontcash::ARQUEO_ADICIONAL("01", "01", period_, {may(14), "11:00:00"}, {may(14), "12:00:00"}, rows), "");
  EXPECT_EQ(recordsOf("DET_HCA3", "DET_HCA3", "0101"), 1u);
  EXPECT_EQ(recordsOf("DET_HCA4", "DET_HCA4", "0101" + xbase::dtos(may(14)) + "11:00:00"), 3u);

  const std::string folio = frontcash::FOLIO_CAJA("01", "01", {may(14), "07:00:02"});
  std::vector<Posted> lines = postedTo(folio);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].code, "FALT");
  EXPECT_EQ(lines[0].debit, m("13.00"));
  EXPECT_EQ(lines[0].comment, "Ajuste por faltante en caja");
  EXPECT_EQ(lines[0].serial, "AJ-0001");
  EXPECT_EQ(lines[0].consecut, "0001");
  EXPECT_EQ(lines[1].code, "SOBR");
  EXPECT_EQ(lines[1].ocredit, m("7.00"));
  EXPECT_EQ(lines[1].omoneda, "03");
  EXPECT_FALSE(lines[1].credit.isZero()) << "converted into the folio's currency";
  EXPECT_EQ(lines[1].comment, "Ajuste por sobrante en caja");
  EXPECT_EQ(lines[1].consecut, "0003");
  // The adjustments do not move what the register should hold.
  EXPECT_EQ(expected().at("01"), m("155013.00"));

  // The closing count: one more shortage, on the same folio.
  rows = frontcash::SALDO_ESPERADO("01", "01", {may(14), "07:00:02"});
  for (CountRow& r : rows) r.counted = r.moneda == "02" ? m("300.00") : r.expected;
  frontcash::CIERRE_CON_ARQUEO("01", "01", period_, rows, true);
  EXPECT_EQ(recordsOf("ENC_FOL", "ENC_FOL6", "013" + lib::padded("01", 2) + xbase::dtos(may(14)) + "07:00:02"), 1u);
  lines = postedTo(folio);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2].code, "FALT");
  EXPECT_EQ(lines[2].odebit, m("13.00"));
  EXPECT_EQ(lines[2].omoneda, "02");
  EXPECT_EQ(lines[2].serial, "AJ-0002");
  EXPECT_EQ(lines[2].consecut, "0005");
  EXPECT_EQ(frontcash::PERIODO_ABIERTO("01", "01"), 0u) << "the period ended";
  std::map<std::string, Money> closing;
  lib::EACH_RECORD("DET_HCA2", "DET_HCA2", "0101" + xbase::dtos(may(14)) + "07:00:02",
                   [&](const lib::WDBTable& b) { closing[b.S("MONEDA")] = b.M("MONTO"); });
  EXPECT_EQ(closing.at("01"), m("155013.00"));
  EXPECT_EQ(closing.at("02"), m("300.00"));
  std::string state;
  lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", "0101", [&](const lib::WDBTable& r) { state = r.S("ESTADO"); });
  EXPECT_EQ(state, "C");
}

TEST_F(CashCount, ADeclinedCountStoresTheExpectedBalancesAndPostsNothing) {
  const std::vector<CountRow> rows = frontcash::SALDO_ESPERADO("01", "01", {may(14), "07:00:02"});
  frontcash::CIERRE_CON_ARQUEO("01", "01", period_, rows, false);
  std::map<std::string, Money> closing;
  lib::EACH_RECORD("DET_HCA2", "DET_HCA2", "0101" + xbase::dtos(may(14)) + "07:00:02",
                   [&](const lib::WDBTable& b) { closing[b.S("MONEDA")] = b.M("MONTO"); });
  EXPECT_EQ(closing.at("01"), m("155013.00"));
  EXPECT_EQ(closing.at("02"), m("313.00"));
  const std::string folio = frontcash::FOLIO_CAJA("01", "01", {may(14), "07:00:02"});
  EXPECT_TRUE(postedTo(folio).empty());
  EXPECT_EQ(frontcash::PERIODO_ABIERTO("01", "01"), 0u);
}

TEST(FolioLines, NumbersCountInBaseThirtySix) {
  EXPECT_EQ(frontcash::nextConsecutive("0001"), "0002");
  EXPECT_EQ(frontcash::nextConsecutive("0009"), "000A");
  EXPECT_EQ(frontcash::nextConsecutive("000Z"), "0010");
  EXPECT_EQ(frontcash::nextConsecutive("0ZZZ"), "1000");
}

}  // namespace
