#include "win/main_frame.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "win/entry.h"
#include "win/wdiag.h"

namespace win {

namespace {

MainFrame*& current() {
  static MainFrame* frame = nullptr;
  return frame;
}

std::map<int, std::vector<EditEntry>>& editMenus() {
  static std::map<int, std::vector<EditEntry>> menus;
  return menus;
}

bool stillOpen(WDIAG* d) {
  const auto& all = openDialogs();
  return d && std::find(all.begin(), all.end(), d) != all.end();
}

}  // namespace

void registerEditMenu(int menuId, std::vector<EditEntry> entries) {
  editMenus()[menuId] = std::move(entries);
}

const std::vector<EditEntry>* editMenuEntries(int menuId) {
  auto it = editMenus().find(menuId);
  return it == editMenus().end() ? nullptr : &it->second;
}

MainFrame::MainFrame(const std::string& title) : window_(new QMainWindow), mdi_(new QMdiArea) {
  current() = this;
  window_->setWindowTitle(QString::fromStdString(title));
  window_->setObjectName("PRINCIPAL");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setBackground(QBrush(QColor(0x80, 0x80, 0x80)));
  window_->setCentralWidget(mdi_);
  QObject::connect(mdi_, &QMdiArea::subWindowActivated, window_, [this](QMdiSubWindow* sub) { onActivated(sub); });
  rebuildMenu();
}

MainFrame::~MainFrame() {
  buildMenuBar = nullptr;  // whoever built the menu may be gone already
  closeAllScreens();
  if (current() == this) current() = nullptr;
  delete window_;
}

MainFrame* MainFrame::instance() {
  return current();
}

void MainFrame::onActivated(void* subPtr) {
  auto* sub = static_cast<QMdiSubWindow*>(subPtr);
  WDIAG* now = nullptr;
  for (WDIAG* d : openDialogs())
    if (sub && d->frame() == sub) now = d;
  WDIAG* before = lastActive_;
  lastActive_ = now;
  if (before == now) return;
  // The dialogs hear of it through their private activation message, posted.
  QTimer::singleShot(0, window_, [before, now] {
    fromEventLoop([&] {
      if (stillOpen(before)) before->activated(0);
      if (stillOpen(now)) now->activated(1);
    });
  });
}

void MainFrame::MENUSET(int menuId, WDIAG* screen, const std::string&) {
  editMenuId_ = menuId;
  editScreen_ = menuId == 0 ? nullptr : screen;
  rebuildMenu();
}

void MainFrame::rebuildMenu() {
  constructing_ = true;
  QMenuBar* bar = window_->menuBar();
  bar->clear();
  actions_.clear();
  if (buildMenuBar) {
    buildMenuBar(bar);
  } else {
    fillEditMenu(bar->addMenu(QString::fromUtf8("&Editar")));
  }
  constructing_ = false;
}

void MainFrame::fillEditMenu(QMenu* menu) {
  const std::vector<EditEntry>* entries = editScreen_ ? editMenuEntries(editMenuId_) : nullptr;
  if (!entries || entries->empty()) {
    QAction* none = menu->addAction(QString::fromUtf8("No hay operaciones asociadas"));
    none->setEnabled(false);
    return;
  }
  WDIAG* screen = editScreen_;
  for (const EditEntry& e : *entries) {
    if (e.caption.empty()) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(QString::fromStdString(e.caption));
    a->setEnabled(allowed(e.id));
    auto action = e.action;
    QObject::connect(a, &QAction::triggered, window_, [screen, action] {
      fromEventLoop([&] {
        if (stillOpen(screen)) action(*screen);
      });
    });
    if (e.id) registerAction(e.id, a);
  }
}

void MainFrame::registerAction(int id, QAction* a) {
  a->setData(id);
  actions_[id] = a;
}

QAction* MainFrame::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

int MainFrame::actionId(const std::string& caption) const {
  auto bare = [](QString s) { return s.remove('&'); };
  for (const auto& [id, a] : actions_)
    if (bare(a->text()) == bare(QString::fromStdString(caption))) return id;
  return 0;
}

bool MainFrame::chooseMenu(int id) {
  QAction* a = action(id);
  if (!a || !a->isEnabled()) return false;
  a->trigger();
  return true;
}

WDIAG* MainFrame::activeScreen() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  for (WDIAG* d : openDialogs())
    if (sub && d->frame() == sub) return d;
  return nullptr;
}

void MainFrame::EnableWindow(bool enabled) {
  window_->menuBar()->setEnabled(enabled);
  mdi_->setEnabled(enabled);
  if (toolbar_) toolbar_->EnableWindow(enabled);
}

bool MainFrame::windowEnabled() const {
  return mdi_->isEnabled();
}

void MainFrame::closeAllScreens() {
  std::vector<WDIAG*> all(openDialogs().rbegin(), openDialogs().rend());
  for (WDIAG* d : all)
    if (stillOpen(d) && !d->modal()) d->ENDDIALOG();
}

QStatusBar* MainFrame::statusBar() const {
  return window_->statusBar();
}

}  // namespace win
