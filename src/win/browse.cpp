// The browse grid's core: columns, the window of rows read from the table, navigation and
// the Qt model and view over them.
#include "win/browse.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "lib/globals.h"
#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/wdbtable.h"
#include "lib/work_areas.h"
#include "win/browse_internal.h"
#include "win/dialog_window.h"
#include "win/entry.h"
#include "win/message_box.h"
#include "win/timers.h"
#include "xbase/codepage.h"
#include "xbase/expr.h"
#include "xbase/field_codec.h"

namespace win {

namespace {

using lib::rtrim;
using lib::upper;

constexpr uint32_t kOrderColour = 0xD1CFC2;

std::map<const QWidget*, WBLISTBOX*>& registry() {
  static std::map<const QWidget*, WBLISTBOX*> grids;
  return grids;
}

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

QColor colour(uint32_t rgb) {
  return QColor(QRgb(rgb));
}

// Windows' faces have no Linux twin; these keep the metrics close.
QString familyOf(const std::string& face) {
  std::string f = upper(face);
  if (f == "MS SANS SERIF" || f == "MS SHELL DLG" || f == "MS SHELL DLG 2" || f == "ARIAL" || f == "TAHOMA" ||
      f == "SEGOE UI" || f == "HELV" || f == "VERDANA" || f == "CALIBRI")
    return "Liberation Sans";
  if (f == "COURIER" || f == "COURIER NEW" || f == "LUCIDA CONSOLE" || f == "FIXEDSYS") return "Liberation Mono";
  if (f == "TIMES NEW ROMAN" || f == "TIMES ROMAN" || f == "TIMES") return "Liberation Serif";
  return q(face);
}

// An expression column reads the current record through the expression module, which
// works on code-page text.
struct ColumnExpression {
  xbase::Expr expr;
};

class RecordContext : public xbase::EvalContext {
 public:
  explicit RecordContext(const lib::TableDriver& t) : t_(t) {}
  Value field(int index) const override {
    Value v = t_.get(index);
    if (v.type == xbase::ValueType::Char) v.text = xbase::CodePage::windows1252().fromUtf8(v.text);
    return v;
  }
  uint32_t recNo() const override { return t_.recNo(); }
  bool deleted() const override { return t_.deleted(); }

 private:
  const lib::TableDriver& t_;
};

// A text shown through a picture: "@!" upper-cases everything; in the template "!" upper-
// cases its character, the other placeholders take one character each, and anything else
// is shown as written.
QString textThroughPicture(const QString& text, const std::string& picture) {
  std::string functions = !picture.empty() && picture[0] == '@' ? picture.substr(0, picture.find(' ')) : "";
  std::string tmpl = lib::pictureTemplate(picture);
  QString out;
  if (tmpl.empty()) {
    out = text;
  } else {
    int j = 0;
    for (char ch : tmpl) {
      if (std::string("!XAN9#LY*").find(ch) != std::string::npos) {
        QChar c = j < text.size() ? text[j] : QChar(' ');
        ++j;
        out += ch == '!' ? c.toUpper() : c;
      } else {
        out += QChar(ch);
      }
    }
  }
  if (functions.find('!') != std::string::npos) out = out.toUpper();
  return out;
}

bool looksNumeric(const std::string& s) {
  std::string t = rtrim(s);
  size_t b = t.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  t = t.substr(b);
  bool digit = false;
  for (char c : t) {
    if (std::isdigit(static_cast<unsigned char>(c)))
      digit = true;
    else if (c != '.' && c != ',' && c != '-' && c != '+')
      return false;
  }
  return digit;
}

int textLength(const std::string& utf8) {
  return int(QString::fromStdString(utf8).size());
}

}  // namespace

QFont browseQFont(const BrowseFont& f, const QFont& fallback) {
  if (f.empty()) return fallback;
  QFont font(familyOf(f.face));
  font.setPointSizeF(f.size);
  font.setBold(f.bold);
  font.setItalic(f.italic);
  return font;
}

KeepPosition::KeepPosition(lib::TableDriver& t) : t_(t), recno_(t.recNo()), eof_(t.eof()) {}

KeepPosition::~KeepPosition() {
  try {
    if (eof_)
      t_.goTo(0);
    else if (t_.eof() || t_.recNo() != recno_)
      t_.goTo(recno_);
  } catch (...) {
    // A destructor never throws; the next operation on the table reports the fault.
  }
}

// ---------------------------------------------------------------------------------------
// The grid.

WBLISTBOX::WBLISTBOX(WDIAG* dialog, int id, lib::WDBTable* table, const std::string& name)
    : WCONTROL(dialog, id, false), dialog_(dialog), tableObject_(table) {
  if (table) {
    area_ = table->Area;
    if (lib::G().areas)
      if (lib::WorkArea* a = lib::G().areas->area(area_)) path_ = a->path;
  }
  if (!name.empty())
    name_ = name;
  else if (dialog)
    name_ = id == 700 ? dialog->cDlgName : dialog->cDlgName + "_" + std::to_string(id);
  if (!bound()) {
    MESSAGE_BOX(dialog, "Browser Id " + std::to_string(id) + " gibt es nicht!", "Fataler Fehler", 16);
    return;
  }
  build();
}

WBLISTBOX::~WBLISTBOX() {
  Close();
  for (auto it = registry().begin(); it != registry().end();)
    it = it->second == this ? registry().erase(it) : std::next(it);
  if (view_) view_->grid_ = nullptr;
  if (model_) model_->grid_ = nullptr;
  context_.reset();
}

WBLISTBOX* WBLISTBOX::of(const QWidget* control) {
  auto it = registry().find(control);
  return it == registry().end() ? nullptr : it->second;
}

void WBLISTBOX::build() {
  QWidget* host = widget();
  context_ = std::make_unique<QObject>();
  if (auto* f = qobject_cast<QFrame*>(host)) f->setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(host);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new BrowseView(this, host);
  model_ = new BrowseModel(this, view_);
  view_->setModel(model_);
  layout->addWidget(view_);
  registry()[host] = this;
  QObject::connect(view_, &QObject::destroyed, context_.get(), [this] {
    view_ = nullptr;
    model_ = nullptr;
  });
  QObject::connect(host, &QObject::destroyed, context_.get(), [this, host] {
    registry().erase(host);
    Close();
  });
  configureView();
}

void WBLISTBOX::configureView() {
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setWordWrap(false);
  view_->setTabKeyNavigation(false);
  view_->setCornerButtonEnabled(false);
  view_->setSortingEnabled(false);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = view_->horizontalHeader();
  header->setMinimumSectionSize(0);  // the filler may shrink to nothing
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, context_.get(),
                   [this] { fromEventLoop([this] { onScrolled(); }); });
  QObject::connect(header, &QHeaderView::sectionClicked, context_.get(), [this](int section) {
    fromEventLoop([this, section] {
      if (!model_) return;
      if (model_->nubColumns() && section == 0) {
        if (nubHeadBlock) nubHeadBlock(*this);
        return;
      }
      if (int pos = model_->drawPosOf(section)) ClickHeader(pos);
    });
  });
  QObject::connect(header, &QHeaderView::customContextMenuRequested, context_.get(),
                   [this] { fromEventLoop([this] { COLUMNAS(); }); });
  QObject::connect(header, &QHeaderView::sectionResized, context_.get(), [this](int section, int, int) {
    if (model_ && section != model_->columnCount() - 1) fromEventLoop([this] { fitFiller(); });
  });
  // While its screen waits (for the search window, an editor) the grid stays readable: the
  // rows a search moves through are what the user looks at.
  QPalette pal = view_->palette();
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::Base, QPalette::Highlight, QPalette::HighlightedText,
                                   QPalette::WindowText, QPalette::ButtonText, QPalette::Button})
    pal.setColor(QPalette::Disabled, role, pal.color(QPalette::Active, role));
  view_->setPalette(pal);
  ApplyFont();
}

lib::TableDriver* WBLISTBOX::table() const {
  if (detached_ || closed_ || !area_ || !bound()) return nullptr;
  lib::WorkAreas* areas = lib::G().areas.get();
  lib::WorkArea* a = areas ? areas->area(area_) : nullptr;
  if (!a || !a->table || a->path != path_) return nullptr;
  return a->table.get();
}

QTableView* WBLISTBOX::view() const {
  return view_;
}

void WBLISTBOX::detachTable(bool detached) {
  detached_ = detached;
}

void WBLISTBOX::useMaintenanceLook() {
  showNumbers = false;
  nubWidth = 1;
  boxCursor = autoLite = escape = make3D = mimicButton = false;
  showFocus = autoSize = true;
  userMove = userSize = false;
}

void WBLISTBOX::SetFonts(const BrowseFont& cells, const BrowseFont& headings) {
  colFont = cells;
  headFont = headings;
  ApplyFont();
}

void WBLISTBOX::ApplyFont() {
  if (!view_) return;
  QFont base = widget() ? widget()->font() : QApplication::font();
  view_->setFont(browseQFont(colFont, base));
  view_->horizontalHeader()->setFont(browseQFont(headFont.empty() ? colFont : headFont, base));
  view_->verticalHeader()->setDefaultSectionSize(rowHeight());
}

int WBLISTBOX::rowHeight() const {
  QFont f = view_ ? view_->font() : QApplication::font();
  return QFontMetrics(f).height() + 4;
}

int WBLISTBOX::VisibleLines() const {
  int h = 0;
  if (view_) h = view_->viewport()->height();
  if (h <= 0 && widget()) h = widget()->height() - (view_ ? view_->horizontalHeader()->height() : 20);
  return std::max(1, h / std::max(1, rowHeight()));
}

int WBLISTBOX::chunk() const {
  return std::max(VisibleLines(), 10) + 5;
}

uint32_t WBLISTBOX::TopRow() const {
  if (!view_ || rowCount_ == 0) return 0;
  return uint32_t(view_->verticalScrollBar()->value()) + 1;
}

int WBLISTBOX::currentRowIndex() const {
  return view_ ? view_->currentIndex().row() : -1;
}

// ---------------------------------------------------------------------------------------
// Columns.

int WBLISTBOX::DefinedColumn(int drawPos) const {
  return drawPos >= 1 && drawPos <= int(draw_.size()) ? draw_[size_t(drawPos - 1)] : 0;
}

int WBLISTBOX::DrawPosition(int defined) const {
  for (size_t i = 0; i < draw_.size(); ++i)
    if (draw_[i] == defined) return int(i) + 1;
  return 0;
}

const WBCOLUMN* WBLISTBOX::DrawColumn(int drawPos) const {
  int d = DefinedColumn(drawPos);
  return d >= 1 && d <= int(wbCols.size()) ? &wbCols[size_t(d - 1)] : nullptr;
}

int WBLISTBOX::ColumnWidth(int drawPos) const {
  return drawPos >= 1 && drawPos <= int(widths_.size()) ? widths_[size_t(drawPos - 1)] : 0;
}

std::string WBLISTBOX::Heading(int drawPos) const {
  const WBCOLUMN* c = DrawColumn(drawPos);
  return c ? c->wbHeading : std::string();
}

int WBLISTBOX::FindColumn(const std::string& wanted) const {
  if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos) {
    int n = std::atoi(wanted.c_str());
    return n >= 1 && n <= ColCount() ? n : 0;
  }
  QString want = q(wanted).trimmed();
  for (int pos = 1; pos <= ColCount(); ++pos)
    if (q(Heading(pos)).trimmed().compare(want, Qt::CaseInsensitive) == 0) return pos;
  return 0;
}

Value WBLISTBOX::ColumnValue(const WBCOLUMN& c) const {
  if (c.wbBlock) return c.wbBlock();
  lib::TableDriver* t = table();
  if (!t) return {};
  if (c.fieldIndex >= 0) return t->get(c.fieldIndex);
  if (c.expression) {
    const auto& e = *static_cast<const ColumnExpression*>(c.expression.get());
    Value v = e.expr.evaluate(RecordContext(*t));
    if (v.type == xbase::ValueType::Char) v.text = xbase::CodePage::windows1252().toUtf8(v.text);
    return v;
  }
  return {};
}

QString WBLISTBOX::FormatCell(const WBCOLUMN& c, const Value& v) const {
  switch (v.type) {
    case xbase::ValueType::Char:
      return c.wbPicture.empty() ? q(v.text) : textThroughPicture(q(v.text), c.wbPicture);
    case xbase::ValueType::Number: {
      if (!lib::pictureTemplate(c.wbPicture).empty()) return q(lib::TRANSFORM_NUMBER(v.number, c.wbPicture));
      lib::TableDriver* t = table();
      if (c.fieldIndex >= 0 && t) {
        const xbase::Field& f = t->field(c.fieldIndex);
        std::string s = xbase::formatNumber(v.number, f.length, f.decimals);
        if (!s.empty()) return q(s);
      }
      return QString::number(v.number, 'g', 15);
    }
    case xbase::ValueType::Date:
      return q(lib::DTOC(v.julian));
    case xbase::ValueType::Logical:
      return v.logical ? "S" : "N";
    case xbase::ValueType::DateTime:
      return q(lib::DTOC(v.julian) + " " + lib::timeText(v.millis));
    default:
      return {};
  }
}

void AGREGARCOL(WBLISTBOX& grid, lib::WDBTable* table, const std::string& heading, const std::string& field,
                const std::string& picture, std::function<Value()> block, int align, bool textBlock, int adjust) {
  WBCOLUMN c;
  c.wbHeading = translateCaption(heading);
  c.wbPicture = picture;
  c.wbAlign = align;
  c.wbBAlign = align;
  c.wbAdjust = adjust;
  c.wbCargo = field;
  if (block) {
    c.wbBlock = std::move(block);
    c.wbSpecial = true;
    c.wbTSBlock = textBlock;
    c.isTextColumn = !textBlock;
  } else if (!field.empty()) {
    lib::TableDriver* t = grid.table();
    if (table && table->Used()) t = &table->driver();
    std::string name = field;
    size_t arrow = name.find("->");
    if (arrow != std::string::npos && name.find('(') == std::string::npos) name = name.substr(arrow + 2);
    if (t) {
      if (name.find('(') == std::string::npos) c.fieldIndex = t->fieldIndex(name);
      if (c.fieldIndex < 0) {
        std::vector<xbase::FieldInfo> fields;
        for (int i = 0; i < t->fieldCount(); ++i) {
          const xbase::Field& f = t->field(i);
          fields.push_back({f.name, f.type, f.length, f.decimals});
        }
        // An unknown field or function is the program's fault: the error handler names it.
        c.expression = std::make_shared<ColumnExpression>(ColumnExpression{xbase::Expr::compile(field, fields)});
      }
    }
  }
  grid.wbCols.push_back(std::move(c));
}

void WBLISTBOX::CONFIGURE() {
  if (!view_) return;
  lib::TableDriver* t = table();
  QFontMetrics fm(view_->font());
  const int charWidth = std::max(1, fm.averageCharWidth());
  std::vector<int> base(wbCols.size(), 0);
  for (size_t i = 0; i < wbCols.size(); ++i) {
    WBCOLUMN& c = wbCols[i];
    if (c.wbWidth == 0) continue;  // defined hidden
    std::string tmpl = lib::pictureTemplate(c.wbPicture);
    int chars = 10;
    Value v = t || c.wbBlock ? ColumnValue(c) : Value();
    if (!c.wbSpecial) {
      if (!tmpl.empty()) {
        chars = textLength(tmpl);
      } else if (v.type == xbase::ValueType::Char) {
        chars = textLength(v.text);
      } else if (v.type == xbase::ValueType::Date) {
        chars = 8;
      } else if (v.type == xbase::ValueType::Number) {
        chars = 14;  // "999,999,999.99"
      } else if (v.type == xbase::ValueType::Logical) {
        chars = 1;
      }
    } else if (v.type == xbase::ValueType::Number) {
      if (tmpl.empty()) {
        c.wbPicture = "99";
        chars = 2;
      } else {
        c.wbAlign = 2;
        chars = textLength(tmpl);
      }
    } else if (c.wbTSBlock) {
      c.wbAlign = 2;
      chars = tmpl.empty() ? std::max(1, textLength(v.text)) : textLength(tmpl);
    } else if (v.type == xbase::ValueType::Char && looksNumeric(v.text)) {
      chars = std::max(2, textLength(c.wbHeading) / 2);
    } else if (v.type == xbase::ValueType::Date) {
      chars = 8;
    } else if (!tmpl.empty()) {
      chars = textLength(tmpl);
    }
    base[i] = charWidth * chars + 10 + c.wbAdjust;
    // A short value under a long heading: the heading still reads whole.
    base[i] = std::max(
        base[i],
        QFontMetrics(view_->horizontalHeader()->font()).horizontalAdvance(QString::fromStdString(c.wbHeading)) + 12);
    c.wbWidth = base[i];
  }
  // The drawing columns: every defined column, then the saved layout.
  draw_.clear();
  widths_.clear();
  for (size_t i = 0; i < wbCols.size(); ++i) {
    draw_.push_back(int(i) + 1);
    widths_.push_back(base[i]);
  }
  applyLayout();
  colPos = std::clamp(colPos, 1, std::max(1, ColCount()));
  int cur = currentRowIndex();
  int top = int(TopRow()) - 1;
  model_->beginReset();
  model_->endReset();
  int nub = model_->nubColumns();
  if (nub) {
    int w = nubWidth > 0 ? nubWidth : fm.horizontalAdvance(">") + 5;
    if (!cargo_.orders.empty() || cargo_.enabled) w = std::max({w, cargo_.nubWidth, 3});
    // The heading shows the count of marks.
    w = std::max(w, QFontMetrics(view_->horizontalHeader()->font()).horizontalAdvance("999") + 8);
    view_->setColumnWidth(0, w);
  }
  for (int pos = 1; pos <= ColCount(); ++pos) {
    int section = model_->sectionOf(pos);
    int w = widths_[size_t(pos - 1)];
    view_->setColumnHidden(section, w == 0);
    if (w > 0) view_->setColumnWidth(section, w);
  }
  QHeaderView* header = view_->horizontalHeader();
  header->setSectionsMovable(userMove);
  header->setSectionResizeMode(userSize ? QHeaderView::Interactive : QHeaderView::Fixed);
  header->setStretchLastSection(false);
  fitFiller();
  if (cur >= 0 && cur < rowCount_) setCurrentRowIndex(cur, cur - top + 1);
}

// ---------------------------------------------------------------------------------------
// Reading rows.

WBLISTBOX::Row WBLISTBOX::readRow(lib::TableDriver& t) {
  Row r;
  r.recno = t.recNo();
  r.cells.reserve(draw_.size());
  for (int d : draw_) {
    const WBCOLUMN& c = wbCols[size_t(d - 1)];
    r.cells.push_back(FormatCell(c, ColumnValue(c)));
  }
  if (rowColorBlock) r.background = rowColorBlock(*this);
  if (scanBlock && !suspendCallbacks_) scanBlock(*this);
  return r;
}

const WBLISTBOX::Row* WBLISTBOX::rowAt(int row, bool painting) {
  if (!isCached(row)) {
    if (!painting) {
      ensureRows(row, row + VisibleLines(), painting);
    } else if (!paintFailed_) {
      // Qt is painting: no window may open now, and nothing may be thrown into Qt.
      try {
        ensureRows(row, row + VisibleLines(), painting);
      } catch (...) {
        paintFailed_ = true;
        reportLater(std::current_exception());
      }
    }
  }
  return isCached(row) ? &rows_[size_t(row - first_)] : nullptr;
}

void WBLISTBOX::ensureRows(int from, int to, bool painting) {
  lib::TableDriver* t = table();
  if (!t || rowCount_ <= 0 || reading_) return;
  from = std::clamp(from, 0, rowCount_ - 1);
  to = std::clamp(to, from, rowCount_ - 1);
  const int c = chunk();
  reading_ = true;
  try {
    KeepPosition keep(*t);
    int last = first_ + int(rows_.size()) - 1;
    if (rows_.empty() || to < first_ - c || from > last + c) {
      anchor(*t, from, to);
    } else {
      // Rows read up to the last one also look past it (outside painting): the count may be
      // short, as after a delete above rows that follow, while their key numbers still
      // count the deleted key.
      if (to > last || (!painting && last == rowCount_ - 1)) extendForward(*t, to);
      if (from < first_ && !rows_.empty()) extendBackward(*t, from);
    }
  } catch (...) {
    reading_ = false;
    throw;
  }
  reading_ = false;
  trimAround(from, to);
  if (pending_.removeTop || pending_.insertTop || pending_.newCount >= 0) {
    if (painting)
      scheduleCorrection();
    else
      applyCorrections();
  }
}

// A row far from the window: one positioning on its key number, then skips. A window that
// reaches the last row is read from the bottom up, so that the end always shows filled.
void WBLISTBOX::anchor(lib::TableDriver& t, int from, int to) {
  rows_.clear();
  if (to < rowCount_ - 1 && t.goToKeyNo(uint32_t(from) + 1 + keyOffset_) && !t.eof()) {
    first_ = from;
    rows_.push_back(readRow(t));
    extendForward(t, to);
    return;
  }
  t.goBottom();
  if (t.eof()) {
    first_ = 0;
    pending_.newCount = 0;
    return;
  }
  first_ = rowCount_ - 1;
  rows_.push_back(readRow(t));
  extendBackward(t, from);
}

void WBLISTBOX::anchorAt(lib::TableDriver& t, int row, uint32_t recno) {
  rows_.clear();
  t.goTo(recno);
  if (t.eof()) return;
  first_ = row;
  rows_.push_back(readRow(t));
}

void WBLISTBOX::extendForward(lib::TableDriver& t, int to) {
  if (rows_.empty()) return;
  if (t.eof() || t.recNo() != rows_.back().recno) t.goTo(rows_.back().recno);
  int last = first_ + int(rows_.size()) - 1;
  while (last < to) {
    t.skip(1);
    if (t.eof()) {
      pending_.newCount = last + 1;  // the scope ends here: the rows below are keys of deleted records
      return;
    }
    rows_.push_back(readRow(t));
    ++last;
  }
  if (last == rowCount_ - 1) {
    uint32_t here = t.keyNo();
    t.skip(1);
    if (!t.eof()) {  // more records than rows (added since the count)
      t.goBottom();
      uint32_t bottom = t.keyNo();
      pending_.newCount = rowCount_ + int(std::max<uint32_t>(1, bottom > here ? bottom - here : 1));
    }
  }
}

void WBLISTBOX::extendBackward(lib::TableDriver& t, int from) {
  if (rows_.empty()) return;
  if (t.eof() || t.recNo() != rows_.front().recno) t.goTo(rows_.front().recno);
  while (first_ > from) {
    t.skip(-1);
    if (t.bof()) {
      pending_.removeTop = first_;  // nothing above: those rows were keys of deleted records
      return;
    }
    rows_.push_front(readRow(t));
    --first_;
  }
  if (first_ == 0) {
    t.skip(-1);
    if (!t.bof()) pending_.insertTop = std::max(1, int(t.keyNo()) - int(keyOffset_));
  }
}

void WBLISTBOX::trimAround(int from, int to) {
  const int keep = 2 * chunk();
  while (!rows_.empty() && first_ < from - keep) {
    rows_.pop_front();
    ++first_;
  }
  while (!rows_.empty() && first_ + int(rows_.size()) - 1 > to + keep) rows_.pop_back();
}

void WBLISTBOX::scheduleCorrection() {
  if (correctionScheduled_ || !context_) return;
  correctionScheduled_ = true;
  QTimer::singleShot(0, context_.get(), [this] { fromEventLoop([this] { applyCorrections(); }); });
}

void WBLISTBOX::applyCorrections() {
  Correction p = pending_;
  pending_ = {};
  correctionScheduled_ = false;
  if (!model_) return;
  int top = int(TopRow()) - 1;
  int cur = currentRowIndex();
  moving_ = true;
  if (p.removeTop > 0) {
    int n = std::min(p.removeTop, rowCount_);
    model_->beginRemove(0, n - 1);
    first_ -= n;
    rowCount_ -= n;
    while (!rows_.empty() && first_ < 0) {
      rows_.pop_front();
      ++first_;
    }
    model_->endRemove();
    keyOffset_ += uint32_t(n);  // keys of deleted records before the first row
    top -= n;
    cur -= n;
  }
  if (p.insertTop > 0) {
    model_->beginInsert(0, p.insertTop - 1);
    first_ += p.insertTop;
    rowCount_ += p.insertTop;
    model_->endInsert();
    keyOffset_ = keyOffset_ > uint32_t(p.insertTop) ? keyOffset_ - uint32_t(p.insertTop) : 0;
    top += p.insertTop;
    cur += p.insertTop;
  }
  if (p.newCount >= 0) setRowCount(uint32_t(std::max(0, p.newCount - p.removeTop + p.insertTop)));
  nMaxRec = uint32_t(rowCount_);
  if (view_ && rowCount_ > 0) {
    cur = std::clamp(cur, 0, rowCount_ - 1);
    view_->selectionModel()->setCurrentIndex(
        model_->index(cur, view_->currentIndex().column() < 0 ? model_->sectionOf(std::max(1, colPos))
                                                              : view_->currentIndex().column()),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->verticalScrollBar()->setValue(std::max(0, top));
  }
  moving_ = false;
  bool keep = suspendCallbacks_;
  suspendCallbacks_ = true;  // the same record is current: no screen logic
  afterMove();
  suspendCallbacks_ = keep;
}

void WBLISTBOX::setRowCount(uint32_t count) {
  nMaxRec = count;
  if (!model_ || int(count) == rowCount_) {
    rowCount_ = int(count);
    return;
  }
  if (int(count) > rowCount_) {
    model_->beginInsert(rowCount_, int(count) - 1);
    rowCount_ = int(count);
    model_->endInsert();
  } else {
    model_->beginRemove(int(count), rowCount_ - 1);
    rowCount_ = int(count);
    while (!rows_.empty() && first_ + int(rows_.size()) > rowCount_) rows_.pop_back();
    if (rows_.empty()) first_ = 0;
    model_->endRemove();
  }
}

void WBLISTBOX::resetRows() {
  if (!model_) return;
  model_->beginReset();
  rows_.clear();
  first_ = 0;
  rowCount_ = int(nMaxRec);
  pending_ = {};
  model_->endReset();
}

void WBLISTBOX::setCurrentRowIndex(int row, int line) {
  if (!view_ || !model_ || row < 0 || row >= rowCount_) return;
  int section = model_->sectionOf(std::clamp(colPos, 1, std::max(1, ColCount())));
  moving_ = true;
  view_->selectionModel()->setCurrentIndex(model_->index(row, section),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (line > 0) view_->verticalScrollBar()->setValue(std::max(0, row - (line - 1)));
  moving_ = false;
  afterMove();
}

// The blank column after the configured ones takes the rest of the width.
void WBLISTBOX::fitFiller() {
  if (!view_ || !model_) return;
  int filler = model_->columnCount() - 1;
  int used = 0;
  for (int i = 0; i < filler; ++i)
    if (!view_->isColumnHidden(i)) used += view_->columnWidth(i);
  view_->setColumnWidth(filler, std::max(0, view_->viewport()->width() - used));
}

void WBLISTBOX::onScrolled() {
  if (!view_ || reading_) return;
  int top = int(TopRow()) - 1;
  ensureRows(top, top + VisibleLines(), true);
  int cur = currentRowIndex();
  if (cur >= 0) rowPos = cur - top + 1;
}

void WBLISTBOX::onCurrentChanged(int, int) {
  if (!moving_) afterMove();
}

void WBLISTBOX::afterMove() {
  int row = currentRowIndex();
  if (row < 0 || row >= rowCount_) {
    nCurRec = 0;
    nCRecNo = 0;
    return;
  }
  const Row* r = rowAt(row, true);
  nCurRec = uint32_t(row) + 1;
  nCRecNo = r ? r->recno : 0;
  rowPos = row - int(TopRow()) + 2;
  if (view_ && model_) {
    if (int pos = model_->drawPosOf(view_->currentIndex().column())) colPos = pos;
    if (model_->nubColumns()) view_->viewport()->update();
  }
  hitTop = row == 0;
  hitBottom = row == rowCount_ - 1;
  if (lib::TableDriver* t = table(); t && nCRecNo && (t->eof() || t->recNo() != nCRecNo)) t->goTo(nCRecNo);
  if (selectblock && !suspendCallbacks_) selectblock(*this);
}

// ---------------------------------------------------------------------------------------
// Navigation.

// The rows of the scope from the index: the key number of its last key, less the keys of
// deleted records before its first record (both ends are known exactly; keys of deleted
// records in between are read away when reading reaches an end).
void WBLISTBOX::CountScope() {
  lib::TableDriver* t = table();
  if (!t) return;
  KeepPosition keep(*t);
  t->goTop();
  if (t->eof()) {
    nMaxRec = 0;
    keyOffset_ = 0;
    return;
  }
  uint32_t first = t->keyNo();
  t->goBottom();
  uint32_t last = t->keyNo();
  keyOffset_ = first > 0 ? first - 1 : 0;
  nMaxRec = last > keyOffset_ ? last - keyOffset_ : 1;
}

void WBLISTBOX::GOTOP() {
  lib::TableDriver* t = table();
  if (!t) return;
  CountScope();
  t->goTop();
  uint32_t recno = t->eof() ? 0 : t->recNo();
  resetRows();
  if (recno) {
    {
      KeepPosition keep(*t);
      anchorAt(*t, 0, recno);
    }
    ensureRows(0, VisibleLines(), false);
    setCurrentRowIndex(0, 1);
  } else {
    nCurRec = 0;
    nCRecNo = 0;
  }
  nCurRec = 1;
  rowPos = 1;
  hitTop = true;
  hitBottom = t->eof() || nMaxRec <= 1;
}

void WBLISTBOX::GOBOTTOM() {
  lib::TableDriver* t = table();
  if (!t) return;
  CountScope();
  t->goBottom();
  if (t->eof()) {
    resetRows();
    return;
  }
  uint32_t recno = t->recNo();
  resetRows();
  const int last = rowCount_ - 1;
  {
    KeepPosition keep(*t);
    anchorAt(*t, last, recno);
  }
  int lines = VisibleLines();
  ensureRows(last - lines, last, false);
  int row = rowCount_ - 1;  // after any correction
  setCurrentRowIndex(row, std::min(lines, row + 1));
  nCurRec = nMaxRec;
  rowPos = std::min(lines, int(nMaxRec));
  hitBottom = true;
}

int64_t WBLISTBOX::SKIP(int64_t n) {
  lib::TableDriver* t = table();
  if (!t || n == 0 || rowCount_ == 0) return 0;
  hitTop = hitBottom = false;
  const int lines = VisibleLines();
  const int cur = std::max(0, currentRowIndex());
  int64_t moved = n;
  bool top = false, bottom = false;
  int target = 0;
  if (std::llabs(n) > lines) {
    // A long skip jumps by key number instead of reading the rows skipped.
    int64_t key = int64_t(nCurRec) + n;
    if (key < 1) {
      top = true;
    } else if (key > int64_t(nMaxRec)) {
      bottom = true;
    } else {
      target = int(key) - 1;
      if (!isCached(target)) {
        KeepPosition keep(*t);
        if (t->goToKeyNo(uint32_t(key) + keyOffset_) && !t->eof())
          anchorAt(*t, target, t->recNo());
        else
          bottom = true;
      }
    }
  } else {
    int64_t want = cur + n;
    if (want < 0) {
      top = true;
    } else if (want >= rowCount_) {
      bottom = true;
    } else {
      target = int(want);
    }
  }
  if (top) {
    target = 0;
    moved = 0;
  } else if (bottom) {
    target = rowCount_ - 1;
    moved = 0;
  }
  int lineNow = cur - int(TopRow()) + 2;
  int firstLine = std::clamp(target - (lineNow - 1), 0, std::max(0, rowCount_ - lines));
  ensureRows(firstLine, firstLine + lines, false);
  target = std::clamp(target, 0, rowCount_ - 1);
  if (target < int(TopRow()) - 1 || target >= int(TopRow()) - 1 + lines)
    setCurrentRowIndex(target, target - firstLine + 1);
  else
    setCurrentRowIndex(target, 0);
  if (top) {
    nCurRec = 1;
    hitTop = true;
  } else if (bottom) {
    nCurRec = nMaxRec + 1;
    hitBottom = true;
  }
  return moved;
}

void WBLISTBOX::SHOWDATA() {
  lib::TableDriver* t = table();
  if (!t || !view_) return;
  if (t->eof()) t->goBottom();
  if (t->eof()) {
    nMaxRec = 0;
    setRowCount(0);
    nCurRec = nCRecNo = 0;
    return;
  }
  uint32_t recno = t->recNo();
  uint32_t key = t->keyNo();
  if (key == 0) {  // not within the scope
    GOTOP();
    return;
  }
  key = key > keyOffset_ ? key - keyOffset_ : 1;
  if (nMaxRec < key && rowCount_ == 0) nMaxRec = key;
  if (uint32_t(rowCount_) != nMaxRec) setRowCount(nMaxRec);
  if (rowCount_ == 0) return;
  int row = std::clamp(int(key) - 1, 0, rowCount_ - 1);
  int lines = VisibleLines();
  int line = std::clamp(rowPos, 1, std::min(lines, row + 1));
  {
    KeepPosition keep(*t);
    anchorAt(*t, row, recno);
  }
  ensureRows(row - line + 1, row - line + lines, false);
  // A correction may have moved the record's row.
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].recno == recno) row = first_ + int(i);
  line = std::clamp(line, 1, row + 1);
  setCurrentRowIndex(row, line);
}

void WBLISTBOX::REFRESHALL() {
  lib::TableDriver* t = table();
  if (!t || !view_ || !model_) return;
  paintFailed_ = false;
  if (uint32_t(rowCount_) != nMaxRec) setRowCount(nMaxRec);
  int cur = currentRowIndex();
  int top = int(TopRow()) - 1;
  int line = cur - top + 1;
  uint32_t recno = nCRecNo;
  bool placed = false;
  rows_.clear();
  first_ = 0;
  if (recno && cur >= 0 && rowCount_ > 0) {
    KeepPosition keep(*t);
    t->goTo(recno);
    if (!t->eof() && !t->deleted() && t->keyNo() > 0) {
      anchorAt(*t, std::min(cur, rowCount_ - 1), recno);
      placed = true;
    }
  }
  ensureRows(top, top + VisibleLines(), false);
  if (rowCount_ > 0) model_->rowsChanged(0, rowCount_ - 1);
  model_->headingsChanged();
  bool keep = suspendCallbacks_;
  if (placed) {
    suspendCallbacks_ = true;  // the same record stays current
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].recno == recno) cur = first_ + int(i);
  }
  if (rowCount_ > 0) setCurrentRowIndex(std::clamp(cur, 0, rowCount_ - 1), std::max(1, line));
  suspendCallbacks_ = keep;
}

void WBLISTBOX::REFRESHCURRENT() {
  lib::TableDriver* t = table();
  int row = currentRowIndex();
  if (!t || row < 0 || !isCached(row)) return;
  {
    KeepPosition keep(*t);
    t->goTo(rows_[size_t(row - first_)].recno);
    if (!t->eof()) rows_[size_t(row - first_)] = readRow(*t);
  }
  model_->rowsChanged(row, row);
}

bool WBLISTBOX::GoToRow(uint32_t row) {
  if (!table() || row < 1 || int(row) > rowCount_) return false;
  int r = int(row) - 1;
  int lines = VisibleLines();
  int top = int(TopRow()) - 1;
  if (r < top || r >= top + lines) {
    int firstLine = std::clamp(r - lines / 2, 0, std::max(0, rowCount_ - lines));
    ensureRows(firstLine, firstLine + lines, false);
    r = std::min(r, rowCount_ - 1);
    setCurrentRowIndex(r, r - firstLine + 1);
  } else {
    ensureRows(r, r, false);
    setCurrentRowIndex(std::min(r, rowCount_ - 1), 0);
  }
  return true;
}

void WBLISTBOX::GoToRecord(uint32_t recno, int line) {
  lib::TableDriver* t = table();
  if (!t) return;
  t->goTo(recno);
  if (line > 0) rowPos = line;
  SHOWDATA();
}

// ---------------------------------------------------------------------------------------
// What is shown.

std::vector<std::vector<std::string>> WBLISTBOX::VisibleRows() {
  if (correctionScheduled_) applyCorrections();
  std::vector<std::vector<std::string>> out;
  if (rowCount_ == 0) return out;
  int top = int(TopRow()) - 1;
  int lines = VisibleLines();
  ensureRows(top, top + lines - 1, false);
  top = int(TopRow()) - 1;
  for (int r = top; r < std::min(rowCount_, top + lines); ++r) {
    if (!isCached(r)) continue;
    std::vector<std::string> cells;
    for (const QString& c : rows_[size_t(r - first_)].cells) cells.push_back(rtrim(c.toStdString()));
    out.push_back(std::move(cells));
  }
  return out;
}

std::string WBLISTBOX::CellText(uint32_t row, int drawPos) {
  if (correctionScheduled_) applyCorrections();
  if (row < 1 || int(row) > rowCount_ || drawPos < 1 || drawPos > ColCount()) return {};
  const Row* r = rowAt(int(row) - 1, false);
  return r ? rtrim(r->cells[size_t(drawPos - 1)].toStdString()) : std::string();
}

std::optional<uint32_t> WBLISTBOX::RowColor(uint32_t row) {
  if (correctionScheduled_) applyCorrections();
  if (row < 1 || int(row) > rowCount_) return std::nullopt;
  const Row* r = rowAt(int(row) - 1, false);
  return r ? r->background : std::nullopt;
}

Value WBLISTBOX::CellValue(uint32_t row, int drawPos) {
  lib::TableDriver* t = table();
  const WBCOLUMN* c = DrawColumn(drawPos);
  if (!t || !c || row < 1 || int(row) > rowCount_) return {};
  const Row* r = rowAt(int(row) - 1, false);
  if (!r) return {};
  KeepPosition keep(*t);
  t->goTo(r->recno);
  return t->eof() ? Value() : ColumnValue(*c);
}

void WBLISTBOX::ClickHeader(int drawPos) {
  const WBCOLUMN* c = DrawColumn(drawPos);
  if (c && c->wbHeadBlock) {
    auto block = c->wbHeadBlock;  // the order change rebuilds the columns
    block();
  }
}

void WBLISTBOX::TypeKeys(const std::string& text) {
  for (QChar ch : QString::fromStdString(text)) {
    if (search_) {
      search_->typeKey(QString(ch));
      continue;
    }
    if (!view_) return;
    int key = ch.isLetterOrNumber() ? ch.toUpper().unicode() : ch.unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(view_, &press);
  }
}

void WBLISTBOX::PressKey(int qtKey, bool control) {
  if (!view_) return;
  QKeyEvent press(QEvent::KeyPress, qtKey, control ? Qt::ControlModifier : Qt::NoModifier);
  QApplication::sendEvent(view_, &press);
}

// ---------------------------------------------------------------------------------------
// The model.

int BrowseModel::nubColumns() const {
  return grid_ && !grid_->cargo_.noNub ? 1 : 0;
}

int BrowseModel::drawPosOf(int section) const {
  if (!grid_) return 0;
  int pos = section - nubColumns() + 1;
  return pos >= 1 && pos <= grid_->ColCount() ? pos : 0;
}

int BrowseModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !grid_ ? 0 : grid_->rowCount_;
}

int BrowseModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !grid_ ? 0 : nubColumns() + grid_->ColCount() + 1;
}

Qt::ItemFlags BrowseModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant BrowseModel::data(const QModelIndex& index, int role) const {
  if (!grid_ || !index.isValid()) return {};
  const int row = index.row();
  if (nubColumns() && index.column() == 0) {
    switch (role) {
      case Qt::DisplayRole: {
        const WBLISTBOX::Row* r = grid_->rowAt(row, true);
        if (r && grid_->cargo_.marked.count(r->recno)) return QString::fromStdString(grid_->cargo_.markSymbol);
        return row == grid_->currentRowIndex() ? QString(">") : QString();
      }
      case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
      case Qt::BackgroundRole:
        return QApplication::palette().button();
      case Qt::ForegroundRole:
        return QApplication::palette().buttonText();
      default:
        return {};
    }
  }
  const int pos = drawPosOf(index.column());
  const WBCOLUMN* c = pos ? grid_->DrawColumn(pos) : nullptr;
  if (!c) return {};
  switch (role) {
    case Qt::DisplayRole: {
      const WBLISTBOX::Row* r = grid_->rowAt(row, true);
      return r ? r->cells[size_t(pos - 1)] : QString();
    }
    case Qt::TextAlignmentRole:
      return int((c->wbAlign == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (const WBLISTBOX::Row* r = grid_->rowAt(row, true); r && r->background) return colour(*r->background);
      if (!grid_->cargo_.orders.empty() && grid_->cargo_.activeColumn == grid_->DefinedColumn(pos))
        return colour(kOrderColour);
      if (c->wbBGColor) return colour(*c->wbBGColor);
      return {};
    case Qt::ForegroundRole:
      if (c->wbFGColor) return colour(*c->wbFGColor);
      return {};
    default:
      return {};
  }
}

QVariant BrowseModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!grid_ || orientation != Qt::Horizontal) return {};
  const bool nub = nubColumns() && section == 0;
  const int pos = nub ? 0 : drawPosOf(section);
  switch (role) {
    case Qt::DisplayRole:
      if (nub) return QString::fromStdString(lib::TRANSFORM_NUMBER(double(grid_->cargo_.marks.size()), "999"));
      return pos ? QString::fromStdString(grid_->Heading(pos)) : QString();
    case Qt::TextAlignmentRole: {
      if (nub) return int(Qt::AlignCenter);
      const WBCOLUMN* c = grid_->DrawColumn(pos);
      return int((c && c->wbAlign == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::FontRole: {
      if (!pos || grid_->cargo_.orders.empty() || grid_->cargo_.activeColumn != grid_->DefinedColumn(pos)) return {};
      QFont f = grid_->view_ ? grid_->view_->horizontalHeader()->font() : QApplication::font();
      f.setBold(true);  // the order column
      return f;
    }
    case Qt::ForegroundRole: {
      const WBCOLUMN* c = pos ? grid_->DrawColumn(pos) : nullptr;
      if (c && c->wbHeadColor) return colour(*c->wbHeadColor);
      return {};
    }
    default:
      return {};
  }
}

void BrowseModel::rowsChanged(int first, int last) {
  if (first > last) return;
  emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void BrowseModel::headingsChanged() {
  emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

// ---------------------------------------------------------------------------------------
// The view.

BrowseView::BrowseView(WBLISTBOX* grid, QWidget* parent) : QTableView(parent), grid_(grid) {
  setObjectName("WBROWSE");
  setFocusPolicy(Qt::StrongFocus);
}

void BrowseView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (grid_) fromEventLoop([&] { grid_->onCurrentChanged(current.row(), current.column()); });
}

QModelIndex BrowseView::onData(const QModelIndex& index) const {
  auto* m = static_cast<BrowseModel*>(model());
  if (!index.isValid() || !grid_ || grid_->ColCount() == 0 || m->drawPosOf(index.column())) return index;
  int pos = index.column() < m->nubColumns() ? 1 : grid_->ColCount();
  return m->index(index.row(), m->sectionOf(pos));
}

QModelIndex BrowseView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  return onData(QTableView::moveCursor(action, modifiers));
}

void BrowseView::resizeEvent(QResizeEvent* e) {
  QTableView::resizeEvent(e);
  if (!grid_) return;
  fromEventLoop([this] {
    grid_->fitFiller();
    grid_->onScrolled();
  });
}

}  // namespace win
