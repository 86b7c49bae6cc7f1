#include "screens/tree_menu.h"

#include "lib/text.h"
#include "screens/messages.h"
#include "win/dialog_box.h"

namespace screens {

namespace {

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

void search(win::TREEVIEW& tree, win::WDIAG* owner) {
  std::string text;
  const int accepted = win::DIALOG_BOX("BUSCA_TREE", owner,
                                       {[](win::ModalDialog& d) { d.SetFocusTo(500); },
                                        [&](win::ModalDialog& d) {
                                          text = lib::upper(lib::trim(d.GetDlgItemText(500)));
                                          return true;
                                        }});
  if (accepted != win::IDOK || text.empty()) return;
  markAll(tree, tree.GETROOT(), false);
  if (win::TreeNode first = markMatches(tree, tree.GETROOT(), text)) {
    tree.Select(first);
  } else {
    notice("No se encontró: " + text);
  }
}

}  // namespace

void DEFINE_TREE_MENU(win::TREEVIEW& tree, const std::vector<std::pair<int, std::string>>& own) {
  std::vector<std::pair<int, std::string>> entries = {{kTreeExpandAll, "Expander..."},
                                                      {kTreeExpandItem, "Expander item"},
                                                      {kTreeCollapseAll, "Colapsar..."},
                                                      {kTreeCollapseItem, "Colapsar item"},
                                                      {0, ""},
                                                      {kTreeClearAll, "Limpiar Todo..."},
                                                      {kTreeClearSubtree, "Limpiar Sub-Arbol"},
                                                      {0, ""}};
  if (!own.empty()) {
    entries.insert(entries.end(), own.begin(), own.end());
    entries.push_back({0, ""});
  }
  entries.push_back({kTreeSearch, "Buscar..."});
  entries.push_back({kTreeClearSearch, "Limpiar Busqueda"});
  tree.DEFINE_MENU(entries);
}

bool TREE_MENU(win::TREEVIEW& tree, win::WDIAG* owner, int command, const std::function<void()>& clearedAll) {
  if (command < kTreeExpandAll || command > kTreeClearSearch) return false;
  win::TreeNode selected = tree.Selected();
  switch (command) {
    case kTreeExpandAll:
      expandAll(tree, tree.GETROOT(), true);
      break;
    case kTreeExpandItem:
      if (selected) expandAll(tree, selected, true);
      break;
    case kTreeCollapseAll:
      expandAll(tree, tree.GETROOT(), false);
      break;
    case kTreeCollapseItem:
      if (selected) expandAll(tree, selected, false);
      break;
    case kTreeClearAll:
      markAll(tree, tree.GETROOT(), false);
      tree.ClearSelection();
      if (clearedAll) clearedAll();
      break;
    case kTreeClearSubtree:
      if (selected) {
        tree.MARK(selected, false);
        markAll(tree, selected, false);
      }
      break;
    case kTreeSearch:
      search(tree, owner);
      break;
    case kTreeClearSearch:
      markAll(tree, tree.GETROOT(), false);
      break;
  }
  tree.REFRESH();
  return true;
}

}  // namespace screens
