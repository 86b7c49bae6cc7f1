// The demo hotel's guest profile lists — professions, airlines and guest classifications —
// and some of its reservations and stays carrying them.
#pragma once

#include <string>

namespace initdb {

void addGuestListDemo(const std::string& home);

}  // namespace initdb
