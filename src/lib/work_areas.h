// The numbered work areas of the storage layer. Each open table lives in one area; exactly
// one area is selected at a time, and the record operations of the protocol act on the
// selected one. Opening a table selects its new area.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lib/table_driver.h"

namespace lib {

struct WorkArea {
  int number = 0;
  std::unique_ptr<TableDriver> table;
  std::string alias;
  std::string name;  // upper-case file name (with its extension for temporary tables)
  std::string rdd;   // storage driver that opened it
  std::string path;  // the data file
};

class WorkAreas {
 public:
  static constexpr int kMaxAreas = 4999;

  // Puts an open table in the lowest free area and selects it; returns the area number.
  int open(std::unique_ptr<TableDriver> table, const std::string& name, const std::string& rdd,
           const std::string& path);
  void close(int number);
  WorkArea* area(int number);
  bool full() const;
  int select(int number);  // returns the previously selected area
  int selected() const { return selected_; }
  WorkArea* selectedArea() { return area(selected_); }
  int openCount() const;

 private:
  std::vector<std::unique_ptr<WorkArea>> areas_;  // index = number - 1
  int selected_ = 0;
};

// The alias of a table in an area: the file's base name (after the last folder separator
// or drive colon, before the first dot), trimmed, padded with "0" or cut to 7 characters,
// then the area number in 3 digits: ROOMS in area 12 is ROOMS00012.
std::string aliasFor(const std::string& fileName, int area);

// Selects an area / tells which one is selected (the program's SELECT()).
int SELECT(int area);
int SELECTED();

}  // namespace lib
