#include "win/dialog_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "lib/globals.h"
#include "win/entry_filters.h"

namespace win {

namespace {

// Windows' dialog fonts have no Linux twin; these keep the metrics close.
QString fontFamily(const std::string& face) {
  std::string f;
  for (char c : face) f.push_back(char(std::toupper(static_cast<unsigned char>(c))));
  if (f == "MS SANS SERIF" || f == "MS SHELL DLG" || f == "MS SHELL DLG 2" || f == "ARIAL" || f == "TAHOMA" ||
      f == "SEGOE UI" || f == "HELV" || f == "VERDANA" || f == "CALIBRI")
    return "Liberation Sans";
  if (f == "COURIER" || f == "COURIER NEW" || f == "LUCIDA CONSOLE") return "Liberation Mono";
  if (f == "TIMES NEW ROMAN" || f == "TIMES ROMAN" || f == "TIMES") return "Liberation Serif";
  return QString::fromStdString(face);
}

}  // namespace

QFont dialogFont(const FontTemplate& t) {
  const lib::Globals& g = lib::G();
  FontTemplate f = t;
  if (!g.XGLOBAL_FONT_NAME.empty()) {
    f.face = g.XGLOBAL_FONT_NAME;
    if (g.XGLOBAL_FONT_SIZE > 0) f.pointSize = g.XGLOBAL_FONT_SIZE;
  }
  QFont font(fontFamily(f.face));
  font.setPointSizeF(f.pointSize > 0 ? f.pointSize : 8);
  font.setBold(f.weight >= 600);
  font.setItalic(f.italic);
  return font;
}

std::string translateCaption(const std::string& text) {
  std::string out = text;
  for (const lib::Translation& t : lib::G().XTRADUCT) {
    if (t.from.empty()) continue;
    if (t.embedded) {
      for (size_t at = out.find(t.from); at != std::string::npos; at = out.find(t.from, at + t.to.size()))
        out.replace(at, t.from.size(), t.to);
    } else if (out == t.from) {
      out = t.to;
    }
  }
  return out;
}

DialogWindow::DialogWindow(const DialogTemplate& t, QWidget* parent) : QWidget(parent), template_(&t) {
  setFont(dialogFont(t.font));
  QFontMetrics fm(font());
  // Dialog base units as Windows derives them from the font.
  const QString sample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  baseX_ = std::max(1, (fm.horizontalAdvance(sample) / 26 + 1) / 2);
  baseY_ = std::max(1, fm.height());
  setWindowTitle(QString::fromStdString(translateCaption(t.caption)));
  build(t, nullptr, nullptr);
  resize(sizeInPixels(t.cx, t.cy));
}

QPoint DialogWindow::toPixels(int x, int y) const {
  return {x * baseX_ / 4, y * baseY_ / 8};
}
QSize DialogWindow::sizeInPixels(int cx, int cy) const {
  return {cx * baseX_ / 4, cy * baseY_ / 8};
}

QWidget* DialogWindow::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::vector<int> DialogWindow::merge(const DialogTemplate& page, std::vector<QWidget*>* unnamed) {
  std::vector<int> added;
  build(page, &added, unnamed);
  return added;
}

void DialogWindow::build(const DialogTemplate& t, std::vector<int>* added, std::vector<QWidget*>* unnamed) {
  // Automatic radio buttons exclude each other within their group, as in Windows: a group
  // runs from a control with WS_GROUP (or the template's first control) to the next one.
  QButtonGroup* group = nullptr;
  bool first = true;
  for (const ControlTemplate& c : t.controls) {
    if (first || (c.style & styles::WS_GROUP)) group = nullptr;
    first = false;
    QWidget* w = makeControl(c);
    if (auto* radio = qobject_cast<QRadioButton*>(w); radio && radio->autoExclusive()) {
      radio->setAutoExclusive(false);
      if (!group) {
        group = new QButtonGroup(this);
        group->setObjectName(QString("radios%1").arg(++radioGroups_));
      }
      group->addButton(radio);
    }
    QSize size = sizeInPixels(c.cx, c.cy);
    // A combo box's template height includes its drop-down list; the box itself is one line.
    if (qobject_cast<QComboBox*>(w)) size.setHeight(std::min(size.height(), w->sizeHint().height()));
    w->setGeometry(QRect(toPixels(c.x, c.y), size));
    w->setProperty("controlId", c.id);
    if (c.style & styles::WS_DISABLED) w->setEnabled(false);
    w->setVisible(c.style & styles::WS_VISIBLE);
    if (c.id > 0 && !controls_.count(c.id)) {
      controls_[c.id] = w;
      if (added) added->push_back(c.id);
    } else {
      unnamed_.push_back(w);
      if (unnamed) unnamed->push_back(w);
    }
  }
}

QWidget* DialogWindow::makeControl(const ControlTemplate& c) {
  const QString text = QString::fromStdString(translateCaption(c.text));
  const int id = c.id;
  switch (c.kind) {
    case ControlKind::Edit: {
      if (c.style & styles::ES_MULTILINE) {
        auto* e = new QPlainTextEdit(this);
        e->setReadOnly(c.style & styles::ES_READONLY);
        connect(e, &QPlainTextEdit::textChanged, this, [this, id] { send(id, EN_CHANGE); });
        return e;
      }
      auto* e = new QLineEdit(this);
      e->setReadOnly(c.style & styles::ES_READONLY);
      if (c.style & styles::ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
      if (c.style & styles::ES_RIGHT) e->setAlignment(Qt::AlignRight);
      if (c.style & styles::ES_CENTER) e->setAlignment(Qt::AlignHCenter);
      if (c.style & styles::ES_UPPERCASE)
        connect(e, &QLineEdit::textEdited, e, [e](const QString& s) {
          if (s != s.toUpper()) {
            int pos = e->cursorPosition();
            e->setText(s.toUpper());
            e->setCursorPosition(pos);
          }
        });
      connect(e, &QLineEdit::textEdited, this, [this, id] { send(id, EN_CHANGE); });
      connect(e, &QLineEdit::editingFinished, this, [this, id] { send(id, EN_KILLFOCUS); });
      e->installEventFilter(this);
      installDateHelper(e);
      return e;
    }
    case ControlKind::Static: {
      auto* l = new QLabel(text, this);
      Qt::Alignment a = Qt::AlignTop;
      if (c.statement == "RTEXT" || (c.style & 0xF) == styles::SS_RIGHT)
        a |= Qt::AlignRight;
      else if (c.statement == "CTEXT" || (c.style & 0xF) == styles::SS_CENTER)
        a |= Qt::AlignHCenter;
      else
        a |= Qt::AlignLeft;
      l->setAlignment(a);
      l->setWordWrap(true);
      return l;
    }
    case ControlKind::Button: {
      auto* b = new QPushButton(text, this);
      if (c.defaultButton()) b->setDefault(true);
      b->setAutoDefault(false);
      connect(b, &QPushButton::clicked, this, [this, id] { send(id, BN_CLICKED); });
      return b;
    }
    case ControlKind::CheckBox: {
      auto* b = new QCheckBox(text, this);
      connect(b, &QCheckBox::clicked, this, [this, id] { send(id, BN_CLICKED); });
      return b;
    }
    case ControlKind::RadioButton: {
      auto* b = new QRadioButton(text, this);
      b->setAutoExclusive(c.statement.find("AUTO") != std::string::npos || (c.style & 0xF) == 9);
      connect(b, &QRadioButton::clicked, this, [this, id] { send(id, BN_CLICKED); });
      return b;
    }
    case ControlKind::GroupBox: {
      auto* g = new QGroupBox(text, this);
      g->lower();
      return g;
    }
    case ControlKind::ComboBox: {
      auto* cb = new QComboBox(this);
      cb->setEditable((c.style & 0x3) == styles::CBS_DROPDOWN);
      connect(cb, qOverload<int>(&QComboBox::activated), this, [this, id](int) { send(id, CBN_SELCHANGE); });
      return cb;
    }
    case ControlKind::ListBox: {
      auto* lb = new QListWidget(this);
      // LBS_EXTENDEDSEL selects ranges with Shift and Ctrl; LBS_MULTIPLESEL toggles each
      // entry clicked.
      if (c.style & styles::LBS_EXTENDEDSEL)
        lb->setSelectionMode(QAbstractItemView::ExtendedSelection);
      else if (c.style & styles::LBS_MULTIPLESEL)
        lb->setSelectionMode(QAbstractItemView::MultiSelection);
      connect(lb, &QListWidget::itemSelectionChanged, this, [this, id] { send(id, LBN_SELCHANGE); });
      connect(lb, &QListWidget::itemDoubleClicked, this, [this, id] { send(id, LBN_DBLCLK); });
      return lb;
    }
    case ControlKind::Tree: {
      auto* t = new QTreeWidget(this);
      t->setHeaderHidden(true);
      return t;
    }
    case ControlKind::Progress:
      return new QProgressBar(this);
    case ControlKind::Grid:
    case ControlKind::TabStrip:
    case ControlKind::Calendar:
    case ControlKind::Other:
    default: {
      // A placeholder the grid, the tab strip or a later control is put into.
      auto* f = new QFrame(this);
      f->setObjectName(QString::fromStdString(c.className));
      if (c.kind == ControlKind::Grid) f->setFrameShape(QFrame::StyledPanel);
      return f;
    }
  }
}

void setButtonChecked(QAbstractButton* button, bool checked) {
  if (!button) return;
  QButtonGroup* group = button->group();
  if (!checked && group && group->exclusive() && button->isChecked()) {
    group->setExclusive(false);
    button->setChecked(false);
    group->setExclusive(true);
    return;
  }
  button->setChecked(checked);
}

void DialogWindow::send(int id, int code) {
  if (onCommand) onCommand(id, code);
}

int DialogWindow::defaultButton() const {
  for (const ControlTemplate& c : template_->controls)
    if (c.kind == ControlKind::Button && c.defaultButton()) return c.id;
  return IDOK;
}

void DialogWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    send(IDCANCEL, BN_CLICKED);
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    QWidget* b = control(defaultButton());
    if (!b || (b->isEnabled() && b->isVisible())) send(defaultButton(), BN_CLICKED);
    return;
  }
  QWidget::keyPressEvent(e);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && onKey) {
    auto* w = qobject_cast<QWidget*>(watched);
    int id = w ? w->property("controlId").toInt() : 0;
    onKey(id, static_cast<QKeyEvent*>(event)->key());
  }
  return QWidget::eventFilter(watched, event);
}

void DialogWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (onResize) onResize();
}

}  // namespace win
