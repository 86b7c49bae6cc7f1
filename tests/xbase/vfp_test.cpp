// Tables and indexes written by Visual FoxPro: the engine must read them as they are, give
// every tag's order exactly as it was decoded independently, and keep them sound when it
// writes to them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/raw_reader.h"
#include "support/temp_dir.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

using namespace xbase;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

struct VfpTable {
  std::string name;  // path of the .dbf below the test data folder
};

std::vector<std::string> vfpTables() {
  std::vector<std::string> out;
  for (auto& e : fs::recursive_directory_iterator(std::string(CONFIGURA_TESTDATA) + "/vfp"))
    if (e.path().extension() == ".dbf") out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

// Copies a table with its companions into `dir`; returns the copy's path.
std::string copyTable(const std::string& dbf, const TempDir& dir) {
  fs::path src(dbf);
  for (const char* ext : {".dbf", ".cdx", ".fpt"}) {
    fs::path p = src;
    p.replace_extension(ext);
    if (fs::exists(p)) testing_support::copyFile(p.string(), dir.file(p.filename().string()));
  }
  return dir.file(src.filename().string());
}

nlohmann::json decodedTags(const std::string& dbf) {
  fs::path p(dbf);
  p.replace_extension(".cdx.tags.json");
  std::ifstream in(p);
  return nlohmann::json::parse(in);
}

}  // namespace

TEST(VisualFoxProTables, EveryTagGivesTheIndependentlyDecodedOrderAndKeys) {
  int tagsChecked = 0;
  for (const std::string& dbf : vfpTables()) {
    SCOPED_TRACE(dbf);
    TempDir dir;
    std::string path = copyTable(dbf, dir);
    auto t = DbfTable::open(path, {true, true});
    ASSERT_GT(t->recCount(), 0u);
    fs::path cdx(dbf);
    cdx.replace_extension(".cdx");
    if (!fs::exists(cdx)) {
      EXPECT_TRUE(t->tagNames().empty());
      continue;
    }
    nlohmann::json decoded = decodedTags(dbf);
    ASSERT_EQ(t->tagNames().size(), decoded["tags"].size());
    for (const auto& tag : decoded["tags"]) {
      std::string name = tag["name"];
      SCOPED_TRACE(name);
      const TagInfo* info = t->tagInfo(name);
      ASSERT_NE(info, nullptr);
      EXPECT_EQ(info->keyExpr, tag["key_expr"].get<std::string>());
      EXPECT_EQ(info->keyLength, tag["key_length"].get<int>());
      t->setOrder(name);
      std::vector<uint32_t> order;
      std::vector<std::string> keys;
      for (t->goTop(); !t->eof(); t->skip()) {
        order.push_back(t->recNo());
        keys.push_back(testing_support::toHex(t->currentKey(name).value_or("")));
      }
      std::vector<uint32_t> expected;
      std::vector<std::string> expectedKeys;
      for (const auto& e : tag["entries"]) {
        expectedKeys.push_back(e[0]);
        expected.push_back(e[1]);
      }
      if (tag["descending"].get<bool>()) {
        std::reverse(expected.begin(), expected.end());
        std::reverse(expectedKeys.begin(), expectedKeys.end());
      }
      EXPECT_EQ(order, expected);
      EXPECT_EQ(keys, expectedKeys);
      EXPECT_EQ(t->keyCount(), expected.size());
      ++tagsChecked;
    }
    CheckReport report = t->check();
    EXPECT_TRUE(report.ok()) << (report.ok() ? "" : report.problems.front());
  }
  EXPECT_GE(tagsChecked, 15);
}

TEST(VisualFoxProTables, FieldsMemosAndTimestampsReadAsStored) {
  TempDir dir;
  auto t =
      DbfTable::open(copyTable(std::string(CONFIGURA_TESTDATA) + "/vfp/Thor/Tables/VFPHotKeys.dbf", dir), {true, true});
  EXPECT_EQ(t->header().version, 0x30);
  EXPECT_EQ(t->codePage().number(), 1252);
  ASSERT_EQ(t->fieldCount(), 4);
  EXPECT_EQ(t->field(1).type, 'M');
  // Every memo of the table reads, and at least one holds text.
  size_t memoBytes = 0;
  for (t->goTop(); !t->eof(); t->skip()) memoBytes += t->getString("DESCRIPT").size();
  EXPECT_GT(memoBytes, 0u);

  auto log =
      DbfTable::open(copyTable(std::string(CONFIGURA_TESTDATA) + "/vfp/Source/Tables/logfile.dbf", dir), {true, true});
  ASSERT_EQ(log->field(1).type, 'T');
  Value posted = log->get("POSTED");
  EXPECT_EQ(posted.type, ValueType::DateTime);
  EXPECT_GT(posted.julian, 2451545);  // after 2000-01-01
}

TEST(VisualFoxProTables, WritingKeepsTheirIndexesSound) {
  for (const std::string& dbf : vfpTables()) {
    fs::path cdx(dbf);
    cdx.replace_extension(".cdx");
    if (!fs::exists(cdx)) continue;
    SCOPED_TRACE(dbf);
    TempDir dir;
    std::string path = copyTable(dbf, dir);
    {
      auto t = DbfTable::open(path);
      // Change every other record and add a few, as a program of ours would.
      for (uint32_t r = 1; r <= t->recCount(); r += 2) {
        t->goTo(r);
        ASSERT_TRUE(t->lockRecord());
        for (int f = 0; f < t->fieldCount(); ++f) {
          const Field& field = t->field(f);
          if (field.type == 'C') t->put(f, Value::chars("Z" + std::to_string(r)));
          if (field.type == 'I' && !field.autoIncrement()) t->put(f, Value::num(double(r) * 7 - 100));
        }
        t->unlockRecord(r);
      }
      for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(t->append());
        for (int f = 0; f < t->fieldCount(); ++f)
          if (t->field(f).type == 'C') t->put(f, Value::chars("NUEVO" + std::to_string(i)));
        t->unlockAll();
      }
    }
    auto t = DbfTable::open(path, {true, true});
    CheckReport report = t->check();
    EXPECT_TRUE(report.ok()) << (report.ok() ? "" : report.problems.front());
  }
}
