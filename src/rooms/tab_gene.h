// "Generar Tabla de Reservaciones" (menu 3119): creates the reservation-table rows and the
// availability rows of a date range, then runs the fast recalculation from its first date.
// Rows already there are never changed (the availability rows only get their totals), so
// running it again over a generated range only fills gaps.
#pragma once

#include <string>

#include "rooms/availability_runs.h"
#include "screens/screen.h"

namespace rooms {

class TAB_GENE : public screens::SCREEN {
 public:
  TAB_GENE(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;

  // "Aceptar": checks the dates, generates, recalculates and closes the screen; a refused
  // date or a cancelled run leaves it open.
  void PROCESAR();

  RunResult lastRun;  // what the last generation did
};

}  // namespace rooms
