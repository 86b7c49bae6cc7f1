#include "rooms/room_screens.h"

#include "rooms/acc_rom.h"
#include "rooms/assign_u.h"
#include "rooms/cual_rom.h"
#include "rooms/gr_room.h"
#include "rooms/recod_r.h"
#include "rooms/rooms_screen.h"
#include "rooms/screen_registration.h"
#include "rooms/type_screens.h"
#include "rooms/ubic_rom.h"
#include "win/main_frame.h"

namespace rooms {

void registerRoomScreens() {
  win::registerEditMenu(ROOMS::kMenuId,
                        {entry(3088, "Agregar ", &ROOMS::ADD_ROOMS), entry(3089, "Modificar ", &ROOMS::MOD_ROOMS),
                         entry(3090, "Borrar  ", &ROOMS::DEL_ROOMS)});
  win::registerEditMenu(UBIC_ROM::kMenuId, {entry(3100, "Agregar ", &UBIC_ROM::ADD_UBIC_ROM),
                                            entry(3101, "Modificar ", &UBIC_ROM::MOD_UBIC_ROM),
                                            entry(3102, "Borrar  ", &UBIC_ROM::DEL_UBIC_ROM)});
  win::registerEditMenu(ACC_ROM::kMenuId, {entry(3104, "Agregar ", &ACC_ROM::ADD_ACC_ROM),
                                           entry(3105, "Modificar ", &ACC_ROM::MOD_ACC_ROM),
                                           entry(3106, "Borrar  ", &ACC_ROM::DEL_ACC_ROM)});
  win::registerEditMenu(CUAL_ROM::kMenuId, {entry(3108, "Agregar ", &CUAL_ROM::ADD_CUAL_ROM),
                                            entry(3109, "Modificar ", &CUAL_ROM::MOD_CUAL_ROM),
                                            entry(3110, "Borrar  ", &CUAL_ROM::DEL_CUAL_ROM)});
  win::registerEditMenu(GR_ROOM::kMenuId, {entry(5573, "Agregar ", &GR_ROOM::ADD_GR_ROOM),
                                           entry(5574, "Modificar ", &GR_ROOM::MOD_GR_ROOM),
                                           entry(5575, "Borrar  ", &GR_ROOM::DEL_GR_ROOM)});
  opens<ROOMS>("ROOMS");
  opens<UBIC_ROM>("UBIC_ROM");
  opens<ACC_ROM>("ACC_ROM");
  opens<CUAL_ROM>("CUAL_ROM");
  opens<GR_ROOM>("GR_ROOM");
  opens<ASSIGN_U>("ASSIGN_U");
  opens<RECOD_R>("RECOD_R");
  registerTypeScreens();
}

}  // namespace rooms
