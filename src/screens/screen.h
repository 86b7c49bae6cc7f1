// The base of the subsystems' screens: a WDIAG for one business unit that owns the tables
// it opened for its life and contributes the "Editar" entries of its menu id while it is
// the active screen.
//
// A screen is built in two steps, so that the base's sequence can call what the screen
// class adds: the constructor stores what the screen is, INIT builds it (tables, window,
// controls). OPEN does both and hands the screen to the window layer; when INIT fails
// half-way (a missing or damaged table, say) the screen is taken down again — its window
// closed, its tables released — before the failure goes on to the error handler.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lib/call_stack.h"
#include "lib/wdbtable.h"
#include "win/wdiag.h"

namespace screens {

class SCREEN : public win::WDIAG {
 public:
  ~SCREEN() override;

  // Builds the screen: its tables, its window from the dialog template, its controls.
  virtual void INIT() = 0;

  void SHOW_MENU() override;
  void HIDE_MENU() override;
  void OnNCDESTROY() override { CerrarBases(); }

  // The screen class, as the menu and the error reports name it ("TIPO_ROM").
  virtual std::string name() const;
  // "TIPO_ROM:ADD_TIPO_ROM": a routine of this screen, as error reports name it.
  std::string routine(const std::string& method) const;

  const std::string DIALOG;  // the template the screen is built from
  const int MENU_ID;         // its "Editar" menu (0: none)
  // The help page F1 opens (AYUDA/<topic>.HTML): the rights id of the menu entry that
  // opened the screen; "" for a screen opened from another one (an editor), which shows
  // the page of the screen it was opened from (see helpTopic).
  std::string HELP_TOPIC;

 protected:
  SCREEN(std::string dialog, std::string negocio, int menuId = 0);

  // Opens `table` (on the order `tag`, when given) for the life of the screen.
  lib::WDBTable* USE(const std::string& table, const std::string& tag = "");
  // Releases every table USE opened. A screen with grids closes them first.
  virtual void CerrarBases();

 private:
  std::vector<std::unique_ptr<lib::WDBTable>> tables_;
};

// The help page of `dialog`: its own, else that of the screen it was opened from; a screen
// opened otherwise than by a menu entry with an id (no id, an "Editar" entry) has the page
// named after its class ("PARAMET3", "HIST_CAMBIOS"); without a screen, the index ("INDEX").
std::string helpTopic(const win::WDIAG* dialog);

namespace detail {
void takeDown(SCREEN* screen);
}

// Constructs S(args...), runs its INIT and hands the screen to the window layer, which
// deletes it once its window is gone. Returns nullptr when no window came.
template <typename S, typename... Args>
S* OPEN(Args&&... args) {
  S* screen = new S(std::forward<Args>(args)...);
  try {
    CALL_LEVEL_AS(screen->routine("INIT"));
    screen->INIT();
  } catch (...) {
    detail::takeDown(screen);
    throw;
  }
  if (!screen->window()) {
    delete screen;
    return nullptr;
  }
  win::adoptScreen(screen);
  return screen;
}

}  // namespace screens
