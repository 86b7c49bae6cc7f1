// The counters kept by the rooms screens, through the routines the screens call: after rooms
// are added, retyped (their stays moving with them) and deleted, the incremental figures are
// what a full rebuild of the availability rows and a recount of the rooms give.
#include <gtest/gtest.h>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_runs.h"
#include "rooms/hotel_folder.h"
#include "rooms/room_counters.h"
#include "rooms/room_retype.h"
#include "xbase/date.h"

using namespace rooms;
using lib::Value;
using rooms_testing::day;
using rooms_testing::HotelFolder;

namespace {

const int32_t kClosing = day(10, 3, 2026);

Progress& quiet() {
  static Progress p;
  return p;
}

std::string roomKey(const std::string& room) {
  return "01" + lib::padded(room, kRoomWidth);
}

void addRoom(const std::string& room, const std::string& tipo) {
  rooms_testing::addRoom(room, tipo, kClosing);
}
void retype(const std::string& room, const std::string& from, const std::string& to) {
  rooms_testing::retype(room, from, to, kClosing);
}
void deleteRoom(const std::string& room) {
  rooms_testing::deleteRoom(room, kClosing);
}

// Two classes, three types, four rooms, reservation-table and availability rows generated
// from the closing day for a week, and stays counted: in rooms 101 and 102 (STD), 201 (DBL),
// one not yet assigned, one cancelled.
void hotel(HotelFolder& h) {
  h.parameters(kClosing, "01", 1);
  h.roomState("01", "Libre");
  h.roomClass("EST", "Estándar");
  h.roomClass("SUP", "Superior");
  h.roomType("STD", "EST");
  h.roomType("DBL", "EST");
  h.roomType("JS", "SUP");
  h.room("101", "STD", "EST");
  h.room("102", "STD", "EST");
  h.room("201", "DBL", "EST");
  h.room("301", "JS", "SUP");
  h.guaranteeType("GA", 1);
  h.rateType("RACK", "EST");
  {
    auto p = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
    ASSERT_TRUE(p->Seek("01"));
    lib::MODIFY(*p, [&] { p->FieldPut("CANT_ROOMS", Value::num(4)); });
    lib::KILLTABLA(p);
  }
  ASSERT_TRUE(runGeneration("01", kClosing, kClosing + 7, quiet()).completed);
  h.reservation("R1", "STD", "EST", "101", kClosing + 1, kClosing + 3, 2);
  h.reservation("R2", "STD", "EST", "102", kClosing - 1, kClosing + 2, 1);
  h.reservation("R3", "DBL", "EST", "201", kClosing + 2, kClosing + 6, 3);
  h.reservation("R4", "STD", "EST", "", kClosing + 4, kClosing + 5, 2);
  h.reservation("R5", "JS", "SUP", "301", kClosing, kClosing + 2, 2, 3);
  ASSERT_TRUE(runFastRecalculation("01", kClosing, quiet()).completed);
}

}  // namespace

TEST(RoomCounters, AddsRetypesAndDeletesGiveWhatAFullRebuildGives) {
  HotelFolder h;
  hotel(h);
  const std::string before = h.statTipSnapshot();

  addRoom("103", "STD");
  addRoom("302", "JS");
  retype("102", "STD", "JS");   // another class: its stay R2 moves to SUP
  retype("201", "DBL", "STD");  // the same class
  deleteRoom("101");            // its stay R1 still counts, on its line's type

  const std::string incremental = h.statTipSnapshot();
  ASSERT_NE(incremental, before);
  // The figures the changes moved, as a user would read them.
  const int32_t night = kClosing + 2;
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "JS", night, "SUP"), "TOTAL"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", night, "EST"), "TOTAL"), 2);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "DBL", night, "EST"), "TOTAL"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "JS", kClosing + 1, "SUP"), "RESERVADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", kClosing + 3, "EST"), "RESERVADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "SUP", "", kClosing + 1, ""), "RESERVADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", kClosing + 1, ""), "RESERVADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", kClosing + 1, ""), "TOTAL"), 2);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "SUP", "", kClosing + 1, ""), "TOTAL"), 3);

  // The room counters are the rooms' recount (read before the recount stores its own).
  for (const char* tipo : {"STD", "JS", "DBL"}) {
    const double stored = h.number("TIPO_ROM", "TIPO_ROM", "01" + lib::padded(tipo, kCodeWidth), "CANTIDAD");
    EXPECT_EQ(stored, RECUENTA_TIPO("01", tipo)) << tipo;
  }
  for (const char* clase : {"EST", "SUP"}) {
    const double stored = h.number("CLAS_ROM", "CLAS_ROM", "01" + lib::padded(clase, kCodeWidth), "CANTIDAD");
    EXPECT_EQ(stored, RECUENTA_CLASE("01", clase)) << clase;
  }
  EXPECT_EQ(h.number("F_HOTEL", "F_HOTEL", "01", "CANT_ROOMS"), h.count("ROOMS"));
  EXPECT_EQ(h.count("ROOMS"), 5u);

  // The full rebuild, the type rows' inventory rebuilt from the room counts, finds the same.
  ASSERT_TRUE(runFullRebuild("01", false, quiet()).completed);
  EXPECT_EQ(h.statTipSnapshot(), incremental);
  // And so does the fast recalculation from the nightly rows.
  ASSERT_TRUE(runFastRecalculation("01", kClosing, quiet()).completed);
  EXPECT_EQ(h.statTipSnapshot(), incremental);
}

TEST(RoomCounters, ADeletedRoomLeavesNoReservationRowFromTheClosingDay) {
  HotelFolder h;
  hotel(h);
  deleteRoom("102");
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", roomKey("102") + xbase::dtos(kClosing)));
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", roomKey("102") + xbase::dtos(kClosing + 7)));
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", roomKey("101") + xbase::dtos(kClosing)));
  addRoom("104", "DBL");
  for (int32_t d = kClosing; d <= kClosing + 7; ++d)
    EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", roomKey("104") + xbase::dtos(d))) << xbase::dtos(d);
  EXPECT_FALSE(h.exists("TAB_RESE", "TAB_RES2", roomKey("104") + xbase::dtos(kClosing + 8)));
}

namespace {

// The room's reservation-table rows from `from` to `to` put in state `state`.
void block(const std::string& room, int32_t from, int32_t to, const std::string& state) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  for (int32_t d = from; d <= to; ++d) {
    ASSERT_TRUE(t->Seek(roomKey(room) + xbase::dtos(d))) << room << " " << xbase::dtos(d);
    lib::MODIFY(*t, [&] { t->FieldPut("T_EST_HA", Value::chars(state)); });
  }
  lib::KILLTABLA(t);
}

}  // namespace

TEST(RoomCounters, ABlockedRoomTakesItsBlockedNightsAlongWhenRetypedOrDeleted) {
  HotelFolder h;
  hotel(h);
  h.roomState("06", "Bloqueada", 1, 0);
  h.roomState("07", "Fuera de Servicio", 1, 1);
  block("201", kClosing + 1, kClosing + 3, "07");
  block("102", kClosing + 2, kClosing + 4, "06");
  ASSERT_TRUE(runFastRecalculation("01", kClosing, quiet()).completed);
  const int32_t night = kClosing + 2;
  ASSERT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", night, ""), "BLOQUEADO"), 2);

  retype("201", "DBL", "JS");  // out of order: into the other class
  deleteRoom("102");           // blocked

  // The out-of-order nights are now the suite's, and out of its inventory; the blocked room is gone.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "JS", night, "SUP"), "OUTORDER"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "JS", night, "SUP"), "TOTAL"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "DBL", night, "EST"), "OUTORDER"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "DBL", night, "EST"), "TOTAL"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", statTipKey("01", "STD", night, "EST"), "BLOQUEADO"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "SUP", "", night, ""), "BLOQUEADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "SUP", "", night, ""), "TOTAL"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", night, ""), "BLOQUEADO"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", statTip9Key("01", "EST", "", night, ""), "TOTAL"), 1);

  const std::string incremental = h.statTipSnapshot();
  ASSERT_TRUE(runFullRebuild("01", false, quiet()).completed);
  EXPECT_EQ(h.statTipSnapshot(), incremental);
  ASSERT_TRUE(runFastRecalculation("01", kClosing, quiet()).completed);
  EXPECT_EQ(h.statTipSnapshot(), incremental);
}
