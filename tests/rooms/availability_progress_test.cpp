// The availability runs give their progress window a total for every pass, taken from the
// index the pass walks, and count each row walked: the bar of each pass ends exactly full,
// whatever lies before the start date or belongs to another business unit.
#include <gtest/gtest.h>

#include <vector>

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/availability_runs.h"
#include "rooms/hotel_folder.h"

using namespace rooms;
using lib::Value;
using rooms_testing::day;
using rooms_testing::HotelFolder;

namespace {

const int32_t kJan15 = day(15, 1, 2026);

struct Pass {
  uint64_t total = 0, advanced = 0;
  bool operator==(const Pass&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pass& p) {
  return out << p.advanced << " of " << p.total;
}

// Records what a run tells its progress window about its passes.
class Passes : public Progress {
 public:
  void SET_TOTAL(uint64_t total) override { passes.push_back({total, 0}); }
  void ADVANCE(uint64_t rows) override {
    ASSERT_FALSE(passes.empty()) << "a row counted before any total";
    passes.back().advanced += rows;
  }
  std::vector<Pass> passes;
};

// Two classes, three types and seven rooms of business 01; two stays, one of them from the
// day before the start; and rows of business 02 in the tables the runs walk.
void hotel(HotelFolder& h) {
  h.parameters(kJan15, "01", 1);
  h.roomState("01", "Libre");
  h.roomClass("EST", "Estándar");
  h.roomClass("SUP", "Superior");
  h.roomType("STD", "EST");
  h.roomType("DBL", "EST");
  h.roomType("SUI", "SUP");
  for (const char* r : {"101", "102", "103"}) h.room(r, "STD", "EST");
  for (const char* r : {"104", "105"}) h.room(r, "DBL", "EST");
  for (const char* r : {"201", "202"}) h.room(r, "SUI", "SUP");
  h.guaranteeType("GA", 1);
  h.rateType("RACK", "EST");
  h.reservation("R1", "STD", "EST", "101", kJan15 - 1, kJan15 + 2);  // nights 14 to 17/01
  h.reservation("R2", "SUI", "SUP", "", kJan15 + 3, kJan15 + 4);     // nights 18 and 19/01
  auto st = lib::USE(nullptr, "STAT_TIP");
  auto tab = lib::USE(nullptr, "TAB_RESE");
  auto nights = lib::USE(nullptr, "DET_RES9");
  for (lib::WDBTable* t : {st.get(), tab.get(), nights.get()})
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("02"));
      t->FieldPut("FECHA", Value::date(kJan15 + 1));
    });
}

}  // namespace

TEST(RunProgress, EveryPassAnnouncesTheRowsItWalksAndCountsEachOfThem) {
  HotelFolder h;
  hotel(h);
  {
    Passes p;  // 10 nights from 12/01: each room, then each class, night by night
    ASSERT_TRUE(runGeneration("01", kJan15 - 3, kJan15 + 6, p).completed);
    EXPECT_EQ(p.passes, (std::vector<Pass>{{90, 90}}));
  }
  {
    // From 15/01: 7 nights of 7 rooms and 5 nightly rows counted, then 7 nights of 8
    // availability rows written.
    Passes p;
    ASSERT_TRUE(runFastRecalculation("01", kJan15, p).completed);
    EXPECT_EQ(p.passes, (std::vector<Pass>{{49, 49}, {5, 5}, {56, 56}}));
  }
  {
    Passes p;  // the whole range, 12/01 to 21/01 (closing day less 100 days on): both stays
    ASSERT_TRUE(runFullRebuild("01", true, p).completed);
    EXPECT_EQ(p.passes, (std::vector<Pass>{{70, 70}, {2, 2}, {80, 80}}));
  }
}

TEST(RunProgress, ACancelledPassStopsShortOfItsTotal) {
  HotelFolder h;
  hotel(h);
  Passes generation;
  ASSERT_TRUE(runGeneration("01", kJan15, kJan15 + 6, generation).completed);
  class StopAfterTen : public Passes {
   public:
    bool CANPRINT() override { return passes.empty() || passes.back().advanced < 10; }
  } p;
  EXPECT_FALSE(runFastRecalculation("01", kJan15, p).completed);
  EXPECT_EQ(p.passes, (std::vector<Pass>{{49, 10}}));
}
