// Opening and releasing table objects: names, folders, aliases, temporary tables, the
// file bag and the open retry.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "lib/errors.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"

using namespace lib;
using testing_support::ProgramFolder;
namespace fs = std::filesystem;

namespace {

const std::vector<xbase::FieldSpec> kNegocios = {{"CODIGO", 'C', 2}, {"DESCRIP", 'C', 40}};
const std::vector<xbase::FieldSpec> kRooms = {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"NOTAS", 'M'}};

}  // namespace

TEST(TableObjects, AliasesFollowTheFileNameAndTheWorkArea) {
  EXPECT_EQ(aliasFor("ROOMS", 12), "ROOMS00012");
  EXPECT_EQ(aliasFor("NEGOCIOS", 3), "NEGOCIO003");
  EXPECT_EQ(aliasFor("C:\\HOTEL\\BASES\\F_SYS.DBF", 7), "F_SYS00007");
  EXPECT_EQ(aliasFor("T4523012.CNF", 140), "T452301140");
}

TEST(TableObjects, TwoObjectsOnOneTableHaveTheirOwnAreasAndPositions) {
  ProgramFolder p;
  p.table("NEGOCIOS.DBF", kNegocios, {"NEGOCIOS: CODIGO"});
  {
    auto t = USE(nullptr, "NEGOCIOS");
    for (auto code : {"02", "01"}) {
      ADD_NEW_REC(t.get());
      t->FieldPut("CODIGO", Value::chars(code));
      UNLOCK_NEW_REC(t.get());
    }
  }
  auto a = USE(nullptr, "negocios ", "NEGOCIOS");
  auto b = USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  EXPECT_NE(a->Area, b->Area);
  EXPECT_EQ(a->Alias, aliasFor("NEGOCIOS", a->Area));
  EXPECT_EQ(b->Alias, aliasFor("NEGOCIOS", b->Area));
  EXPECT_EQ(SELECTED(), b->Area);  // opening selects the new area
  a->GoTop();
  b->GoBottom();
  EXPECT_EQ(a->S("CODIGO"), "01");
  EXPECT_EQ(b->S("CODIGO"), "02");
  EXPECT_EQ(G().XFILES_AREA.size(), 2u);
  KILLTABLA(a);
  EXPECT_EQ(a, nullptr);
  EXPECT_TRUE(b->Used());
  b->Skip(-1);
  EXPECT_EQ(b->S("CODIGO"), "01");
  ASSERT_EQ(G().XFILES_AREA.size(), 1u);
  EXPECT_EQ(G().XFILES_AREA[0].area, b->Area);
  KILLTABLA(a);  // a released object is ignored
}

TEST(TableObjects, NamesAreCutToEightCharactersAndSubDatabasesWinWhenPresent) {
  ProgramFolder p;
  p.table("NEGOCIOS.DBF", kNegocios);
  auto t = USE(nullptr, "NEGOCIOSLARGO");
  EXPECT_EQ(t->Name, "NEGOCIOS");
  KILLTABLA(t);

  p.table("ROOMS.DBF", kRooms);
  p.table("BASES/SUB1/ROOMS.DBF", kRooms);
  p.table("NEGOCIOS.DBF", kNegocios);
  G().XDBACCESS.folder = "SUB1";
  t = USE(nullptr, "ROOMS");
  EXPECT_EQ(t->workArea().path, p.path() + "/BASES/SUB1/ROOMS.DBF");
  auto n = USE(nullptr, "NEGOCIOS");  // not in the sub-database: the main one
  EXPECT_EQ(n->workArea().path, p.path() + "/BASES/NEGOCIOS.DBF");
  EXPECT_TRUE(IS_FILE(nullptr, "ROOMS"));
  EXPECT_FALSE(IS_FILE(nullptr, "NOESTA"));
}

TEST(TableObjects, AMissingTableIsARunTimeErrorNotARetry) {
  ProgramFolder p;
  try {
    USE(nullptr, "NOESTA");
    FAIL() << "a missing table opened";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.genCode(), xbase::EG_OPEN);
    EXPECT_NE(std::string(e.what()).find("NOESTA.DBF"), std::string::npos);
  }
  EXPECT_EQ(G().XRETRIES[0], 0);
  EXPECT_TRUE(p.messages().shown.empty());
}

TEST(TemporaryTables, UniqueNamesFromTheTemplateAndEverythingErasedOnRelease) {
  ProgramFolder p;
  p.table("PROFILE/TMP_ROM2.DBF", kRooms, {"CODIGO: CODIGO"});
  // Two in the same hundredth: the second finds the first name taken and waits for the next.
  auto a = USE(nullptr, "TMP_ROM2.DBF");
  auto b = USE(nullptr, "tmp_rom2.xyz", "CODIGO");
  std::regex name("T[0-9]{7}\\.CNF");
  EXPECT_TRUE(std::regex_match(a->Name, name)) << a->Name;
  EXPECT_TRUE(std::regex_match(b->Name, name)) << b->Name;
  EXPECT_NE(a->Name, b->Name);
  EXPECT_EQ(b->Order(), "CODIGO");
  std::string stem = p.path() + "/TEMP/" + a->Name.substr(0, 8);
  EXPECT_EQ(a->Cargo, "BORRAR->" + stem + ".CDX");
  EXPECT_TRUE(fs::exists(stem + ".CNF"));
  EXPECT_TRUE(fs::exists(stem + ".FPT"));
  EXPECT_TRUE(fs::exists(stem + ".CDX"));
  // Opened exclusively: nobody else gets it.
  EXPECT_THROW(xbase::DbfTable::open(stem + ".CNF"), xbase::Error);
  SELECT(a->Area);  // b was opened last and is selected
  ADD_NEW_REC(a.get());
  a->FieldPut("CODIGO", Value::chars("X1"));
  a->FieldPut("NOTAS", Value::chars("nota"));
  UNLOCK_NEW_REC(a.get());
  KILLTABLA(a);
  EXPECT_FALSE(fs::exists(stem + ".CNF"));
  EXPECT_FALSE(fs::exists(stem + ".FPT"));
  EXPECT_FALSE(fs::exists(stem + ".CDX"));
  std::string other = p.path() + "/TEMP/" + b->Name;
  b.reset();  // an object nobody released cleans up too
  EXPECT_FALSE(fs::exists(other));
}

TEST(TemporaryTables, ALocalTemporaryFolderTakesThem) {
  ProgramFolder p;
  p.table("PROFILE/TMP_X.DBF", {{"A", 'C', 3}});
  testing_support::TempDir local;
  G().XTEMPPATH = {1, local.path()};
  auto t = USE(nullptr, "TMP_X.DBF");
  EXPECT_EQ(t->RDD, "DBFCDX");
  EXPECT_TRUE(fs::exists(local.path() + "/TEMP/" + t->Name));
  KILLTABLA(t);
  EXPECT_TRUE(fs::is_empty(local.path() + "/TEMP"));
}

TEST(FileBag, ATableReleasedInsideATransactionComesBackOnItsArea) {
  ProgramFolder p;
  p.table("ROOMS.DBF", kRooms, {"ROOMS: NEGOCIO+CODIGO"});
  {
    auto t = USE(nullptr, "ROOMS");
    for (auto c : {"3", "1", "2"}) ADD(*t, [&] { t->FieldPut("CODIGO", Value::chars(c)); });
  }
  Globals& g = G();
  g.XADSPARAMS[2] = "1";
  g.XADSTRANS = 1;  // as a server transaction leaves it
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  int area = t->Area;
  t->SetScope(Value::chars("  2"), Value::chars("  3"));
  t->GoBottom();
  KILLTABLA(t);
  ASSERT_EQ(g.XADSFILEBAG.size(), 1u);
  EXPECT_TRUE(g.areas->area(area));  // still open
  t = USE(nullptr, "ROOMS");
  EXPECT_EQ(t->Area, area);
  EXPECT_TRUE(g.XADSFILEBAG.empty());
  EXPECT_EQ(t->KeyCount(), 3u);    // no scope left
  EXPECT_EQ(t->S("CODIGO"), "1");  // on its first record
  KILLTABLA(t, true);              // a forced close really closes
  EXPECT_FALSE(g.areas->area(area));

  auto a = USE(nullptr, "ROOMS");
  int first = a->Area;
  KILLTABLA(a);
  ASSERT_EQ(g.XADSFILEBAG.size(), 1u);
  CLEAR_FILEBAG();  // the transaction ended: what the bag kept is closed
  EXPECT_FALSE(g.areas->area(first));
  EXPECT_TRUE(g.XADSFILEBAG.empty());
}

TEST(OpenRetry, ATableHeldExclusivelyIsRetriedAndAfterFiveSecondsEachFailureIsReported) {
  ProgramFolder p;
  p.table("ROOMS.DBF", kRooms);
  auto holder = xbase::DbfTable::open(p.bases("ROOMS.DBF"), {false, false});
  p.clock().at(p.clock().ticks() + 7000, [&] { holder.reset(); });
  auto t = USE(nullptr, "ROOMS");
  EXPECT_TRUE(t->Used());
  // Attempts every 100 ms for 7 s; those after the first 5 s each showed the message.
  ASSERT_EQ(p.messages().shown.size(), 19u);
  EXPECT_EQ(p.messages().shown[0].text, "No se puede abrir archivo: " + p.bases("ROOMS.DBF"));
  EXPECT_EQ(p.messages().shown[0].title, "Alerta");
  EXPECT_EQ(G().XRETRIES[0], 70);
}

TEST(OpenRetry, InsideAServerTransactionTheWaitAbortsInstead) {
  ProgramFolder p;
  p.table("ROOMS.DBF", kRooms);
  auto holder = xbase::DbfTable::open(p.bases("ROOMS.DBF"), {false, false});
  G().XADSTRANS = 1;
  EXPECT_THROW(USE(nullptr, "ROOMS"), TransactionAbort);
  EXPECT_TRUE(p.messages().shown.empty());
  EXPECT_GE(p.clock().ticks(), 5000);
}

TEST(TableFiles, CopyStructureAndCopyFile) {
  ProgramFolder p;
  p.table("ROOMS.DBF", kRooms, {"ROOMS: CODIGO"});
  auto t = USE(nullptr, "ROOMS");
  EXPECT_TRUE(COPY_STRUC(nullptr, *t, "COPIA", "F_EXPORT\\"));
  auto c = xbase::DbfTable::open(p.path() + "/F_EXPORT/COPIA.DBF", {true, true});
  EXPECT_EQ(c->fieldCount(), 3);
  EXPECT_EQ(c->field(2).type, 'M');
  std::string big(1234, 'z');
  testing_support::writeFile(p.path() + "/origen.bin", big);
  EXPECT_EQ(COPY_BFILE(p.path() + "/origen.bin", p.path() + "/copia.bin"), 0);
  EXPECT_EQ(testing_support::readFile(p.path() + "/copia.bin"), big);
  EXPECT_EQ(COPY_BFILE(p.path() + "/nada.bin", p.path() + "/x.bin"), 3);
  EXPECT_EQ(COPY_BFILE(p.path() + "/origen.bin", p.path() + "/no/existe/x.bin"), 1);
}
