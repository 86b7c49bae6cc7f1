// The room type and room class screens, registered with the module menu together with the
// entries of their "Editar" menus.
#pragma once

namespace rooms {

void registerTypeScreens();

}  // namespace rooms
