#include "win/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "lib/globals.h"

namespace win {

namespace {

QString displayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}

struct ButtonSpec {
  QMessageBox::StandardButton qt;
  int answer;
};

std::vector<ButtonSpec> buttonsFor(int flags) {
  switch (flags & 0x0F) {
    case lib::MB_OKCANCEL:
      return {{QMessageBox::Ok, lib::IDOK}, {QMessageBox::Cancel, lib::IDCANCEL}};
    case lib::MB_ABORTRETRYIGNORE:
      return {
          {QMessageBox::Abort, lib::IDABORT}, {QMessageBox::Retry, lib::IDRETRY}, {QMessageBox::Ignore, lib::IDIGNORE}};
    case lib::MB_YESNOCANCEL:
      return {{QMessageBox::Yes, lib::IDYES}, {QMessageBox::No, lib::IDNO}, {QMessageBox::Cancel, lib::IDCANCEL}};
    case lib::MB_YESNO:
      return {{QMessageBox::Yes, lib::IDYES}, {QMessageBox::No, lib::IDNO}};
    case lib::MB_RETRYCANCEL:
      return {{QMessageBox::Retry, lib::IDRETRY}, {QMessageBox::Cancel, lib::IDCANCEL}};
    default:
      return {{QMessageBox::Ok, lib::IDOK}};
  }
}

}  // namespace

int firstButton(int flags) {
  return buttonsFor(flags).front().answer;
}

bool offersButton(int flags, int answer) {
  for (const auto& b : buttonsFor(flags))
    if (b.answer == answer) return true;
  return false;
}

int MESSAGE_BOX(const void*, const std::string& text, const std::string& title, int flags) {
  return lib::G().messages->show(text, title, flags);
}

int QtMessageSink::show(const std::string& text, const std::string& title, int flags) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(displayText(text));
  switch (flags & 0xF0) {
    case lib::MB_ICONERROR:
      box.setIcon(QMessageBox::Critical);
      break;
    case lib::MB_ICONQUESTION:
      box.setIcon(QMessageBox::Question);
      break;
    case lib::MB_ICONWARNING:
      box.setIcon(QMessageBox::Warning);
      break;
    case lib::MB_ICONINFORMATION:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  QMessageBox::StandardButtons all;
  std::vector<ButtonSpec> specs = buttonsFor(flags);
  for (const auto& b : specs) all |= b.qt;
  box.setStandardButtons(all);
  box.setDefaultButton(specs.front().qt);
  // Spanish captions on the buttons.
  auto caption = [&](QMessageBox::StandardButton b, const char* label) {
    if (QAbstractButton* w = box.button(b)) w->setText(QString::fromUtf8(label));
  };
  caption(QMessageBox::Ok, "Aceptar");
  caption(QMessageBox::Cancel, "Cancelar");
  caption(QMessageBox::Yes, "Sí");
  caption(QMessageBox::No, "No");
  caption(QMessageBox::Abort, "Anular");
  caption(QMessageBox::Retry, "Reintentar");
  caption(QMessageBox::Ignore, "Omitir");
  int pressed = box.exec();
  for (const auto& b : specs)
    if (b.qt == pressed) return b.answer;
  // Closing the box is Cancel where there is one, else its only button.
  return offersButton(flags, lib::IDCANCEL) ? lib::IDCANCEL : specs.front().answer;
}

}  // namespace win
