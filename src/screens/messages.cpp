#include "screens/messages.h"

#include "lib/messages.h"
#include "win/message_box.h"

namespace screens {

void error(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "Error", lib::MB_OK | lib::MB_ICONERROR);
}

bool confirm(const std::string& text) {
  return win::MESSAGE_BOX(nullptr, text, "Advertencia", lib::MB_OKCANCEL | lib::MB_ICONQUESTION) == lib::IDOK;
}

void notice(const std::string& text, const std::string& title) {
  win::MESSAGE_BOX(nullptr, text, title, lib::MB_OK | lib::MB_ICONINFORMATION);
}

void caution(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "Atención", lib::MB_OK | lib::MB_ICONEXCLAMATION);
}

void NO_DISPONIBLE(const std::string& screenClass, const std::string& caption) {
  notice("La pantalla " + screenClass + " (\"" + caption + "\") no está disponible en esta versión del programa.");
}

std::string cascadeQuestion(const std::string& question) {
  return question + "\rSe borrarán todas las referencias en las habitaciones.";
}

}  // namespace screens
