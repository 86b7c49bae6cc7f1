#include "cashier/conversion.h"

#include "lib/text.h"
#include "lib/use.h"

namespace cashier {

std::string MONEDA_CONTABLE(const std::string& negocio) {
  std::string moneda;
  lib::EACH_RECORD("NEGOCIOS", "NEGOCIOS", lib::padded(lib::trim(negocio), lib::kBusinessWidth),
                   [&](const lib::WDBTable& n) { moneda = lib::trim(n.S("MONEDA_CON")); });
  return moneda;
}

// The lookup of dated rates (CAMBIO_SPEC of the currencies) is linked in here when it
// exists; until then only the accounting currency itself has a factor.
std::optional<lib::Money> FACTOR_CAMBIO(const std::string& negocio, const std::string& moneda, int32_t, int) {
  if (lib::trim(moneda).empty() || lib::trim(moneda) == MONEDA_CONTABLE(negocio)) return lib::Money::units(1);
  return std::nullopt;
}

}  // namespace cashier
