#include "rates/e_rack.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "rates/rack.h"
#include "rates/rack2.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kTabs = 200, kClass = 601, kNoShow = 602, kMealPlan = 603;
constexpr int kPropagate = 901, kSpecials = 902;

}  // namespace

E_RACK::E_RACK(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "E_RACK", negocio, mode), desglose_(*this, negocio, "") {}

void E_RACK::BIND() {
  MAINTABPAGE(DIALOG, kTabs);
  ADDTABPAGE("E_RACK4", "Adultos");
  ADDTABPAGE("E_RACK5", "Niños");
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.TRIMMED(502, t, "COMENT_FAC");
  FORM_.TRIMMED(503, t, "ROT_CONF");
  FORM_.TRIMMED(504, t, "COMENTA");
  FORM_.NUMBER(505, t, "P_HOSP", "999.9999");
  FORM_.NUMBER(506, t, "P_INGR", "999.9999");
  FORM_.TEXT(507, t, "CLAVE");
  FORM_.FLAG(1001, t, "READ_CLAVE");
  FORM_.CODE(kClass, t, "CLASE");
  FORM_.CODE(kNoShow, t, "C_NOSHOW");
  FORM_.CODE(kMealPlan, t, "COD_AYB");
  FORM_.OPTION(t, "CALCULO", {{1101, 0}, {1102, 1}}, 1101);
  FORM_.OPTION(t, "TIP_SOURCE", {{1110, 0}, {1111, 1}, {1112, 2}, {1113, 3}, {1114, 4}, {1115, 5}});
  FORM_.OPTION(t, "TIP_CAMBIO", {{1121, 1}, {1122, 2}, {1123, 3}, {1124, 4}, {1125, 5}});
  int id = 1002;
  for (const char* flag : {"EN_WALKIN", "COBRADO", "RESUME_FAC", "NO_COMIS", "NO_TARJETA", "NO_P_ESP", "CTRL_BRAZ",
                           "SHOW_NETA", "PRES_PAX", "VARIAR_PAX", "CALC_TAR", "NO_MK_RES", "COTIZA", "LOAD_TOT"})
    FORM_.FLAG(id++, t, flag);
  desglose_.BIND();
  ADD_BUTTON(kPropagate, [this] { desglose_.PROPAGAR(); });
  ADD_BUTTON(kSpecials, [this] { ESPECIALES(); });
}

// Room classes; the no-show charge ("  Sin Cargo..." first) and the meal-plan profile
// ("Ninguno" first), both storing a blank for their first entry.
void E_RACK::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kClass}, "CLAS_ROM", "CLAS_ROM", NEGOCIO);
  win::CCOMBOBOX(this, kNoShow).Add("  Sin Cargo...", 0, "");
  screens::LOAD_LISTA(*this, {kNoShow}, "TRANSACS", "TRANSACS1", NEGOCIO, "DESCRIP", true);
  win::CCOMBOBOX(this, kMealPlan).Add("Ninguno", 0, "");
  screens::LOAD_LISTA(*this, {kMealPlan}, "TIPO_AYB", "TIPO_AYB", NEGOCIO, "DESCRIP", true);
}

void E_RACK::CARGAR() {
  EDITOR::CARGAR();
  desglose_.CONFIGURA();
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    desglose_.CARGAR(REGISTRO->S("CODIGO"));
  }
  EnableItem(kSpecials, MODO_E == kModify);
  ACTIVATEPAGE(1);
}

bool E_RACK::AGREGA(const std::string& code) {
  EDITOR::AGREGA(code);
  const uint32_t added = REGISTRO->RecNo();
  desglose_.GRABAR(code);
  REGISTRO->GoTo(added);
  return true;
}

bool E_RACK::MODIFICA(const std::string& code) {
  lib::WDBTable& t = *REGISTRO;
  t.GoTo(XRECNO);
  const std::string oldCode = lib::trim(t.S("CODIGO"));
  screens::CascadeReport report;
  if (oldCode != code) {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...");
    report = screens::RECODIFICA(RATE_TYPE_REFERENCES(), NEGOCIO, oldCode, code, &wait);
    wait.TERMINAR();
  }
  t.GoTo(XRECNO);
  lib::MODIFY(t, [&] { FORM_.SAVE(&t); });
  desglose_.GRABAR(code);
  screens::AVISA_FALTANTES(report);
  t.GoTo(XRECNO);
  return true;
}

// The rate type's specials, as stored (a rate type being added has none yet).
void E_RACK::ESPECIALES() {
  REGISTRO->GoTo(XRECNO);
  screens::OPEN<RACK2>(this, NEGOCIO, REGISTRO->S("CODIGO"));
}

void E_RACK::CerrarBases() {
  desglose_.CERRAR();
  EDITOR::CerrarBases();
}

}  // namespace rates
