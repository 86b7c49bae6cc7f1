// "Tipos de Impuestos" (menu 3062): the tax types of the business unit, each a percentage
// posted under a transaction code of its own. Its editor is E_IMPUES (dialog
// AGREGAR_TIPO_IMP). A changed code is carried into the codes' tax links; a deleted tax type
// takes its links and the extras that charge it with it.
#pragma once

#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace cashier {

class TIPO_IMP : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3062;
  TIPO_IMP(const std::string& dialog, const std::string& negocio);

  void ADD_TIPO_IMP();
  void MOD_TIPO_IMP();
  void DEL_TIPO_IMP();

 protected:
  void DOBLE_CLICK() override { MOD_TIPO_IMP(); }
};

class E_IMPUES : public screens::EDITOR {
 public:
  E_IMPUES(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  bool VALIDA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
};

}  // namespace cashier
