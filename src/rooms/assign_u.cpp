#include "rooms/assign_u.h"

#include <memory>

#include "lib/record_protocol.h"
#include "screens/form.h"
#include "win/dialog_box.h"

namespace rooms {

namespace {

constexpr int kEdit = 201;

}  // namespace

ASSIGN_U::ASSIGN_U(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio, {"USUARIOS", "USUARIOS", 0, {{"Nombre", "NOMBRE", std::string(40, '!')}}}) {}

void ASSIGN_U::BOTONES() {
  ADD_BUTTON(kEdit, [this] { EDITAR(); });
}

void ASSIGN_U::EDITAR() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  lib::WDBTable& u = *TABLA;
  std::unique_ptr<screens::FORM> form;
  win::DIALOG_BOX("E_ASSIGN_U", this,
                  {[&](win::ModalDialog& d) {
                     d.SetDlgItemText(400, u.S("NOMBRE"));
                     form = std::make_unique<screens::FORM>(d);
                     form->UPPER(500, &u, "CLASES_HOT");
                     form->FLAG(1001, &u, "PRECIO_ESP");  // special prices blocked
                     form->LOAD();
                     d.SetFocusTo(500);
                   },
                   [&](win::ModalDialog&) {
                     lib::MODIFY(u, [&] { form->SAVE(&u); });
                     return true;
                   }});
  OB->REFRESHALL();
}

}  // namespace rooms
