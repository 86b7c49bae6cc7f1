// What the user sees of a checked import before anything is written: without problems, the
// question "Se importarán N huéspedes y M reservas. Desea continuar?"; with problems, the
// dialog IMP_H_ERRORES listing each record left out ("Huésped, registro 3: Sin número de
// documento") above the same question. True when the user goes on.
#pragma once

#include "guests/guest_exchange.h"
#include "win/wdiag.h"

namespace guests {

bool ACEPTA_IMPORTACION(win::WDIAG* owner, const ImportCheck& check);

}  // namespace guests
