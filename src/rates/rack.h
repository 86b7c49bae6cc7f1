// "Definición de Tipos de Tarifa" (menu 3075): the rate types of the business unit. Its
// editor is E_RACK. Deleting a rate type deletes its breakdowns (percentage and fixed
// components, special breakdowns) and its prices; "Duplicar" copies the header and every
// percentage component (the specials' too) under a new code.
#pragma once

#include <string>
#include <vector>

#include "screens/list_screen.h"
#include "screens/recode.h"

namespace rates {

// The tables that name a rate type, carried along when its code changes.
const std::vector<screens::RecodeStep>& RATE_TYPE_REFERENCES();

class RACK : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3075;
  // "Duplicar" carries no right of its own: an id outside the rights range (never restricted).
  static constexpr int kDuplicateId = 9075;
  RACK(const std::string& dialog, const std::string& negocio);

  void ADD_RACK();
  void MOD_RACK();
  void DEL_RACK();
  void DUP_RACK();

 protected:
  void DOBLE_CLICK() override { MOD_RACK(); }
};

}  // namespace rates
