// The generation, the fast recalculation and the full rebuild on a small hotel: what they
// write, the edge cases of the counts, cancelling half-way and running again, and the two
// recalculations agreeing.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_runs.h"
#include "rooms/hotel_folder.h"
#include "xbase/date.h"

using namespace rooms;
using lib::Value;
using rooms_testing::day;
using rooms_testing::HotelFolder;

namespace {

const int32_t kJan15 = day(15, 1, 2026);

// Two classes, three types (STD with allotment column 1, DBL with none, SUI with column 2),
// seven rooms, the free, blocked and out-of-order states.
void smallHotel(HotelFolder& h) {
  h.parameters(kJan15, "01", 1);
  h.roomState("01", "Libre");
  h.roomState("02", "Ocupada");
  h.roomState("05", "Bloqueada", 1, 0);
  h.roomState("06", "Fuera de Servicio", 1, 1);
  h.roomClass("EST", "Estándar");
  h.roomClass("SUP", "Superior");
  h.roomType("STD", "EST", 0, 1);
  h.roomType("DBL", "EST", 0, 0);
  h.roomType("SUI", "SUP", 0, 2);
  for (const char* r : {"101", "102", "103"}) h.room(r, "STD", "EST");
  for (const char* r : {"104", "105"}) h.room(r, "DBL", "EST");
  for (const char* r : {"201", "202"}) h.room(r, "SUI", "SUP");
  h.guaranteeType("GA", 1);
  h.guaranteeType("GB", 3);
  h.rateType("RACK", "EST");
  h.rateType("VIP", "SUP");
}

// A progress that asks to stop once it was called `calls` times.
class StopAfter : public Progress {
 public:
  explicit StopAfter(int calls) : left_(calls) {}
  void PUT_TEXT(const std::string&, const std::string&, const std::string&, const std::string&, bool) override {
    if (left_ > 0) --left_;
  }
  bool CANPRINT() override { return left_ > 0; }

 private:
  int left_;
};

std::string typeKey(const std::string& tipo, int32_t d, const std::string& clase) {
  return statTipKey("01", tipo, d, clase);
}
std::string classKey(const std::string& clase, int32_t d) {
  return statTip9Key("01", clase, "", d, "");
}
std::string roomKey(const std::string& room, int32_t d) {
  return "01" + lib::padded(room, 15) + xbase::dtos(d);
}

Progress& quiet() {
  static Progress p;
  return p;
}

void setRoomNight(const std::string& room, int32_t d, const std::string& state, const std::string& reserva = "",
                  int preasign = 0) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  ASSERT_TRUE(t->Seek(roomKey(room, d)));
  lib::MODIFY(*t, [&] {
    t->FieldPut("T_EST_HA", Value::chars(state));
    t->FieldPut("RESERVA", Value::chars(reserva));
    t->FieldPut("PREASIGN", Value::num(preasign));
  });
}

}  // namespace

TEST(Generation, WritesAReservationRowPerRoomAndNightAndEveryAvailabilityRow) {
  HotelFolder h;
  smallHotel(h);
  RunResult r = runGeneration("01", kJan15, kJan15 + 2, quiet());
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(h.count("TAB_RESE"), 21u);
  EXPECT_EQ(h.count("STAT_TIP"), 24u);  // 2 classes x (3 types + total) x 3 dates
  EXPECT_EQ(r.appended, 45);
  // Counts recounted from the rooms.
  EXPECT_EQ(h.number("TIPO_ROM", "TIPO_ROM", "01STD ", "CANTIDAD"), 3);
  EXPECT_EQ(h.number("CLAS_ROM", "CLAS_ROM", "01EST ", "CANTIDAD"), 5);
  EXPECT_EQ(h.number("CLAS_ROM", "CLAS_ROM", "01SUP ", "CANTIDAD"), 2);
  // A generated night: free state, the type's class, not pre-assigned.
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", roomKey("201", kJan15 + 1), "T_EST_HA"), "01");
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", roomKey("201", kJan15 + 1), "CLASE"), "SUP");
  EXPECT_EQ(h.number("TAB_RESE", "TAB_RES2", roomKey("201", kJan15 + 1), "PREASIGN"), 0);
  // Type rows in every class carry the type's count; SHOW1 only in its own class.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "TOTAL"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "SHOW1"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "SUP"), "TOTAL"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "SUP"), "SHOW1"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "SUP"), "SHOW2"), 0);
  EXPECT_EQ(h.text("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "SUP"), "XCLASE"), "SUP");
  // Class totals.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "TOTAL"), 5);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "LIBRE"), 5);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "SHOW1"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "SHOW2"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "P_LIBRE"), 100);
}

TEST(Generation, TwiceAddsNothingAndLeavesTheNightsAsTheyWere) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 2, quiet());
  setRoomNight("101", kJan15, "02", "R100");
  setRoomNight("102", kJan15 + 1, "01", "", 1);
  setRoomNight("201", kJan15 + 2, "05");
  RunResult again = runGeneration("01", kJan15, kJan15 + 2, quiet());
  EXPECT_EQ(again.appended, 0);
  EXPECT_EQ(h.count("TAB_RESE"), 21u);
  EXPECT_EQ(h.count("STAT_TIP"), 24u);
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", roomKey("101", kJan15), "RESERVA"), "R100");
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", roomKey("101", kJan15), "T_EST_HA"), "02");
  EXPECT_EQ(h.number("TAB_RESE", "TAB_RES2", roomKey("102", kJan15 + 1), "PREASIGN"), 1);
  EXPECT_EQ(h.text("TAB_RESE", "TAB_RES2", roomKey("201", kJan15 + 2), "T_EST_HA"), "05");
  // A wider range fills only the new dates.
  RunResult wider = runGeneration("01", kJan15 - 1, kJan15 + 3, quiet());
  EXPECT_EQ(wider.appended, 2 * (7 + 8));
}

TEST(Generation, RefreshesTotalsFromTheRoomsOnTheNextRun) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15, quiet());
  h.room("106", "DBL", "EST");  // a room added behind the screens' back
  runGeneration("01", kJan15, kJan15, quiet());
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "EST"), "TOTAL"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "SUP"), "TOTAL"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "TOTAL"), 6);
  EXPECT_TRUE(h.exists("TAB_RESE", "TAB_RES2", roomKey("106", kJan15)));
}

TEST(FastRecalculation, AOneNightStayCountsOneNightOneArrivalAndTheNextDaysDeparture) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 3, quiet());
  h.reservation("R1", "STD", "EST", "101", kJan15 + 1, kJan15 + 2, 2, 0, "GA");
  runFastRecalculation("01", kJan15, quiet());
  for (const std::string& key : {typeKey("STD", kJan15 + 1, "EST"), classKey("EST", kJan15 + 1)}) {
    const char* tag = key.size() > 20 && key.substr(2, 4) == "EST " ? "STAT_TIP9" : "STAT_TIP";
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "RESERVADO"), 1) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "LLEGAN"), 1) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "SALEN"), 0) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "N_ADULT"), 2) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "N_NINHO"), 1) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "CLAS_1"), 1) << key;
  }
  for (const std::string& key : {typeKey("STD", kJan15 + 2, "EST"), classKey("EST", kJan15 + 2)}) {
    const char* tag = key.substr(2, 4) == "EST " ? "STAT_TIP9" : "STAT_TIP";
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "RESERVADO"), 0) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "LLEGAN"), 0) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "SALEN"), 1) << key;
    EXPECT_EQ(h.number("STAT_TIP", tag, key, "HOUSE0"), 1) << key;
  }
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "EST"), "LIBRE"), 2);
  EXPECT_DOUBLE_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "EST"), "P_OCUP"), 33.33);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 1), "P_OCUP"), 20);
  // Nothing under the other class.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "SUP"), "RESERVADO"), 0);
}

TEST(FullRebuild, AOneNightStayCountsTheSameAsTheFastRecalculation) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 3, quiet());
  h.reservation("R1", "STD", "EST", "101", kJan15 + 1, kJan15 + 2, 2, 0, "GA");
  runFastRecalculation("01", kJan15, quiet());
  std::string fast = h.statTipSnapshot();
  runFullRebuild("01", true, quiet());
  EXPECT_EQ(h.statTipSnapshot(), fast);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "EST"), "LLEGAN"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15 + 2), "SALEN"), 1);
}

TEST(Recalculations, ABlockedAndAnOutOfOrderRoom) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 1, quiet());
  setRoomNight("104", kJan15, "05");   // blocked
  setRoomNight("105", kJan15, "06");   // blocked and out of order
  for (int run = 0; run < 2; ++run) {  // the second run gives the same figures
    runFastRecalculation("01", kJan15, quiet());
    for (const auto& [key, tag] :
         {std::pair{typeKey("DBL", kJan15, "EST"), "STAT_TIP"}, std::pair{classKey("EST", kJan15), "STAT_TIP9"}}) {
      EXPECT_EQ(h.number("STAT_TIP", tag, key, "BLOQUEADO"), 2) << key;
      EXPECT_EQ(h.number("STAT_TIP", tag, key, "OUTORDER"), 1) << key;
    }
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "EST"), "TOTAL"), 1);
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "EST"), "DISPON"), -1);
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "TOTAL"), 4);
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "DISPON"), 2);
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "SUP"), "TOTAL"), 2);  // other class
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15 + 1, "EST"), "TOTAL"), 2);
  }
  std::string fast = h.statTipSnapshot();
  runFullRebuild("01", true, quiet());
  EXPECT_EQ(h.statTipSnapshot(), fast);
  runFullRebuild("01", false, quiet());
  EXPECT_EQ(h.statTipSnapshot(), fast);
  // A generation after it keeps the inventory right.
  runGeneration("01", kJan15, kJan15 + 1, quiet());
  runFastRecalculation("01", kJan15, quiet());
  EXPECT_EQ(h.statTipSnapshot(), fast);
}

TEST(Recalculations, AllotmentColumnZeroGetsNoneAndTheClassTotalSumsEveryColumn) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15, quiet());
  h.allotment(kJan15, "EST", 1, 4, 1, 2);  // column of STD
  h.allotment(kJan15, "EST", 1, 2, 0, 1);  // a second contract on the same column
  h.allotment(kJan15, "EST", 7, 3, 3, 0);  // a column no type names
  runFastRecalculation("01", kJan15, quiet());
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "ALLOT_TOT"), 6);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "ALLOT_LIB"), 5);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "CUTOFF_LIB"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "DISPON_A"), -2);
  for (const char* f : {"ALLOT_TOT", "ALLOT_LIB", "CUTOFF_LIB"})
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("DBL", kJan15, "EST"), f), 0) << f;
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "ALLOT_TOT"), 9);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "ALLOT_LIB"), 5);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("EST", kJan15), "CUTOFF_LIB"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP9", classKey("SUP", kJan15), "ALLOT_TOT"), 0);
  // The SUP rows of STD read the SUP contracts: none.
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "SUP"), "ALLOT_TOT"), 0);
}

TEST(Recalculations, ATypeWithoutRoomsShowsEveryPercentageZero) {
  HotelFolder h;
  smallHotel(h);
  h.roomType("FAM", "EST");
  runGeneration("01", kJan15, kJan15, quiet());
  h.reservation("R1", "FAM", "EST", "", kJan15, kJan15 + 1);  // overbooked: no room of the type
  runFastRecalculation("01", kJan15, quiet());
  const std::string key = typeKey("FAM", kJan15, "EST");
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", key, "TOTAL"), 0);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", key, "RESERVADO"), 1);
  for (const char* f :
       {"P_OCUP", "P_OCUP_A", "P_OCUP_AC", "P_LIBRE", "P_LIBRE_A", "P_LIBRE_AC", "P_DISP", "P_DISP_A", "P_DISP_AC"})
    EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", key, f), 0) << f;
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", key, "LIBRE"), -1);
}

TEST(Recalculations, CancelledRunsStopAndTheNextRunRepairs) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 4, quiet());
  h.reservation("R1", "STD", "EST", "101", kJan15, kJan15 + 3);
  h.reservation("R2", "SUI", "SUP", "201", kJan15 + 1, kJan15 + 2, 1, 1, "GB");
  setRoomNight("105", kJan15 + 2, "06");
  runFastRecalculation("01", kJan15, quiet());

  // A run stopped while counting has written nothing yet; the next one counts everything.
  h.reservation("R3", "DBL", "EST", "102", kJan15 + 2, kJan15 + 4);
  const std::string stale = h.statTipSnapshot();
  for (int calls : {2, 4, 7}) {
    StopAfter stop(calls);
    EXPECT_FALSE(runFastRecalculation("01", kJan15, stop).completed);
    EXPECT_EQ(h.statTipSnapshot(), stale) << calls;
  }
  runFastRecalculation("01", kJan15, quiet());
  const std::string expected = h.statTipSnapshot();
  EXPECT_NE(expected, stale);
  h.reservation("R4", "SUI", "SUP", "202", kJan15, kJan15 + 1);
  for (int calls : {2, 5, 8}) {
    StopAfter stop(calls);
    EXPECT_FALSE(runFullRebuild("01", true, stop).completed);
    EXPECT_EQ(h.statTipSnapshot(), expected) << calls;
  }
  runFastRecalculation("01", kJan15, quiet());
  const std::string withR4 = h.statTipSnapshot();
  EXPECT_NE(withR4, expected);
  runFullRebuild("01", true, quiet());
  EXPECT_EQ(h.statTipSnapshot(), withR4);
  // A generation stopped after a few rooms leaves the rest for the next one.
  StopAfter stop(12);
  RunResult cut = runGeneration("01", kJan15 + 5, kJan15 + 6, stop);
  EXPECT_FALSE(cut.completed);
  EXPECT_LT(h.count("TAB_RESE"), 49u);
  EXPECT_GT(h.count("TAB_RESE"), 35u);
  runGeneration("01", kJan15 + 5, kJan15 + 6, quiet());
  EXPECT_EQ(h.count("TAB_RESE"), 49u);
  EXPECT_EQ(h.count("STAT_TIP"), 7u * 8u);
}

// Stops once the rows written so far (the last pass) are more than none.
class StopWhileWriting : public Progress {
 public:
  void SET_TOTAL(uint64_t) override { ++passes_; }
  void ADVANCE(uint64_t rows) override {
    if (passes_ == 3) written_ += rows;
  }
  bool CANPRINT() override { return written_ == 0; }
  uint64_t written() const { return written_; }

 private:
  int passes_ = 0;
  uint64_t written_ = 0;
};

TEST(Recalculations, ARunStoppedWhileWritingLeavesTheRestForTheNext) {
  HotelFolder h;
  smallHotel(h);
  // 40 nights of 8 rows: more rows than one request locks together.
  runGeneration("01", kJan15, kJan15 + 39, quiet());
  h.reservation("R1", "STD", "EST", "101", kJan15, kJan15 + 38);
  const std::string stale = h.statTipSnapshot();
  StopWhileWriting stop;
  EXPECT_FALSE(runFastRecalculation("01", kJan15, stop).completed);
  EXPECT_GT(stop.written(), 0u);
  EXPECT_LT(stop.written(), 320u);
  const std::string cut = h.statTipSnapshot();
  runFastRecalculation("01", kJan15, quiet());
  const std::string expected = h.statTipSnapshot();
  EXPECT_NE(cut, stale);     // the first rows were counted...
  EXPECT_NE(cut, expected);  // ...and the last not yet
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 37, "EST"), "RESERVADO"), 1);
}

TEST(Recalculations, TheFastAndTheFullAgreeOnAMixOfStays) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15 - 3, kJan15 + 10, quiet());
  // Stays begun before the start, a cancelled one (ESTADO 3), one without a room, a long
  // one past the range, one arriving on the last date, a day use.
  h.reservation("A", "STD", "EST", "101", kJan15 - 5, kJan15 + 2, 2, 1);
  h.reservation("B", "STD", "EST", "102", kJan15, kJan15 + 4, 1, 0, "GB");
  h.reservation("C", "DBL", "EST", "104", kJan15 + 1, kJan15 + 3, 2, 3);
  h.reservation("D", "SUI", "SUP", "", kJan15 + 2, kJan15 + 9, 3);
  h.reservation("E", "SUI", "SUP", "201", kJan15 + 8, kJan15 + 14, 2);
  h.reservation("F", "DBL", "EST", "105", kJan15 + 10, kJan15 + 12, 2);
  h.reservation("G", "STD", "EST", "103", kJan15 + 5, kJan15 + 5, 1);
  h.reservation("H", "STD", "EST", "103", kJan15 - 20, kJan15 - 10, 1, 2);  // long before the range
  setRoomNight("202", kJan15 + 3, "06");
  setRoomNight("104", kJan15 + 6, "05");
  runFastRecalculation("01", kJan15 - 3, quiet());
  std::string fast = h.statTipSnapshot();
  runFullRebuild("01", true, quiet());
  EXPECT_EQ(h.statTipSnapshot(), fast);
  // Rows by the rate type's class when the switch says so (the nightly rows were written
  // under the type's class, which here is the rate type's too).
  {
    auto p = lib::USE(nullptr, "F_HOTEL3", "F_HOTEL3");
    ASSERT_TRUE(p->Seek("01"));
    lib::MODIFY(*p, [&] { p->FieldPut("TIPO_STAT", Value::num(0)); });
  }
  runFullRebuild("01", true, quiet());
  std::string byRack = h.statTipSnapshot();
  EXPECT_NE(byRack, fast);  // reservation D's rate type RACK is of class EST
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("SUI", kJan15 + 3, "EST"), "RESERVADO"), 1);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("SUI", kJan15 + 3, "SUP"), "RESERVADO"), 0);
}

namespace {

// A stay as a front desk lists it, for the plain count below.
struct PlainStay {
  std::string tipo, clase;
  int32_t arrival = 0, departure = 0;
  int adults = 0, estado = 0;
};

// What a row should hold, counted plainly from the stays and the blocked nights.
struct PlainCounts {
  double sold = 0, arrivals = 0, departures = 0, adults = 0, blocked = 0;
};

// Per (type, class, date), the type row, and per ("", class, date), the class-total row. A
// stay not cancelled (ESTADO 0 to 2) sells the nights from its arrival up to the one before
// its departure; it arrives on its arrival date and leaves on its departure date, a day use
// doing both on the same date; dates in the wrong order are no stay at all.
using PlainKey = std::tuple<std::string, std::string, int32_t>;
std::map<PlainKey, PlainCounts> plainCounts(const std::vector<PlainStay>& stays) {
  std::map<PlainKey, PlainCounts> out;
  for (const PlainStay& s : stays) {
    if (s.estado > 2 || s.departure < s.arrival) continue;
    for (const std::string& tipo : {s.tipo, std::string()}) {
      for (int32_t d = s.arrival; d < s.departure; ++d) {
        out[{tipo, s.clase, d}].sold += 1;
        out[{tipo, s.clase, d}].adults += s.adults;
      }
      out[{tipo, s.clase, s.arrival}].arrivals += 1;
      out[{tipo, s.clase, s.departure}].departures += 1;
    }
  }
  return out;
}

// Every availability row of business 01 holds the plain counts (zero where none are listed):
// a type row under its CLASE, a class-total row under its XCLASE.
void expectPlainCounts(const std::map<PlainKey, PlainCounts>& plain, const std::string& run) {
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  int rows = 0;
  for (t->Seek("01", true); !t->Eof() && t->S("NEGOCIO") == "01"; t->Skip(1), ++rows) {
    const std::string tipo = t->S("TIPO_ROM"), clase = tipo.empty() ? t->S("XCLASE") : t->S("CLASE");
    const int32_t d = t->D("FECHA");
    auto it = plain.find({tipo, clase, d});
    const PlainCounts want = it == plain.end() ? PlainCounts{} : it->second;
    const std::string where = run + " " + tipo + "/" + clase + " " + xbase::dtos(d);
    EXPECT_EQ(t->N("RESERVADO"), want.sold) << where;
    EXPECT_EQ(t->N("N_ADULT"), want.adults) << where;
    EXPECT_EQ(t->N("LLEGAN"), want.arrivals) << where;
    EXPECT_EQ(t->N("SALEN"), want.departures) << where;
    EXPECT_EQ(t->N("BLOQUEADO"), want.blocked) << where;
    EXPECT_EQ(t->N("HOUSE0"), want.sold - want.arrivals + want.departures) << where;
  }
  EXPECT_GT(rows, 0) << run;
}

// The XCLASE of the availability rows of type `tipo` in class `clase` blanked on [from, to].
void blankXclase(const std::string& tipo, const std::string& clase, int32_t from, int32_t to) {
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  for (int32_t d = from; d <= to; ++d) {
    ASSERT_TRUE(t->Seek(typeKey(tipo, d, clase))) << tipo << " " << xbase::dtos(d);
    lib::MODIFY(*t, [&] { t->FieldPut("XCLASE", Value::chars("")); });
  }
}

}  // namespace

TEST(Recalculations, TypeRowsWithoutXclaseCountTheirNightsAndBlocksInBothRuns) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 4, quiet());
  blankXclase("STD", "EST", kJan15, kJan15 + 4);
  blankXclase("DBL", "EST", kJan15 + 1, kJan15 + 1);
  // Such rows are the type's rows still: a new generation refreshes them, adding none.
  const uint32_t rows = h.count("STAT_TIP");
  runGeneration("01", kJan15, kJan15 + 4, quiet());
  EXPECT_EQ(h.count("STAT_TIP"), rows);
  EXPECT_EQ(h.text("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "XCLASE"), "");

  std::vector<PlainStay> stays;
  auto stay = [&](const std::string& code, const std::string& tipo, const std::string& room, int32_t from, int32_t to,
                  int adults) {
    h.reservation(code, tipo, "EST", room, from, to, adults);
    stays.push_back({tipo, "EST", from, to, adults, 0});
  };
  stay("R1", "STD", "101", kJan15, kJan15 + 3, 2);
  stay("R2", "STD", "102", kJan15 + 1, kJan15 + 2, 1);
  stay("R3", "DBL", "105", kJan15, kJan15 + 2, 3);
  setRoomNight("104", kJan15 + 1, "05");
  h.allotment(kJan15 + 1, "EST", 1, 4, 1, 2);
  std::map<PlainKey, PlainCounts> plain = plainCounts(stays);
  plain[{"DBL", "EST", kJan15 + 1}].blocked = 1;
  plain[{"", "EST", kJan15 + 1}].blocked = 1;

  runFastRecalculation("01", kJan15, quiet());
  expectPlainCounts(plain, "rápido");
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "EST"), "ALLOT_LIB"), 3);
  EXPECT_EQ(h.number("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15 + 1, "EST"), "LIBRE"), 1);

  // The full rebuild fills XCLASE and counts the same.
  runFullRebuild("01", true, quiet());
  expectPlainCounts(plain, "completo");
  EXPECT_EQ(h.text("STAT_TIP", "STAT_TIP", typeKey("STD", kJan15, "EST"), "XCLASE"), "EST");
}

TEST(Recalculations, ADayUseCountsAnArrivalAndADepartureAndNoNightInBothRuns) {
  HotelFolder h;
  smallHotel(h);
  runGeneration("01", kJan15, kJan15 + 5, quiet());
  std::vector<PlainStay> stays;
  auto stay = [&](const std::string& code, const std::string& tipo, const std::string& clase, const std::string& room,
                  int32_t from, int32_t to, int adults) {
    h.reservation(code, tipo, clase, room, from, to, adults);
    stays.push_back({tipo, clase, from, to, adults, 0});
  };
  stay("DU1", "STD", "EST", "103", kJan15 + 2, kJan15 + 2, 2);  // a day use
  stay("DU2", "SUI", "SUP", "201", kJan15, kJan15, 1);          // a day use on the start date
  stay("B", "STD", "EST", "102", kJan15 + 1, kJan15 + 3, 1);
  stay("C", "STD", "EST", "101", kJan15 + 2, kJan15 + 4, 2);  // arrives on the day use's date
  stay("X", "DBL", "EST", "104", kJan15 + 3, kJan15 + 1, 2);  // departure before arrival: no stay
  // A nightly row left behind when stay B was moved a day later: not one of its nights.
  {
    auto nights = lib::USE(nullptr, "DET_RES9");
    lib::ADD(*nights, [&] {
      nights->FieldPut("NEGOCIO", Value::chars("01"));
      nights->FieldPut("FECHA", Value::date(kJan15));
      nights->FieldPut("COD_RES", Value::chars("B"));
      nights->FieldPut("COD_HAB", Value::chars("01"));
      nights->FieldPut("CODIGO", Value::chars("01"));
      nights->FieldPut("CLASE", Value::chars("EST"));
      nights->FieldPut("TIPO_ROM", Value::chars("STD"));
    });
  }
  const std::map<PlainKey, PlainCounts> plain = plainCounts(stays);
  ASSERT_EQ(plain.at({"STD", "EST", kJan15 + 2}).arrivals, 2);
  ASSERT_EQ(plain.at({"STD", "EST", kJan15 + 2}).departures, 1);

  runFastRecalculation("01", kJan15, quiet());
  expectPlainCounts(plain, "rápido");
  const std::string fast = h.statTipSnapshot();
  runFullRebuild("01", true, quiet());
  expectPlainCounts(plain, "completo");
  EXPECT_EQ(h.statTipSnapshot(), fast);
}
