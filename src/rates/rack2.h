// "Desgloses Especiales Definidos" (RACK2, dialog E_RACK_ESP): the special breakdowns of one rate type, opened
// from its editor (which takes no input meanwhile). Agregar, Modificar and Detalle open the
// special's editor E_RACK3; Borrar deletes the special with its components; Duplicar copies
// the header and its percentage components under a new code.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace rates {

class RACK2 : public screens::LIST_SCREEN {
 public:
  RACK2(win::WDIAG* editor, const std::string& negocio, const std::string& rack);
  void INIT() override;

  void ADD_RACK2();
  void MOD_RACK2();
  void DEL_RACK2();
  void DUP_RACK2();

  const std::string RACK;  // the rate type's code

 protected:
  void BOTONES() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MOD_RACK2(); }

 private:
  win::WDIAG* const editor_;
};

}  // namespace rates
