#include "currencies/pair_rates.h"

#include <functional>

#include "lib/multitask.h"
#include "lib/record_protocol.h"
#include "lib/use.h"

namespace currencies {

namespace {

// Changes, one at a time, the rates of the pair until none is left under its key: each
// change takes the record out of the key (deleted, or with another second currency), so the
// next seek finds the next one.
size_t eachRateOfPair(const std::string& negocio, const std::string& moneda1, const std::string& moneda2,
                      const std::function<void(lib::WDBTable&)>& change) {
  auto rates = lib::USE(nullptr, "T_CAMBIO", "T_CAMBIO");
  const std::string key =
      rates->KeyPart("NEGOCIO", negocio) + rates->KeyPart("MONEDA1", moneda1) + rates->KeyPart("MONEDA2", moneda2);
  size_t changed = 0;
  while (rates->Seek(key)) {
    lib::MODIFY(*rates, [&] { change(*rates); });
    ++changed;
    lib::MULTITASK();
  }
  lib::KILLTABLA(rates);
  return changed;
}

}  // namespace

size_t BORRA_TIPOS_DE_CAMBIO(const std::string& negocio, const std::string& moneda1, const std::string& moneda2) {
  return eachRateOfPair(negocio, moneda1, moneda2, [](lib::WDBTable& t) { t.Delete(); });
}

size_t MUEVE_TIPOS_DE_CAMBIO(const std::string& negocio, const std::string& moneda1, const std::string& from,
                             const std::string& to) {
  return eachRateOfPair(negocio, moneda1, from,
                        [&](lib::WDBTable& t) { t.FieldPut("MONEDA2", lib::Value::chars(to)); });
}

}  // namespace currencies
