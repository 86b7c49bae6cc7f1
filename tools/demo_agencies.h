// The demo hotel's agencies: types, classifications, market segments, sellers, and each
// agency's type, segments, country, folio currencies and commissions, with an exception.
#pragma once

#include <string>

namespace initdb {

void addAgencyDemo(const std::string& home);

}  // namespace initdb
