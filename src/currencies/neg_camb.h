// "Definición de Revisión de Tipos de Cambio" (menu 2905): how far back the business unit's
// rates may date before the stale-rate check asks for new ones — a range in days or in
// months (NEGOCIOS.CHECK_MON, CANT_MON; a range of 0 switches the check off).
#pragma once

#include <string>

#include "screens/form.h"
#include "screens/screen.h"

namespace currencies {

class NEG_CAMB : public screens::SCREEN {
 public:
  enum Rango { kDias = 201, kMeses = 202 };
  NEG_CAMB(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;
  void PROCESAR();

 private:
  lib::WDBTable* NEGOCIOS = nullptr;
  screens::FORM FORM_{*this};
};

}  // namespace currencies
