// What the rooms screens read of the hotel control parameters of the business unit.
#pragma once

#include <cstdint>
#include <string>

namespace rooms {

// The hotel's current closing day (F_HOTEL.CIERRE_DIA of the business unit); the program
// date when the business has no parameter record or no closing day yet.
int32_t CIERRE_DIA(const std::string& negocio);

// The hotel's free room state (F_HOTEL.LIBRE), "" when the business has no parameters.
std::string ESTADO_LIBRE(const std::string& negocio);

}  // namespace rooms
