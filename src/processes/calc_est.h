// "Actualizar Source of Business" (menu 4345, dialog CALC_EST "Construir Tablas
// Estadísticas "): "Procesar" (1) rebuilds the source-of-business tables from all the data,
// "Procesar" of "Procesar solo Periodo" (201) from month 501 of year 502 to month 503 of year
// 504 (source_of_business.h). Each run ends with "Fin de Proceso" and closes the screen; a
// period that is no period ("Periodo no válido") and a run the user stopped ("Proceso
// cancelado por el usuario.") keep it open.
#pragma once

#include <string>

#include "processes/source_of_business.h"
#include "screens/screen.h"

namespace processes {

class CALC_EST : public screens::SCREEN {
 public:
  CALC_EST(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;

  void PROCESAR_TODO();
  void PROCESAR_PERIODO();

  SourceResult lastRun;

 private:
  void PROCESAR(const std::optional<MonthRange>& period);
};

}  // namespace processes
