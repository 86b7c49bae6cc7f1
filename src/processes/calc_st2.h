// "Actualizar Reporte Corporativo" (menu 4346, dialog CALC_ST2 "Recalculo de StatTip2"): "OK"
// (1) rebuilds the corporate-report tables from the first day of month "Mes" (501) of year
// "Año :" (502) up to the day before the closing day (corporate_report.h), tells "Fin de
// Proceso" and closes the screen; "Cancelar" (2) closes it. The fields open on the month of
// the closing day. A month or year that is none, or a start after the closing day, is
// refused with its message and the screen stays open; so does a run the user stopped.
#pragma once

#include <string>

#include "processes/corporate_report.h"
#include "screens/screen.h"

namespace processes {

class CALC_ST2 : public screens::SCREEN {
 public:
  CALC_ST2(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;

  void PROCESAR();

  CorporateResult lastRun;
};

}  // namespace processes
