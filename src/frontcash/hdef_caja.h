// "Autorización Cajas x Estación" (menu 3714, dialog HDEF_CAJA): which of the business
// unit's registers this workstation may operate (section HDEF_CAJA of its SALTMERE.INI,
// key business unit + register code, "1" or "0"), and the business unit's switch that
// enforces it (CHECK_CAJA of F_HOTEL3). "Salir" saves.
#pragma once

#include <string>

#include "screens/screen.h"

namespace frontcash {

inline constexpr const char* kAuthorisationSection = "HDEF_CAJA";

// This workstation may operate the register: the switch is off, or its key says "1".
bool CAJA_AUTORIZADA(const std::string& negocio, const std::string& caja);

class HDEF_CAJA : public screens::SCREEN {
 public:
  HDEF_CAJA(const std::string& dialog, const std::string& negocio);
  void INIT() override;

 private:
  void SALIR();
};

}  // namespace frontcash
