#include "lib/folio_currency.h"

#include <memory>

#include "lib/text.h"
#include "lib/use.h"

namespace lib {

std::string MONEDA_FOLIO(const std::string& negocio, const std::string& agency, Folio folio) {
  const char* field = folio == Folio::Master ? "MON_MASTER" : "MON_EXTRA";
  auto business = USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  std::string accounting;
  bool keepsFolioCurrencies = false;
  if (business->Seek(businessKey(negocio))) {
    accounting = business->S("MONEDA_CON");
    keepsFolioCurrencies = business->HasField("MON_FOL") && business->N("MON_FOL") == 1;
  }
  KILLTABLA(business);
  if (!keepsFolioCurrencies) return accounting;
  auto agencies = USE(nullptr, "AGENCIAS", "AGENCIAS");
  std::string currency = accounting;
  if (agencies->Seek(businessKey(negocio) + padded(agency, 15))) {
    const int rule = int(agencies->N("TIPO_MON"));
    if (rule == 2) {
      currency = agencies->S(field);
    } else if (rule == 1) {
      auto types = USE(nullptr, "TIPO_AGE", "TIPO_AGE");
      if (types->Seek(businessKey(negocio) + padded(agencies->S("TIPO"), 4)) && types->N("TIPO_MON") == 1)
        currency = types->S(field);
      KILLTABLA(types);
    }
  }
  KILLTABLA(agencies);
  return currency;
}

}  // namespace lib
