// Any bytes as the memo file of a sound table: reading and rewriting memos must end in
// text or in xbase::Error, never in a crash.
#include "fuzz_support.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string table = fuzz::fixture("FUZZ_FPT_TABLE", "MEMOS.DBF");
  static const std::string pristine = [] {
    std::string copy = fuzz::workDir() + "/PRISTINE.DBF";
    std::filesystem::copy_file(table, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
  }();
  std::filesystem::copy_file(pristine, table, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::remove(fuzz::workDir() + "/MEMOS.CDX");
  fuzz::writeInput(fuzz::workDir() + "/MEMOS.FPT", data, size);
  try {
    auto t = xbase::DbfTable::open(table, {false, false});
    for (t->goTop(); !t->eof(); t->skip()) {
      for (int i = 0; i < t->fieldCount(); ++i) {
        if (!t->field(i).isMemo()) continue;
        try {
          std::string text = t->get(i).text;
          t->put(i, xbase::Value::chars(text.substr(0, text.size() / 2) + "x"));
          t->flush();
        } catch (const xbase::Error&) {
        }
      }
    }
  } catch (const xbase::Error&) {
  }
  return 0;
}
