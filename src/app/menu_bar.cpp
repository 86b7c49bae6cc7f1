// The main window's menu bar: "&Archivo", "Editar" (the active screen's entries), the
// module's pop-ups, "Ventanas" and "Acerca de". Every entry carries its rights identifier
// (or an automatic id from 30001 on), is greyed when the user lacks the right and shows
// the capture mark while rights are being designed.
#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "app/principal.h"
#include "app/screens.h"
#include "lib/globals.h"
#include "win/entry.h"
#include "win/main_frame.h"

namespace app {

namespace {

constexpr int kFirstAutomaticId = 30001;

// Right-clicks on menu entries go to the main window while rights are captured, or for a
// supervisor.
class RightClickFilter : public QObject {
 public:
  RightClickFilter(QMenu* menu, PRINCIPAL* p) : QObject(menu), menu_(menu), p_(p) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::MouseButtonPress)
      return QObject::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::RightButton) return QObject::eventFilter(watched, event);
    if (!p_->rights.Captura && lib::G().XSUPERACCESS != 1) return QObject::eventFilter(watched, event);
    QAction* a = menu_->actionAt(mouse->position().toPoint());
    if (!a || a->menu() || !a->data().isValid()) return true;
    if (event->type() == QEvent::MouseButtonRelease) p_->menuRightClick(a->data().toInt());
    return true;
  }

 private:
  QMenu* menu_;
  PRINCIPAL* p_;
};

// The minimised screens in a row along the bottom of the document area.
void arrangeIcons(QMdiArea* area) {
  int x = 0;
  for (QMdiSubWindow* w : area->subWindowList()) {
    if (!w->isMinimized()) continue;
    w->move(x, area->viewport()->height() - w->height());
    x += w->width();
  }
}

}  // namespace

void PRINCIPAL::buildMenuBar(QMenuBar* bar) {
  int automatic = kFirstAutomaticId;
  auto watched = [this](QMenu* m) {
    m->installEventFilter(new RightClickFilter(m, this));
    return m;
  };
  auto plain = [&](QMenu* m, const char* caption, std::function<void()> action) {
    QAction* a = m->addAction(QString::fromUtf8(caption));
    frame_->registerAction(automatic++, a);
    QObject::connect(a, &QAction::triggered, frame_->window(),
                     [action = std::move(action)] { win::fromEventLoop(action); });
  };
  const std::vector<MenuEntry>& menus = moduleMenu();
  addEntries(watched(bar->addMenu(QString::fromStdString(menus.front().caption))), menus.front().submenu, automatic);
  frame_->fillEditMenu(bar->addMenu(QString::fromUtf8("Editar")));
  for (size_t i = 1; i < menus.size(); ++i)
    addEntries(watched(bar->addMenu(QString::fromStdString(menus[i].caption))), menus[i].submenu, automatic);
  QMdiArea* area = frame_->mdiArea();
  QMenu* windows = bar->addMenu(QString::fromUtf8("Ventanas"));
  plain(windows, "Cascada", [area] { area->cascadeSubWindows(); });
  plain(windows, "Comparativo", [area] { area->tileSubWindows(); });
  plain(windows, "Acomodar Iconos", [area] { arrangeIcons(area); });
  plain(windows, "Cerrar Todos", [this] { frame_->closeAllScreens(); });
  QMenu* about = bar->addMenu(QString::fromUtf8("Acerca de"));
  plain(about, "Acerca &de", [this] { AboutBox(); });
  plain(about, "ADS Config.", [this] { ADS_xINFO(); });
}

void PRINCIPAL::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries, int& automatic) {
  for (const MenuEntry& e : entries) {
    if (e.caption.empty()) {
      menu->addSeparator();
      continue;
    }
    if (e.isMenu()) {
      QMenu* sub = menu->addMenu(QString::fromStdString(e.caption));
      sub->installEventFilter(new RightClickFilter(sub, this));
      addEntries(sub, e.submenu, automatic);
      continue;
    }
    QAction* a = menu->addAction(QString::fromStdString(e.caption));
    int id = e.id ? e.id : automatic++;
    frame_->registerAction(id, a);
    bool checked = rights.GET_CHECKS(id);
    a->setCheckable(rights.Captura || checked);
    a->setChecked(checked);
    a->setEnabled(rights.Captura || !rights.GET_R_EDIT(id));
    const MenuEntry* entry = &e;  // the module menu lives as long as the program
    QObject::connect(a, &QAction::triggered, frame_->window(), [this, entry, a, id] {
      if (a->isCheckable()) a->setChecked(rights.GET_CHECKS(id));  // only right-clicks change marks
      win::fromEventLoop([this, entry] { DO_ACTION(*entry); });
    });
  }
}

void PRINCIPAL::menuRightClick(int id) {
  if (rights.Captura) {
    if (id < kFirstRight || id > kLastRight) return;
    bool mark = !rights.GET_CHECKS(id);
    rights.setCheck(id, mark);
    if (QAction* a = frame_->action(id)) {
      a->setCheckable(true);
      a->setChecked(mark);
    }
    return;
  }
  if (lib::G().XSUPERACCESS != 1) return;
  MenuEntry logViewer;
  QAction* a = frame_->action(id);
  logViewer.caption = a ? a->text().toStdString() : "";
  logViewer.screen = "LOG_DIAG";
  logViewer.id = id;  // the viewer shows the openings of this menu id
  openScreen({logViewer, *this, lib::G().XU_COMP});
}

}  // namespace app
