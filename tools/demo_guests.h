// The demo hotel's guest profile lists — professions, airlines and guest classifications —,
// its countries' segments, regions and states, and its reservations and stays naming them.
#pragma once

#include <string>

namespace initdb {

void addGuestListDemo(const std::string& home);

}  // namespace initdb
