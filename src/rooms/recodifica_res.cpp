#include "rooms/recodifica_res.h"

#include "lib/use.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kNewType = 601;

}  // namespace

const std::vector<RecodeStep>& RESERVATION_TYPE_REFERENCES() {
  static const std::vector<RecodeStep> steps = {
      {"DET_RES1", "TIPO_ROM", ""},
      {"CDET_RS1", "TIPO_ROM", "CDET_RS12"},
      {"PDET_RS1", "TIPO_ROM", "PDET_RS12"},
      // Every nightly row of the business unit, without a line of its own on the progress window.
      {"DET_RES9", "TIPO_ROM", "", false},
  };
  return steps;
}

RECODIFICA_RES::RECODIFICA_RES(win::WDIAG* owner, const std::string& negocio, const std::string& tipo)
    : owner_(owner), NEGOCIO(negocio), tipo_(tipo) {}

bool RECODIFICA_RES::run() {
  win::DIALOG_BOX(nullptr, "RECODIFICA_RES", owner_,
                  [this](win::ModalDialog& d, int msg, int wParam, int) { return CTRLRECODIFICA(d, msg, wParam); });
  return done_;
}

int RECODIFICA_RES::CTRLRECODIFICA(win::ModalDialog& d, int message, int wParam) {
  if (message == win::WM_INITDIALOG) {
    LOAD_TIPOS(d);
    d.SetFocusTo(kNewType);
    return 1;
  }
  if (message != win::WM_COMMAND) return 0;
  const int id = wParam & 0xFFFF;
  if (id == win::IDCANCEL) {
    win::ENDDIALOG(d, 2);
    return 1;
  }
  if (id != win::IDOK) return 0;
  const std::string nuevo = win::CCOMBOBOX(&d, kNewType).CurCargo();
  if (nuevo.empty()) {
    error("Debe seleccionar un Tipo válido");
    d.SetFocusTo(kNewType);
    return 1;
  }
  PROCESAR(d, nuevo);
  notice("Datos recodificados\rDebe recalcular las estadísticas", "Confirmación");
  win::ENDDIALOG(d, 1);
  return 1;
}

void RECODIFICA_RES::LOAD_TIPOS(win::ModalDialog& d) {
  win::CCOMBOBOX types(&d, kNewType);
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  const std::string key = keyPart(*t, "NEGOCIO", NEGOCIO);
  t->SetScope(lib::Value::chars(key), lib::Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip()) types.Add(t->S("CODIGO") + " - " + t->S("DESCRIP"), 0, t->S("CODIGO"));
  lib::KILLTABLA(t);
  d.SetDlgItemText(400, "Tipo Actual: " + trim(tipo_));
}

void RECODIFICA_RES::PROCESAR(win::ModalDialog& d, const std::string& nuevo) {
  win::WAIT wait(&d);
  wait.PUT_TEXT("Un momento por favor...");
  RECODIFICA(RESERVATION_TYPE_REFERENCES(), NEGOCIO, tipo_, nuevo, &wait);
  wait.TERMINAR();
  done_ = true;
}

}  // namespace rooms
