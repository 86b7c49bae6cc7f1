#include "rooms/assign_u.h"

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace rooms {

namespace {

constexpr int kEdit = 201;
constexpr int kClasses = 500, kBlockSpecialPrice = 1001;

}  // namespace

ASSIGN_U::ASSIGN_U(const std::string& dialog, const std::string& negocio) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(nullptr, dialog)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, USUARIOS.get());
  ADD(OB.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  ADD_BUTTON(kEdit, [this] { EDITAR(); });
  CREATE(dialog);
  MontarColumnas();
  ConfigBrow();
  OB->doubleclick = [this](win::WBLISTBOX&) { EDITAR(); };
}

void ASSIGN_U::AbrirBases() {
  USUARIOS = lib::USE(this, "USUARIOS", "USUARIOS");
}

void ASSIGN_U::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  lib::KILLTABLA(USUARIOS);
}

void ASSIGN_U::MontarColumnas() {
  win::AGREGARCOL(*OB, USUARIOS.get(), "Nombre", "NOMBRE", std::string(40, '!'));
}

void ASSIGN_U::ConfigBrow() {
  lib::SELECT(USUARIOS->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "USUARIOS"}}, 1, NEGOCIO);
}

void ASSIGN_U::EDITAR() {
  if (!USUARIOS || USUARIOS->Eof() || OB->nMaxRec == 0) return;
  win::DIALOG_BOX(nullptr, "E_ASSIGN_U", this,
                  [this](win::ModalDialog& d, int msg, int wParam, int) { return CTRLE_ASSIGN_U(d, msg, wParam); });
  OB->REFRESHALL();
}

int ASSIGN_U::CTRLE_ASSIGN_U(win::ModalDialog& d, int message, int wParam) {
  lib::WDBTable& u = *USUARIOS;
  if (message == win::WM_INITDIALOG) {
    d.SetDlgItemText(400, u.S("NOMBRE"));
    win::WEDIT classes(&d, kClasses);
    classes.SetLimit(int(widthOf(u, "CLASES_HOT")));
    classes.TEXT(u.S("CLASES_HOT"));
    d.CheckDlgButton(kBlockSpecialPrice, u.N("PRECIO_ESP") == 1);
    d.SetFocusTo(kClasses);
    return 1;
  }
  if (message != win::WM_COMMAND) return 0;
  int id = wParam & 0xFFFF;
  if (id == win::IDCANCEL) {
    win::ENDDIALOG(d, 2);
    return 1;
  }
  if (id != win::IDOK) return 0;
  const std::string classes = upper(trim(d.GetDlgItemText(kClasses)));
  const bool blocked = d.IsDlgButtonChecked(kBlockSpecialPrice);
  lib::MODIFY(u, [&] {
    u.FieldPut("CLASES_HOT", lib::Value::chars(classes));
    u.FieldPut("PRECIO_ESP", lib::Value::num(blocked ? 1 : 0));
  });
  win::ENDDIALOG(d, 1);
  return 1;
}

}  // namespace rooms
