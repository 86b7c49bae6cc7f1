// Serial numbers: formatting, missing series, and two processes drawing from one series.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "lib/errors.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/use.h"
#include "support/program_folder.h"

using namespace lib;
using testing_support::ProgramFolder;

namespace {

const std::vector<xbase::FieldSpec> kSeriales = {{"NEGOCIO", 'C', 2},   {"MODULO", 'C', 10},  {"CODIGO", 'C', 4},
                                                 {"DESCRIP", 'C', 40},  {"PREFIJO", 'C', 10}, {"POSFIJO", 'C', 10},
                                                 {"NUMERO", 'N', 15},   {"NUMERO2", 'N', 15}, {"INDENT", 'N', 2},
                                                 {"JUSTIFICA", 'N', 1}, {"MUTUO", 'C', 2},    {"CURRENT_N", 'C', 15}};

void series(const std::string& code, const std::string& prefix, double number, int indent, int justify,
            const std::string& suffix = "") {
  auto t = USE(nullptr, "SERIALES", "SERIALES");
  ADD(*t, [&] {
    t->FieldPut("NEGOCIO", Value::chars("01"));
    t->FieldPut("CODIGO", Value::chars(code));
    t->FieldPut("PREFIJO", Value::chars(prefix));
    t->FieldPut("POSFIJO", Value::chars(suffix));
    t->FieldPut("NUMERO", Value::num(number));
    t->FieldPut("INDENT", Value::num(indent));
    t->FieldPut("JUSTIFICA", Value::num(justify));
  });
}

double numberOf(const std::string& code) {
  auto t = USE(nullptr, "SERIALES", "SERIALES");
  std::string key = "01" + std::string(10, ' ') + code;
  return t->Seek(key) ? t->N("NUMERO") : -1;
}

}  // namespace

TEST(Serials, FormatsPrefixNumberAndSuffix) {
  ProgramFolder p;
  p.table("SERIALES.DBF", kSeriales, {"SERIALES: NEGOCIO+MODULO+CODIGO"});
  series("FA", "FA-", 41, 6, 0);
  series("FB", "FA-", 41, 6, 1);
  series("NC", "NC", 1234, 3, 0, "/B");
  EXPECT_EQ(GET_CURRENTSERIAL(nullptr, "01", "FA"), "FA-000042      ");
  EXPECT_EQ(numberOf("FA"), 41);  // looking does not take
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "FA"), "FA-000042      ");
  EXPECT_EQ(numberOf("FA"), 42);
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "FA"), "FA-000043      ");
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "FB"), "FA-42          ");
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "NC"), "NC1235/B       ");  // longer than INDENT: not cut
  auto t = USE(nullptr, "SERIALES", "SERIALES");
  ASSERT_TRUE(t->Seek("01" + std::string(10, ' ') + "FA"));
  EXPECT_EQ(t->S("CURRENT_N"), "FA-000043");
}

TEST(Serials, AnUndefinedSeriesGivesNoSerialAndChangesNothing) {
  ProgramFolder p;
  p.table("SERIALES.DBF", kSeriales, {"SERIALES: NEGOCIO+MODULO+CODIGO"});
  series("FA", "FA-", 41, 6, 0);
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "ZZ"), "NO_SERIAL!     ");
  EXPECT_EQ(GET_NXSERIAL(nullptr, "02", "FA"), "NO_SERIAL!     ");
  EXPECT_EQ(GET_CURRENTSERIAL(nullptr, "01", "ZZ"), "NO_SERIAL!     ");
  EXPECT_EQ(numberOf("FA"), 41);
}

TEST(Serials, TwoProcessesDrawingAtOnceGetDistinctConsecutiveNumbers) {
  ProgramFolder p;
  p.table("SERIALES.DBF", kSeriales, {"SERIALES: NEGOCIO+MODULO+CODIGO"});
  series("FA", "", 1000, 8, 0);
  std::string path = p.path() + "/";
  int out[2][2];
  pid_t pids[2];
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(pipe(out[k]), 0);
    pids[k] = fork();
    if (pids[k] == 0) {
      close(out[k][0]);
      Globals& g = resetGlobals();  // a workstation of its own, on the real clock
      g.PATH = path;
      g.DEF_RDD = "DBFCDX";
      std::string numbers;
      for (int i = 0; i < 500; ++i) numbers += GET_NXSERIAL(nullptr, "01", "FA").substr(0, 8) + "\n";
      ssize_t w = write(out[k][1], numbers.data(), numbers.size());
      _exit(w == ssize_t(numbers.size()) ? 0 : 1);
    }
    close(out[k][1]);
  }
  std::set<int> all;
  for (int k = 0; k < 2; ++k) {
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(out[k][0], buf, sizeof buf)) > 0) text.append(buf, size_t(n));
    close(out[k][0]);
    int status = 0;
    waitpid(pids[k], &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (size_t at = 0; at + 9 <= text.size(); at += 9) all.insert(std::stoi(text.substr(at, 8)));
  }
  ASSERT_EQ(all.size(), 1000u);
  EXPECT_EQ(*all.begin(), 1001);
  EXPECT_EQ(*all.rbegin(), 2000);
  EXPECT_EQ(numberOf("FA"), 2000);
}

TEST(Serials, TheCallersTableKeepsItsOrderAlsoWhenTheSeriesIsFull) {
  ProgramFolder p;
  p.table("SERIALES.DBF", kSeriales, {"SERIALES: NEGOCIO+MODULO+CODIGO", "SERIAL4: NEGOCIO+DESCRIP"});
  series("FA", "", 41, 0, 1);
  series("ZZ", "", 999999999999999, 0, 1);  // the next one does not fit NUMERO
  auto t = USE(nullptr, "SERIALES", "SERIAL4");
  EXPECT_EQ(GET_NXSERIAL(nullptr, "01", "FA", 0, t.get()), "42             ");
  EXPECT_EQ(t->Order(), "SERIAL4");
  EXPECT_THROW(GET_NXSERIAL(nullptr, "01", "ZZ", 0, t.get()), xbase::Error);
  EXPECT_EQ(t->Order(), "SERIAL4");
  EXPECT_EQ(numberOf("ZZ"), 999999999999999);
}
