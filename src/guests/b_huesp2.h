// The reservation history of one guest (B_HUESP2, from button 201 of "Lista de Huéspedes"):
// the guest's rows of H_RES2 in the business unit, by arrival date, read only.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace guests {

class B_HUESP2 : public screens::LIST_SCREEN {
 public:
  B_HUESP2(screens::SCREEN* list, const std::string& negocio, const std::string& document, const std::string& name);
  void INIT() override;

 protected:
  void ConfigBrow() override;

 private:
  screens::SCREEN* list_;
  std::string document_, name_;
};

}  // namespace guests
