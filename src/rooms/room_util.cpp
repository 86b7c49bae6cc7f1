#include "rooms/room_util.h"

#include <cctype>

#include "lib/messages.h"
#include "lib/program_time.h"
#include "lib/use.h"
#include "win/message_box.h"

namespace rooms {

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string pad(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

size_t widthOf(const lib::WDBTable& table, const std::string& field) {
  int pos = table.FieldPos(field);
  return pos > 0 ? size_t(table.driver().field(pos - 1).length) : 0;
}

std::string keyPart(const lib::WDBTable& table, const std::string& field, const std::string& value) {
  return pad(value, widthOf(table, field));
}

int32_t CIERRE_DIA(const std::string& negocio) {
  if (lib::IS_FILE(nullptr, "F_HOTEL")) {
    auto hotel = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
    if (hotel->Seek(keyPart(*hotel, "NEGOCIO", negocio)) && hotel->D("CIERRE_DIA") != 0) return hotel->D("CIERRE_DIA");
  }
  return lib::XDATE();
}

std::string ESTADO_LIBRE(const std::string& negocio) {
  std::string state;
  if (lib::IS_FILE(nullptr, "F_HOTEL")) {
    auto hotel = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
    if (hotel->Seek(keyPart(*hotel, "NEGOCIO", negocio))) state = hotel->S("LIBRE");
  }
  return state;
}

void error(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "Error", lib::MB_OK | lib::MB_ICONERROR);
}

bool confirm(const std::string& text) {
  return win::MESSAGE_BOX(nullptr, text, "Advertencia", lib::MB_OKCANCEL | lib::MB_ICONQUESTION) == lib::IDOK;
}

void notice(const std::string& text, const std::string& title) {
  win::MESSAGE_BOX(nullptr, text, title, lib::MB_OK | lib::MB_ICONINFORMATION);
}

std::string cascadeQuestion(const std::string& question) {
  return question + "\rSe borrarán todas las referencias en las habitaciones.";
}

}  // namespace rooms
