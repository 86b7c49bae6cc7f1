// Tables the engine creates: values, text, memos, deletion and navigation in natural order.
#include <gtest/gtest.h>

#include "support/raw_reader.h"
#include "support/temp_dir.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

using namespace xbase;
using testing_support::readRawTable;
using testing_support::TempDir;

namespace {

std::vector<FieldSpec> sampleFields() {
  return {{"CODIGO", 'C', 4}, {"DESCRIP", 'C', 20}, {"CANT", 'N', 8, 2},
          {"FECHA", 'D'},     {"ACTIVO", 'L'},      {"NOTAS", 'M'}};
}

std::unique_ptr<DbfTable> openExclusive(const std::string& path) {
  return DbfTable::open(path, {false, false});
}

void addRow(DbfTable& t, const std::string& code, const std::string& text, double qty, int32_t date, bool active) {
  ASSERT_TRUE(t.append());
  t.putString("CODIGO", code);
  t.putString("DESCRIP", text);
  t.putNumber("CANT", qty);
  t.putDate("FECHA", date);
  t.putLogical("ACTIVO", active);
  t.flush();
}

}  // namespace

TEST(TableValues, RoundTripEveryWritableTypeAndReadBackIndependently) {
  TempDir dir;
  std::string path = dir.file("VALORES.DBF");
  DbfTable::create(path, {{"C", 'C', 10},
                          {"N", 'N', 10, 3},
                          {"F", 'F', 8, 1},
                          {"D", 'D'},
                          {"L", 'L'},
                          {"M", 'M'},
                          {"I", 'I'},
                          {"B", 'B', 8, 2},
                          {"Y", 'Y'},
                          {"T", 'T'}});
  int32_t day = julianFromYmd(2026, 12, 8);
  {
    auto t = openExclusive(path);
    ASSERT_TRUE(t->append());
    t->putString("C", "abc");
    t->putNumber("N", -12.3456);
    t->putNumber("F", 7.25);
    t->putDate("D", day);
    t->putLogical("L", true);
    t->putString("M", "línea uno\nlínea dos");
    t->putNumber("I", -2000000000);
    t->putNumber("B", 3.5e10);
    t->putNumber("Y", 1234.5678);
    t->put("T", Value::dateTime(day, 45296000));
  }
  auto t = DbfTable::open(path, {true, true});
  ASSERT_EQ(t->recCount(), 1u);
  EXPECT_EQ(t->header().version, 0x30);  // integer, double, currency and date-time need Visual FoxPro
  EXPECT_EQ(t->getString("C"), "abc       ");
  EXPECT_DOUBLE_EQ(t->getNumber("N"), -12.346);
  EXPECT_DOUBLE_EQ(t->getNumber("F"), 7.3);
  EXPECT_EQ(t->getDate("D"), day);
  EXPECT_TRUE(t->getLogical("L"));
  EXPECT_EQ(t->getString("M"), "línea uno\nlínea dos");
  EXPECT_DOUBLE_EQ(t->getNumber("I"), -2000000000);
  EXPECT_DOUBLE_EQ(t->getNumber("B"), 3.5e10);
  EXPECT_DOUBLE_EQ(t->getNumber("Y"), 1234.5678);
  Value ts = t->get("T");
  EXPECT_EQ(ts.julian, day);
  EXPECT_EQ(ts.millis, 45296000);

  auto raw = readRawTable(path);
  EXPECT_EQ(raw.count, 1u);
  EXPECT_EQ(raw.text(1, "C"), "abc       ");
  EXPECT_EQ(raw.text(1, "N"), "   -12.346");
  EXPECT_EQ(raw.text(1, "D"), "20261208");
  EXPECT_EQ(raw.text(1, "L"), "T");
}

TEST(TableValues, FoxProTwoTablesForPlainTypesWithAsciiMemoPointers) {
  TempDir dir;
  std::string path = dir.file("PLAIN.DBF");
  DbfTable::create(path, sampleFields());
  {
    auto t = openExclusive(path);
    addRow(*t, "A1", "uno", 1, 0, false);
    t->putString("NOTAS", "memo");
  }
  auto raw = readRawTable(path);
  EXPECT_EQ(raw.version, 0xF5);
  EXPECT_EQ(raw.languageDriver, 0x03);
  std::string pointer = raw.text(1, "NOTAS");
  EXPECT_EQ(pointer.size(), 10u);
  EXPECT_EQ(pointer.find_first_not_of(' '), pointer.find_first_of("0123456789"));
  EXPECT_EQ(DbfTable::open(path, {true, true})->getString("NOTAS"), "memo");
}

TEST(TableValues, NumbersRoundHalfAwayAndRefuseWhatDoesNotFit) {
  TempDir dir;
  std::string path = dir.file("NUM.DBF");
  DbfTable::create(path, {{"P", 'N', 6, 2}, {"E", 'N', 3, 0}});
  auto t = openExclusive(path);
  ASSERT_TRUE(t->append());
  t->putNumber("P", 2.675);
  EXPECT_EQ(t->rawFieldText(0), "2.68");
  t->putNumber("P", -2.675);
  EXPECT_EQ(t->rawFieldText(0), "-2.68");
  t->putNumber("E", 999);
  try {
    t->putNumber("E", 1000);
    FAIL() << "a number wider than its field was stored";
  } catch (const Error& e) {
    EXPECT_EQ(e.genCode(), EG_DATAWIDTH);
    EXPECT_NE(e.description().find("E"), std::string::npos);
  }
  EXPECT_EQ(t->rawFieldText(1), "999");  // the refused value left the old one
  EXPECT_THROW(t->putString("P", "x"), Error);
}

TEST(TableText, StoredInTheTableCodePageAndCutAtTheFieldWidth) {
  TempDir dir;
  std::string p1252 = dir.file("T1252.DBF"), p850 = dir.file("T850.DBF");
  DbfTable::create(p1252, {{"NOMBRE", 'C', 6}});
  DbfTable::create(p850, {{"NOMBRE", 'C', 6}}, {}, CodePage::forNumber(850));
  for (const auto& path : {p1252, p850}) {
    auto t = openExclusive(path);
    ASSERT_TRUE(t->append());
    t->putString("NOMBRE", "Añejo ñandú");  // 11 characters into 6
    EXPECT_EQ(t->getString("NOMBRE"), "Añejo ");
  }
  EXPECT_EQ(readRawTable(p1252).text(1, "NOMBRE"),
            "A\xF1"
            "ejo ");
  EXPECT_EQ(readRawTable(p850).text(1, "NOMBRE"),
            "A\xA4"
            "ejo ");
  EXPECT_EQ(readRawTable(p850).languageDriver, 0x02);
  EXPECT_EQ(DbfTable::open(p850, {true, true})->getString("NOMBRE"), "Añejo ");
}

TEST(TableMemo, RewritesReuseBlocksWhenTheyFitAndAppendOtherwise) {
  TempDir dir;
  std::string path = dir.file("MEMO.DBF");
  DbfTable::create(path, sampleFields());
  auto t = openExclusive(path);
  ASSERT_TRUE(t->append());
  t->putString("NOTAS", std::string(100, 'x'));
  t->flush();
  std::string first = t->rawFieldText(5);
  t->putString("NOTAS", "corto");
  t->flush();
  EXPECT_EQ(t->rawFieldText(5), first);  // 5 bytes fit in the blocks of 100
  t->putString("NOTAS", std::string(1000, 'y'));
  t->flush();
  EXPECT_NE(t->rawFieldText(5), first);
  EXPECT_EQ(t->getString("NOTAS"), std::string(1000, 'y'));
  t->putString("NOTAS", "");
  t->flush();
  EXPECT_EQ(t->getString("NOTAS"), "");
  t.reset();
  EXPECT_EQ(DbfTable::open(path, {true, true})->getString("NOTAS"), "");
}

TEST(TableNavigation, NaturalOrderBeginAndEndOfFile) {
  TempDir dir;
  std::string path = dir.file("NAV.DBF");
  DbfTable::create(path, sampleFields());
  auto t = openExclusive(path);
  t->goTop();
  EXPECT_TRUE(t->eof());
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recNo(), 1u);
  for (int i = 1; i <= 5; ++i) addRow(*t, std::to_string(i), "r", i, 0, true);
  t->goTop();
  EXPECT_EQ(t->recNo(), 1u);
  t->skip(-1);
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recNo(), 1u);
  t->skip(3);
  EXPECT_EQ(t->recNo(), 4u);
  t->skip(5);
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recNo(), 6u);
  EXPECT_EQ(t->getString("CODIGO"), "    ");
  t->skip(-1);
  EXPECT_EQ(t->recNo(), 5u);
  t->goTo(9);
  EXPECT_TRUE(t->eof());
  t->goBottom();
  EXPECT_EQ(t->recNo(), 5u);
}

TEST(TableNavigation, DeletedRecordsHiddenWhenAskedAndRecallBringsThemBack) {
  TempDir dir;
  std::string path = dir.file("DEL.DBF");
  DbfTable::create(path, sampleFields());
  auto t = openExclusive(path);
  for (int i = 1; i <= 4; ++i) addRow(*t, std::to_string(i), "r", i, 0, true);
  t->goTo(1);
  t->deleteRecord();
  t->goTo(3);
  t->deleteRecord();
  t->flush();
  t->setDeletedHidden(true);
  std::vector<uint32_t> seen;
  for (t->goTop(); !t->eof(); t->skip()) seen.push_back(t->recNo());
  EXPECT_EQ(seen, (std::vector<uint32_t>{2, 4}));
  t->goTo(3);
  EXPECT_TRUE(t->deleted());
  t->recall();
  seen.clear();
  for (t->goTop(); !t->eof(); t->skip()) seen.push_back(t->recNo());
  EXPECT_EQ(seen, (std::vector<uint32_t>{2, 3, 4}));
  EXPECT_EQ(readRawTable(path).records[0][0], '*');
}

TEST(TableChanges, SharedTablesChangeOnlyLockedRecords) {
  TempDir dir;
  std::string path = dir.file("LOCK.DBF");
  DbfTable::create(path, sampleFields());
  auto t = DbfTable::open(path);
  ASSERT_TRUE(t->append());  // a new record comes locked
  t->putString("CODIGO", "A");
  t->unlockAll();
  t->goTo(1);
  try {
    t->putString("CODIGO", "B");
    FAIL() << "an unlocked record was changed";
  } catch (const Error& e) {
    EXPECT_EQ(e.genCode(), EG_UNLOCKED);
  }
  ASSERT_TRUE(t->lockRecord());
  t->putString("CODIGO", "B");
  t->unlockRecord(1);
  EXPECT_EQ(DbfTable::open(path, {true, true})->getString("CODIGO"), "B   ");
  auto ro = DbfTable::open(path, {true, true});
  EXPECT_THROW(ro->append(), Error);
}

TEST(TableCreate, RefusesBadDeclarations) {
  TempDir dir;
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {}), Error);
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {{"NOMBREMUYLARGO", 'C', 4}}), Error);
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {{"A", 'C', 0}}), Error);
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {{"A", 'C', 4}, {"a", 'N', 3}}), Error);
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {{"A", 'N', 4, 3}}), Error);
  EXPECT_THROW(DbfTable::create(dir.file("A.DBF"), {{"A", 'X', 4}}), Error);
}
