// "Buscar Duplicados..." of "Lista de Huéspedes" (DUP_HUESP): the pairs of guests of the
// business unit that may be the same person (guest_duplicates.h), with the reason each was
// found, on a working table (TMP_DUPH) shown by name. Read only; the grid's "Exportar a
// Excel" writes the list.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace guests {

class DUP_HUESP : public screens::LIST_SCREEN {
 public:
  explicit DUP_HUESP(const std::string& negocio);
  void INIT() override;

 protected:
  void AbrirBases() override;
  void ConfigBrow() override;
};

}  // namespace guests
