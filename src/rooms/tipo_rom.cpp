#include "rooms/tipo_rom.h"

#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/hotel_day.h"
#include "rooms/recodifica_res.h"
#include "rooms/room_counters.h"
#include "rooms/tipo_ro2.h"
#include "screens/messages.h"
#include "screens/recode.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

const screens::RecodeStep kAvailabilityOfType{"STAT_TIP", "TIPO_ROM", "STAT_TIP"};

}  // namespace

std::vector<std::string> ROOMS_DEL_TIPO(const std::string& negocio, const std::string& tipo) {
  std::vector<std::string> codes;
  lib::EACH_RECORD("ROOMS", "ROOMS2", lib::businessKey(negocio) + lib::padded(tipo, kCodeWidth),
                   [&](const lib::WDBTable& room) { codes.push_back(room.S("CODIGO")); });
  return codes;
}

// Widths from the pictures, widened so that the headings show whole.
TIPO_ROM::TIPO_ROM(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"TIPO_ROM",
                   "TIPO_ROM",
                   kMenuId,
                   {{"Código", "CODIGO", "!!!!", 0, 16},
                    {"Descripción", "DESCRIP", std::string(40, '!')},
                    {"Clase", "CLASE", "!!!!", 0, 8},
                    {"Cant x Room", "CANTIDAD", "9999", 2, 44},
                    {"Cant Adulto", "CANT_ADULT", "9999", 2, 40},
                    {"Cant Niños", "CANT_NINHO", "9999", 2, 36}}}) {}

void TIPO_ROM::ADD_TIPO_ROM() {
  screens::OPEN<TIPO_RO2>(this, NEGOCIO, TIPO_RO2::kAdd);
}

void TIPO_ROM::MOD_TIPO_ROM() {
  if (hasRecord()) screens::OPEN<TIPO_RO2>(this, NEGOCIO, TIPO_RO2::kModify);
}

// The type goes; its rooms stay, without type and class, so its class (and the class's
// availability rows) lose them; the type's own availability rows are deleted.
void TIPO_ROM::DEL_TIPO_ROM() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  lib::WDBTable& t = *TABLA;
  const uint32_t deleting = t.RecNo();
  const std::string tipo = t.S("CODIGO"), clase = t.S("CLASE");
  BORRA_REGISTRO(screens::cascadeQuestion("Desea borrar el Tipo de la Habitación?"), [&](win::WAIT& wait) {
    const int32_t desde = CIERRE_DIA(NEGOCIO);
    for (const std::string& room : ROOMS_DEL_TIPO(NEGOCIO, tipo)) CLASE_TAB_RESE(NEGOCIO, room, "", desde);
    QUITA_TIPO_A_ROOMS(NEGOCIO, tipo);
    t.GoTo(deleting);
    const double cantidad = t.N("CANTIDAD");
    SUMA_CLASE(NEGOCIO, clase, -cantidad);
    SUMA_DISPONIBLE_CLASE(NEGOCIO, clase, desde, -cantidad);
    wait.PUT_TEXT("", "", "Eliminando referencias en STAT_TIP...");
    screens::BORRA_REFERENCIAS(kAvailabilityOfType, NEGOCIO, tipo);
  });
}

void TIPO_ROM::RECODIFICA_RES() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  rooms::RECODIFICA_RES process(this, NEGOCIO, TABLA->S("CODIGO"));
  process.run();
}

}  // namespace rooms
