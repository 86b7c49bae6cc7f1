#include "guests/b_huesp2.h"

#include "lib/text.h"

namespace guests {

B_HUESP2::B_HUESP2(screens::SCREEN* list, const std::string& negocio, const std::string& document,
                   const std::string& name)
    : LIST_SCREEN("B_HUESP2", negocio,
                  {"H_RES2",
                   "H_RES2",
                   0,
                   {{"Llegada", "F_INICIO", ""},
                    {"Salida", "F_FINAL", ""},
                    {"Reserva", "COD_RES", std::string(10, 'X')},
                    {"Habitación", "COD_ROOMS", std::string(8, 'X'), 0, 8},
                    {"Adultos", "N_ADULT", "999", 2, 8},
                    {"Niños", "N_NINHO", "999", 2},
                    {"Tarifa", "P_ADULT_R", "999,999,999.99", 2},
                    {"Nombre", "NOMBRE_C", std::string(30, 'X')},
                    {"Origen", "NEGOCIO_O", "XX", 0, 8}},
                   true}),
      list_(list),
      document_(document),
      name_(name) {}

void B_HUESP2::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  SetCaption("Historial de Reservas: " + name_);
  EDITOR_OF(list_);
}

void B_HUESP2::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "H_RES2"}}, 1, lib::businessKey(NEGOCIO) + TABLA->KeyPart("CEDULA", document_));
}

}  // namespace guests
