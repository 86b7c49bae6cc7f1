// The currency of an agency's folios, as the front desk opens them: the business unit's
// accounting currency unless the business keeps folio currencies (NEGOCIOS.MON_FOL = 1);
// then by the agency's TIPO_MON — 0 the accounting currency, 1 its type's (TIPO_AGE: the
// accounting currency when the type is missing or keeps none), 2 its own — for a master or
// an extra folio. Opened folios keep the code it gives.
#pragma once

#include <string>

namespace lib {

enum class Folio { Master, Extra };

std::string MONEDA_FOLIO(const std::string& negocio, const std::string& agency, Folio folio);

}  // namespace lib
