// "Clases Permitidas x Usuario" (menu 5112): the users of the business unit, and for the
// one under the cursor (button 201) the room classes he may pre-assign (CLASES_HOT) and
// whether special prices are blocked for him (PRECIO_ESP), edited in the modal dialog
// E_ASSIGN_U.
#pragma once

#include <memory>
#include <string>

#include "lib/wdbtable.h"
#include "win/browse.h"
#include "win/wdiag.h"

namespace win {
class ModalDialog;
}

namespace rooms {

class ASSIGN_U : public win::WDIAG, public win::ADD2BROWSE {
 public:
  ASSIGN_U(const std::string& dialog, const std::string& negocio);
  void OnNCDESTROY() override { CerrarBases(); }

  void EDITAR();

  std::unique_ptr<lib::WDBTable> USUARIOS;
  std::unique_ptr<win::WBLISTBOX> OB;

 private:
  void AbrirBases();
  void CerrarBases();
  void MontarColumnas();
  void ConfigBrow();
  int CTRLE_ASSIGN_U(win::ModalDialog& dialog, int message, int wParam);
};

}  // namespace rooms
