// "Habitaciones Definidas" (menu 3087): the rooms of the business unit, grouped at the
// user's choice by location or by type through the tree beside the grid, and their editor
// EDIT_ROOM (dialog AGREGAR_ROOM, mode 1 adds, 2 modifies the room under the cursor) with
// the room's accessories and qualities. Adding, retyping and deleting a room keep the
// counters of rooms per type, class and hotel, the availability rows and the reservation
// table in step (room_counters.h); retyping a room moves its reservations to the new type
// (room_retype.h).
#pragma once

#include <memory>
#include <set>
#include <string>

#include "lib/wdbtable.h"
#include "win/browse.h"
#include "win/controls.h"
#include "win/wdiag.h"

namespace rooms {

class ROOMS : public win::WDIAG, public win::ADD2BROWSE {
 public:
  static constexpr int kMenuId = 3087;
  // The grouping option buttons.
  enum Criterio { kNinguno = 201, kPorUbicacion = 202, kPorTipo = 203 };

  ROOMS(const std::string& dialog, const std::string& negocio);

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }
  int OnCOMMAND(int id, int notification) override;

  void ADD_ROOMS();
  void MOD_ROOMS();
  void DEL_ROOMS();

  // The grouping chosen with the option buttons, and an item of the tree clicked.
  void CRITERIO(Criterio criterio);
  void TREE_CLICK(win::TreeNode node);

  // After the editor saved: the grid shows the table again.
  void refreshRooms(bool added);

  std::unique_ptr<lib::WDBTable> ROOMS_;
  std::unique_ptr<win::WBLISTBOX> OB;
  std::unique_ptr<win::TREEVIEW> TREE;
  Criterio criterio = kNinguno;

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
  void LOAD_TREE(const std::string& name, const std::string& table);
  void SCOPE_ROOMS(const std::string& tag, const std::string& code);
  void TREE_MENU(int command);
  void BUSCAR_TREE();
  bool hasRoom() const;
};

class EDIT_ROOM : public win::WDIAG {
 public:
  enum Mode { kAdd = 1, kModify = 2 };
  EDIT_ROOM(ROOMS* list, const std::string& negocio, Mode mode);

 private:
  void AbrirBases();
  void CerrarBases();
  void OnNCDESTROY() override { CerrarBases(); }
  void LOAD_TIPOS();
  void LOAD_LISTAS();
  void LOAD_DETALLES();
  void readRecord();
  void SAVE_DATOS();
  bool validate();
  void ADD_ROOM();
  bool MOD_ROOM();
  void writeFields(lib::WDBTable& room, const std::string& clase);
  std::set<std::string> selected(int listId) const;

  ROOMS* list_;
  Mode mode_;
  uint32_t XRECNO = 0;
  std::unique_ptr<lib::WDBTable> TIPO_ROM;
};

}  // namespace rooms
