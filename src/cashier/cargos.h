// "Definición de Transacciones" (menu 3054): the transaction codes of the business unit
// under the tree of their groups and sub-groups ("Clasificaciones"). The tree's root shows
// every code, a group its codes, a sub-group its own — and codes are created, changed and
// deleted only there, in a sub-group. Its editor is M_CARGO (dialog AGREGAR_CARGOS).
//
// The tree's pop-up menu adds, changes and deletes groups (on the root and on a group) and
// sub-groups (on a group and on a sub-group) with E_ENC_CARG; a group or a sub-group that
// still holds codes is not deleted. "Actualizar Clave" gives every code that asks for a void
// password the new one; "Listado de Transacciones" prints the codes with their flags and
// accounting links or components; "Cambiar Clasificacion" moves the current code to
// another sub-group; "Simular Impuestos..." shows the lines a posting under the current code
// would write (tax_rule.h) and the rule behind each.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "screens/list_screen.h"
#include "win/controls.h"

namespace cashier {

class CARGOS : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3054;
  CARGOS(const std::string& dialog, const std::string& negocio);
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;

  void ADD_CARGO();
  void MOD_CARGO();
  void DEL_CARGO();
  void CAMBIA_CLAS();
  void SIMULA_IMP();
  void ACT_CLAVE();
  void LISTADO();

  // The tree's level chosen (0 the root, 1 a group, 2 a sub-group) and, below the root, its
  // group and sub-group: where a new code goes.
  int NIVEL = 0;
  std::string LINEA, SUBLINEA;

  // An item of the tree clicked; the tree rebuilt from the tables, the same item chosen again.
  void TREE_CLICK(win::TreeNode node);
  void LOAD_TREE();

  std::unique_ptr<win::TREEVIEW> TREE;

 protected:
  void BOTONES() override;
  void DOBLE_CLICK() override { MOD_CARGO(); }

 private:
  struct Item {
    int level = 0;
    std::string linea, sublinea, text;
    uint32_t recno = 0;
  };
  void SCOPE(const Item& item);
  void TREE_AGREGAR();
  void TREE_MODIFICAR();
  void TREE_BORRAR();
  void EDITA_GRUPO(const Item& item, bool adding);
  const Item* chosen() const;

  std::map<win::TreeNode, Item> items_;
};

}  // namespace cashier
