#include "win/virtual_keyboard.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

#include "win/driver.h"

namespace win {

namespace {

QPointer<QWidget>& keyboard() {
  static QPointer<QWidget> w;
  return w;
}

void sendKey(int key, const QString& text) {
  QWidget* target = QApplication::focusWidget();
  if (!target) return;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

QWidget* buildKeyboard() {
  auto* w = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->setWindowTitle(QString::fromUtf8("Teclado Virtual"));
  w->setObjectName("TECLADO");
  auto* grid = new QGridLayout(w);
  grid->setSpacing(2);
  const char* rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKLÑ", "ZXCVBNM.-_"};
  for (int r = 0; r < 4; ++r) {
    QString keys = QString::fromUtf8(rows[r]);
    for (int c = 0; c < keys.size(); ++c) {
      auto* b = new QPushButton(keys.mid(c, 1), w);
      b->setFocusPolicy(Qt::NoFocus);
      b->setFixedSize(30, 28);
      QString ch = keys.mid(c, 1);
      QObject::connect(b, &QPushButton::clicked, [ch] { sendKey(0, ch); });
      grid->addWidget(b, r, c);
    }
  }
  struct Special {
    const char* caption;
    int key;
    int column, span;
  } specials[] = {
      {"Borrar", Qt::Key_Backspace, 0, 3}, {"Espacio", Qt::Key_Space, 3, 4}, {"Entrar", Qt::Key_Return, 7, 3}};
  for (const Special& s : specials) {
    auto* b = new QPushButton(QString::fromUtf8(s.caption), w);
    b->setFocusPolicy(Qt::NoFocus);
    int key = s.key;
    QObject::connect(b, &QPushButton::clicked, [key] { sendKey(key, key == Qt::Key_Space ? " " : QString()); });
    grid->addWidget(b, 4, s.column, 1, s.span);
  }
  return w;
}

}  // namespace

std::string openVirtualKeyboard() {
  // Scripts and tests always get ours: nothing outside the program may start.
  if (!Driver::installed()) {
    for (const char* program : kDesktopKeyboards) {
      QString path = QStandardPaths::findExecutable(program);
      if (!path.isEmpty() && QProcess::startDetached(path, {})) return program;
    }
  }
  if (!keyboard()) keyboard() = buildKeyboard();
  keyboard()->show();
  keyboard()->raise();
  return "";
}

QWidget* ownKeyboard() {
  return keyboard();
}

}  // namespace win
