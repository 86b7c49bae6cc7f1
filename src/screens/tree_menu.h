// The pop-up menu of a screen's tree: the entries every tree of the program offers —
// "Expander...", "Expander item", "Colapsar...", "Colapsar item", "Limpiar Todo...",
// "Limpiar Sub-Arbol", "Buscar..." and "Limpiar Busqueda" — with the screen's own entries
// (adding, changing, deleting items) between the clearing and the searching ones.
//
// "Buscar..." asks for a text (dialog BUSCA_TREE) and marks, in bold, every item whose text
// holds it, upper and lower case alike; the first one is selected. "Limpiar Todo..." clears
// the marks and the selection, "Limpiar Sub-Arbol" the marks below the selected item.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "win/controls.h"

namespace screens {

enum TreeMenuCommand {
  kTreeExpandAll = 9101,
  kTreeExpandItem,
  kTreeCollapseAll,
  kTreeCollapseItem,
  kTreeClearAll,
  kTreeClearSubtree,
  kTreeSearch,
  kTreeClearSearch,
};

// Gives `tree` its menu; the ids of `own` must lie outside kTreeExpandAll ... kTreeClearSearch.
void DEFINE_TREE_MENU(win::TREEVIEW& tree, const std::vector<std::pair<int, std::string>>& own = {});

// Runs `command` when it is one of the entries every tree offers and says whether it was;
// `clearedAll` runs after "Limpiar Todo..." (a screen whose grid follows the tree shows all).
bool TREE_MENU(win::TREEVIEW& tree, win::WDIAG* owner, int command, const std::function<void()>& clearedAll = {});

}  // namespace screens
