// The demo hotel worked on as its staff would: rooms added, retyped within their class and into
// another (their stays moving with them) and deleted, each through the routines the rooms
// screens call. Afterwards the availability rows from the closing day are what a full rebuild
// and a fast recalculation give, and the room counters are what a recount gives.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lib/globals.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_runs.h"
#include "rooms/hotel_day.h"
#include "rooms/hotel_folder.h"
#include "rooms/room_counters.h"
#include "support/demo_hotel_test.h"
#include "xbase/date.h"

using namespace rooms;
using rooms_testing::HotelFolder;

namespace {

Progress& quiet() {
  static Progress p;
  return p;
}

// A program folder made by configura-initdb --demo, open as the program opens it.
class DemoHotel : public testing_support::DemoHotelTest {};

// Business "01"'s rooms (code -> type) and types (code -> class).
std::map<std::string, std::string> roomsOfBusiness() {
  std::map<std::string, std::string> out;
  auto r = lib::USE(nullptr, "ROOMS", "ROOMS");
  for (r->Seek("01", true); !r->Eof() && r->S("NEGOCIO") == "01"; r->Skip(1)) out[r->S("CODIGO")] = r->S("TIPO");
  lib::KILLTABLA(r);
  return out;
}

std::map<std::string, std::string> typesOfBusiness() {
  std::map<std::string, std::string> out;
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  for (t->Seek("01", true); !t->Eof() && t->S("NEGOCIO") == "01"; t->Skip(1)) out[t->S("CODIGO")] = t->S("CLASE");
  lib::KILLTABLA(t);
  return out;
}

// The rooms holding a counted stay (ESTADO 0 to 2) that leaves on `desde` or later.
std::set<std::string> roomsWithStays(int32_t desde) {
  std::set<std::string> out;
  auto s = lib::USE(nullptr, "DET_RES2", "DET_RES2");
  for (s->Seek("01", true); !s->Eof() && s->S("NEGOCIO") == "01"; s->Skip(1))
    if (!s->S("COD_ROOMS").empty() && s->N("ESTADO") <= 2 && s->D("F_FINAL") >= desde) out.insert(s->S("COD_ROOMS"));
  lib::KILLTABLA(s);
  return out;
}

// The rooms whose reservation-table row is in a blocked state on some date from `desde` on.
std::set<std::string> blockedRooms(int32_t desde) {
  std::set<std::string> states, out;
  auto e = lib::USE(nullptr, "T_EST_HA", "T_EST_HA");
  for (e->Seek("01", true); !e->Eof() && e->S("NEGOCIO") == "01"; e->Skip(1))
    if (e->N("BLOQUEADO") == 1) states.insert(e->S("CODIGO"));
  lib::KILLTABLA(e);
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RESE");
  for (t->Seek("01", true); !t->Eof() && t->S("NEGOCIO") == "01"; t->Skip(1))
    if (t->D("FECHA") >= desde && states.count(t->S("T_EST_HA"))) out.insert(t->S("CODIGO"));
  lib::KILLTABLA(t);
  return out;
}

// The standard's Mersenne twister gives the same numbers everywhere; the distributions of the
// library would not, so the picks are taken by hand.
class Picker {
 public:
  explicit Picker(uint32_t start) : rng_(start) {}
  size_t below(size_t n) { return size_t(rng_() % n); }
  template <typename C>
  auto one(const C& c) {
    auto it = c.begin();
    std::advance(it, below(c.size()));
    return *it;
  }

 private:
  std::mt19937 rng_;
};

// The lines that differ between two snapshots, the first few of them: what a failure shows.
std::string differences(const std::string& expected, const std::string& actual) {
  std::istringstream a(expected), b(actual);
  std::string x, y, out;
  int shown = 0;
  while (shown < 8) {
    bool more = bool(std::getline(a, x)), moreToo = bool(std::getline(b, y));
    if (!more && !moreToo) break;
    if (x == y) continue;
    out += "- " + (more ? x : "(nada)") + "\n+ " + (moreToo ? y : "(nada)") + "\n";
    ++shown;
  }
  return out;
}

}  // namespace

TEST_F(DemoHotel, RoomChangesKeepTheAvailabilityAndTheCountersAsARebuildFindsThem) {
  const int32_t closing = CIERRE_DIA("01");
  ASSERT_GT(closing, 0);
  const std::map<std::string, std::string> types = typesOfBusiness();
  ASSERT_EQ(types.size(), 8u);
  std::map<std::string, std::string> rooms = roomsOfBusiness();
  ASSERT_GT(rooms.size(), 100u);
  const std::set<std::string> withStays = roomsWithStays(closing), blocked = blockedRooms(closing);
  ASSERT_FALSE(withStays.empty());
  ASSERT_FALSE(blocked.empty());
  // The changes count from the closing day; the rows before it are history, which the full
  // rebuild below recounts with today's rooms.
  const std::string before = HotelFolder::statTipSnapshot(true, closing);

  // Twenty changes: each a room added, a room retyped within its class or into another, or a
  // room deleted; the room taken among those with stays, the blocked ones or all, at random.
  Picker pick(20260115u);
  std::map<std::string, int> done;
  std::string steps;
  int added = 0;
  for (int step = 0; step < 20; ++step) {
    const size_t kind = pick.below(4);
    SCOPED_TRACE("paso " + std::to_string(step));
    if (kind == 0) {
      const std::string code = "N" + std::to_string(++added);
      const std::string tipo = pick.one(types).first;
      rooms_testing::addRoom(code, tipo, closing);
      rooms[code] = tipo;
      ++done["alta"];
      steps += "alta " + code + " " + tipo + "\n";
      continue;
    }
    // The room: one with stays, a blocked one or any, in turn at random.
    std::vector<std::string> pool;
    const size_t from = pick.below(3);
    for (const auto& [code, tipo] : rooms)
      if (from == 2 || (from == 0 ? withStays : blocked).count(code)) pool.push_back(code);
    if (pool.empty()) pool.push_back(rooms.begin()->first);
    const std::string room = pick.one(pool), tipo = rooms[room];
    const std::string what =
        std::string(withStays.count(room) ? " con estadías" : "") + (blocked.count(room) ? " bloqueada" : "");
    if (kind == 3) {
      rooms_testing::deleteRoom(room, closing);
      rooms.erase(room);
      ++done["baja" + what];
      steps += "baja " + room + what + "\n";
      continue;
    }
    std::vector<std::string> targets;
    for (const auto& [code, clase] : types)
      if (code != tipo && (clase == types.at(tipo)) == (kind == 1)) targets.push_back(code);
    const std::string to = pick.one(targets);
    rooms_testing::retype(room, tipo, to, closing);
    rooms[room] = to;
    ++done[std::string(kind == 1 ? "cambio en la clase" : "cambio de clase") + what];
    steps += "cambio " + room + " " + tipo + " -> " + to + what + "\n";
  }
  std::string summary;
  for (const auto& [what, n] : done) summary += what + ": " + std::to_string(n) + "\n";
  RecordProperty("operaciones", summary + steps);
  SCOPED_TRACE(steps);
  // The sequence has every kind of change the screens make, and moves a blocked room.
  for (const char* kind :
       {"alta", "baja", "cambio en la clase con estadías", "cambio de clase con estadías", "bloqueada"}) {
    bool seen = false;
    for (const auto& [what, n] : done) seen = seen || what.find(kind) != std::string::npos;
    EXPECT_TRUE(seen) << kind << "\n" << summary;
  }

  const std::string incremental = HotelFolder::statTipSnapshot(true, closing);
  ASSERT_TRUE(incremental != before);

  // The room counters are the rooms' recount.
  std::map<std::string, int> perClass;
  for (const auto& [code, clase] : types) {
    const double stored = HotelFolder::number("TIPO_ROM", "TIPO_ROM", "01" + lib::padded(code, kCodeWidth), "CANTIDAD");
    int n = 0;
    for (const auto& [room, tipo] : rooms) n += tipo == code;
    EXPECT_EQ(stored, n) << code;
    EXPECT_EQ(stored, RECUENTA_TIPO("01", code)) << code;
    perClass[clase] += n;
  }
  for (const auto& [clase, n] : perClass) {
    const double stored =
        HotelFolder::number("CLAS_ROM", "CLAS_ROM", "01" + lib::padded(clase, kCodeWidth), "CANTIDAD");
    EXPECT_EQ(stored, n) << clase;
    EXPECT_EQ(stored, RECUENTA_CLASE("01", clase)) << clase;
  }
  EXPECT_EQ(HotelFolder::number("F_HOTEL", "F_HOTEL", "01", "CANT_ROOMS"), double(roomsOfBusiness().size()));
  EXPECT_EQ(roomsOfBusiness(), rooms);

  // The full rebuild, the type rows' inventory rebuilt from the room counts, finds the same
  // from the closing day on; so does the fast recalculation from the nightly rows.
  ASSERT_TRUE(runFullRebuild("01", false, quiet()).completed);
  const std::string rebuilt = HotelFolder::statTipSnapshot(true, closing);
  EXPECT_TRUE(rebuilt == incremental) << differences(incremental, rebuilt);
  ASSERT_TRUE(runFastRecalculation("01", closing, quiet()).completed);
  const std::string recalculated = HotelFolder::statTipSnapshot(true, closing);
  EXPECT_TRUE(recalculated == incremental) << differences(incremental, recalculated);
}

namespace {

// The class-total figures of business "01" counted plainly from the stays, per class and date:
// each stay not cancelled (ESTADO 0 to 2) sells the nights from its arrival to the one before
// its departure, under the class of its line's type (the demo counts by type), arrives on its
// arrival date and leaves on its departure date.
struct ClassDay {
  double sold = 0, arrivals = 0, departures = 0;
};
std::map<std::pair<std::string, int32_t>, ClassDay> plainClassDays(const std::map<std::string, std::string>& types) {
  std::map<std::pair<std::string, int32_t>, ClassDay> out;
  auto stays = lib::USE(nullptr, "DET_RES2", "DET_RES2");
  auto lines = lib::USE(nullptr, "DET_RES1", "DET_RES1");
  for (stays->Seek("01", true); !stays->Eof() && stays->S("NEGOCIO") == "01"; stays->Skip(1)) {
    const int32_t arrival = stays->D("F_INICIO"), departure = stays->D("F_FINAL");
    if (stays->N("ESTADO") > 2 || departure < arrival) continue;
    if (!lines->Seek("01" + stays->FieldGet("COD_RES").text + stays->FieldGet("COD_HAB").text)) continue;
    auto type = types.find(lines->S("TIPO_ROM"));
    if (type == types.end()) continue;
    const std::string& clase = type->second;
    for (int32_t d = arrival; d < departure; ++d) out[{clase, d}].sold += 1;
    out[{clase, arrival}].arrivals += 1;
    out[{clase, departure}].departures += 1;
  }
  lib::KILLTABLA(stays);
  lib::KILLTABLA(lines);
  return out;
}

}  // namespace

TEST_F(DemoHotel, BothRecalculationsGiveTheSameRowsOverTheYearAndThePlainCountOfItsStays) {
  const auto [first, last] = fullRebuildRange("01");
  ASSERT_GT(first, 0);
  ASSERT_GT(last, first + 300);
  ASSERT_EQ(HotelFolder::number("F_HOTEL3", "F_HOTEL3", "01", "TIPO_STAT"), 1);
  ASSERT_TRUE(runFullRebuild("01", true, quiet()).completed);
  const std::string rebuilt = HotelFolder::statTipSnapshot(true, first);
  ASSERT_TRUE(runFastRecalculation("01", first, quiet()).completed);
  const std::string fast = HotelFolder::statTipSnapshot(true, first);
  EXPECT_TRUE(fast == rebuilt) << differences(rebuilt, fast);

  const auto plain = plainClassDays(typesOfBusiness());
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP9");
  int compared = 0;
  for (t->Seek("01", true); !t->Eof() && t->S("NEGOCIO") == "01"; t->Skip(1)) {
    const int32_t d = t->D("FECHA");
    if (!t->S("TIPO_ROM").empty() || !t->S("CLASE").empty() || d < first) continue;
    auto it = plain.find({t->S("XCLASE"), d});
    const ClassDay want = it == plain.end() ? ClassDay{} : it->second;
    const std::string where = t->S("XCLASE") + " " + xbase::dtos(d);
    EXPECT_EQ(t->N("RESERVADO"), want.sold) << where;
    EXPECT_EQ(t->N("LLEGAN"), want.arrivals) << where;
    EXPECT_EQ(t->N("SALEN"), want.departures) << where;
    ++compared;
  }
  lib::KILLTABLA(t);
  EXPECT_GT(compared, 3 * 300);
}
