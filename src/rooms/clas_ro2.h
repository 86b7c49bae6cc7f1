// The room class editor (dialog AGREGAR_CLAS_ROM) over the CLAS_ROM screen. A changed code
// is carried into the rooms, types and availability rows of the class (CLASS_REFERENCES);
// the class's occupancy ceiling goes into its class-total availability rows from the
// closing day on.
#pragma once

#include <string>

#include "screens/editor.h"

namespace rooms {

class CLAS_RO2 : public screens::EDITOR {
 public:
  CLAS_RO2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  void COMBINAR_CHANGED();
};

}  // namespace rooms
