// configura-initdb makes a complete program folder, and every table the program opens is
// in the catalogue it makes them from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "lib/catalogue.h"
#include "lib/passwords.h"
#include "support/temp_dir.h"
#include "xbase/dbf_table.h"

using testing_support::runCommand;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

int initdb(const std::string& args, std::string* out = nullptr) {
  return runCommand(std::string(INITDB_PATH) + " " + args + " 2>&1", out);
}

}  // namespace

TEST(InitDb, CreatesEveryCatalogueTableSoundWithOneBusinessAndItsSupervisor) {
  TempDir d;
  std::string home = d.file("hotel");
  std::string out;
  ASSERT_EQ(initdb("'" + home + "' --password clave1", &out), 0) << out;
  for (const char* sub : {"BASES", "PROFILE", "TEMP", "BMP"}) EXPECT_TRUE(fs::is_directory(home + "/" + sub)) << sub;
  for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables()) {
    SCOPED_TRACE(t.name);
    auto table = xbase::DbfTable::open(home + "/BASES/" + t.name + ".DBF", {true, true});
    EXPECT_EQ(table->fieldCount(), int(t.fields.size()));
    EXPECT_EQ(table->tagNames().size(), t.tags.size());
    xbase::CheckReport r = table->check();
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.problems.front());
    if (t.profileTemplate) {
      EXPECT_TRUE(fs::exists(home + "/PROFILE/" + t.name + ".DBF"));
    }
  }
  {
    auto negocios = xbase::DbfTable::open(home + "/BASES/NEGOCIOS.DBF", {true, true});
    EXPECT_EQ(negocios->recCount(), 1u);
    EXPECT_EQ(negocios->getString("CODIGO"), "01");
    auto users = xbase::DbfTable::open(home + "/BASES/USUARIOS.DBF", {true, true});
    ASSERT_EQ(users->recCount(), 1u);
    EXPECT_EQ(users->getString("NOMBRE").substr(0, 6), "ADMIN ");
    EXPECT_EQ(users->getNumber("SUPERVISOR"), 1);
    EXPECT_EQ(users->getNumber("ADASIPA"), 1);
    EXPECT_NE(users->getString("PASSWORD"), "CLAVE1    ");  // stored scrambled
    EXPECT_EQ(lib::DECRYPT_STRING(users->getString("PASSWORD")), "CLAVE1    ");
    auto menus = xbase::DbfTable::open(home + "/BASES/MENUS.DBF", {true, true});
    EXPECT_EQ(menus->recCount(), 5001u);
  }  // closed: a new folder cannot be made over tables in use

  EXPECT_EQ(initdb("'" + home + "'", &out), 1);  // an existing folder stays as it is
  EXPECT_NE(out.find("--force"), std::string::npos);
  ASSERT_EQ(initdb("'" + home + "' --force --demo"), 0);
  EXPECT_EQ(xbase::DbfTable::open(home + "/BASES/NEGOCIOS.DBF", {true, true})->recCount(), 2u);
  EXPECT_EQ(initdb("'" + home + "' --force --password ab", &out), 1);
}

TEST(Catalogue, EveryTableTheProgramOpensIsCatalogued) {
  // lib::USE(area, "NAME", ...) and a screen's USE("NAME", "ORDER").
  std::regex use(R"(\bUSE\s*\(\s*(?:\"([A-Za-z0-9_]+)\"|[^,()\"]+,\s*\"([A-Za-z0-9_]+)\"))");
  std::set<std::string> opened;
  for (auto& e : fs::recursive_directory_iterator(std::string(CONFIGURA_SOURCE_DIR) + "/src")) {
    if (e.path().extension() != ".cpp" && e.path().extension() != ".h") continue;
    std::ifstream in(e.path());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::sregex_iterator m(text.begin(), text.end(), use), end; m != end; ++m)
      opened.insert((*m)[1].matched ? (*m)[1].str() : (*m)[2].str());
  }
  EXPECT_GE(opened.size(), 8u);  // the scan itself works
  for (const std::string& name : opened) EXPECT_NE(lib::Catalogue::builtIn().find(name), nullptr) << name;
}
