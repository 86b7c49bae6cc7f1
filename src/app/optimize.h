// Optimising a table of the database: check its index against it, rebuild the index and
// remove its deleted records for good (memo and index rebuilt with them). It needs the table
// alone: one exclusive open, no waiting — a table another workstation (or another window of
// this one) has open is left as it is, and the result says so. Nothing else stops a run: a
// table that cannot be opened for another reason is reported and the next one follows.
//
// With the database server the server keeps the index itself: its tables are compacted only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

struct Optimization {
  std::string table;
  bool done = false;
  std::string what;          // what was done, or why the table was left alone
  uint32_t removed = 0;      // deleted records removed
  size_t discrepancies = 0;  // index faults the check found (the rebuilt index has none)
};

Optimization OPTIMIZA_TABLA(const std::string& table);

// The tables of the database, by name: the files of BASES/ (the server's tables of the
// catalogue with the database server), but DUMMYADS, which the program keeps open.
std::vector<std::string> TABLAS_BASE();

// "ROOMS: verificada sin diferencias, reindexada, compactada (2 registros borrados eliminados)".
std::string resultLine(const Optimization& result);

}  // namespace app
