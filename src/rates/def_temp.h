// "Tabla de Temporadas " (menu 3070, dialog EDIT_DEF_TEMP "Mantenimiento de Temporadas"): the
// seasons of the business unit (TEMPORA) under the tree's root and their sub-seasons
// (SUBTEMPO) under each season. The tree's pop-up menu and the buttons add (a season on the
// root, a sub-season on a season), modify and delete. A season's changed code is carried to
// its sub-seasons, its dates and the agencies' commission rows (prices keep the former code);
// a deleted season takes those along; a deleted sub-season takes its commission rows.
#pragma once

#include <memory>
#include <string>

#include "screens/screen.h"
#include "win/controls.h"

namespace rates {

class DEF_TEMP : public screens::SCREEN {
 public:
  static constexpr int kMenuId = 3070;
  DEF_TEMP(const std::string& dialog, const std::string& negocio);
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;

  void AGREGAR();
  void MODIFICAR();
  void BORRAR();

 private:
  // 0 the root, 1 a season, 2 a sub-season; -1 nothing chosen.
  int NIVEL(win::TreeNode node) const;
  win::TreeNode PADRE(win::TreeNode node) const;
  void LOAD_TREE(const std::string& select = "");
  // The season editor (`recno` 0: a new season), the sub-season editor of `season`.
  bool E_TEMPORA(uint32_t recno);
  bool E_TEMPO(const std::string& season, uint32_t recno);

  std::unique_ptr<win::TREEVIEW> TREE;
  win::TreeNode root_ = nullptr;
};

// "Domingo" … "Sabado" for 1 … 7.
std::string NOMBRE_DIA(int day);

}  // namespace rates
