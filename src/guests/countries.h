// Countries (PAISES) and their states (DET_PAIS), as reservations, their stays and the
// agency statistics name them (PAIS, ESTADO_GEO). A changed country code is carried into
// them and into its states; a changed state code into the reservations and stays of its
// country only; deleted codes stay where they are named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screens/recode.h"

namespace guests {

// Where a country's code is carried, in this order.
const std::vector<screens::RecodeStep>& COUNTRY_REFERENCES();

// A state's changed code in the reservations and stays of `country` holding `oldCode`.
void RECODIFICA_ESTADO(const std::string& negocio, const std::string& country, const std::string& oldCode,
                       const std::string& newCode);

// The country's record and then its states, each under its own lock.
void BORRA_PAIS(const std::string& negocio, uint32_t recno);

}  // namespace guests
