// The hotel control parameters of the demo hotel: the four parameter records of business
// units "01" and "02" and the records of the tables their lists are filled from.
#pragma once

#include <string>

namespace initdb {

void addParameterDemo(const std::string& home);

}  // namespace initdb
