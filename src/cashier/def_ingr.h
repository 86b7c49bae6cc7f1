// "Grupos de Ingresos" (menu 5577, dialog DEF_INGR "Definición de Grupos de Ingresos"): the
// income groups of the business unit (ENC_INGR, grid 700, edited with ED_CONJ), and for the
// group under the cursor its members (DET_INGR): billing concepts ("Conceptos de
// Facturación", moved into "Detalle:" with "-->" and out with "<--") and transaction codes
// ("Cargos:", marked and unmarked with a double click, Enter or the space bar). Every change is written at
// once.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "screens/list_screen.h"
#include "win/controls.h"

namespace cashier {

class DEF_INGR : public screens::LIST_SCREEN {
 public:
  DEF_INGR(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void AGREGAR();
  void MODIFICAR();
  void BORRAR();
  void INCLUYE_CONCEPTO();
  void EXCLUYE_CONCEPTO();
  void MARCA_CARGO();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void CerrarBases() override;
  void DOBLE_CLICK() override { MODIFICAR(); }

 private:
  void EDITA(bool adding);
  // The members of the group under the cursor into "Detalle:" and the marks of "Cargos:".
  void MIEMBROS();
  std::string GRUPO() const;

  lib::WDBTable* CARGOS_ = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB2;  // the transaction codes
  std::set<std::string> marked_;        // codes of the group under the cursor
};

}  // namespace cashier
