#include "app/dialog_log_viewer.h"

#include "app/screens.h"
#include "lib/use.h"
#include "win/controls.h"
#include "xbase/date.h"

namespace app {

LOG_DIAG_VIEW::LOG_DIAG_VIEW(const std::string& business, int menuId, const std::string& caption) {
  NEGOCIO = business;
  LOG_DIAG = lib::USE(this, "LOG_DIAG", "LOG_DIAG");
  if (!Init(nullptr, "LOG_DIAG", true)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, LOG_DIAG.get());
  ADD(OB.get());
  ADD(std::make_unique<win::WPUSHBUTTON>(this, win::IDOK), [](win::WDIAG& d, win::WCONTROL&, int) {
    d.ENDDIALOG();
    return 1;
  });
  CREATE("LOG_DIAG");
  SetDlgItemText(501, "Menú " + std::to_string(menuId) + ": " + caption);
  lib::WDBTable* t = LOG_DIAG.get();
  win::AGREGARCOL(*OB, t, "Fecha", "FECHA");
  win::AGREGARCOL(*OB, t, "Hora", "HORA");
  win::AGREGARCOL(*OB, t, "Usuario", "USUARIO", "@X XXXXXXXXXX");
  win::AGREGARCOL(*OB, t, "Diálogo", "DIALOGO");
  win::AGREGARCOL(*OB, t, "Módulo", "MODULO");
  win::AGREGARCOL(*OB, t, "Compañía", "NEGOCIO");
  win::AGREGARCOL(*OB, t, "Estación", "INFO_USER");
  lib::SELECT(t->Area);
  OB->nubWidth = 1;
  char key[8];
  std::snprintf(key, sizeof key, "%5d", menuId);
  BROWMARKS(*OB, {{1, "LOG_DIAG"}}, 1, key);
  OB->GOBOTTOM();
  FIX_OBJ(700, 1);
  FIX_OBJ(1, 3);
}

void LOG_DIAG_VIEW::OnNCDESTROY() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(LOG_DIAG);
}

void registerDialogLogViewer() {
  registerScreen("LOG_DIAG",
                 [](const ScreenRequest& r) { win::open<LOG_DIAG_VIEW>(r.business, r.entry.id, r.entry.caption); });
}

}  // namespace app
