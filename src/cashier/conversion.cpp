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

lib::ExchangeFactor FACTOR_CAMBIO(const std::string& negocio, const std::string& moneda, int32_t fecha, int slot) {
  const std::string contable = MONEDA_CONTABLE(negocio);
  if (lib::trim(moneda).empty() || contable.empty() || lib::trim(moneda) == contable) {
    lib::ExchangeFactor same;
    same.source = lib::ExchangeFactor::Source::Same;
    same.rate = lib::Money::units(1);
    same.fecha = fecha;
    return same;
  }
  // Opened on the lookup order, so that the lookup does not have to put it back.
  auto rates = lib::USE(nullptr, "T_CAMBIO", "T_CAMB2");
  lib::ExchangeFactor f = lib::CAMBIO_SPEC(negocio, *rates, lib::trim(moneda), contable, fecha, slot);
  lib::KILLTABLA(rates);
  return f;
}

}  // namespace cashier
