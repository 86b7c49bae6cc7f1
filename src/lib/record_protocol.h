// The one protocol by which the program changes a record: lock the current record of the
// selected work area, assign its fields, release it (the release writes it); new records
// are appended already locked. While another workstation holds the record the operation
// retries every 100 ms and, after 5 s, tells the user after each attempt (retry.h). With
// the database server a group of changes can run inside a server transaction.
//
// The table argument of the lock, append and release calls is accepted and not used: the
// calls act on the selected area, as the program's code is written.
#pragma once

#include <functional>
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

namespace detail {
// Runs `body` between `take` and `release`, each with `table` selected. A body that fails
// half-way is still released (writing what was assigned), so that a failure never leaves
// other workstations waiting on a lock nobody holds for real. `body` may open or select
// other tables: what is released is this one's.
template <typename Take, typename Release, typename F>
void holding(WDBTable& table, Take take, Release release, F& body) {
  SELECT(table.Area);
  take(&table);
  try {
    body();
  } catch (...) {
    SELECT(table.Area);
    release(&table);
    throw;
  }
  SELECT(table.Area);
  release(&table);
}
}  // namespace detail

// Convenience for the common case: select `table`, lock, run `change`, release.
template <typename F>
void MODIFY(WDBTable& table, F change) {
  detail::holding(
      table, [](WDBTable* t) { LOCK_FOR_MODIFY(t); }, [](WDBTable* t) { UNLOCK_FOR_MODIFY(t); }, change);
}

// Records whose locks MODIFY_EACH and ADD_EACH ask for in one request: the server keeps
// advisory locks in a table of limited size shared by every session.
inline constexpr size_t kLocksPerRequest = 256;

void modifyEach(WDBTable& table, const std::vector<uint32_t>& recnos, const std::function<void()>& change);

// MODIFY for each of the records `recnos` of `table`, in that order: `change` runs with the
// record current and locked, and each lock is let go as soon as its record is changed. The
// locks are asked for together (one request to the database server for the whole group);
// from a record another workstation holds on, the rest go through MODIFY's retries.
template <typename F>
void MODIFY_EACH(WDBTable& table, const std::vector<uint32_t>& recnos, F change) {
  modifyEach(table, recnos, std::function<void()>(change));
}

void addEach(WDBTable& table, size_t count, const std::function<void(size_t)>& fill);

// ADD `count` times: `fill(i)` runs on the i-th new record (0 first), locked, and each is let
// go once filled. The record numbers are asked for together (one request to the database
// server for the whole group).
template <typename F>
void ADD_EACH(WDBTable& table, size_t count, F fill) {
  addEach(table, count, std::function<void(size_t)>(fill));
}

// Select `table`, append a locked blank record, run `fill`, release.
template <typename F>
void ADD(WDBTable& table, F fill) {
  detail::holding(
      table, [](WDBTable* t) { ADD_NEW_REC(t); }, [](WDBTable* t) { UNLOCK_NEW_REC(t); }, fill);
}

}  // namespace lib
