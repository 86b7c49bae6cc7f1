// The congruence check on a small hotel's real tables: a consistent hotel gives no finding;
// each kind of disagreement is found, repaired, journalled and found no more; the repairs of
// a run are undone, except where the record changed since; a cancelled run keeps what it
// repaired.
#include <gtest/gtest.h>

#include <algorithm>

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "processes/congruence.h"
#include "processes/repair_journal.h"
#include "rooms/hotel_folder.h"
#include "xbase/date.h"

using namespace processes;
using rooms_testing::day;
using rooms_testing::HotelFolder;

namespace {

const int32_t kClosing = day(10, 1, 2030);

// Rewrites `field` of the record of `table` found by `key` on `tag`.
void poke(const std::string& table, const std::string& tag, const std::string& key, const std::string& field,
          const lib::Value& value) {
  auto t = lib::USE(nullptr, table, tag);
  ASSERT_TRUE(t->Seek(key)) << table << " " << key;
  lib::MODIFY(*t, [&] { t->FieldPut(field, value); });
  lib::KILLTABLA(t);
}

void deleteRow(const std::string& table, const std::string& tag, const std::string& key) {
  auto t = lib::USE(nullptr, table, tag);
  ASSERT_TRUE(t->Seek(key)) << table << " " << key;
  lib::MODIFY(*t, [&] { t->Delete(); });
  lib::KILLTABLA(t);
}

std::string roomDay(int32_t d, const std::string& room) {
  return "01" + xbase::dtos(d) + lib::padded(room, 15);
}

std::string dayRow(int32_t d, const std::string& res) {
  return "01" + xbase::dtos(d) + lib::padded(res, 10) + "0101";
}

class StopAfter : public rooms::Progress {
 public:
  explicit StopAfter(long reads) : left_(reads) {}
  bool CANPRINT() override { return left_-- > 0; }

 private:
  long left_;
};

// A hotel whose reservation data agree: R1 in house in room 101 (closing day - 1 to + 1),
// R2 pending in 102 (closing day + 3 to + 5, pre-assigned), rooms 103 and 104 free.
class Congruence : public testing::Test {
 protected:
  void SetUp() override {
    h.parameters(kClosing, "01", 1);
    poke("F_HOTEL", "F_HOTEL", "01", "IN_EST_HA", lib::Value::chars("04"));
    h.roomClass("EST", "Estándar");
    h.roomType("DBL", "EST");
    for (const char* r : {"101", "102", "103", "104"}) h.room(r, "DBL", "EST");
    for (int32_t d = kClosing - 1; d <= kClosing + 6; ++d)
      for (const char* r : {"101", "102", "103", "104"}) h.tabRese(r, d, "01", "EST");
    h.reservation("R1", "DBL", "EST", "101", kClosing - 1, kClosing + 1, 2, 1);
    poke("ROOMS", "ROOMS", "01101", "COD_RES", lib::Value::chars("R1"));
    for (int32_t d = kClosing - 1; d <= kClosing + 1; ++d) {
      poke("TAB_RESE", "TAB_RESE", roomDay(d, "101"), "RESERVA", lib::Value::chars("R1"));
      poke("TAB_RESE", "TAB_RESE", roomDay(d, "101"), "T_EST_HA", lib::Value::chars(d < kClosing + 1 ? "04" : "05"));
    }
    h.reservation("R2", "DBL", "EST", "102", kClosing + 3, kClosing + 5, 2, 0);
    for (int32_t d = kClosing + 3; d < kClosing + 5; ++d) {
      poke("TAB_RESE", "TAB_RESE", roomDay(d, "102"), "PRE_RES", lib::Value::chars("R2"));
      poke("TAB_RESE", "TAB_RESE", roomDay(d, "102"), "PREASIGN", lib::Value::num(1));
    }
  }

  static CongruenceResult check(const CongruenceOptions& o = {}, RepairJournal* journal = nullptr) {
    rooms::Progress quiet;
    return CONGRUENCIA("01", o, journal, quiet);
  }

  static std::vector<std::string> texts(const CongruenceResult& r) {
    std::vector<std::string> t;
    for (const Finding& f : r.findings) t.push_back(f.text);
    return t;
  }

  HotelFolder h;
};

TEST_F(Congruence, AConsistentHotelHasNoFinding) {
  CongruenceOptions all;
  all.historic = true;
  const CongruenceResult r = check(all);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(texts(r), std::vector<std::string>{});
  EXPECT_GT(r.read, 0);
}

TEST_F(Congruence, EveryKindIsFoundRepairedAndThenNoMore) {
  poke("ROOMS", "ROOMS", "01101", "COD_RES", lib::Value::chars(""));
  poke("ROOMS", "ROOMS", "01103", "COD_RES", lib::Value::chars("R9"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing, "101"), "T_EST_HA", lib::Value::chars("01"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing - 1, "101"), "PREASIGN", lib::Value::num(1));
  deleteRow("DET_RES9", "DET_RES9", dayRow(kClosing, "R1"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 4, "102"), "PREASIGN", lib::Value::num(0));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 2, "103"), "PREASIGN", lib::Value::num(1));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 2, "103"), "PRE_RES", lib::Value::chars("R7"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA", lib::Value::chars("R8"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 2, "104"), "T_EST_HA", lib::Value::chars("04"));
  poke("DET_RES9", "DET_RES9", dayRow(kClosing + 3, "R2"), "AGENCIA", lib::Value::chars("AG1"));
  poke("DET_RES9", "DET_RES9", dayRow(kClosing + 4, "R2"), "TIPO_ROM", lib::Value::chars("SUI"));

  const std::string today = lib::DTOC(kClosing);
  const std::vector<std::string> expected = {
      "ROOMS.DBF incongruente: R:               RES2: R1        ",
      "ROOMS.DBF incongruente: R: R9          Debe estar en blanco",
      "(H) TAB_RESE Pre-Asign Puesto: " + lib::DTOC(kClosing - 1) + " (deberia ser 0)",
      "(H) TAB_RESE Estado Malo: " + lib::DTOC(kClosing) + " Estado: 01(deberia ser 04)",
      "(H) DET_RES9 no existe: " + today + " Reserva: R1        ",
      "(P) TAB_RESE PreAsign en 0: " + lib::DTOC(kClosing + 4) + " Reserva: R2        (debería estar en 1)",
      "(X) TAB_RESE PRE_RES inválido: " + lib::DTOC(kClosing + 2) + " Pre_Res: R7        ",
      "(X) TAB_RESE T_EST_HA ocupado sin reserva: " + lib::DTOC(kClosing + 2),
      "(X) TAB_RESE RESERVA inválido: " + lib::DTOC(kClosing + 3) + " Reserva: R8        ",
      "DET_RES9: " + lib::DTOC(kClosing + 3) + " AGENCIA incongruente: R2        AG1            /               ",
      "DET_RES9: " + lib::DTOC(kClosing + 4) + " TIPO_ROM incongruente: R2        SUI /DBL ",
  };
  const CongruenceResult found = check();
  EXPECT_EQ(texts(found), expected);
  EXPECT_EQ(found.repaired, 0);
  EXPECT_EQ(HotelFolder::text("ROOMS", "ROOMS", "01103", "COD_RES"), "R9");  // reporting changes nothing

  RepairJournal journal("01", "20300110 10:00:00");
  const CongruenceResult repaired = check({}, &journal);
  EXPECT_EQ(texts(repaired), expected);
  EXPECT_EQ(repaired.repaired, long(expected.size()));
  EXPECT_EQ(texts(check()), std::vector<std::string>{});

  EXPECT_EQ(HotelFolder::text("ROOMS", "ROOMS", "01101", "COD_RES"), "R1");
  EXPECT_EQ(HotelFolder::text("ROOMS", "ROOMS", "01103", "COD_RES"), "");
  EXPECT_EQ(HotelFolder::text("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "T_EST_HA"), "01");
  EXPECT_EQ(HotelFolder::number("TAB_RESE", "TAB_RESE", roomDay(kClosing + 4, "102"), "PREASIGN"), 1);
  // The day row made again from the stay, its prices those of the night.
  EXPECT_EQ(HotelFolder::text("DET_RES9", "DET_RES9", dayRow(kClosing, "R1"), "CLASE"), "EST");
  EXPECT_EQ(HotelFolder::text("DET_RES9", "DET_RES9", dayRow(kClosing, "R1"), "TIPO_ROM"), "DBL");
  EXPECT_EQ(HotelFolder::number("DET_RES9", "DET_RES9", dayRow(kClosing, "R1"), "N_ADULT"), 2);
}

TEST_F(Congruence, TwoInHouseStaysInOneRoomGiveOneFindingForTheSecond) {
  h.reservation("R5", "DBL", "EST", "101", kClosing - 1, kClosing + 1, 1, 1);
  const CongruenceResult r = check();
  const std::vector<std::string> t = texts(r);
  EXPECT_EQ(std::count(t.begin(), t.end(), "Habitación Repetida In-House"), 1);
  EXPECT_EQ(r.findings.front().reservation, "R5");
}

TEST_F(Congruence, DepartedStaysAndSurplusRowsOnlyWhenHistoricIsAsked) {
  h.reservation("R3", "DBL", "EST", "103", kClosing - 5, kClosing - 3, 2, 2);
  deleteRow("DET_RES9", "DET_RES9", dayRow(kClosing - 4, "R3"));
  // A second row for the departure day, and a row past the departure.
  auto rows = lib::USE(nullptr, "DET_RES9", "DET_RES9");
  for (int32_t d : {kClosing - 3, kClosing - 1})
    lib::ADD(*rows, [&] {
      rows->FieldPut("NEGOCIO", lib::Value::chars("01"));
      rows->FieldPut("FECHA", lib::Value::date(d));
      rows->FieldPut("COD_RES", lib::Value::chars("R3"));
      rows->FieldPut("COD_HAB", lib::Value::chars("01"));
      rows->FieldPut("CODIGO", lib::Value::chars("01"));
      rows->FieldPut("CLASE", lib::Value::chars("EST"));
      rows->FieldPut("TIPO_ROM", lib::Value::chars("DBL"));
    });
  lib::KILLTABLA(rows);
  EXPECT_EQ(texts(check()), std::vector<std::string>{});  // "Revisar Históricos" is off by default

  CongruenceOptions historic;
  historic.historic = true;
  const std::vector<std::string> expected = {
      "(2) DET_RES9 no existe: " + lib::DTOC(kClosing - 4) + " Reserva: R3        ",
      "(H) DET_RES9 duplicado: " + lib::DTOC(kClosing - 3) + " Reserva: R3        ",
      "(2)DET_RES9 superior sobra: " + lib::DTOC(kClosing - 1) + " Reserva: R3        ",
  };
  EXPECT_EQ(texts(check(historic)), expected);
  RepairJournal journal("01", "20300110 11:00:00");
  EXPECT_EQ(check(historic, &journal).repaired, 3);
  EXPECT_EQ(texts(check(historic)), std::vector<std::string>{});
  EXPECT_EQ(HotelFolder::count("DET_RES9"), 3u + 3u + 3u);  // R1, R2, and R3 one row per date
}

TEST_F(Congruence, UndoingARunRestoresWhatItChangedUnlessChangedSince) {
  poke("ROOMS", "ROOMS", "01103", "COD_RES", lib::Value::chars("R9"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA", lib::Value::chars("R8"));
  deleteRow("DET_RES9", "DET_RES9", dayRow(kClosing, "R1"));
  const uint32_t rowsBefore = HotelFolder::count("DET_RES9");
  {
    RepairJournal journal("01", "20300110 12:00:00");
    check({}, &journal);
    EXPECT_EQ(journal.changes(), 3);  // COD_RES, the appended row, RESERVA (T_EST_HA was free already)
  }
  EXPECT_EQ(JOURNAL_RUNS("01"), std::vector<std::string>{"20300110 12:00:00"});
  const std::vector<JournalEntry> entries = JOURNAL_OF("01", "20300110 12:00:00");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].table, "ROOMS");
  EXPECT_EQ(entries[0].before, "R9");
  EXPECT_EQ(entries[0].after, "");
  EXPECT_EQ(entries[1].action, "A");
  EXPECT_EQ(HotelFolder::count("DET_RES9"), rowsBefore + 1);

  // Another workstation takes the room-day meanwhile: that record is left alone.
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA", lib::Value::chars("R2"));
  const UndoResult undone = DESHACER("01", "20300110 12:00:00");
  EXPECT_EQ(undone.restored, 2);
  EXPECT_EQ(undone.refused, 1);
  EXPECT_EQ(HotelFolder::text("ROOMS", "ROOMS", "01103", "COD_RES"), "R9");
  EXPECT_EQ(HotelFolder::text("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA"), "R2");
  EXPECT_EQ(HotelFolder::text("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "T_EST_HA"), "01");
  EXPECT_EQ(HotelFolder::count("DET_RES9"), rowsBefore);
  // Undone once, a second undo finds nothing as it was left.
  EXPECT_EQ(DESHACER("01", "20300110 12:00:00").restored, 0);
}

TEST_F(Congruence, ACancelledRunKeepsWhatItRepaired) {
  poke("ROOMS", "ROOMS", "01103", "COD_RES", lib::Value::chars("R9"));
  poke("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA", lib::Value::chars("R8"));
  RepairJournal journal("01", "20300110 13:00:00");
  StopAfter stop(12);
  const CongruenceResult r = CONGRUENCIA("01", {}, &journal, stop);
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(r.repaired, 1);
  EXPECT_EQ(HotelFolder::text("ROOMS", "ROOMS", "01103", "COD_RES"), "");
  EXPECT_EQ(HotelFolder::text("TAB_RESE", "TAB_RESE", roomDay(kClosing + 3, "103"), "RESERVA"), "R8");
  EXPECT_EQ(journal.changes(), 1);
}

}  // namespace
