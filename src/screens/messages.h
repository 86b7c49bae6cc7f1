// The message boxes of the screens, by kind: the title word and the icon tell the user
// what the message is ("Error", "Advertencia", "Aviso", "Atención").
#pragma once

#include <string>

namespace screens {

// A refused entry or a failed step: "Error", error icon.
void error(const std::string& text);
// A question before a change: "Advertencia", OK/Cancel, question icon; true only on OK.
bool confirm(const std::string& text);
// A completion notice: information icon, "Aviso" unless another title is given.
void notice(const std::string& text, const std::string& title = "Aviso");
// A caution that needs no answer: "Atención", exclamation icon.
void caution(const std::string& text);

// The notice of a screen this version does not have (a menu or "Editar" entry that names
// it): "La pantalla CLASE ("caption") no está disponible en esta versión del programa.".
void NO_DISPONIBLE(const std::string& screenClass, const std::string& caption);

// The question of a delete that cascades into other tables, with its second line.
std::string cascadeQuestion(const std::string& question);

}  // namespace screens
