// "Definición de Tarifas de Hospedaje" in season mode (DEF_PREC): with a rate type
// ("Tarifario:") and an agency key ("Agencias:", "Tarifa General" first) chosen, choosing a
// sub-season in the tree of seasons makes the missing TIP_PREC record of each room type of the
// business unit for that season and sub-season and shows them in the price grid.
#pragma once

#include <memory>
#include <string>

#include "rates/precios.h"
#include "win/controls.h"

namespace rates {

class DEF_PREC : public PRECIOS {
 public:
  DEF_PREC(const std::string& dialog, const std::string& negocio);
  void INIT() override;

 protected:
  void BOTONES() override;

 private:
  void ELIGE(win::TreeNode node);
  std::unique_ptr<win::TREEVIEW> TREE;
};

}  // namespace rates
