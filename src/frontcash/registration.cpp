// The screens of front-desk cash and of the printer profiles: the class that opens for each
// menu entry and the "Editar" entries of their menu ids.
#include "frontcash/predet_p.h"
#include "screens/registry.h"

namespace frontcash {

using screens::entry;

SCREEN_REGISTRATION(registerFrontCashScreens) {
  screens::editMenu(PREDET_P::kMenuId, {entry(2304, "Agregar Impresora Prederminada", &PREDET_P::ADD_PRINTER),
                                        entry(2305, "Modificar Impresora Predeterminada", &PREDET_P::MOD_PRINTER),
                                        entry(2306, "Borrar Impresora Predeterminada", &PREDET_P::DEL_PRINTER)});
  screens::opens<PREDET_P>("PREDET_P");
}

}  // namespace frontcash
