// The exchange factor a posting under a transaction code applies: the rate of the code's
// slot (TRANS_CAMB, 1 to 5) from the currency of the amount into the business unit's
// accounting currency, effective on the posting's date, through the dated rates of the data
// layer (lib/exchange_rates.h). This is the one place the transaction codes ask for them.
#pragma once

#include <cstdint>
#include <string>

#include "lib/exchange_rates.h"

namespace cashier {

// The accounting currency of the business unit (NEGOCIOS.MONEDA_CON).
std::string MONEDA_CONTABLE(const std::string& negocio);

// The factor from `moneda` into the accounting currency on `fecha` with rate slot `slot`: 1
// for the accounting currency itself (or no currency), else the rate found, with its date
// and whether the pair was read in reverse; Source::None (factor 0) when there is no rate.
lib::ExchangeFactor FACTOR_CAMBIO(const std::string& negocio, const std::string& moneda, int32_t fecha, int slot);

}  // namespace cashier
