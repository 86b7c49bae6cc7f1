// hold_table: another workstation holding a table, for the scenario scripts.
//
//   hold_table FILE RECNO       holds record RECNO locked
//   hold_table FILE exclusive   holds the table open exclusively
//
// Prints "ok" once it holds it and keeps it until its standard input closes (or it is
// killed), as a workstation that went to lunch would.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "xbase/dbf_table.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "uso: hold_table ARCHIVO (REGISTRO|exclusive)\n";
    return 2;
  }
  const std::string what = argv[2];
  try {
    const bool exclusive = what == "exclusive";
    auto table = xbase::DbfTable::open(argv[1], {!exclusive, false});
    if (!exclusive && !table->lockRecord(uint32_t(std::strtoul(what.c_str(), nullptr, 10)))) {
      std::cerr << "hold_table: el registro " << what << " ya está bloqueado\n";
      return 1;
    }
    std::cout << "ok" << std::endl;
    while (std::getchar() != EOF) {
    }
  } catch (const std::exception& e) {
    std::cerr << "hold_table: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
