// The screens of "Definición de Tarifas" (menu 3168): the prices of one business unit kept by
// dated rate period (DEF_PRE2) or by season (DEF_PREC), as its pricing mode says (E_PREC opens
// the right one). Both share the "Editar" entries "Explicar Precio..." and "Noches sin
// Tarifa...", and the price grid (700) of TIP_PREC records, one row per room type: "N/A",
// "Código", "Descripción" and, by the rate type's CALCULO, the four per-guest prices or the
// prices for 1 to 10 adults and children, edited in place (a letter, a digit or Enter on a
// price opens the cell; the cursor then moves right, and after the last per-guest price one
// row down to the third column). Enter on the "N/A" column toggles NO_APLICA.
#pragma once

#include <functional>
#include <string>

#include "screens/list_screen.h"

namespace rates {

class PRECIOS : public screens::LIST_SCREEN, public win::EDITCELL {
 public:
  static constexpr int kMenuId = 3168;
  // Entries outside the rights range: the checks read and never change anything.
  static constexpr int kExplainId = 9168, kCheckId = 9169;

  void EXPLICAR_PRECIO();
  void NOCHES_SIN_TARIFA();

 protected:
  PRECIOS(const std::string& dialog, const std::string& negocio, const std::string& tag, int menuId = kMenuId);

  void ConfigBrow() override;
  void CerrarBases() override;
  // The price columns of rate type `rack` (by guest, or by persons).
  void COLUMNAS(const std::string& rack);
  // Shows the records whose key begins with `scope` ("" shows none).
  void MUESTRA(const std::string& scope);
  // A price cell was changed (the screen regenerates what depends on it).
  virtual void CAMBIO_PRECIO() {}
  std::string rack_;  // the rate type chosen

 private:
  bool TECLA(win::WBLISTBOX& grid, int qtKey, const std::string& text);
  void TOGGLE_NA();
  bool porPersonas_ = false;
};

}  // namespace rates
