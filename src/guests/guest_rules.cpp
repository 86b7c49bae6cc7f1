#include "guests/guest_rules.h"

#include "lib/program_time.h"
#include "lib/text.h"

namespace guests {

int VALID_MAIL(const std::string& email) {
  const std::string trimmed = lib::trim(email);
  return trimmed.find('@') != std::string::npos && trimmed.size() > 4 ? 1 : 0;
}

std::string NOMBRE_C(const std::string& name, const std::string& surname) {
  return lib::trim(surname) + " " + lib::trim(name);
}

int32_t F_NACE(int day, int month, int year) {
  if (day <= 0 || month <= 0 || year <= 0) return 0;
  return lib::CTOD(std::to_string(day) + "/" + std::to_string(month) + "/" + std::to_string(year));
}

std::string FILE_NAME_PROBLEM(const std::string& typed) {
  const std::string name = "EH" + lib::rtrim(typed);
  const std::string prefix = "Nombre de Archivo inválido: ";
  if (name.find('?') != std::string::npos) return prefix + "Contiene ?";
  if (name.find(' ') != std::string::npos) return prefix + "Contiene espacios";
  if (name.find('\\') != std::string::npos) return prefix + "Contiene \\";
  if (name.find('/') != std::string::npos) return prefix + "Contiene /";
  if (name.find('.') != std::string::npos) return prefix + "Contiene .";
  // Not named by the refusals above, but no table could be made of them.
  if (name.size() == 2) return "Debe indicar el nombre del archivo";
  if (name.size() > 8) return prefix + "Más de 6 caracteres";
  for (unsigned char c : name)
    if (c < 32 || c == ':' || c == '*' || c == '"' || c == '<' || c == '>' || c == '|' || c > 126)
      return prefix + "Contiene caracteres no permitidos";
  return "";
}

std::string EXPORT_MAIL_PROBLEM(const std::string& email) {
  const std::string trimmed = lib::trim(email);
  if (trimmed.find('@') == std::string::npos) return "email inválido: falta @";
  if (trimmed.size() <= 4) return "email inválido";
  return "";
}

}  // namespace guests
