#include "tools/demo_cashier.h"

#include <string>
#include <vector>

#include "tools/demo_data.h"
#include "xbase/dbf_table.h"

namespace initdb {

namespace {

using xbase::DbfTable;

std::string pad(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

// The record of `key` on `tag`, reused when another part of the demo wrote it already (the
// parameters' codes, payment forms and tax types), else appended with `fields` set.
void recordFor(DbfTable& t, const char* tag, const std::string& key) {
  t.setOrder(tag);
  if (!t.seek(key)) t.append();
}

struct Group {
  const char *code, *description;
  std::vector<std::pair<const char*, const char*>> subgroups;
};

// Groups and sub-groups of a hotel's transaction codes.
const std::vector<Group> kGroups = {
    {"01", "Hospedaje", {{"01", "Habitaciones"}, {"02", "Cargos por Reserva"}}},
    {"02", "Alimentos y Bebidas", {{"01", "Restaurante"}, {"02", "Bar"}, {"03", "Minibar"}, {"04", "Paquetes"}}},
    {"03", "Servicios", {{"01", "Teléfono"}, {"02", "Lavandería"}}},
    {"04", "Impuestos", {{"01", "Impuestos de Ley"}}},
    {"05", "Pagos", {{"01", "Efectivo"}, {"02", "Tarjetas"}, {"03", "Transferencias y Crédito"}, {"04", "Depósitos"}}},
    {"06", "Caja", {{"01", "Operaciones de Caja"}, {"02", "Ajustes"}}},
};

struct Code {
  const char *code, *description, *group, *subgroup, *link;
  bool credit, included;
  std::vector<const char*> taxes;       // tax types applied
  std::vector<const char*> flags = {};  // behaviour flags set
  const char* virtualCode = "";
  const char* classification = "";
  int billingClass = 0, kind = 0, reportGroup = 0;
};

// Charges (with their taxes: 13 % sales tax, 10 % service on food and beverage), the tax
// codes, payments, deposits and the cash-register operations. Rooms and food are priced
// before taxes; the minibar and the laundry list prices with their tax included.
const std::vector<Code> kCodes = {
    {"HOSP", "Hospedaje", "01", "01", "HOSP", false, false, {"IVA"}, {"RESERVA2", "COMISION", "IMPRIMIR"}, "HOSP", "01", 0, 0, 1},
    {"NOSH", "Cargo por No Show", "01", "02", "HOSP", false, false, {"IVA"}, {"RESERVA", "RESERVA2"}, "HOSP", "01", 0, 0, 1},
    {"ALIM", "Alimentos Restaurante", "02", "01", "VENT", false, false, {"IVA", "ISH"}, {"DOCUMEN", "IMPRIMIR"}, "AYB", "02", 0, 0, 2},
    {"BEBI", "Bebidas Bar", "02", "02", "VENT", false, false, {"IVA", "ISH"}, {"DOCUMEN", "IMPRIMIR"}, "AYB", "02", 0, 0, 2},
    {"MINI", "Consumo de Minibar", "02", "03", "VENT", false, true, {"IVA"}, {"DET_ARTIC"}, "AYB", "02", 0, 0, 2},
    {"TELE", "Llamadas Telefónicas", "03", "01", "SERV", false, false, {"IVA"}, {}, "OTRS", "03", 0, 0, 3},
    {"LAVA", "Lavandería", "03", "02", "SERV", false, true, {"IVA"}, {"COMENTA"}, "OTRS", "03", 0, 0, 3},
    {"IMPV", "Impuesto al Valor Agregado", "04", "01", "IMPU", false, false, {}, {"NO_P_CERO"}},
    {"ISER", "Impuesto de Servicio", "04", "01", "IMPU", false, false, {}, {"NO_P_CERO"}},
    {"EFEC", "Pago en Efectivo", "05", "01", "CAJA", true, false, {}, {"PIDE_CAJA", "DEPOSITA", "IMPRIMIR"}, "", "04", 1},
    {"TARJ", "Pago con Tarjeta", "05", "02", "BANC", true, false, {}, {"ES_TARJETA", "DEPOSITA", "DOCUMEN", "LEER_VENCE"}, "", "04", 2},
    {"TRAN", "Transferencia Bancaria", "05", "03", "BANC", true, false, {}, {"DOCUMEN", "DEPOSITA"}, "", "04", 0},
    {"CXCP", "Cargo a Cuenta por Cobrar", "05", "03", "CXC", true, false, {}, {"CXC", "AGENTE"}, "", "04", 3},
    {"DEPO", "Depósito Recibido", "05", "04", "DEPO", true, false, {}, {"RESERVA", "PIDE_CAJA", "DEPOSITA", "IMPRIMIR"}, "", "04", 4},
    {"DEPA", "Aplicación de Depósito", "05", "04", "DEPO", true, false, {}, {"NO_CIERRE"}, "", "04", 4},
    {"MREC", "Moneda Recibida", "06", "01", "CAJA", true, false, {}, {"PIDE_CAJA", "NO_VUELTO"}, "", "", 0, 1},
    {"VUEL", "Vuelto", "06", "01", "CAJA", false, false, {}, {"PIDE_CAJA"}, "", "", 0, 1},
    {"ENTR", "Entrega de Dinero", "06", "01", "CAJA", false, false, {}, {"PIDE_CAJA"}, "", "", 0, 2},
    {"SOBR", "Sobrante de Caja", "06", "02", "CAJA", true, false, {}, {"NO_CIERRE"}, "", "", 5},
    {"FALT", "Faltante de Caja", "06", "02", "CAJA", false, false, {}, {"NO_CIERRE"}, "", "", 5},
    {"AJUS", "Ajuste Saldo Menor", "06", "02", "HOSP", true, false, {}, {"NEGATIVOS", "PASSW_NEG"}, "", "", 0},
    {"AJCX", "Ajuste Cuentas por Cobrar", "06", "02", "CXC", true, false, {}, {"CXC", "NEGATIVOS"}, "", "", 6},
};

// The half-board package: the room and the food, each with its own taxes.
const char* kPackage = "PAQT";

struct TaxType {
  const char *code, *abbreviation, *description;
  double rate;
  const char* posting;
};
const std::vector<TaxType> kTaxes = {
    {"IVA", "IVA", "Impuesto al Valor Agregado 13%", 13, "IMPV"},
    {"ISH", "SERV", "Impuesto de Servicio 10%", 10, "ISER"},
    {"EXE", "EXENTO", "Exento", 0, "IMPV"},
};

void addTree(const std::string& home, const std::string& business) {
  auto groups = openTable(home, "ENC_CARG");
  auto subgroups = openTable(home, "DET_CARG");
  for (const Group& g : kGroups) {
    recordFor(*groups, "ENC_CARG", business + g.code);
    groups->putString("NEGOCIO", business);
    groups->putString("CODIGO", g.code);
    groups->putString("DESCRIP", g.description);
    for (const auto& [code, description] : g.subgroups) {
      recordFor(*subgroups, "DET_CARG", business + g.code + code);
      subgroups->putString("NEGOCIO", business);
      subgroups->putString("LINEA", g.code);
      subgroups->putString("CODIGO", code);
      subgroups->putString("DESCRIP", description);
    }
  }
}

void addCodes(const std::string& home, const std::string& business) {
  auto codes = openTable(home, "TRANSACS");
  auto links = openTable(home, "DET_IMP");
  auto fill = [&](const Code& c, bool composite) {
    recordFor(*codes, "TRANSACS1", business + pad(c.code, 4));
    codes->putString("NEGOCIO", business);
    codes->putString("CODIGO", c.code);
    codes->putString("DESCRIP", c.description);
    codes->putString("LINEA", c.group);
    codes->putString("SUBLINEA", c.subgroup);
    codes->putString("LIGA", c.link);
    codes->putNumber("CREDITO", c.credit);
    codes->putNumber("IMP_INCLU", c.included);
    codes->putNumber("SUB_TRAN", composite);
    codes->putNumber("COPIAS", 1);
    codes->putNumber("TRANS_CAMB", 1);
    codes->putNumber("TIPO_PROC", c.kind);
    codes->putNumber("CLAS_REP", c.billingClass);
    codes->putNumber("TIPO_GRUPO", c.reportGroup);
    codes->putString("CLASIFICA", c.classification);
    codes->putNumber("SI_COD_VIR", *c.virtualCode ? 1 : 0);
    codes->putString("COD_VIRT", c.virtualCode);
    for (const char* flag : c.flags) codes->putNumber(flag, 1);
    for (const TaxType& tax : kTaxes) {
      recordFor(*links, "DET_IMP", business + pad(c.code, 4) + pad(tax.code, 4));
      links->putString("NEGOCIO", business);
      links->putString("COD_TRANS", c.code);
      links->putString("COD_IMP", tax.code);
      bool applied = false;
      for (const char* t : c.taxes) applied = applied || std::string(t) == tax.code;
      links->putNumber("CHECK1", applied);
    }
  };
  for (const Code& c : kCodes) fill(c, false);
  fill({kPackage, "Paquete Media Pensión", "02", "04", "", false, false, {}, {"ES_PAQUETE"}, "HOSP", "01", 0, 0, 1},
       true);
  auto parts = openTable(home, "DET_TRAN");
  for (const auto& [component, percentage] : std::vector<std::pair<const char*, double>>{{"HOSP", 70}, {"ALIM", 30}}) {
    recordFor(*parts, "DET_TRAN", business + pad(kPackage, 4) + pad(component, 4));
    parts->putString("NEGOCIO", business);
    parts->putString("COD_TRAN", kPackage);
    parts->putString("CODIGO", component);
    parts->putNumber("PORCENTAJE", percentage);
    parts->putNumber("IMPONIBLE", 100);
  }
}

void addTaxes(const std::string& home, const std::string& business) {
  auto taxes = openTable(home, "TIPO_IMP");
  for (const TaxType& t : kTaxes) {
    recordFor(*taxes, "TIPO_IMP", business + pad(t.code, 4));
    taxes->putString("NEGOCIO", business);
    taxes->putString("CODIGO", t.code);
    taxes->putString("ABREVIA", t.abbreviation);
    taxes->putString("DESCRIP", t.description);
    taxes->putNumber("MONTO", t.rate);
    taxes->putString("COD_TRANS", t.posting);
  }
}

void addLists(const std::string& home, const std::string& business) {
  auto links = openTable(home, "LIGAS");
  const std::vector<std::pair<const char*, const char*>> accounting = {
      {"VENT", "Ventas Alimentos y Bebidas"}, {"SERV", "Servicios a Huéspedes"}, {"IMPU", "Impuestos por Pagar"},
      {"CAJA", "Caja General"},             {"BANC", "Bancos"},                {"CXC", "Cuentas por Cobrar"}};
  for (const auto& [code, description] : accounting) {
    recordFor(*links, "LIGAS", business + pad("09", 10) + pad(code, 4));
    links->putString("NEGOCIO", business);
    links->putString("MODULO", "09");
    links->putString("CODIGO", code);
    links->putString("DESCRIP", description);
  }
  auto simple = [&](const char* table, const std::vector<std::pair<const char*, const char*>>& entries, size_t width,
                    const char* codeField = "CODIGO") {
    auto t = openTable(home, table);
    for (const auto& [code, description] : entries) {
      recordFor(*t, table, business + pad(code, width));
      t->putString("NEGOCIO", business);
      t->putString(codeField, code);
      t->putString("DESCRIP", description);
    }
    return t;
  };
  simple("TRA_VIRT", {{"HOSP", "Hospedaje"}, {"AYB", "Alimentos y Bebidas"}, {"OTRS", "Otros Ingresos"}}, 4);
  auto classes = simple("CLAS_TRA",
                        {{"01", "Hospedaje"}, {"02", "Alimentos y Bebidas"}, {"03", "Otros Ingresos"}, {"04", "Pagos"}}, 2);
  for (classes->goTop(); !classes->eof(); classes->skip())
    if (classes->getString("NEGOCIO").substr(0, 2) == business)
      classes->putNumber("POS_IMP", classes->getString("CODIGO").substr(0, 2) == "04" ? 1 : 0);
  simple("CONCEPT1",
         {{"HOSP", "Hospedaje"}, {"AYB", "Alimentos y Bebidas"}, {"SERV", "Servicios"}, {"OTRO", "Otros Ingresos"}}, 4,
         "CONCEPTO");
  simple("ENC_INGR", {{"HAB", "Ingresos por Habitaciones"}, {"AYB", "Ingresos de Alimentos y Bebidas"}}, 4);
  auto members = openTable(home, "DET_INGR");
  const struct {
    const char *group, *code;
    int kind;
  } memberships[] = {{"HAB", "HOSP", 0}, {"HAB", "HOSP", 1}, {"HAB", "NOSH", 1}, {"AYB", "AYB", 0},
                     {"AYB", "ALIM", 1}, {"AYB", "BEBI", 1}, {"AYB", "MINI", 1}};
  for (const auto& m : memberships) {
    recordFor(*members, "DET_INGR", business + pad(m.group, 4) + std::to_string(m.kind) + pad(m.code, 15));
    members->putString("NEGOCIO", business);
    members->putString("ENCABEZADO", m.group);
    members->putString("CODIGO", m.code);
    members->putNumber("TIPO", m.kind);
  }
}

// The payment forms: the parameters' cash, card and receivables with their codes, and a
// transfer and a deposit.
void addPaymentForms(const std::string& home, const std::string& business) {
  auto forms = openTable(home, "T_PAGO");
  const struct {
    const char *code, *description, *transaction;
    std::vector<const char*> flags;
    int minimum;
    const char* billing;
  } entries[] = {
      {"EFE", "Efectivo", "EFEC", {"MONTO", "LEE_VUELTO", "INGRESO"}, 0, ""},
      {"TAR", "Tarjeta de Crédito", "TARJ", {"P_TARJETA", "MONTO", "N_DOC", "T_VALIDAR", "FECHA", "INGRESO"}, 4, ""},
      {"CXC", "Cuenta por Cobrar", "CXCP", {"MONTO", "N_DOC", "CXC"}, 0, "HOSP"},
      {"TRF", "Transferencia Bancaria", "TRAN", {"MONTO", "N_DOC", "T_VALIDAR"}, 6, ""},
      {"DEP", "Depósito de Reservación", "DEPO", {"MONTO", "N_DOC", "DEPOSITO", "DEP_FECHA", "INGRESO"}, 0, ""},
  };
  for (const auto& e : entries) {
    recordFor(*forms, "T_PAGO", business + pad(e.code, 4));
    forms->putString("NEGOCIO", business);
    forms->putString("CODIGO", e.code);
    forms->putString("DESCRIP", e.description);
    forms->putString("COD_TRANS", e.transaction);
    forms->putString("CONCEPTO", e.billing);
    for (const char* flag : e.flags) forms->putNumber(flag, 1);
    forms->putNumber("N_CARACT", e.minimum);
  }
}

// The money exchange of the cash register: the guest hands in the other currency (posted
// under MREC at the code's rate slot 1, the buying rate) and receives the accounting one
// (under VUEL); what the exchange rounds off goes to AJUS.
void addMoneyExchange(const std::string& home, const std::string& business, const char* received,
                      const char* delivered) {
  auto codes = openTable(home, "TRANSACS");
  recordFor(*codes, "TRANSACS1", business + pad("MREC", 4));
  codes->putString("MONEDA_1", received);
  codes->putString("TRANS_1", "MREC");
  codes->putString("MONEDA_2", delivered);
  codes->putString("TRANS_2", "VUEL");
  codes->putString("TRANS_3", "AJUS");
}

}  // namespace

void addCashierDemo(const std::string& home) {
  for (const std::string business : {"01", "02"}) {
    addLists(home, business);
    addTaxes(home, business);
    addTree(home, business);
    addCodes(home, business);
    addPaymentForms(home, business);
  }
  // The city hotel keeps its accounts in colones and changes dollars; the beach hotel keeps
  // them in dollars and changes colones (the currencies' demo).
  addMoneyExchange(home, "01", "02", "01");
  addMoneyExchange(home, "02", "01", "02");
}

}  // namespace initdb
