// Modal dialogs run through a procedure, as the program's process dialogs are written:
// the procedure receives (dialog, message, wParam, lParam) — 272 when the dialog opens
// (fill the lists, return 1), 273 for every command (wParam = id | notification << 16) —
// and ends the dialog with ENDDIALOG(dialog, code), the code DIALOG_BOX returns. The
// active screen is deactivated while it runs and reactivated afterwards, so that its
// "Editar" menu comes back.
#pragma once

#include <functional>
#include <string>

#include "win/wdiag.h"

namespace win {

inline constexpr int WM_INITDIALOG = 272;
inline constexpr int WM_COMMAND = 273;

class ModalDialog;
using DialogProcedure = std::function<int(ModalDialog& dialog, int message, int wParam, int lParam)>;

class ModalDialog : public WDIAG {
 public:
  explicit ModalDialog(DialogProcedure procedure) : procedure_(std::move(procedure)) {}
  int OnCOMMAND(int id, int notification) override;
  void end(int code);
  bool ended() const { return ended_; }
  int run(WDIAG* owner, const std::string& dialogName);  // -1 when the dialog cannot open

 private:
  DialogProcedure procedure_;
  bool ended_ = false;
  int code_ = 0;
};

int DIALOG_BOX(void* instance, const std::string& dialogName, WDIAG* owner, DialogProcedure procedure);

// A procedure in its usual parts: `init` fills the dialog when it opens; OK (1) runs
// `accept`, which ends the dialog with 1 when it returns true and keeps it open (after
// telling the user why) when it returns false — unless it ended the dialog itself with
// another code; Cancel (2) runs `cancel` when there is one (true ends the dialog) and ends
// the dialog with `cancelCode`; any other command goes to `command` (true when it handled
// it).
struct DialogSteps {
  std::function<void(ModalDialog&)> init;
  std::function<bool(ModalDialog&)> accept;
  std::function<bool(ModalDialog&, int id, int notification)> command = {};
  std::function<bool(ModalDialog&)> cancel = {};
  int cancelCode = IDCANCEL;
};
int DIALOG_BOX(const std::string& dialogName, WDIAG* owner, DialogSteps steps);
void ENDDIALOG(ModalDialog& dialog, int code);

// The modal dialogs open now, innermost last.
const std::vector<ModalDialog*>& openModals();

}  // namespace win
