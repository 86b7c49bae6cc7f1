// The month and year fields of the process screens ("Mes", "Año"): read as the program reads
// the month and year of a typed date (lib::readDate), so that a year of two digits falls in
// the hundred years starting in 1980.
#pragma once

#include "win/wdiag.h"

namespace processes {

// The month typed in edit `id`: 1 to 12; 0 for anything else (empty, letters, 13...).
int monthOfEdit(const win::WDIAG& screen, int id);

// The year typed in edit `id`, of two digits (in the window) or four; 0 for anything else.
int yearOfEdit(const win::WDIAG& screen, int id);

}  // namespace processes
