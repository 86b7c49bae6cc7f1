#include "app/principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QShortcut>
#include <QSplashScreen>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>

#include "app/screens.h"
#include "app/session.h"
#include "app/startup.h"
#include "app/system_params.h"
#include "app/temp_folder.h"
#include "app/toolbar.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/use.h"
#include "screens/registry.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/driver.h"
#include "win/entry.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/resources.h"
#include "win/timers.h"
#include "win/virtual_keyboard.h"

namespace app {

namespace {

constexpr int kMinuteTimer = 2;
constexpr int kMinuteMs = 60000;

PRINCIPAL*& current() {
  static PRINCIPAL* p = nullptr;
  return p;
}

int64_t ticks() {
  return lib::G().clock->ticks();
}

// The close box asks before anything closes.
class ExitGuard : public QObject {
 public:
  explicit ExitGuard(PRINCIPAL* p) : p_(p) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      event->ignore();
      if (!p_->ending()) p_->AskExit();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  PRINCIPAL* p_;
};

// Keyboard and mouse input anywhere in the program, for the inactivity lock.
class InputWatch : public QObject {
 public:
  explicit InputWatch(int64_t* last) : last_(last) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
      case QEvent::Wheel:
        *last_ = ticks();
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  int64_t* last_;
};

}  // namespace

PRINCIPAL* principal() {
  return current();
}

PRINCIPAL::PRINCIPAL() {
  current() = this;
}

PRINCIPAL::~PRINCIPAL() {
  win::timers().stopAll(this);
  if (inputWatch_) qApp->removeEventFilter(inputWatch_);
  delete inputWatch_;
  if (frame_) frame_->closeAllScreens();  // while the menu they hand back still exists
  toolbar_.reset();                       // before the frame that hosts it
  frame_.reset();
  if (current() == this) current() = nullptr;
}

bool PRINCIPAL::Init() {
  lib::Globals& g = lib::G();
  g.EXT_MODULO = "CNF";
  frame_ = std::make_unique<win::MainFrame>("Configuración Hotelería");
  QMainWindow* w = frame_->window();
  w->setProperty("windowClass", "SALTMERE32");
  w->installEventFilter(new ExitGuard(this));
  g.OAPP = g.XAPPSELF = this;
  frame_->buildMenuBar = [this](QMenuBar* bar) { buildMenuBar(bar); };
  frame_->allowed = [this](int id) { return rights.Captura || !rights.GET_R_EDIT(id); };
  registerModuleScreens();
  LOAD_DEFMAIL();
  LOAD_F_SYS();
  LOAD_FONTS();
  if (!Login("Configuración Hotelería")) return false;
  recordSession(fullName);
  if (!applyPasswordAge(g.XU_COMP)) {
    Exit();
    return false;
  }
  showSplash();  // after the renewal window, which it would cover
  LOAD_TRADUCT(g.XU_COMP);
  createToolbar();
  MenuSet(0, nullptr, loginName, g.XU_COMP);
  screens::BUSINESS_ENTERED(g.XU_COMP);
  LOAD_MANEJO_TC(g.XU_COMP);
  BORRAR_TEMPS();
  QStatusBar* bar = frame_->statusBar();
  for (const char* pane : {"Ready", "INS", "NUM", "CAPS"}) bar->addPermanentWidget(new QLabel(pane));
  toolbar_->SetUser(g.XUSER_ABREVIA);
  forcedExit_.timerOwner = this;
  forcedExit_.onExpired = [this] { EXIT_LOGIN(); };
  lastInput_ = ticks();
  inputWatch_ = new InputWatch(&lastInput_);
  qApp->installEventFilter(inputWatch_);
  win::timers().start(this, kMinuteTimer, kMinuteMs, [this] { onMinute(); });
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), w);
  QObject::connect(help, &QShortcut::activated, w,
                   [this] { win::fromEventLoop([this] { showHelpTopic(frame_->editMenuId()); }); });
  LOAD_TXT_SRCH();
  return true;
}

void PRINCIPAL::createToolbar() {
  auto* strip = new QToolBar(QString::fromUtf8("MTOOLBAR"), frame_->window());
  strip->setObjectName("MTOOLBAR");
  strip->setMovable(false);
  frame_->window()->addToolBar(Qt::TopToolBarArea, strip);
  toolbar_ = std::make_unique<MTOOLBAR>(strip);
  frame_->setToolbar(toolbar_.get());
  toolbar_->loadBusinesses();
  toolbar_->SETNEGOCIO(lib::G().XU_COMP);
  toolbar_->current = lib::G().XU_COMP;
  toolbar_->user = loginName;
  toolbar_->onBusinessChosen = [this](const std::string& code) { changeBusiness(code); };
}

void PRINCIPAL::showSplash() {
  // Tests and scripts (also on the real clock): the splash screen lets events run while it paints.
  if (win::isVirtualTime() || win::Driver::installed()) return;
  QPixmap picture(420, 160);
  picture.fill(QColor(0x1F, 0x3A, 0x5F));
  QPainter p(&picture);
  p.setPen(Qt::white);
  p.setFont(QFont("Liberation Sans", 18, QFont::Bold));
  p.drawText(QRect(0, 30, 420, 40), Qt::AlignCenter, QString::fromUtf8("Configuración Hotelería"));
  p.setFont(QFont("Liberation Sans", 10));
  p.drawText(QRect(0, 80, 420, 24), Qt::AlignCenter, QString::fromUtf8("Versión 3.2.01 (30/04/2008)"));
  p.drawText(QRect(0, 110, 420, 24), Qt::AlignCenter, QString::fromStdString(fullName));
  p.end();
  splash_ = std::make_unique<QSplashScreen>(picture);
  splash_->show();
}

void PRINCIPAL::Show() {
  QMainWindow* w = frame_->window();
  const lib::Globals& g = lib::G();
  bool fade = g.XDOTRANSPARENCY == 1 && !g.XREMOTE_SESSION && !(win::isVirtualTime() || win::Driver::installed());
  if (fade) w->setWindowOpacity(0);
  w->showMaximized();
  if (fade) {
    for (int step = 0; step <= 25; ++step) {
      w->setWindowOpacity(std::max(0, step - 1) * 10 / 255.0);
      QCoreApplication::processEvents();
      QThread::msleep(1);
    }
    w->setWindowOpacity(1.0);
  }
  if (splash_) splash_->finish(w);
  splash_.reset();
}

bool PRINCIPAL::AskExit() {
  int answer = win::MESSAGE_BOX(this, win::resourceString(1, "¿Desea salir de la aplicación?"), "Cierre de Aplicación",
                                lib::MB_OKCANCEL | lib::MB_ICONQUESTION);
  if (answer != lib::IDOK) return false;
  Exit();
  return true;
}

void PRINCIPAL::Exit() {
  win::timers().stopAll(this);
  if (frame_) frame_->closeAllScreens();
  EXIT_SESSION();
  quit(0);
}

void PRINCIPAL::EXIT_LOGIN() {
  win::timers().stopAll(this);
  if (frame_) frame_->closeAllScreens();
  app::EXIT_LOGIN();
  quit(0);
}

void PRINCIPAL::quit(int code) {
  ending_ = true;
  // The dialogs still waiting for their user end with the program.
  std::vector<win::ModalDialog*> modals(win::openModals().rbegin(), win::openModals().rend());
  for (win::ModalDialog* m : modals) win::ENDDIALOG(*m, 0);
  if (onQuit) onQuit(code);
}

void PRINCIPAL::MenuSet(int screenId, win::WDIAG* screen, const std::optional<std::string>& userName,
                        const std::string& business) {
  rights.No_Neg = business.empty();
  if (!business.empty()) rights.ACT_NEG = business;
  if (userName) rights.LOAD_DERECHOS(*userName);
  frame_->MENUSET(screenId, screen, business);
}

void PRINCIPAL::DO_ACTION(const MenuEntry& entry) {
  lib::G().XID_MENU = entry.id;
  if (entry.special == Special::Exit) {
    AskExit();
    return;
  }
  if (entry.screen.empty()) {
    win::MESSAGE_BOX(this, "No hay operaciones asociadas a \"" + entry.caption + "\".", "Aviso",
                     lib::MB_OK | lib::MB_ICONINFORMATION);
    return;
  }
  openScreen({entry, *this, toolbar_ ? toolbar_->GET_NEGOCIO() : lib::G().XU_COMP});
}

void PRINCIPAL::request(int code, int marker) {
  switch (code) {
    case kCaptureOn:
    case kCaptureOff:
      if (marker != 99) return;
      rights.Captura = code == kCaptureOn;
      frame_->rebuildMenu();
      return;
    case kLockSession:
      BLOQ_SESSION();
      return;
    default:
      return;
  }
}

void PRINCIPAL::changeBusiness(const std::string& code) {
  const std::string previousName = loginName, previousFull = fullName;
  toolbar_->user.clear();
  // Until the credentials are accepted nothing restricted can be chosen.
  MenuSet(0, nullptr, std::string(20, '#'), code);
  failures = 0;
  auto init = [&](win::ModalDialog& d) {
    d.SetDlgItemText(500, previousName);
    d.SetFocusTo(501);
  };
  auto accept = [&](win::ModalDialog& d) {
    if (d.FocusedControl() == 500) {
      d.SetFocusTo(501);
      return false;
    }
    Outcome o = VERIF_CHANGE(d.GetDlgItemText(500), d.GetDlgItemText(501), code);
    if (o == Outcome::TryAgain) {
      d.SetDlgItemText(501, "");
      d.SetFocusTo(501);
      return false;
    }
    if (o != Outcome::Accepted) win::ENDDIALOG(d, 0);
    return o == Outcome::Accepted;
  };
  auto keyboard = [](win::ModalDialog&, int id, int) {
    if (id != 201) return false;
    win::openVirtualKeyboard();
    return true;
  };
  int accepted = win::DIALOG_BOX("CHANGE_NEG", nullptr, {init, accept, keyboard, {}, 0});
  lib::Globals& g = lib::G();
  if (accepted == 1) {
    // Request 2220, the toolbar's part.
    toolbar_->user = loginName;
    g.XU_COMP = code;
    rights.clearEditCache();
    MenuSet(0, nullptr, loginName, code);
    toolbar_->current = code;
    toolbar_->SETNEGOCIO(code);
    toolbar_->SetUser(g.XUSER_ABREVIA);
    screens::BUSINESS_ENTERED(code);
    LOAD_MANEJO_TC(code);
    // The main window's part: the password-age rule of the new business.
    if (!applyPasswordAge(code)) Exit();
    return;
  }
  // Request 2221: everything back as it was.
  loginName = previousName;
  fullName = previousFull;
  toolbar_->user = previousName;
  toolbar_->SETNEGOCIO(toolbar_->current);
  MenuSet(0, nullptr, loginName, toolbar_->current);
}

void PRINCIPAL::onMinute() {
  CHECK_QUIT();
  const lib::Globals& g = lib::G();
  if (ending_ || g.XMAXTIMEOUT <= 0 || g.XNO_TIMEOUT == 1 || g.XAPP_IN_MESSAGETIME == 1) return;
  if (ticks() - lastInput_ >= int64_t(g.XMAXTIMEOUT) * kMinuteMs) {
    request(kLockSession);
    lastInput_ = ticks();
  }
}

bool PRINCIPAL::BLOQ_SESSION() {
  if (frame_->window()->isMinimized()) return true;
  lib::Globals& g = lib::G();
  constexpr int kWatch = 1;
  g.XAPP_IN_MESSAGETIME = 1;
  failures = 0;
  // Leaving asks first; leaving ends the dialog with 0.
  auto askToLeave = [](win::ModalDialog& d) {
    int answer = win::MESSAGE_BOX(nullptr, "Realmente desea salir de SALTMERE?", "Advertencia",
                                  lib::MB_OKCANCEL | lib::MB_ICONWARNING);
    if (answer == lib::IDOK) return true;
    d.SetFocusTo(501);
    return false;
  };
  auto init = [&](win::ModalDialog& d) {
    d.SetDlgItemText(500, loginName);
    d.SetFocusTo(501);
    win::timers().start(&d, kWatch, kCountdownPeriodMs, [this, &d] {
      if (forcedExit_.expired()) win::ENDDIALOG(d, 2);
    });
  };
  auto accept = [&](win::ModalDialog& d) {
    if (d.FocusedControl() == 500) {
      d.SetFocusTo(501);
      return false;
    }
    Outcome o = Verif_Session(d.GetDlgItemText(500), d.GetDlgItemText(501));
    if (o == Outcome::TryAgain) {
      d.SetDlgItemText(500, loginName);  // the session's user again, whoever was typed
      d.SetDlgItemText(501, "");
      d.SetFocusTo(501);
    } else if (o != Outcome::Accepted && askToLeave(d)) {  // attempts exhausted: as the window's cancel
      win::ENDDIALOG(d, 0);
    }
    return o == Outcome::Accepted;
  };
  int result = win::DIALOG_BOX("BLOQ_SESSION", nullptr, {init, accept, {}, askToLeave, 0});
  g.XAPP_IN_MESSAGETIME = 0;
  g.XAPP_LAST_MESSAGETIME = ticks();
  if (ending_) return false;
  if (result == 2) {
    Exit();
    return false;
  }
  if (result != 1) {
    EXIT_LOGIN();
    return false;
  }
  return true;
}

void PRINCIPAL::AboutBox() {
  win::DIALOG_BOX("ACERCA_DE", nullptr,
                  {[this](win::ModalDialog& d) { d.SetDlgItemText(501, fullName); }, {}, {}, {}, 1});
}

void PRINCIPAL::ADS_xINFO() {
  const lib::Globals& g = lib::G();
  const std::string title = "Versión Advantage Database Server";
  if (g.DEF_RDD != "ADSCDX" || !g.server) {
    win::MESSAGE_BOX(this, "Servidor Advantage no disponible...", title, lib::MB_OK | lib::MB_ICONINFORMATION);
    return;
  }
  std::vector<std::string> info = g.XADS_INSTALLINFO;
  if (g.server->ADSMGCONNECT(g.XADSDIRECTORY)) {
    info = g.server->ADSMGGETINSTALLINFO();
    g.server->ADSMGDISCONNECT();
    lib::G().XADS_INSTALLINFO = info;
  }
  if (info.size() < 8) {
    win::MESSAGE_BOX(this, "Servidor Advantage no disponible...", title, lib::MB_OK | lib::MB_ICONINFORMATION);
    return;
  }
  char cache[16];
  std::snprintf(cache, sizeof cache, "%10d", g.XADSCACHERECORDS);
  win::MESSAGE_BOX(this,
                   "Sesiones: " + serverInstallInfo("sessions") + "\rServer Versión: " +
                       serverInstallInfo("server_version") + "\rLocking Scheme: Compatible\rRecord Cache: " + cache,
                   title, lib::MB_OK | lib::MB_ICONINFORMATION);
}

}  // namespace app
