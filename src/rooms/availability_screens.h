// The screens of the reservation table and the availability statistics: "Generar Tabla de
// Reservaciones" (TAB_GENE), "Cálculo de Disponibilidad" (STAT_TIP), "Tabla Habitaciones
// Reservadas" (TAB_RESE) and "Sincronizar Web-Interface" (ACT_STIP).
#pragma once

#include <cstdint>
#include <string>

#include "rooms/availability_runs.h"

namespace win {
class WAIT;
class WDIAG;
}  // namespace win

namespace rooms {

// Registers the four screens and the "Editar" menu of the reservation table.
void registerAvailabilityScreens();

// A run's progress on a progress window: its texts go to the window, and the window's
// Cancel stops the run.
class WaitProgress : public Progress {
 public:
  explicit WaitProgress(win::WAIT& wait) : wait_(wait) {}
  void PUT_TEXT(const std::string& headline, const std::string& line1 = "", const std::string& line2 = "",
                const std::string& line3 = "", bool pump = true) override;
  bool CANPRINT() override;
  void SET_TOTAL(uint64_t total) override;
  void ADVANCE(uint64_t rows = 1) override;

 private:
  win::WAIT& wait_;
};

// The date typed in edit `id`, read from its first 8 characters ("dd/mm/yy"); 0 when it is
// empty or no date.
int32_t dateOfEdit(const win::WDIAG& screen, int id);

}  // namespace rooms
