// "Congruencia de Datos" (menu 4344, dialog CONGRUEN): the congruence check of the business
// unit (congruence.h) with its findings in the grid — "Encontrar Errores" reports only,
// "Corregir Errores" repairs as it goes under the progress window, whose Cancel stops the
// run keeping what was repaired. "Diario de Reparaciones" shows what each run repaired and
// undoes a chosen run ("Deshacer Reparaciones").
#pragma once

#include <memory>
#include <string>

#include "processes/congruence.h"
#include "screens/screen.h"
#include "win/browse.h"

namespace processes {

class CONGRUEN : public screens::SCREEN, public win::ADD2BROWSE {
 public:
  CONGRUEN(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;

  void ENCONTRAR() { REVISAR(false); }
  void CORREGIR() { REVISAR(true); }
  void DIARIO();

  CongruenceResult lastRun;

 protected:
  void CerrarBases() override;

 private:
  void REVISAR(bool repair);
  void MOSTRAR(const CongruenceResult& result);

  lib::WDBTable* TABLA = nullptr;  // the findings (CONGRUEN, per workstation)
  std::unique_ptr<win::WBLISTBOX> OB;
};

}  // namespace processes
