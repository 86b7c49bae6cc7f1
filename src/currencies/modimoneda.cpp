#include "currencies/modimoneda.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/wait.h"

namespace currencies {

namespace {

constexpr int kEquivalent = 601;

// The business's accounting currency follows its recoded currency.
void RECODIFICA_CONTABLE(const std::string& negocio, const std::string& oldCode, const std::string& newCode) {
  auto business = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  if (!business->Seek(business->KeyPart("CODIGO", negocio))) return;
  if (lib::trim(business->S("MONEDA_CON")) != lib::trim(oldCode)) return;
  lib::MODIFY(*business, [&] { business->FieldPut("MONEDA_CON", lib::Value::chars(newCode)); });
}

}  // namespace

const std::vector<screens::RecodeStep>& CURRENCY_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ENC_CHEQ", "MONEDA", "ENC_CHE8"},  {"PENC_CHE", "MONEDA", "PENC_CHE6"},
      {"PENC_CXP", "MONEDA", "PENC_CXP9"}, {"ENC_CXP", "MONEDA", "ENC_CXP15"},
      {"ENC_INV", "MONEDA", "ENC_INV11"},  {"DOCUMENT", "MONEDA", "DOCUMEN11"},
      {"pDOCUMEN", "MONEDA", "DOCUMEN4"},  {"ENC_PREC", "MONEDA", "ENC_PREC2"},
      {"DET_MON", "MONEDA_1", "DET_MON"},  {"DET_MON", "MONEDA_2", "DET_MON2", false},
      {"T_CAMBIO", "MONEDA2", "T_CAMB4"},  {"T_CAMBIO", "MONEDA1", "T_CAMBIO", false},
      {"PENC_PED", "MONEDA", "DOCUMEN4"},  {"ENC_HLIB", "MONEDA", "ENC_HLIB12"},
      {"MONEDAS", "EQUIVAL", ""},
      // Tables of this program that keep a currency code too: left behind, they would name a
      // currency that no longer exists.
      {"TRANSACS", "MONEDA", ""},          {"TRANSACS", "MONEDA3", "", false},
      {"TRANSACS", "MONEDA_1", "", false}, {"TRANSACS", "MONEDA_2", "", false},
      {"TRANSACS", "M_P_ESP", "", false},  {"AGENCIAS", "MON_MASTER", ""},
      {"AGENCIAS", "MON_EXTRA", "", false}, {"TIPO_AGE", "MON_MASTER", ""},
      {"TIPO_AGE", "MON_EXTRA", "", false}};
  return steps;
}

MODIMONEDA::MODIMONEDA(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "MODIMONEDA", negocio, mode) {
  DUPLICADO_ALTA = "Código de MONEDA ya definido...";
  DUPLICADO_MODIFICA = "Código de MONEDA Ya definido...";
}

void MODIMONEDA::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.TRIMMED(502, t, "SIMBOLO");
  FORM_.NUMBER(503, t, "CAMBIO_MIN", "999,999.99");
  FORM_.TRIMMED(504, t, "SIGLAS");
  FORM_.NUMBER(505, t, "SAL_CXP", "999,999.9999");
  FORM_.NUMBER(506, t, "SAL_CXC", "999,999.9999");
  FORM_.FLAG(1001, t, "NEGATIVO");
  FORM_.CODE(kEquivalent, t, "EQUIVAL");
}

// Every currency of the business, itself included, by code.
void MODIMONEDA::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kEquivalent}, "MONEDAS", "MONEDAS", NEGOCIO);
}

// A changed code goes first into the tables that name the currency, then the record is
// rewritten; a currency that was its own equivalent stays so under its new code.
bool MODIMONEDA::MODIFICA(const std::string& code) {
  lib::WDBTable& t = *REGISTRO;
  t.GoTo(XRECNO);
  const std::string oldCode = lib::trim(t.S("CODIGO"));
  screens::CascadeReport report;
  if (oldCode != code) {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...");
    report = screens::RECODIFICA(CURRENCY_REFERENCES(), NEGOCIO, oldCode, code, &wait);
    RECODIFICA_CONTABLE(NEGOCIO, oldCode, code);
    wait.TERMINAR();
  }
  t.GoTo(XRECNO);
  lib::MODIFY(t, [&] {
    FORM_.SAVE(&t);
    if (lib::trim(t.S("EQUIVAL")) == oldCode) t.FieldPut("EQUIVAL", lib::Value::chars(code));
  });
  screens::AVISA_FALTANTES(report);
  return true;
}

}  // namespace currencies
