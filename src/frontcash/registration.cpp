// The screens of front-desk cash and of the printer profiles: the class that opens for each
// menu entry and the "Editar" entries of their menu ids.
#include "frontcash/hcajas.h"
#include "frontcash/hcajas2.h"
#include "frontcash/hdef_caja.h"
#include "frontcash/predet_p.h"
#include "screens/registry.h"

namespace frontcash {

using screens::entry;

SCREEN_REGISTRATION(registerFrontCashScreens) {
  screens::editMenu(PREDET_P::kMenuId, {entry(2304, "Agregar Impresora Prederminada", &PREDET_P::ADD_PRINTER),
                                        entry(2305, "Modificar Impresora Predeterminada", &PREDET_P::MOD_PRINTER),
                                        entry(2306, "Borrar Impresora Predeterminada", &PREDET_P::DEL_PRINTER)});
  screens::opens<PREDET_P>("PREDET_P");
  screens::editMenu(HCAJAS::kMenuId, {entry(3022, "Agregar Caja   ", &HCAJAS::ADD_Caja),
                                      entry(3023, "Modificar Caja ", &HCAJAS::MOD_Caja),
                                      entry(3024, "Borrar Caja    ", &HCAJAS::DEL_Caja),
                                      screens::separator(),
                                      entry(3025, "Agregar Cierre Manual", &HCAJAS::ADD_DETALLE),
                                      entry(3026, "Modificar Cierre", &HCAJAS::MOD_DETALLE),
                                      entry(3027, "Borrar Cierre", &HCAJAS::DEL_DETALLE),
                                      entry(3583, "Modificar Saldos de Cierre", &HCAJAS::MOD_SALDO),
                                      entry(3603, "Imprimir detalle de Movimientos", &HCAJAS::PRINT_MOVS)});
  screens::opens<HCAJAS>("HCAJAS");
  screens::opens<HDEF_CAJA>("HDEF_CAJA");
  screens::opens<HCAJAS2>("HCAJAS2");
}

}  // namespace frontcash
