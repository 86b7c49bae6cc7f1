// The closing report on the demo hotel's tables: its totals against a computation made here
// straight from the folio lines, to the cent; grouped postings listed once under their main
// code; the prepayments report's two sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "frontcash/closing_report.h"
#include "lib/money.h"
#include "lib/record_protocol.h"
#include "lib/record_walks.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/print_document.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"
#include "xbase/date.h"

namespace {

using frontcash::ClosingData;
using frontcash::ClosingOptions;
using frontcash::Period;
using lib::Money;
using lib::Value;

int32_t may(int day) {
  return xbase::julianFromYmd(2024, 5, day);
}

struct Line {
  std::string folio, caja, hora, code, main, grupo;
  int32_t fecha;
  Money debit, credit;
};

void post(lib::WDBTable& t, const Line& l) {
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars("01"));
    t.FieldPut("NUMERO", Value::chars(l.folio));
    t.FieldPut("CAJA", Value::chars(l.caja));
    t.FieldPut("FECHA", Value::date(l.fecha));
    t.FieldPut("CIERRE_DIA", Value::date(l.fecha));
    t.FieldPut("HORA", Value::chars(l.hora));
    t.FieldPut("COD_TRANS", Value::chars(l.code));
    t.FieldPut("COD_TRAN", Value::chars(l.main.empty() ? l.code : l.main));
    t.FieldPut("GRUPO", Value::chars(l.grupo));
    t.FieldPut("DEBITO", l.debit);
    t.FieldPut("CREDITO", l.credit);
  });
}

void folio(const std::string& numero, const std::string& currency) {
  auto t = lib::USE(nullptr, "ENC_FOL");
  lib::ADD(*t, [&] {
    t->FieldPut("NEGOCIO", Value::chars("01"));
    t->FieldPut("NUMERO", Value::chars(numero));
    t->FieldPut("MONEDA", Value::chars(currency));
  });
  lib::KILLTABLA(t);
}

// The amounts a printed total shows after `label`: one per line, the label's own line and
// the lines under it that carry no label of their own.
std::vector<std::string> printedTotal(const std::string& text, const std::string& label) {
  std::vector<std::string> amounts;
  std::istringstream in(text);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    const bool labelled = !line.empty() && line[0] != ' ';
    if (inside && labelled) break;
    if (line.rfind(label, 0) == 0) inside = true;
    if (!inside) continue;
    const size_t last = line.find_last_of(' ');
    amounts.push_back(lib::trim(line.substr(last + 1)));
  }
  return amounts;
}

std::string cents(Money m) {
  // As the picture prints it: thousands separated.
  std::string digits = m.abs().text(2);
  std::string whole = digits.substr(0, digits.size() - 3), out;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
    out += whole[i];
  }
  return (m.negative() ? "-" : "") + out + digits.substr(digits.size() - 3);
}

class ClosingReport : public testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder_.path() + "' --force --demo 2>&1",
                                          &out),
              0)
        << out;
    auto business = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
    ASSERT_TRUE(business->Seek("01"));
    lib::MODIFY(*business, [&] { business->FieldPut("MON_FOL", Value::num(1)); });
    lib::KILLTABLA(business);
  }
  testing_support::ProgramFolder folder_;
};

// A month's worth of lines at three registers; the period's totals computed here from the
// lines as written, per folio currency in order of first appearance.
TEST_F(ClosingReport, TheGrandTotalsAreTheLinesOfThePeriodToTheCent) {
  folio("F-COL", "01");
  folio("F-USD", "02");
  folio("F-EUR", "03");
  const std::vector<std::string> folios = {"F-USD", "F-COL", "F-EUR"};
  const std::map<std::string, std::string> currencyOf = {{"F-COL", "01"}, {"F-USD", "02"}, {"F-EUR", "03"}};
  // The codes posted, and which of them the demo makes register codes (DEPOSITA): SOBR is
  // one of the register's operations but not a register code.
  const std::vector<std::string> codes = {"EFEC", "TARJ", "TRAN", "DEPO", "HOSP", "ALIM", "SOBR"};
  const std::map<std::string, bool> counted = {{"EFEC", true}, {"TARJ", true}, {"TRAN", true}, {"DEPO", true},
                                               {"HOSP", false}, {"ALIM", false}, {"SOBR", false}};
  std::mt19937 random(20240514);
  auto lines = lib::USE(nullptr, "DET_FOL", "DET_FOL11");
  const Period start{may(13), "23:00:00"}, end{may(14), "06:30:00"};
  std::vector<Line> counting;
  std::vector<std::pair<std::string, Money>> grand;  // currency, total in order of first appearance
  auto add = [&](const std::string& currency, Money amount) {
    for (auto& [c, total] : grand)
      if (c == currency) return void(total += amount);
    grand.emplace_back(currency, amount);
  };
  for (int n = 0; n < 3000; ++n) {
    Line l;
    l.folio = folios[random() % folios.size()];
    l.caja = (random() % 3 == 0) ? "01" : "02";
    l.fecha = may(1 + static_cast<int>(random() % 20));
    char hora[9];
    std::snprintf(hora, sizeof hora, "%02u:%02u:%02u", unsigned(random() % 24), unsigned(random() % 60), unsigned(random() % 60));
    l.hora = hora;
    if (n == 0) l = {"F-USD", "02", "23:00:00", "EFEC", "", "", may(13), Money(), *Money::parse("10.01")};
    if (n == 1) l = {"F-COL", "02", "06:30:00", "TARJ", "", "", may(14), Money(), *Money::parse("999.99")};
    if (n == 2) l = {"F-COL", "02", "06:30:01", "EFEC", "", "", may(14), Money(), *Money::parse("1.00")};
    if (n > 2) {
      l.code = codes[random() % codes.size()];
      const Money amount = Money::millionths(static_cast<int64_t>(random() % 5'000'000) * 10'000);
      (random() % 4 == 0 ? l.debit : l.credit) = amount;
    }
    post(*lines, l);
    const std::string at = xbase::dtos(l.fecha) + l.hora;
    const bool inPeriod = at >= xbase::dtos(start.date) + start.time && at <= xbase::dtos(end.date) + end.time;
    if (l.caja == "02" && inPeriod && counted.at(l.code)) counting.push_back(l);
  }
  // The report walks the codes in code order and, under each, its lines by the moment they
  // were posted: a currency's total line comes where that walk first meets the currency.
  std::stable_sort(counting.begin(), counting.end(), [](const Line& a, const Line& b) {
    return a.code != b.code ? a.code < b.code : xbase::dtos(a.fecha) + a.hora < xbase::dtos(b.fecha) + b.hora;
  });
  for (const Line& l : counting) add(currencyOf.at(l.folio), l.debit.isZero() ? l.credit : -l.debit);
  lib::KILLTABLA(lines);
  ASSERT_GE(grand.size(), 2u);

  const ClosingOptions options;  // "Ninguna", no detail
  const ClosingData data = frontcash::RECOGE_CIERRE("01", "02", start, end, options);
  screens::PRINT_DOC doc("Cierre de Caja", "CIERRE.PDF");
  frontcash::IMPRIME_CIERRE(data, options, doc);
  // Read back from the printed page, as a person would.
  const std::string pdf = folder_.path() + "/TEMP/CIERRE.PDF";
  ASSERT_TRUE(doc.TO_PDF(pdf));
  std::string text;
  ASSERT_EQ(testing_support::runCommand("pdftotext -layout '" + pdf + "' -", &text), 0);
  const std::vector<std::string> printed = printedTotal(text, "***Gran Total: ");
  ASSERT_EQ(printed.size(), grand.size()) << text;
  for (size_t i = 0; i < grand.size(); ++i) EXPECT_EQ(printed[i], cents(grand[i].second)) << grand[i].first;
}

// A charge posted with two tax lines: grouped, one row under the charge's code summing the
// three; ungrouped, three rows under three codes. A chosen currency converts every amount.
TEST_F(ClosingReport, AGroupedPostingIsListedOnceUnderItsMainCode) {
  folio("F-1", "01");
  auto lines = lib::USE(nullptr, "DET_FOL", "DET_FOL11");
  for (auto [code, amount] : {std::pair{"EFEC", "100.00"}, {"TARJ", "13.00"}, {"TRAN", "10.00"}})
    post(*lines, {"F-1", "02", "01:00:00", code, "EFEC", "0001", may(14), Money(), *Money::parse(amount)});
  lib::KILLTABLA(lines);
  const Period start{may(13), "23:00:00"}, end{may(14), "06:30:00"};

  ClosingOptions grouped;
  grouped.compuestas = true;
  const ClosingData g = frontcash::RECOGE_CIERRE("01", "02", start, end, grouped);
  ASSERT_EQ(g.rows.size(), 1u);
  EXPECT_EQ(g.rows[0].cTrans, "EFEC");
  EXPECT_EQ(g.rows[0].credito, *Money::parse("123.00"));

  const ClosingData plain = frontcash::RECOGE_CIERRE("01", "02", start, end, ClosingOptions{});
  ASSERT_EQ(plain.rows.size(), 3u);
  const auto totals = frontcash::TOTALIZA_CIERRE(plain);
  ASSERT_EQ(totals.perCode.size(), 3u);
  EXPECT_EQ(totals.grand.of("01"), *Money::parse("123.00"));
}

// Created before the period and annulled in it: only in the annulled section. Created and
// annulled in it: not listed. Created in it: listed, money in or out by its concept.
TEST_F(ClosingReport, PrepaymentsAnnulledInThePeriodHaveTheirOwnSection) {
  // The prepayment register with these movements alone (the demo's month taken away).
  lib::DELETE_RECORDS("ENC_HLIB", "ENC_HLIB13", "0103");
  auto concepts = lib::USE(nullptr, "CON_HLIB");
  for (auto [code, kind] : {std::pair{"DEP", 1}, {"DEV", 0}})
    lib::ADD(*concepts, [&] {
      concepts->FieldPut("NEGOCIO", Value::chars("01"));
      concepts->FieldPut("CONCEPTO", Value::chars(code));
      concepts->FieldPut("DESCRIP", Value::chars(code == std::string("DEP") ? "Depósito" : "Devolución"));
      concepts->FieldPut("TIPO", Value::num(kind));
    });
  lib::KILLTABLA(concepts);
  auto movements = lib::USE(nullptr, "ENC_HLIB");
  struct M {
    const char *mov, *concepto;
    const char* amount;
    int createdDay;
    const char* createdAt;
    int annulledDay;
    const char* annulledAt;
  };
  for (const M& m : {M{"1", "DEP", "200.00", 10, "10:00:00", 13, "09:00:00"}, M{"2", "DEP", "75.00", 13, "08:30:00", 13, "12:00:00"},
                     M{"3", "DEP", "500.00", 13, "10:00:00", 0, ""}, M{"4", "DEV", "40.00", 13, "11:00:00", 0, ""}})
    lib::ADD(*movements, [&] {
      movements->FieldPut("NEGOCIO", Value::chars("01"));
      movements->FieldPut("CAJA", Value::chars("03"));
      movements->FieldPut("MOVIMIENTO", Value::chars(m.mov));
      movements->FieldPut("CONCEPTO", Value::chars(m.concepto));
      movements->FieldPut("MONTO", *Money::parse(m.amount));
      movements->FieldPut("MONEDA", Value::chars("01"));
      movements->FieldPut("CAMBIO_CON", Value::num(1));
      movements->FieldPut("F_CREACION", Value::date(may(m.createdDay)));
      movements->FieldPut("H_CREACION", Value::chars(m.createdAt));
      movements->FieldPut("ANULADO", Value::num(m.annulledDay ? 1 : 0));
      movements->FieldPut("F_ANULADO", Value::date(m.annulledDay ? may(m.annulledDay) : 0));
      movements->FieldPut("H_ANULADO", Value::chars(m.annulledAt));
    });
  lib::KILLTABLA(movements);
  ClosingOptions options;
  options.moneda = "01";
  options.detalle = true;
  const ClosingData data = frontcash::RECOGE_CIERRE("01", "03", {may(13), "08:00:00"}, {may(13), "17:00:00"}, options);
  ASSERT_EQ(data.control, 1);
  std::map<std::string, bool> listed;
  for (const auto& row : data.rows) listed[lib::trim(row.movimiento)] = row.anulado;
  EXPECT_EQ(listed.size(), 3u);
  EXPECT_TRUE(listed.at("1"));
  EXPECT_FALSE(listed.count("2"));
  EXPECT_FALSE(listed.at("3"));
  EXPECT_FALSE(listed.at("4"));
  screens::PRINT_DOC doc("Cierre de Caja", "PREPAGOS.PDF");
  frontcash::IMPRIME_CIERRE(data, options, doc);
  const std::string pdf = folder_.path() + "/TEMP/PREPAGOS.PDF";
  ASSERT_TRUE(doc.TO_PDF(pdf));
  std::string text;
  ASSERT_EQ(testing_support::runCommand("pdftotext -layout '" + pdf + "' -", &text), 0);
  EXPECT_NE(text.find("CIERRE DE CAJA PRE-PAGOS"), std::string::npos);
  EXPECT_EQ(printedTotal(text, "***Gran Total ")[0], "460.00") << text;
  EXPECT_NE(text.find("MOVIMIENTOS ANULADOS CON FECHA CREACION FUERA DE CIERRE:"), std::string::npos);
  EXPECT_EQ(printedTotal(text, "***Gran Total Nulo")[0], "200.00") << text;
}

}  // namespace
