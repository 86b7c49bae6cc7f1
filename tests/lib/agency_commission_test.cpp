// Which commission schedule applies to an agency's night, and in which currency its folios
// open: the agency's regular schedule, an exception of the rack winning inside its window,
// windows across the new year and on 29 February, the narrowest of two windows, another
// rack's or another business's exceptions ignored; the folio currency by business, agency
// and agency type.
#include <gtest/gtest.h>

#include "lib/agency_commission.h"
#include "lib/catalogue.h"
#include "lib/folio_currency.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ProgramFolder;

namespace {

Money m(const char* text) {
  return Money::parse(text).value();
}

int32_t day(int d, int mo, int y) {
  return xbase::julianFromYmd(y, mo, d);
}

class Agencies : public ::testing::Test {
 protected:
  Agencies() {
    for (const char* name : {"AGENCIAS", "DET_AGE3", "TIPO_AGE", "NEGOCIOS"}) {
      const CatalogueTable* t = Catalogue::builtIn().find(name);
      xbase::DbfTable::create(p.bases(std::string(name) + ".DBF"), t->fields, t->tags);
    }
  }

  void append(const char* table, const std::function<void(WDBTable&)>& fill) {
    auto t = USE(nullptr, table, table);
    ADD(*t, [&] { fill(*t); });
  }

  // An agency whose regular lodging commission is `lodging`, type 2 at 3 %.
  void agency(const std::string& negocio, const std::string& code, const char* lodging, int tipoMon = 0,
              const std::string& type = "", const std::string& master = "", const std::string& extra = "") {
    append("AGENCIAS", [&](WDBTable& t) {
      t.FieldPut("NEGOCIO", Value::chars(negocio));
      t.FieldPut("CODIGO", Value::chars(code));
      t.FieldPut("A_COMIS", m(lodging));
      t.FieldPut("C_COMIS2", Value::num(1));
      t.FieldPut("P_COMIS2", m("3"));
      t.FieldPut("TIPO_MON", Value::num(tipoMon));
      t.FieldPut("TIPO", Value::chars(type));
      t.FieldPut("MON_MASTER", Value::chars(master));
      t.FieldPut("MON_EXTRA", Value::chars(extra));
    });
  }

  void exception(const std::string& negocio, const std::string& code, const std::string& rack, const ExceptionWindow& w,
                 const char* lodging) {
    append("DET_AGE3", [&](WDBTable& t) {
      t.FieldPut("NEGOCIO", Value::chars(negocio));
      t.FieldPut("AGENCIA", Value::chars(code));
      ExceptionWindow window = w;
      window.rack = rack;
      window.write(t);
      CommissionSchedule s;
      s.lodging = m(lodging);
      s.lowerAdults = true;
      s.write(t);
    });
  }

  Money lodgingOn(const std::string& rack, int32_t night, const std::string& negocio = "01") {
    std::optional<AppliedCommission> applied = COMISION_AGENCIA(negocio, "VIAJESOL", rack, night);
    EXPECT_TRUE(applied.has_value());
    return applied ? applied->schedule.lodging : Money();
  }

  ProgramFolder p;
};

TEST_F(Agencies, AnExceptionOfTheRackWinsInsideItsWindowAndTheRegularScheduleElsewhere) {
  agency("01", "VIAJESOL", "10");
  exception("01", "VIAJESOL", "MAYO", {"", "01", "07", "31", "08"}, "15");
  exception("01", "VIAJESOL", "CORP", {"", "01", "01", "31", "12"}, "2");
  exception("02", "VIAJESOL", "MAYO", {"", "01", "01", "31", "12"}, "40");

  EXPECT_EQ(lodgingOn("MAYO", day(30, 6, 2026)), m("10"));
  EXPECT_EQ(lodgingOn("MAYO", day(1, 7, 2026)), m("15"));  // both ends of the window belong to it
  EXPECT_EQ(lodgingOn("MAYO", day(31, 8, 2026)), m("15"));
  EXPECT_EQ(lodgingOn("MAYO", day(1, 9, 2026)), m("10"));
  EXPECT_EQ(lodgingOn("WEB", day(15, 7, 2026)), m("10"));  // another rack has no exception
  EXPECT_EQ(lodgingOn("CORP", day(15, 7, 2026)), m("2"));

  std::optional<AppliedCommission> regular = COMISION_AGENCIA("01", "VIAJESOL", "MAYO", day(1, 3, 2026));
  ASSERT_TRUE(regular);
  EXPECT_FALSE(regular->exception);
  EXPECT_TRUE(regular->schedule.applies[1]);
  EXPECT_EQ(regular->schedule.percentage[1], m("3"));
  std::optional<AppliedCommission> won = COMISION_AGENCIA("01", "VIAJESOL", "MAYO", day(1, 8, 2026));
  ASSERT_TRUE(won && won->exception);
  EXPECT_EQ(won->exception->monthFrom, "07");
  EXPECT_TRUE(won->schedule.lowerAdults);
  EXPECT_FALSE(won->schedule.applies[1]);  // the exception's schedule, whole, not merged

  EXPECT_FALSE(COMISION_AGENCIA("01", "NOEXISTE", "MAYO", day(1, 8, 2026)));
  EXPECT_FALSE(COMISION_AGENCIA("03", "VIAJESOL", "MAYO", day(1, 8, 2026)));
}

TEST_F(Agencies, WindowsAcrossTheNewYearThe29thOfFebruaryAndTheNarrowestWindow) {
  agency("01", "VIAJESOL", "10");
  exception("01", "VIAJESOL", "MAYO", {"", "20", "12", "10", "01"}, "20");  // Christmas and New Year
  exception("01", "VIAJESOL", "MAYO", {"", "30", "12", "01", "01"}, "25");  // inside it, narrower
  exception("01", "VIAJESOL", "WEB", {"", "29", "02", "29", "02"}, "30");
  exception("01", "VIAJESOL", "CORP", {"", "31", "02", "15", "03"}, "35");  // no such day: holds no night

  EXPECT_EQ(lodgingOn("MAYO", day(19, 12, 2026)), m("10"));
  EXPECT_EQ(lodgingOn("MAYO", day(20, 12, 2026)), m("20"));
  EXPECT_EQ(lodgingOn("MAYO", day(30, 12, 2026)), m("25"));
  EXPECT_EQ(lodgingOn("MAYO", day(1, 1, 2027)), m("25"));
  EXPECT_EQ(lodgingOn("MAYO", day(2, 1, 2027)), m("20"));
  EXPECT_EQ(lodgingOn("MAYO", day(10, 1, 2027)), m("20"));
  EXPECT_EQ(lodgingOn("MAYO", day(11, 1, 2027)), m("10"));
  EXPECT_EQ(lodgingOn("WEB", day(29, 2, 2028)), m("30"));
  EXPECT_EQ(lodgingOn("WEB", day(28, 2, 2027)), m("10"));
  EXPECT_EQ(lodgingOn("CORP", day(10, 3, 2027)), m("10"));

  EXPECT_EQ((ExceptionWindow{"", "20", "12", "10", "01"}.length()), 22);
  EXPECT_EQ((ExceptionWindow{"", "01", "01", "31", "12"}.length()), 366);
  EXPECT_EQ((ExceptionWindow{"", "1", "3", "", "3"}.length()), 0);
}

TEST_F(Agencies, FolioCurrencyByBusinessAgencyAndAgencyType) {
  auto business = [&](const std::string& code, int monFol) {
    append("NEGOCIOS", [&](WDBTable& t) {
      t.FieldPut("CODIGO", Value::chars(code));
      t.FieldPut("MONEDA_CON", Value::chars("01"));
      t.FieldPut("MON_FOL", Value::num(monFol));
    });
  };
  auto type = [&](const std::string& code, int tipoMon, const std::string& master, const std::string& extra) {
    append("TIPO_AGE", [&](WDBTable& t) {
      t.FieldPut("NEGOCIO", Value::chars("01"));
      t.FieldPut("CODIGO", Value::chars(code));
      t.FieldPut("TIPO_MON", Value::num(tipoMon));
      t.FieldPut("MON_MASTER", Value::chars(master));
      t.FieldPut("MON_EXTRA", Value::chars(extra));
    });
  };
  business("01", 1);
  business("02", 0);
  type("MAY", 1, "02", "03");
  type("DIR", 0, "02", "03");
  type("VAC", 1, "", "");
  agency("01", "ACCOUNT", "0", 0, "MAY", "05", "06");
  agency("01", "BYTYPE", "0", 1, "MAY", "05", "06");
  agency("01", "TYPENONE", "0", 1, "DIR", "05", "06");
  agency("01", "TYPEEMPTY", "0", 1, "VAC", "05", "06");
  agency("01", "NOTYPE", "0", 1, "XXX", "05", "06");
  agency("01", "OWN", "0", 2, "MAY", "05", "06");
  agency("02", "OWN", "0", 2, "MAY", "05", "06");

  using F = Folio;
  EXPECT_EQ(MONEDA_FOLIO("01", "ACCOUNT", F::Master), "01");
  EXPECT_EQ(MONEDA_FOLIO("01", "BYTYPE", F::Master), "02");
  EXPECT_EQ(MONEDA_FOLIO("01", "BYTYPE", F::Extra), "03");
  EXPECT_EQ(MONEDA_FOLIO("01", "TYPENONE", F::Master), "01");  // a type that keeps none
  EXPECT_EQ(MONEDA_FOLIO("01", "TYPEEMPTY", F::Master), "");   // kept empty, as the type has them
  EXPECT_EQ(MONEDA_FOLIO("01", "NOTYPE", F::Extra), "01");
  EXPECT_EQ(MONEDA_FOLIO("01", "OWN", F::Master), "05");
  EXPECT_EQ(MONEDA_FOLIO("01", "OWN", F::Extra), "06");
  EXPECT_EQ(MONEDA_FOLIO("02", "OWN", F::Extra), "01");  // business 02 keeps no folio currencies
  EXPECT_EQ(MONEDA_FOLIO("01", "MISSING", F::Extra), "01");
}

}  // namespace
