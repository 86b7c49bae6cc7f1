#include "rooms/type_screens.h"

#include "rooms/clas_rom.h"
#include "rooms/screen_registration.h"
#include "rooms/tipo_rom.h"
#include "win/main_frame.h"

namespace rooms {

void registerTypeScreens() {
  win::registerEditMenu(TIPO_ROM::kMenuId, {entry(3092, "Agregar ", &TIPO_ROM::ADD_TIPO_ROM),
                                            entry(3093, "Modificar ", &TIPO_ROM::MOD_TIPO_ROM),
                                            entry(3094, "Borrar  ", &TIPO_ROM::DEL_TIPO_ROM), separator(),
                                            entry(6424, "Recodificar Reservas", &TIPO_ROM::RECODIFICA_RES)});
  win::registerEditMenu(CLAS_ROM::kMenuId, {entry(3096, "Agregar    ", &CLAS_ROM::ADD_CLAS_ROM),
                                            entry(3097, "Modificar  ", &CLAS_ROM::MOD_CLAS_ROM),
                                            entry(3098, "Borrar     ", &CLAS_ROM::DEL_CLAS_ROM)});
  opens<TIPO_ROM>("TIPO_ROM");
  opens<CLAS_ROM>("CLAS_ROM");
}

}  // namespace rooms
