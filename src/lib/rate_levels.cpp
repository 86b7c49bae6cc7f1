#include "lib/rate_levels.h"

#include "lib/text.h"
#include "xbase/date.h"

namespace lib {

std::string CLAVE_NIVEL(const std::string& negocio, const std::string& agencia, const std::string& tipoRom,
                        const std::string& rack, int32_t fecha) {
  return padded(negocio, 15) + padded(agencia, 15) + padded(tipoRom, 4) + padded(rack, 4) + xbase::dtos(fecha);
}

std::string COLUMNA_NIVEL(bool nino, int persons) {
  if (persons < 1 || persons > 10) return "";
  return (nino ? "NINHO" : "ADULT") + std::to_string(persons);
}

}  // namespace lib
