// The main window's dialogs on F_SYS: the fonts (SYS_FONT) and the handling of the data
// (SYS_DB).
#include <algorithm>

#include "app/system_dialogs.h"
#include "app/system_params.h"
#include "lib/globals.h"
#include "lib/text.h"
#include "lib/wdbtable.h"
#include "screens/messages.h"
#include "win/controls.h"

namespace app {

namespace {

constexpr int kScreenFont = 601, kPrintFont = 602, kDialogFont = 603, kSize = 501;
constexpr int kLocalTemp = 1004, kLocalPath = 502;

// The fonts users may choose (FONTS), the one stored first when it is not among them.
void fonts(win::ModalDialog& d, int id, const std::string& blank, const std::string& stored) {
  win::CCOMBOBOX list(&d, id);
  list.Add(blank, 0, "");
  std::vector<std::string> names = lib::G().XAVAILABLE_FONTS;
  const std::string current = lib::trim(stored);
  if (!current.empty() && std::find(names.begin(), names.end(), current) == names.end())
    names.insert(names.begin(), current);
  for (const std::string& n : names) list.Add(n, 0, n);
}

}  // namespace

void DEF_SYSFONT() {
  EDITA_PARAMETROS({"F_SYS",
                    "SYS_FONT",
                    [](screens::FORM& f, lib::WDBTable* t, win::ModalDialog& d) {
                      t->GoTop();
                      auto stored = [&](const char* field) { return t->Eof() ? std::string() : t->S(field); };
                      fonts(d, kScreenFont, "(Predeterminada)", stored("T_FONT"));
                      fonts(d, kPrintFont, "(Calibri)", stored("P_FONT"));
                      fonts(d, kDialogFont, "(La de cada pantalla)", stored("D_FONT"));
                      f.CODE_OR_BLANK(kScreenFont, t, "T_FONT");
                      f.NUMBER(kSize, t, "T_SIZE", "999");
                      f.CODE_OR_BLANK(kPrintFont, t, "P_FONT");
                      f.CODE_OR_BLANK(kDialogFont, t, "D_FONT");
                    },
                    [](const screens::FORM& f, win::ModalDialog& d) {
                      const double size = f.number(kSize);
                      if (size == 0 || (size >= 6 && size <= 72)) return true;
                      screens::error("El tamaño de la letra debe estar entre 6 y 72 puntos");
                      d.SetFocusTo(kSize);
                      return false;
                    },
                    {},
                    LOAD_F_SYS});
}

void DEF_SYSDB() {
  EDITA_PARAMETROS({"F_SYS",
                    "SYS_DB",
                    [](screens::FORM& f, lib::WDBTable* t, win::ModalDialog&) {
                      f.FLAG(1001, t, "NO_DATE");
                      f.FLAG(1002, t, "REFRESH_B");
                      f.FLAG(1003, t, "GRAYED");
                      f.NUMBER(501, t, "MULTITASK", "999");
                      f.FLAG(kLocalTemp, t, "LOCAL_TEMP");
                      f.TRIMMED(kLocalPath, t, "LOCAL_PATH");
                      f.NUMBER(503, t, "MAXTIMEOUT", "9999");
                      f.FLAG(1005, t, "NO_TIMEOUT");
                    },
                    [](const screens::FORM& f, win::ModalDialog& d) {
                      if (!d.IsDlgButtonChecked(kLocalTemp) || !f.text(kLocalPath).empty()) return true;
                      screens::error("Debe definir la carpeta local de los archivos temporales");
                      d.SetFocusTo(kLocalPath);
                      return false;
                    },
                    {},
                    LOAD_F_SYS});
}

}  // namespace app
