// The screens of the currencies (the "Mantenimientos" entries of the "Archivo" menu) and the
// stale-rate check run each time a user enters a business unit.
#include "currencies/check_cambio.h"
#include "currencies/moneda.h"
#include "currencies/neg_camb.h"
#include "currencies/t_cambio.h"
#include "screens/registry.h"

namespace currencies {

SCREEN_REGISTRATION(registerCurrencyScreens) {
  using screens::entry;
  screens::editMenu(MONEDA::kMenuId, {entry(2330, "Agregar Moneda", &MONEDA::ADD_MONEDAS),
                                      entry(2331, "Modificar Moneda", &MONEDA::MOD_MONEDAS),
                                      entry(2332, "Borrar Moneda ", &MONEDA::DEL_MONEDAS)});
  screens::editMenu(T_CAMBIO::kMenuId, {entry(2333, "Agregar Tipo de Cambio", &T_CAMBIO::ADD_T_CAMBIO),
                                        entry(2334, "Modificar Tipo de Cambio", &T_CAMBIO::MOD_T_CAMBIO),
                                        entry(2335, "Borrar Tipo de Cambio ", &T_CAMBIO::DEL_T_CAMBIO)});
  screens::opens<MONEDA>("MONEDA");
  screens::opens<T_CAMBIO>("T_CAMBIO");
  screens::opens<NEG_CAMB>("NEG_CAMB");
  screens::onBusinessEntered(CHECK_CAMBIO);
}

}  // namespace currencies
