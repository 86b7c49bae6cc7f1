// The journal of the congruence check's repairs (table CONG_LOG): one row per field a repair
// rewrote, per record it appended and per record it deleted, each with the run it belongs to,
// the finding's text, the table and record, the value before and after, the user and the
// time. A run is named by the date and time it began ("20300110 14:05:09").
//
// Undoing a run puts back the values before, newest change first, each record under its own
// lock; a record changed since the run (a field no longer holding the value after, an
// appended record gone, a deleted one recalled) is left as it is and counted as refused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lib/wdbtable.h"

namespace processes {

class RepairJournal {
 public:
  RepairJournal(std::string negocio, std::string run);
  ~RepairJournal();
  RepairJournal(const RepairJournal&) = delete;
  RepairJournal& operator=(const RepairJournal&) = delete;

  const std::string& run() const { return run_; }

  // The record of `table` under its cursor gets `fields` (field, value) under its lock; the
  // fields that change are journalled for `finding`.
  void SET(lib::WDBTable& table, const std::string& finding,
           const std::vector<std::pair<std::string, lib::Value>>& fields);
  // The record under the cursor is deleted under its lock.
  void DELETE(lib::WDBTable& table, const std::string& finding);
  // A record appended and filled by `fill` under the new-record protocol.
  void APPEND(lib::WDBTable& table, const std::string& finding, const std::function<void()>& fill);

  long changes() const { return changes_; }

 private:
  void write(const std::string& finding, const lib::WDBTable& table, const std::string& action,
             const std::string& field, const std::string& before, const std::string& after);

  std::string negocio_, run_;
  std::unique_ptr<lib::WDBTable> log_;
  long changes_ = 0;
};

// "yyyymmdd hh:mm:ss" of the program's date and time.
std::string RUN_NOW();

struct JournalEntry {
  std::string finding, table, action, field, before, after, user;
  uint32_t record = 0;
};
// The runs of the business unit that repaired something, newest first.
std::vector<std::string> JOURNAL_RUNS(const std::string& negocio);
// What run `run` changed, in the order it changed it.
std::vector<JournalEntry> JOURNAL_OF(const std::string& negocio, const std::string& run);

struct UndoResult {
  long restored = 0;  // changes put back
  long refused = 0;   // changes left alone: their record changed since
};
UndoResult DESHACER(const std::string& negocio, const std::string& run);

}  // namespace processes
