// Where the codes of this subsystem are carried: a guarantee type in the reservations
// (ENC_RES.TIPO) and in its own messages (D_T_RES); a reservation class #1 or #2 in the
// reservations, their history and the source-of-business tables.
#pragma once

#include <vector>

#include "screens/recode.h"

namespace reservations {

// A changed guarantee type: the reservations that carry it.
std::vector<screens::RecodeStep> GUARANTEE_REFERENCES();
// A deleted guarantee type takes its messages with it.
std::vector<screens::RecodeStep> GUARANTEE_MESSAGES();
// A changed class #1 (`which` = 1) or #2 (2).
std::vector<screens::RecodeStep> CLASS_REFERENCES(int which);

}  // namespace reservations
