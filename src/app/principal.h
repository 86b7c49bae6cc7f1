// The main window of the program (class PRINCIPAL, window class SALTMERE32): the
// multiple-document frame titled "Configuración Hotelería", its status bar, and the steps
// of its initialisation. The login, the rights and the module menu plug in through hooks.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace win {
class MainFrame;
}

namespace app {

class PRINCIPAL {
 public:
  PRINCIPAL();
  ~PRINCIPAL();

  // The initialisation of the main window; false when the program must end (login
  // cancelled or refused).
  bool Init();
  // Shows the window maximised, fading it in unless that is switched off or remote.
  void Show();
  // The close box: asks "¿Desea salir de la aplicación?" and exits on OK.
  bool AskExit();
  void Exit();

  win::MainFrame& frame() { return *frame_; }

  // Set by the application shell.
  std::function<bool()> login;       // true when a user logged in
  std::function<void()> afterLogin;  // rights, menus, toolbar, business
  std::function<void(int)> onQuit;   // ends the message loop with this code

 private:
  std::unique_ptr<win::MainFrame> frame_;
};

}  // namespace app
