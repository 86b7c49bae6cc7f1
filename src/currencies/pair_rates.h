// The dated rates of one pair of currencies, moved or deleted together when the pair is
// changed or deleted. Each record changes under its own lock; neither is a transaction.
#pragma once

#include <cstddef>
#include <string>

namespace currencies {

// Deletes every rate (MONEDA1 = moneda1, MONEDA2 = moneda2) of the business unit.
size_t BORRA_TIPOS_DE_CAMBIO(const std::string& negocio, const std::string& moneda1, const std::string& moneda2);

// Gives every rate (moneda1, from) of the business unit the second currency `to`.
size_t MUEVE_TIPOS_DE_CAMBIO(const std::string& negocio, const std::string& moneda1, const std::string& from,
                             const std::string& to);

}  // namespace currencies
