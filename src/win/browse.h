// The browse grid: WBLISTBOX shows one table on a dialog's grid control (CONTROL "WBROWSE",
// id 700 on the maintenance screens), in the order of one index and restricted to a key
// range (the scope), without ever loading the table.
//
// Rows. The grid's row count is nMaxRec, the key number of the last key within the scope,
// taken from the index. The engine counts deleted records that are still in the index, so
// nMaxRec is an upper bound until the grid has read the end of the scope: when reading
// runs into an end of the scope before the rows do (or finds more records than rows), the
// rows are corrected there and then. For the usual master tables the scope fits in the
// first window read and the count is exact as soon as the grid shows; on big tables the
// correction happens when a user reaches an end.
//
// Reading. Only the rows on screen are read, into a small window of rows around them: a
// row outside the window is reached by positioning on its key number (one index descent)
// and skipping from there; rows next to the window extend it by skipping. A scroll-bar drag
// over a million records therefore costs one positioning. Reading never moves the table as
// the screen sees it: its record pointer is put back afterwards. The grid's current row is
// the table's current record (the screens read the record the user chose from the table).
//
// ADD2BROWSE is the add-on the list screens mix in (class X : public WDIAG, public
// ADD2BROWSE): BROWMARKS attaches scope, orders by column header, record marks, the quick
// search window, the context menu (export to a workbook, the display font, the searches),
// the periodic refresh and the column layouts. EDITCELL edits the current cell in place.
//
// Column layouts are kept per workstation in COLUMNAS.INI, next to SALTMERE.INI (see
// lib::profilePath), one section per grid named by its dialog (the grid of control 700) or
// dialog_id (any other grid): Spalten, one "1"/"0" per defined column, and SpalteXn, the
// defined column number + 65536 * width in pixels of the n-th shown column.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "win/controls.h"
#include "xbase/value.h"

class QObject;
class QTableView;
class QWidget;
class QString;

namespace lib {
class WDBTable;
class TableDriver;
}  // namespace lib

namespace win {

class BrowseModel;
class BrowseView;
class OBSEARCH;
class WBLISTBOX;

using xbase::Value;

struct BrowseFont {
  std::string face;  // the face as stored ("Arial", "Courier New", ...)
  int size = 0;      // points
  bool bold = false, italic = false;
  bool empty() const { return face.empty() || size <= 0; }
};

// One column of the definition.
struct WBCOLUMN {
  int wbAlign = 0;                 // 2 = right, anything else left
  std::function<Value()> wbBlock;  // the cell's value (special columns)
  std::string wbBitmap;            // unused by the screens of this program
  int wbBAlign = 0;
  std::optional<uint32_t> wbBGColor;  // 0xRRGGBB, as the window layer's colours
  std::optional<uint32_t> wbFGColor;
  std::string wbCargo;  // the field or expression the column was defined from
  std::string wbFont;
  std::function<void()> wbHeadBlock;  // header click
  std::optional<uint32_t> wbHeadColor;
  std::string wbHeading;
  std::string wbPicture, wbPicture2;
  int wbWidth = -1;        // pixels once configured; 0 = a column defined hidden
  bool wbSpecial = false;  // a callback, not a field
  bool wbTSBlock = false;  // a special column whose callback returns ready text
  int wbAdjust = 0;        // extra pixels

  // How the value is read (set by AGREGARCOL).
  int fieldIndex = -1;  // 0-based field of the table, or -1
  std::shared_ptr<const void> expression;
  bool isTextColumn = false;
};

// One entry of the index list: the defined column it orders and the index tag.
struct BrowseOrder {
  int column = 0;
  std::string tag;
};

struct BrowseMenuOption {
  std::string caption;
  std::function<void(WBLISTBOX&)> action;
};

// The add-on's state of a grid (kept in the grid, as its cargo).
struct BrowseCargo {
  std::vector<uint32_t> marks;  // record numbers, in the order marked
  std::unordered_set<uint32_t> marked;
  std::vector<BrowseOrder> orders;
  int activeColumn = 0;  // defined column whose tag is the order (0: none)
  int activeEntry = 0;   // its entry in `orders`, 1-based
  std::optional<std::string> scopeLow, scopeHigh;
  std::string scopeSuffix;   // after the low key, in the search window's seek
  std::string searchPrefix;  // before the scope, in the search window's seek
  std::string markSymbol = "\u2713";
  BrowseFont font;
  int nubWidth = 16;
  bool noNub = false;
  std::vector<BrowseMenuOption> menuOptions;
  std::vector<int> keyColumns;  // defined columns whose keys go to the screen's key callback
  bool searchDisabled = false;
  bool enabled = true;
  bool refreshRunning = false;
  bool monthOnlyDates = false;                                    // "Buscar Fecha..." asks for a month
  std::vector<std::pair<std::string, std::string>> lastSearches;  // the search window's pairs
};

// What BROWMARKS takes besides the grid, the index list, the start order and the scope.
struct BrowMarksOptions {
  std::string scopeSuffix;
  std::optional<std::string> scopeHigh;  // default: the low key
  bool searchDisabled = false;
  int nubWidth = 16;
  bool goTop = true;
  std::string initialSearch;
  bool noNub = false;
  std::string searchPrefix;
  bool noRefresh = false;
  std::vector<int> keyColumns;
};

class WBLISTBOX : public WCONTROL {
 public:
  // A grid on control `id` of `dialog`, bound to the work area of `table`. `name` is the
  // grid's name for its column layout (default: the dialog name, see the header comment).
  WBLISTBOX(WDIAG* dialog, int id, lib::WDBTable* table, const std::string& name = "");
  ~WBLISTBOX() override;
  WBLISTBOX(const WBLISTBOX&) = delete;
  WBLISTBOX& operator=(const WBLISTBOX&) = delete;

  // The grid shown by a grid control's widget (for the driver).
  static WBLISTBOX* of(const QWidget* control);

  // Columns: the definition, and the drawing columns CONFIGURE builds from it (the saved
  // layout applied). Column numbers are 1-based.
  std::vector<WBCOLUMN> wbCols;
  void CONFIGURE();
  int ColCount() const { return int(draw_.size()); }
  int DefinedColumn(int drawPos) const;  // defined column shown at a drawing position (0: none)
  int DrawPosition(int defined) const;   // drawing position of a defined column (0: hidden)
  const WBCOLUMN* DrawColumn(int drawPos) const;
  int ColumnWidth(int drawPos) const;
  std::string Heading(int drawPos) const;

  // Cursor values (see the header comment for nMaxRec).
  uint32_t nCurRec = 0;  // logical position of the current row, 1-based
  uint32_t nCRecNo = 0;  // its record number
  uint32_t nMaxRec = 0;  // keys within the scope
  int rowPos = 1;        // the current row's line on screen
  int colPos = 1;        // the current drawing column
  bool hitTop = false, hitBottom = false;
  int nFreeze = 0;  // columns frozen at the left

  // Callbacks of the screen.
  std::function<void(WBLISTBOX&)> selectblock;  // the current row changed
  std::function<void(WBLISTBOX&)> doubleclick;
  // Keys the grid does not use itself; true when handled.
  std::function<bool(WBLISTBOX&, int qtKey, const std::string& text)> keyBlock;
  std::function<void(WBLISTBOX&)> buttonBlock;  // right button, after the add-on's menu
  std::function<void(WBLISTBOX&)> scanBlock;    // each row read for drawing
  // The background of the row just read (the table on its record): 0xRRGGBB, or nullopt
  // for the window colours. Drawn over the whole row.
  std::function<std::optional<uint32_t>(WBLISTBOX&)> rowColorBlock;
  // The background of a read row as drawn (for the tests): nullopt when it has none or is
  // not read.
  std::optional<uint32_t> RowColor(uint32_t row);
  std::function<void(WBLISTBOX&)> nubClickBlock, nubHeadBlock;
  std::function<void(WBLISTBOX&)> preOrderBlock, postSearchBlock;

  // Look.
  bool showNumbers = false;
  int nubWidth = 0;
  bool boxCursor = false, autoLite = false, escape = false, make3D = false, mimicButton = false;
  bool showFocus = true, autoSize = true, userMove = false, userSize = false;
  BrowseFont colFont, headFont;
  // The look of every maintenance list: a narrow record-marker column, plain cells, the
  // columns neither moved nor sized by the user.
  void useMaintenanceLook();
  void SetFonts(const BrowseFont& cells, const BrowseFont& headings);

  // Navigation. All of it does nothing while the grid is disabled or its table closed.
  void CountScope();  // nMaxRec from the index (see the header comment)
  void GOTOP();
  void GOBOTTOM();
  int64_t SKIP(int64_t n);  // moves the current row; returns the rows moved
  // Takes the table's current record as the grid's current row (after the screen moved
  // the table: an add, a delete, a search).
  void SHOWDATA();
  // Reads every shown row again from the table.
  void REFRESHALL();
  void REFRESHCURRENT();
  int VisibleLines() const;
  bool GoToRow(uint32_t row);  // makes logical row `row` (1-based) current
  // Makes `recno` current on line `line` of the screen (0 keeps the current line).
  void GoToRecord(uint32_t recno, int line = 0);
  uint32_t TopRow() const;  // logical row shown on the first line, 1-based

  // What is shown (for the driver and the tests): cell texts of drawing columns.
  std::vector<std::vector<std::string>> VisibleRows();
  std::string CellText(uint32_t row, int drawPos);
  Value CellValue(uint32_t row, int drawPos);
  int FindColumn(const std::string& headingOrNumber) const;  // drawing position, 0 when none
  void ClickHeader(int drawPos);
  void ClickRowHeader(uint32_t row);
  // Types as into the focused grid (the search window takes over once it opens).
  void TypeKeys(const std::string& text);
  void PressKey(int qtKey, bool control = false);
  // The context menu as shown now, and choosing one of its entries ("" = separator).
  std::vector<std::string> MenuCaptions();
  bool ChooseMenu(const std::string& caption);
  // The column chooser.
  void COLUMNAS();

  // The add-on's state, and the grid's own state for the add-on and the dialogs.
  BrowseCargo& cargo() { return cargo_; }
  const BrowseCargo& cargo() const { return cargo_; }
  lib::TableDriver* table() const;  // nullptr when detached or closed
  lib::WDBTable* tableObject() const { return tableObject_; }
  std::string Name() const { return name_; }
  QTableView* view() const;
  bool closed() const { return closed_; }
  void detachTable(bool detached);
  OBSEARCH* searchWindow() const { return search_; }
  void setSearchWindow(OBSEARCH* s) { search_ = s; }
  void RELOADFONT();  // the font-reload notification
  void ApplyFont();
  void RestartRefresh(bool on);
  void Close();  // CLOSEBROWSE
  // Evaluates a column on the table's current record.
  Value ColumnValue(const WBCOLUMN& c) const;
  QString FormatCell(const WBCOLUMN& c, const Value& v) const;
  void MarksChanged(uint32_t recno);
  void OrderChanged();
  void afterMove();  // the current row moved: cursor values, table, callbacks

 private:
  friend class BrowseModel;
  friend class BrowseView;

  struct Row {
    uint32_t recno = 0;
    std::vector<QString> cells;
    std::optional<uint32_t> background;
  };

  void build();
  bool isCached(int row) const { return row >= first_ && row < first_ + int(rows_.size()); }
  const Row* rowAt(int row, bool painting);
  void ensureRows(int from, int to, bool painting);
  void anchor(lib::TableDriver& t, int from, int to);
  void anchorAt(lib::TableDriver& t, int row, uint32_t recno);
  void extendForward(lib::TableDriver& t, int to);
  void extendBackward(lib::TableDriver& t, int from);
  void trimAround(int from, int to);
  Row readRow(lib::TableDriver& t);
  void setRowCount(uint32_t count);
  void scheduleCorrection();
  void applyCorrections();
  void resetRows();
  void setCurrentRowIndex(int row, int line);
  int currentRowIndex() const;
  int rowHeight() const;
  void applyLayout();
  int chunk() const;
  void onScrolled();
  void onCurrentChanged(int row, int column);
  void configureView();
  void refreshTick();
  void fitFiller();

  WDIAG* dialog_;
  lib::WDBTable* tableObject_ = nullptr;
  int area_ = 0;
  std::string path_;
  std::string name_;
  bool detached_ = false;
  bool closed_ = false;
  BrowseCargo cargo_;
  std::vector<int> draw_;    // defined column numbers, in drawing order
  std::vector<int> widths_;  // pixels, per drawing column
  BrowseView* view_ = nullptr;
  BrowseModel* model_ = nullptr;
  std::unique_ptr<QObject> context_;  // owns the connections to the widgets
  OBSEARCH* search_ = nullptr;

  // The window of rows read.
  int first_ = 0;
  std::deque<Row> rows_;
  int rowCount_ = 0;        // rows the model shows (nMaxRec once settled)
  uint32_t keyOffset_ = 0;  // keys of deleted records before the first row
  // Corrections found while drawing, applied when the view is not painting.
  struct Correction {
    int removeTop = 0, insertTop = 0;
    int newCount = -1;
  };
  Correction pending_;
  bool correctionScheduled_ = false;
  bool reading_ = false;
  // A read that failed while painting was reported; painting reads nothing more until the
  // screen refreshes the grid (one error window, not one per repaint).
  bool paintFailed_ = false;
  bool suspendCallbacks_ = false;
  bool moving_ = false;
};

// Appends a column: a field (or an expression) of `table`, or a callback.
void AGREGARCOL(WBLISTBOX& grid, lib::WDBTable* table, const std::string& heading, const std::string& field,
                const std::string& picture = "", std::function<Value()> block = {}, int align = 0,
                bool textBlock = false, int adjust = 0);

class ADD2BROWSE {
 public:
  virtual ~ADD2BROWSE() = default;

  // Attaches the add-on: the index list (orders by column header, up to 8), the start
  // entry, the scope, and the options. The grid goes top unless told not to.
  void BROWMARKS(WBLISTBOX& grid, std::vector<BrowseOrder> orders, int startOrder, const std::string& scopeLow,
                 const BrowMarksOptions& options = {});
  void SET_SCOPE(WBLISTBOX& grid, const std::string& low, std::optional<std::string> high = std::nullopt,
                 bool refresh = false, const std::string& suffix = "");
  void CLEAR_SCOPE(WBLISTBOX& grid);
  void SET_INDEXCOL(WBLISTBOX& grid, int entry, const std::string& tag, int column = 0);
  void ORDERSHOW(WBLISTBOX& grid, int colPos = 1, int rowPos = 1, uint32_t recno = 0);
  void SET_ORDER(WBLISTBOX& grid, int entry, bool goTop = false);
  int GET_OB_ORDER(const WBLISTBOX& grid) const;

  // Marks (record 0 = the current record).
  void ADD_MARK(WBLISTBOX& grid, uint32_t recno = 0, bool notify = true, bool refresh = true);
  void DEL_MARK(WBLISTBOX& grid, uint32_t recno = 0, bool notify = true, bool refresh = true);
  void TOGGLEMARK(WBLISTBOX& grid, uint32_t recno = 0);
  void NUB_CLEAR(WBLISTBOX& grid);
  void NUB_MARKALL(WBLISTBOX& grid);
  void SYMBOLMARK(WBLISTBOX& grid, const std::string& symbol);
  bool ISOBMARKED(const WBLISTBOX& grid, uint32_t recno = 0) const;
  std::vector<uint32_t> GET_MARKS(const WBLISTBOX& grid) const;

  void DISABLE_BROWSE(WBLISTBOX& grid);
  void ENABLE_BROWSE(WBLISTBOX& grid);
  void DISABLE_SEEK(WBLISTBOX& grid);
  void STOP_BROWSE(WBLISTBOX& grid);
  void START_BROWSE(WBLISTBOX& grid);
  void SET_MENUOPTIONS(WBLISTBOX& grid, std::vector<BrowseMenuOption> options);
  // Seeks `key` after the search prefix, the scope low key and its suffix; the record found
  // (or the next one) becomes the first line.
  bool SEARCH(WBLISTBOX& grid, const std::string& key);
  // Seeks saved search value `entry` (1-based) after the scope low key.
  bool SEARCH_DATO(WBLISTBOX& grid, int entry = 1);
  void CLOSEBROWSE(WBLISTBOX& grid);
};

// The process-wide saved search values ("Guardar Dato p/Búsqueda", Ctrl+C).
std::vector<Value>& savedSearchValues();

// A saved value as it is sought: "dd/mm/yy" becomes "20" + yy + mm + dd.
std::string searchKeyOf(const std::string& saved);

// In-cell editing, for screens whose grids are edited in place.
class EDITCELL {
 public:
  virtual ~EDITCELL() = default;
  // Edits the current cell of `grid` in a one-field dialog over the cell; `qtKey`/`keyText`
  // is the key that opened it (Enter or none: the value is shown to be changed; a typed
  // key: it is the first one typed). Writes the field of the current record on accept; the
  // caller locks the record around the call. True when a value was written.
  bool Editar(lib::WDBTable& table, WBLISTBOX& grid, int message = 0, int qtKey = 0, const std::string& keyText = "",
              WDIAG* owner = nullptr);
};

// Where the grids ask a person for a file name, and open a written workbook. Tests and
// scripts replace them.
struct BrowseHooks {
  std::function<std::string(QWidget* parent, const std::string& suggested)> saveFileName;
  std::function<bool(const std::string& path)> openDocument;
};
BrowseHooks& browseHooks();

// Writes the grid's scope, in its order, with its shown columns and headings, to an .xlsx
// workbook. False (after telling the user) when it cannot.
bool exportToWorkbook(WBLISTBOX& grid, const std::string& path);

}  // namespace win
