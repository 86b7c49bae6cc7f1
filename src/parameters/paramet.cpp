#include "parameters/paramet.h"

#include "lib/messages.h"
#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "parameters/parameter_records.h"
#include "screens/history.h"
#include "win/controls.h"
#include "win/message_box.h"

namespace parameters {

namespace {

using lib::Value;
using win::WCONTROL;
using win::WDIAG;

// Pages, in the order they are added.
enum Page { kDatos1 = 1, kDatos2, kCierres, kDatos3, kDatos4 };

// Controls the screen's own code reads.
constexpr int kClosingDate = 500, kStartDate = 501, kHourIn = 503, kMinuteIn = 504, kHourOut = 505, kMinuteOut = 506;
constexpr int kCurrency = 611, kNoShow = 613, kStateIn = 621;
constexpr int kWristbands = 1011, kAdultBand = 641, kChildBand = 642;
constexpr int kByAgency = 214, kAgency = 661, kAgencyLabel = 3661;
constexpr int kRates = 701, kAllRates = 301, kNoRates = 302;

// R3_TARIFA keeps the codes and the closing "|" in 254 characters.
constexpr size_t kRateCodes = 63;

std::string code4(std::string code) {
  code.resize(4, ' ');
  return code;
}

void error(const std::string& text, const std::string& title) {
  win::MESSAGE_BOX(nullptr, text, title, lib::MB_OK | lib::MB_ICONERROR);
}

}  // namespace

PARAMET::PARAMET(const std::string& dialog, const std::string& negocio)
    : PARAMETER_SCREEN(dialog, negocio,
                       {{"PARAMET_B", "Datos 1"},
                        {"PARAMET_C", "Datos 2"},
                        {"PARAMET_D", "Cierres"},
                        {"PARAMET_E", "Datos 3"},
                        {"PARAMET_G", "Datos 4"}}) {}

void PARAMET::ABRIRBASES() {
  F_HOTEL = PARAMETRO("F_HOTEL");
  F_HOTEL2 = PARAMETRO("F_HOTEL2");
  F_HOTEL3 = PARAMETRO("F_HOTEL3");
  F_HOTEL4 = PARAMETRO("F_HOTEL4");
}

void PARAMET::CONTROLES() {
  lib::WDBTable *h = F_HOTEL, *h2 = F_HOTEL2, *h3 = F_HOTEL3, *h4 = F_HOTEL4;
  screens::FORM& f = form_;
  // Above the tabs.
  f.DATE(kClosingDate, h, "CIERRE_DIA");
  f.DATE(kStartDate, h, "F_INICIO");
  f.NUMBER(502, h, "CANT_ROOMS", "999,999");
  f.DIGITS2(kHourIn, h, "HORA_IN");
  f.DIGITS2(kMinuteIn, h, "MINU_IN");
  f.DIGITS2(kHourOut, h, "HORA_OUT");
  f.DIGITS2(kMinuteOut, h, "MINU_OUT");
  f.TEXT(507, h, "HORA_C1");
  f.TEXT(508, h, "HORA_C2");
  f.FLAG(1001, h, "CREDITO");
  f.NUMBER(509, h, "MONTO_CRE", "9,999,999.99", "999,999,999.99");
  f.FLAG(1002, h, "CONTA");
  f.FLAG(1003, h, "ABRE_LINEA");
  f.TEXT(510, h, "DOC_CHK_IN");
  f.CHOICE(601, h, "COD_FAC",
           {{"Antíguo 1", 0},
            {"Antíguo 2", 1},
            {"Sobre Papel en Blanco", 2},
            {"Formato Pre-Impreso", 3},
            {"Formato Ticket", 4},
            {"Formato Sin Fondo", 5}});
  f.CODE(602, h, "AJ_CXC");

  // Datos 1.
  f.CODE(kCurrency, h, "MONEDA_RES");
  f.CODE(612, h, "MON_D_TRAN");
  f.CODE(kNoShow, h, "TRANS_NOSH");
  f.CODE(614, h, "AJUSTE");
  f.NUMBER(520, h, "DIF_PREPAG", "9999.99");
  f.NUMBER(521, h, "MARG_NEG", "999,999,999.99");
  f.CODE(615, h, "TIP_ADULT");
  f.CODE(616, h, "TIP_NINHO");
  f.CODE(617, h, "I_CONFIRMA");
  f.CODE(618, h, "MAE1_STAT");
  f.CODE(619, h, "MAE2_STAT");
  f.CODE(kStateIn, h, "IN_EST_HA");
  f.CODE(622, h, "OUT_EST_HA");
  f.CODE(623, h, "ULT_EST_HA");
  f.CODE(624, h, "CAMBIO_HAB");
  f.CODE(625, h, "LIBRE");
  f.CODE(626, h, "LIBRE_RES");
  f.CODE(627, h3, "DESBLOQUEA");
  int id = 631;
  for (const char* serial :
       {"SERIAL_RES", "SERIAL_FOL", "SERIAL_MAE", "SERIAL_FAC", "SERIAL_CMP", "SERIAL_WAL", "RES_PEND"})
    f.CODE(id++, h, serial);

  // Datos 2.
  f.FLAG(kWristbands, h, "BRASALETE");
  f.CODE(kAdultBand, h, "BRAS_ADULT");
  f.CODE(kChildBand, h, "BRAS_NINHO");
  f.FLAG(1012, h, "IMP_RESE");
  f.CODE(643, h, "COD_IMP_R");
  f.FLAG(1013, h, "IMP_FAX");
  f.CODE(644, h, "COD_IMP_F");
  f.CODE(645, h, "COD_IMP_F2");
  f.CODE(646, h, "COD_IMP_T");
  f.CODE(647, h, "DOC_AGENTE");
  f.CODE(648, h, "DOC_CAJA");
  f.CODE(649, h, "AUN_HOSP");
  f.TEXT(530, h, "FOL_MASTER");
  f.TEXT(531, h, "FOL_EXTRA");
  f.CODE(650, h, "PAIS_DEF");
  f.FLAG(1014, h, "DO_VENCE");
  f.FLAG(1015, h, "DO_QUICK");
  f.OPTION(h, "BLOQ_FOL", {{201, 0}, {202, 1}, {203, 2}}, 201);

  // Cierres. R1_AGENCIA and R3_TARIFA follow rules of their own (SAVE_DATOS).
  f.OPTION(h, "R1_ORDEN", {{211, 1}, {212, 2}, {213, 3}, {kByAgency, 4}}, 211, [this] { CTRL_ORDEN(); });
  ADD(std::make_unique<win::CCOMBOBOX>(this, kAgency));
  f.TEXT(540, h, "R1_HORA");
  f.OPTION(h, "R2_SEGMENT", {{215, 1}, {216, 2}}, 215);
  f.OPTION(h, "R3_SEGMENT", {{217, 1}, {218, 2}}, 217);
  f.FLAG(1021, h, "R3_ACUM");
  ADD(std::make_unique<win::CLISTBOX>(this, kRates));
  ADD_BUTTON(kAllRates, [this] { MARCAR_TARIFAS(true); });
  ADD_BUTTON(kNoRates, [this] { MARCAR_TARIFAS(false); });
  f.NUMBER(541, h, "VTA_RES", "999.99");
  f.FLAG(1022, h, "I_MAESTRAS");
  f.OPTION(h, "TCAMB_REP", {{221, 1}, {222, 2}, {223, 3}, {224, 4}, {225, 5}});
  f.OPTION(h, "T_REG", {{226, 0}, {227, 1}});
  f.FLAG(1027, h3, "NO_CHK_CI1");
  f.FLAG(1028, h3, "NO_CHK_CI2");
  f.FLAG(1029, h3, "P_STATTIP2");
  f.NUMBER(542, h2, "PROYECTA", "999");
  f.NUMBER(543, h2, "PROYECTA2", "999");
  f.FLAG(1031, h3, "DO_STATACT");
  f.FLAG(1023, h3, "TEST_FAC");
  f.FLAG(1024, h3, "SHOW_NULA");
  f.FLAG(1025, h3, "CHECK_FAC");
  f.FLAG(1026, h3, "FAC_NO_IMP");
  f.OPTION(h3, "FACTURA_E", {{244, 0}, {245, 1}, {246, 2}});

  // Datos 3.
  f.FLAG(1041, h, "CTRL_DISPO");
  f.OPTION(h, "CTRL_TIPO", {{231, 0}, {232, 1}, {233, 2}});
  f.OPTION(h, "CTRL_TIPO2", {{234, 0}, {235, 1}, {236, 2}});
  f.FLAG(1042, h, "CHK_CED1");
  f.NUMBER(550, h, "N_CEDULA", "999");
  id = 1043;
  for (const char* flag : {"CHK_CED2", "PASA_FOL", "CHECK_CXC", "NO_N_COMP", "TOT_TRANS", "CTRL_LINEA", "SEND_AGRA"})
    f.FLAG(id++, h, flag);
  for (int i = 1; i <= 6; ++i) f.TEXT(550 + i, h, "ACCESORIO" + std::to_string(i));
  f.TEXT(557, h, "EMAIL_RES");
  f.TEXT(558, h, "NOM_EMAIL");
  f.NUMBER(559, h, "PROM_ALLOT", "99");
  f.CODE(671, h, "MAE_CLAS1");
  f.CODE(672, h, "MAE_CLAS2");
  f.CODE(673, h, "MAE_AGEN");
  f.CODE(674, h, "MAE_PAIS");
  f.CODE(675, h, "TIPO_WALK");
  f.CODE(676, h, "HUES_WALK");
  f.CODE(677, h, "RACK_WALK");

  // Datos 4.
  f.FLAG(1061, h, "CONF_DEL");
  f.FLAG(1062, h, "MODO_FOL");
  f.FLAG(1063, h, "AGRUPAR");
  f.FLAG(1064, h, "LOG_HIST");
  f.FLAG(1065, h, "CREAR_FOL");
  f.NUMBER(570, h, "ROT_CIERRE", "99");
  f.CODE(681, h, "REF_DEF");
  f.FLAG(1066, h2, "CALC_TAR");
  f.FLAG(1067, h2, "CAN_WAIT");
  f.FLAG(1068, h2, "SHOW_NUM");
  f.FLAG(1069, h4, "NOREMINDER");
  id = 1070;
  for (const char* flag : {"ASI_HAB", "COL_HAB", "NO_CENT1", "NO_CENT2", "NO_ABRIR", "NO_WAKEUP", "NO_VOICE",
                           "NO_CHKOUT", "PERM_NETA", "NO_COMIS", "RES_PREPAG", "MANEJO_DOL", "DEP_ROT", "NO_M_TIPO",
                           "NO_M_TAR", "DET_TAR", "PRES_CONTA", "TIPO_STAT", "NO_COLOR_D"})
    f.FLAG(id++, h3, flag);
  f.OPTION(h3, "TIP_RECALC", {{241, 0}, {242, 1}, {243, 2}});
  f.OPTION_TEXT(h3, "NAC_INT", {{247, " 1"}, {248, " 5"}, {249, "  "}});
  f.TRIMMED(571, h3, "CLAVE_NEG");
  f.TRIMMED(572, h3, "CLAVE_SAL");

  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { TERMINAR(); });
}

void PARAMET::LOAD_LISTAS() {
  WDIAG& d = *this;
  // Above the tabs and "Datos 1".
  screens::LOAD_LISTA(d, {602, kNoShow, 614}, "TRANSACS", "TRANSACS1", NEGOCIO);
  screens::LOAD_LISTA(d, {kCurrency, 612}, "MONEDAS", "MONEDAS", NEGOCIO);
  screens::LOAD_LISTA(d, {kStateIn, 622, 623, 624, 625, 626, 627}, "T_EST_HA", "T_EST_HA", NEGOCIO);
  LOAD_SERIALES(d, {631, 632, 633, 634, 635, 636, 637}, NEGOCIO);
  screens::LOAD_LISTA(d, {615, 616, 676}, "TIPO_HUE", "TIPO_HUE", NEGOCIO);
  screens::LOAD_LISTA(d, {617}, "IDIOMAS", "IDIOMAS", NEGOCIO);
  screens::LOAD_LISTA(d, {618, 677}, "ENC_RACK", "ENC_RACK", NEGOCIO);
  screens::LOAD_LISTA(d, {619}, "CLAS_ROM", "CLAS_ROM", NEGOCIO);
  // "Datos 2".
  screens::LOAD_LISTA(d, {kAdultBand, kChildBand}, "DEF_BRAS", "DEF_BRAS", NEGOCIO);
  screens::LOAD_LISTA(d, {643, 644, 645, 646}, "PREDET_P", "PREDET_P", NEGOCIO);
  screens::LOAD_LISTA(d, {647}, "AGENTES", "AGENTES", NEGOCIO, "NOMBRE");
  screens::LOAD_LISTA(d, {648}, "CAJA_ENC", "CAJA_ENC", NEGOCIO);
  LOAD_LIGAS(d, {649}, NEGOCIO);
  // "Cierres": every agency after "TODOS"; the rate types of the source of business.
  win::CCOMBOBOX(this, kAgency).Add("TODOS", 0, "TODOS" + std::string(10, ' '));
  // "Datos 3": master accounts may have no agency and no country.
  win::CCOMBOBOX(this, 673).Add("***Ninguna", 0, std::string(15, ' '));
  win::CCOMBOBOX(this, 674).Add("  Ninguno...", 0, "");
  screens::LOAD_LISTA(d, {kAgency, 673}, "AGENCIAS", "AGENCIAS", NEGOCIO);
  screens::LOAD_LISTA(d, {650, 674}, "PAISES", "PAISES", NEGOCIO);
  screens::LOAD_LISTA(d, {671}, "TIP_RES1", "TIP_RES1", NEGOCIO);
  screens::LOAD_LISTA(d, {672}, "TIP_RES2", "TIP_RES2", NEGOCIO);
  screens::LOAD_LISTA(d, {675}, "E_T_RES", "E_T_RES", NEGOCIO);
  // "Datos 4".
  win::CCOMBOBOX(this, 681).Add("  Ninguno...", 0, "");
  screens::LOAD_LISTA(d, {681}, "COM_ENT", "COM_ENT", NEGOCIO);

  win::CLISTBOX rates(this, kRates);
  auto t = lib::USE(this, "ENC_RACK", "ENC_RACK");
  const std::string key = lib::businessKey(NEGOCIO);
  t->SetScope(Value::chars(key), Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip())
    if (!t->Deleted()) rates.Add(t->S("DESCRIP"), t->S("CODIGO"));
  lib::KILLTABLA(t);
}

void PARAMET::INIT() {
  PARAMETER_SCREEN::INIT();
  if (window()) SetFocusTo(kClosingDate);
}

void PARAMET::LOAD_DATOS() {
  PARAMETER_SCREEN::LOAD_DATOS();
  win::CCOMBOBOX agency(this, kAgency);
  screens::SEEK_CODIGO(agency, F_HOTEL->S("R1_AGENCIA"));
  // The codes before the first "|", four characters each.
  const std::string stored = F_HOTEL->FieldGet("R3_TARIFA").text;
  const std::string codes = stored.substr(0, stored.find('|'));
  win::CLISTBOX rates(this, kRates);
  for (size_t at = 0; at < codes.size(); at += 4) {
    const std::string code = code4(codes.substr(at, 4));
    for (int i = 1; i <= rates.Count(); ++i)
      if (code4(rates.ItemCargo(i)) == code) rates.SetSel(i, true);
  }
  CTRL_ORDEN();
}

void PARAMET::CTRL_ORDEN() {
  const bool byAgency = IsDlgButtonChecked(kByAgency);
  EnableItem(kAgency, byAgency);
  EnableItem(kAgencyLabel, byAgency);
}

void PARAMET::MARCAR_TARIFAS(bool selected) {
  win::CLISTBOX rates(this, kRates);
  for (int i = 1; i <= rates.Count(); ++i) rates.SetSel(i, selected);
}

std::string PARAMET::TARIFAS() const {
  win::CLISTBOX rates(const_cast<PARAMET*>(this), kRates);
  std::string codes;
  for (int i : rates.Selected()) codes += code4(rates.ItemCargo(i));
  return codes.empty() ? std::string() : codes + "|";
}

void PARAMET::REHUSA(int page, int id, const std::string& text, const std::string& title) {
  if (page) ACTIVATEPAGE(page);
  SetFocusTo(id);
  error(text, title);
}

void PARAMET::SAVE_DATOS() {
  // 1. The dates: the closing date must be one; a start date, when typed, too.
  const std::string closing = GetDlgItemText(kClosingDate);
  if (lib::CTOD(closing) == 0) {
    REHUSA(0, kClosingDate, "La fecha no es válida -> " + closing, " Error");
    return;
  }
  const std::string start = GetDlgItemText(kStartDate);
  if (lib::CTOD(start) == 0 && start.find_first_of("0123456789") != std::string::npos) {
    REHUSA(0, kStartDate, "La fecha no es válida -> " + start, " Error");
    return;
  }
  // 2. Check-in and check-out times (24 and 60 themselves pass).
  auto value = [this](int id) { return lib::readNumber(GetDlgItemText(id)); };
  if (value(kHourIn) > 24 || value(kHourOut) > 24) {
    REHUSA(0, value(kHourIn) > 24 ? kHourIn : kHourOut, "La hora de entrada o salida no es válida", " Error");
    return;
  }
  if (value(kMinuteIn) > 60 || value(kMinuteOut) > 60) {
    REHUSA(0, value(kMinuteIn) > 60 ? kMinuteIn : kMinuteOut, "Los minutos de entrada o salida no son válidos",
           " Error");
    return;
  }
  // 3. The lists every program needs.
  auto chosen = [this](int id) { return !win::CCOMBOBOX(this, id).CurCargo().empty(); };
  if (!chosen(kCurrency)) {
    REHUSA(kDatos1, kCurrency, "Debe definir la Moneda", "Error");
    return;
  }
  if (!chosen(kNoShow)) {
    REHUSA(kDatos1, kNoShow, "Debe definir la Transación del No Show", "Error");
    return;
  }
  if (!chosen(kStateIn)) {
    REHUSA(kDatos1, kStateIn, "Debe definir el Estado de la habitacion despues del Checkin", "Error");
    return;
  }
  if (IsDlgButtonChecked(kWristbands)) {
    if (!chosen(kAdultBand)) {
      REHUSA(kDatos2, kAdultBand, "Debe definir los Brazaletes para los adultos", "Error");
      return;
    }
    if (!chosen(kChildBand)) {
      REHUSA(kDatos2, kChildBand, "Debe definir los Brazaletes para los niños", "Error");
      return;
    }
  }
  const std::string rates = TARIFAS();
  if (rates.size() > kRateCodes * 4 + 1) {
    REHUSA(kCierres, kRates,
           "Se pueden seleccionar hasta " + std::to_string(kRateCodes) + " Tarifas para el Source of Business",
           "Error");
    return;
  }

  // 4. F_HOTEL.
  CREA_PARAMETRO(*F_HOTEL, NEGOCIO);
  lib::MODIFY(*F_HOTEL, [&] {
    // The form's fields and the agency and rates written here, one change in the history.
    screens::CON_HISTORIAL(*F_HOTEL, [&] {
      form_.SAVE(F_HOTEL, false);
      if (IsDlgButtonChecked(kByAgency)) {
        win::CCOMBOBOX agency(this, kAgency);
        if (agency.CurItem() > 0) F_HOTEL->FieldPut("R1_AGENCIA", Value::chars(agency.CurCargo()));
      } else {
        F_HOTEL->FieldPut("R1_AGENCIA", Value::chars(""));
      }
      F_HOTEL->FieldPut("R3_TARIFA", Value::chars(rates));
    });
  });
  // 5. F_HOTEL2.
  GRABA(F_HOTEL2);
  // 6. F_HOTEL3 and F_HOTEL4 locked together; released in that order.
  CREA_PARAMETRO(*F_HOTEL3, NEGOCIO);
  CREA_PARAMETRO(*F_HOTEL4, NEGOCIO);
  lib::MODIFY(*F_HOTEL3, [&] {
    form_.SAVE(F_HOTEL3);
    lib::SELECT(F_HOTEL4->Area);
    lib::LOCK_FOR_MODIFY(F_HOTEL4);
    try {
      form_.SAVE(F_HOTEL4);
    } catch (...) {
      lib::SELECT(F_HOTEL4->Area);
      lib::UNLOCK_FOR_MODIFY(F_HOTEL4);
      throw;
    }
    lib::SELECT(F_HOTEL3->Area);
  });
  lib::SELECT(F_HOTEL4->Area);
  lib::UNLOCK_FOR_MODIFY(F_HOTEL4);
  // 7.
  ENDDIALOG();
}

}  // namespace parameters
