// "Cálculo de Disponibilidad" (menu 3068): recalculates the availability statistics from
// the reservations, "A partir de:" a date (the hotel's closing day unless given). The fast
// recalculation ("Actualizar Speed", ACTUAL_NEW) counts the nightly reservation rows; the
// full rebuild ("&Actualizar", ACTUALIZA) expands every stay night by night over the range
// from the closing day less 100 days to the last generated date, with the main window
// disabled meanwhile. Both run under the progress window; its Cancel stops them between
// two rows, and a new run from the same date repairs what was left.
#pragma once

#include <cstdint>
#include <string>

#include "rooms/availability_runs.h"
#include "screens/screen.h"

namespace rooms {

class STAT_TIP : public screens::SCREEN {
 public:
  STAT_TIP(const std::string& dialog, const std::string& negocio, int32_t start = 0)
      : SCREEN(dialog, negocio), start_(start) {}
  void INIT() override;

  void ACTUALIZA();
  void ACTUAL_NEW();

  RunResult lastRun;  // what the last recalculation did

 private:
  int32_t start_;  // "A partir de:" when opened by another screen
};

}  // namespace rooms
