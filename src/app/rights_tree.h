// "Arbol de Derechos": the module menu as a tree, grouped by its pop-ups, each entry marked
// with whether the user holds it; it can be printed.
#pragma once

#include <string>
#include <vector>

namespace win {
class WDIAG;
}

namespace app {

// The lines of the tree as printed: the pop-ups and sub-menus indented, entries marked
// "[X]" when granted (`granted` indexed by id - 2000; a supervisor holds everything).
std::vector<std::string> rightsTreeLines(const std::vector<bool>& granted, bool supervisor);

void showRightsTree(win::WDIAG* owner, const std::string& userName, const std::vector<bool>& granted, bool supervisor);

}  // namespace app
