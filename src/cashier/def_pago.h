// "Definición de Formas de Pagos" (menu 3079): the payment forms of the business unit, what
// the cashier picks when a guest pays: the transaction code each posts under and what the
// cashiering programs capture with it. Its editor is DEF_PAG2 (dialog ADD_T_PAGO).
#pragma once

#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace cashier {

class DEF_PAGO : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3079;
  DEF_PAGO(const std::string& dialog, const std::string& negocio);

  void ADD_T_PAGO();
  void MOD_T_PAGO();
  void DEL_T_PAGO();

 protected:
  void DOBLE_CLICK() override { MOD_T_PAGO(); }
};

class DEF_PAG2 : public screens::EDITOR {
 public:
  DEF_PAG2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  void VALIDAR_CHANGED();
  void MINIMO(lib::WDBTable& t) const;
  bool filtered_ = false;
};

}  // namespace cashier
