#include "app/error_window.h"

#include "app/error_handler.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/driver.h"
#include "win/entry.h"

namespace app {

namespace {

constexpr int kSalir = 201, kReintentar = 202, kIgnorar = 203;

ErrorAction showErrorWindow(const std::string& message, const std::string& report, bool canRetry, bool canDefault) {
  // Under the driver the window is answered like a message box: retry, ignore, or Salir.
  if (win::Driver::installed()) {
    int answer = win::Driver::instance().answerFor(message + "\r" + report, "ERROR DE SISTEMA", 0x12);
    if (answer == 4 && canRetry) return ErrorAction::Retry;
    if (answer == 5 && canDefault) return ErrorAction::Default;
    return ErrorAction::Quit;
  }
  auto init = [&](win::ModalDialog& d) {
    d.SetDlgItemText(501, message);
    d.SetDlgItemText(502, report);
    d.EnableItem(kReintentar, canRetry);
    d.EnableItem(kIgnorar, canDefault);
    d.lNoCancel = true;
  };
  // Each button ends the window with its own id; closing it is Salir.
  auto answer = [](win::ModalDialog& d, int id, int) {
    if (id != kSalir && id != kReintentar && id != kIgnorar) return false;
    win::ENDDIALOG(d, id);
    return true;
  };
  int code = win::DIALOG_BOX("ERROR_SPEC", nullptr, {init, {}, answer, {}, kSalir});
  if (code == kReintentar && canRetry) return ErrorAction::Retry;
  if (code == kIgnorar && canDefault) return ErrorAction::Default;
  return ErrorAction::Quit;
}

}  // namespace

void installErrorWindow() {
  setErrorWindow(showErrorWindow);
  win::setEntryGuard(guardedEntry);
}

}  // namespace app
