// The rate editor (dialog MODIT_CAMBIO) over the exchange-rate screen: a new dated rate of
// the pair chosen in the tree, or the rate under the grid's cursor (which keeps its pair),
// its five slots, and who saved it. The first slot may not be zero;
// the date must be one (a rate without its first day would never apply).
#pragma once

#include <string>

#include "currencies/t_cambio.h"
#include "screens/editor.h"

namespace currencies {

class MODIT_CAMBIO : public screens::EDITOR {
 public:
  MODIT_CAMBIO(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode, const RELACION& pair);

 protected:
  void BIND() override;
  void CARGAR() override;
  bool VALIDA(const std::string& date) override;
  bool AGREGA(const std::string& date) override;
  bool MODIFICA(const std::string& date) override;

 private:
  // The pair of a new rate, the far limit and who saves, besides the bound fields.
  void GRABA();
  const RELACION pair_;
};

}  // namespace currencies
