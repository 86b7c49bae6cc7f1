// The exchange factor a posting under a transaction code applies: the rate of the code's
// slot (TRANS_CAMB, 1 to 5) from the currency of the amount to the business unit's
// accounting currency, on a date. An amount in the accounting currency needs none (factor
// 1). The dated rates and their lookup belong to the currencies of the data layer; this is
// the one place the transaction codes ask for them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lib/money.h"

namespace cashier {

// The accounting currency of the business unit (NEGOCIOS.MONEDA_CON).
std::string MONEDA_CONTABLE(const std::string& negocio);

// The factor from `moneda` to the accounting currency on `fecha` with rate slot `slot`;
// nullopt while no rate lookup is linked in for another currency (the caller asks the user).
std::optional<lib::Money> FACTOR_CAMBIO(const std::string& negocio, const std::string& moneda, int32_t fecha, int slot);

}  // namespace cashier
