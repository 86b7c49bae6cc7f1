// "Definición de Usuarios y Perfiles" (menu 2000): the users and the profiles of the
// business, their editors, the assignment of a profile to a user, the design of rights on
// the real menu (capture marks toggled by right-clicking its entries), the password
// parameters, the global login lock and the leave-the-system flag, the rights tree and the
// optimisation of the four tables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "screens/list_screen.h"

namespace app {

class PRINCIPAL;

class USUARIOS : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 2000;

  USUARIOS(PRINCIPAL& principal, const std::string& business);
  void INIT() override;
  void OnNCDESTROY() override;

  void ADD_USER();
  void MOD_USER();
  void DEL_USER();
  void ADD_PERFIL();
  void MOD_PERFIL();
  void DEL_PERFIL();
  void ASIGNAR_PERFIL();
  void CARGAR_DISENO(bool ofProfile);
  void COMENZAR_DISENO();
  void MARCAR_TODO(bool granted);
  void GUARDAR_DISENO(bool ofProfile);
  void E_CLAVE();
  void ARBOL();
  void OPTIMIZAR();

  // After an editor saved: the grids show the table again.
  void refreshUsers(bool added);
  void refreshProfiles(bool added);

  lib::WDBTable* USUARIOS_ = nullptr;  // the list's table
  lib::WDBTable* PERFILES = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB2;  // the profiles

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void CerrarBases() override;
  void DOBLE_CLICK() override { MOD_USER(); }

 private:
  void showLocks();
  void globalLockChanged();
  void leaveFlagChanged();
  bool hasProfile() const;

  PRINCIPAL& principal_;
  std::vector<bool> savedMarks_;  // the capture marks as they were when the screen opened
  bool designLoaded_ = false;
  bool showingLocks_ = false;
};

// The identifiers of this module's menu and its screens' "Editar" entries: what the design
// buttons tick and untick.
std::vector<int> moduleRightIds();

void registerUsersScreen();

}  // namespace app
