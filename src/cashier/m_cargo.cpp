#include "cashier/m_cargo.h"

#include <cmath>
#include <functional>

#include "cashier/cargo_copies.h"
#include "cashier/cargos.h"
#include "cashier/code_references.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/entry_filters.h"
#include "win/wait.h"

namespace cashier {

namespace {

using lib::Value;

constexpr int kTabs = 200;
// General.
constexpr int kCredit = 1001, kIncluded = 1002, kComposite = 1003, kTaxes = 901;
constexpr int kTotalize = 1004, kVirtual = 601, kSerial = 1005, kSerialCode = 602, kOnlyCurrency = 1006,
              kCurrency = 603, kLink = 604, kClass = 605;
// Reports.
constexpr int kBillingClass = 606, kReportGroup = 607, kCommissionType = 608;
// Parameters.
constexpr int kGeneric = 241;
constexpr int kParameters[] = {609, 610, 611, 612, 512, 613, 614};
constexpr int kRoundNone = 251, kRoundHalf = 252, kRoundOne = 253;
// Package.
constexpr int kAttachments = 519;
// Breakdown and users.
constexpr int kComponents = 700, kSubtrans = 702, kUsers = 703;
constexpr int kAddComponent = 301, kDeleteComponent = 302, kAddSubtrans = 303, kDeleteSubtrans = 304;
constexpr int kUserControl = 1028;

const char* const kCheck = "\u2713";
constexpr int kSpace = 0x20;  // the space bar, as the grid reports keys

struct Flag {
  int id;
  const char* field;
};
// "Opciones": the behaviour flags of the code, as the posting programs read them.
const Flag kOptions[] = {
    {1011, "DOCUMEN"},   {1012, "COMENTA"},    {1013, "NO_CIERRE"},  {1014, "DEPOSITA"},   {1015, "IMPRIMIR"},
    {1016, "RESERVA"},   {1017, "AGENTE"},     {1018, "NO_USAR"},    {1019, "DET_CONTA"},  {1020, "LEER_VENCE"},
    {1021, "AGRUPAR"},   {1022, "RESERVA2"},   {1023, "CXC"},        {1024, "COMISION"},   {1025, "READ_CLAVE"},
    {1026, "NEGATIVOS"}, {1027, "PASSW_NEG"},  {1029, "DET_ARTIC"},  {1030, "PIDE_CAJA"},  {1031, "NO_VUELTO"},
    {1032, "NO_CAJA"},   {1033, "BLOQ_CAJA"},  {1034, "RESUME_FAC"}, {1035, "BLOQ_FOL"},   {1036, "NO_MONTO"},
    {1037, "IMP_MONEDA"}, {1038, "ES_TARJETA"}, {1039, "IMP_F_PAGO"}, {1040, "IMP_CARGO"}, {1041, "ANUL_CAJA"},
    {1042, "ANUL_DIA"},  {1043, "NO_LOGO"},    {1044, "RES_COMP"},   {1045, "NO_SALDO"},   {1046, "NO_I_FAC"},
    {1047, "HEAD_RES"},  {1048, "MULT_MONTO"}, {1049, "LEER_DIAS"},  {1050, "NO_P_CERO"},  {1051, "VENCE_MAS1"},
    {1052, "EXIGE_ROOM"}};

// The labels the hotel gives its report groups and commission types (F_HOTEL3), where it
// has them.
std::string hotelLabel(const std::string& negocio, const std::string& field) {
  std::string label;
  lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio), [&](const lib::WDBTable& h) {
    if (h.HasField(field)) label = lib::trim(h.S(field));
  });
  return label;
}

bool accountingOn(const std::string& negocio) {
  bool on = false;
  lib::EACH_RECORD("F_HOTEL", "F_HOTEL", lib::businessKey(negocio),
                   [&](const lib::WDBTable& h) { on = h.N("CONTA") == 1; });
  return on;
}

// The codes of the business a component or a sub-transaction may name: not composite, and
// not the code being edited.
void loadCodes(win::CCOMBOBOX& list, const std::string& negocio, const std::string& editing) {
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio), [&](const lib::WDBTable& t) {
    if (t.N("SUB_TRAN") == 1 || lib::trim(t.S("CODIGO")) == editing) return;
    list.Add(lib::trim(t.S("CODIGO")) + " - " + t.S("DESCRIP"), 0, lib::trim(t.S("CODIGO")));
  });
}

std::string descriptionOf(const win::CCOMBOBOX& list) {
  const std::string text = list.CurText();
  const size_t dash = text.find(" - ");
  return dash == std::string::npos ? text : text.substr(dash + 3);
}

// The working copies' grids change only with the editor: they never refresh on their own.
win::BrowMarksOptions quiet() {
  win::BrowMarksOptions o;
  o.noRefresh = true;
  return o;
}

bool refuse(const std::string& text) {
  screens::error(text);
  return false;
}

lib::Money typed(const win::WDIAG& d, int id) {
  return lib::Money::parse(d.GetDlgItemText(id)).value_or(lib::Money());
}

}  // namespace

M_CARGO::M_CARGO(CARGOS* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_CARGOS", negocio, mode), CARGOS_(list) {}

void M_CARGO::AbrirBases() {
  EDITOR::AbrirBases();
  COMPONENTES = USE("W_TRAN.TMP", "W_TRAN");
  SUBTRANS = USE("W_TRA3.TMP", "W_TRA3");
  USUARIOS = USE("W_TRA2.TMP", "W_TRA2");
}

void M_CARGO::CerrarBases() {
  for (auto* grid : {OB_COMP.get(), OB_SUB.get(), OB_USER.get()})
    if (grid) CLOSEBROWSE(*grid);
  EDITOR::CerrarBases();
}

void M_CARGO::BIND() {
  MAINTABPAGE(DIALOG, kTabs, "", 8, 84);
  ADDTABPAGE("AGREGAR_CARGOS1", "General");
  ADDTABPAGE("AGREGAR_CARGOS2", "Opciones");
  ADDTABPAGE("AGREGAR_CARGOS3", "Reportes");
  ADDTABPAGE("AGREGAR_CARGOS4", "Parámetros");
  ADDTABPAGE("AGREGAR_CARGOS5", "Paquete");
  ADDTABPAGE("AGREGAR_CARGOS6", "Desglose");
  ADDTABPAGE("AGREGAR_CARGOS7", "Usuarios");

  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(500, t, "CODIGO");
  FORM_.TRIMMED(501, t, "DESCRIP");
  FORM_.TRIMMED(502, t, "CLAVE");
  FORM_.NUMBER(503, t, "COPIAS", "99");

  // General.
  FORM_.FLAG(kCredit, t, "CREDITO");
  FORM_.FLAG(kIncluded, t, "IMP_INCLU");
  ADD(std::make_unique<win::WCHECKBOX>(this, kComposite), [this](win::WDIAG&, win::WCONTROL&, int) {
    COMPUESTO_CHANGED();
    return 1;
  });
  ADD(std::make_unique<win::CLISTBOX>(this, kTaxes));
  FORM_.FLAG(kTotalize, t, "SI_COD_VIR", [this] { HABILITA(); });
  FORM_.CODE_OR_BLANK(kVirtual, t, "COD_VIRT");
  FORM_.FLAG(kSerial, t, "SERIAL");
  ADD(std::make_unique<win::CCOMBOBOX>(this, kSerialCode));
  FORM_.FLAG(kOnlyCurrency, t, "MON_UNIC");
  ADD(std::make_unique<win::CCOMBOBOX>(this, kCurrency));
  FORM_.CODE_OR_BLANK(kLink, t, "LIGA");
  FORM_.CODE(kClass, t, "CLASIFICA");
  FORM_.OPTION(t, "TRANS_CAMB", {{231, 1}, {232, 2}, {233, 3}, {234, 4}, {235, 5}}, 231);
  FORM_.OPTION(t, "T_IMP", {{211, 0}, {212, 1}, {213, 2}, {214, 3}, {215, 4}, {216, 5}}, 211);
  FORM_.OPTION(t, "T_HH", {{221, 0}, {222, 1}, {223, 2}, {224, 3}, {225, 4}, {226, 5}}, 221);

  for (const Flag& f : kOptions) FORM_.FLAG(f.id, t, f.field);

  // Reports and voucher.
  FORM_.CHOICE(kBillingClass, t, "CLAS_REP",
               {{"Ninguno", 0}, {"Efectivo", 1}, {"Tarjeta", 2}, {"CxC", 3}, {"Prepago", 4}, {"Sobrante y Faltante", 5},
                {"Saldo por Aplicar", 6}});
  std::vector<std::pair<std::string, int>> groups = {{"Ninguno", 0}};
  for (int n = 1; n <= 4; ++n) {
    const std::string label = hotelLabel(NEGOCIO, "ROT_MONTO" + std::to_string(n));
    groups.push_back({label.empty() ? "Grupo " + std::to_string(n) : label, n});
  }
  FORM_.CHOICE(kReportGroup, t, "TIPO_GRUPO", groups);
  std::vector<std::pair<std::string, int>> commissions = {{"Según Comisión General de Agencia", 0}};
  for (int n = 1; n <= 20; ++n) {
    const std::string label = hotelLabel(NEGOCIO, "ROT_COM" + std::to_string(n));
    commissions.push_back({label.empty() ? "..." : label, n});
  }
  FORM_.CHOICE(kCommissionType, t, "T_COMIS", commissions);
  for (int n = 1; n <= 4; ++n) {
    FORM_.TRIMMED(503 + n, t, "TITULO" + std::to_string(n));
    FORM_.TRIMMED(507 + n, t, "ROT_" + std::to_string(n));
  }

  // Parameters of the money operations; a stored kind without a button (4 to 6) stays.
  FORM_.OPTION(t, "TIPO_PROC", {{kGeneric, 0}, {242, 1}, {243, 2}, {244, 3}}, 0, [this] { HABILITA(); });
  FORM_.CODE_OR_BLANK(609, t, "MONEDA_1");
  FORM_.CODE_OR_BLANK(610, t, "TRANS_1");
  FORM_.CODE_OR_BLANK(611, t, "MONEDA_2");
  FORM_.CODE_OR_BLANK(612, t, "TRANS_2");
  FORM_.NUMBER(512, t, "M_E_COMIS", "999.99");
  FORM_.CODE_OR_BLANK(613, t, "TRANS_4");
  FORM_.CODE_OR_BLANK(614, t, "TRANS_3");
  for (int id : {kRoundNone, kRoundHalf, kRoundOne}) ADD(std::make_unique<win::WRADIOBUTTON>(this, id));
  FORM_.FLAG(1060, t, "X_P_ESP");
  FORM_.CODE_OR_BLANK(615, t, "M_P_ESP");
  FORM_.NUMBER(513, t, "PREC_ESP", "999,999.99");
  FORM_.FLAG(1061, t, "LEER_DESC");
  FORM_.NUMBER(514, t, "MAX_DESC", "999.99");
  FORM_.FLAG(1062, t, "LEER_BRAZA");
  FORM_.CODE_OR_BLANK(616, t, "COD_BRA");

  // Package.
  FORM_.FLAG(1070, t, "CALENDARIO");
  FORM_.TRIMMED(515, t, "ABREVIA");
  FORM_.FLAG(1071, t, "PREC_X_PAX");
  FORM_.NUMBER(516, t, "MONTO", "999,999,999.99");
  FORM_.CODE_OR_BLANK(617, t, "MONEDA");
  FORM_.FLAG(1072, t, "ES_PAQUETE");
  FORM_.UPPER(518, t, "P_CLAS");
  FORM_.NUMBER(517, t, "MONTO_NI", "999,999,999.99");
  FORM_.FLAG(1073, t, "BLOQ_PREC");
  FORM_.FLAG(1074, t, "INFO");
  FORM_.FLAG(1075, t, "CARGAR_CHK");
  ADD(std::make_unique<win::WEDIT>(this, kAttachments));
  FORM_.CODE_OR_BLANK(618, t, "COD_AYB");
  FORM_.OPTION(t, "PAX_AYB", {{261, 0}, {262, 1}}, 261);

  // Breakdown and users, over their working copies.
  OB_COMP = std::make_unique<win::WBLISTBOX>(this, kComponents, COMPONENTES);
  OB_SUB = std::make_unique<win::WBLISTBOX>(this, kSubtrans, SUBTRANS);
  OB_USER = std::make_unique<win::WBLISTBOX>(this, kUsers, USUARIOS);
  for (auto* grid : {OB_COMP.get(), OB_SUB.get(), OB_USER.get()}) ADD(grid);
  ADD_BUTTON(kAddComponent, [this] { AGREGA_COMPONENTE(); });
  ADD_BUTTON(kDeleteComponent, [this] { BORRA_COMPONENTE(); });
  ADD_BUTTON(kAddSubtrans, [this] { AGREGA_SUBTRANS(); });
  ADD_BUTTON(kDeleteSubtrans, [this] { BORRA_SUBTRANS(); });
  FORM_.FLAG(kUserControl, t, "CHEQ_USER", [this] { HABILITA(); });
}

void M_CARGO::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kVirtual}, "TRA_VIRT", "TRA_VIRT", NEGOCIO);
  screens::LOAD_LISTA_IF(
      *this, {kSerialCode}, "SERIALES", "SERIAL3", lib::businessKey(NEGOCIO) + "09",
      [](const lib::WDBTable& s) { return lib::trim(s.S("MODULO")) == "09"; });
  screens::LOAD_LISTA(*this, {kCurrency, 609, 611, 615, 617}, "MONEDAS", "MONEDAS", NEGOCIO);
  screens::LOAD_LISTA_IF(
      *this, {kLink}, "LIGAS", "LIGA3", lib::businessKey(NEGOCIO) + "09",
      [](const lib::WDBTable& l) { return lib::trim(l.S("MODULO")) == "09"; });
  win::CCOMBOBOX(this, kClass).Add("Sin Asociación", 0, "  ");
  screens::LOAD_LISTA(*this, {kClass}, "CLAS_TRA", "CLAS_TRA", NEGOCIO);
  screens::LOAD_LISTA(*this, {610, 612, 613, 614}, "TRANSACS", "TRANSACS1", NEGOCIO);
  screens::LOAD_LISTA(*this, {616}, "DEF_BRAS", "DEF_BRAS", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {618}, "TIPO_AYB", "TIPO_AYB", NEGOCIO, "DESCRIP", true);
  win::CLISTBOX taxes(this, kTaxes);
  lib::EACH_RECORD("TIPO_IMP", "TIPO_IMP", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& tax) {
    taxes.Add(lib::trim(tax.S("CODIGO")) + " - " + tax.S("DESCRIP") + " (" + tax.M("MONTO").text() + " %)",
              lib::trim(tax.S("CODIGO")));
  });
}

std::string M_CARGO::CODIGO_GUARDADO() const {
  if (MODO_E == kAdd) return FORM_.text(CODE_ID);
  REGISTRO->GoTo(XRECNO);
  return lib::trim(REGISTRO->S("CODIGO"));
}

// The record into the controls (a new code: kind "Genérica", no rounding); the taxes it
// applies selected; its components, sub-transactions and users into their working copies.
void M_CARGO::CARGAR() {
  EDITOR::CARGAR();
  const lib::WDBTable& t = *REGISTRO;
  const bool modifying = MODO_E == kModify;
  const std::string code = modifying ? lib::trim(t.S("CODIGO")) : "";
  if (!modifying) CheckDlgButton(kGeneric, true);
  const double rounding = modifying ? t.N("REDONDEO") : 0;
  CheckDlgButton(kRoundNone, rounding != 0.5 && rounding != 1);
  CheckDlgButton(kRoundHalf, rounding == 0.5);
  CheckDlgButton(kRoundOne, rounding == 1);
  if (modifying) {
    win::CCOMBOBOX serials(this, kSerialCode), currencies(this, kCurrency);
    screens::SEEK_CODIGO(serials, t.S("COD_SERIAL"));
    screens::SEEK_CODIGO(currencies, t.S("MONEDA3"));
    SetDlgItemText(kAttachments, t.S("ATTACH_COT"));
  }
  composite_ = modifying && t.N("SUB_TRAN") == 1;
  CheckDlgButton(kComposite, composite_);
  if (modifying) {
    const std::set<std::string> applied = IMPUESTOS_DEL_CARGO(NEGOCIO, code);
    win::CLISTBOX taxes(this, kTaxes);
    for (int i = 1; i <= taxes.Count(); ++i) taxes.SetSel(i, applied.count(taxes.ItemCargo(i)) > 0);
    COPIA_COMPONENTES(NEGOCIO, code, *COMPONENTES);
    COPIA_SUBTRANS(NEGOCIO, code, *SUBTRANS);
  }
  COPIA_USUARIOS(NEGOCIO, code, *USUARIOS);

  win::AGREGARCOL(*OB_COMP, COMPONENTES, "Cód.", "CODIGO", "!!!!", {}, 0, false, 12);
  win::AGREGARCOL(*OB_COMP, COMPONENTES, "Descripción", "DESCRIP", std::string(30, '!'));
  win::AGREGARCOL(*OB_COMP, COMPONENTES, "Porcentaje", "PORCENTAJE", "999.999", {}, 2, false, 20);
  win::AGREGARCOL(*OB_COMP, COMPONENTES, "Porc Ref", "IMPONIBLE", "999.999", {}, 2, false, 12);
  lib::WDBTable* sub = SUBTRANS;
  win::AGREGARCOL(*OB_SUB, sub, "Cód.", "SUB_TRANS", "!!!!", {}, 0, false, 12);
  win::AGREGARCOL(*OB_SUB, sub, "Descripción", "DESCRIP", std::string(22, '!'));
  win::AGREGARCOL(*OB_SUB, sub, "Monto", "VALOR", "99,999,999.9999", {}, 2);
  win::AGREGARCOL(*OB_SUB, sub, "% Ref", "IMPONIBLE", "999.9999", {}, 2, false, 8);
  win::AGREGARCOL(*OB_SUB, sub, "M. Base", "MONTO_BASE", "99,999,999.9999", {}, 2);
  win::AGREGARCOL(
      *OB_SUB, sub, "NR", "", "", [sub] { return Value::chars(sub->N("NO_RESTAR") == 1 ? kCheck : ""); }, 0, true, 12);
  lib::WDBTable* users = USUARIOS;
  win::AGREGARCOL(
      *OB_USER, users, "Permitido", "", "", [users] { return Value::chars(users->N("PERMITIDO") == 1 ? kCheck : ""); },
      0, true, 30);
  win::AGREGARCOL(*OB_USER, users, "Código", "COD_USER", "9999", {}, 2, false, 12);
  win::AGREGARCOL(*OB_USER, users, "Usuario", "NOMBRE", std::string(12, '!'));
  win::AGREGARCOL(*OB_USER, users, "Nombre", "USUARIO", std::string(30, 'X'));
  // Each grid in the order of its code column (the users' follows their mark).
  for (auto [grid, table, tag, column] : {std::tuple{OB_COMP.get(), COMPONENTES, "W_TRAN", 1},
                                          std::tuple{OB_SUB.get(), SUBTRANS, "W_TRA3", 1},
                                          std::tuple{OB_USER.get(), USUARIOS, "W_TRA2", 2}}) {
    grid->useMaintenanceLook();
    lib::SELECT(table->Area);
    BROWMARKS(*grid, {{column, tag}}, 1, "", quiet());
  }
  // A double click, Enter or the space bar on a row toggles its mark.
  auto marks = [](win::WBLISTBOX& grid, std::function<void()> toggle) {
    grid.doubleclick = [toggle](win::WBLISTBOX&) { toggle(); };
    grid.keyBlock = [toggle](win::WBLISTBOX&, int key, const std::string&) {
      if (key != kSpace) return false;
      toggle();
      return true;
    };
  };
  marks(*OB_SUB, [this] { TOGGLE(*SUBTRANS, *OB_SUB, "NO_RESTAR"); });
  marks(*OB_USER, [this] {
    if (IsDlgButtonChecked(kUserControl)) TOGGLE(*USUARIOS, *OB_USER, "PERMITIDO");
  });
  APLICA_COMPUESTO(composite_);
  HABILITA();
  ACTIVATEPAGE(1);
}

// The enabling that follows the boxes: the virtual transaction with "Totalizar en los Rep:",
// the users with "Control según Usuario", the parameters unless the kind is "Genérica".
void M_CARGO::HABILITA() {
  EnableItem(kVirtual, IsDlgButtonChecked(kTotalize));
  EnableItem(kUsers, IsDlgButtonChecked(kUserControl));
  const bool generic = IsDlgButtonChecked(kGeneric);
  for (int id : kParameters) EnableItem(id, !generic);
}

// "Descomponer Cargo": refused, the box put back, while the code has stored components (to
// turn it off) or is a stored component of another code (to turn it on).
void M_CARGO::COMPUESTO_CHANGED() {
  const bool wanted = IsDlgButtonChecked(kComposite);
  if (wanted == composite_) return;
  const std::string code = CODIGO_GUARDADO();
  if (!wanted && (TIENE_COMPONENTES(NEGOCIO, code) || FILAS(*COMPONENTES) > 0)) {
    CheckDlgButton(kComposite, true);
    return screens::error("Contiene transaciones asociadas\rDebe Borrarlas primero");
  }
  if (wanted && !code.empty() && ES_COMPONENTE(NEGOCIO, code)) {
    CheckDlgButton(kComposite, false);
    return screens::error("Esta en otras transaciones asociadas\rDebe borrarlas primero");
  }
  composite_ = wanted;
  APLICA_COMPUESTO(wanted);
}

// A composite code posts its components: its own taxes, inclusion and link are cleared and
// closed, its components open; a simple code the other way round.
void M_CARGO::APLICA_COMPUESTO(bool composite) {
  for (int id : {kComponents, kAddComponent, kDeleteComponent}) EnableItem(id, composite);
  for (int id : {kTaxes, kIncluded, kLink}) EnableItem(id, !composite);
  if (!composite) return;
  win::CLISTBOX taxes(this, kTaxes);
  for (int i = 1; i <= taxes.Count(); ++i) taxes.SetSel(i, false);
  CheckDlgButton(kIncluded, false);
  win::CCOMBOBOX(this, kLink).SetCurItem(0);
}

std::set<std::string> M_CARGO::IMPUESTOS_MARCADOS() const {
  std::set<std::string> out;
  if (IsDlgButtonChecked(kComposite)) return out;
  win::CLISTBOX taxes(const_cast<M_CARGO*>(this), kTaxes);
  for (int position : taxes.Selected()) out.insert(taxes.ItemCargo(position));
  return out;
}

// The checks of "Aceptar", in their order, each keeping the editor open with its message.
bool M_CARGO::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", CODE_ID);
  if (!FORM_.VALID()) return false;
  if (accountingOn(NEGOCIO) && !IsDlgButtonChecked(kComposite) && FORM_.text(kLink).empty())
    return REHUSA("Falta definir la liga contable..", kLink);
  if (IsDlgButtonChecked(kOnlyCurrency) && win::CCOMBOBOX(this, kCurrency).CurCargo().empty())
    return REHUSA("Debe seleccionar una moneda valida", kCurrency);
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO)) return REHUSA("Código Ya definido...", CODE_ID);
  if (IsDlgButtonChecked(kTotalize) && FORM_.text(kVirtual).empty())
    return REHUSA("Falta definir la Transacción", kVirtual);
  return true;
}

// What the form does not write by itself: the composite switch, the rounding, the serial
// counter (kept when none is chosen), the only currency, the attachments.
void M_CARGO::GRABA_EXTRAS(lib::WDBTable& t) const {
  t.FieldPut("SUB_TRAN", Value::num(IsDlgButtonChecked(kComposite) ? 1 : 0));
  const lib::Money rounding = IsDlgButtonChecked(kRoundHalf)  ? *lib::Money::parse("0.50")
                              : IsDlgButtonChecked(kRoundOne) ? lib::Money::units(1)
                                                              : lib::Money();
  t.FieldPut("REDONDEO", rounding);
  const std::string serial = win::CCOMBOBOX(const_cast<M_CARGO*>(this), kSerialCode).CurCargo();
  if (!IsDlgButtonChecked(kSerial))
    t.FieldPut("COD_SERIAL", Value::chars(""));
  else if (!serial.empty())
    t.FieldPut("COD_SERIAL", Value::chars(serial));
  const std::string currency = win::CCOMBOBOX(const_cast<M_CARGO*>(this), kCurrency).CurCargo();
  t.FieldPut("MONEDA3", Value::chars(IsDlgButtonChecked(kOnlyCurrency) ? currency : ""));
  t.FieldPut("ATTACH_COT", Value::chars(GetDlgItemText(kAttachments)));
}

// The working copies and the tax links, written back under the code as saved.
void M_CARGO::GRABA_DETALLES(const std::string& code) {
  GRABA_USUARIOS(NEGOCIO, code, *USUARIOS, IsDlgButtonChecked(kUserControl));
  GRABA_IMPUESTOS(NEGOCIO, code, IMPUESTOS_MARCADOS());
  GRABA_COMPONENTES(NEGOCIO, code, *COMPONENTES);
  GRABA_SUBTRANS(NEGOCIO, code, *SUBTRANS);
}

// A new code goes into the sub-group chosen in the tree.
bool M_CARGO::AGREGA(const std::string& code) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    REGISTRO->FieldPut("LINEA", Value::chars(CARGOS_->LINEA));
    REGISTRO->FieldPut("SUBLINEA", Value::chars(CARGOS_->SUBLINEA));
    FORM_.SAVE(REGISTRO);
    GRABA_EXTRAS(*REGISTRO);
  });
  const uint32_t saved = REGISTRO->RecNo();
  GRABA_DETALLES(code);
  REGISTRO->GoTo(saved);
  return true;
}

// A changed code is carried into the tables that name it first, under the progress window.
bool M_CARGO::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  if (old != code) {
    screens::CascadeReport report;
    {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
      report = RECODIFICA_CARGO(NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    screens::AVISA_FALTANTES(report);
  }
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] {
    FORM_.SAVE(REGISTRO);
    GRABA_EXTRAS(*REGISTRO);
  });
  GRABA_DETALLES(code);
  REGISTRO->GoTo(XRECNO);
  return true;
}

void M_CARGO::MUESTRA(win::WBLISTBOX& grid, bool added) {
  if (added) grid.nMaxRec += 1;
  grid.SHOWDATA();
  grid.REFRESHALL();
}

void M_CARGO::TOGGLE(lib::WDBTable& copy, win::WBLISTBOX& grid, const std::string& field) {
  if (copy.Eof() || grid.nMaxRec == 0) return;
  lib::MODIFY(copy, [&] { copy.FieldPut(field, Value::num(copy.N(field) == 1 ? 0 : 1)); });
  grid.REFRESHCURRENT();
}

// M_CARGO2: a component of the code, its share above 0 and up to 100.
void M_CARGO::AGREGA_COMPONENTE() {
  CALL_LEVEL();
  std::string component, description;
  lib::Money percentage, reference;
  const int answer = win::DIALOG_BOX(
      "M_CARGO2", this,
      {[&](win::ModalDialog& d) {
         loadCodes(*d.ADD(std::make_unique<win::CCOMBOBOX>(&d, 601)), NEGOCIO, CODIGO_GUARDADO());
         for (int id : {500, 501}) win::ONLYNUMBER(*d.ADD(std::make_unique<win::WEDIT>(&d, id)), "999.999");
       },
       [&](win::ModalDialog& d) {
         win::CCOMBOBOX codes(&d, 601);
         component = codes.CurCargo();
         description = descriptionOf(codes);
         percentage = typed(d, 500);
         reference = typed(d, 501);
         if (component.empty()) return refuse("Debe seleccionar una Transacción");
         if (percentage <= lib::Money()) return refuse("El porcentaje debe ser mayor a cero");
         if (percentage > lib::Money::units(100)) return refuse("El pocentaje no debe ser mayor a 100");
         return true;
       }});
  if (answer != win::IDOK) return;
  lib::ADD(*COMPONENTES, [&] {
    COMPONENTES->FieldPut("CODIGO", Value::chars(component));
    COMPONENTES->FieldPut("DESCRIP", Value::chars(description));
    COMPONENTES->FieldPut("PORCENTAJE", percentage);
    COMPONENTES->FieldPut("IMPONIBLE", reference);
    COMPONENTES->FieldPut("REGISTRO", Value::num(0));
  });
  MUESTRA(*OB_COMP, true);
}

void M_CARGO::BORRA_COMPONENTE() {
  CALL_LEVEL();
  if (COMPONENTES->Eof() || OB_COMP->nMaxRec == 0 || !screens::confirm("Desea borrar esta Transacción?")) return;
  lib::MODIFY(*COMPONENTES, [&] { COMPONENTES->Delete(); });
  COMPONENTES->Skip();
  OB_COMP->nMaxRec -= 1;
  MUESTRA(*OB_COMP, false);
}

// M_CARGO4 (dialog M_CARGO10): a fixed sub-transaction, its amount above 0.
void M_CARGO::AGREGA_SUBTRANS() {
  CALL_LEVEL();
  std::string sub, description;
  lib::Money amount, reference, base;
  const int answer = win::DIALOG_BOX(
      "M_CARGO10", this,
      {[&](win::ModalDialog& d) {
         loadCodes(*d.ADD(std::make_unique<win::CCOMBOBOX>(&d, 601)), NEGOCIO, CODIGO_GUARDADO());
         win::ONLYNUMBER(*d.ADD(std::make_unique<win::WEDIT>(&d, 500)), "99,999,999.9999");
         win::ONLYNUMBER(*d.ADD(std::make_unique<win::WEDIT>(&d, 501)), "999.9999");
         win::ONLYNUMBER(*d.ADD(std::make_unique<win::WEDIT>(&d, 502)), "99,999,999.9999");
       },
       [&](win::ModalDialog& d) {
         win::CCOMBOBOX codes(&d, 601);
         sub = codes.CurCargo();
         description = descriptionOf(codes);
         amount = typed(d, 500);
         reference = typed(d, 501);
         base = typed(d, 502);
         if (sub.empty()) return refuse("Debe seleccionar una Transacción");
         if (amount <= lib::Money()) return refuse("El monto debe ser mayor a cero");
         return true;
       }});
  if (answer != win::IDOK) return;
  lib::ADD(*SUBTRANS, [&] {
    SUBTRANS->FieldPut("SUB_TRANS", Value::chars(sub));
    SUBTRANS->FieldPut("DESCRIP", Value::chars(description));
    SUBTRANS->FieldPut("VALOR", amount);
    SUBTRANS->FieldPut("IMPONIBLE", reference);
    SUBTRANS->FieldPut("MONTO_BASE", base);
    SUBTRANS->FieldPut("NO_RESTAR", Value::num(0));
    SUBTRANS->FieldPut("REGISTRO", Value::num(0));
  });
  MUESTRA(*OB_SUB, true);
}

void M_CARGO::BORRA_SUBTRANS() {
  CALL_LEVEL();
  if (SUBTRANS->Eof() || OB_SUB->nMaxRec == 0 || !screens::confirm("¿Desea borrar esta Transacción?")) return;
  lib::MODIFY(*SUBTRANS, [&] { SUBTRANS->Delete(); });
  SUBTRANS->Skip();
  OB_SUB->nMaxRec -= 1;
  MUESTRA(*OB_SUB, false);
}

}  // namespace cashier
