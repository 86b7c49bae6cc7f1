#include "tools/demo_hotel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "lib/globals.h"
#include "rooms/availability_runs.h"
#include "tools/demo_data.h"
#include "xbase/date.h"

namespace initdb {

using xbase::DbfTable;

namespace {

// ---- The hotel ----

struct ClassDef {
  const char* code;
  const char* descrip;
  double tope;
};

struct TypeDef {
  const char* code;
  const char* descrip;
  const char* clase;
  int adults, children;
  int allotment;  // column of T_ALLOT, 0 = none
  double rate;    // nightly rack rate for two adults
};

struct LocationDef {
  const char* code;
  const char* descrip;
};

const ClassDef kClasses[] = {
    {"STD", "Estándar", 90},
    {"SUP", "Superior", 85},
    {"SUI", "Suite", 0},
};

const TypeDef kTypes[] = {
    {"SGL", "Estándar Sencilla", "STD", 1, 1, 1, 85},      {"DBL", "Estándar Doble", "STD", 2, 2, 2, 110},
    {"TRP", "Estándar Triple", "STD", 3, 1, 0, 135},       {"SUP", "Superior Doble", "SUP", 2, 2, 3, 150},
    {"SUV", "Superior Vista al Mar", "SUP", 2, 2, 4, 185}, {"FAM", "Familiar", "SUP", 4, 3, 0, 210},
    {"JRS", "Junior Suite", "SUI", 2, 1, 5, 280},          {"MST", "Suite Presidencial", "SUI", 4, 2, 0, 650},
};

const LocationDef kLocations[] = {
    {"PB", "Planta Baja"},
    {"P1", "Primer Piso"},
    {"P2", "Segundo Piso"},
    {"P3", "Tercer Piso"},
    {"JARD", "Bungalows del Jardín"},
    {"PLAY", "Villas Frente a la Playa"},
};

// The 120 rooms of one building: location, code prefix and numbers, and their types.
struct Block {
  const char* location;
  const char* prefix;
  int first;
  std::vector<std::pair<const char*, int>> types;  // type, how many (in number order)
};

const std::vector<Block>& layout() {
  static const std::vector<Block> blocks = {
      {"PB", "B", 1, {{"SGL", 6}, {"DBL", 4}}},
      {"P1", "1", 1, {{"SGL", 12}, {"DBL", 14}, {"TRP", 4}}},
      {"P2", "2", 1, {{"DBL", 10}, {"SUP", 14}, {"FAM", 6}}},
      {"P3", "3", 1, {{"SUV", 14}, {"JRS", 6}}},
      {"JARD", "J", 1, {{"SUP", 8}, {"FAM", 8}}},
      {"PLAY", "V", 1, {{"SUV", 6}, {"JRS", 6}, {"MST", 2}}},
  };
  return blocks;
}

struct RoomDef {
  std::string code, tipo, clase, location, descrip;
  int typeIndex = 0;
  bool accessible = false;
};

const TypeDef& typeDef(const std::string& code) {
  for (const TypeDef& t : kTypes)
    if (code == t.code) return t;
  throw std::logic_error("tipo de habitación desconocido " + code);
}

int typeIndex(const std::string& code) {
  for (size_t i = 0; i < std::size(kTypes); ++i)
    if (code == kTypes[i].code) return int(i);
  return 0;
}

std::vector<RoomDef> roomList(int rooms) {
  std::vector<RoomDef> out;
  for (int building = 0; int(out.size()) < rooms; ++building) {
    for (const Block& b : layout()) {
      int n = b.first;
      for (const auto& [tipo, count] : b.types) {
        for (int i = 0; i < count && int(out.size()) < rooms; ++i, ++n) {
          RoomDef r;
          char number[16];
          std::snprintf(number, sizeof number, "%s%02d", b.prefix, n);
          r.code = building == 0 ? std::string(number) : std::string(1, char('A' + building)) + "-" + number;
          r.tipo = tipo;
          r.typeIndex = typeIndex(tipo);
          r.clase = typeDef(tipo).clase;
          r.location = b.location;
          r.accessible = std::string(b.location) == "PB" && std::string(tipo) == "SGL";
          r.descrip = std::string(typeDef(tipo).descrip) + " " + r.code;
          out.push_back(r);
        }
      }
    }
  }
  return out;
}

// ---- Dates ----

int32_t ymd(int y, int m, int d) {
  return xbase::julianFromYmd(y, m, d);
}

// Share of the rooms sold on a date as the hotel sees it on the closing day: the season, and
// for future dates what is already on the books.
double occupancy(int32_t d) {
  xbase::Ymd x = xbase::ymdFromJulian(d);
  double season;
  int md = x.month * 100 + x.day;
  if (md >= 1215 || md <= 415)
    season = 0.86;
  else if (md >= 701 && md <= 831)
    season = 0.76;
  else if (md >= 416 && md <= 515)
    season = 0.62;
  else
    season = 0.52;
  int ahead = d - demoClosingDay();
  if (ahead > 21) season *= std::max(0.30, 1.0 - (ahead - 21) / 420.0);
  return season;
}

// ---- Reservations ----

struct Stay {
  std::string code;  // reservation
  int line = 1, number = 1, lines = 1, rooms = 1;
  int room = -1;  // index in the room list; -1 once unassigned
  int typeIndex = 0;
  int32_t arrival = 0, departure = 0;
  int adults = 2, children = 0, free = 0;
  int estado = 0;
  std::string guarantee, rack, agency, guest, country;
  int32_t booked = 0;
};

struct RoomBlock {
  int room;
  int32_t from, to;
  const char* state;
  const char* reason;
};

struct Plan {
  std::vector<RoomDef> rooms;
  std::vector<Stay> stays;  // grouped by reservation, in reservation order
  std::vector<RoomBlock> blocks;
};

const char* kFirstNames[] = {"María", "José",   "Ana",    "Luis",  "Carmen", "Jorge", "Laura",  "Carlos",
                             "Sofía", "Miguel", "Elena",  "David", "Lucía",  "Pedro", "Isabel", "Andrés",
                             "John",  "Mary",   "Robert", "Emma",  "Hans",   "Greta", "Pierre", "Claire"};
const char* kSurnames[] = {"Rodríguez", "González", "Hernández", "Jiménez", "Vargas", "Rojas",   "Mora",
                           "Castro",    "Solís",    "Araya",     "Quesada", "Smith",  "Johnson", "Miller",
                           "Schneider", "Müller",   "Dubois",    "Martin",  "Alfaro", "Chaves"};
const char* kCountries[] = {"CR", "CR", "CR", "USA", "USA", "CAN", "ESP", "MEX"};

struct RackDef {
  const char* code;
  const char* descrip;
  const char* clase;
  int source;
  double factor;
};

const RackDef kRacks[] = {
    {"RACK", "Tarifa Rack", "STD", 0, 1.0},          {"CORP", "Tarifa Corporativa", "STD", 0, 0.85},
    {"PAQ", "Paquete Todo Incluido", "SUP", 0, 1.3}, {"WEB", "Tarifa Internet", "STD", 0, 0.92},
    {"MAYO", "Tarifa Mayorista", "STD", 0, 0.75},    {"CASA", "Uso de Casa", "STD", 1, 0.0},
};

struct GuaranteeDef {
  const char* code;
  const char* descrip;
  int category;
  int houseUse;
};

const GuaranteeDef kGuarantees[] = {
    {"GT", "Garantizada con Tarjeta", 0, 0}, {"DE", "Con Depósito", 1, 0},
    {"CR", "Crédito de Agencia", 2, 0},      {"SG", "Sin Garantía", 3, 0},
    {"CA", "Cortesía de la Casa", 4, 1},
};

const char* kAgencies[] = {"", "", "", "EXPEDIA", "BOOKING", "VIAJESOL", "TURISOL", "CORPTEC"};

struct ListEntry {
  const char* code;
  const char* descrip;
};

const ListEntry kAgencyNames[] = {{"EXPEDIA", "Expedia"},
                                  {"BOOKING", "Booking.com"},
                                  {"VIAJESOL", "Viajes del Sol Mayorista"},
                                  {"TURISOL", "Turismo Solidario S.A."},
                                  {"CORPTEC", "Corporación Tecnológica"}};

const ListEntry kAccessories[] = {{"AIRE", "Aire Acondicionado"},
                                  {"TV", "Televisión por Cable"},
                                  {"CAJA", "Caja de Seguridad"},
                                  {"MINI", "Minibar"},
                                  {"SECA", "Secadora de Pelo"},
                                  {"BALC", "Balcón"},
                                  {"JACU", "Jacuzzi"}};

const ListEntry kQualities[] = {{"VMAR", "Vista al Mar"},
                                {"VJAR", "Vista al Jardín"},
                                {"SILE", "Lado Silencioso"},
                                {"PISC", "Cerca de la Piscina"},
                                {"ASCE", "Cerca del Ascensor"}};

// The allotment contracts: agency, class, column and rooms.
struct AllotDef {
  const char* agency;
  const char* clase;
  int column;
  int rooms;
};
const AllotDef kAllotments[] = {
    {"VIAJESOL", "STD", 1, 3}, {"VIAJESOL", "STD", 2, 5}, {"TURISOL", "SUP", 3, 4},
    {"TURISOL", "SUP", 4, 2},  {"TURISOL", "SUI", 5, 1},
};

class Random {
 public:
  explicit Random(uint32_t seed) : g_(seed) {}
  int below(int n) { return n <= 0 ? 0 : int(g_() % uint32_t(n)); }
  double unit() { return double(g_()) / 4294967296.0; }
  bool chance(double p) { return unit() < p; }

 private:
  std::mt19937 g_;
};

std::string reservationCode(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "R%06d", n);
  return buf;
}

int stayLength(Random& rnd, const TypeDef& t) {
  static const int lengths[] = {1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6, 7, 7, 10, 14};
  int n = lengths[rnd.below(int(std::size(lengths)))];
  if (std::string(t.clase) == "SUI" && n < 3) n += 2;
  return n;
}

Plan buildPlan(int roomCount) {
  Plan plan;
  plan.rooms = roomList(roomCount);
  const int32_t closing = demoClosingDay(), first = demoFirstDay(), last = demoLastDay();
  Random rnd(20260115u);

  // Rooms out of the inventory or blocked for a while, in every building.
  for (size_t r = 0; r < plan.rooms.size(); ++r) {
    const std::string& c = plan.rooms[r].code;
    std::string number = c.substr(c.find('-') == std::string::npos ? 0 : c.find('-') + 1);
    if (number == "J07") plan.blocks.push_back({int(r), closing - 5, closing + 9, "07", "Filtración en el techo"});
    if (number == "105") plan.blocks.push_back({int(r), closing - 3, closing + 3, "06", "Cambio de alfombra"});
    if (number == "212")
      plan.blocks.push_back({int(r), ymd(2026, 3, 1), ymd(2026, 3, 7), "07", "Pintura y reparación de baño"});
    if (number == "V12") plan.blocks.push_back({int(r), closing + 5, closing + 7, "06", "Sesión de fotos"});
    if (number == "B03") plan.blocks.push_back({int(r), ymd(2026, 6, 1), ymd(2026, 6, 20), "07", "Remodelación"});
  }
  auto blocked = [&](int room, int32_t from, int32_t to) {  // a stay [from, to) touching a block
    for (const RoomBlock& b : plan.blocks)
      if (b.room == room && from <= b.to && to > b.from) return true;
    return false;
  };

  // Each room's timeline: taken nights, so that groups and single stays never overlap.
  std::vector<std::set<int32_t>> taken(plan.rooms.size());
  int nextCode = 1;
  auto reserve = [&](Stay s) {
    for (int32_t d = s.arrival; d < s.departure; ++d) taken[size_t(s.room)].insert(d);
    plan.stays.push_back(std::move(s));
  };
  auto isFree = [&](int room, int32_t from, int32_t to) {
    if (blocked(room, from, to)) return false;
    for (int32_t d = from; d < to; ++d)
      if (taken[size_t(room)].count(d)) return false;
    return true;
  };
  auto person = [&](Stay& s) {
    s.guest = std::string(kSurnames[rnd.below(int(std::size(kSurnames)))]) + " " +
              kSurnames[rnd.below(int(std::size(kSurnames)))] + ", " +
              kFirstNames[rnd.below(int(std::size(kFirstNames)))];
    s.country = kCountries[rnd.below(int(std::size(kCountries)))];
  };

  // Groups: several rooms of one type on one line, the same dates.
  for (int g = 0; g < 4 + int(plan.rooms.size()) / 12; ++g) {
    int32_t arrival = first + 5 + rnd.below(last - first - 20);
    int nights = 2 + rnd.below(4);
    int ti = rnd.below(6);  // not the suites
    int wanted = 3 + rnd.below(3);
    std::vector<int> rooms;
    for (size_t r = 0; r < plan.rooms.size() && int(rooms.size()) < wanted; ++r)
      if (plan.rooms[r].typeIndex == ti && isFree(int(r), arrival, arrival + nights)) rooms.push_back(int(r));
    if (rooms.size() < 3) continue;
    std::string code = reservationCode(nextCode++);
    Stay base;
    base.code = code;
    base.typeIndex = ti;
    base.arrival = arrival;
    base.departure = arrival + nights;
    base.rooms = int(rooms.size());
    base.guarantee = "CR";
    base.rack = "MAYO";
    base.agency = rnd.chance(0.5) ? "VIAJESOL" : "TURISOL";
    base.booked = std::min(closing, arrival - 60 - rnd.below(90));
    person(base);
    base.guest = "Grupo " + std::string(kSurnames[rnd.below(int(std::size(kSurnames)))]);
    for (size_t i = 0; i < rooms.size(); ++i) {
      Stay s = base;
      s.number = int(i) + 1;
      s.room = rooms[i];
      s.adults = 2;
      reserve(s);
    }
  }
  // Single stays, room by room.
  for (size_t r = 0; r < plan.rooms.size(); ++r) {
    const TypeDef& t = kTypes[plan.rooms[r].typeIndex];
    int32_t d = first - 14;
    while (d <= last) {
      double o = std::clamp(occupancy(std::max(d, first)), 0.05, 0.97);
      double meanGap = 3.4 * (1.0 - o) / o;
      int gap = 0;
      while (gap < 60 && rnd.unit() > 1.0 / (1.0 + meanGap)) ++gap;
      int32_t arrival = d + gap;
      if (arrival > last) break;
      int32_t departure = arrival + stayLength(rnd, t);
      if (!isFree(int(r), arrival, departure)) {
        d = arrival + 1;
        continue;
      }
      Stay s;
      s.code = reservationCode(nextCode++);
      s.room = int(r);
      s.typeIndex = plan.rooms[r].typeIndex;
      s.arrival = arrival;
      s.departure = departure;
      s.adults = std::max(1, std::min(t.adults, 1 + rnd.below(t.adults + 1)));
      s.children = t.children > 0 && rnd.chance(0.3) ? 1 + rnd.below(t.children) : 0;
      s.free = s.children > 0 && rnd.chance(0.3) ? 1 : 0;
      int pick = rnd.below(20);
      s.rack = pick < 8 ? "RACK" : pick < 12 ? "WEB" : pick < 15 ? "CORP" : pick < 19 ? "PAQ" : "CASA";
      s.guarantee = s.rack == "CASA" ? "CA" : pick % 3 == 0 ? "DE" : pick % 4 == 1 ? "SG" : "GT";
      s.agency = kAgencies[rnd.below(int(std::size(kAgencies)))];
      if (!s.agency.empty() && s.rack != "CASA") s.guarantee = "CR";
      s.booked = std::min(closing, arrival - rnd.below(120));
      person(s);
      reserve(s);
      d = departure;
    }
  }
  std::stable_sort(plan.stays.begin(), plan.stays.end(), [](const Stay& a, const Stay& b) { return a.code < b.code; });

  // States on the closing day; some future stays not yet assigned, a few cancelled or no-shows.
  for (Stay& s : plan.stays) {
    if (s.departure < closing)
      s.estado = 2;
    else if (s.arrival < closing)
      s.estado = 1;
    else
      s.estado = 0;
    if (s.departure == closing && rnd.chance(0.4)) s.estado = 2;  // already checked out today
    if (s.rooms == 1) {
      if (s.estado == 0 && s.arrival > closing + 45 && rnd.chance(0.4)) s.room = -1;
      if (s.estado == 0 && rnd.chance(0.03)) s.estado = 3;                               // cancelled
      if (s.estado == 2 && s.departure < closing - 2 && rnd.chance(0.02)) s.estado = 4;  // no-show
    }
  }
  return plan;
}

double nightlyRate(const Stay& s) {
  for (const RackDef& r : kRacks)
    if (s.rack == r.code) return kTypes[s.typeIndex].rate * r.factor;
  return kTypes[s.typeIndex].rate;
}

const RackDef& rackDef(const std::string& code) {
  for (const RackDef& r : kRacks)
    if (code == r.code) return r;
  return kRacks[0];
}

// ---- Writing ----

std::unique_ptr<DbfTable> tableOf(const std::string& home, const char* name) {
  return openTable(home, name);
}

// Lists the parameter part of the demo may have written already (states, guarantee and rate
// types, classes, agencies): the record of `code` in business "01" is reused when it exists,
// so that no code is held twice; otherwise one is appended. True when it was appended (the
// caller then gives it its description).
bool recordFor(DbfTable& t, const char* tag, const std::string& code, size_t width, const std::string& negocio = "01") {
  t.setOrder(tag);
  std::string key = code;
  key.resize(width, ' ');
  if (t.seek(negocio + key)) return false;
  t.append();
  t.putString("NEGOCIO", negocio);
  t.putString("CODIGO", code);
  return true;
}

// Business "02", the beach hotel: six rooms of two types in two classes, no reservations
// yet, its reservation table and statistics generated for the demo's year. Small enough
// that a test can put a stay there and read every figure it changes.
void writeBeachHotel(const std::string& home) {
  const std::string neg = "02";
  {
    auto t = tableOf(home, "CLAS_ROM");
    for (auto [code, descrip, count] : {std::tuple{"STD", "Estándar", 4}, std::tuple{"SUI", "Suite", 2}}) {
      if (recordFor(*t, "CLAS_ROM", code, 4, neg)) t->putString("DESCRIP", descrip);
      t->putString("ABREVIA", code);
      t->putNumber("CANTIDAD", count);
      t->putNumber("FACTOR", 1);
    }
  }
  {
    auto t = tableOf(home, "TIPO_ROM");
    // Allotment columns 1 and 0 (none).
    for (auto [code, descrip, clase, count, column] : {std::tuple{"DBL", "Doble Vista Jardín", "STD", 4, 1},
                                                       std::tuple{"JRS", "Junior Suite Frente al Mar", "SUI", 2, 0}}) {
      if (recordFor(*t, "TIPO_ROM", code, 4, neg)) t->putString("DESCRIP", descrip);
      t->putString("ABREVIA", code);
      t->putString("CLASE", clase);
      t->putNumber("CANTIDAD", count);
      t->putNumber("CANT_ADULT", 2);
      t->putNumber("CANT_NINHO", 2);
      t->putNumber("FACTOR", 1);
      t->putNumber("ALLOTMENT", column);
      t->putString("COD_RACK", "RACK");
    }
  }
  {
    auto t = tableOf(home, "UBIC_ROM");
    if (recordFor(*t, "UBIC_ROM", "PLAY", 4, neg)) t->putString("DESCRIP", "Frente a la Playa");
    auto rooms = tableOf(home, "ROOMS");
    for (auto [code, tipo, clase] :
         {std::tuple{"P01", "DBL", "STD"}, std::tuple{"P02", "DBL", "STD"}, std::tuple{"P03", "DBL", "STD"},
          std::tuple{"P04", "DBL", "STD"}, std::tuple{"P05", "JRS", "SUI"}, std::tuple{"P06", "JRS", "SUI"}}) {
      rooms->append();
      rooms->putString("NEGOCIO", neg);
      rooms->putString("CODIGO", code);
      rooms->putString("DESCRIP", std::string(std::string(tipo) == "DBL" ? "Doble " : "Junior Suite ") + code);
      rooms->putString("TIPO", tipo);
      rooms->putString("CLASE", clase);
      rooms->putString("UBICA", "PLAY");
      rooms->putString("T_EST_HA", "01");
      rooms->putNumber("INCLU_INV", 1);
    }
  }
  {
    auto t = tableOf(home, "T_EST_HA");
    for (auto [code, descrip, blocked, out] :
         {std::tuple{"01", "Libre Limpia", 0, 0}, std::tuple{"02", "Libre Sucia", 0, 0},
          std::tuple{"04", "Ocupada", 0, 0}, std::tuple{"06", "Bloqueada", 1, 0},
          std::tuple{"07", "Fuera de Servicio", 1, 1}}) {
      if (recordFor(*t, "T_EST_HA", code, 2, neg)) t->putString("DESCRIP", descrip);
      t->putNumber("BLOQUEADO", blocked);
      t->putNumber("OUTORDER", out);
    }
    auto g = tableOf(home, "E_T_RES");
    for (const GuaranteeDef& d : kGuarantees) {
      if (recordFor(*g, "E_T_RES", d.code, 2, neg)) g->putString("DESCRIP", d.descrip);
      g->putNumber("C_STAT_TIP", d.category);
    }
    auto r = tableOf(home, "ENC_RACK");
    if (recordFor(*r, "ENC_RACK", "RACK", 4, neg)) r->putString("DESCRIP", "Tarifa Rack");
    r->putString("CLASE", "STD");
  }
  auto h = tableOf(home, "F_HOTEL");
  h->setOrder("F_HOTEL");
  if (!h->seek(neg)) {
    h->append();
    h->putString("NEGOCIO", neg);
  }
  h->putDate("CIERRE_DIA", demoClosingDay());
  h->putNumber("CANT_ROOMS", 6);
  if (h->getString("LIBRE").find_first_not_of(' ') == std::string::npos) h->putString("LIBRE", "01");
  auto h3 = tableOf(home, "F_HOTEL3");
  h3->setOrder("F_HOTEL3");
  if (!h3->seek(neg)) {
    h3->append();
    h3->putString("NEGOCIO", neg);
  }
  h3->putNumber("TIPO_STAT", 1);
}

void writeMasterData(const std::string& home, const Plan& plan) {
  {
    auto t = tableOf(home, "CLAS_ROM");
    for (const ClassDef& c : kClasses) {
      int count = 0;
      for (const RoomDef& r : plan.rooms) count += r.clase == c.code;
      if (recordFor(*t, "CLAS_ROM", c.code, 4)) t->putString("DESCRIP", c.descrip);
      t->putString("ABREVIA", std::string(c.code));
      t->putNumber("CANTIDAD", count);
      t->putNumber("FACTOR", 1);
      t->putNumber("TOPE1", c.tope);
    }
  }
  {
    auto t = tableOf(home, "TIPO_ROM");
    for (const TypeDef& ty : kTypes) {
      int count = 0;
      for (const RoomDef& r : plan.rooms) count += r.tipo == ty.code;
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", ty.code);
      t->putString("DESCRIP", ty.descrip);
      t->putString("ABREVIA", ty.code);
      t->putString("CLASE", ty.clase);
      t->putNumber("CANTIDAD", count);
      t->putNumber("CANT_MIN", 1);
      t->putNumber("CANT_ADULT", ty.adults);
      t->putNumber("CANT_NINHO", ty.children);
      t->putNumber("FACTOR", 1);
      t->putNumber("ALLOTMENT", ty.allotment);
      t->putString("COD_RACK", "RACK");
      t->putNumber("SHOW_WEB", std::string(ty.code) == "MST" ? 0 : 1);
      t->putNumber("TOPE1", std::string(ty.clase) == "SUI" ? 0 : 95);
    }
  }
  {
    auto t = tableOf(home, "UBIC_ROM");
    for (const LocationDef& l : kLocations) {
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", l.code);
      t->putString("DESCRIP", l.descrip);
    }
  }
  {
    struct StateDef {
      const char* code;
      const char* descrip;
      int blocked, outOfOrder;
      uint32_t fg, bg;
    };
    const StateDef states[] = {
        {"01", "Libre Limpia", 0, 0, 0x000000, 0xFFFFFF},      {"02", "Libre Sucia", 0, 0, 0x000000, 0xFFE0B2},
        {"03", "Reservada", 0, 0, 0x000000, 0xCCE5FF},         {"04", "Ocupada", 0, 0, 0xFFFFFF, 0x1565C0},
        {"05", "Salida del Día", 0, 0, 0x000000, 0xFFF59D},    {"06", "Bloqueada", 1, 0, 0xFFFFFF, 0x757575},
        {"07", "Fuera de Servicio", 1, 1, 0xFFFFFF, 0xC62828}, {"08", "En Inspección", 0, 0, 0x000000, 0xE1BEE7},
    };
    auto t = tableOf(home, "T_EST_HA");
    for (const StateDef& s : states) {
      if (recordFor(*t, "T_EST_HA", s.code, 2)) t->putString("DESCRIP", s.descrip);
      t->putNumber("BLOQUEADO", s.blocked);
      t->putNumber("OUTORDER", s.outOfOrder);
      t->putNumber("COLOR_FG", s.fg);
      t->putNumber("COLOR_BG", s.bg);
    }
  }
  {
    auto t = tableOf(home, "E_T_RES");
    for (const GuaranteeDef& g : kGuarantees) {
      if (recordFor(*t, "E_T_RES", g.code, 2)) {
        t->putString("DESCRIP", g.descrip);
        t->putNumber("FACTOR", 1);
        t->putNumber("DIA_NOSHOW", 1);
        t->putNumber("F_PAGO", std::string(g.code) == "DE" ? 1 : 0);
      }
      t->putNumber("C_STAT_TIP", g.category);
      t->putNumber("USO_CASA", g.houseUse);
    }
  }
  {
    auto t = tableOf(home, "ENC_RACK");
    for (const RackDef& r : kRacks) {
      if (recordFor(*t, "ENC_RACK", r.code, 4)) {
        t->putString("DESCRIP", r.descrip);
        t->putNumber("TIP_CAMBIO", 1);
        t->putNumber("COBRADO", r.factor > 0 ? 1 : 0);
        t->putNumber("EN_WALKIN", 1);
      }
      t->putString("CLASE", r.clase);
      t->putNumber("TIP_SOURCE", r.source);
    }
  }
  {
    auto t = tableOf(home, "AGENCIAS");
    for (const ListEntry& a : kAgencyNames)
      if (recordFor(*t, "AGENCIAS", a.code, 15)) t->putString("DESCRIP", a.descrip);
  }
  {
    auto t = tableOf(home, "ACC_ROM");
    for (const ListEntry& a : kAccessories)
      if (recordFor(*t, "ACC_ROM", a.code, 4)) t->putString("DESCRIP", a.descrip);
    auto q = tableOf(home, "CUAL_ROM");
    for (const ListEntry& c : kQualities)
      if (recordFor(*q, "CUAL_ROM", c.code, 4)) {
        q->putString("DESCRIP", c.descrip);
        q->putNumber("SHOW_REG", std::string(c.code) == "VMAR" || std::string(c.code) == "SILE" ? 1 : 0);
      }
    // One row per room and accessory (quality), as the room editor leaves them.
    auto d1 = tableOf(home, "DET_ROM1");
    auto d2 = tableOf(home, "DET_ROM2");
    for (const RoomDef& r : plan.rooms) {
      const std::string& c = r.clase;
      bool building = r.location != "JARD" && r.location != "PLAY";
      for (const ListEntry& a : kAccessories) {
        std::string code = a.code;
        bool has = code == "AIRE" || code == "TV" || code == "CAJA" || (code == "MINI" && c != "STD") ||
                   (code == "SECA" && c != "STD") || (code == "BALC" && (r.location == "P2" || r.location == "P3")) ||
                   (code == "JACU" && c == "SUI");
        d1->append();
        d1->putString("NEGOCIO", "01");
        d1->putString("ROOM", r.code);
        d1->putString("CODIGO", code);
        d1->putNumber("CHECK1", has ? 1 : 0);
      }
      for (const ListEntry& q2 : kQualities) {
        std::string code = q2.code;
        bool has = (code == "VMAR" && (r.tipo == "SUV" || r.location == "PLAY")) ||
                   (code == "VJAR" && r.location == "JARD") || (code == "SILE" && r.location == "P3") ||
                   (code == "PISC" && (r.location == "PB" || r.location == "JARD")) ||
                   (code == "ASCE" && building && r.code.size() >= 2 && r.code.substr(r.code.size() - 2) == "01");
        d2->append();
        d2->putString("NEGOCIO", "01");
        d2->putString("ROOM", r.code);
        d2->putString("CODIGO", code);
        d2->putNumber("CHECK1", has ? 1 : 0);
      }
    }
  }
  {
    auto t = tableOf(home, "ROOMS");
    for (size_t i = 0; i < plan.rooms.size(); ++i) {
      const RoomDef& r = plan.rooms[i];
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", r.code);
      t->putString("DESCRIP", r.descrip);
      t->putString("TIPO", r.tipo);
      t->putString("CLASE", r.clase);
      t->putString("UBICA", r.location);
      t->putString("T_EST_HA", "01");
      t->putNumber("MINUSVA", r.accessible ? 1 : 0);
      t->putNumber("INCLU_INV", 1);
      t->putNumber("FUMADO", 0);
      // Two pairs of connecting family rooms on the second floor.
      const std::string& c = r.code;
      if (c == "225" || c == "226" || c == "227" || c == "228") {
        std::string other = c == "225" ? "226" : c == "226" ? "225" : c == "227" ? "228" : "227";
        t->putString("CONNECT_TO", "Conecta con la " + other);
        t->putString("COD_ROOM2", other);
      }
    }
  }
}

void writeParameters(const std::string& home, int rooms) {
  auto t = tableOf(home, "F_HOTEL");
  t->setOrder("F_HOTEL");
  if (!t->seek("01")) {
    t->append();
    t->putString("NEGOCIO", "01");
  }
  t->putDate("CIERRE_DIA", demoClosingDay());
  t->putNumber("CANT_ROOMS", rooms);
  if (t->getDate("F_INICIO") == 0) t->putDate("F_INICIO", ymd(2015, 6, 1));
  // The room states the front desk sets: only where the parameters name none yet.
  const std::pair<const char*, const char*> states[] = {{"LIBRE", "01"},      {"LIBRE_RES", "03"},
                                                        {"OUT_EST_HA", "02"}, {"IN_EST_HA", "04"},
                                                        {"ULT_EST_HA", "05"}, {"CAMBIO_HAB", "02"}};
  for (const auto& [field, code] : states)
    if (t->getString(field).find_first_not_of(' ') == std::string::npos) t->putString(field, code);
  t->flush();
  auto t3 = tableOf(home, "F_HOTEL3");
  t3->setOrder("F_HOTEL3");
  if (!t3->seek("01")) {
    t3->append();
    t3->putString("NEGOCIO", "01");
  }
  t3->putNumber("TIPO_STAT", 1);
}

void writeReservations(const std::string& home, const Plan& plan) {
  auto headers = tableOf(home, "ENC_RES");
  auto lines = tableOf(home, "DET_RES1");
  auto stays = tableOf(home, "DET_RES2");
  auto nights = tableOf(home, "DET_RES9");
  const int32_t first = demoFirstDay();
  for (size_t i = 0; i < plan.stays.size(); ++i) {
    const Stay& s = plan.stays[i];
    const TypeDef& type = kTypes[s.typeIndex];
    const RackDef& rack = rackDef(s.rack);
    double rate = nightlyRate(s);
    double extraAdults = s.adults > 2 ? (s.adults - 2) * 25.0 * rack.factor : 0;
    double children = (s.children - s.free) * 15.0 * rack.factor;
    bool firstOfReservation = i == 0 || plan.stays[i - 1].code != s.code;
    if (firstOfReservation) {
      headers->append();
      headers->putString("NEGOCIO", "01");
      headers->putString("CODIGO", s.code);
      headers->putString("TIPO", s.guarantee);
      headers->putString("COD_RACK", s.rack);
      headers->putString("AGENCIA", s.agency);
      headers->putDate("F_DIGITA", s.booked);
      headers->putDate("F_INICIO", s.arrival);
      headers->putString("NOMBRE", s.guest);
      headers->putString("PAIS", s.country);
      headers->putString("IDIOMA", s.country == "CR" || s.country == "ESP" || s.country == "MEX" ? "ES" : "EN");
      lines->append();
      lines->putString("NEGOCIO", "01");
      lines->putString("COD_RES", s.code);
      lines->putString("COD_HAB", "01");
      lines->putString("TIPO_ROM", type.code);
      lines->putNumber("CANTIDAD", s.rooms);
      lines->putNumber("PRECIO", (rate + extraAdults + children) * (s.departure - s.arrival) * s.rooms);
    }
    char number[4];
    std::snprintf(number, sizeof number, "%02d", s.number);
    stays->append();
    stays->putString("NEGOCIO", "01");
    stays->putString("COD_RES", s.code);
    stays->putString("COD_HAB", "01");
    stays->putString("CODIGO", number);
    stays->putString("COD_ROOMS", s.room >= 0 ? plan.rooms[size_t(s.room)].code : "");
    stays->putNumber("ESTADO", s.estado);
    stays->putDate("F_INICIO", s.arrival);
    stays->putDate("F_FINAL", s.departure);
    stays->putNumber("N_ADULT", s.adults);
    stays->putNumber("N_NINHO", s.children);
    stays->putNumber("N_GRATIS", s.free);
    stays->putNumber("P_ADULT_R", rate);
    stays->putNumber("P_ADULT_E", extraAdults);
    stays->putNumber("P_NINHO_R", children);
    stays->putNumber("P_NINHO_E", 0);
    stays->putString("NOMBRE_C", s.guest);
    stays->putString("ID_UNICO", s.code + "-01-" + number);
    stays->putString("PAIS", s.country);
    // The nightly rows, arrival to departure inclusive, within the year and a little before.
    for (int32_t d = std::max(s.arrival, first - 14); d <= s.departure; ++d) {
      bool night = d < s.departure;
      nights->append();
      nights->putString("NEGOCIO", "01");
      nights->putDate("FECHA", d);
      nights->putString("COD_RES", s.code);
      nights->putString("COD_HAB", "01");
      nights->putString("CODIGO", number);
      nights->putNumber("N_ADULT", s.adults);
      nights->putNumber("N_NINHO", s.children);
      nights->putNumber("N_GRATIS", s.free);
      nights->putString("AGENCIA", s.agency);
      nights->putString("CLASE", type.clase);  // the statistics switch: by room type
      nights->putString("TIPO_ROM", type.code);
      nights->putNumber("TIP_SOURCE", rack.source);
      nights->putDate("F_DIGITA", s.booked);
      if (night) {
        for (const char* p : {"P", "H", "PO", "PD"}) {
          nights->putNumber(std::string(p) + "_ADULT_R", rate);
          nights->putNumber(std::string(p) + "_ADULT_E", extraAdults);
          nights->putNumber(std::string(p) + "_NINHO_R", children);
        }
        if (d < demoClosingDay()) {
          nights->putNumber("R_ADULT_R", rate);
          nights->putNumber("R_ADULT_E", extraAdults);
          nights->putNumber("R_NINHO_R", children);
        }
        if (!s.agency.empty()) nights->putNumber("COMISION", rate * 0.1);
      }
    }
  }
}

void writeAllotments(const std::string& home, const Plan& plan) {
  // Rooms each contract's agency holds per date and type (its stays on the contract's types).
  std::map<std::pair<int32_t, std::string>, int> used;  // (date, agency + type) -> rooms
  for (const Stay& s : plan.stays) {
    if (s.estado > 2 || s.agency.empty()) continue;
    for (int32_t d = s.arrival; d < s.departure; ++d) ++used[{d, s.agency + kTypes[s.typeIndex].code}];
  }
  auto t = tableOf(home, "T_ALLOT");
  const int32_t closing = demoClosingDay();
  for (int32_t d = demoFirstDay(); d <= demoLastDay(); ++d) {
    for (const AllotDef& a : kAllotments) {
      std::string type;
      for (const TypeDef& ty : kTypes)
        if (ty.allotment == a.column) type = ty.code;
      int contracted = a.rooms;
      int inUse = std::min(contracted, used[{d, std::string(a.agency) + type}]);
      t->append();
      t->putString("NEGOCIO", "01");
      t->putDate("FECHA", d);
      t->putString("CLASE", a.clase);
      t->putString("AGENCIA", a.agency);
      std::string n = std::to_string(a.column);
      t->putNumber("TIPO_ROM" + n, contracted);
      t->putNumber("USO_ROM" + n, inUse);
      // Free allotment is released 14 days before the date.
      t->putNumber("C_LIB_RO" + n, d > closing + 14 ? contracted - inUse : 0);
    }
  }
}

// Process-wide state so that the program's runs open the tables of `home`.
void useFolder(const std::string& home) {
  lib::Globals& g = lib::G();
  g.PATH = home;
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
}

}  // namespace

int32_t demoClosingDay() {
  return ymd(2026, 1, 15);
}
int32_t demoFirstDay() {
  return demoClosingDay() - 30;
}
int32_t demoLastDay() {
  return demoFirstDay() + 364;
}

void addHotelData(const std::string& home, int rooms) {
  Plan plan = buildPlan(rooms);
  writeMasterData(home, plan);
  writeParameters(home, rooms);
  writeReservations(home, plan);
  writeAllotments(home, plan);
  useFolder(home);
}

void applyReservationNights(const std::string& home, int rooms) {
  Plan plan = buildPlan(rooms);
  const int32_t closing = demoClosingDay(), first = demoFirstDay(), last = demoLastDay();
  auto tab = tableOf(home, "TAB_RESE");
  tab->setOrder("TAB_RES2");
  auto night = [&](int room, int32_t d) {
    if (d < first || d > last) return false;
    std::string code = plan.rooms[size_t(room)].code;
    code.resize(15, ' ');
    return tab->seek("01" + code + xbase::dtos(d));
  };
  // Stays in arrival order: a night written later (the next guest) wins over a departure day.
  std::vector<const Stay*> order;
  for (const Stay& s : plan.stays)
    if (s.room >= 0 && s.estado <= 2) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const Stay* a, const Stay* b) { return a->arrival < b->arrival; });
  for (const Stay* s : order) {
    for (int32_t d = s->arrival; d <= s->departure; ++d) {
      if (!night(s->room, d)) continue;
      if (s->estado == 0) {
        if (d == s->departure) continue;
        tab->putString("PRE_RES", s->code);
        tab->putNumber("PREASIGN", 1);
        // A guest leaving that morning keeps the day's state and reservation.
        if (tab->getString("RESERVA").find_first_not_of(' ') == std::string::npos) tab->putString("T_EST_HA", "03");
      } else {
        tab->putString("RESERVA", s->code);
        tab->putString("T_EST_HA", d < s->departure ? "04" : "05");
        tab->putNumber("PREASIGN", 0);
        tab->putString("PRE_RES", "");
      }
      tab->putDate("F_FINAL", s->departure);
    }
  }
  for (const RoomBlock& b : plan.blocks)
    for (int32_t d = b.from; d <= b.to; ++d) {
      if (!night(b.room, d)) continue;
      tab->putString("T_EST_HA", b.state);
      tab->putDate("F_FINAL", b.to);
      tab->putString("MOTIVO_BLO", b.reason);
    }
  tab.reset();

  // The rooms as the front desk leaves them on the closing day.
  std::vector<std::pair<std::string, std::string>> now(plan.rooms.size(), {"01", ""});  // state, reservation
  for (const Stay& s : plan.stays) {
    if (s.room < 0) continue;
    auto& r = now[size_t(s.room)];
    if (s.estado == 1) r = {s.departure == closing ? "05" : "04", s.code};
    if (s.estado == 2 && s.departure == closing && r.second.empty()) r.first = "02";  // left this morning
  }
  for (const RoomBlock& b : plan.blocks)
    if (b.from <= closing && closing <= b.to) now[size_t(b.room)] = {b.state, ""};
  auto roomsTable = tableOf(home, "ROOMS");
  roomsTable->setOrder("ROOMS");
  for (size_t i = 0; i < plan.rooms.size(); ++i) {
    std::string code = plan.rooms[i].code;
    code.resize(15, ' ');
    if (!roomsTable->seek("01" + code)) continue;
    roomsTable->putString("T_EST_HA", now[i].first);
    roomsTable->putString("COD_RES", now[i].second);
  }
}

void addHotelDemo(const std::string& home) {
  const int rooms = 120;
  addHotelData(home, rooms);
  rooms::Progress quiet;
  rooms::runGeneration("01", demoFirstDay(), demoLastDay(), quiet);
  applyReservationNights(home, rooms);
  rooms::runFullRebuild("01", true, quiet);
  writeBeachHotel(home);
  rooms::runGeneration("02", demoFirstDay(), demoLastDay(), quiet);
}

}  // namespace initdb
