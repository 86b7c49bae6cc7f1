// "Mantenimiento de Segmentos de Mercado" (menu "Segmentos de Mercado", 3146): the four
// segment sets as a tree — the set chosen with its radio buttons, its segments under the
// root, each segment's details under it — edited from the tree's pop-up menu with the
// editors E_ENC_SEG and E_DET_SEG. No grid and no "Editar" entries.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "screens/code_tree.h"
#include "screens/screen.h"
#include "win/controls.h"

namespace agencies {

class DEF_SEG : public screens::SCREEN {
 public:
  DEF_SEG(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;
  void SHOW_MENU() override {}
  void HIDE_MENU() override {}

 private:
  using Item = screens::CodeTreeItem;  // groups are segments, members their details

  void CONJUNTO(int set);
  void LOAD_TREE(int level = 0, const std::string& segment = "", const std::string& code = "");
  void AGREGAR();
  void MODIFICAR();
  void BORRAR();
  void EDITA(bool segment, bool adding, const Item& item);
  const Item* chosen() const;

  int SET = 0;
  std::unique_ptr<win::TREEVIEW> TREE;
  std::map<win::TreeNode, Item> items_;
};

}  // namespace agencies
