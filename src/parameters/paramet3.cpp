#include "parameters/paramet3.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "parameters/parameter_records.h"
#include "win/controls.h"

namespace parameters {

namespace {

using win::WCONTROL;
using win::WDIAG;

// The wristband lists, by rows: weekday and weekend with liquor, weekday and weekend without;
// in each row adult day, child day, adult night, child night. Then the cruise pair.
constexpr const char* kWristbands[] = {"BRAZ_AD",   "BRAZ_ND",   "BRAZ_AN",   "BRAZ_NN",   "BRAZ_ADF",  "BRAZ_NDF",
                                       "BRAZ_ANF",  "BRAZ_NNF",  "BRAZ_ADN",  "BRAZ_NDN",  "BRAZ_ANN",  "BRAZ_NNN",
                                       "BRAZ_ADFN", "BRAZ_NDFN", "BRAZ_ANFN", "BRAZ_NNFN", "BRAZ_CR_A", "BRAZ_CR_N"};
constexpr int kFirstWristband = 611;

}  // namespace

PARAMET3::PARAMET3(const std::string& dialog, const std::string& negocio)
    : PARAMETER_SCREEN(dialog, negocio, {{"PARAMET3_A", "Day Pass y Brazaletes"}, {"PARAMET3_B", "Facturas y Otros"}},
                       150) {}

void PARAMET3::ABRIRBASES() {
  F_HOTEL3 = PARAMETRO("F_HOTEL3");
  F_HOTEL4 = PARAMETRO("F_HOTEL4");
}

void PARAMET3::CONTROLES() {
  lib::WDBTable *h3 = F_HOTEL3, *h4 = F_HOTEL4;
  screens::FORM& f = form_;
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
  screens::LOAD_LISTA(d, {601}, "AGENCIAS", "AGENCIAS", NEGOCIO);
  screens::LOAD_LISTA(d, {602}, "MONEDAS", "MONEDAS", NEGOCIO);
  screens::LOAD_LISTA(d, {611, 612, 613, 614, 615, 616, 617, 618, 619, 620, 621, 622, 623, 624, 625, 626, 627, 628},
                      "DEF_BRAS", "DEF_BRAS", NEGOCIO);
  screens::LOAD_LISTA(d, {603}, "TIPO_IMP", "TIPO_IMP", NEGOCIO);
}

void PARAMET3::SAVE_DATOS() {
  GRABA(F_HOTEL3);
  GRABA(F_HOTEL4);
  ENDDIALOG();
}

}  // namespace parameters
