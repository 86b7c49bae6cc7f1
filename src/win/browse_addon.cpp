// The grid add-on of the list screens: orders by column header, scope, record marks, the
// keyboard and mouse of the grid, its context menu, the periodic refresh and the per-user
// font.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cstdio>

#include "lib/globals.h"
#include "lib/profile_file.h"
#include "lib/record_protocol.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "lib/work_areas.h"
#include "win/browse.h"
#include "win/browse_internal.h"
#include "win/driver.h"
#include "win/entry.h"
#include "win/message_box.h"
#include "win/timers.h"
#include "xbase/date.h"

namespace win {

namespace {

using lib::padded;
using lib::rtrim;
using lib::upper;

constexpr int kRefreshTimer = 1;
constexpr int kRefreshPeriod = 60000;
constexpr size_t kMaxOrders = 8;

bool isNavigation(int key) {
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      return true;
    default:
      return false;
  }
}

void applyScope(WBLISTBOX& g) {
  lib::TableDriver* t = g.table();
  if (!t) return;
  const BrowseCargo& c = g.cargo();
  if (c.scopeLow && !c.scopeLow->empty()) {
    t->setScopeTop(Value::chars(*c.scopeLow));
    t->setScopeBottom(Value::chars(c.scopeHigh ? *c.scopeHigh : *c.scopeLow));
  } else {
    t->setScopeTop(std::nullopt);
    t->setScopeBottom(std::nullopt);
  }
}

void bindHeaderClicks(ADD2BROWSE* self, WBLISTBOX& g) {
  for (WBCOLUMN& col : g.wbCols) col.wbHeadBlock = nullptr;
  const auto& orders = g.cargo().orders;
  for (size_t i = 0; i < orders.size() && i < kMaxOrders; ++i) {
    int column = orders[i].column;
    if (column < 1 || column > int(g.wbCols.size())) continue;
    int entry = int(i) + 1;
    WBLISTBOX* grid = &g;
    g.wbCols[size_t(column - 1)].wbHeadBlock = [self, grid, entry] { self->SET_ORDER(*grid, entry); };
  }
}

void setMark(WBLISTBOX& g, uint32_t recno, bool on, bool notify) {
  BrowseCargo& c = g.cargo();
  if (!recno || c.marked.count(recno) == size_t(on)) return;
  if (on) {
    c.marks.push_back(recno);
    c.marked.insert(recno);
  } else {
    c.marks.erase(std::remove(c.marks.begin(), c.marks.end(), recno), c.marks.end());
    c.marked.erase(recno);
  }
  if (notify) g.MarksChanged(recno);
}

struct MenuEntry {
  std::string caption;  // "" for a separator
  std::function<void()> action;
};

void exportFromMenu(WBLISTBOX& g) {
  std::string folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  if (folder.empty()) folder = QDir::homePath().toStdString();
  std::string path = browseHooks().saveFileName(g.view(), folder + "/" + g.Name() + ".xlsx");
  if (path.empty()) return;
  if (exportToWorkbook(g, path) && browseHooks().openDocument) browseHooks().openDocument(path);
}

void searchDate(WBLISTBOX& g) {
  int32_t julian = lib::G().clock ? lib::G().clock->now().julian : 0;
  bool monthOnly = g.cargo().monthOnlyDates;
  if (!chooseSearchDate(g, julian, monthOnly) || !julian) return;
  xbase::Ymd d = xbase::ymdFromJulian(julian);
  char digits[16];
  if (monthOnly)
    std::snprintf(digits, sizeof digits, "%04d%02d", d.year, d.month);
  else
    std::snprintf(digits, sizeof digits, "%04d%02d%02d", d.year, d.month, d.day);
  seekAsFirstLine(g, g.cargo().scopeLow.value_or("") + digits);
}

std::vector<MenuEntry> menuEntries(WBLISTBOX& g) {
  std::vector<MenuEntry> m;
  m.push_back({"Exportar a Excel", [&g] { exportFromMenu(g); }});
  m.push_back({"", {}});
  m.push_back({"Tipo de Letra de Despliegue", [&g] {
                 BrowseFont f = g.cargo().font.empty() ? g.colFont : g.cargo().font;
                 if (!chooseBrowseFont(g, f)) return;
                 storeBrowseFont(g, f);
                 g.cargo().font = f;
                 g.RELOADFONT();
               }});
  m.push_back({"", {}});
  if (!g.cargo().menuOptions.empty()) {
    for (const BrowseMenuOption& o : g.cargo().menuOptions) {
      auto action = o.action;
      m.push_back({o.caption, [&g, action] {
                     if (action) action(g);
                   }});
    }
    m.push_back({"", {}});
  }
  m.push_back({"Buscar Dato...", [&g] { OBSEARCH::open(g, ""); }});
  m.push_back({"Buscar Fecha...", [&g] { searchDate(g); }});
  m.push_back({"Guardar Dato p/Búsqueda", [&g] { copyCurrentCell(g); }});
  m.push_back({"Limpiar Búsquedas", [] { savedSearchValues().clear(); }});
  const auto& saved = savedSearchValues();
  if (!saved.empty()) {
    m.push_back({"", {}});
    for (const Value& v : saved) {
      QString shown = QString::fromStdString(v.type == xbase::ValueType::Char ? v.text : std::string()).left(40);
      m.push_back({">" + shown.toStdString(), [&g, v] { seekSaved(g, v); }});
    }
  }
  return m;
}

std::string defaultSaveFileName(QWidget* parent, const std::string& suggested) {
  if (Driver::installed()) {
    // Scripts run unattended: the workbook goes to the temporary folder.
    std::string name = suggested.substr(suggested.find_last_of('/') + 1);
    return lib::temporaryFolder() + name;
  }
  QString path = QFileDialog::getSaveFileName(parent, "Exportar a Excel", QString::fromStdString(suggested),
                                              "Libro de Excel (*.xlsx)");
  if (path.isEmpty()) return {};
  if (!path.endsWith(".xlsx", Qt::CaseInsensitive)) path += ".xlsx";
  return path.toStdString();
}

bool defaultOpenDocument(const std::string& path) {
  if (Driver::installed()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace

std::vector<Value>& savedSearchValues() {
  static std::vector<Value> values;
  return values;
}

std::string searchKeyOf(const std::string& saved) {
  if (saved.size() == 8 && saved[2] == '/' && saved[5] == '/')
    return "20" + saved.substr(6, 2) + saved.substr(3, 2) + saved.substr(0, 2);
  return saved;
}

BrowseHooks& browseHooks() {
  static BrowseHooks hooks{defaultSaveFileName, defaultOpenDocument};
  return hooks;
}

std::string layoutFile() {
  return lib::profilePath("COLUMNAS.INI");
}

std::string layoutSection(const WBLISTBOX& grid) {
  return grid.Name();
}

int browseUserNumber(const WDIAG*) {
  // The user who logged in; nobody has before the login (start-up screens, tests).
  const lib::Globals& g = lib::G();
  return !g.XUSER_ABREVIA.empty() || g.XUSER_NUMBER > 0 ? g.XUSER_NUMBER : -1;
}

std::string browseFontKey(const WBLISTBOX& grid) {
  const WDIAG* d = grid.dialog();
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "%4d%4d", browseUserNumber(d), grid.id());
  return padded(d ? d->NEGOCIO : std::string(), 2) + padded(d ? d->cDlgName : std::string(), 20) + numbers;
}

bool seekAsFirstLine(WBLISTBOX& g, const std::string& key) {
  lib::TableDriver* t = g.table();
  if (!t) return false;
  bool found = t->seek(Value::chars(key), true, false);
  if (t->eof()) {  // nothing at or after it within the scope: stay
    if (g.nCRecNo) t->goTo(g.nCRecNo);
    return false;
  }
  g.rowPos = 1;
  g.SHOWDATA();
  return found;
}

bool seekSaved(WBLISTBOX& g, const Value& saved) {
  if (saved.type != xbase::ValueType::Char) {
    MESSAGE_BOX(g.dialog(), "Solamente se pueden buscar datos tipo Caracter", "Error", 48);
    return false;
  }
  return seekAsFirstLine(g, g.cargo().scopeLow.value_or("") + searchKeyOf(rtrim(saved.text)));
}

void copyCurrentCell(WBLISTBOX& g) {
  Value v = g.CellValue(g.nCurRec, g.colPos);
  if (v.type != xbase::ValueType::Char) {
    MESSAGE_BOX(g.dialog(), "El dato debe ser tipo Caracter", "Error", 48);
    return;
  }
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) {
    MESSAGE_BOX(g.dialog(), "No Clipboard available", "Error", 16);
    return;
  }
  std::string text = rtrim(v.text);
  clipboard->setText(QString::fromStdString(text + " "));
  auto& saved = savedSearchValues();
  Value value = Value::chars(text);
  if (std::find(saved.begin(), saved.end(), value) == saved.end()) saved.push_back(value);
}

void storeBrowseFont(WBLISTBOX& grid, const BrowseFont& font) {
  if (font.empty() || !lib::IS_FILE(nullptr, "F_BROWSE")) return;
  int selected = lib::SELECTED();
  auto t = lib::USE(nullptr, "F_BROWSE", "F_BROWSE");
  std::string face = font.face + (font.bold ? " BOLD" : "") + (font.italic ? " ITALIC" : "");
  const WDIAG* d = grid.dialog();
  if (t->Seek(browseFontKey(grid))) {
    lib::MODIFY(*t, [&] {
      t->FieldPut("T_FONT", Value::chars(face));
      t->FieldPut("T_SIZE", Value::num(font.size));
    });
  } else {
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars(d ? d->NEGOCIO : ""));
      t->FieldPut("DIALOGO", Value::chars(d ? d->cDlgName : ""));
      t->FieldPut("N_USER", Value::num(browseUserNumber(d)));
      t->FieldPut("N_BROWSE", Value::num(grid.id()));
      t->FieldPut("T_FONT", Value::chars(face));
      t->FieldPut("T_SIZE", Value::num(font.size));
    });
  }
  lib::KILLTABLA(t);
  lib::SELECT(selected);
}

// ---------------------------------------------------------------------------------------
// The grid's side of the add-on.

void WBLISTBOX::RELOADFONT() {
  if (closed_ || !lib::G().areas) return;
  BrowseFont f;
  if (lib::IS_FILE(nullptr, "F_BROWSE")) {
    int selected = lib::SELECTED();
    auto t = lib::USE(nullptr, "F_BROWSE", "F_BROWSE");
    if (t->Seek(browseFontKey(*this))) {
      std::string face = rtrim(t->S("T_FONT"));
      std::string u = upper(face);
      f.bold = u.find("BOLD") != std::string::npos;
      f.italic = u.find("ITALIC") != std::string::npos;
      for (const char* word : {"BOLD", "ITALIC"}) {
        size_t at = upper(face).find(word);
        if (at != std::string::npos) face.erase(at, std::string(word).size());
      }
      while (!face.empty() && face.back() == ' ') face.pop_back();
      f.face = face;
      f.size = int(t->N("T_SIZE"));
    }
    lib::KILLTABLA(t);
    lib::SELECT(selected);
  }
  if (f.empty()) return;
  cargo_.font = f;
  colFont = headFont = f;
  ApplyFont();
  CONFIGURE();
  REFRESHALL();
}

void WBLISTBOX::RestartRefresh(bool on) {
  cargo_.refreshRunning = on;
  if (on)
    timers().start(this, kRefreshTimer, kRefreshPeriod, [this] { refreshTick(); });
  else
    timers().stop(this, kRefreshTimer);
}

void WBLISTBOX::refreshTick() {
  if (lib::G().XREFRESH_BROWSE != 1) return;
  WDIAG* d = dialog_;
  if (!d || !d->window() || d->lDestroyed || !d->frame() || !d->frame()->isEnabled()) return;
  if (!cargo_.enabled || !table() || !widget() || !widget()->isEnabled()) return;
  if (!d->ISACTIVE()) return;
  bool keep = suspendCallbacks_;
  suspendCallbacks_ = true;  // a redraw runs no screen logic
  REFRESHALL();
  suspendCallbacks_ = keep;
}

void WBLISTBOX::Close() {
  if (search_) {
    OBSEARCH* s = search_;
    search_ = nullptr;
    s->close();
  }
  timers().stopAll(this);
  if (model_) model_->beginReset();  // the row header may go with the add-on's state
  cargo_ = BrowseCargo{};
  colFont = headFont = BrowseFont{};
  closed_ = true;
  if (model_) model_->endReset();
}

void WBLISTBOX::MarksChanged(uint32_t recno) {
  if (!model_) return;
  if (recno == 0) {
    if (rowCount_ > 0) model_->rowsChanged(0, rowCount_ - 1);
  } else {
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].recno == recno) model_->rowsChanged(first_ + int(i), first_ + int(i));
  }
  model_->headingsChanged();
}

void WBLISTBOX::OrderChanged() {
  if (!model_) return;
  model_->headingsChanged();
  if (view_) view_->viewport()->update();
}

void WBLISTBOX::ClickRowHeader(uint32_t row) {
  if (!GoToRow(row)) return;
  if (!cargo_.noNub && nCRecNo) setMark(*this, nCRecNo, !cargo_.marked.count(nCRecNo), true);
  if (nubClickBlock) nubClickBlock(*this);
}

std::vector<std::string> WBLISTBOX::MenuCaptions() {
  std::vector<std::string> out;
  for (const MenuEntry& e : menuEntries(*this)) out.push_back(e.caption);
  return out;
}

bool WBLISTBOX::ChooseMenu(const std::string& caption) {
  std::vector<MenuEntry> entries = menuEntries(*this);
  for (const MenuEntry& e : entries) {
    if (e.caption.empty() || e.caption != caption) continue;
    e.action();
    if (buttonBlock) buttonBlock(*this);
    return true;
  }
  return false;
}

void WBLISTBOX::COLUMNAS() {
  if (!closed_) chooseColumns(*this);
}

// ---------------------------------------------------------------------------------------
// Keyboard and mouse.

void BrowseView::keyPressEvent(QKeyEvent* e) {
  fromEventLoop([&] { onKey(e); });
}

void BrowseView::mousePressEvent(QMouseEvent* e) {
  fromEventLoop([&] { onMousePress(e); });
}

void BrowseView::mouseDoubleClickEvent(QMouseEvent* e) {
  fromEventLoop([&] { onDoubleClick(e); });
}

void BrowseView::onKey(QKeyEvent* e) {
  if (!grid_) {
    QTableView::keyPressEvent(e);
    return;
  }
  WBLISTBOX& g = *grid_;
  const BrowseCargo& c = g.cargo();
  const int key = e->key();
  const std::string text = e->text().toStdString();
  const bool control = e->modifiers() & Qt::ControlModifier;
  const bool navigation = isNavigation(key);
  e->accept();
  if (!c.enabled) return;  // a disabled grid takes no keys
  int defined = g.DefinedColumn(g.colPos);
  bool keyColumn = defined && std::find(c.keyColumns.begin(), c.keyColumns.end(), defined) != c.keyColumns.end();
  if (keyColumn && !navigation) {
    if (g.keyBlock) g.keyBlock(g, key, text);
    return;
  }
  if (control && key == Qt::Key_C) {
    copyCurrentCell(g);
    return;
  }
  if (!control && !e->text().isEmpty() && e->text()[0].isLetterOrNumber()) {
    if (!c.searchDisabled && !g.closed())
      OBSEARCH::open(g, text);
    else if (g.keyBlock)
      g.keyBlock(g, key, text);
    return;
  }
  if (navigation) {
    QTableView::keyPressEvent(e);
    return;
  }
  if (g.keyBlock && g.keyBlock(g, key, text)) return;
  if (key == Qt::Key_Escape && g.escape) {
    e->ignore();  // the screen closes
    return;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && g.doubleclick) g.doubleclick(g);
}

void BrowseView::onMousePress(QMouseEvent* e) {
  if (!grid_) {
    QTableView::mousePressEvent(e);
    return;
  }
  QModelIndex at = indexAt(e->position().toPoint());
  auto* m = static_cast<BrowseModel*>(model());
  if (e->button() == Qt::RightButton) {
    if (at.isValid() && at.row() != currentIndex().row()) {
      int column = currentIndex().column() >= 0 ? currentIndex().column() : at.column();
      selectionModel()->setCurrentIndex(m->index(at.row(), column),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    showMenu(e->globalPosition().toPoint());
    if (grid_ && grid_->buttonBlock) grid_->buttonBlock(*grid_);
    e->accept();
    return;
  }
  QTableView::mousePressEvent(e);
  if (grid_ && currentIndex().isValid() && !m->drawPosOf(currentIndex().column())) {
    // A click on the row header or the filler keeps the cursor's column.
    QModelIndex keep = m->index(currentIndex().row(), m->sectionOf(std::max(1, grid_->colPos)));
    selectionModel()->setCurrentIndex(onData(keep), QItemSelectionModel::NoUpdate);
  }
  if (grid_ && e->button() == Qt::LeftButton && at.isValid() && m->nubColumns() && at.column() == 0) {
    WBLISTBOX& g = *grid_;
    if (g.nCRecNo) setMark(g, g.nCRecNo, !g.cargo().marked.count(g.nCRecNo), true);
    if (g.nubClickBlock) g.nubClickBlock(g);
  }
}

void BrowseView::onDoubleClick(QMouseEvent* e) {
  QModelIndex at = indexAt(e->position().toPoint());
  if (grid_ && at.isValid() && grid_->doubleclick && grid_->cargo().enabled) {
    grid_->doubleclick(*grid_);
    e->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(e);
}

void BrowseView::showMenu(const QPoint& global) {
  if (!grid_) return;
  std::vector<MenuEntry> entries = menuEntries(*grid_);
  QMenu menu(this);
  std::vector<std::pair<QAction*, size_t>> actions;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].caption.empty())
      menu.addSeparator();
    else
      actions.push_back({menu.addAction(QString::fromStdString(entries[i].caption)), i});
  }
  QAction* chosen = menu.exec(global);
  for (const auto& [action, i] : actions)
    if (action == chosen && entries[i].action) entries[i].action();
}

// ---------------------------------------------------------------------------------------
// ADD2BROWSE.

void ADD2BROWSE::BROWMARKS(WBLISTBOX& grid, std::vector<BrowseOrder> orders, int startOrder,
                           const std::string& scopeLow, const BrowMarksOptions& o) {
  if (!grid.bound()) return;
  BrowseCargo& c = grid.cargo();
  if (orders.size() > kMaxOrders) orders.resize(kMaxOrders);
  c.orders = std::move(orders);
  c.scopeLow = scopeLow;
  c.scopeHigh = o.scopeHigh ? *o.scopeHigh : scopeLow;
  c.scopeSuffix = o.scopeSuffix;
  c.searchPrefix = o.searchPrefix;
  c.searchDisabled = o.searchDisabled;
  c.nubWidth = std::max(3, o.nubWidth);
  c.noNub = o.noNub;
  c.keyColumns = o.keyColumns;
  c.enabled = true;
  bindHeaderClicks(this, grid);
  lib::TableDriver* t = grid.table();
  if (t && startOrder >= 1 && startOrder <= int(c.orders.size())) {
    c.activeEntry = startOrder;
    c.activeColumn = c.orders[size_t(startOrder - 1)].column;
    t->setOrder(c.orders[size_t(startOrder - 1)].tag);
  }
  applyScope(grid);
  grid.CONFIGURE();
  if (o.goTop)
    grid.GOTOP();
  else
    grid.SHOWDATA();
  if (!o.initialSearch.empty()) SEARCH(grid, o.initialSearch);
  if (!o.noRefresh) grid.RestartRefresh(true);
  grid.RELOADFONT();  // the font-reload notification of a screen that opens
}

void ADD2BROWSE::SET_SCOPE(WBLISTBOX& grid, const std::string& low, std::optional<std::string> high, bool,
                           const std::string& suffix) {
  if (!grid.table()) return;
  BrowseCargo& c = grid.cargo();
  c.scopeLow = low;
  c.scopeHigh = high ? *high : low;
  c.scopeSuffix = suffix;
  applyScope(grid);
  grid.GOTOP();  // counts the keys and reads the rows again
}

void ADD2BROWSE::CLEAR_SCOPE(WBLISTBOX& grid) {
  if (!grid.table()) return;
  BrowseCargo& c = grid.cargo();
  c.scopeLow.reset();
  c.scopeHigh.reset();
  applyScope(grid);
  grid.GOTOP();
}

void ADD2BROWSE::SET_INDEXCOL(WBLISTBOX& grid, int entry, const std::string& tag, int column) {
  if (entry < 1 || entry > int(kMaxOrders)) return;
  BrowseCargo& c = grid.cargo();
  if (int(c.orders.size()) < entry) c.orders.resize(size_t(entry));
  c.orders[size_t(entry - 1)] = {column ? column : entry, tag};
  if (c.activeEntry == entry) c.activeColumn = c.orders[size_t(entry - 1)].column;
  bindHeaderClicks(this, grid);
}

void ADD2BROWSE::ORDERSHOW(WBLISTBOX& grid, int colPos, int rowPos, uint32_t recno) {
  lib::TableDriver* t = grid.table();
  BrowseCargo& c = grid.cargo();
  if (!t || c.orders.empty()) return;
  int entry = 1;
  for (size_t i = 0; i < c.orders.size(); ++i)
    if (c.orders[i].column == c.activeColumn) entry = int(i) + 1;
  if (recno)
    t->goTo(recno);
  else
    t->goTop();
  c.activeEntry = entry;
  c.activeColumn = c.orders[size_t(entry - 1)].column;
  t->setOrder(c.orders[size_t(entry - 1)].tag);
  applyScope(grid);
  grid.GOTOP();
  grid.colPos = std::max(1, colPos);
  if (recno) {
    t->goTo(recno);
    if (!t->eof() && t->keyNo() > 0) {
      grid.rowPos = std::max(1, rowPos);
      grid.SHOWDATA();
    }
  }
  grid.OrderChanged();
  grid.REFRESHALL();
}

void ADD2BROWSE::SET_ORDER(WBLISTBOX& grid, int entry, bool goTop) {
  lib::TableDriver* t = grid.table();
  BrowseCargo& c = grid.cargo();
  if (!t || entry < 1 || entry > int(c.orders.size())) return;
  int cursor = WDIAG::WAIT_CURSOR();
  if (grid.preOrderBlock) grid.preOrderBlock(grid);
  c.activeEntry = entry;
  c.activeColumn = c.orders[size_t(entry - 1)].column;
  uint32_t recno = grid.nCRecNo;
  t->setOrder(c.orders[size_t(entry - 1)].tag);
  applyScope(grid);
  grid.CountScope();  // the keys of deleted records lie elsewhere in another order
  if (recno) t->goTo(recno);
  grid.nCurRec = t->eof() ? 0 : t->keyNo();
  grid.nCRecNo = t->eof() ? 0 : t->recNo();
  if (grid.rowPos > int(grid.nMaxRec)) grid.rowPos = 1;
  if (goTop || !grid.nCRecNo || !grid.nCurRec)
    grid.GOTOP();
  else
    grid.SHOWDATA();
  grid.OrderChanged();
  WDIAG::SET_CURSOR(cursor);
  if (grid.view()) grid.view()->setFocus();
}

int ADD2BROWSE::GET_OB_ORDER(const WBLISTBOX& grid) const {
  return grid.cargo().activeEntry;
}

void ADD2BROWSE::ADD_MARK(WBLISTBOX& grid, uint32_t recno, bool notify, bool) {
  setMark(grid, recno ? recno : grid.nCRecNo, true, notify);
}

void ADD2BROWSE::DEL_MARK(WBLISTBOX& grid, uint32_t recno, bool notify, bool) {
  setMark(grid, recno ? recno : grid.nCRecNo, false, notify);
}

void ADD2BROWSE::TOGGLEMARK(WBLISTBOX& grid, uint32_t recno) {
  uint32_t r = recno ? recno : grid.nCRecNo;
  setMark(grid, r, !grid.cargo().marked.count(r), true);
}

void ADD2BROWSE::NUB_CLEAR(WBLISTBOX& grid) {
  grid.cargo().marks.clear();
  grid.cargo().marked.clear();
  grid.MarksChanged(0);
}

void ADD2BROWSE::NUB_MARKALL(WBLISTBOX& grid) {
  lib::TableDriver* t = grid.table();
  if (!t) return;
  int cursor = WDIAG::WAIT_CURSOR();
  BrowseCargo& c = grid.cargo();
  c.marks.clear();
  c.marked.clear();
  {
    KeepPosition keep(*t);
    for (t->goTop(); !t->eof(); t->skip(1)) {
      c.marks.push_back(t->recNo());
      c.marked.insert(t->recNo());
    }
  }
  WDIAG::SET_CURSOR(cursor);
  grid.MarksChanged(0);
}

void ADD2BROWSE::SYMBOLMARK(WBLISTBOX& grid, const std::string& symbol) {
  grid.cargo().markSymbol = symbol;
  grid.MarksChanged(0);
}

bool ADD2BROWSE::ISOBMARKED(const WBLISTBOX& grid, uint32_t recno) const {
  return grid.cargo().marked.count(recno ? recno : grid.nCRecNo) > 0;
}

std::vector<uint32_t> ADD2BROWSE::GET_MARKS(const WBLISTBOX& grid) const {
  return grid.cargo().marks;
}

void ADD2BROWSE::DISABLE_BROWSE(WBLISTBOX& grid) {
  grid.cargo().enabled = false;
  grid.detachTable(true);
}

void ADD2BROWSE::ENABLE_BROWSE(WBLISTBOX& grid) {
  grid.cargo().enabled = true;
  grid.detachTable(false);
  grid.REFRESHALL();
}

void ADD2BROWSE::DISABLE_SEEK(WBLISTBOX& grid) {
  grid.cargo().searchDisabled = true;
}

void ADD2BROWSE::STOP_BROWSE(WBLISTBOX& grid) {
  if (grid.view()) grid.view()->setUpdatesEnabled(false);
  timers().stop(&grid, kRefreshTimer);  // refreshRunning keeps what START_BROWSE restores
}

void ADD2BROWSE::START_BROWSE(WBLISTBOX& grid) {
  if (grid.view()) grid.view()->setUpdatesEnabled(true);
  if (grid.cargo().refreshRunning) grid.RestartRefresh(true);
  grid.REFRESHALL();
}

void ADD2BROWSE::SET_MENUOPTIONS(WBLISTBOX& grid, std::vector<BrowseMenuOption> options) {
  grid.cargo().menuOptions = std::move(options);
}

bool ADD2BROWSE::SEARCH(WBLISTBOX& grid, const std::string& key) {
  const BrowseCargo& c = grid.cargo();
  return seekAsFirstLine(grid, c.searchPrefix + c.scopeLow.value_or("") + c.scopeSuffix + key);
}

bool ADD2BROWSE::SEARCH_DATO(WBLISTBOX& grid, int entry) {
  const auto& saved = savedSearchValues();
  if (entry < 1 || entry > int(saved.size())) {
    MESSAGE_BOX(grid.dialog(), "Debe guardar primero un Dato por buscar...", "Error", 48);
    return false;
  }
  return seekSaved(grid, saved[size_t(entry - 1)]);
}

void ADD2BROWSE::CLOSEBROWSE(WBLISTBOX& grid) {
  grid.Close();
}

}  // namespace win
