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

int ModalDialog::OnCOMMAND(int id, int notification) {
  if (ended_) return 0;
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
  auto* dialog = qobject_cast<QDialog*>(window()->window());
  procedure_(*this, WM_INITDIALOG, 0, 0);
  if (!ended_) {
    if (Driver::installed()) Driver::instance().modalOpened();
    dialog->exec();
  }
  modals().erase(std::remove(modals().begin(), modals().end(), this), modals().end());
  Executing_CloseIt = 1;
  destroyWindow();
  return code_;
}

int DIALOG_BOX(void*, const std::string& dialogName, WDIAG*, DialogProcedure procedure) {
  MainFrame* frame = MainFrame::instance();
  WDIAG* active = frame ? frame->activeScreen() : nullptr;
  QWidget* focus = QApplication::focusWidget();
  if (active) active->activated(0);
  ModalDialog dialog(std::move(procedure));
  int code = dialog.run(active, dialogName);
  const auto& all = openDialogs();
  if (active && std::find(all.begin(), all.end(), active) != all.end()) {
    active->activated(1);
    if (focus) focus->setFocus();
  }
  return code;
}

void ENDDIALOG(ModalDialog& dialog, int code) {
  dialog.end(code);
}

}  // namespace win
