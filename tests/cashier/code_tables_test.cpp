// The routines of the transaction codes on real tables: what a code's rules read, the
// write-back of the editor's working copies, the groups and their renames, the cascades of a
// changed or deleted code, the listing; and the demo hotel's set-up, derived as the posting
// programs would.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "cashier/cargo_copies.h"
#include "cashier/cargo_groups.h"
#include "cashier/code_references.h"
#include "cashier/code_rules.h"
#include "cashier/conversion.h"
#include "cashier/listado_cargos.h"
#include "lib/catalogue.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace {

using cashier::CodeRules;
using lib::Money;
using lib::Value;
using lib::WDBTable;

Money m(const char* text) {
  return *Money::parse(text);
}

// The definition of field `name` of the table.
xbase::FieldSpec fieldSpecOf(const WDBTable& t, const std::string& name) {
  for (const xbase::FieldSpec& f : t.DBStruct())
    if (f.name == name) return f;
  ADD_FAILURE() << "no field " << name;
  return {};
}

// A record appended to `table` with the fields given as name=value (numbers where the field
// is numeric).
void add(const std::string& table, std::vector<std::pair<std::string, std::string>> fields) {
  auto t = lib::USE(nullptr, table);
  lib::ADD(*t, [&] {
    for (const auto& [name, value] : fields) {
      const bool numeric = fieldSpecOf(*t, name).type == 'N';
      t->FieldPut(name, numeric ? Value::num(std::stod(value)) : Value::chars(value));
    }
  });
  lib::KILLTABLA(t);
}

size_t records(const std::string& table, const std::string& tag, const std::string& prefix,
             const std::function<bool(const WDBTable&)>& wanted = {}) {
  size_t n = 0;
  lib::EACH_RECORD(table, tag, prefix, [&](const WDBTable& t) { n += !wanted || wanted(t) ? 1 : 0; });
  return n;
}

// Field `name` of the first record whose key begins with `key`, as its text: a number with
// its field's decimals; "-" when there is no such record.
std::string field(const std::string& table, const std::string& tag, const std::string& key, const std::string& name) {
  std::string value = "-";
  lib::EACH_RECORD(table, tag, key, [&](const WDBTable& t) {
    if (value != "-") return;
    const xbase::FieldSpec f = fieldSpecOf(t, name);
    value = f.type == 'N' ? t.M(name).text(f.decimals) : lib::trim(t.S(name));
  });
  return value;
}

// Every catalogued table, empty, and a small hotel: tax types IVA 13 % (posted under IMPV)
// and ISH 10 % (ISER); a room code with IVA added, a minibar code with IVA included, a
// package of both.
class CodeTables : public testing::Test {
 protected:
  void SetUp() override {
    for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables()) {
      xbase::DbfTable::create(folder_.bases(t.name + ".DBF"), t.fields, t.tags);
      if (t.profileTemplate) xbase::DbfTable::create(folder_.profile(t.name + ".DBF"), t.fields, t.tags);
    }
    add("TIPO_IMP", {{"NEGOCIO", "01"}, {"CODIGO", "IVA"}, {"DESCRIP", "IVA"}, {"MONTO", "13"}, {"COD_TRANS", "IMPV"}});
    add("TIPO_IMP", {{"NEGOCIO", "01"}, {"CODIGO", "ISH"}, {"DESCRIP", "Servicio"}, {"MONTO", "10"}, {"COD_TRANS", "ISER"}});
    code("HOSP", "Hospedaje", false, {"IVA"});
    code("MINI", "Minibar", true, {"IVA"});
    code("ISER", "Impuesto de Servicio", false, {});
    add("TRANSACS", {{"NEGOCIO", "01"}, {"CODIGO", "PAQ"}, {"DESCRIP", "Paquete"}, {"SUB_TRAN", "1"}, {"LINEA", "02"},
                     {"SUBLINEA", "04"}});
    add("DET_TRAN", {{"NEGOCIO", "01"}, {"COD_TRAN", "PAQ"}, {"CODIGO", "HOSP"}, {"PORCENTAJE", "70"}});
    add("DET_TRAN", {{"NEGOCIO", "01"}, {"COD_TRAN", "PAQ"}, {"CODIGO", "ISER"}, {"PORCENTAJE", "30"}});
  }

  // A code of business "01" in group 01, sub-group 01, linked to every tax type, applying `taxes`.
  static void code(const std::string& c, const std::string& description, bool included, std::set<std::string> taxes) {
    add("TRANSACS", {{"NEGOCIO", "01"}, {"CODIGO", c}, {"DESCRIP", description}, {"IMP_INCLU", included ? "1" : "0"},
                     {"LINEA", "01"}, {"SUBLINEA", "01"}});
    cashier::GRABA_IMPUESTOS("01", c, taxes);
  }

  testing_support::ProgramFolder folder_;
};

TEST_F(CodeTables, ACodesRulesAreItsAppliedExistingTaxesAndAComponentsAreItsOwn) {
  std::optional<CodeRules> room = cashier::REGLAS_CARGO("01", "HOSP");
  ASSERT_TRUE(room);
  EXPECT_FALSE(room->included);
  ASSERT_EQ(room->taxes.size(), 1u);
  EXPECT_EQ(room->taxes[0].code, "IVA");
  EXPECT_EQ(room->taxes[0].rate, m("13"));
  EXPECT_EQ(room->taxes[0].postingCode, "IMPV");
  EXPECT_TRUE(cashier::REGLAS_CARGO("01", "MINI")->included);
  EXPECT_FALSE(cashier::REGLAS_CARGO("01", "NADA"));
  EXPECT_FALSE(cashier::REGLAS_CARGO("02", "HOSP"));

  std::optional<CodeRules> package = cashier::REGLAS_CARGO("01", "PAQ");
  ASSERT_TRUE(package && package->composite);
  ASSERT_EQ(package->components.size(), 2u);
  EXPECT_EQ(package->components[0].rules.code, "HOSP");
  EXPECT_EQ(package->components[0].percentage, m("70"));
  EXPECT_EQ(package->components[0].rules.taxes.size(), 1u);
  // ISER is the posting code of tax type ISH: an exempt folio does not post that share.
  EXPECT_EQ(package->components[1].postsTaxes, std::vector<std::string>{"ISH"});
  EXPECT_EQ(cashier::DERIVA_IMPUESTOS(*package, m("100"), Money::units(1), {"ISH"}).size(), 2u);  // HOSP + IMPV
}

TEST_F(CodeTables, TheTaxTotalCountsOnlyAppliedLinksToTaxTypesThatExist) {
  EXPECT_EQ(cashier::TOT_IMP("01", "HOSP"), m("13"));
  cashier::GRABA_IMPUESTOS("01", "HOSP", {"IVA", "ISH"});
  EXPECT_EQ(cashier::TOT_IMP("01", "HOSP"), m("23"));
  // A tax type added after the code: no link until the code is saved again.
  add("TIPO_IMP", {{"NEGOCIO", "01"}, {"CODIGO", "ICA"}, {"MONTO", "2.5"}, {"COD_TRANS", "IMPV"}});
  EXPECT_EQ(records("DET_IMP", "DET_IMP", "01HOSP"), 2u);
  EXPECT_EQ(cashier::TOT_IMP("01", "HOSP"), m("23"));
  cashier::GRABA_IMPUESTOS("01", "HOSP", {"IVA", "ISH", "ICA"});
  EXPECT_EQ(records("DET_IMP", "DET_IMP", "01HOSP"), 3u);  // one link per tax type, never two
  EXPECT_EQ(cashier::TOT_IMP("01", "HOSP"), m("25.5"));
  // A link to a tax type the business no longer has counts nothing.
  auto taxes = lib::USE(nullptr, "TIPO_IMP", "TIPO_IMP");
  ASSERT_TRUE(taxes->Seek("01ICA "));
  lib::MODIFY(*taxes, [&] { taxes->Delete(); });
  lib::KILLTABLA(taxes);
  EXPECT_EQ(cashier::TOT_IMP("01", "HOSP"), m("23"));
  EXPECT_EQ(cashier::IMPUESTOS_DEL_CARGO("01", "HOSP"), (std::set<std::string>{"ICA", "ISH", "IVA"}));
}

TEST_F(CodeTables, TheWorkingCopiesWriteBackOnlyWhatChanged) {
  auto copy = lib::USE(nullptr, "W_TRAN.TMP", "W_TRAN");
  cashier::COPIA_COMPONENTES("01", "PAQ", *copy);
  ASSERT_EQ(cashier::FILAS(*copy), 2u);
  copy->GoTop();  // HOSP: removed
  lib::MODIFY(*copy, [&] { copy->Delete(); });
  lib::ADD(*copy, [&] {
    copy->FieldPut("CODIGO", Value::chars("MINI"));
    copy->FieldPut("PORCENTAJE", m("10"));
  });
  EXPECT_EQ(cashier::FILAS(*copy), 2u);
  cashier::GRABA_COMPONENTES("01", "PAQ", *copy);
  lib::KILLTABLA(copy);
  EXPECT_EQ(field("DET_TRAN", "DET_TRAN", "01PAQ HOSP", "CODIGO"), "-");
  EXPECT_EQ(field("DET_TRAN", "DET_TRAN", "01PAQ MINI", "PORCENTAJE"), "10.000");
  EXPECT_EQ(field("DET_TRAN", "DET_TRAN", "01PAQ ISER", "PORCENTAJE"), "30.000");
  EXPECT_EQ(records("DET_TRAN", "DET_TRAN", "01PAQ "), 2u);
  EXPECT_TRUE(cashier::TIENE_COMPONENTES("01", "PAQ"));
  EXPECT_TRUE(cashier::ES_COMPONENTE("01", "MINI"));
  EXPECT_FALSE(cashier::ES_COMPONENTE("01", "HOSP"));

  add("USUARIOS", {{"NEGOCIO", "01"}, {"CODIGO", "1"}, {"NOMBRE", "ADMIN"}});
  add("USUARIOS", {{"NEGOCIO", "01"}, {"CODIGO", "2"}, {"NOMBRE", "CAJERA"}});
  add("DET_TRA2", {{"NEGOCIO", "01"}, {"COD_TRANS", "HOSP"}, {"COD_USER", "2"}, {"PERMITIDO", "1"}});
  auto users = lib::USE(nullptr, "W_TRA2.TMP", "W_TRA2");
  cashier::COPIA_USUARIOS("01", "HOSP", *users);
  ASSERT_EQ(cashier::FILAS(*users), 2u);
  users->GoTop();  // ADMIN, not stored yet: allowed now
  lib::MODIFY(*users, [&] { users->FieldPut("PERMITIDO", Value::num(1)); });
  cashier::GRABA_USUARIOS("01", "HOSP", *users, true);
  EXPECT_EQ(records("DET_TRA2", "DET_TRA2", "01HOSP"), 2u);  // the stored one rewritten, ADMIN appended
  EXPECT_EQ(field("DET_TRA2", "DET_TRA2", "01HOSP   1", "PERMITIDO"), "1");
  cashier::GRABA_USUARIOS("01", "HOSP", *users, false);
  EXPECT_EQ(records("DET_TRA2", "DET_TRA2", "01HOSP"), 0u);
  lib::KILLTABLA(users);
}

TEST_F(CodeTables, AGroupsRenameFollowsIntoItsSubgroupsAndCodesAndNoneWithCodesIsDeleted) {
  EXPECT_EQ(cashier::GUARDA_GRUPO("01", 0, "01", "Hospedaje"), "");
  EXPECT_EQ(cashier::GUARDA_GRUPO("01", 0, "01", "Otro"), "Éste código ya fue definido...");
  EXPECT_EQ(cashier::GUARDA_GRUPO("02", 0, "01", "Otro negocio"), "");
  EXPECT_EQ(cashier::GUARDA_SUBGRUPO("01", "01", 0, "01", "Habitaciones"), "");
  EXPECT_EQ(cashier::GUARDA_SUBGRUPO("01", "01", 0, "01", "Otra"), "Código Ya definido...");
  EXPECT_EQ(cashier::GUARDA_SUBGRUPO("01", "01", 0, "", "Sin código"), "Debe definir el Código");
  EXPECT_EQ(cashier::BORRA_GRUPO("01", "01"), "Este grupo todavía contiene cargos definidos");
  EXPECT_EQ(cashier::BORRA_SUBGRUPO("01", "01", "01"), "Este sub-grupo todavía contiene cargos definidos");
  // Renamed: group 01 becomes 05, its sub-group 01 becomes 09; HOSP and MINI follow.
  EXPECT_EQ(cashier::GUARDA_GRUPO("01", 1, "05", "Hospedaje"), "");
  EXPECT_EQ(field("DET_CARG", "DET_CARG", "0105", "CODIGO"), "01");
  EXPECT_EQ(cashier::GUARDA_SUBGRUPO("01", "05", 1, "09", "Habitaciones"), "");
  EXPECT_EQ(records("TRANSACS", "TRANSACS3", "010509"), 3u);
  EXPECT_EQ(field("ENC_CARG", "ENC_CARG", "0201", "DESCRIP"), "Otro negocio");
  // Emptied, the sub-group and then the group go.
  auto codes = lib::USE(nullptr, "TRANSACS", "TRANSACS3");
  std::vector<uint32_t> moved;
  codes->SetScope("010509");
  for (codes->GoTop(); !codes->Eof(); codes->Skip()) moved.push_back(codes->RecNo());
  lib::KILLTABLA(codes);
  for (uint32_t r : moved) cashier::MUEVE_CARGO(r, "03", "01");
  EXPECT_EQ(cashier::BORRA_SUBGRUPO("01", "05", "09"), "");
  EXPECT_EQ(cashier::BORRA_GRUPO("01", "05"), "");
  EXPECT_EQ(records("ENC_CARG", "ENC_CARG", "01"), 0u);
  EXPECT_EQ(records("TRANSACS", "TRANSACS3", "010301"), 3u);

  add("TRANSACS", {{"NEGOCIO", "02"}, {"CODIGO", "HOSP"}, {"READ_CLAVE", "1"}});
  auto t = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  ASSERT_TRUE(t->Seek("01MINI"));
  lib::MODIFY(*t, [&] { t->FieldPut("READ_CLAVE", Value::num(1)); });
  lib::KILLTABLA(t);
  EXPECT_EQ(cashier::ACTUALIZA_CLAVE("01", "SECRETO"), 1u);
  EXPECT_EQ(field("TRANSACS", "TRANSACS1", "01MINI", "CLAVE"), "SECRETO");
  EXPECT_EQ(field("TRANSACS", "TRANSACS1", "02HOSP", "CLAVE"), "");
}

TEST_F(CodeTables, ARecodedCodeLeavesNothingUnderItsFormerCodeAndADeletedOneTakesWhatIsItsOwn) {
  add("DET_INGR", {{"NEGOCIO", "01"}, {"ENCABEZADO", "HAB"}, {"CODIGO", "HOSP"}, {"TIPO", "1"}});
  add("DET_INGR", {{"NEGOCIO", "01"}, {"ENCABEZADO", "HAB"}, {"CODIGO", "HOSP"}, {"TIPO", "0"}});  // a concept
  add("DET_TRA3", {{"NEGOCIO", "01"}, {"COD_TRANS", "MINI"}, {"SUB_TRANS", "HOSP"}, {"VALOR", "5"}});
  add("T_PAGO", {{"NEGOCIO", "01"}, {"CODIGO", "CXC"}, {"COD_TRANS", "HOSP"}});
  add("DET_FOL", {{"NEGOCIO", "01"}, {"NUMERO", "1"}, {"COD_TRANS", "IMPV"}, {"COD_TRAN", "HOSP"}});
  screens::CascadeReport report = cashier::RECODIFICA_CARGO("01", "HOSP", "ROOM", nullptr);
  EXPECT_EQ(report.missing, (std::vector<std::string>{"HOT_ART"}));
  EXPECT_EQ(report.records("DET_IMP"), 2u);
  EXPECT_EQ(field("DET_TRAN", "DET_TRAN", "01PAQ ROOM", "PORCENTAJE"), "70.000");
  EXPECT_EQ(field("DET_TRA3", "DET_TRA3", "01MINIROOM", "VALOR"), "5.0000");
  EXPECT_EQ(field("T_PAGO", "T_PAGO", "01CXC", "COD_TRANS"), "ROOM");
  EXPECT_EQ(field("DET_FOL", "DET_FOL5", "01", "COD_TRAN"), "ROOM");
  EXPECT_EQ(field("DET_FOL", "DET_FOL5", "01", "COD_TRANS"), "IMPV");
  EXPECT_EQ(records("DET_INGR", "DET_INGR2", "011ROOM"), 1u);
  EXPECT_EQ(records("DET_INGR", "DET_INGR2", "010HOSP"), 1u);  // the billing concept keeps its code
  EXPECT_EQ(records("DET_IMP", "DET_IMP", "01HOSP"), 0u);

  report = cashier::BORRA_CARGO("01", "ROOM", nullptr);
  EXPECT_EQ(records("DET_TRAN", "DET_TRAN2", "01ROOM"), 0u);
  EXPECT_EQ(records("DET_IMP", "DET_IMP", "01ROOM"), 0u);
  EXPECT_EQ(records("DET_TRA3", "DET_TRA32", "01ROOM"), 0u);
  EXPECT_EQ(records("DET_INGR", "DET_INGR2", "011ROOM"), 0u);
  EXPECT_EQ(records("DET_TRAN", "DET_TRAN", "01PAQ "), 1u);  // the package keeps its other share
  EXPECT_EQ(field("DET_FOL", "DET_FOL5", "01", "COD_TRAN"), "ROOM");  // postings stay as posted
}

TEST_F(CodeTables, TheListingShowsEachCodesSideFlagsAndLinkOrComponents) {
  add("LIGAS", {{"NEGOCIO", "01"}, {"MODULO", "09"}, {"CODIGO", "HOSP"}, {"DESCRIP", "Huéspedes en Casa"}});
  auto t = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  ASSERT_TRUE(t->Seek("01HOSP"));
  lib::MODIFY(*t, [&] {
    t->FieldPut("LIGA", Value::chars("HOSP"));
    t->FieldPut("DOCUMEN", Value::num(1));
    t->FieldPut("RESERVA", Value::num(1));
  });
  ASSERT_TRUE(t->Seek("01MINI"));
  lib::MODIFY(*t, [&] { t->FieldPut("CREDITO", Value::num(1)); });
  lib::KILLTABLA(t);
  const std::vector<std::string> lines = cashier::LISTADO_TRANSACCIONES("01");
  ASSERT_EQ(lines.size(), 2u + 2 + 2 + 3 + 2);  // headings; HOSP, ISER, MINI with a link line; PAQ and two shares
  EXPECT_EQ(lines[2].substr(0, 4 + 1 + 40 + 3), "HOSP Hospedaje                                D ");
  // The flag columns: Doc first, Res last.
  EXPECT_EQ(lines[2].substr(48), "  S                               S");
  EXPECT_EQ(lines[3], "     Liga: HOSP Huéspedes en Casa                        D");
  EXPECT_EQ(lines[6].substr(45, 2), " C");
  EXPECT_EQ(lines[8].substr(0, 12), "PAQ  Paquete");
  EXPECT_EQ(lines[9].substr(0, 50), "     HOSP Hospedaje                       70.0000 ");
  EXPECT_EQ(lines[10].substr(0, 49), "     ISER Impuesto de Servicio            30.0000");
}

// The demo hotel as configura-initdb --demo makes it.
class DemoCodes : public testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder_.path() + "' --force --demo 2>&1",
                                          &out),
              0)
        << out;
  }
  testing_support::ProgramFolder folder_;
};

// Every code of both business units derives lines under codes that exist, that add up as
// the rule says; every payment form and tax type posts under a code that exists; every
// simple code has the accounting link the hotel's parameters ask for.
TEST_F(DemoCodes, EveryCodePostsUnderCodesThatExistAndCarriesItsLink) {
  for (const std::string business : {"01", "02"}) {
    SCOPED_TRACE(business);
    std::set<std::string> codes;
    lib::EACH_RECORD("TRANSACS", "TRANSACS1", business, [&](const WDBTable& t) { codes.insert(lib::trim(t.S("CODIGO"))); });
    EXPECT_GE(codes.size(), 20u);
    for (const std::string& code : codes) {
      SCOPED_TRACE(code);
      std::optional<CodeRules> rules = cashier::REGLAS_CARGO(business, code);
      ASSERT_TRUE(rules);
      EXPECT_EQ(records("DET_IMP", "DET_IMP", business + lib::padded(code, 4)), 3u);
      if (!rules->composite) {
        EXPECT_NE(field("TRANSACS", "TRANSACS1", business + lib::padded(code, 4), "LIGA"), "");
      }
      const std::vector<cashier::TaxLine> lines = cashier::DERIVA_IMPUESTOS(*rules, m("1234.56"));
      Money total;
      for (const cashier::TaxLine& l : lines) {
        EXPECT_TRUE(codes.count(l.code)) << l.code;
        total += l.amount;
      }
      if (rules->included || (!rules->composite && rules->taxes.empty())) {
        EXPECT_EQ(total, m("1234.56"));
      }
    }
    lib::EACH_RECORD("T_PAGO", "T_PAGO", business,
                     [&](const WDBTable& t) { EXPECT_TRUE(codes.count(lib::trim(t.S("COD_TRANS")))) << t.S("CODIGO"); });
    lib::EACH_RECORD("TIPO_IMP", "TIPO_IMP", business,
                     [&](const WDBTable& t) { EXPECT_TRUE(codes.count(lib::trim(t.S("COD_TRANS")))) << t.S("CODIGO"); });
  }
  // The money exchange takes the other currency in and gives the accounting one out; the
  // demo's rates price it on every day of their year, directly in the city hotel and through
  // the reverse of its pair in the beach hotel.
  const int32_t day = xbase::julianFromYmd(2026, 6, 30);
  for (const auto& [business, received, source] :
       {std::tuple{"01", "02", lib::ExchangeFactor::Source::Direct}, {"02", "01", lib::ExchangeFactor::Source::Reverse}}) {
    SCOPED_TRACE(business);
    const std::string key = std::string(business) + "MREC";
    EXPECT_EQ(field("TRANSACS", "TRANSACS1", key, "MONEDA_1"), received);
    EXPECT_EQ(field("TRANSACS", "TRANSACS1", key, "MONEDA_2"), cashier::MONEDA_CONTABLE(business));
    for (const char* transaction : {"TRANS_1", "TRANS_2", "TRANS_3"})
      EXPECT_EQ(records("TRANSACS", "TRANSACS1", business + lib::padded(field("TRANSACS", "TRANSACS1", key, transaction), 4)), 1u);
    const lib::ExchangeFactor f = cashier::FACTOR_CAMBIO(business, received, day, 1);
    EXPECT_EQ(f.source, source);
    EXPECT_EQ(f.fecha, day);
    EXPECT_FALSE(f.factor().isZero());
    EXPECT_EQ(cashier::FACTOR_CAMBIO(business, cashier::MONEDA_CONTABLE(business), day, 1).factor(), m("1"));
    EXPECT_EQ(cashier::FACTOR_CAMBIO(business, received, xbase::julianFromYmd(2025, 12, 15), 1).source,
              lib::ExchangeFactor::Source::None);
  }
  // The package: 30 % food (13 % and 10 % added) and 70 % room (13 % added), in the order of
  // the components' codes.
  std::optional<CodeRules> package = cashier::REGLAS_CARGO("01", "PAQT");
  ASSERT_TRUE(package && package->composite);
  std::vector<std::string> posted;
  for (const cashier::TaxLine& l : cashier::DERIVA_IMPUESTOS(*package, m("100")))
    posted.push_back(l.code + " " + l.amount.text());
  EXPECT_EQ(posted, (std::vector<std::string>{"ALIM 30.00", "ISER 3.00", "IMPV 3.90", "HOSP 70.00", "IMPV 9.10"}));
}

}  // namespace
