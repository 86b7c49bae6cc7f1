// What the user is shown of a checked import before anything is written: one line per
// record left out ("Huésped, registro 3: Sin número de documento"), the count of them, and
// the question "Se importarán N huéspedes y M reservas. Desea continuar?".
#pragma once

#include <string>
#include <vector>

#include "guests/guest_exchange.h"

namespace guests {

std::vector<std::string> LINEAS_PROBLEMAS(const ImportCheck& check);
std::string RESUMEN_PROBLEMAS(const ImportCheck& check);  // "" when there are none
std::string PREGUNTA_IMPORTACION(const ImportCheck& check);

}  // namespace guests
