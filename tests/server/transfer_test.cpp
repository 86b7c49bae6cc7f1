// dbfutil push / pull and configura-initdb --server, run as an administrator runs them, and
// the server driver checked against the engine on random work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#include "lib/catalogue.h"
#include "lib/param_file.h"
#include "server/server_fixture.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using testing_support::ProgramFolder;
using testing_support::ServerFolder;
using testing_support::ServerSchema;
using testing_support::TempDir;
using xbase::Value;

namespace {

std::string shellWord(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a command line; its standard output, and its exit status in `status`.
std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  status = pclose(p);
  return out;
}

std::string dump(const std::string& table, const std::string& options) {
  int status = 0;
  std::string out = run(std::string(DBFUTIL_PATH) + " dump " + shellWord(table) + " " + options, status);
  EXPECT_EQ(status, 0) << out;
  return out;
}

// Creates `table` with dbfutil (`fields` as its --fields) and loads `rows` (tab-separated,
// the field names first) into it.
void createWithRows(const std::string& table, const std::string& fields, const std::string& rows) {
  int status = 0;
  std::string dbf = std::string(DBFUTIL_PATH);
  std::string out = run(dbf + " create " + shellWord(table) + " --fields " + shellWord(fields), status);
  ASSERT_EQ(status, 0) << out;
  std::string tsv = table + ".tsv";
  testing_support::writeFile(tsv, rows);
  out = run(dbf + " load " + shellWord(table) + " < " + shellWord(tsv), status);
  ASSERT_EQ(status, 0) << out;
  fs::remove(tsv);
}

// A BASES folder in a temporary directory, and a schema of the test server to push it to.
struct BasesFolder {
  ServerSchema schema;
  TempDir dir;
  std::string bases = dir.path() + "/BASES";
  BasesFolder() { fs::create_directories(bases); }
  std::string push(int& status) const {
    return run(std::string(DBFUTIL_PATH) + " push " + shellWord(bases) + " " + shellWord(schema.conninfo()), status);
  }
};

}  // namespace

TEST(Transfer, PushingTheDemoFolderAndPullingItBackGivesTheSameTables) {
  ServerSchema schema;
  TempDir d;
  int status = 0;
  std::string out = run(std::string(INITDB_PATH) + " " + shellWord(d.path() + "/hotel") + " --demo", status);
  ASSERT_EQ(status, 0) << out;
  std::string bases = d.path() + "/hotel/BASES";
  // A few marks the demo does not make: a deleted record, an accented text.
  {
    auto t = xbase::DbfTable::open(bases + "/NEGOCIOS.DBF", {false, false});
    t->goTo(2);
    t->putString("DESCRIP", "Hotel de Playa — Ñandú");
    t->goTo(1);
    t->deleteRecord();
  }
  out = run(std::string(DBFUTIL_PATH) + " push " + shellWord(bases) + " " + shellWord(schema.conninfo()), status);
  ASSERT_EQ(status, 0) << out;
  int inFolder = 0;
  for (const auto& e : fs::directory_iterator(bases)) inFolder += e.path().extension() == ".DBF";
  EXPECT_GT(inFolder, 20);
  EXPECT_NE(out.find(std::to_string(inFolder) + " tablas"), std::string::npos) << out;
  std::string back = d.path() + "/copia/BASES";
  out = run(std::string(DBFUTIL_PATH) + " pull " + shellWord(schema.conninfo()) + " " + shellWord(back), status);
  ASSERT_EQ(status, 0) << out;

  int tables = 0;
  for (const auto& e : fs::directory_iterator(bases)) {
    if (e.path().extension() != ".DBF") continue;
    ++tables;
    std::string name = e.path().filename().string();
    std::string copy = back + "/" + name;
    ASSERT_TRUE(fs::exists(copy)) << name;
    EXPECT_EQ(dump(copy, "--all"), dump(e.path().string(), "--all")) << name;
    auto original = xbase::DbfTable::open(e.path().string(), {true, true});
    for (const std::string& tag : original->tagNames())
      EXPECT_EQ(dump(copy, "--tag " + tag), dump(e.path().string(), "--tag " + tag)) << name << " " << tag;
    out = run(std::string(DBFUTIL_PATH) + " check " + shellWord(copy), status);
    EXPECT_EQ(status, 0) << name << ": " << out;
  }
  EXPECT_EQ(tables, inFolder);
}

TEST(Transfer, InitdbWithAServerWritesAdsDefAndPushesTheNewDatabase) {
  ServerSchema schema;
  TempDir d;
  int status = 0;
  std::string home = d.path() + "/hotel";
  std::string out =
      run(std::string(INITDB_PATH) + " " + shellWord(home) + " --server " + shellWord(schema.conninfo()), status);
  ASSERT_EQ(status, 0) << out;
  std::vector<std::string> def = lib::GET_A_ADS(home + "/ADS.DEF");
  EXPECT_EQ(lib::paramLine(def, 1), schema.conninfo());
  EXPECT_EQ(schema.scalar("SELECT count(*) FROM xb_tables WHERE folder = 'BASES'"),
            std::to_string(lib::Catalogue::builtIn().tables().size()));
  EXPECT_EQ(schema.scalar("SELECT trim(nombre) FROM usuarios"), "ADMIN");
  size_t templates = 0;
  for (const auto& t : lib::Catalogue::builtIn().tables()) templates += t.profileTemplate ? 1 : 0;
  EXPECT_EQ(schema.scalar("SELECT count(*) FROM xb_tables WHERE folder = 'PROFILE'"), std::to_string(templates));
}

TEST(Transfer, PullingAFolderTheServerDoesNotHoldFailsNamingTheFoldersItHolds) {
  ServerSchema schema;
  TempDir d;
  int status = 0;
  std::string dbf = std::string(DBFUTIL_PATH);
  std::string out = run(dbf + " pull " + shellWord(schema.conninfo()) + " " + shellWord(d.path() + "/BASES"), status);
  EXPECT_NE(status, 0) << out;
  EXPECT_EQ(out, "dbfutil: el servidor no tiene la carpeta BASES ni ninguna otra\n");

  for (const char* folder : {"BASES", "PROFILE"}) {
    std::string dir = d.path() + "/" + folder;
    fs::create_directories(dir);
    out = run(dbf + " create " + shellWord(dir + "/T.DBF") + " --fields 'CODIGO C 4'", status);
    ASSERT_EQ(status, 0) << out;
    out = run(dbf + " push " + shellWord(dir) + " " + shellWord(schema.conninfo()), status);
    ASSERT_EQ(status, 0) << out;
  }
  std::string mistyped = d.path() + "/copia/BASE";
  out = run(dbf + " pull " + shellWord(schema.conninfo()) + " " + shellWord(mistyped), status);
  EXPECT_NE(status, 0) << out;
  EXPECT_EQ(out, "dbfutil: el servidor no tiene la carpeta BASE (tiene: BASES, PROFILE)\n");
  EXPECT_FALSE(fs::exists(mistyped));
  out = run(dbf + " pull " + shellWord(schema.conninfo()) + " " + shellWord(d.path() + "/copia/PROFILE"), status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("1 tablas, 0 registros"), std::string::npos) << out;

  // A table the server lists whose SQL table someone dropped is not left out in silence.
  schema.scalar("DROP TABLE profile__t");
  out = run(dbf + " pull " + shellWord(schema.conninfo()) + " " + shellWord(d.path() + "/otra/PROFILE"), status);
  EXPECT_NE(status, 0) << out;
  EXPECT_EQ(out, "dbfutil: la tabla figura en el servidor pero no existe: PROFILE/T\n");
}

TEST(Transfer, AValueTheCataloguesFieldCannotHoldStopsThePushOfItsTable) {
  BasesFolder f;
  int status = 0;
  // An older CLAS_ROM whose FACTOR is wider than the catalogue's N 9 4.
  std::string table = f.bases + "/CLAS_ROM.DBF";
  createWithRows(table, "NEGOCIO C 2, CODIGO C 4, FACTOR N 12 4", "NEGOCIO\tCODIGO\tFACTOR\n01\tEST\t1.5\n");
  std::string out = f.push(status);
  ASSERT_EQ(status, 0) << out;

  out = run(std::string(DBFUTIL_PATH) + " set " + shellWord(table) + " 1 FACTOR=123456.5", status);
  ASSERT_EQ(status, 0) << out;
  out = f.push(status);
  EXPECT_NE(status, 0) << out;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  EXPECT_EQ(out, "dbfutil: registro 1: el valor 123456.5000 no cabe en el campo FACTOR (N 9,4): CLAS_ROM\n");
  // The table pushed before is still there, untouched.
  EXPECT_EQ(f.schema.scalar("SELECT factor FROM clas_rom"), "1.5000");
}

// The tables are shared between two connections: a table that fails on the second is
// reported as well, and the tables of the first are pushed all the same.
TEST(Transfer, AFailureOnEitherConnectionIsReportedAndTheOtherTablesArePushed) {
  BasesFolder f;
  int status = 0;
  std::string rows = "NEGOCIO\tCODIGO\tDESCRIP\n";
  for (int i = 100; i < 400; ++i) rows += "01\t" + std::to_string(i) + "\tHabitación " + std::to_string(i) + "\n";
  createWithRows(f.bases + "/ROOMS.DBF", "NEGOCIO C 2, CODIGO C 4, DESCRIP C 200", rows);
  createWithRows(f.bases + "/CLAS_ROM.DBF", "NEGOCIO C 2, CODIGO C 4, FACTOR N 12 4",
                 "NEGOCIO\tCODIGO\tFACTOR\n01\tEST\t123456.5\n");
  std::string out = f.push(status);
  EXPECT_NE(status, 0) << out;
  EXPECT_NE(out.find("dbfutil: registro 1: el valor 123456.5000 no cabe en el campo FACTOR (N 9,4): CLAS_ROM\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(f.schema.scalar("SELECT count(*) FROM rooms"), "300");
  EXPECT_EQ(f.schema.scalar("SELECT to_regclass('clas_rom') IS NULL"), "t");
}

// COPY text escapes backslashes, tabs and line ends: values holding them reach the server
// as they were, in the fields, the memos and the key columns the server's orders use, and
// come back the same.
TEST(Transfer, TextHoldingTheCharactersCopyEscapesArrivesWhole) {
  ServerSchema schema;
  TempDir d;
  int status = 0;
  const std::string bases = d.path() + "/BASES";
  fs::create_directories(bases);
  const std::string table = bases + "/NOTAS.DBF";
  xbase::DbfTable::create(table, {{"CODIGO", 'C', 12}, {"NOTA", 'M'}}, {xbase::TagSpec::parse("CODIGO: CODIGO")});
  const std::vector<std::string> codes = {"a\\b", "tab\there", "lf\nx", "cr\ry", "\\N", "llano"};
  {
    auto t = xbase::DbfTable::open(table, {false, false});
    for (const std::string& c : codes) {
      ASSERT_TRUE(t->append());
      t->putString("CODIGO", c);
      t->putString("NOTA", "línea 1\r\n\\línea\t2 de " + c);
    }
  }
  std::string out =
      run(std::string(DBFUTIL_PATH) + " push " + shellWord(bases) + " " + shellWord(schema.conninfo()), status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(schema.scalar("SELECT count(*) FROM notas WHERE position(E'\\t' in codigo) > 0 AND "
                          "position(E'\\t' in nota) > 0"),
            "1");
  EXPECT_EQ(schema.scalar("SELECT count(*) FROM notas WHERE nota = E'l\\u00EDnea 1\\r\\n\\\\l\\u00EDnea\\t2 de ' || "
                          "rtrim(codigo)"),
            std::to_string(codes.size()));
  // Each key is the code's bytes, blank-padded as the index keeps it.
  EXPECT_EQ(schema.scalar("SELECT count(*) FROM notas WHERE \"_k_codigo\" = convert_to(rpad(codigo, 12), 'LATIN1')"),
            std::to_string(codes.size()));

  const std::string back = d.path() + "/copia/BASES";
  out = run(std::string(DBFUTIL_PATH) + " pull " + shellWord(schema.conninfo()) + " " + shellWord(back), status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(dump(back + "/NOTAS.DBF", "--all"), dump(table, "--all"));
}

// The engine is the oracle: the same random work on a local table and on a server table
// must land on the same records with the same flags and counts, whatever the server reads
// ahead (one row per round trip, or five and more: skips and seeks served from them).
class Differential : public ::testing::TestWithParam<std::tuple<uint32_t, int>> {};

TEST_P(Differential, RandomNavigationAgreesWithTheEngine) {
  ServerFolder f;
  const std::vector<xbase::FieldSpec> fields = {{"CODE", 'C', 3}, {"N", 'N', 3, 0}, {"FLAG", 'L', 1}};
  const std::vector<std::string> tags = {"CODE: CODE", "NDESC: STR(N,3)+CODE DESCENDING", "FLAGGED: CODE FOR FLAG",
                                         "N: N"};
  f.folder().table("LOCAL.DBF", fields, tags);
  f.table("REMOTE.DBF", fields, tags);
  auto local = lib::storageDriver("DBFCDX").open(f.folder().bases("LOCAL.DBF"), true, false);
  auto remote = lib::storageDriver("ADSCDX").open(f.folder().bases("REMOTE.DBF"), true, false);
  dynamic_cast<server::ServerTable&>(*remote).setCacheRecords(std::get<1>(GetParam()));
  std::mt19937 rng(std::get<0>(GetParam()));
  auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
  auto code = [&] {
    std::string c;
    int len = 1 + pick(3);
    for (int i = 0; i < len; ++i) c += char('A' + pick(4));
    return c;
  };
  ASSERT_TRUE(local->lockFile());
  ASSERT_TRUE(remote->lockFile());
  for (int i = 0; i < 80; ++i) {
    std::string c = code();
    double n = pick(12);
    bool flag = pick(2);
    for (auto* t : {local.get(), remote.get()}) {
      ASSERT_TRUE(t->append());
      t->put(0, Value::chars(c));
      t->put(1, Value::num(n));
      t->put(2, Value::boolean(flag));
      if (i % 7 == 3) t->deleteRecord();
    }
  }
  local->unlockAll();
  remote->unlockAll();

  const std::vector<std::string> orders = {"", "CODE", "NDESC", "FLAGGED", "N"};
  std::string trace;
  for (int step = 0; step < 1500; ++step) {
    int op = pick(14);
    std::string what;
    auto both = [&](auto&& action) {
      auto a = action(*local);
      auto b = action(*remote);
      EXPECT_EQ(a, b) << "step " << step << " " << what;
    };
    switch (op) {
      case 0:
        what = "goTop";
        both([](lib::TableDriver& t) { return t.goTop(), 0; });
        break;
      case 1:
        what = "goBottom";
        both([](lib::TableDriver& t) { return t.goBottom(), 0; });
        break;
      case 2:
      case 3:
      case 4: {
        int64_t n = pick(7) - 3;
        what = "skip " + std::to_string(n);
        both([&](lib::TableDriver& t) { return t.skip(n), 0; });
        break;
      }
      case 5: {
        std::string o = orders[size_t(pick(int(orders.size())))];
        what = "order " + o;
        both([&](lib::TableDriver& t) { return t.setOrder(o), 0; });
        break;
      }
      case 6:
        if (local->order().empty() || local->order() == "N") break;
        {
          std::string k = local->order() == "NDESC" ? std::to_string(pick(12)) : code();
          if (local->order() == "NDESC") k = std::string(3 - k.size(), ' ') + k;
          bool soft = pick(2), last = pick(2);
          what = "seek " + k + (soft ? " soft" : "") + (last ? " last" : "");
          both([&](lib::TableDriver& t) { return t.seek(Value::chars(k), soft, last); });
        }
        break;
      case 7:
        if (local->order().empty() || local->order() == "NDESC" || local->order() == "N") break;
        {
          std::optional<Value> top, bottom;
          if (pick(3)) top = Value::chars(code());
          if (pick(3)) bottom = Value::chars(code());
          what = "scope " + (top ? top->text : "-") + ":" + (bottom ? bottom->text : "-");
          both([&](lib::TableDriver& t) { return t.setScopeTop(top), t.setScopeBottom(bottom), 0; });
        }
        break;
      case 8:
        what = "keyCount";
        both([](lib::TableDriver& t) { return t.keyCount(); });
        break;
      case 9:
        what = "keyNo";
        both([](lib::TableDriver& t) { return t.keyNo(); });
        break;
      case 10: {
        uint32_t k = uint32_t(pick(40));
        what = "goToKeyNo " + std::to_string(k);
        both([&](lib::TableDriver& t) { return t.goToKeyNo(k); });
        break;
      }
      case 11: {
        uint32_t r = uint32_t(pick(85));
        what = "goTo " + std::to_string(r);
        both([&](lib::TableDriver& t) { return t.goTo(r), 0; });
        break;
      }
      case 12: {
        bool hidden = pick(3) != 0;
        what = std::string("hidden ") + (hidden ? "on" : "off");
        both([&](lib::TableDriver& t) { return t.setDeletedHidden(hidden), 0; });
        break;
      }
      case 13:
        if (local->eof()) break;
        {
          std::string c = code();
          bool del = pick(4) == 0;
          what = "change to " + c;
          both([&](lib::TableDriver& t) {
            bool ok = t.lockRecord(0);
            t.put(0, Value::chars(c));
            if (del) t.deleteRecord();
            t.unlockAll();
            return ok;
          });
        }
        break;
    }
    trace += what + "\n";
    ASSERT_EQ(local->eof(), remote->eof()) << "step " << step << " after " << what << "\n" << trace;
    ASSERT_EQ(local->bof(), remote->bof()) << "step " << step << " after " << what << "\n" << trace;
    ASSERT_EQ(local->found(), remote->found()) << "step " << step << " after " << what;
    ASSERT_EQ(local->recNo(), remote->recNo()) << "step " << step << " after " << what << "\n" << trace;
    ASSERT_EQ(local->get(0).text, remote->get(0).text) << "step " << step;
    ASSERT_EQ(local->deleted(), remote->deleted()) << "step " << step;
  }
}

INSTANTIATE_TEST_SUITE_P(SeedsAndCaches, Differential,
                         ::testing::Combine(::testing::Values(20260317u, 1u, 2u, 3u), ::testing::Values(1, 5)));
