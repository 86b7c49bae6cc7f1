#include "frontcash/hcajas.h"

#include <vector>

#include "frontcash/hp_cierre.h"
#include "frontcash/register_periods.h"
#include "frontcash/saldos_cierre.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/recode.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace frontcash {

namespace {

constexpr int kPeriodsGrid = 701;
constexpr int kPrintClosing = 201, kShowCounts = 203;
// The payment-form lists of slots 1..9 and their kinds.
constexpr int kPaymentLists[9] = {601, 602, 603, 604, 605, 606, 607, 609, 610};
constexpr int kPrinterList = 608;

using lib::Value;

}  // namespace

HCAJAS::HCAJAS(const std::string& dialog, const std::string& negocio, bool history)
    : LIST_SCREEN(dialog, negocio,
                  {"ENC_HCAJ", "ENC_HCAJ", history ? 0 : kMenuId,
                   {{"Código", "CODIGO", "XX", 0, 24}, {"Descripción", "DESCRIP", std::string(30, 'X')}}}),
      history_(history) {}

void HCAJAS::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  if (history_) SetCaption("Cierre de Cajas Histórico");
  PERIODOS();
}

void HCAJAS::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  DET_HCAJ = USE("DET_HCAJ", "DET_HCAJ");
}

void HCAJAS::BOTONES() {
  OB2 = std::make_unique<win::WBLISTBOX>(this, kPeriodsGrid, DET_HCAJ);
  ADD(OB2.get());
  ADD_BUTTON(kPrintClosing, [this] { IMPRIMIR_CIERRE(); });
  ADD_BUTTON(kShowCounts, [this] { ARQUEOS(); });
}

void HCAJAS::MontarColumnas() {
  LIST_SCREEN::MontarColumnas();
  lib::WDBTable* p = DET_HCAJ;
  win::AGREGARCOL(*OB2, p, "Fecha Ap.", "FECHA_INI");
  win::AGREGARCOL(*OB2, p, "Hora Ap.", "HORA_INI", "XXXXXXXX");
  win::AGREGARCOL(*OB2, p, "Fecha Cierre", "FECHA_FIN");
  win::AGREGARCOL(*OB2, p, "Hora Cierre", "HORA_FIN", "XXXXXXXX");
  win::AGREGARCOL(*OB2, p, "User", "CTRL_USR", "XXXX");
  win::AGREGARCOL(*OB2, p, "Computadora", "CTRL_COMP", std::string(15, 'X'));
  win::AGREGARCOL(*OB2, p, "User Windows", "CTRL_WIN_U", std::string(15, 'X'));
  win::AGREGARCOL(*OB2, p, "Hora", "CTRL_HORA", "XXXXXXXX");
  win::AGREGARCOL(*OB2, p, "Fecha", "CTRL_FECHA");
}

void HCAJAS::ConfigBrow() {
  LIST_SCREEN::ConfigBrow();
  OB2->useMaintenanceLook();
  lib::SELECT(DET_HCAJ->Area);
  BROWMARKS(*OB2, {{1, "DET_HCAJ"}}, 1, lib::businessKey(NEGOCIO) + "  ");
  lib::SELECT(TABLA->Area);
  OB->selectblock = [this](win::WBLISTBOX&) { PERIODOS(); };
}

void HCAJAS::CerrarBases() {
  if (OB2) CLOSEBROWSE(*OB2);
  LIST_SCREEN::CerrarBases();
  DET_HCAJ = nullptr;
}

void HCAJAS::PERIODOS() {
  const std::string code = hasRecord() ? TABLA->S("CODIGO") : "";
  SET_SCOPE(*OB2, lib::businessKey(NEGOCIO) + lib::padded(code, 2), std::nullopt, true);
}

bool HCAJAS::hasPeriod() const {
  return hasRecord() && DET_HCAJ && !DET_HCAJ->Eof() && OB2 && OB2->nMaxRec > 0 &&
         DET_HCAJ->S("CAJA") == TABLA->S("CODIGO");
}

void HCAJAS::ADD_Caja() {
  screens::OPEN<AGREGAR_HCAJAS>(this, NEGOCIO, AGREGAR_HCAJAS::kAdd);
}

void HCAJAS::MOD_Caja() {
  if (hasRecord()) screens::OPEN<AGREGAR_HCAJAS>(this, NEGOCIO, AGREGAR_HCAJAS::kModify);
}

// The register's periods go with it; its balances and counts stay.
void HCAJAS::DEL_Caja() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const std::string code = TABLA->S("CODIGO");
  BORRA_REGISTRO("Desea borrar la Caja?", [&](win::WAIT&) {
    screens::BORRA_REFERENCIAS({"DET_HCAJ", "CAJA", "DET_HCAJ", true, true}, NEGOCIO, code);
  });
  PERIODOS();
}

void HCAJAS::ADD_DETALLE() {
  if (hasRecord()) DETALLE(true);
}

void HCAJAS::MOD_DETALLE() {
  if (hasPeriod()) DETALLE(false);
}

// The manual closing: a period entered (or corrected) as a whole.
void HCAJAS::DETALLE(bool adding) {
  CALL_LEVEL_AS(routine(adding ? "ADD_DETALLE" : "MOD_DETALLE"));
  const std::string code = TABLA->S("CODIGO");
  const bool counted = TABLA->N("TIP_CIERRE") == 1;
  const uint32_t period = adding ? 0 : DET_HCAJ->RecNo();
  Period before;
  if (!adding) before = {DET_HCAJ->D("FECHA_INI"), DET_HCAJ->S("HORA_INI")};
  bool saved = false;
  win::DIALOG_BOX(
      "AGREGAR_HDET", this,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(500, code);
         d.SetDlgItemText(501, TABLA->S("DESCRIP"));
         if (adding) {
           d.SetDlgItemText(502, lib::DTOC(lib::XDATE()));
           d.SetDlgItemText(503, lib::XTIME());
         } else {
           d.SetDlgItemText(502, lib::DTOC(DET_HCAJ->D("FECHA_INI")));
           d.SetDlgItemText(503, DET_HCAJ->S("HORA_INI"));
           d.SetDlgItemText(504, lib::DTOC(DET_HCAJ->D("FECHA_FIN")));
           d.SetDlgItemText(505, DET_HCAJ->S("HORA_FIN"));
         }
       },
       [&](win::ModalDialog& d) {
         const lib::TypedDate from = lib::readDate(d.GetDlgItemText(502)), to = lib::readDate(d.GetDlgItemText(504));
         for (auto [date, id] : {std::pair{from, 502}, std::pair{to, 504}})
           if (date.unreadable) {
             screens::error("Fecha inválida");
             d.SetFocusTo(id);
             return false;
           }
         const Period start{from.julian, lib::trim(d.GetDlgItemText(503))};
         const Period end{to.julian, lib::trim(d.GetDlgItemText(505))};
         if (adding)
           ADD_PERIODO(NEGOCIO, code, start, end, counted);
         else
           MOD_PERIODO(NEGOCIO, code, period, before, start, end);
         saved = true;
         return true;
       }});
  if (!saved) return;
  PERIODOS();
}

// The period with its balances and its additional counts.
void HCAJAS::DEL_DETALLE() {
  CALL_LEVEL();
  if (!hasPeriod() || !screens::confirm("Desea borrar el Cierre?")) return;
  const uint32_t period = DET_HCAJ->RecNo();
  DEL_PERIODO(NEGOCIO, period);
  PERIODOS();
}

void HCAJAS::MOD_SALDO() {
  if (!hasPeriod()) return screens::error("Falta seleccionar el cierre");
  if (TABLA->N("TIP_CIERRE") == 0) return screens::error("La opción seleccionada no es válida para el tipo de cierre");
  screens::OPEN<HCAJAS3>(NEGOCIO, lib::businessKey(NEGOCIO) + lib::padded(TABLA->S("CODIGO"), 2) +
                                      xbase::dtos(DET_HCAJ->D("FECHA_INI")) + lib::padded(DET_HCAJ->S("HORA_INI"), 8));
}

void HCAJAS::PRINT_MOVS() {
  screens::NO_DISPONIBLE("PRINT_MOVS", "Imprimir detalle de Movimientos");
}

void HCAJAS::IMPRIMIR_CIERRE() {
  if (!hasPeriod()) return screens::error("Falta seleccionar el cierre");
  HP_CIERRE(this, NEGOCIO, TABLA->S("CODIGO"), {DET_HCAJ->D("FECHA_INI"), DET_HCAJ->S("HORA_INI")},
            {DET_HCAJ->D("FECHA_FIN"), DET_HCAJ->S("HORA_FIN")});
}

void HCAJAS::ARQUEOS() {
  if (hasRecord()) screens::OPEN<HCAJAS6>(NEGOCIO, TABLA->S("CODIGO"));
}

AGREGAR_HCAJAS::AGREGAR_HCAJAS(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_HCAJAS", negocio, mode) {
  DUPLICADO_ALTA = "Código de Caja ya definido...";
  DUPLICADO_MODIFICA = "Código de Caja Ya definido...";
}

void AGREGAR_HCAJAS::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.TEXT(500, t, "CODIGO");
  FORM_.TEXT(501, t, "DESCRIP");
  FORM_.TEXT(508, t, "PASSWORD");
  for (int n = 1; n <= 9; ++n) {
    const std::string slot = std::to_string(n);
    FORM_.TEXT(510 + n, t, "ROTULO_" + slot);
    FORM_.CODE(kPaymentLists[n - 1], t, "PAGO_" + slot);
    FORM_.CODE(610 + n, t, "VENTANA_" + slot);
  }
  FORM_.CODE(kPrinterList, t, "PREDET_P");
  FORM_.OPTION_TEXT(t, "ESTADO", {{201, "C"}, {202, "A"}}, 201);
  FORM_.OPTION(t, "TIP_CIERRE", {{203, 0}, {204, 1}}, 203);
  FORM_.OPTION(t, "T_CONTROL", {{205, 0}, {206, 1}}, 205);
  FORM_.FLAG(1001, t, "T_AMBOS");
  FORM_.FLAG(1002, t, "ARQUEO_AD");
}

void AGREGAR_HCAJAS::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {601, 602, 603, 604, 605, 606, 607, 609, 610}, "T_PAGO", "T_PAGO", NEGOCIO);
  for (int id = 611; id <= 619; ++id) {
    win::CCOMBOBOX kinds(this, id);
    for (auto [text, value] : {std::pair{"Contado", "01"}, {"Tarjeta", "02"}, {"CxC", "03"}, {"Otros", "09"}})
      kinds.Add(text, 0, value);
  }
  screens::LOAD_LISTA(*this, {kPrinterList}, "PREDET_P", "PREDET_P", NEGOCIO);
}

bool AGREGAR_HCAJAS::VALIDA(const std::string& code) {
  if (lib::trim(code).empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO))
    return REHUSA(MODO_E == kAdd ? DUPLICADO_ALTA : DUPLICADO_MODIFICA, CODE_ID);
  return true;
}

// A new code goes everywhere the register is named: its folios, its periods with their
// balances and counts, and the lines posted at it, so that its history still reprints.
bool AGREGAR_HCAJAS::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = REGISTRO->S("CODIGO");
  EDITOR::MODIFICA(code);
  if (lib::padded(old, 2) != lib::padded(code, 2)) {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
    RECODIFICA_CAJA(NEGOCIO, old, code, &wait);
    wait.TERMINAR();
  }
  return true;
}

}  // namespace frontcash
