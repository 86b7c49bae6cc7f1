// A program folder for one test (BASES/, PROFILE/, TEMP/) with fresh process-wide state:
// the local storage driver, a virtual clock that can run scheduled actions, and message
// boxes recorded instead of shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lib/clock.h"
#include "lib/globals.h"
#include "support/temp_dir.h"
#include "xbase/dbf_table.h"

namespace testing_support {

// A virtual clock that runs `action` once its time has come (checked whenever time moves).
class ScriptedClock : public lib::VirtualClock {
 public:
  void at(int64_t ticks, std::function<void()> action) { events_.push_back({ticks, std::move(action)}); }
  void busyWait(int64_t millis) override;

 private:
  std::vector<std::pair<int64_t, std::function<void()>>> events_;
};

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();

  const std::string& path() const { return dir_.path(); }
  std::string bases(const std::string& file) const { return dir_.path() + "/BASES/" + file; }
  std::string profile(const std::string& file) const { return dir_.path() + "/PROFILE/" + file; }
  ScriptedClock& clock() { return *clock_; }
  lib::RecordingSink& messages() { return *messages_; }

  // Creates BASES/NAME.DBF (or a path below the program folder) with its tags.
  void table(const std::string& relativePath, const std::vector<xbase::FieldSpec>& fields,
             const std::vector<std::string>& tags = {});

 private:
  TempDir dir_;
  ScriptedClock* clock_ = nullptr;
  lib::RecordingSink* messages_ = nullptr;
};

}  // namespace testing_support
