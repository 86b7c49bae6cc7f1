// "Actualizar Source of Business": the source-of-business tables E_AGEN1 … E_AGEN4 rebuilt from
// the reservation-day rows (DET_RES9) of the business unit, for all its data or for a range of
// months. Each counted night adds, under the keys of the four tables (agency, the guest's
// country and region or the agency's, the reservation's classes, its rate type and the
// statistics class, by day or by month), its four prices, its guests and commission and one
// room-night.
//
// A night counts when its reservation exists, it is not its stay's departure day and the stay
// is not cancelled (ESTADO ≤ 2). Nights before the closing day count with the row's own
// prices, guests and commission; from the closing day on with the planned prices (the row's
// daily detail when F_HOTEL3.DET_TAR = 1, else the stay's) and the stay's guests, without
// commission. The class is the room type's when F_HOTEL3.TIPO_STAT = 1, else the rate type's.
//
// The four tables are opened for exclusive use; the rows a run rebuilds are removed first.
// The progress is asked between rows; a cancelled run leaves the tables partly rebuilt.
#pragma once

#include <cstdint>
#include <optional>

#include "rooms/availability_runs.h"

namespace processes {

// Months, inclusive: from (fromYear, fromMonth) to (toYear, toMonth).
struct MonthRange {
  int fromYear = 0, fromMonth = 0, toYear = 0, toMonth = 0;
  // The first day of the first month and the last day of the last; {0, 0} when either month
  // does not exist or the range runs backwards.
  std::pair<int32_t, int32_t> days() const;
};

struct SourceResult {
  bool completed = true;
  long read = 0;    // day rows read
  long nights = 0;  // nights counted
};

// `period` empty: all the business unit's data.
SourceResult ACTUALIZA_SOURCE(const std::string& negocio, const std::optional<MonthRange>& period,
                              rooms::Progress& progress);

}  // namespace processes
