// Where an agency's code is carried: the tables of the business unit that name an agency, a
// type or a classification, as cascades (screens/recode.h).
#pragma once

#include <vector>

#include "screens/recode.h"

namespace agencies {

// A changed agency code: reservations, allotments, special prices, statistics rows and the
// agency's own commission rows, racks and exceptions.
const std::vector<screens::RecodeStep>& AGENCY_REFERENCES();
// A deleted agency takes its sellers, allotments, special prices, commission rows, racks and
// exceptions with it; reservations and statistics keep the code.
const std::vector<screens::RecodeStep>& AGENCY_ROWS();

}  // namespace agencies
