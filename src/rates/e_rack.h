// The rate-type editor (dialog E_RACK, tab pages E_RACK4 "Adultos" and E_RACK5 "Niños") over
// the RACK screen: the header's fields and the eight breakdown grids (DESGLOSE), written
// back together on "Aceptar". A changed code is carried into every table that names the
// rate type (RATE_TYPE_REFERENCES). "Desgloses Especiales" opens the specials (RACK2).
#pragma once

#include <string>

#include "rates/desglose.h"
#include "screens/editor.h"

namespace rates {

class E_RACK : public screens::EDITOR {
 public:
  E_RACK(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
  void CerrarBases() override;

 private:
  void ESPECIALES();
  DESGLOSE desglose_;
};

}  // namespace rates
