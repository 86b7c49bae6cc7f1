// The long runs over the reservation table and the availability statistics: the generation of
// a date range ("Generar Tabla de Reservaciones"), the fast recalculation from the nightly
// reservation rows ("Actualizar Speed") and the full rebuild from the room assignments
// ("&Actualizar"). The screens TAB_GENE and STAT_TIP run them behind their progress window;
// the demo hotel and the benchmarks run them without one.
//
// Every run walks each index it reads forward once, from its start date. The recalculations
// count into memory first and then write each availability row once, under that row's own
// lock (lib::MODIFY_EACH: the locks of a group of rows asked for together), reset and with
// its counts added; the generation appends and refreshes the rows of several nights
// together (lib::ADD_EACH / lib::MODIFY_EACH). A run asks the progress whether to go on
// between rows (between groups of rows while the recalculations write): a cancelled run
// stops there, a recalculation stopped while counting having written nothing and one
// stopped while writing leaving the rows written complete; running it again from the same
// start repairs the rest.
// Runs never create availability rows except the generation, and never change an existing
// reservation-table row.
//
// Both recalculations count a stay on each date as rooms::stayDay says (availability.h), and
// find a type row under its class whether or not its XCLASE is filled in (a blank XCLASE counts
// as its CLASE, as the allotment already does).
//
// Rows out of order: TOTAL holds the rooms in inventory less those out of order, OUTORDER
// the rooms out of order, so TOTAL + OUTORDER is the row's inventory. The resets restore that
// inventory before counting again, and the generation sets TOTAL to the room count less the
// rooms out of order already counted, so that running a recalculation twice, or after a
// generation, gives the same TOTAL.
#pragma once

#include <cstdint>
#include <string>

namespace rooms {

// What a run tells the user and asks of them (the progress window of a screen, or nothing).
// Texts go to the headline and the three lines of the window; `pump` as win::WAIT::PUT_TEXT.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void PUT_TEXT(const std::string& /*headline*/, const std::string& /*line1*/ = "",
                        const std::string& /*line2*/ = "", const std::string& /*line3*/ = "", bool /*pump*/ = true) {}
  // False once the user asked to stop.
  virtual bool CANPRINT() { return true; }
  // A pass over `total` rows begins (the keys of the index it walks); ADVANCE counts them,
  // as win::WAIT::SET_TOTAL / ADVANCE.
  virtual void SET_TOTAL(uint64_t /*total*/) {}
  virtual void ADVANCE(uint64_t /*rows*/ = 1) {}
};

struct RunResult {
  bool completed = true;  // false when cancelled
  long appended = 0;      // rows appended
  long rewritten = 0;     // rows rewritten (locked, changed, released)
  long read = 0;          // source rows read (rooms x dates, reservation table, nightly rows, stays)
  long written() const { return appended + rewritten; }
};

// The generation of TAB_GENE over [from, to] for business `negocio`: room and class counts
// recounted from the rooms; for each date a reservation-table row for every room that has none
// (state F_HOTEL.LIBRE, class of the room's type, not pre-assigned), every type row of every
// class refreshed or appended with the type's room count, and every class-total row with the
// class's. The fast recalculation is not run here (the screen runs it afterwards).
RunResult runGeneration(const std::string& negocio, int32_t from, int32_t to, Progress& progress);

// "Actualizar Speed" (STAT_TIP ACTUAL_NEW) from `start` on: the rows dated `start` or later
// reset (with their allotment from T_ALLOT), then the blocked and out-of-order rooms of the
// reservation table, then the nightly rows of DET_RES9 counted.
RunResult runFastRecalculation(const std::string& negocio, int32_t start, Progress& progress);

// "&Actualizar" (STAT_TIP ACTUALIZA): the rows from the closing day less 100 days (the first
// row at or after it) to the last date of the business reset — keeping each row's inventory
// when `keepHistoric`, otherwise rebuilding the type rows' as the type's room count plus
// CONSTRUYE — then the blocked rooms counted date by date, then every stay expanded night by
// night with its class chosen by F_HOTEL3.TIPO_STAT.
RunResult runFullRebuild(const std::string& negocio, bool keepHistoric, Progress& progress);

// The range the full rebuild covers, for the screen and the tests: {first, last}; {0, 0} when
// the business has no availability rows.
std::pair<int32_t, int32_t> fullRebuildRange(const std::string& negocio);

}  // namespace rooms
