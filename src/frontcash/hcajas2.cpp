#include "frontcash/hcajas2.h"

#include "frontcash/arqueo_caja.h"
#include "frontcash/cash_count.h"
#include "frontcash/hdef_caja.h"
#include "frontcash/hp_cierre.h"
#include "frontcash/register_open_close.h"
#include "frontcash/station_register.h"
#include "lib/messages.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/message_box.h"

namespace frontcash {

namespace {

constexpr int kInUse = 501;
constexpr int kOpen = 201, kClose = 202, kReopen = 203, kPrint = 204, kCount = 205;
constexpr int kOperator = 602, kRegisterPassword = 502, kOperatorPassword = 503;

// The refusals of the open/close protocol carry the title "ERROR".
void refuse(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "ERROR", lib::MB_OK | lib::MB_ICONERROR);
}

// The start of the register's open period.
Period inicioAbierto(const std::string& negocio, const std::string& caja) {
  Period start;
  lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ2", lib::businessKey(negocio) + lib::padded(caja, 2) + std::string(8, ' '),
                   [&](const lib::WDBTable& p) {
                     start = {p.D("FECHA_INI"), p.S("HORA_INI")};
                   });
  return start;
}

lib::Value estado(lib::WDBTable* t) {
  return lib::Value::chars(t->S("ESTADO") == "C" ? "Cerrada" : "Abierta");
}

}  // namespace

HCAJAS2::HCAJAS2(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio, {"ENC_HCAJ", "ENC_HCAJ", 0, {}}) {}

void HCAJAS2::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  ready_ = true;
  REFRESCA_ESTADO();
}

void HCAJAS2::SHOW_MENU() {
  LIST_SCREEN::SHOW_MENU();
  if (ready_) REFRESCA_ESTADO();
}

void HCAJAS2::MontarColumnas() {
  win::AGREGARCOL(*OB, TABLA, "Código", "CODIGO", "XX", {}, 0, false, 24);
  win::AGREGARCOL(*OB, TABLA, "Descripción", "DESCRIP", std::string(30, 'X'));
  lib::WDBTable* t = TABLA;
  win::AGREGARCOL(*OB, TABLA, "Estado", "", "XXXXXXXX", [t] { return estado(t); });
}

void HCAJAS2::BOTONES() {
  ADD_BUTTON(kOpen, [this] { ABRIR_CAJA(); });
  ADD_BUTTON(kReopen, [this] { REABRIR_CAJA(); });
  ADD_BUTTON(kPrint, [this] { IMPRIMIR(); });
  ADD_BUTTON(kClose, [this] { CERRAR_CAJA(); });
  ADD_BUTTON(kCount, [this] { ARQUEO_ADICIONAL(); });
}

// The register in use as the station knows it (a register closed elsewhere detaches it),
// and the additional count only where the station's register allows it.
void HCAJAS2::REFRESCA_ESTADO() {
  const bool open = CAJA_ABIERTA(NEGOCIO);
  SetDlgItemText(kInUse, open ? XH_CAJAS().descrip : "");
  bool counts = true;
  if (open)
    lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", lib::businessKey(NEGOCIO) + lib::padded(GET_CAJA_ABIERTA(), 2),
                     [&](const lib::WDBTable& r) { counts = r.N("ARQUEO_AD") != 0; });
  EnableItem(kCount, counts);
  const uint32_t at = hasRecord() ? TABLA->RecNo() : 0;
  OB->SHOWDATA();
  OB->REFRESHALL();
  if (at) OB->GoToRecord(at);
}

bool HCAJAS2::ESTACION_AUTORIZADA(const std::string& caja) {
  if (CAJA_AUTORIZADA(NEGOCIO, caja)) return true;
  screens::error("Esta estación no tiene autorizado la operación de esta caja");
  return false;
}

bool HCAJAS2::PIDE_CLAVES(const std::string& dialogName, const std::string& title, bool closersOnly, bool preselect,
                          Operator& chosen) {
  const std::string password = TABLA->S("PASSWORD");
  struct Entry {
    std::string code, name, clave;
  };
  std::vector<Entry> operators;
  lib::EACH_RECORD("DIGITA", "DIGITA", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& d) {
    if (!closersOnly || d.N("CIERRE") == 1) operators.push_back({d.S("CODIGO"), d.S("NOMBRE"), d.S("CLAVE")});
  });
  std::stable_sort(operators.begin(), operators.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  const int answer = win::DIALOG_BOX(dialogName, this,
                                     {[&](win::ModalDialog& d) {
                                        if (!title.empty()) d.SetCaption(title);
                                        win::CCOMBOBOX list(&d, kOperator);
                                        list.Clear();
                                        for (const Entry& e : operators) list.Add(e.name, 0, e.code);
                                        if (preselect && operators.size() == 1) list.SetCurItem(1);
                                      },
                                      [&](win::ModalDialog& d) {
                                        const std::string code = win::CCOMBOBOX(&d, kOperator).CurCargo();
                                        const Entry* op = nullptr;
                                        for (const Entry& e : operators)
                                          if (!code.empty() && e.code == code) op = &e;
                                        if (!op) {
                                          refuse("Debe completar todos los datos básicos:\r\nDigitador");
                                          d.SetFocusTo(kOperator);
                                          return false;
                                        }
                                        if (!CLAVE_CORRECTA(op->clave, d.GetDlgItemText(kOperatorPassword)) ||
                                            !CLAVE_CORRECTA(password, d.GetDlgItemText(kRegisterPassword))) {
                                          refuse("Clave de Paso Errada");
                                          d.SetFocusTo(kRegisterPassword);
                                          return false;
                                        }
                                        chosen = {op->code, op->name};
                                        return true;
                                      }});
  return answer == win::IDOK;
}

void HCAJAS2::ATTACH(const Operator& op) {
  ATTACH_CAJA(TABLA->S("CODIGO"), TABLA->S("DESCRIP"), op.name);
}

void HCAJAS2::ABRIR_CAJA() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  TABLA->GoTo(TABLA->RecNo());  // as it stands now, not as the grid last read it
  const std::string caja = TABLA->S("CODIGO");
  if (!ESTACION_AUTORIZADA(caja)) return;
  if (TABLA->S("ESTADO") == "A") return refuse("Actualmente, se encuentra abierta esta caja.");
  Operator op;
  if (!PIDE_CLAVES("ABRE_HCAJA", "", false, true, op)) return;
  // Another station may have opened it while the passwords were asked: the register's
  // state is read again under its lock, and a register open by then is not opened twice.
  if (!ABRE_CAJA(NEGOCIO, caja, op.code, {lib::XDATE(), lib::XTIME()})) {
    REFRESCA_ESTADO();
    return refuse("Actualmente, se encuentra abierta esta caja.");
  }
  ATTACH(op);
  ENDDIALOG();
}

void HCAJAS2::REABRIR_CAJA() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  TABLA->GoTo(TABLA->RecNo());
  if (!ESTACION_AUTORIZADA(TABLA->S("CODIGO"))) return;
  if (TABLA->S("ESTADO") != "A") return refuse("Actualmente, no se encuentra abierta esta caja.");
  Operator op;
  if (!PIDE_CLAVES("ABRE_HCAJA", "Reabrir Caja", false, false, op)) return;
  ATTACH(op);
  ENDDIALOG();
}

void HCAJAS2::IMPRIMIR() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  TABLA->GoTo(TABLA->RecNo());
  const std::string caja = TABLA->S("CODIGO");
  if (TABLA->S("ESTADO") == "C") return screens::error("Esta Caja se encuentra cerrada.");
  const uint32_t period = PERIODO_ABIERTO(NEGOCIO, caja);
  if (!period) return screens::error("Error cerrando la caja.\rNo hay registro de caja abierta!");
  const Period start = inicioAbierto(NEGOCIO, caja);
  HP_CIERRE(this, NEGOCIO, caja, start, {0, std::string(8, ' ')});
}

void HCAJAS2::CERRAR_CAJA() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  Operator op;
  if (!PIDE_CLAVES("PASS_HCAJA", "", true, true, op)) return;
  const uint32_t registerRecno = TABLA->RecNo();
  TABLA->GoTo(registerRecno);  // as it stands now: another station may have closed it
  const std::string caja = TABLA->S("CODIGO");
  if (TABLA->S("ESTADO") != "A") return refuse("Actualmente no se encuentra abierta esta caja.");
  const uint32_t period = PERIODO_ABIERTO(NEGOCIO, caja);
  if (!period) return screens::error("Error cerrando la caja.\rNo hay registro de caja abierta!");
  if (!screens::confirm("Desea realizar el Cierre?\rSi tiene dudas, conteste que NO e imprima un Cierre Preliminar"))
    return;
  const Period start = inicioAbierto(NEGOCIO, caja);
  if (TABLA->N("TIP_CIERRE") == 1) {
    screens::OPEN<HCAJAS4>(NEGOCIO, caja, start, registerRecno, period, this);
    REFRESCA_ESTADO();
    return;
  }
  const Period now{lib::XDATE(), lib::XTIME()};
  CIERRA_CAJA(NEGOCIO, caja, period, now);
  HP_CIERRE(this, NEGOCIO, caja, start, now);
  screens::caution("Caja cerrada con Éxito");
  LIBERA_CAJA();
  ENDDIALOG();
}

void HCAJAS2::ARQUEO_ADICIONAL() {
  CALL_LEVEL();
  if (!CAJA_ABIERTA(NEGOCIO)) {
    REFRESCA_ESTADO();
    return screens::error("Necesita primero abrir una caja");
  }
  const std::string caja = GET_CAJA_ABIERTA();
  const uint32_t period = PERIODO_ABIERTO(NEGOCIO, caja);
  if (!period) return screens::error("El registro no corre");
  bool allowed = false;
  lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", lib::businessKey(NEGOCIO) + lib::padded(caja, 2),
                   [&](const lib::WDBTable& r) { allowed = r.N("ARQUEO_AD") != 0; });
  if (!allowed) return REFRESCA_ESTADO();
  const Period start = inicioAbierto(NEGOCIO, caja);
  screens::OPEN<HCAJAS5>(NEGOCIO, caja, start, period, this);
}

}  // namespace frontcash
