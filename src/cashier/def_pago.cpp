#include "cashier/def_pago.h"

#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/entry_filters.h"

namespace cashier {

namespace {

constexpr int kTransaction = 601, kConcept = 602;
constexpr int kValidate = 1005, kMinimum = 502;
constexpr int kByForm = 201, kByClient = 202;

}  // namespace

DEF_PAGO::DEF_PAGO(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"T_PAGO", "T_PAGO", kMenuId, {{"Código", "CODIGO", "!!!!", 0, 16}, {"Descrpción", "DESCRIP", std::string(40, '!')}}}) {}

void DEF_PAGO::ADD_T_PAGO() {
  screens::OPEN<DEF_PAG2>(this, NEGOCIO, DEF_PAG2::kAdd);
}

void DEF_PAGO::MOD_T_PAGO() {
  if (hasRecord()) screens::OPEN<DEF_PAG2>(this, NEGOCIO, DEF_PAG2::kModify);
}

// Nothing else names a payment form by its record: the record alone goes.
void DEF_PAGO::DEL_T_PAGO() {
  CALL_LEVEL();
  BORRA_REGISTRO("¿Desea borrar el item seleccionado?", {});
}

DEF_PAG2::DEF_PAG2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "ADD_T_PAGO", negocio, mode) {}

// The minimum length of the document number is written apart (MINIMO): it is kept only
// while "Validar Documento:" is checked.
void DEF_PAG2::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.CODE(kTransaction, t, "COD_TRANS");
  FORM_.CODE(kConcept, t, "CONCEPTO");
  FORM_.FLAG(1001, t, "INFO");
  FORM_.FLAG(1002, t, "P_TARJETA");
  FORM_.FLAG(1003, t, "MONTO");
  FORM_.FLAG(1004, t, "N_DOC");
  FORM_.FLAG(kValidate, t, "T_VALIDAR", [this] { VALIDAR_CHANGED(); });
  ADD(std::make_unique<win::WEDIT>(this, kMinimum));
  FORM_.FLAG(1006, t, "FECHA");
  FORM_.FLAG(1007, t, "DEPOSITO");
  FORM_.FLAG(1008, t, "DEP_FECHA");
  FORM_.FLAG(1009, t, "CXC");
  FORM_.OPTION(t, "CON_CXC", {{kByForm, 0}, {kByClient, 1}}, kByForm);
  FORM_.FLAG(1010, t, "LEE_VUELTO");
  FORM_.FLAG(1011, t, "INGRESO");
  FORM_.FLAG(1012, t, "NO_VER");
}

// The codes of the business by description; the billing concepts of receivables.
void DEF_PAG2::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kTransaction}, "TRANSACS", "TRANSACS1", NEGOCIO);
  win::CCOMBOBOX concepts(this, kConcept);
  lib::EACH_RECORD("CONCEPT1", "CONCEPT1", lib::businessKey(NEGOCIO),
                   [&](const lib::WDBTable& c) { concepts.Add(c.S("DESCRIP"), 0, c.S("CONCEPTO")); });
}

// The minimum length shows only when the document is validated.
void DEF_PAG2::CARGAR() {
  EDITOR::CARGAR();
  const bool validate = IsDlgButtonChecked(kValidate);
  SetDlgItemText(kMinimum, validate ? lib::TRANSFORM_NUMBER(REGISTRO->N("N_CARACT"), "999") : "");
  VALIDAR_CHANGED();
}

// The length is typed while the document is validated; the numeric filter (which would show
// a 0) comes with the first tick.
void DEF_PAG2::VALIDAR_CHANGED() {
  const bool validate = IsDlgButtonChecked(kValidate);
  EnableItem(kMinimum, validate);
  if (validate && !filtered_) {
    win::WEDIT edit(this, kMinimum);
    win::ONLYNUMBER(edit, "999");
    filtered_ = true;
  }
}

bool DEF_PAG2::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (FORM_.text(kTransaction).empty()) return REHUSA("Debe seleccionar un una transación", kTransaction);
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO)) return REHUSA("Código Ya definido...", CODE_ID);
  return true;
}

void DEF_PAG2::MINIMO(lib::WDBTable& t) const {
  const double typed = IsDlgButtonChecked(kValidate) ? lib::readNumber(GetDlgItemText(kMinimum)) : 0;
  t.FieldPut("N_CARACT", lib::Value::num(typed));
}

bool DEF_PAG2::AGREGA(const std::string&) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
    FORM_.SAVE(REGISTRO);
    MINIMO(*REGISTRO);
  });
  return true;
}

bool DEF_PAG2::MODIFICA(const std::string&) {
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] {
    FORM_.SAVE(REGISTRO);
    MINIMO(*REGISTRO);
  });
  return true;
}

}  // namespace cashier
