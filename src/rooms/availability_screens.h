// What the screens of the reservation table and the availability statistics share
// ("Generar Tabla de Reservaciones" TAB_GENE, "Cálculo de Disponibilidad" STAT_TIP, "Tabla
// Habitaciones Reservadas" TAB_RESE, "Sincronizar Web-Interface" ACT_STIP): a run's progress
// on the progress window, and the dates typed into their edits.
#pragma once

#include <cstdint>
#include <string>

#include "rooms/availability_runs.h"

namespace win {
class WAIT;
class WDIAG;
}  // namespace win

namespace rooms {

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

// The date typed in edit `id` ("dd/mm/yy" or "dd/mm/yyyy", lib::readDate); 0 when it is empty
// or unreadable, which the screens refuse alike.
int32_t dateOfEdit(const win::WDIAG& screen, int id);

}  // namespace rooms
