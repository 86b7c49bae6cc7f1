#include "app/dialog_log_viewer.h"

#include "app/screens.h"

namespace app {

LOG_DIAG_VIEW::LOG_DIAG_VIEW(const std::string& business, int menuId, const std::string& caption)
    : LIST_SCREEN("LOG_DIAG", business,
                  {"LOG_DIAG",
                   "LOG_DIAG",
                   0,
                   {{"Fecha", "FECHA", ""},
                    {"Hora", "HORA", ""},
                    {"Usuario", "USUARIO", "@X XXXXXXXXXX"},
                    {"Diálogo", "DIALOGO", ""},
                    {"Módulo", "MODULO", ""},
                    {"Compañía", "NEGOCIO", ""},
                    {"Estación", "INFO_USER", ""}},
                   true}),
      menuId_(menuId),
      caption_(caption) {}

void LOG_DIAG_VIEW::INIT() {
  LIST_SCREEN::INIT();
  if (window()) SetDlgItemText(501, "Menú " + std::to_string(menuId_) + ": " + caption_);
}

// The openings of the menu entry, not of the business unit; the newest under the cursor.
void LOG_DIAG_VIEW::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->nubWidth = 1;
  char key[8];
  std::snprintf(key, sizeof key, "%5d", menuId_);
  BROWMARKS(*OB, {{1, "LOG_DIAG"}}, 1, key);
  OB->GOBOTTOM();
}

void registerDialogLogViewer() {
  registerScreen("LOG_DIAG",
                 [](const ScreenRequest& r) { screens::OPEN<LOG_DIAG_VIEW>(r.business, r.entry.id, r.entry.caption); });
}

}  // namespace app
