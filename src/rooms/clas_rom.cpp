#include "rooms/clas_rom.h"

#include "lib/text.h"
#include "rooms/clas_ro2.h"
#include "rooms/room_references.h"
#include "screens/messages.h"

namespace rooms {

CLAS_ROM::CLAS_ROM(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"CLAS_ROM",
                   "CLAS_ROM",
                   kMenuId,
                   {{"Código", "CODIGO", "!!!!", 0, 16},
                    {"Descripción", "DESCRIP", std::string(40, '!')},
                    {"Cantidad", "CANTIDAD", "999999", 1, 12}}}) {}

void CLAS_ROM::ADD_CLAS_ROM() {
  screens::OPEN<CLAS_RO2>(this, NEGOCIO, CLAS_RO2::kAdd);
}

void CLAS_ROM::MOD_CLAS_ROM() {
  if (hasRecord()) screens::OPEN<CLAS_RO2>(this, NEGOCIO, CLAS_RO2::kModify);
}

// The class goes; its rooms and types stay, without class, and its availability rows go.
void CLAS_ROM::DEL_CLAS_ROM() {
  CALL_LEVEL();
  screens::CascadeReport report;
  const std::string clase = hasRecord() ? lib::trim(TABLA->S("CODIGO")) : "";
  if (BORRA_REGISTRO(screens::cascadeQuestion("Desea borrar el Tipo de la Habitación?"),
                     [&](win::WAIT& wait) { report = screens::BORRA_CODIGO(CLASS_LEAVES(), NEGOCIO, clase, &wait); }))
    screens::AVISA_FALTANTES(report);
}

}  // namespace rooms
