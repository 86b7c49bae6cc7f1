// In-cell editing: a one-field dialog (EDICION) laid exactly over the grid's current cell.
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/table_driver.h"
#include "lib/wdbtable.h"
#include "win/browse_internal.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/entry_filters.h"
#include "win/message_box.h"

namespace win {

namespace {

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

bool numericPicture(const std::string& picture) {
  return !picture.empty() && picture.find_first_not_of("9,.") == std::string::npos;
}

// A number field without a picture edits through one made from its width.
std::string pictureOfField(const xbase::Field& f) {
  int decimals = f.decimals;
  int integers = std::max(1, f.length - (decimals ? decimals + 1 : 0));
  return std::string(size_t(integers), '9') + (decimals ? "." + std::string(size_t(decimals), '9') : "");
}

// After a typed key opened the editor, the focus must not select that key away (until the
// user types on). Runs after the numeric entry's own focus handling.
class KeepFirstKey : public QObject {
 public:
  explicit KeepFirstKey(QLineEdit* e) : QObject(e), edit_(e) {}
  QString typed;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn && edit_->text() == typed) {
      edit_->deselect();
      edit_->end(false);
    }
    return false;
  }

 private:
  QLineEdit* edit_;
};

}  // namespace

bool EDITCELL::Editar(lib::WDBTable& table, WBLISTBOX& grid, int, int qtKey, const std::string& keyText, WDIAG* owner) {
  const WBCOLUMN* column = grid.DrawColumn(grid.colPos);
  if (!column || column->wbCargo.empty() || !table.Used() || !grid.nCRecNo || !grid.view()) return false;
  std::string fieldName = column->wbCargo;
  if (size_t arrow = fieldName.find("->"); arrow != std::string::npos) fieldName = fieldName.substr(arrow + 2);
  const int position = table.FieldPos(fieldName);
  if (position == 0) return false;  // an expression: nothing to write into
  const uint32_t recno = grid.nCRecNo;
  if (table.Eof() || table.RecNo() != recno) table.GoTo(recno);
  const xbase::Field field = table.driver().field(position - 1);
  const Value value = table.FieldGet(position);
  const bool isDate = field.type == 'D';
  const bool isNumber = std::string("NFIBY").find(field.type) != std::string::npos;
  std::string picture = column->wbPicture;
  if (isDate)
    picture = "99/99/99";
  else if (numericPicture(picture))
    picture = "@K " + picture;
  else if (isNumber && lib::pictureTemplate(picture).empty())
    picture = "@K " + pictureOfField(field);
  const bool typed = qtKey != 0 && qtKey != Qt::Key_Return && qtKey != Qt::Key_Enter && !keyText.empty();

  // Exactly over the cell: one pixel up, one wider and higher.
  QTableView* view = grid.view();
  auto* model = static_cast<BrowseModel*>(view->model());
  QModelIndex index = model->index(int(grid.nCurRec) - 1, model->sectionOf(grid.colPos));
  view->scrollTo(index);
  QRect cell = view->visualRect(index);
  QPoint at = view->viewport()->mapToGlobal(cell.topLeft());
  QRect place(at.x(), at.y() - 1, cell.width() + 1, cell.height() + 1);

  std::unique_ptr<WEDIT> edit;
  bool written = false;
  auto init = [&](ModalDialog& dlg) {
    QWidget* top = dlg.frame();
    top->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    top->setFixedSize(place.size());
    top->move(place.topLeft());
    edit = std::make_unique<WEDIT>(&dlg, 500);
    auto* e = qobject_cast<QLineEdit*>(edit->widget());
    if (!e) return;
    dlg.window()->setFixedSize(place.size());
    e->setGeometry(0, 0, place.width(), place.height());
    e->setFont(view->font());
    if (isDate) {
      std::string text = value.julian ? lib::DTOC(value.julian) : "  /  /  ";
      if (typed && std::isdigit(static_cast<unsigned char>(keyText[0]))) text[0] = keyText[0];
      e->setMaxLength(10);  // dd/mm/yy, or dd/mm/yyyy
      edit->TEXT(text);
      e->setCursorPosition(typed ? 1 : 0);
    } else if (isNumber) {
      edit->TEXT(typed ? keyText : lib::TRANSFORM_NUMBER(value.number, picture));
      KeepFirstKey* keep = typed ? new KeepFirstKey(e) : nullptr;
      if (keep) e->installEventFilter(keep);
      ONLYNUMBER(*edit, picture);
      if (keep) keep->typed = e->text();
    } else if (field.type == 'L') {
      e->setMaxLength(1);
      edit->TEXT(typed ? keyText : (value.logical ? "S" : "N"));
    } else {
      e->setMaxLength(field.length > 0 ? field.length : 32767);
      std::string text = typed ? keyText : rtrim(value.text);
      bool upperCase = picture.find('!') != std::string::npos;
      if (upperCase) {
        text = QString::fromStdString(text).toUpper().toStdString();
        QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString& s) {
          if (s == s.toUpper()) return;
          int cursor = e->cursorPosition();
          e->setText(s.toUpper());
          e->setCursorPosition(cursor);
        });
      }
      edit->TEXT(text);
      e->deselect();
      e->end(false);
    }
  };
  auto accept = [&](ModalDialog& dlg) {
    std::string text = edit->TEXT();
    Value written_value;
    if (isDate) {
      const lib::TypedDate date = lib::readDate(text);
      if (date.unreadable) {
        MESSAGE_BOX(&dlg, "Fecha inválida", "Error", 16);
        return false;  // the editor stays
      }
      written_value = Value::date(date.julian);
    } else if (isNumber) {
      written_value = Value::num(lib::readNumber(text));
    } else if (field.type == 'L') {
      char c = text.empty() ? 'N' : char(std::toupper(static_cast<unsigned char>(text[0])));
      written_value = Value::boolean(c == 'S' || c == 'T' || c == 'Y');
    } else {
      written_value = Value::chars(text);
    }
    if (table.Eof() || table.RecNo() != recno) table.GoTo(recno);
    table.FieldPut(position, written_value);
    written = true;
    return true;
  };
  DIALOG_BOX("EDICION", owner ? owner : grid.dialog(), {init, accept});
  if (written) grid.REFRESHCURRENT();
  if (grid.view()) grid.view()->setFocus();
  return written;
}

}  // namespace win
