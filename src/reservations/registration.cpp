// The screens of the reservation policies: the guarantee types and the three kinds of class,
// with their "Editar" entries.
#include "reservations/brow_tr.h"
#include "reservations/clases_res.h"
#include "screens/registry.h"

namespace reservations {

namespace {

void registerClasses(const ClassKind& kind) {
  screens::editMenu(kind.menuId, screens::listEntries<CLASES_RES>(kind.entries, &CLASES_RES::ADD_CLASE,
                                                                  &CLASES_RES::MOD_CLASE, &CLASES_RES::DEL_CLASE));
  screens::registerScreen(kind.screen, [&kind](const screens::ScreenRequest& r) {
    screens::OPEN<CLASES_RES>(kind, r.dialog, r.business);
  });
}

}  // namespace

SCREEN_REGISTRATION(registerReservationScreens) {
  screens::editMenu(BROW_TR::kMenuId, screens::listEntries<BROW_TR>({3112, 3113, 3114}, &BROW_TR::ADD_TR,
                                                                    &BROW_TR::MOD_TR, &BROW_TR::DEL_TR));
  screens::opens<BROW_TR>("BROW_TR");
  registerClasses(CLASSES_1());
  registerClasses(CLASSES_2());
  registerClasses(SUPER_CLASSES_1());
}

}  // namespace reservations
