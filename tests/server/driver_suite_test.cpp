// The table operations every screen relies on, run alike on the local driver ("DBFCDX")
// and on the database server ("ADSCDX"): the same cases must give the same answers.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "server/server_fixture.h"
#include "xbase/date.h"
#include "xbase/error.h"

using namespace lib;
using testing_support::ProgramFolder;
using testing_support::ServerFolder;
using xbase::Value;

namespace {

const std::vector<xbase::FieldSpec> kRooms = {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 6},  {"DESCRIP", 'C', 20},
                                              {"CANT", 'N', 6, 2}, {"FECHA", 'D', 8},   {"ACTIVO", 'L', 1},
                                              {"NOTAS", 'M', 10},  {"ORDEN", 'N', 4, 0}};
const std::vector<std::string> kRoomTags = {"ROOMS: NEGOCIO+CODIGO",
                                            "DESCRIP: UPPER(DESCRIP)",
                                            "ORDEN: ORDEN",
                                            "FECHA: DTOS(FECHA)+CODIGO",
                                            "INVERSO: NEGOCIO+CODIGO DESCENDING",
                                            "ACTIVOS: CODIGO FOR ACTIVO",
                                            "CANT: STR(CANT,6,2)+NEGOCIO"};

// One program folder on the driver under test.
class Drivers : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "ADSCDX")
      server_ = std::make_unique<ServerFolder>();
    else
      local_ = std::make_unique<ProgramFolder>();
  }
  void TearDown() override {
    local_.reset();
    server_.reset();
  }
  ProgramFolder& folder() { return server_ ? server_->folder() : *local_; }

  void table(const std::string& name, const std::vector<xbase::FieldSpec>& fields,
             const std::vector<std::string>& tags) {
    if (server_)
      server_->table(name + ".DBF", fields, tags);
    else
      local_->table(name + ".DBF", fields, tags);
  }
  std::unique_ptr<TableDriver> open(const std::string& name, bool shared = true, bool readOnly = false) {
    return storageDriver(GetParam()).open(folder().bases(name + ".DBF"), shared, readOnly);
  }

  // ROOMS with 8 records over two businesses; record 5 deleted.
  std::unique_ptr<TableDriver> rooms() {
    table("ROOMS", kRooms, kRoomTags);
    auto t = open("ROOMS");
    EXPECT_TRUE(t->lockFile());
    struct Row {
      const char* neg;
      const char* code;
      const char* descrip;
      double cant;
      int day;
      bool active;
      int orden;
    };
    const Row rows[] = {{"01", "101", "Suite Ñandú", 1.5, 3, true, 40}, {"01", "102", "doble", 2, 1, false, 10},
                        {"02", "101", "Sencilla", 0, 2, true, 30},      {"01", "201", "ático", 12.25, 2, true, 20},
                        {"01", "103", "borrada", 3, 4, true, 50},       {"02", "090", "Doble", 7, 5, false, 60},
                        {"01", "104", "Familiar", 99.99, 0, true, 25},  {"01", "1041", "Anexo", 4, 6, true, 25}};
    for (const Row& r : rows) {
      EXPECT_TRUE(t->append());
      t->put(0, Value::chars(r.neg));
      t->put(1, Value::chars(r.code));
      t->put(2, Value::chars(r.descrip));
      t->put(3, Value::num(r.cant));
      if (r.day) t->put(4, Value::date(xbase::julianFromYmd(2026, 3, r.day)));
      t->put(5, Value::boolean(r.active));
      t->put(7, Value::num(r.orden));
      if (r.day == 3) t->put(6, Value::chars("Vista al mar\nsegunda línea"));
    }
    t->goTo(5);
    t->deleteRecord();
    t->unlockAll();
    return t;
  }

  // The record numbers met reading the whole order forward.
  static std::vector<uint32_t> walk(TableDriver& t) {
    std::vector<uint32_t> seen;
    for (t.goTop(); !t.eof(); t.skip(1)) seen.push_back(t.recNo());
    return seen;
  }
  static std::vector<uint32_t> walkBack(TableDriver& t) {
    std::vector<uint32_t> seen;
    for (t.goBottom(); !t.bof(); t.skip(-1)) {
      seen.push_back(t.recNo());
      if (seen.size() > 100) break;
    }
    return seen;
  }

 private:
  std::unique_ptr<ProgramFolder> local_;
  std::unique_ptr<ServerFolder> server_;
};

using V = std::vector<uint32_t>;

}  // namespace

TEST_P(Drivers, FieldsKeepTheirValuesWidthsAndBlanks) {
  auto t = rooms();
  t->goTo(1);
  EXPECT_EQ(t->get(0).text, "01");
  EXPECT_EQ(t->get(1).text, "101   ");  // blank-padded to the width
  EXPECT_EQ(t->get(2).text, "Suite Ñandú         ");
  EXPECT_DOUBLE_EQ(t->get(3).number, 1.5);
  EXPECT_EQ(t->get(4).julian, xbase::julianFromYmd(2026, 3, 3));
  EXPECT_TRUE(t->get(5).logical);
  EXPECT_EQ(t->get(6).text, "Vista al mar\nsegunda línea");
  t->goTo(7);
  EXPECT_EQ(t->get(4).julian, 0);  // the empty date
  EXPECT_EQ(t->get(6).text, "");
  EXPECT_EQ(t->recCount(), 8u);
  t->goTo(5);
  EXPECT_TRUE(t->deleted());
  t->goTo(9);
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recNo(), 9u);
  EXPECT_EQ(t->fieldIndex("descrip"), 2);
  EXPECT_EQ(t->fieldIndex("ROOMS->CANT"), 3);
  EXPECT_EQ(t->fieldIndex("NADA"), -1);
  EXPECT_EQ(t->structure().size(), kRooms.size());
  EXPECT_EQ(t->field(3).decimals, 2);
  // A number that does not fit is refused, as the engine refuses it.
  ASSERT_TRUE(t->lockFile());
  t->goTo(2);
  EXPECT_THROW(t->put(3, Value::num(123456)), xbase::Error);
  t->unlockAll();
}

TEST_P(Drivers, NaturalOrderSkipsDeletedRecordsWhenTheyAreHidden) {
  auto t = rooms();
  EXPECT_EQ(walk(*t), (V{1, 2, 3, 4, 6, 7, 8}));
  EXPECT_EQ(walkBack(*t), (V{8, 7, 6, 4, 3, 2, 1}));
  t->setDeletedHidden(false);
  EXPECT_EQ(walk(*t), (V{1, 2, 3, 4, 5, 6, 7, 8}));
  t->setDeletedHidden(true);
  t->goTo(4);
  t->skip(1);
  EXPECT_EQ(t->recNo(), 6u);
  t->skip(-3);
  EXPECT_EQ(t->recNo(), 2u);
  t->skip(-5);
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recNo(), 1u);
  t->goBottom();
  t->skip(1);
  EXPECT_TRUE(t->eof());
  t->skip(-1);
  EXPECT_EQ(t->recNo(), 8u);
}

TEST_P(Drivers, OrdersReadInKeyOrderAndDescendingTagsBackwards) {
  auto t = rooms();
  t->setOrder("ROOMS");
  EXPECT_EQ(walk(*t), (V{1, 2, 7, 8, 4, 6, 3}));
  t->setOrder("INVERSO");
  EXPECT_EQ(walk(*t), (V{3, 6, 4, 8, 7, 2, 1}));
  EXPECT_EQ(walkBack(*t), (V{1, 2, 7, 8, 4, 6, 3}));
  t->setOrder("DESCRIP");  // UPPER() of the code-page bytes: Á and Ñ sort after the letters
  EXPECT_EQ(walk(*t), (V{8, 2, 6, 7, 3, 1, 4}));
  t->setOrder("ORDEN");  // a numeric key; equal keys by record number
  EXPECT_EQ(walk(*t), (V{2, 4, 7, 8, 3, 1, 6}));
  t->setOrder("FECHA");  // the empty date first
  EXPECT_EQ(walk(*t), (V{7, 2, 3, 4, 1, 6, 8}));
  t->setOrder("ACTIVOS");  // FOR: only the active rooms
  EXPECT_EQ(walk(*t), (V{1, 3, 7, 8, 4}));
  EXPECT_EQ(t->keyCount(), 6u);  // the deleted record counts
  t->setOrder("");
  EXPECT_EQ(t->order(), "");
  EXPECT_THROW(t->setOrder("NOHAY"), xbase::Error);
  EXPECT_EQ(t->tagNames().size(), kRoomTags.size());
}

TEST_P(Drivers, SeeksAreExactSoftOrLastAndMatchPrefixes) {
  auto t = rooms();
  t->setOrder("ROOMS");
  EXPECT_TRUE(t->seek(Value::chars("01102"), false, false));
  EXPECT_EQ(t->recNo(), 2u);
  EXPECT_TRUE(t->found());
  EXPECT_TRUE(t->seek(Value::chars("01104"), false, false));  // a prefix: the first of 104, 1041
  EXPECT_EQ(t->recNo(), 7u);
  EXPECT_TRUE(t->seek(Value::chars("01104"), false, true));  // the last of them
  EXPECT_EQ(t->recNo(), 8u);
  EXPECT_TRUE(t->seek(Value::chars("02"), false, true));
  EXPECT_EQ(t->recNo(), 3u);
  EXPECT_FALSE(t->seek(Value::chars("01103"), false, false));  // only the deleted one has it
  EXPECT_TRUE(t->eof());
  EXPECT_FALSE(t->found());
  EXPECT_FALSE(t->seek(Value::chars("01103"), true, false));  // soft: the next key
  EXPECT_FALSE(t->eof());
  EXPECT_EQ(t->recNo(), 7u);
  EXPECT_FALSE(t->seek(Value::chars("01103"), true, true));  // last: every match hidden
  EXPECT_TRUE(t->eof());
  EXPECT_FALSE(t->seek(Value::chars("03"), true, false));  // past the end
  EXPECT_TRUE(t->eof());
  EXPECT_FALSE(t->seek(Value::chars("015"), true, true));  // no match, last: the next key
  EXPECT_EQ(t->recNo(), 6u);
  t->skip(1);
  EXPECT_EQ(t->recNo(), 3u);
  t->setOrder("INVERSO");
  EXPECT_TRUE(t->seek(Value::chars("01"), false, false));
  EXPECT_EQ(t->recNo(), 4u);
  EXPECT_TRUE(t->seek(Value::chars("01"), false, true));
  EXPECT_EQ(t->recNo(), 1u);
  EXPECT_FALSE(t->seek(Value::chars("0115"), true, false));  // descending: the next lower key
  EXPECT_EQ(t->recNo(), 8u);
  EXPECT_FALSE(t->seek(Value::chars("0115"), true, true));
  EXPECT_EQ(t->recNo(), 8u);
  t->setOrder("ORDEN");
  EXPECT_TRUE(t->seek(Value::num(25), false, false));
  EXPECT_EQ(t->recNo(), 7u);
  EXPECT_TRUE(t->seek(Value::num(25), false, true));
  EXPECT_EQ(t->recNo(), 8u);
  EXPECT_FALSE(t->seek(Value::num(26), true, false));
  EXPECT_EQ(t->recNo(), 3u);
  t->setOrder("FECHA");
  EXPECT_TRUE(t->seek(Value::chars("20260302"), false, false));
  EXPECT_EQ(t->recNo(), 3u);
  t->setOrder("");
  EXPECT_THROW(t->seek(Value::chars("01"), false, false), xbase::Error);
}

TEST_P(Drivers, ScopesBoundTheOrderAndItsKeyNumbers) {
  auto t = rooms();
  t->setOrder("ROOMS");
  t->setScopeTop(Value::chars("01"));
  t->setScopeBottom(Value::chars("01"));
  EXPECT_EQ(walk(*t), (V{1, 2, 7, 8, 4}));
  EXPECT_EQ(walkBack(*t), (V{4, 8, 7, 2, 1}));
  EXPECT_EQ(t->keyCount(), 6u);  // 5 and its deleted sibling
  t->goTop();
  EXPECT_EQ(t->keyNo(), 1u);
  t->skip(2);
  EXPECT_EQ(t->recNo(), 7u);
  EXPECT_EQ(t->keyNo(), 4u);  // 1, 2, 5 (deleted), 7
  EXPECT_TRUE(t->goToKeyNo(3));
  EXPECT_EQ(t->recNo(), 7u);  // key 3 is the deleted record: the next visible one
  EXPECT_TRUE(t->goToKeyNo(6));
  EXPECT_EQ(t->recNo(), 4u);
  EXPECT_FALSE(t->goToKeyNo(7));
  EXPECT_FALSE(t->seek(Value::chars("02101"), false, false));  // outside the scope
  EXPECT_TRUE(t->eof());
  t->goTo(3);  // a record outside the scope
  EXPECT_EQ(t->keyNo(), 0u);
  t->skip(-1);  // the entry before it is out of the scope too: to the first, at the beginning
  EXPECT_EQ(t->recNo(), 1u);
  EXPECT_TRUE(t->bof());
  t->goTo(6);
  t->skip(1);
  EXPECT_TRUE(t->eof());

  t->setScopeTop(Value::chars("01104"));
  t->setScopeBottom(Value::chars("02"));
  EXPECT_EQ(walk(*t), (V{7, 8, 4, 6, 3}));
  t->setOrder("INVERSO");  // descending: the top is the high bound
  t->setScopeTop(Value::chars("02"));
  t->setScopeBottom(Value::chars("01104"));
  EXPECT_EQ(walk(*t), (V{3, 6, 4, 8, 7}));
  EXPECT_EQ(t->keyCount(), 5u);
  t->goTop();
  t->skip(1);
  EXPECT_EQ(t->keyNo(), 2u);
  EXPECT_TRUE(t->goToKeyNo(5));
  EXPECT_EQ(t->recNo(), 7u);
  t->setScopeTop(std::nullopt);
  t->setScopeBottom(std::nullopt);
  EXPECT_EQ(t->keyCount(), 8u);
  t->setOrder("");
  EXPECT_EQ(t->keyCount(), 8u);
  t->goTo(4);
  EXPECT_EQ(t->keyNo(), 4u);
}

TEST_P(Drivers, TwoHandlesConflictOnLocksLikeTwoWorkstations) {
  auto a = rooms();
  auto b = open("ROOMS");
  a->goTo(2);
  b->goTo(2);
  ASSERT_TRUE(a->lockRecord(0));
  EXPECT_TRUE(a->isLocked(2));
  EXPECT_FALSE(b->lockRecord(2));
  EXPECT_FALSE(b->lockFile());
  EXPECT_THROW(b->put(2, Value::chars("sin bloqueo")), xbase::Error);
  a->put(2, Value::chars("cambiada"));
  a->unlockRecord(2);
  EXPECT_EQ(b->get(2).text.substr(0, 5), "doble");  // not read again yet
  ASSERT_TRUE(b->lockRecord(0));
  EXPECT_EQ(b->get(2).text.substr(0, 8), "cambiada");  // a lock reads the record again
  EXPECT_EQ(b->lockedRecords(), (V{2}));
  b->unlockAll();
  EXPECT_TRUE(b->lockedRecords().empty());
  ASSERT_TRUE(a->lockFile());
  EXPECT_FALSE(b->lockRecord(3));
  EXPECT_FALSE(b->append());
  a->goTo(3);
  a->put(7, Value::num(1));  // the file lock covers every record
  a->unlockAll();
  ASSERT_TRUE(b->append());
  EXPECT_EQ(b->recNo(), 9u);
  EXPECT_TRUE(b->isLocked(9));
  EXPECT_FALSE(a->lockRecord(9));
  b->put(1, Value::chars("301"));
  b->unlockAll();
  a->goTo(9);
  EXPECT_EQ(a->get(1).text, "301   ");
  EXPECT_EQ(a->recCount(), 9u);
  a->goTo(3);
  EXPECT_EQ(a->get(7).number, 1);
}

TEST_P(Drivers, ExclusiveAndSharedOpensExcludeEachOther) {
  auto t = rooms();
  try {
    open("ROOMS", false);
    FAIL() << "exclusive open while shared";
  } catch (const xbase::Error& e) {
    EXPECT_TRUE(e.canRetry());
    EXPECT_EQ(e.osCode(), 32);
  }
  t.reset();
  auto alone = open("ROOMS", false);
  alone->goTo(1);
  alone->put(7, Value::num(5));  // no locks needed
  EXPECT_THROW(open("ROOMS"), xbase::Error);
  alone.reset();
  auto readOnly = open("ROOMS", true, true);
  EXPECT_FALSE(readOnly->deleted());
  EXPECT_EQ(readOnly->get(7).number, 5);
  ASSERT_TRUE(readOnly->lockRecord(1));
  EXPECT_THROW(readOnly->put(7, Value::num(6)), xbase::Error);
  EXPECT_THROW(open("NOEXISTE"), xbase::Error);
}

TEST_P(Drivers, UseAndTheRecordProtocolWorkAlike) {
  table("SERIALES", {{"NEGOCIO", 'C', 2}, {"MODULO", 'C', 10}, {"CODIGO", 'C', 4}, {"NUMERO", 'N', 15}},
        {"SERIALES: NEGOCIO+MODULO+CODIGO"});
  G().DEF_RDD = GetParam();
  auto t = USE(nullptr, "SERIALES", "SERIALES");
  EXPECT_EQ(t->RDD, GetParam());
  for (const char* code : {"FA", "NC"})
    ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("CODIGO", Value::chars(code));
      t->FieldPut("NUMERO", Value::num(41));
    });
  ASSERT_TRUE(t->Seek("01" + std::string(10, ' ') + "NC"));
  MODIFY(*t, [&] { t->FieldPut("NUMERO", Value::num(t->N("NUMERO") + 1)); });
  auto again = USE(nullptr, "SERIALES", "SERIALES");
  ASSERT_TRUE(again->Seek("01" + std::string(10, ' ') + "NC"));
  EXPECT_EQ(again->N("NUMERO"), 42);
  EXPECT_EQ(again->RecCount(), 2u);
  EXPECT_NE(t->Alias, again->Alias);
  KILLTABLA(again);
  KILLTABLA(t);
}

TEST_P(Drivers, PackingRemovesTheDeletedRecordsOnlyFromATableUsedAlone) {
  auto t = rooms();
  G().DEF_RDD = GetParam();
  EXPECT_FALSE(PACK_TABLE("ROOMS"));  // still open here, shared
  t->setDeletedHidden(false);
  EXPECT_EQ(walk(*t).size(), 8u);
  t.reset();
  EXPECT_TRUE(PACK_TABLE("ROOMS"));
  auto after = open("ROOMS");
  after->setDeletedHidden(false);
  EXPECT_EQ(walk(*after).size(), 7u);
  after->setOrder("ROOMS");
  for (after->goTop(); !after->eof(); after->skip(1)) EXPECT_NE(after->get(2).text.substr(0, 7), "borrada");
}

INSTANTIATE_TEST_SUITE_P(BothDrivers, Drivers, ::testing::Values("DBFCDX", "ADSCDX"),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });
