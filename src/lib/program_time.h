// The program's today and now: the server's date and time when the server driver is
// connected, otherwise the workstation's. Every log record and business date comes from
// XDATE() and XTIME().
#pragma once

#include <cstdint>
#include <string>

namespace lib {

// Any argument (local = true) forces the workstation clock.
int32_t XDATE(bool local = false);
std::string XTIME(bool local = false);  // "hh:mm:ss"

// Dates as the program shows them: "dd/mm/yy" ("  /  /  " for the empty date).
std::string DTOC(int32_t julian);

// A date typed by a user, or read from any text: the date, or why there is none.
struct TypedDate {
  int32_t julian = 0;       // the date; 0 when there is none
  bool unreadable = false;  // the text holds something that is not a date
  bool empty() const { return julian == 0 && !unreadable; }
};

// Reads "dd/mm/yy" or "dd/mm/yyyy": day and month of one or two digits, the year of one or two
// digits (read in the hundred years starting in 1980: 79 is 2079, 80 is 1980) or of four;
// blanks around each part are ignored. Text made only of blanks and "/" ("  /  /  ", "") is the
// empty date. Anything else is unreadable: letters or signs, a missing or extra part, a year of
// three or more than four digits, a day the month does not have. A screen refuses an entry
// whose readDate(...).unreadable is true, and treats empty() as its own rule says.
TypedDate readDate(const std::string& text);

// readDate(text).julian: 0 both for the empty date and for unreadable text.
int32_t CTOD(const std::string& text);

std::string timeText(int32_t millis);

// Who and where, for the audit texts of the logs: Windows user " / " computer, a blank,
// the program date as dd/mm/yy, a blank, the time.
std::string INFO_TEXT();

}  // namespace lib
