#include "guests/import_review.h"

namespace guests {

std::vector<std::string> LINEAS_PROBLEMAS(const ImportCheck& check) {
  std::vector<std::string> lines;
  for (const ImportProblem& p : check.problems)
    lines.push_back(std::string(p.stay ? "Reserva" : "Huésped") + ", registro " + std::to_string(p.record) + ": " +
                    p.reason);
  return lines;
}

std::string RESUMEN_PROBLEMAS(const ImportCheck& check) {
  if (check.problems.empty()) return "";
  if (check.problems.size() == 1) return "1 registro no se importará:";
  return std::to_string(check.problems.size()) + " registros no se importarán:";
}

std::string PREGUNTA_IMPORTACION(const ImportCheck& check) {
  return "Se importarán " + std::to_string(check.guests) + " huéspedes y " + std::to_string(check.stays) +
         " reservas. Desea continuar?";
}

}  // namespace guests
