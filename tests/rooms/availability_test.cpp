// The shared availability routines on real tables: the derived figures of a row, the change
// of total and free, and the reservation-table rows of a new, deleted or renamed room.
#include <gtest/gtest.h>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/hotel_folder.h"
#include "xbase/date.h"

using namespace rooms;
using lib::Value;
using rooms_testing::day;
using rooms_testing::HotelFolder;

namespace {

const int32_t kJan15 = day(15, 1, 2026);

// Positions STAT_TIP on the row (class, type, date) of business 01 (a class-total row when
// `tipo` is blank).
void seekRow(lib::WDBTable& t, const std::string& clase, const std::string& tipo, int32_t fecha) {
  if (tipo.empty()) {
    t.SetOrder("STAT_TIP9");
    ASSERT_TRUE(t.Seek(statTip9Key("01", clase, "", fecha, "")));
  } else {
    t.SetOrder("STAT_TIP");
    ASSERT_TRUE(t.Seek(statTipKey("01", tipo, fecha, clase)));
  }
}

void setCounts(lib::WDBTable& t, std::initializer_list<std::pair<const char*, double>> values) {
  lib::MODIFY(t, [&] {
    for (const auto& [field, v] : values) t.FieldPut(field, Value::num(v));
  });
}

}  // namespace

TEST(Complementa, DerivesEveryFigureFromTheCounts) {
  HotelFolder h;
  h.statRow("EST", "STD", kJan15, 20);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  seekRow(*t, "EST", "STD", kJan15);
  setCounts(*t, {{"RESERVADO", 8}, {"LLEGAN", 3}, {"SALEN", 2}, {"BLOQUEADO", 2}, {"ALLOT_LIB", 4}, {"CUTOFF_LIB", 1}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("HOUSE1"), 8);
  EXPECT_EQ(t->N("HOUSE0"), 7);  // 8 - 3 + 2
  EXPECT_EQ(t->N("P_OCUP"), 40);
  EXPECT_EQ(t->N("P_OCUP_A"), 60);
  EXPECT_EQ(t->N("P_OCUP_AC"), 45);
  EXPECT_EQ(t->N("P_LIBRE"), 60);
  EXPECT_EQ(t->N("P_LIBRE_A"), 40);
  EXPECT_EQ(t->N("P_LIBRE_AC"), 55);
  EXPECT_EQ(t->N("P_DISP"), 50);
  EXPECT_EQ(t->N("P_DISP_A"), 30);
  EXPECT_EQ(t->N("P_DISP_AC"), 45);
  EXPECT_EQ(t->N("DISPON"), 10);
  EXPECT_EQ(t->N("DISPON_A"), 6);
  EXPECT_EQ(t->N("DISPON_AC"), 9);
  EXPECT_EQ(t->N("LIBRE"), 12);
  EXPECT_TRUE(derivedUpToDate(*t));
  // The row was released: another work area sees the figures.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", kJan15, "EST"), "P_OCUP"), 40);
}

TEST(Complementa, ThirdsAreKeptWithTwoDecimals) {
  HotelFolder h;
  h.statRow("EST", "STD", kJan15, 3);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  seekRow(*t, "EST", "STD", kJan15);
  setCounts(*t, {{"RESERVADO", 1}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_DOUBLE_EQ(t->N("P_OCUP"), 33.33);
  EXPECT_DOUBLE_EQ(t->N("P_LIBRE"), 66.67);
  EXPECT_TRUE(derivedUpToDate(*t));
}

TEST(Complementa, ATotalOfZeroGivesEveryPercentageZero) {
  HotelFolder h;
  h.statRow("EST", "STD", kJan15, 0);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  seekRow(*t, "EST", "STD", kJan15);
  setCounts(*t, {{"RESERVADO", 2}, {"BLOQUEADO", 1}, {"ALLOT_LIB", 3}, {"CUTOFF_LIB", 1}});
  COMPLEMENTA(nullptr, *t);
  for (const char* f :
       {"P_OCUP", "P_OCUP_A", "P_OCUP_AC", "P_LIBRE", "P_LIBRE_A", "P_LIBRE_AC", "P_DISP", "P_DISP_A", "P_DISP_AC"})
    EXPECT_EQ(t->N(f), 0) << f;
  EXPECT_EQ(t->N("DISPON"), -3);
  EXPECT_EQ(t->N("LIBRE"), -2);
}

TEST(Complementa, ACeilingIsFlaggedOnClassTotalsOnly) {
  HotelFolder h;
  h.statRow("EST", "", kJan15, 10);
  h.statRow("EST", "STD", kJan15, 10);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  // Class total: 80 % reached with a ceiling of 75 and nothing notified yet.
  seekRow(*t, "EST", "", kJan15);
  setCounts(*t, {{"RESERVADO", 8}, {"LIM_TOPE", 75}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("ALTERA_TOP"), 1);
  // Once notified the flag is not raised again.
  setCounts(*t, {{"ALTERA_TOP", 0}, {"NOTIF_TOPE", 1}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("ALTERA_TOP"), 0);
  EXPECT_EQ(t->N("NOTIF_TOPE"), 1);
  // Below the ceiling both go back to 0.
  setCounts(*t, {{"RESERVADO", 5}, {"ALTERA_TOP", 1}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("ALTERA_TOP"), 0);
  EXPECT_EQ(t->N("NOTIF_TOPE"), 0);
  // No ceiling (0): never flagged.
  setCounts(*t, {{"RESERVADO", 10}, {"LIM_TOPE", 0}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("ALTERA_TOP"), 0);
  // A type row keeps its flags whatever its occupancy.
  seekRow(*t, "EST", "STD", kJan15);
  setCounts(*t, {{"RESERVADO", 9}, {"LIM_TOPE", 50}, {"ALTERA_TOP", 0}, {"NOTIF_TOPE", 1}});
  COMPLEMENTA(nullptr, *t);
  EXPECT_EQ(t->N("ALTERA_TOP"), 0);
  EXPECT_EQ(t->N("NOTIF_TOPE"), 1);
}

TEST(Complementa, WithoutLockTheCallerHoldsTheRecord) {
  HotelFolder h;
  h.statRow("EST", "STD", kJan15, 4);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  seekRow(*t, "EST", "STD", kJan15);
  lib::MODIFY(*t, [&] {
    t->FieldPut("RESERVADO", Value::num(1));
    COMPLEMENTA(nullptr, *t, false);
  });
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", kJan15, "EST"), "P_OCUP"), 25);
  t->GoBottom();
  t->Skip(1);
  COMPLEMENTA(nullptr, *t);  // at end of file: nothing
}

TEST(CamTotalYLibre, MovesTotalAndFreeAndFlagsTheRowForTheWeb) {
  HotelFolder h;
  h.statRow("EST", "STD", kJan15, 10);
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  seekRow(*t, "EST", "STD", kJan15);
  setCounts(*t, {{"RESERVADO", 5}});
  COMPLEMENTA(nullptr, *t);
  CAM_TOTAL_Y_LIBRE(*t, -2);
  EXPECT_EQ(t->N("TOTAL"), 8);
  EXPECT_EQ(t->N("LIBRE"), 3);
  EXPECT_EQ(t->N("ALTERA_1"), 1);
  EXPECT_EQ(t->N("P_OCUP"), 62.5);
  EXPECT_TRUE(derivedUpToDate(*t));
}

TEST(CamTotalTipo, MovesTheTypeRowsOfEveryClassAndTheClassTotalsFromTheDate) {
  HotelFolder h;
  int32_t d0 = kJan15 - 1, d1 = kJan15, d2 = kJan15 + 1;
  for (int32_t d : {d0, d1, d2}) {
    for (const char* c : {"EST", "SUP"})
      for (const char* ty : {"STD", "DBL"}) h.statRow(c, ty, d, 5);
    h.statRow("EST", "", d, 10);
    h.statRow("SUP", "", d, 10);
  }
  auto t = lib::USE(nullptr, "STAT_TIP");
  EXPECT_EQ(CAM_TOTAL_TIPO(*t, "01", "EST", "STD", d1, +1), 6);  // 2 classes x 2 dates + 2 class totals
  auto total = [&](const std::string& clase, const std::string& tipo, int32_t d) {
    return tipo.empty() ? h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", clase, "", d, ""), "TOTAL")
                        : h.number("STAT_TIP", "STAT_TIP", statTipKey("01", tipo, d, clase), "TOTAL");
  };
  EXPECT_EQ(total("EST", "STD", d0), 5);  // before the date: untouched
  EXPECT_EQ(total("EST", "STD", d1), 6);
  EXPECT_EQ(total("SUP", "STD", d2), 6);
  EXPECT_EQ(total("EST", "DBL", d1), 5);  // another type
  EXPECT_EQ(total("EST", "", d0), 10);
  EXPECT_EQ(total("EST", "", d2), 11);
  EXPECT_EQ(total("SUP", "", d2), 10);  // another class
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", d2, "SUP"), "LIBRE"), 6);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", d2, "SUP"), "ALTERA_1"), 1);
  // A room leaves again.
  EXPECT_EQ(CAM_TOTAL_TIPO(*t, "01", "EST", "STD", d1, -1), 6);
  EXPECT_EQ(total("EST", "", d2), 10);
  // A type without rows and a class without rows change nothing.
  EXPECT_EQ(CAM_TOTAL_TIPO(*t, "01", "LUJ", "SUI", d0, +1), 0);
}

TEST(CamTotalTipo, ARowOfTheClassWithABlankTypeIsNoClassTotal) {
  HotelFolder h;
  h.statRow("EST", "", kJan15, 10);
  {
    auto t = lib::USE(nullptr, "STAT_TIP");
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("FECHA", Value::date(kJan15));
      t->FieldPut("CLASE", Value::chars("EST"));
      t->FieldPut("XCLASE", Value::chars("EST"));
      t->FieldPut("TOTAL", Value::num(0));
    });
    EXPECT_EQ(CAM_TOTAL_TIPO(*t, "01", "EST", "STD", kJan15, +1), 1);
  }
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", kJan15, ""), "TOTAL"), 11);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", kJan15, "EST"), "TOTAL"), 0);
}

TEST(CamStatTot, MovesTheHotelRowsFromTheDate) {
  HotelFolder h;
  {
    auto t = lib::USE(nullptr, "STAT_TOT", "STAT_TOT");
    for (int32_t d = kJan15 - 1; d <= kJan15 + 1; ++d)
      lib::ADD(*t, [&] {
        t->FieldPut("NEGOCIO", Value::chars("01"));
        t->FieldPut("FECHA", Value::date(d));
        t->FieldPut("TOTAL", Value::num(50));
        t->FieldPut("LIBRE", Value::num(20));
      });
    EXPECT_EQ(CAM_STAT_TOT(*t, "01", kJan15, -1), 2);
  }
  EXPECT_EQ(h.number("STAT_TOT", "STAT_TOT", "01" + xbase::dtos(kJan15 - 1), "TOTAL"), 50);
  EXPECT_EQ(h.number("STAT_TOT", "STAT_TOT", "01" + xbase::dtos(kJan15 + 1), "TOTAL"), 49);
  EXPECT_EQ(h.number("STAT_TOT", "STAT_TOT", "01" + xbase::dtos(kJan15 + 1), "LIBRE"), 19);
}

TEST(TabReseRooms, ANewRoomGetsRowsForTheGeneratedDatesOnly) {
  HotelFolder h;
  // Dates 14 to 17 generated for room 101; room 102 already has the 16th.
  for (int32_t d = kJan15 - 1; d <= kJan15 + 2; ++d) h.tabRese("101", d);
  h.tabRese("102", kJan15 + 1, "03");
  {
    auto t = lib::USE(nullptr, "TAB_RESE");
    EXPECT_EQ(ADD_TAB_RESE(*t, "01", "102", "EST", "01", kJan15), 2);  // 15 and 17; 16 kept
    EXPECT_EQ(ADD_TAB_RESE(*t, "01", "102", "EST", "01", kJan15), 0);
  }
  auto key = [](const std::string& room, int32_t d) { return "01" + lib::padded(room, 15) + xbase::dtos(d); };
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", key("102", kJan15 - 1)));
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", key("102", kJan15), "T_EST_HA"), "01");
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", key("102", kJan15), "CLASE"), "EST");
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", key("102", kJan15 + 1), "T_EST_HA"), "03");
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", key("102", kJan15 + 2)));
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", key("102", kJan15 + 3)));
  EXPECT_EQ(h.count("TAB_RESE"), 7u);
}

TEST(TabReseRooms, DeletingAndRenamingARoomsRows) {
  HotelFolder h;
  for (int32_t d = kJan15 - 2; d <= kJan15 + 2; ++d) {
    h.tabRese("101", d);
    h.tabRese("102", d);
  }
  auto key = [](const std::string& room, int32_t d) { return "01" + lib::padded(room, 15) + xbase::dtos(d); };
  {
    auto t = lib::USE(nullptr, "TAB_RESE");
    EXPECT_EQ(DEL_TAB_RESE(*t, "01", "101", kJan15), 3);
  }
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", key("101", kJan15 - 1)));
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", key("101", kJan15)));
  EXPECT_EQ(h.count("TAB_RESE"), 7u);
  {
    auto t = lib::USE(nullptr, "TAB_RESE");
    EXPECT_EQ(REN_TAB_RESE(*t, "01", "102", "201", kJan15 - 1), 4);
  }
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", key("102", kJan15 - 2)));  // before the date
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", key("201", kJan15 + 2)));
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", key("102", kJan15)));
}
