#include "win/dialog_box.h"

#include <QApplication>
#include <QDialog>
#include <algorithm>

#include "win/dialog_window.h"
#include "win/driver.h"
#include "win/main_frame.h"

namespace win {

namespace {

std::vector<ModalDialog*>& modals() {
  static std::vector<ModalDialog*> all;
  return all;
}

}  // namespace

const std::vector<ModalDialog*>& openModals() {
  return modals();
}

// A control registered with a callback (a FORM binding with its own reaction) runs it;
// every other command goes to the procedure.
int ModalDialog::OnCOMMAND(int id, int notification) {
  if (ended_) return 0;
  if (int result = 0; RUN_CALLBACK(id, notification, result)) return result;
  return procedure_(*this, WM_COMMAND, id | (notification << 16), 0);
}

void ModalDialog::end(int code) {
  ended_ = true;
  code_ = code;
  if (window()) {
    if (auto* d = qobject_cast<QDialog*>(window()->window())) d->done(code);
  }
}

int ModalDialog::run(WDIAG* owner, const std::string& dialogName) {
  if (!createModal(owner, dialogName)) return -1;
  modals().push_back(this);
  // However the procedure ends (a failure in it too), the dialog leaves the screen.
  struct Closing {
    ModalDialog* d;
    ~Closing() {
      modals().erase(std::remove(modals().begin(), modals().end(), d), modals().end());
      d->Executing_CloseIt = 1;
      d->destroyWindow();
    }
  } closing{this};
  auto* dialog = qobject_cast<QDialog*>(window()->window());
  procedure_(*this, WM_INITDIALOG, 0, 0);
  if (!ended_) {
    if (Driver::installed()) Driver::instance().modalOpened();
    dialog->exec();
  }
  return code_;
}

int DIALOG_BOX(void*, const std::string& dialogName, WDIAG*, DialogProcedure procedure) {
  MainFrame* frame = MainFrame::instance();
  WDIAG* active = frame ? frame->activeScreen() : nullptr;
  QWidget* focus = QApplication::focusWidget();
  if (active) active->activated(0);
  // The screen that was active gets its menu and focus back, also when the dialog failed.
  struct Reactivate {
    WDIAG* active;
    QWidget* focus;
    ~Reactivate() {
      const auto& all = openDialogs();
      if (active && std::find(all.begin(), all.end(), active) != all.end()) {
        active->activated(1);
        if (focus) focus->setFocus();
      }
    }
  } reactivate{active, focus};
  ModalDialog dialog(std::move(procedure));
  return dialog.run(active, dialogName);
}

int DIALOG_BOX(const std::string& dialogName, WDIAG* owner, DialogSteps steps) {
  return DIALOG_BOX(nullptr, dialogName, owner, [&steps](ModalDialog& d, int message, int wParam, int) {
    if (message == WM_INITDIALOG) {
      if (steps.init) steps.init(d);
      return 1;
    }
    if (message != WM_COMMAND) return 0;
    const int id = wParam & 0xFFFF, notification = (wParam >> 16) & 0xFFFF;
    if (id == IDOK && notification == 0) {
      if ((!steps.accept || steps.accept(d)) && !d.ended()) d.end(IDOK);
      return 1;
    }
    if (id == IDCANCEL && notification == 0) {
      if ((!steps.cancel || steps.cancel(d)) && !d.ended()) d.end(steps.cancelCode);
      return 1;
    }
    if (steps.command) return steps.command(d, id, notification) ? 1 : 0;
    return 0;
  });
}

void ENDDIALOG(ModalDialog& dialog, int code) {
  dialog.end(code);
}

}  // namespace win
