// The administration screens of "Archivo > Mantenimientos" that the shell offers besides
// the users (serials, logs, optimisation, system and mail parameters, server connections).
#pragma once

namespace app {

void registerAdminScreens();

}  // namespace app
