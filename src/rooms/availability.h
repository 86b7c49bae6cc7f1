// The availability rows (STAT_TIP) and the reservation table (TAB_RESE): the routines every
// screen that changes rooms, types or reservations uses to keep them in step.
//
// An availability row is either a type row (TIPO_ROM = type, CLASE = XCLASE = class) or a
// class-total row (TIPO_ROM blank, CLASE empty, XCLASE = class). Its counts (TOTAL,
// RESERVADO, BLOQUEADO, LLEGAN, SALEN, ALLOT_LIB, CUTOFF_LIB) are stored; every other figure
// is derived from them by COMPLEMENTA. Each routine here changes a row only under that row's
// own lock (lib::MODIFY): counts are moved in place on top of whatever other workstations
// stored meanwhile, never recomputed from a stale copy.
//
// Routines that take a table object use it as they find it and leave it on another order and
// record: callers that browse the same object reposition it afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "lib/wdbtable.h"

namespace rooms {

// Code widths of the shared tables (the business unit's: lib::kBusinessWidth).
constexpr size_t kRoomWidth = 15;
constexpr size_t kCodeWidth = 4;  // room type, class, location

// Keys of the STAT_TIP orders: STAT_TIP (business + type + date + class), STAT_TIP2
// (business + date), STAT_TIP9 (business + XCLASE + type + date + class).
std::string statTipKey(const std::string& negocio, const std::string& tipo, int32_t fecha, const std::string& clase);
std::string statTip2Key(const std::string& negocio, int32_t fecha);
std::string statTip9Key(const std::string& negocio, const std::string& xclase, const std::string& tipo, int32_t fecha,
                        const std::string& clase = "");

// The stored counts of one availability row, and the figures COMPLEMENTA derives from them.
struct AvailabilityCounts {
  double total = 0, reservado = 0, bloqueado = 0, llegan = 0, salen = 0;
  double allotLib = 0, cutoffLib = 0;
  double limTope = 0, alteraTop = 0, notifTope = 0;
  bool classTotal = false;  // CLASE empty and XCLASE not blank
};

struct AvailabilityFigures {
  double house1 = 0, house0 = 0;
  double pOcup = 0, pOcupA = 0, pOcupAc = 0;
  double pLibre = 0, pLibreA = 0, pLibreAc = 0;
  double pDisp = 0, pDispA = 0, pDispAc = 0;
  double dispon = 0, disponA = 0, disponAc = 0;
  double libre = 0;
  double alteraTop = 0, notifTope = 0;
};

// The derived figures, every division by zero giving 0: HOUSE1 = RESERVADO, HOUSE0 = HOUSE1 -
// LLEGAN + SALEN; occupied, free and available percentages of TOTAL without allotment, with
// the free allotment and with the allotment free before the cut-off; available rooms the same
// three ways; LIBRE = TOTAL - RESERVADO. On a class-total row the ceiling flags follow the
// occupancy: at or above LIM_TOPE, ALTERA_TOP becomes 1 when nothing was notified yet and
// LIM_TOPE > 0; below it ALTERA_TOP and NOTIF_TOPE go back to 0. Type rows keep their flags.
AvailabilityFigures derivedFigures(const AvailabilityCounts& counts);

// The counts of the current record of an open STAT_TIP.
AvailabilityCounts countsOf(const lib::WDBTable& statTip);
// Whether the current record's derived fields already hold what derivedFigures gives (to the
// precision of the fields).
bool derivedUpToDate(const lib::WDBTable& statTip);

// COMPLEMENTA: recomputes the derived fields of the current row of `statTip`. With `lock`
// the row is locked, rewritten and released here; without it the caller holds the lock (or
// has the record under the new-record protocol) and the fields are assigned only. At end of
// file it does nothing. `caller` is the screen asking (kept for the program's signature).
void COMPLEMENTA(void* caller, lib::WDBTable& statTip, bool lock = true);

// CAM_TOTAL_Y_LIBRE: the room count of the current row changes by `delta`: TOTAL and LIBRE
// move by it, ALTERA_1 := 1 (the web interface is to hear of it) and the derived fields are
// recomputed, all under one lock of the row. At end of file it does nothing.
void CAM_TOTAL_Y_LIBRE(lib::WDBTable& statTip, int delta);

// The change of total and free of a room type: `delta` rooms of type `tipo` (of class
// `clase`) arrive (positive) or leave (negative) from date `from` on. Every type row of
// `tipo` dated `from` or later — of every class, since each class's row of a type carries the
// type's room count — and every class-total row of `clase` dated `from` or later get
// CAM_TOTAL_Y_LIBRE(delta). Rows are never created. Returns the number of rows changed.
// Walks `statTip` on orders STAT_TIP and STAT_TIP9.
int CAM_TOTAL_TIPO(lib::WDBTable& statTip, const std::string& negocio, const std::string& clase,
                   const std::string& tipo, int32_t from, int delta);

// What a stay (a room assignment of DET_RES2, arriving on `arrival` and leaving on `departure`)
// counts on date `fecha`: the one rule of both recalculations and of the routines below. From
// the arrival to the departure inclusive: a sold room-night on each date before the departure,
// an arrival on the arrival date, a departure on the departure date. A stay of no nights
// (arrival = departure: a day use) thus counts an arrival and a departure on its date and no
// room-night, as the front desk's arrival and departure lists have it, and HOUSE0 stays the
// rooms occupied the night before. A date outside the stay, a stay leaving before it arrives
// or one without either date counts nothing.
struct StayDay {
  bool sold = false, arrival = false, departure = false;
};
StayDay stayDay(int32_t arrival, int32_t departure, int32_t fecha);

// What one stay counts in the availability rows: on each date, what stayDay says, the sold
// nights with its guests and its guarantee type's statistics category (0 to 4; none otherwise).
struct StayNights {
  int32_t arrival = 0, departure = 0;
  double adults = 0, children = 0, free = 0;
  int category = -1;
};

// The stay's counts added (`sign` 1) to or taken (-1) from the type row (class `clase`, type
// `tipo`) and the class-total row of `clase`, on the dates from `from` on; ALTERA_1 := 1 and
// the derived fields recomputed under each row's lock. Missing rows are passed over. Returns
// the rows changed. Walks `statTip` on orders STAT_TIP and STAT_TIP9.
int CAM_ESTADIA(lib::WDBTable& statTip, const std::string& negocio, const std::string& clase, const std::string& tipo,
                const StayNights& stay, int32_t from, int sign);

// One night of a blocked room added (`sign` 1) to or taken (-1) from the type row (class
// `clase`, type `tipo`) and the class-total row of `clase` dated `fecha`, as the recalculations
// count it: BLOQUEADO moves by `sign`; a room out of order also moves OUTORDER by `sign` and
// TOTAL and LIBRE against it. ALTERA_1 := 1 and the derived fields recomputed under each row's
// lock. Missing rows are passed over. Returns the rows changed.
int CAM_BLOQUEO(lib::WDBTable& statTip, const std::string& negocio, const std::string& clase, const std::string& tipo,
                int32_t fecha, bool outOfOrder, int sign);

// The hotel-wide rows (STAT_TOT) of the business dated `from` or later: TOTAL and LIBRE move
// by `delta`. Returns the rows changed.
int CAM_STAT_TOT(lib::WDBTable& statTot, const std::string& negocio, int32_t from, int delta);

// Reservation-table rows for a new room: for each date from `from` on for which TAB_RESE
// already has rows of the business, a row for `room` is appended (state `freeState`, class
// `clase`, not pre-assigned) unless the room has one that date; it stops at the first date
// without rows. Returns the rows appended. Walks `tabRese` on orders TAB_RESE and TAB_RES2.
int ADD_TAB_RESE(lib::WDBTable& tabRese, const std::string& negocio, const std::string& room, const std::string& clase,
                 const std::string& freeState, int32_t from);

// The reservation-table rows of `room` dated `from` or later are deleted, each under its own
// lock. Returns the rows deleted.
int DEL_TAB_RESE(lib::WDBTable& tabRese, const std::string& negocio, const std::string& room, int32_t from);

// The rows of `oldRoom` take the code `newRoom`, date by date from `from`, stopping at the
// first date without a row of the old code. Returns the rows renamed.
int REN_TAB_RESE(lib::WDBTable& tabRese, const std::string& negocio, const std::string& oldRoom,
                 const std::string& newRoom, int32_t from);

}  // namespace rooms
