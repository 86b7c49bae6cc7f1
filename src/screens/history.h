// The change history of the master data (table HIST_CAM, ours alone: sibling programs
// ignore it). Every field an editor changes is recorded with its value before and after,
// the user, the workstation, the date and the time — written while the editor still holds
// the record's lock (or its append), so that the history and the record never disagree
// about what was replaced. FORM::SAVE records what it writes; an editor that writes fields
// of its own writes them and its form's inside CON_HISTORIAL, within its lock.
// Processes (recodings, counters, runs) do not record: only what a person typed.
//
// A record is named by its table and its key: the fields of the table's first catalogued
// tag, trimmed and joined by "/" ("01/SGL"; "#17", the record number, for a table without
// one). When a save changes the key, the record's earlier history moves to the new key.
// Values are kept as the screens show them (numbers with their field's decimals, dates
// dd/mm/yy, flags S/N); password fields are recorded as changed, never with their values.
//
// A database without HIST_CAM gets it at the first change recorded or shown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lib {
class WDBTable;
}

namespace screens {

inline const std::string kHistoryTable = "HIST_CAM";

// The values of a record as they were, for comparing after a change.
struct RecordImage {
  std::string table;                // the table's name (TIPO_ROM)
  std::string key;                  // the record's key
  std::vector<std::string> values;  // one per field, as history writes them
  // Every field but NEGOCIO empty, zero or false: a record just appended, whose save is
  // recorded as an addition.
  bool blank = true;
};

// The current record of `table`.
RecordImage IMAGEN(const lib::WDBTable& table);

// One history record per field of `table`'s current record that differs from `before`
// (the caller holds the record's lock). Returns the number of fields recorded.
size_t REGISTRA_CAMBIOS(const lib::WDBTable& table, const RecordImage& before);

// Runs `write` on `table`'s current record (the caller holds its lock or its append) and
// records every field it changed, as one change: for an editor that writes fields of its
// own beside its form's (saving the form with FORM::SAVE(table, false) inside `write`).
// Returns the number of fields recorded.
size_t CON_HISTORIAL(lib::WDBTable& table, const std::function<void()>& write);

// A record about to be deleted (under its lock): one history record for the deletion.
void REGISTRA_BAJA(const lib::WDBTable& table);

// The key under which the history names the current record of `table`.
std::string CLAVE_HISTORIAL(const lib::WDBTable& table);

// The history as stored, for the screens that show it and for the tests.
struct HistoryEntry {
  std::string field, operation, before, after, user, workstation;
  int32_t date = 0;
  std::string time;
};
// The history of one record, newest first.
std::vector<HistoryEntry> HISTORIAL_DE(const std::string& table, const std::string& key);

// Creates HIST_CAM when this database has none yet.
void CREA_HISTORIAL();

// The seek key of a record's history on the HIST_CAM tag.
std::string historyPrefix(const lib::WDBTable& history, const std::string& table, const std::string& key);

}  // namespace screens
