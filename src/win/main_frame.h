// The main window's frame: a QMainWindow with the multiple-document area that holds the
// screens, the menu bar whose entries carry numeric ids, and the "Editar" menu that always
// belongs to the active screen.
//
// The application shell builds the module menu (rebuildMenuBar); until it does, the bar
// holds the "Editar" menu alone. MENUSET(menuId, screen) gives "Editar" the entries
// registered for that menu id, each bound to the screen; id 0 leaves only "No hay
// operaciones asociadas".
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class QMainWindow;
class QMdiArea;
class QMenu;
class QMenuBar;
class QAction;
class QStatusBar;

namespace win {

class WDIAG;

struct EditEntry {
  int id = 0;           // rights identifier of the entry (0: always allowed)
  std::string caption;  // "" for a separator
  std::function<void(WDIAG& screen)> action;
};

// The "Editar" entries of a screen's menu id, registered once by each screen class.
void registerEditMenu(int menuId, std::vector<EditEntry> entries);
const std::vector<EditEntry>* editMenuEntries(int menuId);

class MainFrame {
 public:
  explicit MainFrame(const std::string& title);
  ~MainFrame();
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  static MainFrame* instance();  // the frame of this process, or nullptr

  QMainWindow* window() const { return window_; }
  QMdiArea* mdiArea() const { return mdi_; }

  // The screen whose "Editar" menu is shown, and the entries' rights check.
  void MENUSET(int menuId, WDIAG* screen, const std::string& negocio = "");
  int editMenuId() const { return editMenuId_; }
  WDIAG* editScreen() const { return editScreen_; }
  // Set by the shell: rebuilds the whole menu bar (the "Editar" pop-up comes from
  // fillEditMenu). XCONSTRUCTINGMENU is 1 meanwhile.
  std::function<void(QMenuBar*)> buildMenuBar;
  std::function<bool(int rightId)> allowed = [](int) { return true; };
  void rebuildMenu();
  void fillEditMenu(QMenu* menu);
  bool constructingMenu() const { return constructing_; }

  // Menu entries by id, for choosing them (user, driver) and greying them.
  void registerAction(int id, QAction* action);
  QAction* action(int id) const;
  // The id of the entry with that caption ('&' ignored), or 0.
  int actionId(const std::string& caption) const;
  bool chooseMenu(int id);  // false when the entry is missing or greyed

  WDIAG* activeScreen() const;
  // The strip of controls along the top (business selector, user); the driver acts on it
  // when no screen is open.
  void setToolbar(WDIAG* toolbar) { toolbar_ = toolbar; }
  WDIAG* toolbar() const { return toolbar_; }
  void closeAllScreens();
  // The main window as the program disables it during a long run: its menu bar, toolbar and
  // document area; the windows of our own over it (the progress window) stay usable.
  void EnableWindow(bool enabled);
  bool windowEnabled() const;
  QStatusBar* statusBar() const;

 private:
  void onActivated(void* sub);

  QMainWindow* window_;
  QMdiArea* mdi_;
  int editMenuId_ = 0;
  WDIAG* editScreen_ = nullptr;
  WDIAG* lastActive_ = nullptr;
  WDIAG* toolbar_ = nullptr;
  bool constructing_ = false;
  std::map<int, QAction*> actions_;
};

}  // namespace win
