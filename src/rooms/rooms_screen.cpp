#include "rooms/rooms_screen.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/edit_room.h"
#include "rooms/hotel_day.h"
#include "rooms/room_counters.h"
#include "screens/messages.h"
#include "screens/tree_menu.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kTree = 901;

}  // namespace

ROOMS::ROOMS(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"ROOMS",
                   "ROOMS",
                   kMenuId,
                   {{"Habitación", "CODIGO", std::string(15, '!')},
                    {"Descripción", "DESCRIP", std::string(40, '!')},
                    {"Tipo", "TIPO", "!!!!"},
                    {"Ubicación", "UBICA", "!!!!"},
                    {"Estado", "T_EST_HA", "!!!!"}}}) {}

void ROOMS::BOTONES() {
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  for (Criterio c : {kNinguno, kPorUbicacion, kPorTipo})
    ADD(std::make_unique<win::WRADIOBUTTON>(this, c), [this, c](win::WDIAG&, win::WCONTROL&, int) {
      if (IsDlgButtonChecked(c)) CRITERIO(c);
      return 1;
    });
}

void ROOMS::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  screens::DEFINE_TREE_MENU(*TREE);
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { TREE_CLICK(node); });
  CheckDlgButton(kNinguno, true);
  CRITERIO(kNinguno);
}

int ROOMS::OnCOMMAND(int id, int notification) {
  if (screens::TREE_MENU(*TREE, this, id, [this] { SCOPE_ROOMS("ROOMS", ""); })) return 1;
  return WDIAG::OnCOMMAND(id, notification);
}

void ROOMS::CRITERIO(Criterio c) {
  criterio = c;
  TREE->ZAP_TREE();
  switch (c) {
    case kNinguno:
      TREE->ADDLASTCHILD(TREE->GETROOT(), "Ninguno");
      TREE->Enable(false);
      break;
    case kPorUbicacion:
      LOAD_TREE("Ubicaciones de Habitación", "UBIC_ROM");
      break;
    case kPorTipo:
      LOAD_TREE("Tipos de Habitación", "TIPO_ROM");
      break;
  }
  SCOPE_ROOMS("ROOMS", "");
}

// One item per record of `table` (the locations or the types of the business unit) under a
// top item bearing the tree's name: the description, with the code beside it.
void ROOMS::LOAD_TREE(const std::string& name, const std::string& table) {
  TREE->Enable(true);
  win::TreeNode top = TREE->ADDLASTCHILD(TREE->GETROOT(), name);
  lib::EACH_RECORD(table, table, lib::businessKey(NEGOCIO), [&](const lib::WDBTable& t) {
    TREE->ADDLASTCHILD(top, t.S("DESCRIP"), t.S("CODIGO"), t.S("CODIGO"), t.RecNo(), "XXXX");
  });
  TREE->SORT(true);
  TREE->EXPAND(top);
  TREE->REFRESH();
}

void ROOMS::TREE_CLICK(win::TreeNode node) {
  const std::string code = TREE->Value(node);
  if (criterio == kNinguno || !node || TREE->Children(nullptr).empty() || node == TREE->Children(nullptr).front()) {
    SCOPE_ROOMS("ROOMS", "");
    return;
  }
  SCOPE_ROOMS(criterio == kPorUbicacion ? "ROOMS3" : "ROOMS2", code);
}

// The grid shows the rooms of the business unit on `tag`, or with a code those of one
// location (ROOMS3) or type (ROOMS2).
void ROOMS::SCOPE_ROOMS(const std::string& tag, const std::string& code) {
  std::string scope = TABLA->KeyPart("NEGOCIO", NEGOCIO);
  if (tag != "ROOMS") scope += TABLA->KeyPart(tag == "ROOMS3" ? "UBICA" : "TIPO", code);
  SET_SCOPE(*OB, scope);
  SET_INDEXCOL(*OB, 1, tag);
  ORDERSHOW(*OB);
}

void ROOMS::ADD_ROOMS() {
  screens::OPEN<EDIT_ROOM>(this, NEGOCIO, EDIT_ROOM::kAdd);
}

void ROOMS::MOD_ROOMS() {
  if (hasRecord()) screens::OPEN<EDIT_ROOM>(this, NEGOCIO, EDIT_ROOM::kModify);
}

void ROOMS::DEL_ROOMS() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const std::string room = TABLA->S("CODIGO"), tipo = TABLA->S("TIPO");
  BORRA_REGISTRO(screens::cascadeQuestion("Desea borrar la Habitación?"),
                 [&](win::WAIT&) { ROOM_BORRADA(NEGOCIO, room, tipo, CIERRE_DIA(NEGOCIO)); });
}

}  // namespace rooms
