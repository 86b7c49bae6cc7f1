#include "win/driver.h"

#include <cstdio>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "lib/globals.h"
#include "win/browse.h"
#include "win/browse_internal.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/timers.h"
#include "win/wdiag.h"

namespace win {

namespace {

bool& isInstalled() {
  static bool v = false;
  return v;
}

QEventLoop*& runLoop() {
  static QEventLoop* loop = nullptr;
  return loop;
}

// Records message boxes and answers them from the driver's queue.
class DriverSink : public lib::MessageSink {
 public:
  int show(const std::string& text, const std::string& title, int flags) override {
    return Driver::instance().answerFor(text, title, flags);
  }
};

void sendKey(QWidget* w, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

void focus(QWidget* w) {
  w->setFocus(Qt::OtherFocusReason);
  QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
  QApplication::sendEvent(w, &in);
}

}  // namespace

Driver& Driver::instance() {
  static Driver d;
  return d;
}

bool Driver::installed() {
  return isInstalled();
}

void Driver::install(bool realTime) {
  isInstalled() = true;
  if (!realTime) useVirtualTime();
  lib::G().messages = std::make_unique<DriverSink>();
}

int Driver::answerFor(const std::string& text, const std::string& title, int flags) {
  int a = firstButton(flags);
  if (!answers_.empty()) {
    a = answers_.front();
    answers_.erase(answers_.begin());
  }
  messages_.push_back({text, title, flags, a, false});
  if (onMessage) onMessage(messages_.back());
  return a;
}

void Driver::answer(int button) {
  answers_.push_back(button);
}

RecordedMessage* Driver::nextUnchecked() {
  for (auto& m : messages_)
    if (!m.checked) return &m;
  return nullptr;
}

WDIAG* Driver::active() const {
  const auto& modals = openModals();
  if (!modals.empty()) return modals.back();
  // A window of our own outside the document area (the progress window) is on top.
  for (auto it = openDialogs().rbegin(); it != openDialogs().rend(); ++it) {
    WDIAG* d = *it;
    if (d->frame() && d->frame()->isWindow() && d->frame()->isVisible()) return d;
  }
  MainFrame* frame = MainFrame::instance();
  return frame ? frame->activeScreen() : nullptr;
}

std::string Driver::activeName() const {
  WDIAG* a = active();
  return a ? a->cDlgName : (MainFrame::instance() ? "PRINCIPAL" : "");
}

bool Driver::chooseMenu(int id) {
  MainFrame* frame = MainFrame::instance();
  QCoreApplication::sendPostedEvents();
  return frame && frame->chooseMenu(id);
}

QWidget* Driver::control(int id) const {
  WDIAG* a = active();
  if (!a && MainFrame::instance()) a = MainFrame::instance()->toolbar();
  return a && a->window() ? a->window()->control(id) : nullptr;
}

bool Driver::hasControl(int id) const {
  return control(id) != nullptr;
}

void Driver::setText(int id, const std::string& text) {
  QWidget* w = control(id);
  typingIn_ = nullptr;
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    focus(e);
    e->selectAll();
    e->insert(QString::fromStdString(text));  // as typing does: textEdited, modified
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    p->setPlainText(QString::fromStdString(text));
  } else if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable()) {
    c->setEditText(QString::fromStdString(text));
  }
}

void Driver::type(int id, const std::string& text) {
  QWidget* w = control(id);
  if (!w) return;
  // A user who goes on typing in the same field does not click into it again.
  if (w != typingIn_) focus(w);
  typingIn_ = w;
  for (QChar ch : QString::fromStdString(text)) {
    int key = ch.isLetterOrNumber() ? ch.toUpper().unicode() : ch.unicode();
    sendKey(w, key, QString(ch));
  }
}

namespace {
WBLISTBOX* findGrid(const Driver& driver, int id);
}  // namespace

void Driver::key(int id, int qtKey) {
  if (WBLISTBOX* g = findGrid(*this, id)) {  // a grid takes the key as typed into it
    g->PressKey(qtKey);
    return;
  }
  if (QWidget* w = control(id)) sendKey(w, qtKey, qtKey == Qt::Key_Return ? "\r" : "");
}

namespace {

// A click on entry `row`: in a list that toggles its entries (multiple selection) the entry
// changes its selection; in a list of several choices it is added, as a control-click; in a
// list of one choice it becomes the selected one.
void clickListEntry(QListWidget* l, int row) {
  if (l->selectionMode() == QAbstractItemView::MultiSelection) {
    QListWidgetItem* item = l->item(row);
    l->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    item->setSelected(!item->isSelected());
    return;
  }
  if (l->selectionMode() == QAbstractItemView::SingleSelection)
    l->setCurrentRow(row);
  else
    l->setCurrentRow(row, QItemSelectionModel::Select);
}

}  // namespace

bool Driver::select(int id, const std::string& value) {
  QWidget* w = control(id);
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    int i = c->findData(QString::fromStdString(value));
    if (i < 0) return false;
    c->setCurrentIndex(i);
    emit c->activated(i);
    return true;
  }
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    for (int i = 0; i < l->count(); ++i)
      if (l->item(i)->data(Qt::UserRole).toString().toStdString() == value) {
        clickListEntry(l, i);
        return true;
      }
  }
  return false;
}

bool Driver::selectText(int id, const std::string& text) {
  QWidget* w = control(id);
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    int i = c->findText(QString::fromStdString(text));
    if (i < 0) return false;
    c->setCurrentIndex(i);
    emit c->activated(i);
    return true;
  }
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    auto found = l->findItems(QString::fromStdString(text), Qt::MatchExactly);
    if (found.isEmpty()) return false;
    clickListEntry(l, l->row(found.front()));
    return true;
  }
  return false;
}

void Driver::check(int id, bool on) {
  auto* b = qobject_cast<QAbstractButton*>(control(id));
  if (!b || !b->isEnabled()) return;
  if (qobject_cast<QRadioButton*>(b)) {
    if (on) b->click();
    return;
  }
  if (b->isChecked() != on) b->click();
}

void Driver::press(int id) {
  WDIAG* a = active();
  QWidget* w = control(id);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    if (b->isEnabled() && b->isVisible()) b->click();
    return;
  }
  // Ids 1 and 2 work without a button of that id, as Enter and Escape do.
  if (a && !w && (id == IDOK || id == IDCANCEL)) fromEventLoop([a, id] { a->OnCOMMAND(id, 0); });
}

void Driver::rightClick(int id) {
  QWidget* w = control(id);
  if (!w) return;
  QWidget* target = w;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) target = area->viewport();
  QPointF at(target->width() / 2.0, target->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

bool Driver::clickTree(int id, const std::string& text) {
  auto* t = qobject_cast<QTreeWidget*>(control(id));
  if (!t) return false;
  for (QTreeWidgetItemIterator it(t); *it; ++it) {
    QTreeWidgetItem* item = *it;
    if (item->text(0).toStdString() == text || item->data(0, Qt::UserRole).toString().toStdString() == text) {
      t->setCurrentItem(item);
      emit t->itemClicked(item, 0);
      return true;
    }
  }
  return false;
}

bool Driver::tab(const std::string& page) {
  WDIAG* a = active();
  auto* bar = a && a->window() ? a->window()->findChild<QTabBar*>("tabs") : nullptr;
  if (!bar) return false;
  int index = -1;
  for (int i = 0; i < bar->count(); ++i)
    if (bar->tabText(i).toStdString() == page) index = i;
  if (index < 0) {
    char* end = nullptr;
    long n = std::strtol(page.c_str(), &end, 10);
    if (end && *end == '\0' && n >= 1 && n <= bar->count()) index = int(n) - 1;
  }
  if (index < 0) return false;
  emit bar->tabBarClicked(index);
  return true;
}

bool Driver::treeMenu(int id, const std::string& caption) {
  auto* t = qobject_cast<QTreeWidget*>(control(id));
  WDIAG* a = active();
  if (!t || !a) return false;
  for (const QVariant& entry : t->property("treeMenu").toList()) {
    const QVariantList e = entry.toList();
    if (e.size() == 2 && e[1].toString().toStdString() == caption) {
      fromEventLoop([a, cid = e[0].toInt()] { a->OnCOMMAND(cid, 0); });
      return true;
    }
  }
  return false;
}

std::string Driver::text(int id) const {
  QWidget* w = control(id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText().toStdString();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex() < 0 ? "" : c->currentText().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  if (auto* lw = qobject_cast<QListWidget*>(w)) return lw->currentItem() ? lw->currentItem()->text().toStdString() : "";
  if (!w && id == 0) {
    WDIAG* a = active();
    return a ? a->Caption() : "";
  }
  return {};
}

bool Driver::checked(int id) const {
  auto* b = qobject_cast<QAbstractButton*>(control(id));
  return b && b->isChecked();
}

bool Driver::enabled(int id) const {
  QWidget* w = control(id);
  return w && w->isEnabled();
}

std::vector<std::string> Driver::items(int id) const {
  std::vector<std::string> out;
  QWidget* w = control(id);
  if (auto* c = qobject_cast<QComboBox*>(w))
    for (int i = 0; i < c->count(); ++i) out.push_back(c->itemText(i).toStdString());
  if (auto* l = qobject_cast<QListWidget*>(w))
    for (int i = 0; i < l->count(); ++i) out.push_back(l->item(i)->text().toStdString());
  if (auto* t = qobject_cast<QTreeWidget*>(w))
    for (QTreeWidgetItemIterator it(t); *it; ++it) out.push_back((*it)->text(0).toStdString());
  return out;
}

void Driver::advance(int64_t ms) {
  if (!isVirtualTime()) {
    // On the real clock: the time passes, with the program's timers and events running.
    QEventLoop wait;
    QTimer::singleShot(int(std::max<int64_t>(0, ms)), &wait, &QEventLoop::quit);
    wait.exec();
    return;
  }
  win::advance(ms);
}

void Driver::minimize(bool minimized) {
  WDIAG* a = active();
  if (!a) return;
  a->Minimize(minimized);
  QCoreApplication::processEvents();
}

bool Driver::screenshot(const std::string& path) const {
  QCoreApplication::processEvents();
  MainFrame* frame = MainFrame::instance();
  QWidget* target = nullptr;
  const auto& modals = openModals();
  if (!modals.empty() && modals.back()->frame())
    target = modals.back()->frame();
  else if (frame)
    target = frame->window();
  else if (WDIAG* a = active())
    target = a->frame();
  if (!target) return false;
  QPixmap shot = target->grab();
  if (frame && target == frame->window()) {
    // Windows of our own over the main window (the progress window) are in the picture
    // where they stand, or centred when they stand outside it.
    QPainter painter(&shot);
    for (WDIAG* dialog : openDialogs()) {
      QWidget* own = dialog->frame();
      if (!own || own == target || !own->isWindow() || !own->isVisible() || dialog->modal()) continue;
      QPoint at = own->mapToGlobal(QPoint(0, 0)) - target->mapToGlobal(QPoint(0, 0));
      if (!shot.rect().contains(QRect(at, own->size())))
        at = QPoint((shot.width() - own->width()) / 2, (shot.height() - own->height()) / 2);
      painter.drawPixmap(at, own->grab());
    }
  }
  return shot.save(QString::fromStdString(path), "PNG");
}

void Driver::closeActive() {
  if (WDIAG* a = active()) {
    fromEventLoop([a] { a->OnCOMMAND(IDCANCEL, 0); });
  } else if (MainFrame* frame = MainFrame::instance()) {
    frame->window()->close();  // the main window asks before it closes
  }
}

int Driver::resolve(const std::string& named) const {
  if (named.size() < 2 || named[0] != '@') {
    char* end = nullptr;
    long v = std::strtol(named.c_str(), &end, 10);
    return end && *end == '\0' && !named.empty() ? int(v) : -1;
  }
  std::string label = named.substr(1);
  if (label.size() >= 2 && label.front() == '"' && label.back() == '"') label = label.substr(1, label.size() - 2);
  WDIAG* a = active();
  if (!a || !a->dialogTemplate()) return -1;
  auto bare = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    while (!s.empty() && (s.back() == ':' || s.back() == ' ')) s.pop_back();
    return s;
  };
  std::string want = bare(label);
  std::vector<const DialogTemplate*> templates = a->pageTemplates();
  templates.insert(templates.begin(), a->dialogTemplate());
  for (const DialogTemplate* t : templates) {
    if (!t) continue;
    const auto& controls = t->controls;
    for (size_t i = 0; i < controls.size(); ++i) {
      const ControlTemplate& c = controls[i];
      if (bare(c.text) != want) continue;
      if (c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton)
        return c.id;
      if (c.kind == ControlKind::Static && i + 1 < controls.size()) return controls[i + 1].id;
    }
  }
  return -1;
}

// ---------------------------------------------------------------------------------------
// Browse grids.

namespace {

WBLISTBOX* gridOn(WDIAG* d, int id) {
  return d && d->window() ? WBLISTBOX::of(d->window()->control(id)) : nullptr;
}

WBLISTBOX* findGrid(const Driver& driver, int id) {
  if (WBLISTBOX* g = gridOn(driver.active(), id)) return g;
  if (MainFrame* frame = MainFrame::instance())
    if (WBLISTBOX* g = gridOn(frame->activeScreen(), id)) return g;
  for (auto it = openDialogs().rbegin(); it != openDialogs().rend(); ++it)
    if (WBLISTBOX* g = gridOn(*it, id)) return g;
  return nullptr;
}

}  // namespace

std::vector<std::vector<std::string>> Driver::gridRows(int id) const {
  WBLISTBOX* g = findGrid(*this, id);
  return g ? g->VisibleRows() : std::vector<std::vector<std::string>>{};
}

std::string Driver::gridCell(int id, int row, const std::string& column) const {
  WBLISTBOX* g = findGrid(*this, id);
  int pos = g ? g->FindColumn(column) : 0;
  return pos && row > 0 ? g->CellText(uint32_t(row), pos) : std::string();
}

std::string Driver::gridRowColor(int id, int row) const {
  WBLISTBOX* g = findGrid(*this, id);
  if (!g || row < 1 || uint32_t(row) > g->nMaxRec) return "";
  const std::optional<uint32_t> c = g->RowColor(uint32_t(row));
  if (!c) return "none";
  char text[8];
  std::snprintf(text, sizeof text, "%06X", unsigned(*c));
  return text;
}

int Driver::gridCount(int id) const {
  WBLISTBOX* g = findGrid(*this, id);
  if (!g) return -1;
  g->VisibleRows();  // corrections found while drawing come in first
  return int(g->nMaxRec);
}

bool Driver::gridRow(int id, int row) {
  WBLISTBOX* g = findGrid(*this, id);
  return g && row > 0 && g->GoToRow(uint32_t(row));
}

bool Driver::gridSeek(int id, const std::string& key) {
  WBLISTBOX* g = findGrid(*this, id);
  if (!g) return false;
  const BrowseCargo& c = g->cargo();
  return seekAsFirstLine(*g, c.searchPrefix + c.scopeLow.value_or("") + c.scopeSuffix + key);
}

bool Driver::gridType(int id, const std::string& text) {
  WBLISTBOX* g = findGrid(*this, id);
  if (!g) return false;
  typingIn_ = nullptr;
  g->TypeKeys(text);
  return true;
}

bool Driver::gridHeader(int id, const std::string& column) {
  WBLISTBOX* g = findGrid(*this, id);
  int pos = g ? g->FindColumn(column) : 0;
  if (!pos) return false;
  g->ClickHeader(pos);
  return true;
}

bool Driver::gridMenu(int id, const std::string& caption) {
  WBLISTBOX* g = findGrid(*this, id);
  return g && g->ChooseMenu(caption);
}

void Driver::run(std::vector<std::function<void()>> steps) {
  steps_ = std::move(steps);
  next_ = 0;
  stopped_ = false;
  running_ = true;
  QEventLoop loop;
  runLoop() = &loop;
  scheduleNext();
  loop.exec();
  runLoop() = nullptr;
  running_ = false;
}

void Driver::stop() {
  stopped_ = true;
  if (runLoop()) runLoop()->quit();
}

void Driver::scheduleNext() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, [this] {
    scheduled_ = false;
    runNext();
  });
}

void Driver::runNext() {
  if (stopped_ || next_ >= steps_.size()) {
    // A dialog still waiting for the user when the steps are over would wait for ever: it
    // is cancelled, so that the run ends and its caller sees what is missing.
    for (auto it = openModals().rbegin(); it != openModals().rend(); ++it) (*it)->end(IDCANCEL);
    if (runLoop()) runLoop()->quit();
    return;
  }
  QCoreApplication::processEvents();  // what the last step set going, first
  auto step = steps_[next_++];
  fromEventLoop(step);  // what the program does for the step goes through the error handler
  QCoreApplication::sendPostedEvents();
  scheduleNext();
}

void Driver::modalOpened() {
  if (running_) scheduleNext();
}

}  // namespace win
