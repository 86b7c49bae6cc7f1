// The screens of the rates menu: the class that opens for each menu entry and the "Editar"
// entries of their menu ids.
#include "lib/price_lookup.h"
#include "rates/def_pre2.h"
#include "rates/def_pre5.h"
#include "rates/def_prec.h"
#include "rates/def_temp.h"
#include "rates/enc_trel.h"
#include "rates/fec_temp.h"
#include "rates/rack.h"
#include "rates/tar_dina.h"
#include "screens/registry.h"

namespace rates {

SCREEN_REGISTRATION(registerRateScreens) {
  using screens::entry;
  std::vector<win::EditEntry> rack =
      screens::listEntries<RACK>({3076, 3077, 3078}, &RACK::ADD_RACK, &RACK::MOD_RACK, &RACK::DEL_RACK);
  rack.push_back(entry(RACK::kDuplicateId, "Duplicar", &RACK::DUP_RACK));
  screens::editMenu(RACK::kMenuId, rack);
  screens::opens<RACK>("RACK");
  screens::editMenu(ENC_TREL::kMenuId, screens::listEntries<ENC_TREL>({6554, 6555, 6556}, &ENC_TREL::ADD_ENC_TREL,
                                                                       &ENC_TREL::MOD_ENC_TREL, &ENC_TREL::DEL_ENC_TREL));
  screens::opens<ENC_TREL>("ENC_TREL");
  screens::opens<DEF_TEMP>("DEF_TEMP");
  // "Definición de Tarifas": the screen of the business unit's pricing mode.
  screens::registerScreen("E_PREC", [](const screens::ScreenRequest& r) {
    if (lib::PRECIOS_POR_PERIODO(r.business))
      screens::OPEN<DEF_PRE2>("DEF_PRE2", r.business);
    else
      screens::OPEN<DEF_PREC>("DEF_PREC", r.business);
  });
  screens::editMenu(PRECIOS::kMenuId, {entry(PRECIOS::kExplainId, "Explicar Precio...", &PRECIOS::EXPLICAR_PRECIO),
                                       entry(PRECIOS::kCheckId, "Noches sin Tarifa...", &PRECIOS::NOCHES_SIN_TARIFA)});
  screens::opens<DEF_PRE5>("DEF_PRE5");
  screens::opens<TAR_DINA>("TAR_DINA");
  screens::editMenu(FEC_TEMP::kMenuId, screens::listEntries<FEC_TEMP>({3072, 3073, 3074}, &FEC_TEMP::ADD_FEC_TEMP,
                                                                       &FEC_TEMP::MOD_FEC_TEMP, &FEC_TEMP::DEL_FEC_TEMP));
  screens::opens<FEC_TEMP>("FEC_TEMP");
}

}  // namespace rates
