// "Tabla Habitaciones Reservadas" (menu 3115): the reservation table of the business unit,
// one row per room and night, with the state's description beside its code. Rows are added
// and changed in the modal dialog AGREGAR_TAB_RESE (room, night and reservation) and
// deleted one by one; nothing else follows a change here (the recalculations of STAT_TIP
// bring the statistics in line).
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace win {
class WDIAG;
}

namespace rooms {

class TAB_RESE : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3115;
  TAB_RESE(const std::string& dialog, const std::string& negocio);

  void ADD_TAB_RESE();
  void MOD_TAB_RESE();
  void DEL_TAB_RESE();

 protected:
  void AbrirBases() override;
  void ConfigBrow() override;

 private:
  enum class Mode { Add, Modify };
  void EDITAR(Mode mode);
  bool SAVE_DATOS(win::WDIAG& dialog, Mode mode);

  // The room states the grid shows and the rooms the editor checks.
  lib::WDBTable* T_EST_HA = nullptr;
  lib::WDBTable* ROOMS = nullptr;
};

}  // namespace rooms
