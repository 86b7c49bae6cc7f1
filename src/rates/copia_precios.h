// The copies of the price screens: the periods of an agency key and rate type to other
// agency keys (DEF_PRE4), and the promotions of a rate type to other rate types (DEF_PRE7).
// Each target first loses what it had of that kind; nothing is copied when no target is
// marked or the source itself is.
#pragma once

#include <string>

#include "win/wdiag.h"

namespace rates {

// True when something was copied.
bool COPIA_PERIODOS(win::WDIAG* owner, const std::string& negocio, const std::string& rack, const std::string& agencia);
bool COPIA_PROMOCIONES(win::WDIAG* owner, const std::string& negocio, const std::string& rack);

}  // namespace rates
