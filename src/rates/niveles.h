// The level rows a rate period with level analysis ("Análisis por Niveles") makes: for each
// date of the period, each room type and each rate level of the business unit (ENC_NIV, in
// order) one NIV_TARI row carrying the level's data and the period's prices for 1 to 10 adults
// and children; only the last level's row is marked. A row already there keeps its mark and
// level data and takes the prices again. Rows of dates a changed period no longer covers are
// released (lib/rate_levels.h); released rows are taken again before new records are appended.
// Each row is written under its own lock; none of it is a transaction.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rates {

// A rate period as its TIP_PREC records name it: agency key, rate type and the six date texts.
struct PeriodoNivel {
  std::string agencia, rack;
  std::string iDia, iMes, iAnho, fDia, fMes, fAnho;
};

// Makes the level rows of `periodo` from `inicio` to `fin`; with a former range (inicio0, fin0;
// 0 = the same as the new one) first releases the rows of its dates the new one leaves out.
// Nothing happens without level analysis. `progress` (when given) is told every 20th date.
void NIVELES_PERIODO(const std::string& negocio, bool analisis, const PeriodoNivel& periodo, int32_t inicio,
                     int32_t fin, int32_t inicio0 = 0, int32_t fin0 = 0,
                     const std::function<void(int32_t fecha)>& progress = {});

// Releases the rows of the agency key, rate type and room type dated from `desde` to `hasta`.
// Returns the rows released.
size_t LIBERA_NIVELES(const std::string& negocio, const std::string& agencia, const std::string& rack,
                      const std::string& tipoRom, int32_t desde, int32_t hasta);

}  // namespace rates
