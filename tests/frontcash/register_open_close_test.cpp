// Opening and closing front-desk registers on the demo hotel (01 open with a count, 02 and
// 03 closed): passwords compared on ten characters exactly; a register opened once only,
// even by two stations that both saw it closed; a close stamping the period; the station's
// register state repaired when the register was closed elsewhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontcash/cash_count.h"
#include "frontcash/folio_posting.h"
#include "frontcash/register_open_close.h"
#include "frontcash/station_register.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/record_walks.h"
#include "lib/text.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"
#include "xbase/date.h"
#include "xbase/error.h"

namespace {

using lib::Value;

int32_t day(int y, int m, int d) {
  return xbase::julianFromYmd(y, m, d);
}

std::string field(const std::string& table, const std::string& tag, const std::string& key, const std::string& name) {
  std::string value = "-";
  lib::EACH_RECORD(table, tag, key, [&](const lib::WDBTable& r) {
    if (value == "-") value = r.S(name);
  });
  return value;
}

size_t periodsOf(const std::string& caja) {
  size_t n = 0;
  lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ", "01" + lib::padded(caja, 2), [&](const lib::WDBTable&) { ++n; });
  return n;
}

void setState(const std::string& caja, const std::string& state) {
  auto t = lib::USE(nullptr, "ENC_HCAJ", "ENC_HCAJ");
  ASSERT_TRUE(t->Seek("01" + lib::padded(caja, 2)));
  lib::MODIFY(*t, [&] { t->FieldPut("ESTADO", Value::chars(state)); });
  lib::KILLTABLA(t);
}

class RegisterOpenClose : public testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    ASSERT_EQ(
        testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder_.path() + "' --force --demo 2>&1", &out),
        0)
        << out;
    lib::G().XUSER_ABREVIA = "ADM";
    lib::G().computerName = [] { return std::string("RECEPCION2"); };
    lib::G().windowsUser = [] { return std::string("ana"); };
    frontcash::LIBERA_CAJA();
    frontcash::toolbarRegisterButton() = [this](int open) { icons_.push_back(open); };
  }
  void TearDown() override {
    frontcash::toolbarRegisterButton() = nullptr;
    frontcash::LIBERA_CAJA();
  }

  testing_support::ProgramFolder folder_;
  std::vector<int> icons_;
};

TEST(RegisterPasswords, AreComparedOnTenCharactersExactly) {
  EXPECT_TRUE(frontcash::CLAVE_CORRECTA("CAJA01", "CAJA01"));
  EXPECT_TRUE(frontcash::CLAVE_CORRECTA("CAJA01    ", "CAJA01"));
  EXPECT_FALSE(frontcash::CLAVE_CORRECTA("CAJA01", "caja01")) << "case counts";
  EXPECT_FALSE(frontcash::CLAVE_CORRECTA("CAJA01", " CAJA01")) << "a leading blank counts";
  EXPECT_FALSE(frontcash::CLAVE_CORRECTA("CAJA01", "CAJA0"));
  EXPECT_TRUE(frontcash::CLAVE_CORRECTA("ABCDEFGHIJ", "ABCDEFGHIJKLMN")) << "what is beyond ten is not read";
  EXPECT_FALSE(frontcash::CLAVE_CORRECTA("ABCDEFGHIJ", "ABCDEFGHI"));
  EXPECT_TRUE(frontcash::CLAVE_CORRECTA("", ""));
}

TEST_F(RegisterOpenClose, OpeningWritesTheStateAndOneOpenPeriod) {
  const size_t before = periodsOf("02");
  ASSERT_TRUE(frontcash::ABRE_CAJA("01", "02", "0002", {day(2026, 1, 15), "09:00:00"}));
  EXPECT_EQ(field("ENC_HCAJ", "ENC_HCAJ", "0102", "ESTADO"), "A");
  EXPECT_EQ(periodsOf("02"), before + 1);
  const uint32_t open = frontcash::PERIODO_ABIERTO("01", "02");
  ASSERT_NE(open, 0u);
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(open);
  EXPECT_EQ(periods->D("FECHA_INI"), day(2026, 1, 15));
  EXPECT_EQ(periods->S("HORA_INI"), "09:00:00");
  EXPECT_EQ(periods->S("AGENTE"), "0002");
  EXPECT_EQ(periods->S("H_LIMITE"), "24:60:60");
  EXPECT_EQ(periods->D("LIMITE"), day(2090, 1, 1));
  EXPECT_EQ(periods->D("FECHA_FIN"), 0);
  lib::KILLTABLA(periods);
  EXPECT_TRUE(frontcash::PERIODO_SIGUE_ABIERTO(open));

  // A second station that saw it closed before the first one opened it.
  EXPECT_FALSE(frontcash::ABRE_CAJA("01", "02", "0001", {day(2026, 1, 15), "09:00:05"}));
  EXPECT_EQ(periodsOf("02"), before + 1) << "never two open periods";
  EXPECT_FALSE(frontcash::ABRE_CAJA("01", "R9", "0001", {day(2026, 1, 15), "09:00:05"})) << "no such register";
}

TEST_F(RegisterOpenClose, ClosingEndsThePeriodWithWhoClosedIt) {
  ASSERT_TRUE(frontcash::ABRE_CAJA("01", "02", "0002", {day(2026, 1, 15), "09:00:00"}));
  const uint32_t open = frontcash::PERIODO_ABIERTO("01", "02");
  frontcash::CIERRA_CAJA("01", "02", open, {day(2026, 1, 15), "17:30:00"});
  EXPECT_EQ(field("ENC_HCAJ", "ENC_HCAJ", "0102", "ESTADO"), "C");
  EXPECT_EQ(frontcash::PERIODO_ABIERTO("01", "02"), 0u);
  EXPECT_FALSE(frontcash::PERIODO_SIGUE_ABIERTO(open));
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(open);
  EXPECT_EQ(periods->D("FECHA_FIN"), day(2026, 1, 15));
  EXPECT_EQ(periods->S("HORA_FIN"), "17:30:00");
  EXPECT_EQ(periods->S("CTRL_USR"), "ADM");
  EXPECT_EQ(periods->S("CTRL_COMP"), "RECEPCION2");
  EXPECT_EQ(periods->S("CTRL_WIN_U"), "ana");
  EXPECT_EQ(periods->S("CTRL_HORA"), "17:30:00");
  EXPECT_EQ(periods->D("CTRL_FECHA"), day(2026, 1, 15));
  lib::KILLTABLA(periods);
}

TEST_F(RegisterOpenClose, AStationFindsARegisterClosedElsewhereClosed) {
  EXPECT_EQ(frontcash::GET_CAJA_ABIERTA(), "????");
  EXPECT_FALSE(frontcash::CAJA_ABIERTA("01"));
  frontcash::ATTACH_CAJA("01", "Caja Recepción Principal", "Ana Solís");
  EXPECT_EQ(frontcash::GET_CAJA_ABIERTA(), "01");
  EXPECT_EQ(frontcash::GET_DIG_ABIERTO(), "Ana Solís");
  EXPECT_EQ(frontcash::XH_CAJAS().tipo, 2);
  EXPECT_TRUE(frontcash::CAJA_ABIERTA("01"));
  EXPECT_EQ(icons_, std::vector<int>({1}));

  setState("01", "C");  // a supervisor closed it from the definition screen
  EXPECT_FALSE(frontcash::CAJA_ABIERTA("01"));
  const frontcash::StationRegister& s = frontcash::XH_CAJAS();
  EXPECT_EQ(s.codigo, "????");
  EXPECT_EQ(s.abierta, 0);
  EXPECT_EQ(s.tipo, 0);
  EXPECT_EQ(s.descrip, "");
  EXPECT_EQ(s.operador, "");
  EXPECT_EQ(icons_, std::vector<int>({1, 0}));
  EXPECT_FALSE(frontcash::CAJA_ABIERTA("01")) << "and stays detached";
}

TEST_F(RegisterOpenClose, ARegisterFolioIsNumberedFromTheFolioSeriesOrNotOpenedAtAll) {
  const frontcash::Period open{day(2024, 5, 14), "07:00:02"};
  ASSERT_TRUE(frontcash::FOLIO_CAJA_POSIBLE("01", "01", open));
  auto folios = [] {
    size_t n = 0;
    lib::EACH_RECORD("ENC_FOL", "ENC_FOL4", "01", [&](const lib::WDBTable&) { ++n; });
    return n;
  };
  const size_t before = folios();
  // The demo's month used folios 1 to 211.
  EXPECT_EQ(frontcash::FOLIO_CAJA("01", "01", open), "212");
  EXPECT_EQ(frontcash::FOLIO_CAJA("01", "01", open), "212") << "found again, not opened twice";
  EXPECT_EQ(folios(), before + 1);

  // Without the series: no folio numbered with nothing.
  ASSERT_EQ(lib::DELETE_RECORDS("SERIALES", "SERIALES", "01" + std::string(10, ' ') + "FOLI"), 1u);
  const frontcash::Period later{day(2026, 1, 15), "09:00:00"};
  EXPECT_FALSE(frontcash::FOLIO_CAJA_POSIBLE("01", "01", later));
  EXPECT_TRUE(frontcash::FOLIO_CAJA_POSIBLE("01", "01", open)) << "an existing folio needs no number";
  EXPECT_THROW(frontcash::FOLIO_CAJA("01", "01", later), xbase::Error);
  EXPECT_EQ(folios(), before + 1);
}

}  // namespace
