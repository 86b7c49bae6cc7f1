// The log of opened screens: every screen and modal dialog writes one LOG_DIAG record
// when it opens (except the few service dialogs that open all the time). The head record,
// when older than 240 days and lockable, is reused instead of growing the table; the last
// chosen menu id is cleared afterwards.
#pragma once

#include <string>

namespace win {

bool dialogIsLogged(const std::string& dialogName);
void LOG_DIALOG_OPEN(const std::string& dialogName);

}  // namespace win
