#include "win/entry_filters.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "lib/globals.h"
#include "lib/picture.h"
#include "lib/program_time.h"
#include "win/controls.h"
#include "xbase/date.h"
#include "xbase/number_text.h"

namespace win {

namespace {

class NumericEntry : public QObject {
 public:
  NumericEntry(QLineEdit* edit, std::string picture, std::function<void()> notify)
      : QObject(edit), picture_(std::move(picture)), edit_(edit), notify_(std::move(notify)) {
    show(lib::readNumber(edit->text().toStdString()));
  }

  std::string picture_;
  int sign_ = 0;

  void show(double value) {
    if (sign_ < 0 && value > 0) value = -value;
    if (sign_ > 0 && value < 0) value = -value;
    QString before = edit_->text();
    edit_->setText(QString::fromStdString(lib::TRANSFORM_NUMBER(value, picture_)));
    if (edit_->text() != before) {
      edit_->setModified(true);
      if (notify_) notify_();
    }
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      decimalEntry_ = false;
      typed_ = 0;
      edit_->selectAll();
      return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) return false;
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if (k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape ||
        k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Home || k == Qt::Key_End || k == Qt::Key_Up ||
        k == Qt::Key_Down)
      return false;
    if (k == Qt::Key_Backspace || k == Qt::Key_Delete) {
      if (edit_->hasSelectedText()) {
        QString t = edit_->text();
        t.remove(edit_->selectionStart(), edit_->selectedText().size());
        show(lib::readNumber(t.toStdString()));
      } else {
        removeLast();
      }
      return true;
    }
    QString text = key->text();
    if (text.isEmpty()) return true;
    QChar c = text[0];
    if (edit_->hasSelectedText()) {  // typing replaces the selection
      QString t = edit_->text();
      t.remove(edit_->selectionStart(), edit_->selectedText().size());
      edit_->setText(t);
      if (t.trimmed().isEmpty()) show(0);
    }
    parts();
    if (c == '+' || c == QChar(0xA1)) {
      if (sign_ == 0) negative_ = false;
    } else if (c == '-' || c == '\'') {
      if (sign_ == 0) negative_ = true;
    } else if (c == '.') {
      if (lib::pictureDecimals(picture_) > 0) {
        decimalEntry_ = true;
        typed_ = 0;
      }
      return true;
    } else if (c.isDigit()) {
      char d = char(c.toLatin1());
      if (decimalEntry_) {
        if (typed_ >= int(decimals_.size())) return true;
        decimals_[size_t(typed_++)] = d;
      } else {
        if (integer_ == "0") integer_.clear();
        if (int(integer_.size()) >= lib::pictureIntegerDigits(picture_)) return true;
        integer_.push_back(d);
      }
    } else {
      return true;  // anything else is ignored
    }
    showParts();
    return true;
  }

 private:
  void parts() {
    std::string t = edit_->text().toStdString();
    double v = lib::readNumber(t);
    negative_ = v < 0 || t.find('-') != std::string::npos;
    std::string digits = lib::TRANSFORM_NUMBER(
        std::fabs(v),
        std::string(20, '9') +
            (lib::pictureDecimals(picture_) ? "." + std::string(size_t(lib::pictureDecimals(picture_)), '9') : ""));
    size_t b = digits.find_first_not_of(' ');
    digits = b == std::string::npos ? "0" : digits.substr(b);
    size_t dot = digits.find('.');
    integer_ = digits.substr(0, dot);
    decimals_ = dot == std::string::npos ? std::string() : digits.substr(dot + 1);
    decimals_.resize(size_t(lib::pictureDecimals(picture_)), '0');
  }

  void showParts() {
    double v = xbase::parseNumber((integer_.empty() ? std::string("0") : integer_) + "." + decimals_);
    show(negative_ ? -v : v);
  }

  void removeLast() {
    parts();
    if (decimalEntry_) {
      if (typed_ > 0) decimals_[size_t(--typed_)] = '0';
      if (typed_ == 0) decimalEntry_ = false;
    } else {
      if (!integer_.empty()) integer_.pop_back();
    }
    showParts();
  }

  QLineEdit* edit_;
  std::function<void()> notify_;
  bool decimalEntry_ = false;
  int typed_ = 0;
  bool negative_ = false;
  std::string integer_, decimals_;
};

NumericEntry* numericOf(const WEDIT& edit) {
  auto* e = qobject_cast<QLineEdit*>(edit.widget());
  if (!e) return nullptr;
  for (QObject* child : e->children())
    if (auto* n = dynamic_cast<NumericEntry*>(child)) return n;
  return nullptr;
}

// Whether the edit holds a date the helpers may step: digits, "/" and blanks only, a
// valid date with a year, and nothing selected.
int32_t dateIn(QLineEdit* e) {
  if (e->hasSelectedText()) return 0;
  std::string t = e->text().toStdString();
  if (t.find_first_not_of("0123456789/ ") != std::string::npos || t.find('/') == std::string::npos) return 0;
  return lib::CTOD(t);
}

class DateHelper : public QObject {
 public:
  explicit DateHelper(QLineEdit* edit) : QObject(edit), edit_(edit) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      QString text = static_cast<QKeyEvent*>(event)->text();
      if (text.isEmpty()) return false;
      QChar c = text[0];
      int step = (c == '+' || c == QChar(0xA1)) ? 1 : (c == '-' || c == '\'') ? -1 : 0;
      if (!step) return false;
      int32_t jd = dateIn(edit_);
      if (!jd) return false;
      edit_->setText(QString::fromStdString(lib::DTOC(jd + step)));
      edit_->setModified(true);
      emit edit_->textEdited(edit_->text());
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      int32_t jd = dateIn(edit_);
      if (!jd) jd = lib::XDATE();
      openCalendar(jd);
      return true;
    }
    return false;
  }

 private:
  void openCalendar(int32_t jd) {
    auto* popup = new QWidget(edit_->window(), Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setObjectName("CALENDARIO");
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* cal = new QCalendarWidget(popup);
    xbase::Ymd d = xbase::ymdFromJulian(jd);
    cal->setSelectedDate(QDate(d.year, d.month, d.day));
    layout->addWidget(cal);
    QLineEdit* edit = edit_;
    QObject::connect(cal, &QCalendarWidget::clicked, popup, [edit, popup](const QDate& picked) {
      edit->setText(
          QString::fromStdString(lib::DTOC(xbase::julianFromYmd(picked.year(), picked.month(), picked.day()))));
      edit->setModified(true);
      emit edit->textEdited(edit->text());
      popup->close();
    });
    popup->move(edit_->mapToGlobal(QPoint(0, edit_->height())));
    popup->show();
  }

  QLineEdit* edit_;
};

}  // namespace

void ONLYNUMBER(WEDIT& edit, const std::string& picture, std::function<void()> notify) {
  auto* e = qobject_cast<QLineEdit*>(edit.widget());
  if (!e) return;
  if (NumericEntry* old = numericOf(edit)) {
    e->removeEventFilter(old);
    delete old;
  }
  auto* filter = new NumericEntry(e, picture, std::move(notify));
  e->installEventFilter(filter);
  e->setAlignment(Qt::AlignRight);
}

void ONLY_SIGN(WEDIT& edit, int signRule, const std::string& picture) {
  NumericEntry* n = numericOf(edit);
  if (!n) return;
  n->sign_ = signRule;
  if (!picture.empty()) n->picture_ = picture;
  auto* e = qobject_cast<QLineEdit*>(edit.widget());
  n->show(lib::readNumber(e->text().toStdString()));
}

double NUMBER_OF(const WEDIT& edit) {
  return lib::readNumber(edit.TEXT());
}

bool dateHelpersOn() {
  return lib::G().XSEL_DATE != "NO";
}

void installDateHelper(QLineEdit* edit) {
  if (dateHelpersOn()) edit->installEventFilter(new DateHelper(edit));
}

}  // namespace win
