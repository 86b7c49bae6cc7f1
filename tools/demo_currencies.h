// The currencies of the demo hotel: colones, US dollars and euros in both business units,
// their pairs, a year of daily rates (16/12/2025 to 15/12/2026) and the stale-rate review.
#pragma once

#include <string>

namespace initdb {

void addCurrencyDemo(const std::string& home);

}  // namespace initdb
