// "Apertura/Cierre de Cajas de Recepción" (dialog DLG_HCAJAS2): the front-desk registers of
// the business unit with their state, and what an operator does with them at this station:
// open one ("Abrir Caja", dialog ABRE_HCAJA), attach to one already open ("Re-Abrir Caja"),
// print its preliminary closing ("Imprimir"), close it ("Cerrar Caja", dialog PASS_HCAJA;
// a register closed with a cash count goes on in HCAJAS4) and count it in the middle of the
// period ("Arqueo de Caja Adicional", HCAJAS5). Every refusal is a message and writes
// nothing; the operator's and the register's passwords are asked each time.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace frontcash {

class HCAJAS2 : public screens::LIST_SCREEN {
 public:
  HCAJAS2(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void ABRIR_CAJA();
  void REABRIR_CAJA();
  void IMPRIMIR();
  void CERRAR_CAJA();
  void ARQUEO_ADICIONAL();

  // The grid, the register in use and the buttons as they stand now; also each time the
  // screen becomes active again (after a count screen over it closed).
  void REFRESCA_ESTADO();
  void SHOW_MENU() override;

 protected:
  void BOTONES() override;
  void MontarColumnas() override;

 private:
  // The operator chosen and the passwords checked in `dialogName` (ABRE_HCAJA or PASS_HCAJA):
  // the operator's code and name, or false when the user cancelled.
  struct Operator {
    std::string code, name;
  };
  bool PIDE_CLAVES(const std::string& dialogName, const std::string& title, bool closersOnly, bool preselect,
                   Operator& chosen);
  // Station check: false (after telling the user) when this workstation may not operate it.
  bool ESTACION_AUTORIZADA(const std::string& caja);
  void ATTACH(const Operator& op);
  bool ready_ = false;
};

}  // namespace frontcash
