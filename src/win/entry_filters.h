// Entry helpers on plain edit controls.
//
// ONLYNUMBER turns an edit into a numeric field: its text is always the picture's
// formatting of its value. Focus selects everything; typing replaces a selection; digits
// go in before the decimal point; "." starts decimal entry, after which each digit fills
// the next decimal place; "+" (also "¡") and "-" (also "'") set the sign unless ONLY_SIGN
// fixed it; Backspace or Delete take the last typed digit back. Every change of the shown
// value calls the notification, when one is given.
//
// Date helpers (every edit of every dialog, unless the system parameters switch them off):
// in an edit holding a date "dd/mm/yy", "+" (also "¡") shows the next day and "-" (also
// "'") the previous one; a right click opens a calendar on it.
#pragma once

#include <functional>
#include <string>

class QLineEdit;

namespace win {

class WEDIT;

void ONLYNUMBER(WEDIT& edit, const std::string& picture, std::function<void()> notify = {});
// -1 always negative, 1 always positive, 0 free; a non-empty picture replaces the edit's.
void ONLY_SIGN(WEDIT& edit, int signRule, const std::string& picture = "");
// The numeric value of a numeric field (or of any edit: separators removed).
double NUMBER_OF(const WEDIT& edit);

void installDateHelper(QLineEdit* edit);
bool dateHelpersOn();

}  // namespace win
