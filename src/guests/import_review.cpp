#include "guests/import_review.h"

#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace guests {

bool ACEPTA_IMPORTACION(win::WDIAG* owner, const ImportCheck& check) {
  const std::string question = "Se importarán " + std::to_string(check.guests) + " huéspedes y " +
                               std::to_string(check.stays) + " reservas. Desea continuar?";
  if (check.problems.empty()) return screens::confirm(question);
  const int answer =
      win::DIALOG_BOX("IMP_H_ERRORES", owner,
                      {[&](win::ModalDialog& d) {
                         win::CLISTBOX list(&d, 901);
                         for (const ImportProblem& p : check.problems)
                           list.Add(std::string(p.stay ? "Reserva" : "Huésped") + ", registro " +
                                    std::to_string(p.record) + ": " + p.reason);
                         d.SetDlgItemText(801, std::to_string(check.problems.size()) + " registros no se importarán.");
                         d.SetDlgItemText(802, question);
                       },
                       [](win::ModalDialog&) { return true; }});
  return answer == win::IDOK;
}

}  // namespace guests
