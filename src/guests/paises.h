// "Definición de Países" (3145): the countries of the business unit as a tree with their
// states, edited from the tree's pop-up menu — the country editor E_PAIS (MODIPAIS: its
// switches, kinds, segments of the four sets, region and language) and the state editor
// E_D_PAIS (MODIDETPAIS: its Zip Code group). No grid and no "Editar" entries.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "screens/code_tree.h"
#include "screens/screen.h"
#include "win/controls.h"

namespace guests {

class PAISES : public screens::SCREEN {
 public:
  PAISES(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;
  void SHOW_MENU() override {}
  void HIDE_MENU() override {}

 private:
  using Item = screens::CodeTreeItem;  // groups are countries, members their states

  void LOAD_TREE(int level = 0, const std::string& country = "", const std::string& code = "");
  void AGREGAR();
  void MODIFICAR();
  void BORRAR();
  void E_PAIS(bool adding, const Item& item);
  void E_D_PAIS(bool adding, const Item& item);
  const Item* chosen() const;

  std::unique_ptr<win::TREEVIEW> TREE;
  std::map<win::TreeNode, Item> items_;
};

}  // namespace guests
