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

// Dates as the program shows them: "dd/mm/yy" ("  /  /  " for the empty date), and the
// two-digit years of "dd/mm/yy" read in the hundred years starting in 1980.
std::string DTOC(int32_t julian);
int32_t CTOD(const std::string& text);
std::string timeText(int32_t millis);

// Who and where, for the audit texts of the logs: Windows user " / " computer, a blank,
// the program date as dd/mm/yy, a blank, the time.
std::string INFO_TEXT();

}  // namespace lib
