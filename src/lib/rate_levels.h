// The level rows of dynamic rates (NIV_TARI): one row per agency key, room type, rate type,
// date and rate level, its prices for 1 to 10 adults and children; the row of the level in
// force on a date is the marked one (MARCADO = 1). A released row keeps its place with
// NEGOCIO = "****DELETED****" and is taken again before a new record is appended.
#pragma once

#include <cstdint>
#include <string>

namespace lib {

// NEGOCIO of a released row.
inline constexpr const char* kNivelLiberado = "****DELETED****";
// TIP_PREC of the rows a rate period makes.
inline constexpr const char* kNivelDePeriodo = "GLOBAL2";

// The key of a date's rows in NIV_TARI11 and NIV_TARI21: business (15 wide in this table),
// agency key, room type, rate type and the date as year-month-day digits. NIV_TARI11 goes on
// with the level code, NIV_TARI21 with the mark as one character.
std::string CLAVE_NIVEL(const std::string& negocio, const std::string& agencia, const std::string& tipoRom,
                        const std::string& rack, int32_t fecha);

// The price column of n persons ("ADULT3", "NINHO10"); "" when n is not 1 to 10.
std::string COLUMNA_NIVEL(bool nino, int persons);

}  // namespace lib
