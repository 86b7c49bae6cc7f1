#include "rooms/recodifica_res.h"

#include "lib/text.h"
#include "lib/use.h"
#include "rooms/room_references.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kNewType = 601;

}  // namespace

RECODIFICA_RES::RECODIFICA_RES(win::WDIAG* owner, const std::string& negocio, const std::string& tipo)
    : owner_(owner), NEGOCIO(negocio), tipo_(tipo) {}

bool RECODIFICA_RES::run() {
  win::DIALOG_BOX("RECODIFICA_RES", owner_,
                  {[this](win::ModalDialog& d) {
                     LOAD_TIPOS(d);
                     d.SetFocusTo(kNewType);
                   },
                   [this](win::ModalDialog& d) { return PROCESAR(d); }});
  return done_;
}

void RECODIFICA_RES::LOAD_TIPOS(win::ModalDialog& d) {
  win::CCOMBOBOX types(&d, kNewType);
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& t) {
    types.Add(t.S("CODIGO") + " - " + t.S("DESCRIP"), 0, t.S("CODIGO"));
  });
  d.SetDlgItemText(400, "Tipo Actual: " + lib::trim(tipo_));
}

bool RECODIFICA_RES::PROCESAR(win::ModalDialog& d) {
  const std::string nuevo = win::CCOMBOBOX(&d, kNewType).CurCargo();
  if (nuevo.empty()) {
    screens::error("Debe seleccionar un Tipo válido");
    d.SetFocusTo(kNewType);
    return false;
  }
  screens::CascadeReport report;
  {
    win::WAIT wait(&d);
    wait.PUT_TEXT("Un momento por favor...");
    report = screens::RECODIFICA(RESERVATION_TYPE_REFERENCES(), NEGOCIO, tipo_, nuevo, &wait);
    wait.TERMINAR();
  }
  done_ = true;
  screens::AVISA_FALTANTES(report);
  screens::notice("Datos recodificados\rDebe recalcular las estadísticas", "Confirmación");
  return true;
}

}  // namespace rooms
