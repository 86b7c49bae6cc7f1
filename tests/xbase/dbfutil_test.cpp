// dbfutil as an administrator uses it: every subcommand through the command line.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "xbase/dbf_table.h"

using testing_support::readFile;
using testing_support::runCommand;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

int dbfutil(const std::string& args, std::string* out = nullptr) {
  return runCommand(std::string(DBFUTIL_PATH) + " " + args + " 2>&1", out);
}

std::string q(const std::string& s) {
  return "'" + s + "'";
}

}  // namespace

TEST(Dbfutil, CreateLoadInfoAndDumpInTagOrder) {
  TempDir dir;
  std::string t = dir.file("ROOMS.DBF");
  std::string out;
  ASSERT_EQ(dbfutil("create " + q(t) +
                        " --fields 'NEGOCIO C 2, CODIGO C 4, CANT N 8 2, FECHA D, ACTIVO L, NOTAS M'"
                        " --tag 'ROOMS: NEGOCIO+CODIGO' --tag 'FECHA: DTOS(FECHA) FOR ACTIVO DESCENDING'",
                    &out),
            0)
      << out;
  writeFile(dir.file("data.tsv"),
            "NEGOCIO\tCODIGO\tCANT\tFECHA\tACTIVO\tNOTAS\n"
            "02\tB\t1.5\t20261208\tT\tuna\\nlínea más\n"
            "01\tZ\t-3\t\tF\t\n"
            "01\tA\t12345.678\t20250101\tT\tcon \\\\ barra\n");
  ASSERT_EQ(dbfutil("load " + q(t) + " < " + q(dir.file("data.tsv")), &out), 0) << out;
  EXPECT_EQ(out, "3 registros agregados\n");

  ASSERT_EQ(dbfutil("info " + q(t), &out), 0) << out;
  EXPECT_EQ(out,
            "VERSION 0xF5 FoxPro 2 con memo FPT\nCODEPAGE 1252\nRECORDS 3\nHEADER 225\nRECORDLENGTH 34\n"
            "NEGOCIO C 2 0\nCODIGO C 4 0\nCANT N 8 2\nFECHA D 8 0\nACTIVO L 1 0\nNOTAS M 10 0\n"
            "TAG FECHA KEY DTOS(FECHA) FOR ACTIVO DESCENDING\nTAG ROOMS KEY NEGOCIO+CODIGO\n");

  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag ROOMS", &out), 0) << out;
  EXPECT_EQ(out,
            "RECNO\tNEGOCIO\tCODIGO\tCANT\tFECHA\tACTIVO\tNOTAS\n"
            "3\t01\tA\t12345.68\t20250101\tT\tcon \\\\ barra\n"
            "2\t01\tZ\t-3.00\t\tF\t\n"
            "1\t02\tB\t1.50\t20261208\tT\tuna\\nlínea más\n");
  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag FECHA", &out), 0);
  EXPECT_EQ(out.substr(out.find('\n') + 1, 2), "1\t");  // newest first, record 2 not in the tag
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag ROOMS --scope 01", &out), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  ASSERT_EQ(dbfutil("check " + q(t), &out), 0);
  EXPECT_EQ(out, "OK\n");

  // --replace: the loaded rows are the table's only ones, memos and index included.
  writeFile(dir.file("new.tsv"), "NEGOCIO\tCODIGO\tNOTAS\n03\tQ\totra nota\n");
  ASSERT_EQ(dbfutil("load " + q(t) + " --replace < " + q(dir.file("new.tsv")), &out), 0) << out;
  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag ROOMS", &out), 0) << out;
  EXPECT_EQ(out,
            "RECNO\tNEGOCIO\tCODIGO\tCANT\tFECHA\tACTIVO\tNOTAS\n"
            "1\t03\tQ\t\t\tF\totra nota\n");
  ASSERT_EQ(dbfutil("check " + q(t), &out), 0);
  EXPECT_EQ(out, "OK\n");
  EXPECT_EQ(dbfutil("load " + q(t) + " --append < " + q(dir.file("new.tsv")), &out), 2);
}

TEST(Dbfutil, RepairsSetDeleteRecallPackAndIndex) {
  TempDir dir;
  std::string t = dir.file("T.DBF");
  std::string out;
  ASSERT_EQ(dbfutil("create " + q(t) + " --fields 'CODIGO C 4, N N 3' --tag 'CODIGO: CODIGO'"), 0);
  writeFile(dir.file("d.tsv"), "CODIGO\tN\nA\t1\nB\t2\nC\t3\n");
  ASSERT_EQ(dbfutil("load " + q(t) + " < " + q(dir.file("d.tsv"))), 0);
  ASSERT_EQ(dbfutil("set " + q(t) + " 2 CODIGO=Z N=9", &out), 0) << out;
  ASSERT_EQ(dbfutil("delete " + q(t) + " 1"), 0);
  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag CODIGO", &out), 0);
  EXPECT_EQ(out, "RECNO\tCODIGO\tN\n3\tC\t3\n2\tZ\t9\n");
  ASSERT_EQ(dbfutil("dump " + q(t) + " --all", &out), 0);
  EXPECT_EQ(out, "RECNO\tCODIGO\tN\tDELETED\n1\tA\t1\t*\n2\tZ\t9\t\n3\tC\t3\t\n");
  ASSERT_EQ(dbfutil("recall " + q(t) + " 1"), 0);
  ASSERT_EQ(dbfutil("delete " + q(t) + " 3"), 0);
  ASSERT_EQ(dbfutil("pack " + q(t)), 0);
  ASSERT_EQ(dbfutil("dump " + q(t), &out), 0);
  EXPECT_EQ(out, "RECNO\tCODIGO\tN\n1\tA\t1\n2\tZ\t9\n");
  ASSERT_EQ(dbfutil("index " + q(t) + " --tag 'N: N DESCENDING'"), 0);
  ASSERT_EQ(dbfutil("dump " + q(t) + " --tag N", &out), 0);
  EXPECT_EQ(out, "RECNO\tCODIGO\tN\n2\tZ\t9\n1\tA\t1\n");
  ASSERT_EQ(dbfutil("reindex " + q(t)), 0);
  ASSERT_EQ(dbfutil("check " + q(t), &out), 0) << out;
}

TEST(Dbfutil, FailuresAreOneLineAndNonZero) {
  TempDir dir;
  std::string t = dir.file("T.DBF");
  std::string out;
  EXPECT_EQ(dbfutil("info " + q(dir.file("NADA.DBF")), &out), 1);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
  EXPECT_NE(out.find("NADA.DBF"), std::string::npos);
  EXPECT_EQ(dbfutil("bogus " + q(t), &out), 2);
  EXPECT_EQ(dbfutil("create " + q(t) + " --fields 'X Q 3'", &out), 1);
  ASSERT_EQ(dbfutil("create " + q(t) + " --fields 'CODIGO C 4, N N 3' --tag 'CODIGO: CODIGO'"), 0);
  EXPECT_EQ(dbfutil("set " + q(t) + " 5 N=1", &out), 1);
  writeFile(dir.file("bad.tsv"), "CODIGO\tN\nA\tdoce\n");
  EXPECT_EQ(dbfutil("load " + q(t) + " < " + q(dir.file("bad.tsv")), &out), 1);
  EXPECT_NE(out.find("línea 2"), std::string::npos) << out;
  EXPECT_EQ(dbfutil("index " + q(t) + " --tag 'MALO: NOFUNC(CODIGO)'", &out), 1);
  EXPECT_NE(out.find("NOFUNC(CODIGO)"), std::string::npos) << out;

  // An index that disagrees with its table: check says where and exits 1.
  writeFile(dir.file("d.tsv"), "CODIGO\tN\nA\t1\nB\t2\n");
  ASSERT_EQ(dbfutil("load " + q(t) + " < " + q(dir.file("d.tsv"))), 0);
  std::string bytes = readFile(t);
  bytes[bytes.size() - 1 - 7] = 'Q';  // record 2's code, behind the index's back
  writeFile(t, bytes);
  EXPECT_EQ(dbfutil("check " + q(t), &out), 1);
  EXPECT_NE(out.find("registro 2"), std::string::npos) << out;
  EXPECT_EQ(dbfutil("reindex " + q(t)), 0);
  EXPECT_EQ(dbfutil("check " + q(t)), 0);
}

TEST(Dbfutil, DumpEscapesBytesThatAreNotTextAndLoadReadsThemBack) {
  TempDir dir;
  std::string t = dir.file("BIN.DBF");
  std::vector<xbase::FieldSpec> fields = {
      {"CODIGO", 'C', 2}, {"DATOS", 'C', 6, 0, false, true}, {"BLOB", 'M', 4, 0, false, true}, {"NOTAS", 'M', 4}};
  xbase::DbfTable::create(t, fields);
  const std::string datos = std::string("\x00\xFF\x80", 3) + "A\\";  // the padding blank is trimmed by dump
  const std::string blob = "\xC3\xA9 ok \xE9\x01\x7F\xF0\x9F\x8F\xA8\xED\xA0\x80\xC0\xAF\n";
  {
    auto table = xbase::DbfTable::open(t, {false, false});
    ASSERT_TRUE(table->append());
    table->putString("CODIGO", "01");
    table->putString("DATOS", datos);
    table->putString("BLOB", blob);
    table->putString("NOTAS", "Ñandú\tcon \\x41");
  }
  std::string out;
  ASSERT_EQ(dbfutil("dump " + q(t), &out), 0) << out;
  // é and the four-byte 🏨 stay; a lone 0xE9, controls, a surrogate and an overlong "/" do not.
  EXPECT_EQ(out,
            "RECNO\tCODIGO\tDATOS\tBLOB\tNOTAS\n"
            "1\t01\t\\x00\\xFF\\x80A\\\\\t"
            "\xC3\xA9 ok \\xE9\\x01\\x7F\xF0\x9F\x8F\xA8\\xED\\xA0\\x80\\xC0\\xAF\\n\t"
            "Ñandú\\tcon \\\\x41\n");

  // What dump wrote, loaded into a table of the same structure, gives back the same bytes.
  std::string copy = dir.file("COPIA.DBF");
  xbase::DbfTable::create(copy, fields);
  writeFile(dir.file("bin.tsv"), out);  // load skips the RECNO column
  ASSERT_EQ(dbfutil("load " + q(copy) + " < " + q(dir.file("bin.tsv")), &out), 0) << out;
  auto back = xbase::DbfTable::open(copy, {true, true});
  back->goTo(1);
  EXPECT_EQ(back->getString("DATOS"), datos + " ");
  EXPECT_EQ(back->getString("BLOB"), blob);
  EXPECT_EQ(back->getString("NOTAS"), "Ñandú\tcon \\x41");
}
