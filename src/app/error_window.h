// The error window (dialog ERROR_SPEC, "ERROR DE SISTEMA"): the message in the top box,
// the report in the large one, and Salir, Reintentar (when the error can be retried) and
// Ignorar (when it can be defaulted). Installed into the error handler at start-up, with
// the guard through which every entry from the event loop reaches the handler.
#pragma once

namespace app {

void installErrorWindow();

}  // namespace app
