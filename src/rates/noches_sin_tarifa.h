// "Noches sin Tarifa..." (the rates screens' "Editar" menu): for a date range, every room
// type × rate type night of the general tariff that the shared lookup prices at nothing, and
// every night two dated (or two default) periods of the general tariff hold at once. Reads
// only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win/wdiag.h"

namespace rates {

struct NocheSinTarifa {
  int32_t fecha = 0;
  std::string tipoRom, rack;
  std::string problema;  // "sin precio", or the overlapping periods
};

// The check itself, night by night from `desde` to `hasta`, room types and rate types in
// code order.
std::vector<NocheSinTarifa> REVISA_NOCHES(const std::string& negocio, int32_t desde, int32_t hasta);

void NOCHES_SIN_TARIFA(win::WDIAG* owner, const std::string& negocio);

}  // namespace rates
