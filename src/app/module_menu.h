// The module menu of Configuración Hotelería: every pop-up, sub-menu and entry with its
// caption (trailing blanks included), rights identifier and the screen class it opens
// (with its dialog name when it differs from the class name). One declarative table; the
// main window builds its menu bar from it.
#pragma once

#include <string>
#include <vector>

namespace app {

// Entries that do more than open their screen with (main window, dialog, business).
enum class Special {
  None,
  CaptureMarks,  // the screen also gets the main window's capture marks
  UserName,      // the screen also gets the logged-in user's name
  MainWindow,    // a method of the main window with its own dialog
  Exit,          // "Salir": closes the main window as its close box does
};

struct MenuEntry {
  std::string caption;  // "" for a separator
  int id = 0;           // rights identifier; 0 = none (an automatic id, never restricted)
  std::string screen;   // screen class opened; "" for an entry without action
  std::string dialog;   // dialog name when it is not the class name
  Special special = Special::None;
  int mode = 0;                    // a mode the screen is opened with (card-terminal closings)
  std::vector<MenuEntry> submenu;  // a pop-up or sub-menu when not empty

  bool isMenu() const { return !submenu.empty(); }
  const std::string& dialogName() const { return dialog.empty() ? screen : dialog; }
};

// The pop-ups of the module menu, in order ("&Archivo" first; "Editar", "Ventanas" and
// "Acerca de" are added by the main window around them).
const std::vector<MenuEntry>& moduleMenu();
// The entry with that rights identifier, or nullptr.
const MenuEntry* findMenuEntry(int id);

}  // namespace app
