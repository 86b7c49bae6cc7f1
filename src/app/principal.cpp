#include "app/principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QThread>

#include "app/session.h"
#include "app/system_params.h"
#include "app/temp_folder.h"
#include "lib/globals.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/resources.h"
#include "win/timers.h"

namespace app {

namespace {

// The close box asks before anything closes.
class ExitGuard : public QObject {
 public:
  explicit ExitGuard(PRINCIPAL* p) : p_(p) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      event->ignore();
      p_->AskExit();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  PRINCIPAL* p_;
};

}  // namespace

PRINCIPAL::PRINCIPAL() = default;
PRINCIPAL::~PRINCIPAL() = default;

bool PRINCIPAL::Init() {
  lib::Globals& g = lib::G();
  g.EXT_MODULO = "CNF";
  frame_ = std::make_unique<win::MainFrame>("Configuración Hotelería");
  QMainWindow* w = frame_->window();
  w->setProperty("windowClass", "SALTMERE32");
  w->installEventFilter(new ExitGuard(this));
  g.OAPP = g.XAPPSELF = this;
  LOAD_DEFMAIL();
  LOAD_F_SYS();
  LOAD_FONTS();
  if (login && !login()) return false;
  LOAD_TRADUCT(g.XU_COMP);
  if (afterLogin) afterLogin();
  LOAD_MANEJO_TC(g.XU_COMP);
  BORRAR_TEMPS();
  QStatusBar* bar = frame_->statusBar();
  for (const char* pane : {"Ready", "INS", "NUM", "CAPS"}) bar->addPermanentWidget(new QLabel(pane));
  LOAD_TXT_SRCH();
  return true;
}

void PRINCIPAL::Show() {
  QMainWindow* w = frame_->window();
  const lib::Globals& g = lib::G();
  bool fade = g.XDOTRANSPARENCY == 1 && !g.XREMOTE_SESSION && !win::isVirtualTime();
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
  frame_->closeAllScreens();
  EXIT_SESSION();
  if (onQuit) onQuit(0);
}

}  // namespace app
