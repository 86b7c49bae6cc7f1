// A program folder holding every catalogued table, empty, with fresh process-wide state (see
// support/program_folder.h), and short ways to put a small hotel into it; the changes the rooms
// screens make, and ways to read the tables back, on whatever program folder is open.
#pragma once

#include <cstdint>
#include <string>

#include "lib/wdbtable.h"
#include "support/program_folder.h"

namespace rooms_testing {

// dd/mm/yyyy as a Julian day.
int32_t day(int d, int m, int y);

class HotelFolder : public testing_support::ProgramFolder {
 public:
  HotelFolder();

  // Parameters of business "01": closing day, free state, statistics switch (F_HOTEL3).
  void parameters(int32_t closingDay, const std::string& freeState = "01", int tipoStat = 1);
  void roomState(const std::string& code, const std::string& descrip, int blocked = 0, int outOfOrder = 0);
  void roomClass(const std::string& code, const std::string& descrip, int cantidad = 0);
  void roomType(const std::string& code, const std::string& clase, int cantidad = 0, int allotment = 0);
  static void room(const std::string& code, const std::string& tipo, const std::string& clase,
                   const std::string& location = "PB");
  // An availability row of business "01" with TOTAL = LIBRE = total; a class-total row when
  // `tipo` is blank (CLASE empty, XCLASE = clase).
  void statRow(const std::string& clase, const std::string& tipo, int32_t fecha, int total);
  void tabRese(const std::string& room, int32_t fecha, const std::string& state = "01", const std::string& clase = "");

  // A reservation of one room of type `tipo` from `arrival` to `departure` (guarantee type
  // `guarantee`, rate type `rack`): its header, line, stay (assigned to `room` when not blank)
  // and its nightly rows from arrival to departure inclusive, counted under `clase`.
  void reservation(const std::string& code, const std::string& tipo, const std::string& clase, const std::string& room,
                   int32_t arrival, int32_t departure, int adults = 2, int estado = 0,
                   const std::string& guarantee = "GA", const std::string& rack = "RACK");
  void guaranteeType(const std::string& code, int category);
  void rateType(const std::string& code, const std::string& clase);
  void allotment(int32_t fecha, const std::string& clase, int column, int contracted, int used, int cutoff);

  // Every availability row of business 01 dated `from` or later as "key: field=value ..."
  // lines, in STAT_TIP order.
  static std::string statTipSnapshot(bool derivedToo = true, int32_t from = 0);

  // Field of the record found by `key` on `tag` of `table` (a run-time error when absent).
  static double number(const std::string& table, const std::string& tag, const std::string& key,
                       const std::string& field);
  static std::string text(const std::string& table, const std::string& tag, const std::string& key,
                          const std::string& field);
  static bool exists(const std::string& table, const std::string& tag, const std::string& key);
  static uint32_t count(const std::string& table);  // records not deleted
};

// What the rooms screens do to business "01", through the routines they call, from the closing
// day `desde`: a room appended (the room editor's "add"); a room's type changed, its stays,
// reservation-table rows and counters following, then the record rewritten (the editor's
// "modify"); a room deleted (the list's "delete"). Failures are test failures.
void addRoom(const std::string& room, const std::string& tipo, int32_t desde);
void retype(const std::string& room, const std::string& from, const std::string& to, int32_t desde);
void deleteRoom(const std::string& room, int32_t desde);

}  // namespace rooms_testing
