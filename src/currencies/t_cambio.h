// "Definición de Tipos de Cambio " (menu 2901): the currencies of the business unit in a tree,
// each with the pairs whose rate is expressed in it, and the dated rates of the pair chosen
// in the grid. The rate editor is MODIT_CAMBIO; the tree's pop-up menu adds, changes and
// deletes pairs through the pair editor T_CAMB_2 (deleting a pair takes its rates with it).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "screens/list_screen.h"
#include "win/controls.h"

namespace currencies {

// A pair of the tree: its first currency (the one the rate is expressed in), its second one
// and its DET_MON record.
struct RELACION {
  std::string moneda1, moneda2;
  uint32_t recno = 0;
};

class T_CAMBIO : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 2901;
  T_CAMBIO(const std::string& dialog, const std::string& negocio);
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;

  void ADD_T_CAMBIO();
  void MOD_T_CAMBIO();
  void DEL_T_CAMBIO();

  // The tree's pop-up menu: a pair added to the currency chosen, the pair chosen changed or
  // deleted.
  void ADD_DET_MON();
  void MOD_DET_MON();
  void DEL_DET_MON();

  // The tree from the tables; the grid shows no rates until a pair is chosen.
  void LOAD_TREE();
  void TREE_CLICK(win::TreeNode node);
  // The pair selected in the tree, if a pair (not a currency) is selected.
  std::optional<RELACION> RELACION_ELEGIDA() const;

  std::unique_ptr<win::TREEVIEW> TREE;

 protected:
  void BOTONES() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MOD_T_CAMBIO(); }

 private:
  // The currency of a top item, or of the top item holding a pair; "" for none.
  std::string MONEDA_DE(win::TreeNode node) const;
  bool ES_RELACION(win::TreeNode node) const;
  void SCOPE_RATES(const std::optional<RELACION>& pair);
  std::optional<RELACION> RELACION_REQUERIDA();
};

}  // namespace currencies
