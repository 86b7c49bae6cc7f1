#include "app/password_screen.h"

#include "app/login.h"
#include "app/principal.h"
#include "app/screens.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/controls.h"
#include "win/main_frame.h"
#include "win/message_box.h"

namespace app {

void CH_PASSWD::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  for (int id : {501, 502, 503}) ADD(std::make_unique<win::WEDIT>(this, id));
  ADD(std::make_unique<win::WPUSHBUTTON>(this, win::IDOK), [this](win::WDIAG&, win::WCONTROL&, int) {
    int focus = FocusedControl();
    if (focus == 501 || focus == 502) {  // Enter moves on to the next field
      SetFocusTo(focus + 1);
      return 1;
    }
    accept();
    return 1;
  });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE();
  SetFocusTo(501);
}

void CH_PASSWD::accept() {
  auto users = lib::USE(nullptr, "USUARIOS", "USUARIOS");
  int width = users->driver().field(users->FieldPos("NOMBRE") - 1).length;
  std::string key = lib::businessKey(NEGOCIO);
  std::string name = loginName_;
  name.resize(size_t(width), ' ');
  if (!users->Seek(key + name)) users->GoTo(users->RecCount() + 1);
  ChangeResult r =
      changePassword(*users, NEGOCIO, GetDlgItemText(501), GetDlgItemText(502), GetDlgItemText(503), 2, misses_);
  if (r == ChangeResult::Changed) {
    ENDDIALOG();
  } else if (r == ChangeResult::Exhausted && lib::G().XSUPERACCESS != 1) {
    if (win::MainFrame* frame = win::MainFrame::instance()) frame->EnableWindow(false);
    win::MESSAGE_BOX(this, "APLICACION BLOQUEADA!", "ATENCION", lib::MB_OK | lib::MB_ICONSTOP);
  } else {
    for (int id : {501, 502, 503}) SetDlgItemText(id, "");
    SetFocusTo(501);
  }
}

void registerPasswordScreen() {
  registerScreen("CH_PASSWD",
                 [](const ScreenRequest& r) { screens::OPEN<CH_PASSWD>(r.business, r.principal.loginName); });
}

}  // namespace app
