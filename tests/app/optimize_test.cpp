// Optimising tables on real files: what a run removes and repairs, and the tables it leaves
// alone (held by another workstation, or not there at all) without stopping.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/optimize.h"
#include "support/program_folder.h"
#include "xbase/dbf_table.h"

using testing_support::ProgramFolder;

namespace {

const std::vector<xbase::FieldSpec> kFields = {{"CODIGO", 'C', 4}, {"NOTAS", 'M', 10}};

std::unique_ptr<xbase::DbfTable> open(ProgramFolder& p, const std::string& name) {
  return xbase::DbfTable::open(p.bases(name + ".DBF"));
}

void fill(ProgramFolder& p, const std::string& name, const std::vector<std::string>& codes) {
  auto t = xbase::DbfTable::open(p.bases(name + ".DBF"), {false, false});
  for (const std::string& code : codes) {
    t->append();
    t->putString("CODIGO", code);
    t->putString("NOTAS", "Notas de " + code);
  }
}

}  // namespace

TEST(Optimize, RemovesTheDeletedRecordsAndKeepsTheOthersWithTheirMemos) {
  ProgramFolder p;
  p.table("CODIGOS.DBF", kFields, {"CODIGOS: CODIGO"});
  fill(p, "CODIGOS", {"A", "B", "C", "D"});
  {
    auto t = xbase::DbfTable::open(p.bases("CODIGOS.DBF"), {false, false});
    for (uint32_t recno : {1u, 3u}) {
      t->goTo(recno);
      t->deleteRecord();
    }
  }
  app::Optimization r = app::OPTIMIZA_TABLA("codigos");
  EXPECT_TRUE(r.done) << r.what;
  EXPECT_EQ(r.table, "CODIGOS");
  EXPECT_EQ(r.removed, 2u);
  EXPECT_EQ(app::resultLine(r),
            "CODIGOS: verificada sin diferencias, reindexada, compactada (2 registros borrados eliminados)");
  auto t = open(p, "CODIGOS");
  ASSERT_EQ(t->recCount(), 2u);
  t->goTo(2);
  EXPECT_EQ(t->getString("CODIGO"), "D   ");
  EXPECT_EQ(t->getString("NOTAS"), "Notas de D");
  EXPECT_TRUE(t->check().ok());
}

TEST(Optimize, AnIndexThatMissesKeysIsFoundAndRebuilt) {
  ProgramFolder p;
  p.table("CODIGOS.DBF", kFields, {"CODIGOS: CODIGO"});
  const std::string cdx = p.bases("CODIGOS.CDX"), empty = p.path() + "/vacio.cdx";
  std::filesystem::copy_file(cdx, empty);
  fill(p, "CODIGOS", {"B", "A", "C"});
  std::filesystem::copy_file(empty, cdx, std::filesystem::copy_options::overwrite_existing);
  ASSERT_FALSE(open(p, "CODIGOS")->check().ok());
  app::Optimization r = app::OPTIMIZA_TABLA("CODIGOS");
  EXPECT_TRUE(r.done) << r.what;
  EXPECT_GT(r.discrepancies, 0u);
  EXPECT_NE(r.what.find("diferencias en el índice"), std::string::npos) << r.what;
  auto t = open(p, "CODIGOS");
  EXPECT_TRUE(t->check().ok());
  t->setOrder("CODIGOS");
  t->goTop();
  EXPECT_EQ(t->getString("CODIGO"), "A   ");
}

TEST(Optimize, ATableInUseElsewhereOrMissingIsLeftAloneAndSaidWhy) {
  ProgramFolder p;
  p.table("CODIGOS.DBF", kFields, {"CODIGOS: CODIGO"});
  fill(p, "CODIGOS", {"A", "B"});
  {
    auto t = xbase::DbfTable::open(p.bases("CODIGOS.DBF"), {false, false});
    t->goTo(1);
    t->deleteRecord();
  }
  auto other = open(p, "CODIGOS");  // another workstation has it open
  app::Optimization busy = app::OPTIMIZA_TABLA("CODIGOS");
  EXPECT_FALSE(busy.done);
  EXPECT_EQ(app::resultLine(busy), "CODIGOS: no se optimizó, en uso por otra estación o ventana");
  EXPECT_EQ(other->recCount(), 2u);  // nothing removed under its feet
  other.reset();
  app::Optimization missing = app::OPTIMIZA_TABLA("NOEXISTE");
  EXPECT_FALSE(missing.done);
  EXPECT_EQ(missing.what.rfind("no se pudo abrir: ", 0), 0u) << missing.what;
  EXPECT_TRUE(app::OPTIMIZA_TABLA("CODIGOS").done);  // free again
}

TEST(Optimize, TheDatabaseTablesAreTheFilesOfBasesByName) {
  ProgramFolder p;
  p.table("ROOMS.DBF", kFields);
  p.table("tipo_rom.dbf", kFields);
  p.table("DUMMYADS.DBF", kFields);  // the program's own, always open
  std::FILE* other = std::fopen(p.bases("LEAME.TXT").c_str(), "w");
  std::fclose(other);
  EXPECT_EQ(app::TABLAS_BASE(), (std::vector<std::string>{"ROOMS", "TIPO_ROM"}));
}
