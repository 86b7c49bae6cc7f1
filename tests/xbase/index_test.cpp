// Index tags the engine maintains: order, seeks, scopes, key numbers, FOR and UNIQUE tags,
// checked against a model and against an independent decoding of the CDX.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "support/raw_reader.h"
#include "support/temp_dir.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

using namespace xbase;
using testing_support::readRawIndex;
using testing_support::TempDir;

namespace {

std::string pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

std::vector<uint32_t> walk(DbfTable& t) {
  std::vector<uint32_t> out;
  for (t.goTop(); !t.eof(); t.skip()) out.push_back(t.recNo());
  return out;
}

std::vector<uint32_t> walkBack(DbfTable& t) {
  std::vector<uint32_t> out;
  for (t.goBottom(); !t.bof() && !t.eof(); t.skip(-1)) out.push_back(t.recNo());
  return out;
}

// A table of rooms: business unit, code, type, floor, date.
struct Rooms {
  TempDir dir;
  std::string path = dir.file("ROOMS.DBF");
  std::unique_ptr<DbfTable> t;

  explicit Rooms(std::vector<TagSpec> extra = {}) {
    std::vector<TagSpec> tags = {TagSpec::parse("ROOMS: NEGOCIO+CODIGO"), TagSpec::parse("PISO: STR(PISO,3)+CODIGO"),
                                 TagSpec::parse("FECHA: DTOS(FECHA)"), TagSpec::parse("NPISO: PISO")};
    tags.insert(tags.end(), extra.begin(), extra.end());
    DbfTable::create(
        path, {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"TIPO", 'C', 4}, {"PISO", 'N', 3}, {"FECHA", 'D'}}, tags);
    t = DbfTable::open(path, {false, false});
  }
  void add(const std::string& neg, const std::string& code, int floor, int32_t date = 0,
           const std::string& type = "DBL") {
    ASSERT_TRUE(t->append());
    t->putString("NEGOCIO", neg);
    t->putString("CODIGO", code);
    t->putString("TIPO", type);
    t->putNumber("PISO", floor);
    t->putDate("FECHA", date);
    t->flush();
  }
};

}  // namespace

TEST(IndexOrder, TagsOrderRecordsByTheirKeysAndTiesByRecordNumber) {
  Rooms r;
  r.add("02", "101", 1);
  r.add("01", "201", 2);
  r.add("01", "101", 1);
  r.add("01", "-5", 0);
  r.add("01", "101", 7);  // duplicate key
  r.t->setOrder("ROOMS");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{4, 3, 5, 2, 1}));
  EXPECT_EQ(walkBack(*r.t), (std::vector<uint32_t>{1, 2, 5, 3, 4}));
  r.t->setOrder("NPISO");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{4, 1, 3, 2, 5}));
  r.t->setOrder("");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
  EXPECT_THROW(r.t->setOrder("NOEXISTE"), Error);
  EXPECT_TRUE(r.t->check().ok());
}

TEST(IndexSeek, ExactPrefixSoftAndLast) {
  Rooms r;
  for (auto code : {"101", "102", "110", "201", "305"}) r.add("01", code, 1);
  r.add("01", "110", 2);
  r.t->setOrder("ROOMS");
  EXPECT_TRUE(r.t->seek("01110"));
  EXPECT_EQ(r.t->recNo(), 3u);
  EXPECT_TRUE(r.t->seek("01110", false, true));  // last of the equal keys
  EXPECT_EQ(r.t->recNo(), 6u);
  EXPECT_TRUE(r.t->seek("012"));  // a shorter key matches as a prefix
  EXPECT_EQ(r.t->getString("CODIGO"), pad("201", 15));
  EXPECT_FALSE(r.t->seek("01150"));
  EXPECT_TRUE(r.t->eof());
  EXPECT_FALSE(r.t->found());
  EXPECT_FALSE(r.t->seek("01150", true));  // soft: stops on the next higher key
  EXPECT_FALSE(r.t->eof());
  EXPECT_EQ(r.t->getString("CODIGO"), pad("201", 15));
  EXPECT_FALSE(r.t->seek("99", true));
  EXPECT_TRUE(r.t->eof());
  // After a seek, skipping continues in the order.
  EXPECT_TRUE(r.t->seek("01102"));
  r.t->skip();
  EXPECT_EQ(r.t->recNo(), 3u);
  r.t->setOrder("NPISO");
  EXPECT_TRUE(r.t->seek(Value::num(2)));
  EXPECT_EQ(r.t->recNo(), 6u);
}

TEST(IndexSeek, DescendingTagsReadBackwards) {
  Rooms r({TagSpec::parse("DESC: CODIGO DESCENDING")});
  for (auto code : {"B", "A", "C", "B"}) r.add("01", code, 1);
  r.t->setOrder("DESC");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{3, 4, 1, 2}));
  EXPECT_TRUE(r.t->seek("B"));
  EXPECT_EQ(r.t->recNo(), 4u);
  EXPECT_FALSE(r.t->seek("BB", true));  // next in descending order
  EXPECT_EQ(r.t->recNo(), 4u);
  r.t->setScope(Value::chars("B"), Value::chars("A"));
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{4, 1, 2}));
  EXPECT_EQ(r.t->keyCount(), 3u);
  r.t->goTop();
  r.t->skip();
  EXPECT_EQ(r.t->keyNo(), 2u);
  EXPECT_TRUE(r.t->goToKeyNo(3));
  EXPECT_EQ(r.t->recNo(), 2u);
}

TEST(IndexScope, KeyCountKeyNumberAndGoToKeyNumberWithinTheScope) {
  Rooms r;
  for (int i = 0; i < 300; ++i) r.add(i % 3 == 0 ? "01" : i % 3 == 1 ? "02" : "03", std::to_string(1000 + i), i % 10);
  r.t->setOrder("ROOMS");
  r.t->setScope(Value::chars("02"), Value::chars("02"));
  EXPECT_EQ(r.t->keyCount(), 100u);
  std::vector<uint32_t> inScope = walk(*r.t);
  ASSERT_EQ(inScope.size(), 100u);
  for (uint32_t k = 1; k <= 100; ++k) {
    ASSERT_TRUE(r.t->goToKeyNo(k));
    ASSERT_EQ(r.t->recNo(), inScope[k - 1]);
    ASSERT_EQ(r.t->keyNo(), k);
  }
  EXPECT_FALSE(r.t->goToKeyNo(101));
  r.t->goBottom();
  r.t->skip();
  EXPECT_TRUE(r.t->eof());
  EXPECT_EQ(r.t->keyNo(), 0u);
  EXPECT_FALSE(r.t->seek("01"));  // outside the scope
  r.t->setScope(Value::chars("04"), Value::chars("09"));
  EXPECT_EQ(r.t->keyCount(), 0u);
  r.t->goTop();
  EXPECT_TRUE(r.t->eof());
  r.t->setScopeTop(Value::chars("03"));
  r.t->setScopeBottom(std::nullopt);
  EXPECT_EQ(r.t->keyCount(), 100u);
  r.t->clearScope();
  EXPECT_EQ(r.t->keyCount(), 300u);
  r.t->setOrder("NPISO");
  r.t->setScope(Value::num(3), Value::num(4));
  EXPECT_EQ(r.t->keyCount(), 60u);
}

TEST(IndexFor, RecordsEnterAndLeaveTagsByTheirCondition) {
  Rooms r({TagSpec::parse("ACTIVOS: CODIGO FOR .NOT. DELETED() .AND. TIPO = 'SUI'")});
  r.add("01", "1", 1, 0, "SUI");
  r.add("01", "2", 1, 0, "DBL");
  r.add("01", "3", 1, 0, "SUIT");
  r.t->setOrder("ACTIVOS");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{1, 3}));
  r.t->goTo(1);
  r.t->deleteRecord();
  r.t->goTo(2);
  r.t->putString("TIPO", "SUI");
  r.t->flush();
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{2, 3}));
  EXPECT_EQ(r.t->keyCount(), 2u);
  r.t->goTo(1);  // a record outside the tag: skipping goes on from where its key would be
  r.t->skip();
  EXPECT_EQ(r.t->recNo(), 2u);
  EXPECT_EQ(r.t->keyNo(), 1u);
  EXPECT_TRUE(r.t->check().ok());
}

TEST(IndexUnique, OneEntryPerKeyAndAnotherRecordTakesOverWhenItsRecordLeaves) {
  Rooms r({TagSpec::parse("TIPOS: TIPO UNIQUE")});
  r.add("01", "1", 1, 0, "DBL");
  r.add("01", "2", 1, 0, "SUI");
  r.add("01", "3", 1, 0, "DBL");
  r.t->setOrder("TIPOS");
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{1, 2}));
  r.t->goTo(1);
  r.t->putString("TIPO", "ZZZ");
  r.t->flush();
  EXPECT_EQ(walk(*r.t), (std::vector<uint32_t>{3, 2, 1}));
  EXPECT_TRUE(r.t->check().ok());
}

TEST(IndexMaintenance, RandomChangesAgreeWithAModelAndWithAnIndependentReader) {
  Rooms r({TagSpec::parse("LARGO: PADR(CODIGO,15)+PADR(TIPO,4)+NEGOCIO+STR(PISO,3)")});
  std::mt19937 rng(7);
  std::map<uint32_t, std::string> codes;  // record -> key of the LARGO tag, records alive
  auto randomCode = [&] {
    std::string s;
    int n = 1 + int(rng() % 12);
    for (int i = 0; i < n; ++i) s.push_back(char('A' + rng() % 6));
    return s;
  };
  for (int i = 0; i < 6000; ++i) {
    uint32_t n = r.t->recCount();
    int op = int(rng() % 10);
    if (op < 6 || n == 0) {
      std::string c = randomCode();
      int floor = int(rng() % 50);
      r.add("01", c, floor);
      char f[8];
      std::snprintf(f, sizeof f, "%3d", floor);
      codes[r.t->recNo()] = pad(c, 15) + "DBL 01" + f;
    } else if (op < 9) {
      uint32_t rec = 1 + rng() % n;
      r.t->goTo(rec);
      std::string c = randomCode();
      r.t->putString("CODIGO", c);
      r.t->flush();
      if (codes.count(rec)) codes[rec] = pad(c, 15) + codes[rec].substr(15);
    } else {
      uint32_t rec = 1 + rng() % n;
      r.t->goTo(rec);
      r.t->deleteRecord();
      r.t->flush();
      codes.erase(rec);
    }
  }
  r.t->setDeletedHidden(true);
  r.t->setOrder("LARGO");
  std::vector<std::pair<std::string, uint32_t>> model;
  for (auto& [rec, key] : codes) model.emplace_back(key, rec);
  std::sort(model.begin(), model.end());
  std::vector<uint32_t> expected;
  for (auto& m : model) expected.push_back(m.second);
  ASSERT_EQ(walk(*r.t), expected);
  std::vector<uint32_t> back = walkBack(*r.t);
  std::reverse(back.begin(), back.end());
  ASSERT_EQ(back, expected);

  CheckReport report = r.t->check();
  ASSERT_TRUE(report.ok()) << report.problems.front();
  uint32_t records = r.t->recCount();
  r.t.reset();
  // The file as another reader decodes it: every tag in key order, one entry per record.
  auto raw = readRawIndex(r.dir.file("ROOMS.CDX"), {{"NPISO", '\0'}});
  ASSERT_EQ(raw.size(), 5u);
  const auto& entries = raw.at("LARGO").entries;
  ASSERT_EQ(entries.size(), records);  // deleted records keep their keys
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
  std::vector<uint32_t> live;
  for (auto& [key, rec] : entries)
    if (codes.count(rec)) live.push_back(rec);
  EXPECT_EQ(live, expected);
  EXPECT_EQ(raw.at("LARGO").keyExpr, "PADR(CODIGO,15)+PADR(TIPO,4)+NEGOCIO+STR(PISO,3)");
}

TEST(IndexMaintenance, AscendingLoadsKeepNodesFullAndCountsStayExact) {
  TempDir dir;
  std::string path = dir.file("SEQ.DBF");
  DbfTable::create(path, {{"N", 'N', 8}}, {TagSpec::parse("N: N"), TagSpec::parse("TXT: STR(N,8)")});
  auto t = DbfTable::open(path, {false, false});
  for (int i = 1; i <= 20000; ++i) {
    ASSERT_TRUE(t->append());
    t->putNumber("N", i);
  }
  t->flush();
  t->setOrder("N");
  EXPECT_EQ(t->keyCount(), 20000u);
  ASSERT_TRUE(t->goToKeyNo(12345));
  EXPECT_EQ(t->recNo(), 12345u);
  t->setScope(Value::num(100), Value::num(199));
  EXPECT_EQ(t->keyCount(), 100u);
  t.reset();
  // 20000 eight-byte numeric keys fill about 30 entries per leaf when the nodes are full.
  auto size = testing_support::readFile(dir.file("SEQ.CDX")).size();
  EXPECT_LT(size, 20000u / 30u * 512u * 2u * 13u / 10u);
  EXPECT_TRUE(DbfTable::open(path, {true, true})->check().ok());
}

TEST(IndexMaintenance, ReindexRebuildsADamagedIndexAndPackDropsDeletedRecords) {
  Rooms r;
  for (int i = 0; i < 500; ++i) r.add("01", std::to_string(i), i % 7);
  for (uint32_t rec = 1; rec <= 500; rec += 5) {
    r.t->goTo(rec);
    r.t->deleteRecord();
  }
  r.t->flush();
  r.t.reset();
  // Remove one key behind the engine's back: write a record with another code.
  {
    std::string bytes = testing_support::readFile(r.path);
    auto raw = testing_support::readRawTable(r.path);
    size_t at = raw.headerLength + 2 * raw.recordLength + 3;
    bytes[at] = 'Z';
    testing_support::writeFile(r.path, bytes);
  }
  auto t = DbfTable::open(r.path, {false, false});
  EXPECT_FALSE(t->check().ok());
  t->reindex();
  EXPECT_TRUE(t->check().ok());
  t->pack();
  EXPECT_EQ(t->recCount(), 400u);
  EXPECT_TRUE(t->check().ok());
  t->setOrder("ROOMS");
  EXPECT_EQ(t->keyCount(), 400u);
}

TEST(IndexMaintenance, TagsCanBeAddedToAndRemovedFromExistingTables) {
  Rooms r;
  for (int i = 0; i < 50; ++i) r.add("01", std::to_string(49 - i), i);
  r.t->createTag(TagSpec::parse("CODIGO: CODIGO"));
  r.t->setOrder("CODIGO");
  r.t->goTop();
  EXPECT_EQ(r.t->getString("CODIGO"), pad("0", 15));
  EXPECT_TRUE(r.t->check().ok());
  r.t->deleteTag("PISO");
  EXPECT_EQ(r.t->tagNames(), (std::vector<std::string>{"CODIGO", "FECHA", "NPISO", "ROOMS"}));
  EXPECT_EQ(r.t->order(), "CODIGO");
  EXPECT_THROW(r.t->createTag(TagSpec::parse("MALA: NOEXISTE+1")), Error);
  EXPECT_THROW(r.t->createTag(TagSpec::parse("CODIGO: TIPO")), Error);
  r.t.reset();
  auto shared = DbfTable::open(r.path);
  EXPECT_THROW(shared->createTag(TagSpec::parse("X: TIPO")), Error);  // needs exclusive use
  EXPECT_TRUE(shared->check().ok());
}

TEST(IndexOpen, KeyExpressionsCompileWhenTheTableOpens) {
  TempDir dir;
  std::string path = dir.file("EXPR.DBF");
  DbfTable::create(path, {{"A", 'C', 4}}, {TagSpec::parse("A: UPPER(A)")});
  // Rewrite the stored expression with a function nobody knows.
  std::string bytes = testing_support::readFile(dir.file("EXPR.CDX"));
  size_t at = bytes.find("UPPER(A)");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 8, "NOFN1(A)");
  testing_support::writeFile(dir.file("EXPR.CDX"), bytes);
  try {
    DbfTable::open(path);
    FAIL() << "a table whose index cannot be maintained opened for writing";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("NOFN1(A)"), std::string::npos) << e.what();
  }
  auto ro = DbfTable::open(path, {true, true});  // reading still works
  ro->setOrder("A");
  EXPECT_EQ(ro->keyCount(), 0u);
}
