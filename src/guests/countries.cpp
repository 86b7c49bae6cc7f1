#include "guests/countries.h"

#include "lib/record_protocol.h"
#include "lib/record_walks.h"
#include "lib/text.h"
#include "lib/use.h"

namespace guests {

namespace {

constexpr size_t kCodeWidth = 4;

}  // namespace

const std::vector<screens::RecodeStep>& COUNTRY_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {{"DET_RES2", "PAIS", "DET_RS26"},
                                                         {"ENC_RES", "PAIS", "ENC_RES14"},
                                                         {"DET_PAIS", "COD_PAIS", "DET_PAIS"},
                                                         {"E_AGEN2", "PAIS", "ORDEN8"},
                                                         {"E_AGEN1", "PAIS", "ORDEN8"}};
  return steps;
}

void RECODIFICA_ESTADO(const std::string& negocio, const std::string& country, const std::string& oldCode,
                       const std::string& newCode) {
  const std::string from = lib::businessKey(negocio) + lib::padded(lib::trim(country), kCodeWidth) +
                           lib::padded(lib::trim(oldCode), kCodeWidth);
  lib::REWRITE_RECORDS("DET_RES2", "DET_RS26", from, "ESTADO_GEO", newCode);
  lib::REWRITE_RECORDS("ENC_RES", "ENC_RES14", from, "ESTADO_GEO", newCode);
}

void BORRA_PAIS(const std::string& negocio, uint32_t recno) {
  auto t = lib::USE(nullptr, "PAISES", "PAISES");
  t->GoTo(recno);
  const std::string country = lib::padded(lib::trim(t->S("CODIGO")), kCodeWidth);
  lib::MODIFY(*t, [&] { t->Delete(); });
  lib::KILLTABLA(t);
  lib::DELETE_RECORDS("DET_PAIS", "DET_PAIS", lib::businessKey(negocio) + country);
}

}  // namespace guests
