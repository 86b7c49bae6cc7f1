// Calendar arithmetic the program's dates need beyond days: the end of a month, whole months
// back and forth, and the descending keys that sort the latest date first. Dates are Julian
// day numbers (xbase/date.h); 0 is the empty date, and an empty date gives an empty date.
#pragma once

#include <cstdint>
#include <string>

namespace lib {

// 1 January 2090: the far end that descending keys count days to (T_CAMBIO.LIMITE).
int32_t FECHA_LIMITE();

// The last day of the month of `date`.
int32_t LAST_DAY(int32_t date);

// `months` calendar months after `date` (before it when negative), on the same day of the
// month, or on that month's last day when it has no such day (31 March − 1 → 28 or 29 February).
int32_t GOMONTH(int32_t date, int months);

// A key that sorts later moments first: the days from `date` to FECHA_LIMITE, then 24 − hours,
// 60 − minutes and 60 − seconds of `time` ("hh:mm:ss"), each a 10-character right-aligned
// integer (40 characters).
std::string NUM_INVERSO(int32_t date, const std::string& time);

}  // namespace lib
