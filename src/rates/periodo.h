// A rate period or promotion as its TIP_PREC records name it: the six date texts, the
// default-range and level-analysis flags, the description and the promotion code.
#pragma once

#include <cstdint>
#include <string>

#include "lib/wdbtable.h"

namespace rates {

// A period as its records hold it.
struct Periodo {
  std::string iDia, iMes, iAnho, fDia, fMes, fAnho;
  int raDefecto = 0, nivTari = 0;
  std::string descrip;
  std::string codPromo;
  // "I_DIA + I_MES + ... + F_ANHO" as the period orders key it.
  std::string fechas() const;
  // I_ANHO + I_MES + I_DIA + F_ANHO + F_MES + F_DIA.
  std::string codigo() const;
  // The dated range (0, 0 for a default period or dates that are none).
  int32_t inicio() const;
  int32_t fin() const;
};

// The period of a TIP_PREC (or T_PERIOD) record; its six date texts written into one.
Periodo PERIODO_DE(const lib::WDBTable& t);
void PON_FECHAS(lib::WDBTable& t, const Periodo& p);
// A start or end as the period lists show it: "dd/mm/yyyy", or "dd/mm" without a year.
std::string FECHA_PERIODO(const std::string& day, const std::string& month, const std::string& year);

}  // namespace rates
