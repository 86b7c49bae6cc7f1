// The screens of the rooms menu, registered with the module menu together with the entries
// of their "Editar" menus.
#pragma once

namespace rooms {

void registerRoomScreens();

}  // namespace rooms
