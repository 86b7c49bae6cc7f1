// The rates of the demo hotel: rate types with their breakdowns, a special and sub-types; the
// season calendar with sub-seasons and season prices (both business units); in business "01"
// (which prices by rate period) the dated and default periods of the demo year, an agency's own
// periods, a promotion, and one dynamic rate category whose summer period makes level rows.
#pragma once

#include <string>

namespace initdb {

// After the hotel: reuses the rate types, room types and agencies it wrote.
void addRatesDemo(const std::string& home);

}  // namespace initdb
