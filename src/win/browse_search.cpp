// The grid's quick search window (template OBSEARCH).
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QWidget>
#include <algorithm>

#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/table_driver.h"
#include "win/browse_internal.h"
#include "win/controls.h"
#include "win/dialog_window.h"
#include "win/main_frame.h"
#include "win/message_box.h"

namespace win {

namespace {

constexpr int kFirst = 500, kSecond = 501, kStatus = 502, kSecondLabel = 503;
constexpr int kLast = 601, kDown = 1001, kUp = 1002, kScan = 302, kNext = 303;

OBSEARCH*& current() {
  static OBSEARCH* open = nullptr;
  return open;
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// F2 and F3 wherever the focus is in the window.
class SearchKeys : public QObject {
 public:
  SearchKeys(OBSEARCH* s, QObject* parent) : QObject(parent), s_(s) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F2 || key == Qt::Key_F3) {
      s_->scan(key == Qt::Key_F3);
      return true;
    }
    return false;
  }

 private:
  OBSEARCH* s_;
};

bool matches(const Value& v, const std::string& a, const std::string& b) {
  switch (v.type) {
    case xbase::ValueType::Char:
      return QString::fromStdString(v.text).contains(QString::fromStdString(a), Qt::CaseInsensitive);
    case xbase::ValueType::Date:
    case xbase::ValueType::DateTime: {
      int32_t low = lib::CTOD(a), high = b.empty() ? low : lib::CTOD(b);
      if (!low || !high) return false;
      if (low > high) std::swap(low, high);
      return v.julian >= low && v.julian <= high;
    }
    case xbase::ValueType::Number: {
      double low = lib::readNumber(a), high = b.empty() ? low : lib::readNumber(b);
      if (low > high) std::swap(low, high);
      return v.number >= low && v.number <= high;
    }
    case xbase::ValueType::Logical: {
      char c = a.empty() ? ' ' : char(std::toupper(static_cast<unsigned char>(a[0])));
      return (c == 'S' || c == 'T' || c == 'Y') == v.logical;
    }
    default:
      return false;
  }
}

// Where the window leaves the grid's rows in sight (the scans move through them): below
// the grid's screen, else to its right, else above it, within the main window; over the
// grid's lower part when there is no room.
void placeBeside(QWidget* window, WBLISTBOX& grid) {
  QWidget* g = grid.widget();
  if (!g) return;
  QSize size = window->frameGeometry().size().expandedTo(window->size());
  const int caption = 24;  // the frame the window manager adds
  QWidget* screen = grid.dialog() && grid.dialog()->frame() ? grid.dialog()->frame() : g;
  QRect s(screen->mapToGlobal(QPoint(0, 0)), screen->size());
  QRect room;
  if (MainFrame* frame = MainFrame::instance())
    room = QRect(frame->window()->mapToGlobal(QPoint(0, 0)), frame->window()->size());
  QRect gridRect(g->mapToGlobal(QPoint(0, 0)), g->size());
  std::vector<QPoint> tries = {QPoint(gridRect.left() + 20, s.bottom() + 4 + caption),
                               QPoint(s.right() + 4, gridRect.top() + caption),
                               QPoint(gridRect.left() + 20, s.top() - size.height() - 4)};
  for (const QPoint& at : tries) {
    if (room.isEmpty() || room.contains(QRect(at - QPoint(0, caption), size + QSize(0, caption)))) {
      window->move(at);
      return;
    }
  }
  window->move(gridRect.left() + std::max(0, (gridRect.width() - size.width()) / 2),
               gridRect.bottom() - size.height() - 8);
}

}  // namespace

OBSEARCH* OBSEARCH::open(WBLISTBOX& grid, const std::string& typed) {
  if (OBSEARCH* s = current()) {
    if (s->grid_ == &grid) {
      s->BringToTop();
      if (!typed.empty()) s->typeKey(QString::fromStdString(typed));
      return s;
    }
    s->close();
  }
  int defined = grid.DefinedColumn(grid.colPos);
  const WBCOLUMN* c = grid.DrawColumn(grid.colPos);
  if (!c || c->wbCargo.empty()) {
    MESSAGE_BOX(grid.dialog(), "Debe posicionarse sobre una columna diferente", "Error", 48);
    return nullptr;
  }
  auto* s = new OBSEARCH(grid, defined);
  if (!s->window()) {
    delete s;
    return nullptr;
  }
  adoptScreen(s);  // the layer deletes it once its window is gone
  if (!typed.empty()) {
    s->first_->TEXT(typed);
    if (auto* e = qobject_cast<QLineEdit*>(s->first_->widget())) {
      e->deselect();
      e->end(false);
    }
  }
  return s;
}

OBSEARCH::OBSEARCH(WBLISTBOX& grid, int column) : grid_(&grid), column_(column), screen_(grid.dialog()) {
  if (!createTopLevel(screen_, "OBSEARCH")) return;
  first_ = std::make_unique<WEDIT>(this, kFirst);
  second_ = std::make_unique<WEDIT>(this, kSecond);
  last_ = std::make_unique<CLISTBOX>(this, kLast);
  down_ = std::make_unique<WRADIOBUTTON>(this, kDown);
  up_ = std::make_unique<WRADIOBUTTON>(this, kUp);
  down_->SetCheck(true);
  // The second entry is a range's end: only dates and numbers have ranges.
  Value v = grid.ColumnValue(grid.wbCols[size_t(column - 1)]);
  bool range =
      v.type == xbase::ValueType::Date || v.type == xbase::ValueType::Number || v.type == xbase::ValueType::DateTime;
  second_->Enable(range);
  EnableItem(kSecondLabel, range);
  fillLast();
  auto* keys = new SearchKeys(this, window());
  window()->installEventFilter(keys);
  for (QWidget* w : window()->findChildren<QWidget*>()) w->installEventFilter(keys);
  grid.setSearchWindow(this);
  current() = this;
  if (screen_) screen_->EnableWindow(false);
  if (QWidget* f = frame()) {
    placeBeside(f, grid);
    f->show();
    f->raise();
    f->activateWindow();
  }
  first_->SetFocus();
}

OBSEARCH::~OBSEARCH() {
  if (current() == this) current() = nullptr;
}

void OBSEARCH::typeKey(const QString& text) {
  auto* e = qobject_cast<QLineEdit*>(first_ ? first_->widget() : nullptr);
  if (!e) return;
  for (QChar ch : text) {
    int key = ch.isLetterOrNumber() ? ch.toUpper().unicode() : ch.unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(e, &press);
  }
}

int OBSEARCH::OnCOMMAND(int id, int notification) {
  if (closing_ || Executing_Init) return 0;
  if (id == kLast && notification == LBN_DBLCLK) {
    scan(true);
    return 0;
  }
  if (notification != BN_CLICKED) return 0;
  switch (id) {
    case IDOK:
      search();
      break;
    case IDCANCEL:
    case IDABORT:
      close();
      break;
    case kScan:
      scan(false);
      break;
    case kNext:
      scan(true);
      break;
    default:
      break;
  }
  return 0;
}

void OBSEARCH::search() {
  if (!grid_) {
    close();
    return;
  }
  WBLISTBOX& g = *grid_;
  if (g.cargo().orders.empty()) {
    MESSAGE_BOX(screen_,
                "No se puede realizar la búsqueda rápida\rpues esta ventana no permite ordenamientos sobre columnas",
                "Buscar...", 48);
    close();
    return;
  }
  const BrowseCargo& c = g.cargo();
  seekAsFirstLine(g, c.searchPrefix + c.scopeLow.value_or("") + c.scopeSuffix + rtrim(first_->TEXT()));
  if (g.postSearchBlock) g.postSearchBlock(g);
  close();
}

void OBSEARCH::scan(bool next) {
  if (!grid_ || closing_) return;
  WBLISTBOX& g = *grid_;
  lib::TableDriver* t = g.table();
  if (!t || column_ < 1 || column_ > int(g.wbCols.size())) return;
  std::string a, b;
  if (next) {
    const auto& last = g.cargo().lastSearches;
    if (last.empty()) {
      SetDlgItemText(kStatus, "No hay búsquedas anteriores");
      return;
    }
    int chosen = last_->CurItem();
    if (chosen < 1 || chosen > int(last.size())) chosen = 1;
    a = last[size_t(chosen - 1)].first;
    b = last[size_t(chosen - 1)].second;
  } else {
    a = rtrim(first_->TEXT());
    b = second_->Enabled() ? rtrim(second_->TEXT()) : std::string();
  }
  if (a.empty()) {
    SetDlgItemText(kStatus, "Escriba lo que busca");
    return;
  }
  const int direction = up_->Checked() ? -1 : 1;
  const WBCOLUMN& column = g.wbCols[size_t(column_ - 1)];
  int cursor = WAIT_CURSOR();
  uint32_t found = 0;
  {
    KeepPosition keep(*t);
    if (g.nCRecNo)
      t->goTo(g.nCRecNo);
    else if (direction > 0)
      t->goTop();
    else
      t->goBottom();
    bool more = !t->eof();
    if (more && next) {
      t->skip(direction);
      more = direction > 0 ? !t->eof() : !t->bof();
    }
    while (more) {
      if (matches(g.ColumnValue(column), a, b)) {
        found = t->recNo();
        break;
      }
      t->skip(direction);
      more = direction > 0 ? !t->eof() : !t->bof();
    }
  }
  SET_CURSOR(cursor);
  if (!next) addLast(a, b);
  if (found) {
    g.GoToRecord(found);
    SetDlgItemText(kStatus, "");
  } else {
    SetDlgItemText(kStatus, "No se encontró \"" + a + "\"");
  }
}

void OBSEARCH::addLast(const std::string& a, const std::string& b) {
  if (!grid_) return;
  auto& last = grid_->cargo().lastSearches;
  std::pair<std::string, std::string> pair{a, b};
  if (std::find(last.begin(), last.end(), pair) != last.end()) return;
  last.push_back(pair);
  fillLast();
  last_->SetCurItem(int(last.size()));
}

void OBSEARCH::fillLast() {
  if (!grid_ || !last_) return;
  last_->Clear();
  for (const auto& [a, b] : grid_->cargo().lastSearches) last_->Add(a + "->" + b);
}

void OBSEARCH::close() {
  if (closing_) return;
  closing_ = true;
  if (current() == this) current() = nullptr;
  WBLISTBOX* g = grid_;
  grid_ = nullptr;
  if (g && g->searchWindow() == this) g->setSearchWindow(nullptr);
  const auto& all = openDialogs();
  if (screen_ && std::find(all.begin(), all.end(), screen_) != all.end()) screen_->EnableWindow(true);
  if (g && g->view()) g->view()->setFocus();
  if (window()) {
    Executing_CloseIt = 1;
    destroyWindow();
  }
  // The screen under it is the active one again (and takes its menu back).
  if (screen_ && std::find(all.begin(), all.end(), screen_) != all.end()) {
    if (MainFrame* frame = MainFrame::instance()) frame->window()->activateWindow();
    screen_->BringToTop();
  }
}

}  // namespace win
