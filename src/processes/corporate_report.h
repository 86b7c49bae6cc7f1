// "Actualizar Reporte Corporativo": the corporate-report tables of a business unit rebuilt from
// the first day of a month up to the day before the closing day (F_HOTEL.CIERRE_DIA):
//
// - STAT_TI2 (per month) and STAT_TI3 (per day), by class and room type. Every availability row
//   (STAT_TIP) from the start on adds its RESERVADO and TOTAL to the month of its CLASE and
//   TIPO_ROM, and gives its day a STAT_TI3 row. Every reservation-day row (DET_RES9) before the
//   closing day adds, under the statistics class (the room type's when F_HOTEL3.TIPO_STAT = 1,
//   else the rate type's) and the room type of its reservation line, one room-night and its
//   adults, children and free guests to the counters of the rate type's source kind
//   (RESERVADOk, N_ADULTk, N_NINHOk, N_GRATISk with k = ENC_RACK.TIP_SOURCE + 1), in the month
//   and in the day. A row does not count on its stay's departure day, for a stay in state 3, 4
//   or 9, without its reservation or its rate type, or with a source kind other than 0 to 3.
//   STAT_TI3's month-to-date sums (A_RESERVk, A_ADULTk, A_NINHOk, A_GRATISk) are then each day's
//   counters summed from the first of its month over the days of the same class and type that
//   have a row: a day without a row adds nothing and does not break the sum.
// - STAT_TR1 (per month) and STAT_TR2 (per business date), by transaction code: DEBITO - CREDITO
//   of every folio line (DET_FOL) of the business dates before the closing day, in the folio's
//   own currency, and their count; annulled and voided lines left out.
//
// Only the business unit's rows from the start on are removed and rebuilt; the months before
// keep theirs. Rows are changed one at a time, each under its own lock; nothing is opened
// exclusively, so other stations may go on working. The progress is asked between rows: a
// cancelled run leaves the tables partly rebuilt, and running it again from the same month
// rebuilds them whole.
#pragma once

#include <cstdint>
#include <string>

#include "rooms/availability_runs.h"

namespace processes {

struct CorporateResult {
  bool completed = true;
  long read = 0;    // rows read: availability, reservation days, day rows summed, folio lines
  long nights = 0;  // room-nights counted
  long lines = 0;   // folio lines counted
};

// From the first day of `month` of `year`; nothing is done for a month that does not exist.
CorporateResult ACTUALIZA_CORPORATIVO(const std::string& negocio, int year, int month, rooms::Progress& progress);

}  // namespace processes
