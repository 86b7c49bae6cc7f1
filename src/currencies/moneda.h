// "Definición de Monedas" (menu 2783): the currencies of the business unit, and their editor
// MODIMONEDA. Deleting a currency deletes its record only: its pairs and rates stay.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace currencies {

class MONEDA : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 2783;
  MONEDA(const std::string& dialog, const std::string& negocio);

  void ADD_MONEDAS();
  void MOD_MONEDAS();
  void DEL_MONEDAS();

 protected:
  void DOBLE_CLICK() override { MOD_MONEDAS(); }
};

}  // namespace currencies
