// The change history on real tables: what a save records, in which order it is shown, how a
// record keeps its history when its key changes, and what is never kept.
#include <gtest/gtest.h>

#include "lib/catalogue.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "screens/history.h"
#include "support/program_folder.h"
#include "xbase/dbf_table.h"

using lib::Value;
using screens::HISTORIAL_DE;
using screens::HistoryEntry;
using testing_support::ProgramFolder;

namespace {

// A table of the catalogue, empty, with its index.
void catalogued(ProgramFolder& p, const std::string& name) {
  const lib::CatalogueTable* t = lib::Catalogue::builtIn().find(name);
  ASSERT_NE(t, nullptr) << name;
  xbase::DbfTable::create(p.bases(name + ".DBF"), t->fields, t->tags);
}

struct Folder {
  ProgramFolder p;
  Folder() {
    catalogued(p, "TIPO_ROM");
    lib::G().XUSER_ABREVIA = "ADM";
  }
};

// A room type added as an editor adds one: appended, then its fields, then recorded.
uint32_t addType(const std::string& code, const std::string& description, double factor) {
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  lib::ADD(*t, [&] {
    t->FieldPut("NEGOCIO", Value::chars("01"));
    const screens::RecordImage before = screens::IMAGEN(*t);
    t->FieldPut("CODIGO", Value::chars(code));
    t->FieldPut("DESCRIP", Value::chars(description));
    t->FieldPut("FACTOR", Value::num(factor));
    screens::REGISTRA_CAMBIOS(*t, before);
  });
  uint32_t recno = t->RecNo();
  lib::KILLTABLA(t);
  return recno;
}

size_t modify(uint32_t recno, const std::function<void(lib::WDBTable&)>& change) {
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  t->GoTo(recno);
  size_t recorded = 0;
  lib::MODIFY(*t, [&] {
    const screens::RecordImage before = screens::IMAGEN(*t);
    change(*t);
    recorded = screens::REGISTRA_CAMBIOS(*t, before);
  });
  lib::KILLTABLA(t);
  return recorded;
}

std::vector<std::string> fieldsOf(const std::vector<HistoryEntry>& entries) {
  std::vector<std::string> fields;
  for (const HistoryEntry& e : entries) fields.push_back(e.operation + ":" + e.field);
  return fields;
}

}  // namespace

TEST(History, AnAdditionRecordsWhatWasTypedAndAChangeOnlyWhatChanged) {
  Folder f;
  EXPECT_FALSE(xbase::fileExists(f.p.bases("HIST_CAM.DBF")));  // made at the first change
  uint32_t sgl = addType("SGL", "Sencilla", 1.5);
  std::vector<HistoryEntry> added = HISTORIAL_DE("TIPO_ROM", "01/SGL");
  // NEGOCIO was set before the editor's image and zero numbers are no change.
  EXPECT_EQ(fieldsOf(added), (std::vector<std::string>{"A:FACTOR", "A:DESCRIP", "A:CODIGO"}));
  EXPECT_EQ(added[0].before, "");
  EXPECT_EQ(added[0].after, "1.5000");  // with the field's decimals
  EXPECT_EQ(added[0].user, "ADM");
  EXPECT_EQ(added[0].workstation, "tester / ESTACION1");
  EXPECT_EQ(added[0].date, lib::XDATE());
  EXPECT_EQ(added[0].time, lib::XTIME());

  EXPECT_EQ(modify(sgl,
                   [](lib::WDBTable& t) {
                     t.FieldPut("DESCRIP", Value::chars("Sencilla Estándar"));
                     t.FieldPut("FACTOR", Value::num(1.5));  // written again, unchanged
                     t.FieldPut("TOPE1", Value::num(80));
                   }),
            2u);
  std::vector<HistoryEntry> all = HISTORIAL_DE("TIPO_ROM", "01/SGL");
  ASSERT_EQ(all.size(), 5u);
  // Newest first, also within one second: the change before the addition.
  EXPECT_EQ(fieldsOf(all)[0], "M:TOPE1");
  EXPECT_EQ(fieldsOf(all)[1], "M:DESCRIP");
  EXPECT_EQ(all[1].before, "Sencilla");
  EXPECT_EQ(all[1].after, "Sencilla Estándar");
  EXPECT_EQ(all[0].before, "0.00");
  EXPECT_EQ(all[0].after, "80.00");
  // A save that changes nothing records nothing.
  EXPECT_EQ(modify(sgl, [](lib::WDBTable& t) { t.FieldPut("DESCRIP", Value::chars("Sencilla Estándar")); }), 0u);
  EXPECT_EQ(HISTORIAL_DE("TIPO_ROM", "01/SGL").size(), 5u);
}

TEST(History, ARecordWhoseCodeChangesKeepsItsHistoryUnderTheNewCode) {
  Folder f;
  uint32_t dbl = addType("DBL", "Doble", 0);
  addType("SUI", "Suite", 0);
  modify(dbl, [](lib::WDBTable& t) { t.FieldPut("CODIGO", Value::chars("DBX")); });
  EXPECT_TRUE(HISTORIAL_DE("TIPO_ROM", "01/DBL").empty());
  std::vector<HistoryEntry> moved = HISTORIAL_DE("TIPO_ROM", "01/DBX");
  EXPECT_EQ(fieldsOf(moved), (std::vector<std::string>{"M:CODIGO", "A:DESCRIP", "A:CODIGO"}));
  EXPECT_EQ(moved[0].before, "DBL");
  // A new record taking the old code starts a history of its own.
  addType("DBL", "Doble nueva", 0);
  EXPECT_EQ(HISTORIAL_DE("TIPO_ROM", "01/DBL").size(), 2u);
  EXPECT_EQ(HISTORIAL_DE("TIPO_ROM", "01/SUI").size(), 2u);  // others untouched
}

TEST(History, ADeletionIsRecordedAndPasswordsNeverAre) {
  Folder f;
  catalogued(f.p, "USUARIOS");
  auto u = lib::USE(nullptr, "USUARIOS", "USUARIOS");
  lib::ADD(*u, [&] {
    u->FieldPut("NEGOCIO", Value::chars("01"));
    u->FieldPut("NOMBRE", Value::chars("CAJERA"));
  });
  lib::MODIFY(*u, [&] {
    const screens::RecordImage before = screens::IMAGEN(*u);
    u->FieldPut("PASSWORD", Value::chars("SECRETA"));
    u->FieldPut("SUPERVISOR", Value::num(1));
    screens::REGISTRA_CAMBIOS(*u, before);
  });
  lib::MODIFY(*u, [&] {
    screens::REGISTRA_BAJA(*u);
    u->Delete();
  });
  lib::KILLTABLA(u);
  std::vector<HistoryEntry> h = HISTORIAL_DE("USUARIOS", "01/CAJERA");
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(h[0].operation, "B");
  for (const HistoryEntry& e : h) {
    EXPECT_EQ(e.before.find("SECRETA"), std::string::npos);
    EXPECT_EQ(e.after.find("SECRETA"), std::string::npos);
  }
  EXPECT_EQ(h[2].field, "PASSWORD");
  EXPECT_EQ(h[2].after, "********");
  EXPECT_EQ(h[1].after, "1");
}

TEST(History, KeysFollowTheTablesFirstTag) {
  Folder f;
  catalogued(f.p, "F_HOTEL");
  catalogued(f.p, "F_SYS");
  catalogued(f.p, "SERIALES");
  auto key = [](const std::string& table, const std::function<void(lib::WDBTable&)>& fill) {
    auto t = lib::USE(nullptr, table);
    lib::ADD(*t, [&] { fill(*t); });
    std::string k = screens::CLAVE_HISTORIAL(*t);
    lib::KILLTABLA(t);
    return k;
  };
  EXPECT_EQ(key("F_HOTEL", [](lib::WDBTable& t) { t.FieldPut("NEGOCIO", Value::chars("02")); }), "02");
  EXPECT_EQ(key("F_SYS", [](lib::WDBTable&) {}), "#1");  // no tag: the record number
  EXPECT_EQ(key("SERIALES",
                [](lib::WDBTable& t) {
                  t.FieldPut("NEGOCIO", Value::chars("01"));
                  t.FieldPut("CODIGO", Value::chars("FA"));
                }),
            "01//FA");  // a blank MODULO between them
}

TEST(History, TheTableMadeOnFirstUseHasItsIndex) {
  Folder f;
  screens::CREA_HISTORIAL();
  auto t = xbase::DbfTable::open(f.p.bases("HIST_CAM.DBF"));
  EXPECT_EQ(t->tagNames(), std::vector<std::string>{"HIST_CAM"});
  EXPECT_TRUE(t->check().ok());
  t.reset();
  addType("SGL", "Sencilla", 0);
  screens::CREA_HISTORIAL();  // there already: left as it is
  EXPECT_EQ(HISTORIAL_DE("TIPO_ROM", "01/SGL").size(), 2u);
}
