// The demo hotel's month at the front desk, checked against the rules that read it: every
// closing balance of register 01 is what a count of that period expects (the previous
// balances plus the period's cash), and the closing report of each period totals, per code,
// what a plain walk over all the folio lines finds there, to the cent.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "frontcash/cash_count.h"
#include "frontcash/closing_report.h"
#include "lib/money.h"
#include "lib/text.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"
#include "xbase/date.h"

namespace {

using frontcash::Period;
using lib::Money;

struct Closed {
  Period start, end;
};

class DemoMonth : public testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(
        testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder_.path() + "' --force --demo 2>&1", &out),
        0)
        << out;
  }

  std::vector<Closed> closedPeriods(const std::string& caja) {
    std::vector<Closed> periods;
    lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ", "01" + caja, [&](const lib::WDBTable& p) {
      if (p.D("FECHA_FIN") != 0)
        periods.push_back({{p.D("FECHA_INI"), p.S("HORA_INI")}, {p.D("FECHA_FIN"), p.S("HORA_FIN")}});
    });
    return periods;
  }

  testing_support::ProgramFolder folder_;
};

TEST_F(DemoMonth, EveryClosingBalanceIsWhatACountOfItsPeriodExpects) {
  const std::vector<Closed> periods = closedPeriods("01");
  ASSERT_GE(periods.size(), 28u) << "a month of shifts";
  for (const Closed& p : periods) {
    std::map<std::string, Money> stored;
    lib::EACH_RECORD("DET_HCA2", "DET_HCA2", "0101" + xbase::dtos(p.start.date) + p.start.time,
                     [&](const lib::WDBTable& b) { stored[b.S("MONEDA")] = b.M("MONTO"); });
    ASSERT_EQ(stored.size(), 3u) << xbase::dtos(p.start.date);
    for (const frontcash::CountRow& row : frontcash::SALDO_ESPERADO("01", "01", p.start))
      EXPECT_EQ(row.expected, stored.at(row.moneda)) << xbase::dtos(p.start.date) << " " << row.moneda;
  }
}

TEST_F(DemoMonth, EachClosingReportTotalsTheLinesOfItsPeriodToTheCent) {
  std::set<std::string> registerCodes, notCollected;
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", "01", [&](const lib::WDBTable& t) {
    if (t.N("DEPOSITA") == 1) registerCodes.insert(t.S("CODIGO"));
    if (t.N("NO_CIERRE") == 1) notCollected.insert(t.S("CODIGO"));
  });
  // Every line of the table, in the order it was written.
  struct Line {
    std::string caja, moment, code;
    Money signedAmount;
  };
  std::vector<Line> lines;
  auto t = lib::USE(nullptr, "DET_FOL");
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    if (t->S("NEGOCIO") != "01") continue;
    const Money debit = t->M("DEBITO");
    lines.push_back({t->S("CAJA"), xbase::dtos(t->D("FECHA")) + t->S("HORA"), t->S("COD_TRANS"),
                     debit.isZero() ? t->M("CREDITO") : -debit});
  }
  lib::KILLTABLA(t);

  const std::vector<Closed> periods = closedPeriods("01");
  ASSERT_FALSE(periods.empty());
  int withMoney = 0;
  for (const Closed& p : periods) {
    const std::string from = xbase::dtos(p.start.date) + p.start.time, to = xbase::dtos(p.end.date) + p.end.time;
    std::map<std::string, Money> perCode;
    Money grand, collected;
    for (const Line& l : lines) {
      if (l.caja != "01" || l.moment < from || l.moment > to || !registerCodes.count(l.code)) continue;
      perCode[l.code] += l.signedAmount;
      grand += l.signedAmount;
      if (!notCollected.count(l.code)) collected += l.signedAmount;
    }
    const frontcash::ClosingTotals totals =
        frontcash::TOTALIZA_CIERRE(frontcash::RECOGE_CIERRE("01", "01", p.start, p.end, {}));
    EXPECT_EQ(totals.grand.of("01"), grand) << from;
    EXPECT_EQ(totals.collected.of("01"), collected) << from;
    ASSERT_EQ(totals.perCode.size(), perCode.size()) << from;
    for (const auto& [code, amount] : totals.perCode) EXPECT_EQ(amount.of("01"), perCode.at(code)) << from << code;
    if (!grand.isZero()) ++withMoney;
  }
  EXPECT_EQ(withMoney, static_cast<int>(periods.size())) << "every shift took money";
}

}  // namespace
