// "Definición Cajas Recepción" (menu 3021, dialog DLG_HCAJAS): the front-desk registers of
// the business unit with, under the one highlighted, its recorded periods (the closing
// history). Registers are defined in AGREGAR_HCAJAS; periods can be entered and corrected
// by hand (AGREGAR_HDET), a closing reprinted, its balances corrected (HCAJAS3) and the
// register's additional counts looked at (HCAJAS6).
#pragma once

#include <memory>
#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace frontcash {

class HCAJAS : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3021;
  // `history`: the closing history alone ("Cierre de Cajas Histórico"), without the menu.
  HCAJAS(const std::string& dialog, const std::string& negocio, bool history = false);
  void INIT() override;

  void ADD_Caja();
  void MOD_Caja();
  void DEL_Caja();
  void ADD_DETALLE();
  void MOD_DETALLE();
  void DEL_DETALLE();
  void MOD_SALDO();
  void PRINT_MOVS();
  void IMPRIMIR_CIERRE();
  void ARQUEOS();

  lib::WDBTable* DET_HCAJ = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB2;  // the highlighted register's periods (701)

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void CerrarBases() override;
  void DOBLE_CLICK() override { MOD_Caja(); }

 private:
  // Grid 701 on the periods of the register under the cursor of 700.
  void PERIODOS();
  bool hasPeriod() const;
  void DETALLE(bool adding);
  const bool history_;
};

class AGREGAR_HCAJAS : public screens::EDITOR {
 public:
  AGREGAR_HCAJAS(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  bool VALIDA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
};

}  // namespace frontcash
