// The one protocol by which the program changes a record: lock the current record of the
// selected work area, assign its fields, release it (the release writes it); new records
// are appended already locked. While another workstation holds the record the operation
// retries every 100 ms and, after 5 s, tells the user after each attempt (retry.h). With
// the database server a group of changes can run inside a server transaction.
//
// The table argument of the lock, append and release calls is accepted and not used: the
// calls act on the selected area, as the program's code is written.
#pragma once

#include <optional>
#include <vector>

#include "lib/wdbtable.h"

namespace lib {

void LOCK_FOR_MODIFY(WDBTable* table = nullptr, bool skip = false);
void UNLOCK_FOR_MODIFY(WDBTable* table = nullptr, bool skip = false);
void ADD_NEW_REC(WDBTable* table = nullptr, bool noWait = false);
void UNLOCK_NEW_REC(WDBTable* table = nullptr);
void UNLOCK_NEW(WDBTable* table = nullptr);

// The current record's values, fields 1 to values.size(), and back (duplicating records).
void COPY_REC1(std::vector<Value>& values);
void COPY_REC2(const std::vector<Value>& values);

void START_TRANSACTION(int kind = 2, std::optional<int> id = std::nullopt);
void END_TRANSACTION();
void ROLLBACK_TRANSACTION();

// Convenience for the common case: select `table`, lock, run `change`, release.
// A change that fails half-way still releases the record (writing what was assigned), so
// that a failure never leaves other workstations waiting on a lock nobody holds for real.
template <typename F>
void MODIFY(WDBTable& table, F change) {
  SELECT(table.Area);
  LOCK_FOR_MODIFY(&table);
  try {
    change();
  } catch (...) {
    SELECT(table.Area);
    UNLOCK_FOR_MODIFY(&table);
    throw;
  }
  // `change` may have opened or selected other tables: the lock released is this one's.
  SELECT(table.Area);
  UNLOCK_FOR_MODIFY(&table);
}

// Select `table`, append a locked blank record, run `fill`, release.
template <typename F>
void ADD(WDBTable& table, F fill) {
  SELECT(table.Area);
  ADD_NEW_REC(&table);
  try {
    fill();
  } catch (...) {
    SELECT(table.Area);
    UNLOCK_NEW_REC(&table);
    throw;
  }
  SELECT(table.Area);
  UNLOCK_NEW_REC(&table);
}

}  // namespace lib
