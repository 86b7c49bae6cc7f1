// The room type editor (dialog AGREGAR_TIPO_ROM) over the TIPO_ROM screen. A new type gets
// its availability rows from the closing day; a changed code is carried into every table
// that names the type (TYPE_REFERENCES); a changed class moves the type's rooms from one
// class to the other. In both modes the type's occupancy ceiling goes into its availability
// rows and its rooms take its class.
#pragma once

#include <string>

#include "screens/editor.h"

namespace rooms {

class TIPO_RO2 : public screens::EDITOR {
 public:
  TIPO_RO2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
};

}  // namespace rooms
