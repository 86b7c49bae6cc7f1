#include "rooms/hotel_day.h"

#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"

namespace rooms {

int32_t CIERRE_DIA(const std::string& negocio) {
  if (lib::IS_FILE(nullptr, "F_HOTEL")) {
    auto hotel = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
    if (hotel->Seek(hotel->KeyPart("NEGOCIO", negocio)) && hotel->D("CIERRE_DIA") != 0) return hotel->D("CIERRE_DIA");
  }
  return lib::XDATE();
}

std::string ESTADO_LIBRE(const std::string& negocio) {
  std::string state;
  if (lib::IS_FILE(nullptr, "F_HOTEL")) {
    auto hotel = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
    if (hotel->Seek(hotel->KeyPart("NEGOCIO", negocio))) state = hotel->S("LIBRE");
  }
  return state;
}

}  // namespace rooms
