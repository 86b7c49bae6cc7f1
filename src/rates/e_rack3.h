// "Edición de Tipo de Tarifa Especial" (dialog E_RACK3, tab pages E_RACK7 and E_RACK8) over
// RACK2: the special's code and description, the room types it applies to (ENC_RAC2.TIPOS:
// "*" + each trimmed code + "*", a lone "*" for none) and its eight breakdown grids, written
// back on "&Aceptar". A renamed special takes its stored components along.
#pragma once

#include <string>

#include "rates/desglose.h"
#include "screens/editor.h"

namespace rates {

class RACK2;

// The TIPOS text of a list of room-type codes, and whether a room type is in one.
std::string TIPOS_APLICABLES(const std::vector<std::string>& codes);
bool APLICA_TIPO(const std::string& tipos, const std::string& code);

class E_RACK3 : public screens::EDITOR {
 public:
  E_RACK3(RACK2* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
  void CerrarBases() override;

 private:
  std::string TIPOS() const;
  const std::string RACK;
  DESGLOSE desglose_;
};

}  // namespace rates
