#include "rates/duplicado.h"

#include "lib/text.h"
#include "screens/messages.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kOldCode = 500, kOldName = 501, kNewCode = 502, kNewName = 503;

}  // namespace

std::optional<Duplicado> DUPLICAR(const std::string& dialog, win::WDIAG* owner, const std::string& codigo,
                                  const std::string& descrip, const std::function<bool(const std::string&)>& exists,
                                  const std::function<void(const Duplicado&)>& copy) {
  std::optional<Duplicado> done;
  win::DIALOG_BOX(dialog, owner,
                  {[&](win::ModalDialog& d) {
                     d.SetDlgItemText(kOldCode, codigo);
                     d.SetDlgItemText(kOldName, descrip);
                     d.SetFocusTo(kNewCode);
                   },
                   [&](win::ModalDialog& d) {
                     const Duplicado nuevo{lib::upper(lib::trim(d.GetDlgItemText(kNewCode))),
                                           lib::trim(d.GetDlgItemText(kNewName))};
                     const char* refused = nuevo.codigo.empty()  ? "Debe definir el Código"
                                           : exists(nuevo.codigo) ? "Código nuevo ya se encuentra definido"
                                                                  : nullptr;
                     if (refused) {
                       screens::error(refused);
                       d.SetFocusTo(kNewCode);
                       return false;
                     }
                     win::WAIT wait(&d);
                     wait.PUT_TEXT("Un momento por favor...", "Duplicando...");
                     copy(nuevo);
                     wait.TERMINAR();
                     done = nuevo;
                     return true;
                   }});
  return done;
}

}  // namespace rates
