#include "reservations/ed_tr.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "reservations/guarantee_messages.h"
#include "reservations/reservation_references.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace reservations {

namespace {

constexpr int kCode = 500, kDescription = 501;
constexpr int kPaymentForm = 601, kAfterConfirming = 602;

}  // namespace

ED_TR::ED_TR(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode) : EDITOR(list, "ED_TR", negocio, mode) {
  CODE_ID = kCode;
}

void ED_TR::AbrirBases() {
  EDITOR::AbrirBases();
  TMP_ED1 = USE("TMP_ED1.CNF", "TMP_ED1");
  if (MODO_E == kModify) CARGA_MENSAJES(*TMP_ED1, NEGOCIO, REGISTRO->S("CODIGO"));
}

void ED_TR::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(kCode, t, "CODIGO");
  FORM_.TRIMMED(kDescription, t, "DESCRIP");
  FORM_.NUMBER(502, t, "FACTOR", "999.9999");
  FORM_.NUMBER(503, t, "DIA_NOSHOW", "999");
  FORM_.NUMBER(504, t, "PORCE_CONF", "999");
  FORM_.NUMBER(505, t, "PORC_PAGO", "999.99");
  FORM_.NUMBER(506, t, "DIAS_PAGO", "999");
  FORM_.NUMBER(507, t, "PORC_PAGO2", "999.99");
  FORM_.NUMBER(508, t, "DIAS_PAGO2", "999");
  FORM_.CODE(kPaymentForm, t, "PAGO_X_DEF");
  FORM_.CODE(kAfterConfirming, t, "DESP_GARAN");
  FORM_.FLAG(1001, t, "F_PAGO");
  FORM_.FLAG(1002, t, "DESGLOSE");
  FORM_.FLAG(1003, t, "USO_CASA");
  FORM_.FLAG(1004, t, "CONFIRMA1");
  FORM_.FLAG(1005, t, "CONFIRMA2");
  FORM_.FLAG(1006, t, "SIEM_CARGA");
  FORM_.FLAG(1007, t, "NOSHOW_1N");
  FORM_.FLAG(1008, t, "NO_ASIG");
  FORM_.FLAG(1009, t, "FOLLOWUP");
  FORM_.TRIMMED(509, t, "DESC_NO_A");
  FORM_.OPTION(t, "C_STAT_TIP", {{211, 0}, {212, 1}, {213, 2}, {214, 3}, {215, 4}}, 211);
  FORM_.OPTION(t, "TIP_GARANT", {{221, 0}, {222, 1}, {223, 2}, {224, 3}, {225, 4}}, 221);
  FORM_.TEXT(510, t, "HTML_CONF");
  FORM_.TEXT(511, t, "IMAGENES");
  FORM_.TEXT(512, t, "ATTACHMENT");
  FORM_.TEXT(513, t, "HTML_CONF2");
  FORM_.TEXT(514, t, "IMAGEN2");
  FORM_.TEXT(515, t, "ATTACH2");
  FORM_.NUMBER(516, t, "HTML_PREV2", "999");
  FORM_.TEXT(517, t, "HTML_CONF3");
  FORM_.TEXT(518, t, "IMAGEN3");
  FORM_.TEXT(519, t, "ATTACH3");
  FORM_.TEXT(520, t, "HTML_COT");
  FORM_.TEXT(521, t, "HTML_COT2");
  FORM_.TEXT(522, t, "HTML_COT3");
  FORM_.TEXT(523, t, "HTML_COT4");
  FORM_.TEXT(524, t, "ATTACH_COT");
  MENSAJES_GRID();
  ADD_BUTTON(201, [this] { ADD_MENSAJE(); });
  ADD_BUTTON(202, [this] { MOD_MENSAJE(); });
  ADD_BUTTON(203, [this] { DEL_MENSAJE(); });
}

// The messages' grid: the language of each row, with row numbers.
void ED_TR::MENSAJES_GRID() {
  OB = std::make_unique<win::WBLISTBOX>(this, 700, TMP_ED1);
  ADD(OB.get());
  win::AGREGARCOL(*OB, TMP_ED1, "Idioma", "DESCRIP", std::string(40, 'X'));
  lib::SELECT(TMP_ED1->Area);
  OB->useMaintenanceLook();
  OB->showNumbers = true;
  OB->nubWidth = 10;
  BROWMARKS(*OB, {{1, "TMP_ED1"}}, 1, "");
}

// The payment forms, and the types a reservation may take once confirmed ("Ninguno" last).
void ED_TR::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kPaymentForm}, "T_PAGO", "T_PAGO", NEGOCIO);
  screens::LOAD_LISTA(*this, {kAfterConfirming}, "E_T_RES", "E_T_RES", NEGOCIO);
  win::CCOMBOBOX(this, kAfterConfirming).Add("Ninguno", 0, "  ");
}

void ED_TR::CARGAR() {
  EDITOR::CARGAR();
  OB->CountScope();
  OB->GOTOP();
  OB->REFRESHALL();
}

bool ED_TR::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Falta definir el código", kCode);
  if (FORM_.text(kDescription).empty()) return REHUSA("Falta definir la descripción", kDescription);
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO))
    return REHUSA("El código es utilizado por otro tipo", kCode);
  return true;
}

bool ED_TR::AGREGA(const std::string& code) {
  GRABA_MENSAJES(*TMP_ED1, NEGOCIO, code);
  return EDITOR::AGREGA(code);
}

bool ED_TR::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  if (old != code) {
    screens::CascadeReport report;
    {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "", "Actualizando reservaciones...");
      report = screens::RECODIFICA(GUARANTEE_REFERENCES(), NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    screens::AVISA_FALTANTES(report);
  }
  GRABA_MENSAJES(*TMP_ED1, NEGOCIO, code);
  return EDITOR::MODIFICA(code);
}

bool ED_TR::hasMessage() const {
  return TMP_ED1 && !TMP_ED1->Eof() && OB && OB->nMaxRec > 0;
}

void ED_TR::ADD_MENSAJE() {
  CALL_LEVEL();
  if (!ED_TR2(this, *TMP_ED1, NEGOCIO, true)) return;
  const uint32_t added = TMP_ED1->RecNo();
  OB->CountScope();
  TMP_ED1->GoTo(added);
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void ED_TR::MOD_MENSAJE() {
  CALL_LEVEL();
  if (!hasMessage()) {
    win::MESSAGE_BOX(this, "No hay registros disponible", "Advertencia", 48);
    return;
  }
  if (!ED_TR2(this, *TMP_ED1, NEGOCIO, false)) return;
  OB->SHOWDATA();
  OB->REFRESHALL();
}

// The row is marked deleted in the working copy; saving the type deletes its message.
void ED_TR::DEL_MENSAJE() {
  CALL_LEVEL();
  if (!hasMessage() || !screens::confirm("Desea borrar el item escogido?")) return;
  lib::MODIFY(*TMP_ED1, [&] { TMP_ED1->Delete(); });
  TMP_ED1->Skip();
  if (TMP_ED1->Eof()) TMP_ED1->GoTop();
  OB->CountScope();
  OB->SHOWDATA();
  OB->REFRESHALL();
}

void ED_TR::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  EDITOR::CerrarBases();
  TMP_ED1 = nullptr;
}

}  // namespace reservations
