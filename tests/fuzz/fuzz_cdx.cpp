// Any bytes as the structural index of a sound table: navigation, counting, checking and
// writing must end in results or in xbase::Error, never in a crash or an endless loop.
#include "fuzz_support.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string table = fuzz::fixture("FUZZ_CDX_TABLE", "FIXTURE.DBF");
  static const std::string pristine = [] {
    std::string copy = fuzz::workDir() + "/PRISTINE.DBF";
    std::filesystem::copy_file(table, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
  }();
  std::filesystem::copy_file(pristine, table, std::filesystem::copy_options::overwrite_existing);
  fuzz::writeInput(fuzz::workDir() + "/FIXTURE.CDX", data, size);
  try {
    auto t = xbase::DbfTable::open(table, {true, true});
    for (const std::string& tag : t->tagNames()) {
      try {
        t->setOrder(tag);
        int rows = 0;
        for (t->goTop(); !t->eof() && rows < 5000; t->skip(), ++rows) {
        }
        for (t->goBottom(); !t->bof() && !t->eof() && rows < 10000; t->skip(-1), ++rows) {
        }
        uint32_t n = t->keyCount();
        t->goToKeyNo(n / 2 + 1);
        (void)t->keyNo();
        t->seek("1", true);
        t->setScope(xbase::Value::chars("0"), xbase::Value::chars("5"));
        (void)t->keyCount();
        t->clearScope();
      } catch (const xbase::Error&) {
      }
    }
    (void)t->check();
  } catch (const xbase::Error&) {
  }
  try {
    auto t = xbase::DbfTable::open(table, {false, false});
    for (uint32_t r = 1; r <= t->recCount(); r += 7) {
      t->goTo(r);
      t->put(0, xbase::Value::chars(std::to_string(r * 31 % 97)));
      if (r % 3 == 0) t->deleteRecord();
    }
    if (t->append()) t->put(0, xbase::Value::chars("NUEVO"));
    t->flush();
  } catch (const xbase::Error&) {
  }
  return 0;
}
