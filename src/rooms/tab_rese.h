// "Tabla Habitaciones Reservadas" (menu 3115): the reservation table of the business unit,
// one row per room and night, with the state's description beside its code. Rows are added
// and changed in the modal dialog AGREGAR_TAB_RESE (room, night and reservation) and
// deleted one by one; nothing else follows a change here (the recalculations of STAT_TIP
// bring the statistics in line).
#pragma once

#include <memory>
#include <string>

#include "lib/wdbtable.h"
#include "win/browse.h"
#include "win/wdiag.h"

namespace win {
class ModalDialog;
}

namespace rooms {

class TAB_RESE : public win::WDIAG, public win::ADD2BROWSE {
 public:
  static constexpr int kMenuId = 3115;
  enum Mode { kAdd = 0, kModify = 1 };

  TAB_RESE(const std::string& dialog, const std::string& negocio);

  void ADD_TAB_RESE();
  void MOD_TAB_RESE();
  void DEL_TAB_RESE();

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }

  // The reservation table (a member cannot bear its class's name), the room states the
  // grid shows and the rooms the editor checks.
  std::unique_ptr<lib::WDBTable> TABLA, T_EST_HA, ROOMS;
  std::unique_ptr<win::WBLISTBOX> OB;

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
  int CTRLAGREGAR(win::ModalDialog& dialog, int message, int wParam, Mode mode);
  bool SAVE_DATOS(win::ModalDialog& dialog, Mode mode);
  bool hasRecord() const;
};

}  // namespace rooms
