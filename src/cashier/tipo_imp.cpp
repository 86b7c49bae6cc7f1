#include "cashier/tipo_imp.h"

#include "cashier/code_references.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace cashier {

namespace {

constexpr int kTransaction = 601;

// What a deleted tax type takes with it: the extras that charge it and its links.
const std::vector<screens::RecodeStep>& leaves() {
  static const std::vector<screens::RecodeStep> steps = {{"DET_EXT", "IMP_EXT", "", false, true},
                                                         {"DET_IMP", "COD_IMP", "DET_IMP3", false, true}};
  return steps;
}

}  // namespace

TIPO_IMP::TIPO_IMP(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"TIPO_IMP",
                   "TIPO_IMP",
                   kMenuId,
                   {{"Código", "CODIGO", "!!!!", 0, 16},
                    {"Abrevia", "ABREVIA", std::string(10, '!'), 0, 8},
                    {"Descripción", "DESCRIP", std::string(40, '!')},
                    {"Porcentaje", "MONTO", "999,999.99", 2, 16}}}) {}

void TIPO_IMP::ADD_TIPO_IMP() {
  screens::OPEN<E_IMPUES>(this, NEGOCIO, E_IMPUES::kAdd);
}

void TIPO_IMP::MOD_TIPO_IMP() {
  if (hasRecord()) screens::OPEN<E_IMPUES>(this, NEGOCIO, E_IMPUES::kModify);
}

// The extras that charge the tax and the codes' links to it go first, announced one after
// the other, then the tax type.
void TIPO_IMP::DEL_TIPO_IMP() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const std::string code = lib::trim(TABLA->S("CODIGO"));
  screens::CascadeReport report;
  if (BORRA_REGISTRO(screens::cascadeQuestion("Desea borrar el Tipo de la Impuestos?"), [&](win::WAIT& wait) {
        wait.PUT_TEXT("", "", "Detalle de extras...");
        screens::BORRA_REFERENCIAS(leaves()[0], NEGOCIO, code, &report);
        wait.PUT_TEXT("", "", "Detalle de transaciones...");
        screens::BORRA_REFERENCIAS(leaves()[1], NEGOCIO, code, &report);
      }))
    screens::AVISA_FALTANTES(report);
}

E_IMPUES::E_IMPUES(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_TIPO_IMP", negocio, mode) {}

void E_IMPUES::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "ABREVIA");
  FORM_.TRIMMED(502, t, "DESCRIP");
  FORM_.TRIMMED(503, t, "DESCRIP2");
  FORM_.NUMBER(504, t, "MONTO", "999.99");
  FORM_.CODE(kTransaction, t, "COD_TRANS");
}

// The transaction codes as "description (code)".
void E_IMPUES::LOAD_LISTAS() {
  win::CCOMBOBOX list(this, kTransaction);
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& t) {
    list.Add(lib::trim(t.S("DESCRIP")) + " (" + lib::trim(t.S("CODIGO")) + ")", 0, t.S("CODIGO"));
  });
}

// The duplicate's title tells an add ("Error ") from a modify ("Error 2").
bool E_IMPUES::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (FORM_.text(kTransaction).empty()) return REHUSA("Debe definir el Tipo de Transacción", kTransaction);
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO)) {
    win::MESSAGE_BOX(nullptr, "Código Ya definido...", MODO_E == kAdd ? "Error " : "Error 2",
                     lib::MB_OK | lib::MB_ICONERROR);
    SetFocusTo(CODE_ID);
    return false;
  }
  return true;
}

bool E_IMPUES::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  if (old != code) {
    screens::CascadeReport report;
    {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias en Reservaciones...");
      report = screens::RECODIFICA(TAX_REFERENCES(), NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    screens::AVISA_FALTANTES(report);
  }
  return EDITOR::MODIFICA(code);
}

}  // namespace cashier
