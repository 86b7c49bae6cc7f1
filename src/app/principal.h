// The main window of the program (class PRINCIPAL, window class SALTMERE32): the
// multiple-document frame titled "Configuración Hotelería" with the module menu, the
// toolbar and the status bar; the login and the rights of the user; the business change,
// the periodic leave-the-system check, the session lock and the orderly exit.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/forced_exit.h"
#include "app/login.h"
#include "app/module_menu.h"
#include "app/rights.h"

class QMenu;
class QSplashScreen;
class QMenuBar;
class QObject;

namespace win {
class MainFrame;
class WDIAG;
}  // namespace win

namespace app {

class MTOOLBAR;

// Requests the main window and its toolbar receive.
enum Request {
  kCaptureOn = 1030,   // with marker 99: rights capture on
  kCaptureOff = 1031,  // with marker 99: rights capture off
  kBusinessAccepted = 2220,
  kBusinessCancelled = 2221,
  kLockSession = 2223,
};

class PRINCIPAL : public UserLogin {
 public:
  PRINCIPAL();
  ~PRINCIPAL();

  // The initialisation of the main window; false when the program must end (login
  // cancelled or refused).
  bool Init();
  // Shows the window maximised, fading it in unless that is switched off or remote.
  void Show();
  // The close box and "Salir": asks "¿Desea salir de la aplicación?" and exits on OK.
  bool AskExit();
  void Exit();        // logout and quit
  void EXIT_LOGIN();  // quit without logout

  // Rebuilds the menu bar; with a user name the rights are reloaded first, without a
  // business the menu is marked as built without one.
  void MenuSet(int screenId, win::WDIAG* screen, const std::optional<std::string>& userName,
               const std::string& business);
  // Records the entry in XID_MENU and opens its screen.
  void DO_ACTION(const MenuEntry& entry);
  void request(int code, int marker = 0);

  void CHECK_QUIT() { forcedExit_.CHECK_QUIT(); }
  // The session lock; false when the user left the program from it.
  bool BLOQ_SESSION();
  void AboutBox();
  void ADS_xINFO();
  // What a right-click on the menu entry `id` does: toggles its capture mark while rights
  // are captured, opens the screen-opening log for a supervisor otherwise.
  void menuRightClick(int id);

  win::MainFrame& frame() { return *frame_; }
  MTOOLBAR* Toolbar() const { return toolbar_.get(); }
  Rights rights;
  ForcedExit& forcedExit() { return forcedExit_; }
  bool ending() const { return ending_; }

  // Set by the application shell: ends the message loop with this code.
  std::function<void(int)> onQuit;

 private:
  void buildMenuBar(QMenuBar* bar);
  void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries, int& automatic);
  void createToolbar();
  void changeBusiness(const std::string& code);
  void onMinute();
  void quit(int code);
  void showSplash();  // from the login until the main window shows

  std::unique_ptr<win::MainFrame> frame_;
  std::unique_ptr<MTOOLBAR> toolbar_;
  std::unique_ptr<QSplashScreen> splash_;
  ForcedExit forcedExit_;
  QObject* inputWatch_ = nullptr;
  int64_t lastInput_ = 0;
  bool ending_ = false;
};

// The main window of this process, or nullptr.
PRINCIPAL* principal();

}  // namespace app
