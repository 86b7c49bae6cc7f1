#include "win/wdiag.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "lib/text.h"
#include "win/controls.h"
#include "win/dialog_log.h"
#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/resources.h"
#include "win/timers.h"

namespace win {

namespace {

using lib::upper;

std::vector<WDIAG*>& dialogs() {
  static std::vector<WDIAG*> all;
  return all;
}

std::set<WDIAG*>& adopted() {
  static std::set<WDIAG*> screens;
  return screens;
}

// Turns the close box into the Cancel command the screen decides about.
class CloseGuard : public QObject {
 public:
  explicit CloseGuard(WDIAG* d) : d_(d) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close && !d_->Executing_CloseIt) {
      event->ignore();
      WDIAG* d = d_;
      fromEventLoop([d] { d->OnCOMMAND(IDCANCEL, 0); });
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  WDIAG* d_;
};

}  // namespace

const std::vector<WDIAG*>& openDialogs() {
  return dialogs();
}

void adoptScreen(WDIAG* screen) {
  adopted().insert(screen);
}

WDIAG::WDIAG() = default;

WDIAG::~WDIAG() {
  adopted().erase(this);
  auto& all = dialogs();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  timers().stopAll(this);
  if (sub_) {
    sub_->deleteLater();
  } else if (embedded_ && window_) {
    window_->deleteLater();  // the host outlives its strips
  } else if (window_) {
    window_->window()->deleteLater();
  }
}

bool WDIAG::Init(WDIAG* parent, const std::string& dialogName, bool resizable, bool hidden) {
  TAB_VARS = {};
  fonts_.clear();
  anchors_.clear();
  pages_.clear();
  LOG_DIALOG_OPEN(dialogName);
  if (!build(parent, dialogName, resizable, MainFrame::instance() ? Placement::Mdi : Placement::TopLevel)) return false;
  if (hidden && frame()) frame()->hide();
  Executing_Init = 0;
  return true;
}

bool WDIAG::createModal(WDIAG* parent, const std::string& dialogName) {
  LOG_DIALOG_OPEN(dialogName);
  bool ok = build(parent, dialogName, false, Placement::Modal);
  Executing_Init = 0;
  return ok;
}

bool WDIAG::createTopLevel(WDIAG* parent, const std::string& dialogName) {
  LOG_DIALOG_OPEN(dialogName);
  bool ok = build(parent, dialogName, false, Placement::TopLevel);
  Executing_Init = 0;
  return ok;
}

bool WDIAG::createEmbedded(QWidget* host, const std::string& dialogName) {
  bool ok = build(nullptr, dialogName, false, Placement::Embedded, host);
  Executing_Init = 0;
  return ok;
}

bool WDIAG::build(WDIAG* parent, const std::string& dialogName, bool resizable, Placement placement, QWidget* host) {
  const bool modal = placement == Placement::Modal;
  Executing_Init = 1;
  items_.clear();
  xItems.clear();
  oParent = parent;
  modal_ = modal;
  cDlgName = cIniEntry = upper(dialogName);
  template_ = resources().dialog(dialogName);
  if (!template_) {
    MESSAGE_BOX(this, resourceString(212, "No se encuentra el diálogo: ") + dialogName,
                resourceString(208, "Diálogo no encontrado"), 48);
    Executing_Init = 0;
    return false;
  }
  MainFrame* frame = MainFrame::instance();
  if (placement == Placement::Embedded) {
    embedded_ = true;
    window_ = new DialogWindow(*template_, host);
    window_->setFixedSize(window_->size());
  } else if (placement != Placement::Mdi || !frame) {
    auto* dlg = new QDialog(frame ? static_cast<QWidget*>(frame->window()) : nullptr, modal ? Qt::Dialog : Qt::Window);
    dlg->setModal(modal);
    window_ = new DialogWindow(*template_, dlg);
    auto* layout = new QVBoxLayout(dlg);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(window_);
    dlg->setWindowTitle(window_->windowTitle());
    dlg->setFixedSize(window_->size());
    dlg->installEventFilter(new CloseGuard(this));
    dlg->setObjectName(QString::fromStdString(cDlgName));
  } else {
    window_ = new DialogWindow(*template_);
    for (int attempt = 0; attempt < 10 && !sub_; ++attempt) sub_ = frame->mdiArea()->addSubWindow(window_);
    if (!sub_) {
      MESSAGE_BOX(this, "Error creating dialog: " + cDlgName, "Error", 16);
      delete window_;
      window_ = nullptr;
      Executing_Init = 0;
      return false;
    }
    sub_->setObjectName(QString::fromStdString(cDlgName));
    sub_->setWindowTitle(window_->windowTitle());
    sub_->setAttribute(Qt::WA_DeleteOnClose, false);
    sub_->installEventFilter(new CloseGuard(this));
    const QSize designed = window_->size();
    if (!resizable) {
      sub_->setWindowFlags(sub_->windowFlags() & ~Qt::WindowMaximizeButtonHint);
      window_->setFixedSize(designed);
    } else {
      window_->setMinimumSize(designed);
    }
    sub_->adjustSize();  // the frame around the dialog's own size
    if (resizable) window_->setMinimumSize(designed / 2);
    sub_->move(0, 0);
  }
  window_->onCommand = [this](int id, int code) { fromEventLoop([=, this] { routeCommand(id, code); }); };
  window_->onResize = [this] { fromEventLoop([this] { OnSIZE(window_->width(), window_->height()); }); };
  window_->onKey = [this](int id, int key) { fromEventLoop([=, this] { OnUSERKEY(id, key); }); };
  if (!embedded_) dialogs().push_back(this);
  return true;
}

void WDIAG::CREATE(const std::string& dialogName) {
  if (!window_) return;
  if (!dialogName.empty()) cDlgName = upper(dialogName);
  if (sub_) {
    sub_->show();
    if (MainFrame* frame = MainFrame::instance()) frame->mdiArea()->setActiveSubWindow(sub_);
    sub_->raise();
  }
  window_->setFocus();
  if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) e->deselect();
  // The first activation, posted: SHOW_MENU runs once the screen exists.
  QTimer::singleShot(0, window_, [this] { fromEventLoop([this] { activated(1); }); });
}

void WDIAG::ADD_BUTTON(int id, std::function<void()> pressed) {
  ADD(std::make_unique<WPUSHBUTTON>(this, id), [pressed = std::move(pressed)](WDIAG&, WCONTROL&, int) {
    pressed();
    return 1;
  });
}

void WDIAG::ADD(WCONTROL* control, CommandCallback onCommand, CheckCallback valid, CheckCallback when) {
  if (!control) return;
  items_.push_back({control, std::move(onCommand), std::move(valid), std::move(when)});
  xItems.push_back(0);
}

WCONTROL* WDIAG::registered(int id) const {
  for (const auto& r : items_)
    if (r.control->id() == id) return r.control;
  return nullptr;
}

void WDIAG::routeCommand(int id, int notification) {
  if (Executing_Init || Executing_CloseIt || Executing_Eval) return;
  OnCOMMAND(id, notification);
}

bool WDIAG::RUN_CALLBACK(int id, int notification, int& result) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].control->id() != id || !items_[i].onCommand) continue;
    result = 0;
    if (xItems[i]) return true;  // its operation is still running
    xItems[i] = 1;
    try {
      result = items_[i].onCommand(*this, *items_[i].control, notification);
    } catch (...) {
      if (i < xItems.size()) xItems[i] = 0;
      throw;
    }
    if (i < xItems.size()) xItems[i] = 0;
    return true;
  }
  return false;
}

int WDIAG::OnCOMMAND(int id, int notification) {
  if (Executing_Init || Executing_CloseIt || Executing_Eval) return 0;
  if (int result = 0; RUN_CALLBACK(id, notification, result)) return result;
  if (notification != 0) return 0;
  if (id == IDOK || ((id == IDCANCEL || id == IDABORT) && !lNoCancel)) ENDDIALOG();
  return 0;
}

void WDIAG::OnSIZE(int, int) {
  ONSIZE();
}

void WDIAG::ENDDIALOG() {
  if (Executing_Init || Executing_CloseIt || !window_) return;
  Executing_CloseIt = 1;
  lDestroyed = true;
  destroyWindow();
}

void WDIAG::SHOW_MENU() {
  if (MainFrame* frame = MainFrame::instance()) frame->MENUSET(0, this);
}

void WDIAG::activated(int argument) {
  if (!window_ || lDestroyed) return;
  if (argument == 1 || argument == 2) {
    MainFrame* frame = MainFrame::instance();
    if (!frame || !frame->constructingMenu()) SHOW_MENU();
    active_ = true;
  } else {
    active_ = false;
  }
}

void WDIAG::destroyWindow() {
  MainFrame* frame = MainFrame::instance();
  // 1. The next active child is the one below this in z-order.
  QMdiSubWindow* next = nullptr;
  if (sub_ && frame) {
    QList<QMdiSubWindow*> order = frame->mdiArea()->subWindowList(QMdiArea::StackingOrder);
    int at = int(order.indexOf(sub_));
    for (int i = int(order.size()) - 1; i >= 0; --i) {
      if (i == at || !order[i]->isVisible()) continue;
      if (at >= 0 && i > at) continue;  // windows above it were not "next"
      next = order[i];
      break;
    }
    if (!next)
      for (QMdiSubWindow* w : order)
        if (w != sub_ && w->isVisible()) next = w;
  }
  auto& all = dialogs();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
  // 2. The dialog base: the menu, then the controls, then the next child, then the screen.
  if (!frame || !frame->constructingMenu()) HIDE_MENU();
  timers().stopAll(this);
  TAB_VARS = {};
  fonts_.clear();
  anchors_.clear();
  items_.clear();
  xItems.clear();
  if (sub_) {
    sub_->hide();
    frame->mdiArea()->removeSubWindow(sub_);
    sub_->deleteLater();
    sub_ = nullptr;
    window_ = nullptr;
  } else if (window_) {
    QWidget* top = window_->window();
    top->hide();
    top->deleteLater();
    window_ = nullptr;
  }
  if (frame && next) frame->mdiArea()->setActiveSubWindow(next);
  if (editorOf_) {
    WDIAG* list = editorOf_;
    editorOf_ = nullptr;
    if (std::find(all.begin(), all.end(), list) != all.end()) {
      list->EnableWindow(true);
      list->BringToTop();
    }
  }
  OnNCDESTROY();
  if (adopted().count(this)) {
    adopted().erase(this);
    WDIAG* self = this;
    QTimer::singleShot(0, [self] { delete self; });
  }
}

void WDIAG::SetTimer(int id, int periodMs) {
  timers().start(this, id, periodMs, [this, id] { OnTIMER(id); });
}

void WDIAG::KillTimer(int id) {
  timers().stop(this, id);
}

QWidget* WDIAG::frame() const {
  if (sub_) return sub_;
  if (embedded_) return window_;
  return window_ ? window_->window() : nullptr;
}

bool WDIAG::HasControl(int id) const {
  return window_ && window_->control(id);
}

std::string WDIAG::GetDlgItemText(int id) const {
  if (!window_) return {};
  QWidget* w = window_->control(id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText().toStdString();  // a multi-line edit
  if (w) return w->property("text").toString().toStdString();
  return {};
}

void WDIAG::SetDlgItemText(int id, const std::string& text) {
  if (!window_) return;
  QWidget* w = window_->control(id);
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setText(QString::fromStdString(text));
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    p->setPlainText(QString::fromStdString(text));
  else if (w)
    w->setProperty("text", QString::fromStdString(text));
}

bool WDIAG::IsDlgButtonChecked(int id) const {
  QWidget* w = window_ ? window_->control(id) : nullptr;
  return w && w->property("checked").toBool();
}

void WDIAG::CheckDlgButton(int id, bool checked) {
  QWidget* w = window_ ? window_->control(id) : nullptr;
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    setButtonChecked(b, checked);
  else if (w)
    w->setProperty("checked", checked);
}

void WDIAG::EnableItem(int id, bool enabled) {
  if (QWidget* w = window_ ? window_->control(id) : nullptr) w->setEnabled(enabled);
}

void WDIAG::ShowItem(int id, bool visible) {
  if (QWidget* w = window_ ? window_->control(id) : nullptr) w->setVisible(visible);
}

void WDIAG::SetFocusTo(int id) {
  if (QWidget* w = window_ ? window_->control(id) : nullptr) w->setFocus();
}

int WDIAG::FocusedControl() const {
  QWidget* f = QApplication::focusWidget();
  if (!window_ || !f) return 0;
  for (const auto& [id, w] : window_->controls())
    if (w == f || w->isAncestorOf(f)) return id;
  return 0;
}

void WDIAG::EnableWindow(bool enabled) {
  if (QWidget* f = frame()) f->setEnabled(enabled);
}

void WDIAG::Minimize(bool minimized) {
  if (QWidget* f = frame())
    f->setWindowState(minimized ? (f->windowState() | Qt::WindowMinimized) : (f->windowState() & ~Qt::WindowMinimized));
}

void WDIAG::BringToTop() {
  if (sub_) {
    sub_->raise();
    if (MainFrame* frame = MainFrame::instance()) frame->mdiArea()->setActiveSubWindow(sub_);
  } else if (QWidget* f = frame()) {
    f->raise();
    f->activateWindow();
  }
}

void WDIAG::SetCaption(const std::string& caption) {
  if (QWidget* f = frame()) f->setWindowTitle(QString::fromStdString(caption));
}

std::string WDIAG::Caption() const {
  QWidget* f = frame();
  return f ? f->windowTitle().toStdString() : std::string();
}

void WDIAG::EDITOR_OF(WDIAG* list) {
  editorOf_ = list;
  if (list) list->EnableWindow(false);
}

}  // namespace win
