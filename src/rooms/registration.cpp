// The screens of the rooms menu: the class that opens for each menu entry and the "Editar"
// entries of their menu ids (the short lists are in room_lists.cpp).
#include "rooms/act_stip.h"
#include "rooms/assign_u.h"
#include "rooms/clas_rom.h"
#include "rooms/recod_r.h"
#include "rooms/rooms_screen.h"
#include "rooms/stat_tip.h"
#include "rooms/tab_gene.h"
#include "rooms/tab_rese.h"
#include "rooms/tipo_rom.h"
#include "screens/registry.h"

namespace rooms {

using screens::entry;

SCREEN_REGISTRATION(registerRoomScreens) {
  using screens::listEntries;
  screens::editMenu(ROOMS::kMenuId,
                    listEntries<ROOMS>({3088, 3089, 3090}, &ROOMS::ADD_ROOMS, &ROOMS::MOD_ROOMS, &ROOMS::DEL_ROOMS));
  std::vector<win::EditEntry> types = listEntries<TIPO_ROM>({3092, 3093, 3094}, &TIPO_ROM::ADD_TIPO_ROM,
                                                            &TIPO_ROM::MOD_TIPO_ROM, &TIPO_ROM::DEL_TIPO_ROM);
  types.push_back(screens::separator());
  types.push_back(entry(6424, "Recodificar Reservas", &TIPO_ROM::RECODIFICA_RES));
  screens::editMenu(TIPO_ROM::kMenuId, types);
  screens::editMenu(CLAS_ROM::kMenuId,
                    listEntries<CLAS_ROM>({3096, 3097, 3098}, &CLAS_ROM::ADD_CLAS_ROM, &CLAS_ROM::MOD_CLAS_ROM,
                                          &CLAS_ROM::DEL_CLAS_ROM, {"Agregar    ", "Modificar  ", "Borrar     "}));
  screens::editMenu(TAB_RESE::kMenuId, listEntries<TAB_RESE>({3116, 3117, 3118}, &TAB_RESE::ADD_TAB_RESE,
                                                             &TAB_RESE::MOD_TAB_RESE, &TAB_RESE::DEL_TAB_RESE));
  screens::opens<ROOMS>("ROOMS");
  screens::opens<TIPO_ROM>("TIPO_ROM");
  screens::opens<CLAS_ROM>("CLAS_ROM");
  screens::opens<ASSIGN_U>("ASSIGN_U");
  screens::opens<RECOD_R>("RECOD_R");
  screens::opens<TAB_GENE>("TAB_GENE");
  screens::opens<STAT_TIP>("STAT_TIP");
  screens::opens<TAB_RESE>("TAB_RESE");
  screens::opens<ACT_STIP>("ACT_STIP");
}

}  // namespace rooms
