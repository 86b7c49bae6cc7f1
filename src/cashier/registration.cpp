// The screens of the "Transacciones" menu and of the reports' classifications: the class
// that opens for each menu entry and the "Editar" entries of their menu ids (the short lists
// are in cashier_lists.cpp).
#include "cashier/cargos.h"
#include "cashier/def_ingr.h"
#include "cashier/def_pago.h"
#include "cashier/tipo_imp.h"
#include "screens/registry.h"

namespace cashier {

using screens::entry;
using screens::listEntries;

SCREEN_REGISTRATION(registerCashierScreens) {
  const screens::ListCaptions wide = {"Agregar    ", "Modificar  ", "Borrar     "};
  std::vector<win::EditEntry> codes =
      listEntries<CARGOS>({3055, 3056, 3057}, &CARGOS::ADD_CARGO, &CARGOS::MOD_CARGO, &CARGOS::DEL_CARGO, wide);
  codes.push_back(entry(3894, "Cambiar Clasificacion     ", &CARGOS::CAMBIA_CLAS));
  codes.push_back(screens::separator());
  codes.push_back(entry(3895, "Simular Impuestos...", &CARGOS::SIMULA_IMP));
  screens::editMenu(CARGOS::kMenuId, codes);
  screens::editMenu(TIPO_IMP::kMenuId, listEntries<TIPO_IMP>({3063, 3064, 3065}, &TIPO_IMP::ADD_TIPO_IMP,
                                                             &TIPO_IMP::MOD_TIPO_IMP, &TIPO_IMP::DEL_TIPO_IMP));
  screens::editMenu(DEF_PAGO::kMenuId, listEntries<DEF_PAGO>({3080, 3081, 3082}, &DEF_PAGO::ADD_T_PAGO,
                                                             &DEF_PAGO::MOD_T_PAGO, &DEF_PAGO::DEL_T_PAGO, wide));
  screens::opens<CARGOS>("CARGOS");
  screens::opens<TIPO_IMP>("TIPO_IMP");
  screens::opens<DEF_PAGO>("DEF_PAGO");
  screens::opens<DEF_INGR>("DEF_INGR");
}

}  // namespace cashier
