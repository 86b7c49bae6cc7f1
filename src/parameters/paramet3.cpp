#include "parameters/paramet3.h"

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "win/controls.h"

namespace parameters {

namespace {

using win::WCONTROL;
using win::WDIAG;

constexpr int kTabs = 200;

// The wristband lists, by rows: weekday and weekend with liquor, weekday and weekend without;
// in each row adult day, child day, adult night, child night. Then the cruise pair.
constexpr const char* kWristbands[] = {"BRAZ_AD",   "BRAZ_ND",   "BRAZ_AN",   "BRAZ_NN",   "BRAZ_ADF",  "BRAZ_NDF",
                                       "BRAZ_ANF",  "BRAZ_NNF",  "BRAZ_ADN",  "BRAZ_NDN",  "BRAZ_ANN",  "BRAZ_NNN",
                                       "BRAZ_ADFN", "BRAZ_NDFN", "BRAZ_ANFN", "BRAZ_NNFN", "BRAZ_CR_A", "BRAZ_CR_N"};
constexpr int kFirstWristband = 611;

}  // namespace

PARAMET3::PARAMET3(WDIAG* parent, const std::string& dialogName, const std::string& business) {
  NEGOCIO = business;
  ABRIRBASES();
  if (!Init(parent, dialogName)) return;
  MAINTABPAGE(dialogName, kTabs, "", 8, 150);
  ADDTABPAGE("PARAMET3_A", "Day Pass y Brazaletes");
  ADDTABPAGE("PARAMET3_B", "Facturas y Otros");
  CONTROLES();
  CREATE(dialogName);
  LOAD_LISTAS();
  // The records this screen writes, created when missing so that saving always has them.
  CREA_PARAMETRO(*F_HOTEL3, NEGOCIO);
  CREA_PARAMETRO(*F_HOTEL4, NEGOCIO);
  form_.LOAD();
  ACTIVATEPAGE(1);
}

PARAMET3::~PARAMET3() = default;

void PARAMET3::ABRIRBASES() {
  F_HOTEL3 = lib::USE(this, "F_HOTEL3", "F_HOTEL3");
  F_HOTEL4 = lib::USE(this, "F_HOTEL4", "F_HOTEL4");
}

void PARAMET3::CERRARBASES() {
  lib::KILLTABLA(F_HOTEL3);
  lib::KILLTABLA(F_HOTEL4);
}

void PARAMET3::CONTROLES() {
  lib::WDBTable *h3 = F_HOTEL3.get(), *h4 = F_HOTEL4.get();
  PARAM_FORM& f = form_;
  f.CODE(601, h3, "AGE_DAY");
  f.CODE(602, h3, "M_DAYPASS");
  int id = kFirstWristband;
  for (const char* field : kWristbands) f.CODE(id++, h3, field);
  f.FLAG(1001, h3, "CHECK_BRAZ");
  for (int i = 1; i <= 5; ++i) f.TEXT(500 + i, h4, "ROT_CLASE" + std::to_string(i));
  f.FLAG(1011, h3, "FAC_EXTRAS");
  f.CODE(603, h3, "ITM_EXENTO");
  f.TEXT(510, h3, "ROT_EXENTO");
  f.FLAG(1012, h3, "CLOSE_LINE");
  f.FLAG(1013, h4, "TIPO_TOPE");
  f.FLAG(1014, h4, "APART_ZIP");
  f.FLAG(1015, h4, "DISP_A");
  f.FLAG(1016, h4, "NO_CHKREST");
  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { TERMINAR(); });
}

void PARAMET3::LOAD_LISTAS() {
  WDIAG& d = *this;
  LOAD_LISTA(d, {601}, "AGENCIAS", "AGENCIAS", NEGOCIO);
  LOAD_LISTA(d, {602}, "MONEDAS", "MONEDAS", NEGOCIO);
  LOAD_LISTA(d, {611, 612, 613, 614, 615, 616, 617, 618, 619, 620, 621, 622, 623, 624, 625, 626, 627, 628}, "DEF_BRAS",
             "DEF_BRAS", NEGOCIO);
  LOAD_LISTA(d, {603}, "TIPO_IMP", "TIPO_IMP", NEGOCIO);
}

void PARAMET3::SAVE_DATOS() {
  CREA_PARAMETRO(*F_HOTEL3, NEGOCIO);
  lib::MODIFY(*F_HOTEL3, [&] { form_.SAVE(F_HOTEL3.get()); });
  CREA_PARAMETRO(*F_HOTEL4, NEGOCIO);
  lib::MODIFY(*F_HOTEL4, [&] { form_.SAVE(F_HOTEL4.get()); });
  ENDDIALOG();
}

void PARAMET3::TERMINAR() {
  ENDDIALOG();
}

}  // namespace parameters
