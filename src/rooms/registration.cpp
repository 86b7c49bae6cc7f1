// The screens of the rooms menu: the class that opens for each menu entry and the "Editar"
// entries of their menu ids.
#include "rooms/acc_rom.h"
#include "rooms/act_stip.h"
#include "rooms/assign_u.h"
#include "rooms/clas_rom.h"
#include "rooms/cual_rom.h"
#include "rooms/gr_room.h"
#include "rooms/recod_r.h"
#include "rooms/rooms_screen.h"
#include "rooms/stat_tip.h"
#include "rooms/tab_gene.h"
#include "rooms/tab_rese.h"
#include "rooms/tipo_rom.h"
#include "rooms/ubic_rom.h"
#include "screens/registry.h"

namespace rooms {

using screens::entry;

SCREEN_REGISTRATION(registerRoomScreens) {
  screens::editMenu(ROOMS::kMenuId,
                    {entry(3088, "Agregar ", &ROOMS::ADD_ROOMS), entry(3089, "Modificar ", &ROOMS::MOD_ROOMS),
                     entry(3090, "Borrar  ", &ROOMS::DEL_ROOMS)});
  screens::editMenu(TIPO_ROM::kMenuId, {entry(3092, "Agregar ", &TIPO_ROM::ADD_TIPO_ROM),
                                        entry(3093, "Modificar ", &TIPO_ROM::MOD_TIPO_ROM),
                                        entry(3094, "Borrar  ", &TIPO_ROM::DEL_TIPO_ROM), screens::separator(),
                                        entry(6424, "Recodificar Reservas", &TIPO_ROM::RECODIFICA_RES)});
  screens::editMenu(CLAS_ROM::kMenuId, {entry(3096, "Agregar    ", &CLAS_ROM::ADD_CLAS_ROM),
                                        entry(3097, "Modificar  ", &CLAS_ROM::MOD_CLAS_ROM),
                                        entry(3098, "Borrar     ", &CLAS_ROM::DEL_CLAS_ROM)});
  screens::editMenu(UBIC_ROM::kMenuId, {entry(3100, "Agregar ", &UBIC_ROM::ADD_UBIC_ROM),
                                        entry(3101, "Modificar ", &UBIC_ROM::MOD_UBIC_ROM),
                                        entry(3102, "Borrar  ", &UBIC_ROM::DEL_UBIC_ROM)});
  screens::editMenu(ACC_ROM::kMenuId,
                    {entry(3104, "Agregar ", &ACC_ROM::ADD_ACC_ROM), entry(3105, "Modificar ", &ACC_ROM::MOD_ACC_ROM),
                     entry(3106, "Borrar  ", &ACC_ROM::DEL_ACC_ROM)});
  screens::editMenu(CUAL_ROM::kMenuId, {entry(3108, "Agregar ", &CUAL_ROM::ADD_CUAL_ROM),
                                        entry(3109, "Modificar ", &CUAL_ROM::MOD_CUAL_ROM),
                                        entry(3110, "Borrar  ", &CUAL_ROM::DEL_CUAL_ROM)});
  screens::editMenu(GR_ROOM::kMenuId,
                    {entry(5573, "Agregar ", &GR_ROOM::ADD_GR_ROOM), entry(5574, "Modificar ", &GR_ROOM::MOD_GR_ROOM),
                     entry(5575, "Borrar  ", &GR_ROOM::DEL_GR_ROOM)});
  screens::editMenu(TAB_RESE::kMenuId, {entry(3116, "Agregar ", &TAB_RESE::ADD_TAB_RESE),
                                        entry(3117, "Modificar ", &TAB_RESE::MOD_TAB_RESE),
                                        entry(3118, "Borrar  ", &TAB_RESE::DEL_TAB_RESE)});
  screens::opens<ROOMS>("ROOMS");
  screens::opens<TIPO_ROM>("TIPO_ROM");
  screens::opens<CLAS_ROM>("CLAS_ROM");
  screens::opens<UBIC_ROM>("UBIC_ROM");
  screens::opens<ACC_ROM>("ACC_ROM");
  screens::opens<CUAL_ROM>("CUAL_ROM");
  screens::opens<GR_ROOM>("GR_ROOM");
  screens::opens<ASSIGN_U>("ASSIGN_U");
  screens::opens<RECOD_R>("RECOD_R");
  screens::opens<TAB_GENE>("TAB_GENE");
  screens::opens<STAT_TIP>("STAT_TIP");
  screens::opens<TAB_RESE>("TAB_RESE");
  screens::opens<ACT_STIP>("ACT_STIP");
}

}  // namespace rooms
