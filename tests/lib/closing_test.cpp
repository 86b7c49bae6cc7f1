// Closing a table whose last change cannot be written: the caller (or, from a destructor,
// the user) learns of it, and the table is closed all the same. The write is made to fail
// for real, with a file-size limit below what the append needs.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "lib/errors.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"

using namespace lib;
using testing_support::ProgramFolder;

namespace {

const std::vector<xbase::FieldSpec> kNegocios = {{"CODIGO", 'C', 2}, {"DESCRIP", 'C', 40}};

// While it lives, no file of the process may grow beyond the size it has now.
class FilesCannotGrow {
 public:
  explicit FilesCannotGrow(const std::string& path) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
    rlimit small = saved_;
    small.rlim_cur = rlim_t(std::filesystem::file_size(path));
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FilesCannotGrow() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousSignal_);
  }

 private:
  rlimit saved_{};
  void (*previousSignal_)(int) = nullptr;
};

// Opens NEGOCIOS alone and appends a record that stays in the table's buffers.
std::unique_ptr<WDBTable> withPendingAppend() {
  auto t = USE(nullptr, "NEGOCIOS", "", false);
  EXPECT_TRUE(t->Append());
  t->FieldPut("CODIGO", Value::chars("09"));
  t->FieldPut("DESCRIP", Value::chars("Sin lugar en el disco"));
  return t;
}

}  // namespace

TEST(ClosingATable, ALastChangeThatCannotBeWrittenReachesTheCaller) {
  ProgramFolder p;
  p.table("NEGOCIOS.DBF", kNegocios, {"NEGOCIOS: CODIGO"});
  std::unique_ptr<WDBTable> t = withPendingAppend();
  int area = t->Area;
  {
    FilesCannotGrow limit(p.bases("NEGOCIOS.DBF"));
    EXPECT_THROW(KILLTABLA(t), xbase::Error);
  }
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(G().areas->area(area), nullptr);  // closed all the same
  EXPECT_TRUE(G().XFILES_AREA.empty());
  EXPECT_TRUE(p.messages().shown.empty());

  // The table is whole, without the record that did not make it.
  auto again = USE(nullptr, "NEGOCIOS");
  EXPECT_EQ(again->RecCount(), 0u);
  KILLTABLA(again);
  EXPECT_TRUE(xbase::DbfTable::open(p.bases("NEGOCIOS.DBF"), {true, true})->check().ok());
}

TEST(ClosingATable, ADestructorShowsTheFailureItCannotThrow) {
  ProgramFolder p;
  p.table("NEGOCIOS.DBF", kNegocios, {"NEGOCIOS: CODIGO"});
  {
    std::unique_ptr<WDBTable> t = withPendingAppend();
    FilesCannotGrow limit(p.bases("NEGOCIOS.DBF"));
    t.reset();
  }
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].title, "Error");
  EXPECT_NE(p.messages().shown[0].text.find("NEGOCIOS"), std::string::npos) << p.messages().shown[0].text;
  EXPECT_TRUE(G().XFILES_AREA.empty());
}
