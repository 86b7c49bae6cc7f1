// The component dialogs of a breakdown line: E_RACK2 (a percentage component) and E_RACK6
// ("Edición de Extras", a fixed-amount component), on one row of a working copy
// (T_DETRAK / T_DETRK2). A transaction code is required and may not be in the line twice;
// a percentage lies above 0 and at most 100; an amount has no range.
#pragma once

#include <cstdint>
#include <string>

#include "lib/wdbtable.h"
#include "win/wdiag.h"

namespace rates {

// Edits row `recno` of `line` (0: appends a new row, NUM_REC 0). True when saved.
bool E_RACK2(win::WDIAG* owner, const std::string& negocio, lib::WDBTable& line, uint32_t recno);
bool E_RACK6(win::WDIAG* owner, const std::string& negocio, lib::WDBTable& line, uint32_t recno);

}  // namespace rates
