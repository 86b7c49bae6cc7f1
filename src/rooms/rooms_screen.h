// "Habitaciones Definidas" (menu 3087): the rooms of the business unit, grouped at the
// user's choice by location or by type through the tree beside the grid, and their editor
// EDIT_ROOM (dialog AGREGAR_ROOM) with the room's accessories and qualities. Adding,
// retyping and deleting a room keep the counters of rooms per type, class and hotel, the
// availability rows and the reservation table in step (room_counters.h); retyping a room
// moves its reservations to the new type (room_retype.h).
#pragma once

#include <memory>
#include <string>

#include "screens/list_screen.h"
#include "win/controls.h"

namespace rooms {

class ROOMS : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3087;
  // The grouping option buttons.
  enum Criterio { kNinguno = 201, kPorUbicacion = 202, kPorTipo = 203 };

  ROOMS(const std::string& dialog, const std::string& negocio);
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;

  void ADD_ROOMS();
  void MOD_ROOMS();
  void DEL_ROOMS();

  // The grouping chosen with the option buttons, and an item of the tree clicked.
  void CRITERIO(Criterio criterio);
  void TREE_CLICK(win::TreeNode node);

  std::unique_ptr<win::TREEVIEW> TREE;
  Criterio criterio = kNinguno;

 protected:
  void BOTONES() override;
  void DOBLE_CLICK() override { MOD_ROOMS(); }

 private:
  void LOAD_TREE(const std::string& name, const std::string& table);
  void SCOPE_ROOMS(const std::string& tag, const std::string& code);
};

}  // namespace rooms
