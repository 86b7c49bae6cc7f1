// Any bytes as a DBF table: opening and reading every record must end in data or in
// xbase::Error, never in a crash or a hang.
#include "fuzz_support.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzz::workDir() + "/FUZZ.DBF";
  std::filesystem::remove(fuzz::workDir() + "/FUZZ.CDX");
  std::filesystem::remove(fuzz::workDir() + "/FUZZ.FPT");
  fuzz::writeInput(path, data, size);
  try {
    auto t = xbase::DbfTable::open(path, {true, true});
    t->setDeletedHidden(size % 2 == 0);
    int rows = 0;
    for (t->goTop(); !t->eof() && rows < 10000; t->skip(), ++rows)
      for (int i = 0; i < t->fieldCount(); ++i) (void)t->rawFieldText(i), (void)t->get(i);
    t->goBottom();
    t->skip(-3);
  } catch (const xbase::Error&) {
  }
  return 0;
}
