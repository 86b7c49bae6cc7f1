// How the screens of the subsystems reach the module menu. Each subsystem registers, once
// at start-up, the screen class that opens for a menu entry and the "Editar" entries of its
// screens' menu ids; the shell asks the registry for the class named by a menu entry.
//
// A subsystem declares its registration where its screens are:
//
//   SCREEN_REGISTRATION(registerRoomScreens) {
//     screens::editMenu(UBIC_ROM::kMenuId, {screens::entry(3100, "Agregar ", &UBIC_ROM::ADD_UBIC_ROM), ...});
//     screens::opens<UBIC_ROM>("UBIC_ROM");
//   }
//
// and REGISTER_SCREENS() runs every such registration (the program links each subsystem's
// library whole, so that every registration is there without the shell naming them).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "screens/screen.h"
#include "win/main_frame.h"

namespace screens {

// What the menu entry asks for.
struct ScreenRequest {
  std::string screenClass;
  std::string dialog;    // the entry's dialog (the class name when it names none)
  std::string business;  // the active business unit of the toolbar
  int menuId = 0;
  std::string caption;
};

using ScreenOpener = std::function<void(const ScreenRequest&)>;

void registerScreen(const std::string& screenClass, ScreenOpener opener);
const ScreenOpener* screenOpener(const std::string& screenClass);

// The screen class S opens with the entry's dialog and business unit: S(dialog, negocio),
// then its INIT.
template <typename S>
void opens(const std::string& screenClass) {
  registerScreen(screenClass, [](const ScreenRequest& r) { OPEN<S>(r.dialog, r.business); });
}

// The "Editar" entries of a menu id; an entry bound to an operation of the screen class S.
void editMenu(int menuId, std::vector<win::EditEntry> entries);
template <typename S>
win::EditEntry entry(int id, const std::string& caption, void (S::*operation)()) {
  return {id, caption, [operation](win::WDIAG& screen) { (static_cast<S&>(screen).*operation)(); }};
}
// The line between groups of entries.
win::EditEntry separator();

// The three entries of a list, "Agregar ", "Modificar " and "Borrar  " unless the list
// spells them otherwise, with their rights and operations.
using ListCaptions = std::array<std::string, 3>;
inline const ListCaptions kListCaptions = {"Agregar ", "Modificar ", "Borrar  "};
template <typename S>
std::vector<win::EditEntry> listEntries(std::array<int, 3> ids, void (S::*add)(), void (S::*modify)(),
                                        void (S::*remove)(), const ListCaptions& captions = kListCaptions) {
  return {entry(ids[0], captions[0], add), entry(ids[1], captions[1], modify), entry(ids[2], captions[2], remove)};
}

// Checks a subsystem runs each time a user enters a business unit: after the login and after
// every change of business (or user) on the toolbar, with the business now active. They run
// in the order they were installed; a check that fails goes to the error handler like any
// other entry, and the checks after it still run.
using BusinessCheck = std::function<void(const std::string& negocio)>;
void onBusinessEntered(BusinessCheck check);
// Run by the shell once the business is active.
void BUSINESS_ENTERED(const std::string& negocio);

// Registrations, collected while the program starts and run by REGISTER_SCREENS.
struct Registration {
  explicit Registration(void (*registration)());
};
void REGISTER_SCREENS();

}  // namespace screens

#define SCREEN_REGISTRATION(name)                                   \
  static void name();                                               \
  static const ::screens::Registration name##_registration_{&name}; \
  static void name()
