// What a dynamic season (TD_D_TEM) does to a night's level price: the price is rounded as the
// season says — 0 exact, 1 to the nearest .10, 2 to .25, 3 to .50, 4 to whole units, half away
// from zero; any other value leaves it as it is — and then held between the floor and the
// ceiling (a zero floor or ceiling holds nothing), so that a rounded price never leaves them.
// A price of 0 (no level row) stays 0. The values are the room's: the lookup holds the adults'
// price with them, never a child's.
#pragma once

#include "lib/money.h"

namespace lib {

struct ValoresDinamicos {
  Money piso, techo;
  int redondeo = 0;
};

// The step a rounding mode rounds to (0 for exact or unknown modes).
Money PASO_REDONDEO(int redondeo);

Money REDONDEA_DINAMICO(Money price, int redondeo);

Money AJUSTA_DINAMICO(Money price, const ValoresDinamicos& valores);

}  // namespace lib
