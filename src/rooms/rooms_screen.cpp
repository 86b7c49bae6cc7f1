#include "rooms/rooms_screen.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/edit_room.h"
#include "rooms/hotel_day.h"
#include "rooms/room_counters.h"
#include "screens/messages.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kTree = 901;

// The tree's pop-up menu.
enum TreeCommand {
  kExpandAll = 9101,
  kExpandItem,
  kCollapseAll,
  kCollapseItem,
  kClearAll,
  kClearSubtree,
  kSearch,
  kClearSearch,
};

void expandAll(win::TREEVIEW& tree, win::TreeNode node, bool expand) {
  for (win::TreeNode child : tree.Children(node)) expandAll(tree, child, expand);
  if (node != tree.GETROOT()) tree.EXPAND(node, expand);
}

void markAll(win::TREEVIEW& tree, win::TreeNode node, bool marked) {
  for (win::TreeNode child : tree.Children(node)) {
    tree.MARK(child, marked);
    markAll(tree, child, marked);
  }
}

// Marks the nodes whose text contains `text` (upper and lower case alike); the first one.
win::TreeNode markMatches(win::TREEVIEW& tree, win::TreeNode node, const std::string& text) {
  win::TreeNode first = nullptr;
  for (win::TreeNode child : tree.Children(node)) {
    if (lib::upper(tree.Text(child)).find(text) != std::string::npos) {
      tree.MARK(child, true);
      if (!first) first = child;
    }
    if (win::TreeNode below = markMatches(tree, child, text); below && !first) first = below;
  }
  return first;
}

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
  TREE->DEFINE_MENU({{kExpandAll, "Expander..."},
                     {kExpandItem, "Expander item"},
                     {kCollapseAll, "Colapsar..."},
                     {kCollapseItem, "Colapsar item"},
                     {0, ""},
                     {kClearAll, "Limpiar Todo..."},
                     {kClearSubtree, "Limpiar Sub-Arbol"},
                     {0, ""},
                     {kSearch, "Buscar..."},
                     {kClearSearch, "Limpiar Busqueda"}});
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { TREE_CLICK(node); });
  CheckDlgButton(kNinguno, true);
  CRITERIO(kNinguno);
}

int ROOMS::OnCOMMAND(int id, int notification) {
  if (id >= kExpandAll && id <= kClearSearch) {
    TREE_MENU(id);
    return 1;
  }
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

void ROOMS::TREE_MENU(int command) {
  win::TreeNode selected = TREE->Selected();
  switch (command) {
    case kExpandAll:
      expandAll(*TREE, TREE->GETROOT(), true);
      break;
    case kExpandItem:
      if (selected) expandAll(*TREE, selected, true);
      break;
    case kCollapseAll:
      expandAll(*TREE, TREE->GETROOT(), false);
      break;
    case kCollapseItem:
      if (selected) expandAll(*TREE, selected, false);
      break;
    case kClearAll:
      markAll(*TREE, TREE->GETROOT(), false);
      TREE->ClearSelection();
      SCOPE_ROOMS("ROOMS", "");
      break;
    case kClearSubtree:
      if (selected) {
        TREE->MARK(selected, false);
        markAll(*TREE, selected, false);
      }
      break;
    case kSearch:
      BUSCAR_TREE();
      break;
    case kClearSearch:
      markAll(*TREE, TREE->GETROOT(), false);
      break;
  }
  TREE->REFRESH();
}

// "Buscar...": the items whose text contains the text asked for are marked, the first one
// is selected and shown.
void ROOMS::BUSCAR_TREE() {
  std::string text;
  const int accepted = win::DIALOG_BOX("BUSCA_TREE", this,
                                       {[](win::ModalDialog& d) { d.SetFocusTo(500); },
                                        [&](win::ModalDialog& d) {
                                          text = lib::upper(lib::trim(d.GetDlgItemText(500)));
                                          return true;
                                        }});
  if (accepted != win::IDOK || text.empty()) return;
  markAll(*TREE, TREE->GETROOT(), false);
  if (win::TreeNode first = markMatches(*TREE, TREE->GETROOT(), text)) {
    TREE->Select(first);
  } else {
    screens::notice("No se encontró: " + text);
  }
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
