// "Explicar Precio..." (the rates screens' "Editar" menu): asks for a room type, an agency, a
// rate type, a date and the guests, and shows the price the shared lookup (C_PRECIO) finds
// for that night with the way it got there: the season or period matched and those that
// lost with why, the promotion, the level row, the sub-type's offsets. Reads only.
#pragma once

#include <string>

#include "win/wdiag.h"

namespace rates {

// `rack` preselects a rate type ("" none).
void EXPLICAR_PRECIO(win::WDIAG* owner, const std::string& negocio, const std::string& rack);

}  // namespace rates
