// The agency editor (EDIT_AGENCIA, dialog AGREGAR_AGENCIA "Edición de Agencia") over the
// AGENCIAS screen: every field of the agency, its sellers, the rate racks it may use, its
// regular commission schedule and its commission exceptions (on a working copy until the
// agency is saved). A changed code is carried into the reservations, allotments, special
// prices, statistics rows and the agency's own rows (AGENCY_REFERENCES).
#pragma once

#include <string>

#include "agencies/commission_schedule.h"
#include "screens/editor.h"

namespace agencies {

class EDIT_AGENCIA : public screens::EDITOR {
 public:
  EDIT_AGENCIA(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

  void COMISIONES();   // "Comisiones Regulares"
  void EXCEPCIONES();  // "Excepciones Comisiones"
  void ADD_VENDEDOR();
  void DEL_VENDEDOR();

 protected:
  void AbrirBases() override;
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  void LOAD_SUCURSALES();
  void showLodging();
  void GRABA_RELACIONES(const std::string& code);
  void writeAll();

  CommissionSchedule schedule_;
  lib::WDBTable* WORK = nullptr;  // the working copy of the exceptions
};

// The individual commission rows of an agency: one per season and sub-season of the
// business unit, appended where missing.
void FILAS_COMISION(const std::string& negocio, const std::string& agency);

}  // namespace agencies
