// Damaged files are refused with an error that names the file and the fault.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/raw_reader.h"
#include "support/temp_dir.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

using namespace xbase;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

// A sound table with memos and a two-level index, to damage in one place at a time.
struct Sample {
  TempDir dir;
  std::string dbf = dir.file("MUESTRA.DBF"), cdx = dir.file("MUESTRA.CDX"), fpt = dir.file("MUESTRA.FPT");
  Sample() {
    DbfTable::create(dbf, {{"CODIGO", 'C', 30}, {"NOTA", 'M'}}, {TagSpec::parse("CODIGO: CODIGO")});
    auto t = DbfTable::open(dbf, {false, false});
    for (int i = 0; i < 200; ++i) {
      t->append();
      t->putString("CODIGO", "clave " + std::to_string(i * 7919 % 1000));
      t->putString("NOTA", std::string(size_t(i), 'm'));
    }
  }
  void patch(const std::string& path, size_t at, const std::string& bytes) {
    std::string b = readFile(path);
    b.replace(at, bytes.size(), bytes);
    writeFile(path, b);
  }
  void truncate(const std::string& path, size_t size) { writeFile(path, readFile(path).substr(0, size)); }
};

std::string le32(uint32_t v) {
  return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// Opens and walks the table in every order; returns the error it met.
std::string failure(const std::string& path) {
  try {
    auto t = DbfTable::open(path, {true, true});
    for (const std::string& tag : t->tagNames()) {
      t->setOrder(tag);
      for (t->goTop(); !t->eof(); t->skip()) (void)t->get(1);
      (void)t->keyCount();
    }
    t->setOrder("");
    for (t->goTop(); !t->eof(); t->skip()) (void)t->get(1);
    CheckReport r = t->check();
    return r.ok() ? std::string() : r.problems.front();
  } catch (const Error& e) {
    return e.what();
  }
}

}  // namespace

TEST(MalformedTables, HeaderAndDescriptorFaults) {
  {
    Sample s;
    s.truncate(s.dbf, 20);
    EXPECT_NE(failure(s.dbf).find("MUESTRA.DBF"), std::string::npos);
  }
  {
    Sample s;
    s.patch(s.dbf, 8, std::string("\xFF\x7F", 2));  // header longer than the file allows
    EXPECT_NE(failure(s.dbf).find("encabezado"), std::string::npos) << failure(s.dbf);
  }
  {
    Sample s;
    s.patch(s.dbf, 4, le32(100000));  // more records than the file holds
    EXPECT_NE(failure(s.dbf).find("registros excede"), std::string::npos);
  }
  {
    Sample s;
    s.patch(s.dbf, 10, std::string("\x05\x00", 2));  // record length against the fields
    EXPECT_NE(failure(s.dbf).find("longitud de registro"), std::string::npos);
  }
  {
    Sample s;
    s.patch(s.dbf, 32 + 64, "X");  // the terminator byte of the descriptors is gone
    std::string f = failure(s.dbf);
    EXPECT_FALSE(f.empty());
  }
  {
    Sample s;
    s.patch(s.dbf, 32 + 11, "?");
    EXPECT_NE(failure(s.dbf).find("tipo de campo"), std::string::npos);
  }
}

TEST(MalformedTables, IndexFaults) {
  {
    Sample s;
    s.truncate(s.cdx, 1000);
    EXPECT_NE(failure(s.dbf).find("MUESTRA.CDX"), std::string::npos);
  }
  {
    Sample s;  // a tag's root pointing outside the file
    auto tags = testing_support::readRawIndex(s.cdx);
    ASSERT_EQ(tags.size(), 1u);
    s.patch(s.cdx, 1536, le32(0x7FFFF000));
    EXPECT_NE(failure(s.dbf).find("fuera del archivo"), std::string::npos) << failure(s.dbf);
  }
  {
    Sample s;  // every node pointing at itself as its child
    std::string b = readFile(s.cdx);
    uint32_t root =
        uint8_t(b[1536]) | uint8_t(b[1537]) << 8 | uint8_t(b[1538]) << 16 | uint32_t(uint8_t(b[1539])) << 24;
    ASSERT_EQ(uint8_t(b[root]) & 2, 0) << "the sample needs an interior root";
    std::string self{char(root >> 24), char(root >> 16), char(root >> 8), char(root)};
    s.patch(s.cdx, root + 12 + 30 + 4, self);
    EXPECT_NE(failure(s.dbf).find("MUESTRA.CDX"), std::string::npos) << failure(s.dbf);
  }
  {
    Sample s;  // a leaf whose key bytes would overlap its entries
    std::string b = readFile(s.cdx);
    size_t leaf = b.size() - 512;
    s.patch(s.cdx, leaf + 2, std::string("\xF0\x00", 2));
    EXPECT_FALSE(failure(s.dbf).empty());
  }
  {
    Sample s;  // key length beyond what a node holds
    s.patch(s.cdx, 1536 + 12, std::string("\x00\x04", 2));
    EXPECT_NE(failure(s.dbf).find("longitud de clave"), std::string::npos) << failure(s.dbf);
  }
}

TEST(MalformedTables, MemoFaults) {
  {
    Sample s;
    s.truncate(s.fpt, 600);  // memos beyond the end of the file
    EXPECT_NE(failure(s.dbf).find("MUESTRA.FPT"), std::string::npos) << failure(s.dbf);
  }
  {
    Sample s;  // a memo claiming to be longer than the file
    s.patch(s.fpt, 512 + 4, std::string("\x7F\xFF\xFF\xFF", 4));
    EXPECT_NE(failure(s.dbf).find("más largo que el archivo"), std::string::npos) << failure(s.dbf);
  }
  {
    Sample s;
    std::remove(s.fpt.c_str());
    EXPECT_NE(failure(s.dbf).find("falta el archivo memo"), std::string::npos);
  }
  {
    Sample s;  // a next-free pointer far beyond the end: new memos still go to the end
    uint64_t before = readFile(s.fpt).size();
    s.patch(s.fpt, 0, std::string("\xDB\x08\x00\x00", 4));
    auto t = DbfTable::open(s.dbf, {false, false});
    t->goTo(3);
    t->putString("NOTA", std::string(300, 'n'));  // longer than its block: appended
    t->flush();
    t.reset();
    EXPECT_LT(std::filesystem::file_size(s.fpt), before + 4096) << before;
    EXPECT_EQ(failure(s.dbf), "");
    auto again = DbfTable::open(s.dbf, {true, true});
    again->goTo(3);
    EXPECT_EQ(again->getString("NOTA"), std::string(300, 'n'));
  }
}
