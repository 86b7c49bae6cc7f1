#include "parameters/paramet2.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "parameters/parameter_records.h"
#include "win/controls.h"

namespace parameters {

namespace {

using win::WCONTROL;
using win::WDIAG;

// The forecast lines: check box 1100 + n, colour buttons 3000 + 10n + colour (0 to 5).
constexpr int kForecastLines = 25, kFirstLine = 1101, kFirstColour = 3010;

}  // namespace

PARAMET2::PARAMET2(const std::string& dialog, const std::string& negocio)
    : PARAMETER_SCREEN(dialog, negocio,
                       {{"PARAMET2_A", "Datos 1"}, {"PARAMET2_B", "Datos 2"}, {"PARAMET2_C", "Datos 3"}}) {}

void PARAMET2::ABRIRBASES() {
  F_HOTEL3 = PARAMETRO("F_HOTEL3");
  F_HOTEL = PARAMETRO("F_HOTEL");
  NEGOCIOS = USE("NEGOCIOS", "NEGOCIOS");  // the business unit itself is never created here
}

// The business unit's settings beside its parameters.
void PARAMET2::LOAD_DATOS() {
  NEGOCIOS->Seek(lib::businessKey(NEGOCIO));
  PARAMETER_SCREEN::LOAD_DATOS();
}

void PARAMET2::CONTROLES() {
  lib::WDBTable *h = F_HOTEL, *h3 = F_HOTEL3;
  screens::FORM& f = form_;
  // Datos 1.
  f.OPTION(h3, "SHOW_X_TIP", {{201, 0}, {202, 1}, {203, 2}});
  f.OPTION(h3, "T_SOCIAL", {{204, 0}, {205, 1}});
  f.FLAG(1001, h3, "VER_CONF");
  f.FLAG(1002, h3, "CHECK_MAST");
  f.FLAG(1003, NEGOCIOS, "MON_FOL");
  int id = 1004;
  for (const char* flag :
       {"CH_P_PRE_A", "CH_P_CAM_R", "TIP_COMIS", "INHOUSE1", "INHOUSE2", "WALKIN_PEN", "PAX_ESTANC", "NO_IMP_FAC"})
    f.FLAG(id++, h3, flag);
  f.CODE(601, h, "AUN_HOSP");
  f.CODE(602, h3, "DIFF_CAMB");
  f.CODE(603, h3, "SRP_WALK");
  f.NUMBER(500, h3, "MARGEN_DEP", "999,999,999.99");
  f.NUMBER(501, h3, "MIN_PEND", "9999");
  for (int i = 1; i <= 4; ++i) f.TEXT(501 + i, h3, "ROT_MONTO" + std::to_string(i));
  // Datos 2: each forecast line, shown or not, and its colour.
  for (int n = 1; n <= kForecastLines; ++n) {
    f.FLAG(kFirstLine + n - 1, h3, "PRO_HAB" + std::to_string(n));
    std::vector<std::pair<int, int>> colours;
    for (int c = 0; c <= 5; ++c) colours.push_back({kFirstColour + 10 * (n - 1) + c, c});
    f.OPTION(h3, "COLOR_H" + std::to_string(n), colours);
  }
  f.FLAG(1130, h3, "TIPO_PRONO");
  // Datos 3.
  f.FLAG(1201, h3, "CHECK_CRED");
  id = 611;
  for (const char* code : {"MON_CRED", "VENDEDOR", "UBICACION", "T_CUENTA", "AREA", "SERI_TIQ"}) f.CODE(id++, h3, code);
  id = 1202;
  for (const char* meal : {"DESAYU_1", "ALMUER_1", "CENA_1", "DESAYU_2", "ALMUER_2", "CENA_2"}) f.FLAG(id++, h3, meal);
  f.FLAG(1210, h3, "CLIE_FREC");
  f.FLAG(1211, h3, "NOC_FREC");
  f.FLAG(1212, h3, "RESER_FREC");
  f.FLAG(1213, h3, "EXTRA_FREC");
  f.FLAG(1214, h3, "MAST_FREC");
  f.NUMBER(520, h3, "M_NOC_FREC", "99999");
  f.NUMBER(521, h3, "M_RES_FREC", "999,999,999.99");
  f.NUMBER(522, h3, "M_EXT_FREC", "999,999,999.99");
  f.NUMBER(523, h3, "M_MAS_FREC", "99999");
  f.CODE(617, h3, "SER_FREC");
  f.FLAG(1215, h3, "NO_SEND_AF");

  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { TERMINAR(); });
}

void PARAMET2::LOAD_LISTAS() {
  WDIAG& d = *this;
  LOAD_LIGAS(d, {601, 602}, NEGOCIO);
  screens::LOAD_LISTA(d, {603}, "SRP", "SRP1", NEGOCIO);
  screens::LOAD_LISTA(d, {611}, "MONEDAS", "MONEDAS", NEGOCIO);
  screens::LOAD_LISTA(d, {612}, "VENDEDOR", "VENDEDOR", NEGOCIO);
  screens::LOAD_LISTA(d, {613}, "UB_MESA", "UB_MESA", NEGOCIO);
  screens::LOAD_LISTA(d, {614}, "CLAS_CTA", "CLAS_CTA", NEGOCIO);
  screens::LOAD_LISTA(d, {615}, "DEF_AREA", "DEF_AREA", NEGOCIO);
  LOAD_SERIALES(d, {616, 617}, NEGOCIO, true);
}

void PARAMET2::SAVE_DATOS() {
  GRABA(F_HOTEL3);
  GRABA(F_HOTEL);
  // The business unit itself is never created here.
  if (NEGOCIOS->Seek(lib::businessKey(NEGOCIO))) lib::MODIFY(*NEGOCIOS, [&] { form_.SAVE(NEGOCIOS); });
  ENDDIALOG();
}

}  // namespace parameters
