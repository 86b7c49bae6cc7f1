// The Qt side of the browse grid, and what its parts share. Only the window layer sees this.
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QTableView>
#include <memory>
#include <string>

#include "win/browse.h"
#include "win/wdiag.h"

namespace lib {
class TableDriver;
}

namespace win {

class WEDIT;
class CLISTBOX;
class WRADIOBUTTON;

QFont browseQFont(const BrowseFont& f, const QFont& fallback);

// Keeps the table where the screen left it while the grid reads other records.
class KeepPosition {
 public:
  explicit KeepPosition(lib::TableDriver& t);
  ~KeepPosition();
  KeepPosition(const KeepPosition&) = delete;
  KeepPosition& operator=(const KeepPosition&) = delete;

 private:
  lib::TableDriver& t_;
  uint32_t recno_;
  bool eof_;
};

class BrowseModel : public QAbstractTableModel {
 public:
  BrowseModel(WBLISTBOX* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}
  WBLISTBOX* grid_;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  int nubColumns() const;
  int sectionOf(int drawPos) const { return nubColumns() + drawPos - 1; }
  int drawPosOf(int section) const;  // 0 for the row header and the filler

  // Structure changes, for the grid.
  void beginReset() { beginResetModel(); }
  void endReset() { endResetModel(); }
  void beginInsert(int first, int last) { beginInsertRows(QModelIndex(), first, last); }
  void endInsert() { endInsertRows(); }
  void beginRemove(int first, int last) { beginRemoveRows(QModelIndex(), first, last); }
  void endRemove() { endRemoveRows(); }
  void rowsChanged(int first, int last);
  void headingsChanged();
};

class BrowseView : public QTableView {
 public:
  BrowseView(WBLISTBOX* grid, QWidget* parent);
  WBLISTBOX* grid_;
  void showMenu(const QPoint& global);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyboardSearch(const QString&) override {}  // typing opens the search window instead
  // The cursor stays on the columns of data: never on the row header or the filler.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  QModelIndex onData(const QModelIndex& index) const;

 private:
  // What the events do; each event runs it as an entry from the event loop.
  void onKey(QKeyEvent* e);
  void onMousePress(QMouseEvent* e);
  void onDoubleClick(QMouseEvent* e);
};

// The quick search window ("Buscar..."): Enter seeks on the active order, F2 scans for a
// pattern, F3 scans again with the pair chosen in "Últimas Búsquedas:". One at a time;
// while it is open the grid's screen is disabled.
class OBSEARCH : public WDIAG {
 public:
  // Opens the window for `grid` with `typed` already typed; nullptr (after telling the
  // user) when the current column was not defined from a field.
  static OBSEARCH* open(WBLISTBOX& grid, const std::string& typed);
  ~OBSEARCH() override;

  int OnCOMMAND(int id, int notification) override;
  void search();         // Enter
  void scan(bool next);  // F2, F3
  void close();
  void typeKey(const QString& text);
  WBLISTBOX* grid() const { return grid_; }

 private:
  OBSEARCH(WBLISTBOX& grid, int column);
  void addLast(const std::string& a, const std::string& b);
  void fillLast();

  WBLISTBOX* grid_;
  int column_;  // defined column searched
  WDIAG* screen_;
  std::unique_ptr<WEDIT> first_, second_;
  std::unique_ptr<CLISTBOX> last_;
  std::unique_ptr<WRADIOBUTTON> down_, up_;
  bool closing_ = false;
};

// The grid's dialogs (modal, driven through DIALOG_BOX).
void chooseColumns(WBLISTBOX& grid);
bool chooseBrowseFont(WBLISTBOX& grid, BrowseFont& chosen);
bool chooseSearchDate(WBLISTBOX& grid, int32_t& julian, bool& monthOnly);

// The add-on's operations shared by the view, the menu and the search window.
void copyCurrentCell(WBLISTBOX& grid);
void storeBrowseFont(WBLISTBOX& grid, const BrowseFont& font);
int browseUserNumber(const WDIAG* dialog);
std::string browseFontKey(const WBLISTBOX& grid);
bool seekAsFirstLine(WBLISTBOX& grid, const std::string& key);
bool seekSaved(WBLISTBOX& grid, const Value& saved);
std::string layoutFile();
std::string layoutSection(const WBLISTBOX& grid);

}  // namespace win
