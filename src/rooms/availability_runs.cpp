#include "rooms/availability_runs.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/stat_fields.h"
#include "xbase/date.h"

namespace rooms {

using lib::Value;
using lib::WDBTable;

namespace {

constexpr int kAllotmentColumns = 20;

using lib::trim;

// One more row of a pass, counted on the progress window; false (and the run marked
// cancelled) when the user stopped it.
bool nextRow(Progress& progress, RunResult& result) {
  if (!progress.CANPRINT()) {
    result.completed = false;
    return false;
  }
  progress.ADVANCE();
  return true;
}

// Business + date: the start of the date orders (STAT_TIP2, TAB_RESE, DET_RES9, T_ALLOT3...).
std::string dayKey(const std::string& neg, int32_t fecha) {
  return neg + xbase::dtos(fecha);
}

std::unique_ptr<WDBTable> open(const char* name, const char* tag) {
  return lib::USE(nullptr, name, tag);
}

// The keys of `t`'s order from `top` to `bottom` (key prefixes, both included): the rows a
// pass walks, for its progress.
uint32_t keysBetween(WDBTable& t, const std::string& top, const std::string& bottom) {
  t.SetScope(Value::chars(top), Value::chars(bottom));
  uint32_t keys = t.KeyCount();
  t.ClearScope();
  return keys;
}

// Blank-padded text of a field (codes compare this way).
std::string raw(const WDBTable& t, const char* field) {
  return t.FieldGet(field).text;
}

struct TypeInfo {
  std::string code;  // padded
  std::string clase;
  int cantidad = 0;
  int allotment = 0;
  double tope = 0;
};

struct ClassInfo {
  std::string code;  // padded
  std::string descrip;
  int cantidad = 0;
  double tope = 0;
};

struct RoomInfo {
  std::string code;  // padded
  std::string tipo;
  std::string clase;
  std::string descrip;
};

struct StateInfo {
  bool blocked = false, outOfOrder = false;
};

// The business's classes, types, rooms and room states, read once at the start of a run.
struct Inventory {
  std::vector<ClassInfo> classes;  // in code order
  std::vector<TypeInfo> types;     // in code order
  std::map<std::string, size_t> typeAt;
  std::vector<RoomInfo> rooms;  // in code order
  std::map<std::string, size_t> roomAt;
  std::map<std::string, StateInfo> states;

  const TypeInfo* type(const std::string& code) const {
    auto it = typeAt.find(code);
    return it == typeAt.end() ? nullptr : &types[it->second];
  }
  const RoomInfo* room(const std::string& code) const {
    auto it = roomAt.find(code);
    return it == roomAt.end() ? nullptr : &rooms[it->second];
  }
};

void loadTypes(Inventory& inv, const std::string& neg) {
  auto t = open("TIPO_ROM", "TIPO_ROM");
  inv.types.clear();
  inv.typeAt.clear();
  for (t->Seek(neg, true); !t->Eof() && raw(*t, "NEGOCIO") == neg; t->Skip(1)) {
    inv.typeAt[raw(*t, "CODIGO")] = inv.types.size();
    inv.types.push_back(
        {raw(*t, "CODIGO"), raw(*t, "CLASE"), int(t->N("CANTIDAD")), int(t->N("ALLOTMENT")), t->N("TOPE1")});
  }
}

void loadClasses(Inventory& inv, const std::string& neg) {
  auto t = open("CLAS_ROM", "CLAS_ROM");
  inv.classes.clear();
  for (t->Seek(neg, true); !t->Eof() && raw(*t, "NEGOCIO") == neg; t->Skip(1))
    inv.classes.push_back({raw(*t, "CODIGO"), trim(t->S("DESCRIP")), int(t->N("CANTIDAD")), t->N("TOPE1")});
}

void loadRooms(Inventory& inv, const std::string& neg) {
  auto t = open("ROOMS", "ROOMS");
  for (t->Seek(neg, true); !t->Eof() && raw(*t, "NEGOCIO") == neg; t->Skip(1)) {
    inv.roomAt[raw(*t, "CODIGO")] = inv.rooms.size();
    inv.rooms.push_back({raw(*t, "CODIGO"), raw(*t, "TIPO"), raw(*t, "CLASE"), trim(t->S("DESCRIP"))});
  }
}

void loadStates(Inventory& inv, const std::string& neg) {
  auto t = open("T_EST_HA", "T_EST_HA");
  for (t->Seek(neg, true); !t->Eof() && raw(*t, "NEGOCIO") == neg; t->Skip(1))
    inv.states[raw(*t, "CODIGO")] = {t->N("BLOQUEADO") == 1, t->N("OUTORDER") == 1};
}

// A parameter field of the business's record, or an empty value when there is none.
Value parameter(const char* table, const std::string& neg, const char* field) {
  auto t = open(table, table);
  if (!t->Seek(neg)) return Value::null();
  return t->FieldGet(field);
}

// The allotment of one date: per class, the 20 columns summed over its contracts.
struct Allotment {
  std::array<double, kAllotmentColumns> contracted{}, used{}, cutoff{};
};

class AllotmentReader {
 public:
  explicit AllotmentReader(const std::string& neg) : neg_(neg), t_(open("T_ALLOT", "T_ALLOT3")) {
    for (int n = 1; n <= kAllotmentColumns; ++n) {
      contracted_[n - 1] = t_->FieldPos("TIPO_ROM" + std::to_string(n));
      used_[n - 1] = t_->FieldPos("USO_ROM" + std::to_string(n));
      cutoff_[n - 1] = t_->FieldPos("C_LIB_RO" + std::to_string(n));
    }
  }
  // The class's allotment on `fecha` (dates asked in any order; each date read once).
  const Allotment& of(int32_t fecha, const std::string& clase) {
    if (fecha != date_) load(fecha);
    auto it = byClass_.find(clase);
    return it == byClass_.end() ? none_ : it->second;
  }

 private:
  void load(int32_t fecha) {
    date_ = fecha;
    byClass_.clear();
    for (t_->Seek(dayKey(neg_, fecha)); !t_->Eof() && raw(*t_, "NEGOCIO") == neg_ && t_->D("FECHA") == fecha;
         t_->Skip(1)) {
      Allotment& a = byClass_[raw(*t_, "CLASE")];
      for (int i = 0; i < kAllotmentColumns; ++i) {
        a.contracted[size_t(i)] += t_->FieldGet(contracted_[i]).number;
        a.used[size_t(i)] += t_->FieldGet(used_[i]).number;
        a.cutoff[size_t(i)] += t_->FieldGet(cutoff_[i]).number;
      }
    }
  }
  std::string neg_;
  std::unique_ptr<WDBTable> t_;
  int contracted_[kAllotmentColumns], used_[kAllotmentColumns], cutoff_[kAllotmentColumns];
  int32_t date_ = -1;
  std::map<std::string, Allotment> byClass_;
  Allotment none_;
};

// The class an availability row counts under: its XCLASE, or its CLASE when XCLASE is blank
// (type rows written before XCLASE existed, or by programs that leave it empty).
std::string rowClass(const std::string& xclase, const std::string& clase) {
  return trim(xclase).empty() ? clase : xclase;
}

// The record numbers of the availability rows, by date and (class counted under, TIPO_ROM,
// CLASE).
class RowIndex {
 public:
  void add(int32_t fecha, const std::string& xclase, const std::string& tipo, const std::string& clase,
           uint32_t recno) {
    rows_.emplace(key(fecha, rowClass(xclase, clase), tipo, clase), recno);
  }
  // The type row (class, type, date) and the class-total row (class, date); 0 when missing.
  uint32_t typeRow(int32_t fecha, const std::string& clase, const std::string& tipo) const {
    return find(key(fecha, clase, tipo, clase));
  }
  uint32_t classRow(int32_t fecha, const std::string& clase) const {
    static const std::string blank(kCodeWidth, ' ');
    return find(key(fecha, clase, blank, blank));
  }
  std::vector<uint32_t> rowsOf(int32_t fecha) const {
    std::vector<uint32_t> out;
    for (auto it = rows_.lower_bound(key(fecha, "", "", ""));
         it != rows_.end() && it->first.compare(0, 8, xbase::dtos(fecha)) == 0; ++it)
      out.push_back(it->second);
    return out;
  }

 private:
  static std::string key(int32_t fecha, const std::string& xclase, const std::string& tipo, const std::string& clase) {
    return xbase::dtos(fecha) + lib::padded(xclase, kCodeWidth) + lib::padded(tipo, kCodeWidth) +
           lib::padded(clase, kCodeWidth);
  }
  uint32_t find(const std::string& k) const {
    auto it = rows_.find(k);
    return it == rows_.end() ? 0 : it->second;
  }
  std::map<std::string, uint32_t> rows_;
};

bool classTotalRow(const StatTipFields& f, const WDBTable& st) {
  return trim(st.FieldGet(f.TIPO_ROM).text).empty() && trim(st.FieldGet(f.CLASE).text).empty();
}

// Resets the current availability row for a new count (its lock held): the inventory of the
// row restored (or rebuilt), every count cleared, the allotment of its class and date taken.
void resetRow(WDBTable& st, const StatTipFields& f, const Inventory& inv, AllotmentReader& allot, bool rebuildTotal,
              bool fillXclase) {
  std::string clase = st.FieldGet(f.CLASE).text, xclase = st.FieldGet(f.XCLASE).text;
  if (fillXclase && trim(xclase).empty() && !trim(clase).empty()) {
    xclase = clase;
    st.FieldPut(f.XCLASE, Value::chars(xclase));
  }
  bool classTotal = classTotalRow(f, st);
  const TypeInfo* type = classTotal ? nullptr : inv.type(st.FieldGet(f.TIPO_ROM).text);
  double total = f.num(st, f.TOTAL) + f.num(st, f.OUTORDER);
  if (rebuildTotal && type) total = type->cantidad + f.num(st, f.CONSTRUYE);
  f.put(st, f.TOTAL, total);
  f.put(st, f.LIBRE, total);
  for (int pos : {f.OUTORDER, f.RESERVADO, f.BLOQUEADO, f.N_ADULT, f.N_NINHO, f.N_GRATIS, f.CLAS[0], f.CLAS[1],
                  f.CLAS[2], f.CLAS[3], f.CLAS[4], f.SALEN, f.LLEGAN})
    f.put(st, pos, 0);
  const Allotment& a = allot.of(st.D("FECHA"), rowClass(xclase, clase));
  double contracted = 0, used = 0, cutoff = 0;
  if (classTotal) {
    for (int i = 0; i < kAllotmentColumns; ++i) {
      contracted += a.contracted[size_t(i)];
      used += a.used[size_t(i)];
      cutoff += a.cutoff[size_t(i)];
    }
  } else if (type && type->allotment >= 1 && type->allotment <= kAllotmentColumns) {
    size_t i = size_t(type->allotment - 1);
    contracted = a.contracted[i];
    used = a.used[i];
    cutoff = a.cutoff[i];
  }
  f.put(st, f.ALLOT_TOT, contracted);
  f.put(st, f.ALLOT_LIB, contracted - used);
  f.put(st, f.CUTOFF_LIB, cutoff);
  f.complement(st);
}

// What the counting passes found for one availability row, added to it when it is written.
struct Counts {
  double blocked = 0, outOfOrder = 0, reserved = 0, adults = 0, children = 0, free = 0, arrivals = 0, departures = 0;
  std::array<double, 5> byCategory{};
};
using Tally = std::unordered_map<uint32_t, Counts>;

// An availability row to write: its record and its date.
struct Row {
  uint32_t recno = 0;
  int32_t fecha = 0;
};

// The availability rows of the business dated `from` or later, in the order STAT_TIP2 (one
// walk, nothing written), with `index` filled.
std::vector<Row> collectRows(WDBTable& st, const StatTipFields& f, const std::string& neg, int32_t from,
                             RowIndex& index) {
  std::vector<Row> rows;
  st.SetOrder("STAT_TIP2");
  for (st.Seek(dayKey(neg, from), true); !st.Eof() && st.FieldGet(f.NEGOCIO).text == neg; st.Skip(1)) {
    Row r{st.RecNo(), st.D("FECHA")};
    rows.push_back(r);
    index.add(r.fecha, st.FieldGet(f.XCLASE).text, st.FieldGet(f.TIPO_ROM).text, st.FieldGet(f.CLASE).text, r.recno);
  }
  return rows;
}

// Nights whose rows the generation reads in one walk.
constexpr int32_t kNightsPerRead = 31;

// Writes each of `rows` once, under its own lock: reset for a new count (resetRow), what the
// counting passes found added, its derived fields recomputed. False when cancelled (between
// groups of rows).
bool writeRows(WDBTable& st, const StatTipFields& f, const std::string& neg, const std::vector<Row>& rows,
               const Tally& tally, const Inventory& inv, bool rebuildTotal, bool fillXclase, const std::string& text,
               bool fourthLine, Progress& progress, RunResult& result) {
  AllotmentReader allot(neg);
  progress.SET_TOTAL(rows.size());
  int32_t shown = 0;
  for (size_t at = 0; at < rows.size(); at += lib::kLocksPerRequest) {
    if (!progress.CANPRINT()) {
      result.completed = false;
      return false;
    }
    size_t end = std::min(rows.size(), at + lib::kLocksPerRequest);
    if (rows[at].fecha != shown) {
      shown = rows[at].fecha;
      std::string line = text + lib::DTOC(shown);
      if (fourthLine)
        progress.PUT_TEXT("", "", "", line);
      else
        progress.PUT_TEXT("", line);
    }
    std::vector<uint32_t> group;
    for (size_t i = at; i < end; ++i) group.push_back(rows[i].recno);
    lib::MODIFY_EACH(st, group, [&] {
      resetRow(st, f, inv, allot, rebuildTotal, fillXclase);
      auto found = tally.find(st.RecNo());
      if (found != tally.end()) {
        const Counts& c = found->second;
        f.add(st, f.BLOQUEADO, c.blocked);
        f.add(st, f.TOTAL, -c.outOfOrder);
        f.add(st, f.OUTORDER, c.outOfOrder);
        f.add(st, f.RESERVADO, c.reserved);
        f.add(st, f.N_ADULT, c.adults);
        f.add(st, f.N_NINHO, c.children);
        f.add(st, f.N_GRATIS, c.free);
        for (size_t k = 0; k < c.byCategory.size(); ++k) f.add(st, f.CLAS[k], c.byCategory[k]);
        f.add(st, f.LLEGAN, c.arrivals);
        f.add(st, f.SALEN, c.departures);
        f.complement(st);
      }
      ++result.rewritten;
    });
    progress.ADVANCE(end - at);
  }
  return true;
}

// A blocked (and maybe out-of-order) room counted on its type row and its class-total row.
void countBlocked(Tally& tally, const RowIndex& index, int32_t d, const std::string& clase, const std::string& tipo,
                  bool outOfOrder) {
  for (uint32_t recno : {index.typeRow(d, clase, tipo), index.classRow(d, clase)}) {
    if (!recno) continue;
    Counts& c = tally[recno];
    c.blocked += 1;
    if (outOfOrder) c.outOfOrder += 1;
  }
}

// What one stay counts on one date of one availability row.
struct Night {
  StayDay day;
  double adults = 0, children = 0, free = 0;
  int category = -1;  // 0 to 4, or none
};

void countNight(Tally& tally, uint32_t recno, const Night& n) {
  if (!recno) return;
  Counts& c = tally[recno];
  if (n.day.sold) {
    c.reserved += 1;
    c.adults += n.adults;
    c.children += n.children;
    c.free += n.free;
    if (n.category >= 0 && n.category <= 4) c.byCategory[size_t(n.category)] += 1;
  }
  if (n.day.arrival) c.arrivals += 1;
  if (n.day.departure) c.departures += 1;
}

// Records of one table read in one walk of the business, found by a key as a seek on the
// order walked finds them: the first in that order whose key starts with the one asked.
template <typename T>
class KeyedRecords {
 public:
  // `keyOf` the record's key in the order `tag`, `take` what is kept of it.
  template <typename Key, typename Take>
  KeyedRecords(const char* table, const char* tag, const std::string& neg, Key keyOf, Take take) {
    auto t = open(table, tag);
    for (t->Seek(neg, true); !t->Eof() && raw(*t, "NEGOCIO") == neg; t->Skip(1)) records_.emplace(keyOf(*t), take(*t));
  }
  const T* find(const std::string& key) const {
    auto it = records_.lower_bound(key);
    return it != records_.end() && it->first.compare(0, key.size(), key) == 0 ? &it->second : nullptr;
  }

 private:
  std::map<std::string, T> records_;
};

// What the counts take of a stay (DET_RES2).
struct StayInfo {
  int estado = 0;
  int32_t arrival = 0, departure = 0;
  double adults = 0, children = 0, free = 0;
};

KeyedRecords<StayInfo> staysByCode(const std::string& neg) {
  return KeyedRecords<StayInfo>(
      "DET_RES2", "DET_RES2", neg,
      [](WDBTable& t) { return raw(t, "NEGOCIO") + raw(t, "COD_RES") + raw(t, "COD_HAB") + raw(t, "CODIGO"); },
      [](WDBTable& t) {
        return StayInfo{int(t.N("ESTADO")), t.D("F_INICIO"), t.D("F_FINAL"),
                        t.N("N_ADULT"),     t.N("N_NINHO"),  t.N("N_GRATIS")};
      });
}

// What the counts take of a reservation's header (ENC_RES): its guarantee type and rack.
struct HeaderInfo {
  std::string tipo, rack;
};

KeyedRecords<HeaderInfo> headersByCode(const std::string& neg) {
  return KeyedRecords<HeaderInfo>(
      "ENC_RES", "ENC_RES", neg, [](WDBTable& t) { return raw(t, "NEGOCIO") + raw(t, "CODIGO"); },
      [](WDBTable& t) {
        return HeaderInfo{raw(t, "TIPO"), raw(t, "COD_RACK")};
      });
}

// The statistics category of a guarantee type (E_T_RES.C_STAT_TIP), cached.
class Categories {
 public:
  explicit Categories(const std::string& neg) : neg_(neg), t_(open("E_T_RES", "E_T_RES")) {}
  int of(const std::string& tipo) {
    auto it = cache_.find(tipo);
    if (it != cache_.end()) return it->second;
    int c = t_->Seek(neg_ + lib::padded(tipo, 2)) ? int(t_->N("C_STAT_TIP")) : -1;
    return cache_[tipo] = c;
  }

 private:
  std::string neg_;
  std::unique_ptr<WDBTable> t_;
  std::map<std::string, int> cache_;
};

}  // namespace

// ---- Generation ----

RunResult runGeneration(const std::string& negocio, int32_t from, int32_t to, Progress& progress) {
  RunResult result;
  const std::string neg = lib::businessKey(negocio);
  progress.PUT_TEXT("Un momento por favor...", "Generando referencias en Tablas...");

  // The room counts of the types and the classes, from the rooms.
  Inventory inv;
  loadRooms(inv, neg);
  {
    std::map<std::string, int> perType;
    for (const RoomInfo& r : inv.rooms) ++perType[r.tipo];
    auto types = open("TIPO_ROM", "TIPO_ROM");
    std::map<std::string, int> perClass;
    for (types->Seek(neg, true); !types->Eof() && raw(*types, "NEGOCIO") == neg; types->Skip(1)) {
      int n = perType[raw(*types, "CODIGO")];
      perClass[raw(*types, "CLASE")] += n;
      if (types->N("CANTIDAD") != n) {
        lib::MODIFY(*types, [&] { types->FieldPut("CANTIDAD", Value::num(n)); });
        ++result.rewritten;
      }
    }
    auto classes = open("CLAS_ROM", "CLAS_ROM");
    for (classes->Seek(neg, true); !classes->Eof() && raw(*classes, "NEGOCIO") == neg; classes->Skip(1)) {
      int n = perClass[raw(*classes, "CODIGO")];
      if (classes->N("CANTIDAD") != n) {
        lib::MODIFY(*classes, [&] { classes->FieldPut("CANTIDAD", Value::num(n)); });
        ++result.rewritten;
      }
    }
  }
  loadTypes(inv, neg);
  loadClasses(inv, neg);
  for (RoomInfo& r : inv.rooms)
    if (const TypeInfo* t = inv.type(r.tipo)) r.clase = t->clase;
  const std::string freeState = parameter("F_HOTEL", neg, "LIBRE").text;

  auto tab = open("TAB_RESE", "TAB_RESE");
  auto st = open("STAT_TIP", "STAT_TIP2");
  StatTipFields f(*st);
  const std::string blank(kCodeWidth, ' ');
  progress.SET_TOTAL(uint64_t(std::max(0, to - from + 1)) * (inv.rooms.size() + inv.classes.size()));
  // What the next nights hold already, read in one walk of each order for a month of
  // nights: the rooms of the reservation table, and the availability rows (class counted
  // under + TIPO_ROM + CLASE -> record).
  std::map<int32_t, std::set<std::string>> roomsOf;
  std::map<int32_t, std::map<std::string, uint32_t>> rowsOf;
  int32_t readTo = from - 1;
  auto readNights = [&](int32_t first) {
    readTo = std::min(to, first + kNightsPerRead - 1);
    roomsOf.clear();
    rowsOf.clear();
    for (tab->Seek(dayKey(neg, first), true); !tab->Eof() && raw(*tab, "NEGOCIO") == neg && tab->D("FECHA") <= readTo;
         tab->Skip(1))
      roomsOf[tab->D("FECHA")].insert(raw(*tab, "CODIGO"));
    for (st->Seek(dayKey(neg, first), true);
         !st->Eof() && st->FieldGet(f.NEGOCIO).text == neg && st->D("FECHA") <= readTo; st->Skip(1)) {
      const std::string clase = st->FieldGet(f.CLASE).text;
      rowsOf[st->D("FECHA")].emplace(
          rowClass(st->FieldGet(f.XCLASE).text, clase) + st->FieldGet(f.TIPO_ROM).text + clase, st->RecNo());
    }
  };
  // The rows to write, gathered over the nights until they fill a request for their locks.
  struct Room {
    int32_t fecha;
    const RoomInfo* room;
  };
  std::vector<Room> missing;
  struct Wanted {
    int32_t fecha = 0;
    std::string xclase, tipo, clase;
    int count = 0, show1 = 0, show2 = 0;
    double tope = 0;
  };
  std::vector<uint32_t> refreshed;
  std::map<uint32_t, Wanted> refresh;
  std::vector<Wanted> added;
  auto addRooms = [&] {
    lib::ADD_EACH(*tab, missing.size(), [&](size_t i) {
      tab->FieldPut("NEGOCIO", Value::chars(neg));
      tab->FieldPut("CODIGO", Value::chars(missing[i].room->code));
      tab->FieldPut("FECHA", Value::date(missing[i].fecha));
      tab->FieldPut("T_EST_HA", Value::chars(freeState));
      tab->FieldPut("CLASE", Value::chars(missing[i].room->clase));
      tab->FieldPut("PREASIGN", Value::num(0));
    });
    result.appended += long(missing.size());
    missing.clear();
  };
  auto writeRows = [&] {
    lib::MODIFY_EACH(*st, refreshed, [&] {
      const Wanted& w = refresh.at(st->RecNo());
      f.put(*st, f.TOTAL, w.count - f.num(*st, f.OUTORDER));
      f.put(*st, f.SHOW1, w.show1);
      f.put(*st, f.SHOW2, w.show2);
      f.complement(*st);
    });
    result.rewritten += long(refreshed.size());
    lib::ADD_EACH(*st, added.size(), [&](size_t i) {
      const Wanted& w = added[i];
      st->FieldPut(f.NEGOCIO, Value::chars(neg));
      st->FieldPut(f.FECHA, Value::date(w.fecha));
      st->FieldPut(f.TIPO_ROM, Value::chars(w.tipo));
      st->FieldPut(f.CLASE, Value::chars(w.clase));
      st->FieldPut(f.XCLASE, Value::chars(w.xclase));
      f.put(*st, f.TOTAL, w.count);
      f.put(*st, f.LIBRE, w.count);
      f.put(*st, f.SHOW1, w.show1);
      f.put(*st, f.SHOW2, w.show2);
      f.put(*st, f.LIM_TOPE, w.tope);
      f.complement(*st);
    });
    result.appended += long(added.size());
    refreshed.clear();
    refresh.clear();
    added.clear();
  };
  auto writeAll = [&] {
    addRooms();
    writeRows();
  };
  const size_t rowsANight = inv.classes.size() * (inv.types.size() + 1);
  for (int32_t d = from; d <= to; ++d) {
    const std::string date = lib::DTOC(d);
    if (d > readTo) readNights(d);
    // The reservation table: a row for every room that has none this night.
    const std::set<std::string>& present = roomsOf[d];
    for (const RoomInfo& r : inv.rooms) {
      if (!nextRow(progress, result)) {
        writeAll();
        return result;
      }
      progress.PUT_TEXT("", "", "", "Procesando : " + date + " " + r.descrip, false);
      ++result.read;
      if (!present.count(r.code)) missing.push_back({d, &r});
    }
    if (missing.size() + inv.rooms.size() > lib::kLocksPerRequest) addRooms();
    // The availability rows of the date: those there refreshed, the others appended.
    const std::map<std::string, uint32_t>& rows = rowsOf[d];
    auto want = [&](Wanted w) {
      auto it = rows.find(w.xclase + w.tipo + w.clase);
      if (it == rows.end()) return added.push_back(std::move(w));
      auto [slot, first] = refresh.try_emplace(it->second);
      slot->second = std::move(w);  // asked twice, the last values stay, as written twice
      if (first) refreshed.push_back(it->second);
    };
    for (const ClassInfo& c : inv.classes) {
      if (!nextRow(progress, result)) {
        writeAll();
        return result;
      }
      progress.PUT_TEXT("", "", "", "Procesando : ESTADISTICAS" + date + " " + c.descrip, false);
      for (const TypeInfo& t : inv.types)
        want({d, c.code, t.code, c.code, t.cantidad, t.clase == c.code ? 1 : 0, 0, t.tope});
      want({d, c.code, blank, blank, c.cantidad, 1, 1, c.tope});
    }
    if (refreshed.size() + added.size() + rowsANight > lib::kLocksPerRequest) writeRows();
  }
  writeAll();
  return result;
}

// ---- Fast recalculation ----

RunResult runFastRecalculation(const std::string& negocio, int32_t start, Progress& progress) {
  RunResult result;
  const std::string neg = lib::businessKey(negocio);
  progress.PUT_TEXT("Recalculando Estadísticas...");
  Inventory inv;
  loadTypes(inv, neg);
  loadRooms(inv, neg);
  loadStates(inv, neg);

  auto st = open("STAT_TIP", "STAT_TIP2");
  StatTipFields f(*st);
  RowIndex index;
  const std::vector<Row> rows = collectRows(*st, f, neg, start, index);
  Tally tally;
  // Blocked and out-of-order rooms of the reservation table.
  {
    auto tab = open("TAB_RESE", "TAB_RESE");
    progress.SET_TOTAL(keysBetween(*tab, dayKey(neg, start), neg));
    int32_t shown = 0;
    for (tab->Seek(dayKey(neg, start), true); !tab->Eof() && raw(*tab, "NEGOCIO") == neg; tab->Skip(1)) {
      if (!nextRow(progress, result)) return result;
      int32_t d = tab->D("FECHA");
      if (d != shown) {
        shown = d;
        progress.PUT_TEXT("", "Calculando Bloqueados: " + lib::DTOC(d));
      }
      ++result.read;
      auto state = inv.states.find(raw(*tab, "T_EST_HA"));
      if (state == inv.states.end() || !state->second.blocked) continue;
      const RoomInfo* room = inv.room(raw(*tab, "CODIGO"));
      const TypeInfo* type = room ? inv.type(room->tipo) : nullptr;
      if (!type) continue;
      countBlocked(tally, index, d, type->clase, type->code, state->second.outOfOrder);
    }
  }
  // The nightly rows of the reservations.
  {
    auto nights = open("DET_RES9", "DET_RES9");
    const KeyedRecords<StayInfo> stays = staysByCode(neg);
    const KeyedRecords<HeaderInfo> headers = headersByCode(neg);
    Categories categories(neg);
    progress.SET_TOTAL(keysBetween(*nights, dayKey(neg, start), neg));
    int32_t current = 0;
    for (nights->Seek(dayKey(neg, start), true); !nights->Eof() && raw(*nights, "NEGOCIO") == neg; nights->Skip(1)) {
      if (!nextRow(progress, result)) return result;
      int32_t d = nights->D("FECHA");
      if (d != current) {
        current = d;
        progress.PUT_TEXT("", "Fecha: " + lib::DTOC(d));
      }
      ++result.read;
      const std::string res = raw(*nights, "COD_RES");
      const StayInfo* stay = stays.find(neg + res + raw(*nights, "COD_HAB") + raw(*nights, "CODIGO"));
      if (!stay || stay->estado > 2) continue;
      Night n;
      // A nightly row left outside its stay's dates (a stay shortened or moved) counts nothing,
      // as the full rebuild, which reads the dates of the stay, would have it.
      n.day = stayDay(stay->arrival, stay->departure, d);
      if (!n.day.sold && !n.day.arrival && !n.day.departure) continue;
      n.adults = stay->adults;
      n.children = stay->children;
      n.free = stay->free;
      if (const HeaderInfo* header = headers.find(neg + res)) n.category = categories.of(header->tipo);
      const std::string clase = raw(*nights, "CLASE");
      countNight(tally, index.typeRow(d, clase, raw(*nights, "TIPO_ROM")), n);
      countNight(tally, index.classRow(d, clase), n);
    }
  }
  // Every row from the start date reset, with its allotment, and what was counted added.
  writeRows(*st, f, neg, rows, tally, inv, false, false, "Limpiando Fecha: ", false, progress, result);
  return result;
}

// ---- Full rebuild ----

std::pair<int32_t, int32_t> fullRebuildRange(const std::string& negocio) {
  const std::string neg = lib::businessKey(negocio);
  int32_t closing = parameter("F_HOTEL", neg, "CIERRE_DIA").julian;
  auto st = open("STAT_TIP", "STAT_TIP2");
  st->Seek(closing ? dayKey(neg, closing - 100) : neg, true);
  if (st->Eof() || raw(*st, "NEGOCIO") != neg) return {0, 0};
  int32_t first = st->D("FECHA");
  st->Seek(neg, false, true);
  int32_t last = st->Eof() ? first : st->D("FECHA");
  return {first, std::max(last, closing)};
}

RunResult runFullRebuild(const std::string& negocio, bool keepHistoric, Progress& progress) {
  RunResult result;
  const std::string neg = lib::businessKey(negocio);
  auto [first, last] = fullRebuildRange(negocio);
  progress.PUT_TEXT("Un momento por favor...", "Preparando la información...");
  if (!first) return result;
  Inventory inv;
  loadTypes(inv, neg);
  loadRooms(inv, neg);
  loadStates(inv, neg);
  const bool byRoomType = parameter("F_HOTEL3", neg, "TIPO_STAT").number == 1;

  auto st = open("STAT_TIP", "STAT_TIP2");
  StatTipFields f(*st);
  RowIndex index;
  const std::vector<Row> rows = collectRows(*st, f, neg, first, index);
  Tally tally;
  // Blocked rooms, date by date.
  progress.PUT_TEXT("", "Información de Habitaciones ...");
  {
    auto tab = open("TAB_RESE", "TAB_RESE");
    progress.SET_TOTAL(keysBetween(*tab, dayKey(neg, first), dayKey(neg, last)));
    for (int32_t d = first; d <= last; ++d) {
      const std::string date = lib::DTOC(d);
      progress.PUT_TEXT("", "", "Procesando Info Rooms: " + date, "", false);
      for (tab->Seek(dayKey(neg, d)); !tab->Eof() && raw(*tab, "NEGOCIO") == neg && tab->D("FECHA") == d;
           tab->Skip(1)) {
        if (!nextRow(progress, result)) return result;
        ++result.read;
        auto state = inv.states.find(raw(*tab, "T_EST_HA"));
        if (state == inv.states.end() || !state->second.blocked) continue;
        const RoomInfo* room = inv.room(raw(*tab, "CODIGO"));
        const TypeInfo* type = room ? inv.type(room->tipo) : nullptr;
        if (!type) continue;
        progress.PUT_TEXT("", "", "", "Procesando : " + date + " " + room->descrip, false);
        countBlocked(tally, index, d, type->clase, type->code, state->second.outOfOrder);
      }
    }
  }
  // The stays, night by night.
  progress.PUT_TEXT("", "Información de Reservaciones ...", " ");
  {
    auto stays = open("DET_RES2", "DET_RS29");
    const KeyedRecords<std::string> lineTypes(
        "DET_RES1", "DET_RES1", neg,
        [](WDBTable& t) { return raw(t, "NEGOCIO") + raw(t, "COD_RES") + raw(t, "COD_HAB"); },
        [](WDBTable& t) { return raw(t, "TIPO_ROM"); });
    const KeyedRecords<HeaderInfo> headers = headersByCode(neg);
    const KeyedRecords<std::string> rackClasses(
        "ENC_RACK", "ENC_RACK", neg, [](WDBTable& t) { return raw(t, "NEGOCIO") + raw(t, "CODIGO"); },
        [](WDBTable& t) { return raw(t, "CLASE"); });
    Categories categories(neg);
    progress.SET_TOTAL(keysBetween(*stays, dayKey(neg, first), neg));
    for (stays->Seek(dayKey(neg, first), true); !stays->Eof() && raw(*stays, "NEGOCIO") == neg; stays->Skip(1)) {
      if (!nextRow(progress, result)) return result;
      ++result.read;
      if (stays->N("ESTADO") > 2) continue;
      const std::string res = raw(*stays, "COD_RES");
      int32_t arrival = stays->D("F_INICIO"), departure = stays->D("F_FINAL");
      progress.PUT_TEXT("", "", "", "Procesando : " + trim(res) + " " + lib::DTOC(arrival), false);
      std::string tipo(kCodeWidth, ' ');
      if (const std::string* t = lineTypes.find(neg + res + raw(*stays, "COD_HAB"))) tipo = *t;
      std::string clase(kCodeWidth, ' ');
      int category = -1;
      const HeaderInfo* header = headers.find(neg + res);
      if (header) category = categories.of(header->tipo);
      if (byRoomType) {
        if (const TypeInfo* t = inv.type(tipo)) clase = t->clase;
      } else if (header) {
        if (const std::string* c = rackClasses.find(neg + header->rack)) clase = *c;
      }
      Night n;
      n.adults = stays->N("N_ADULT");
      n.children = stays->N("N_NINHO");
      n.free = stays->N("N_GRATIS");
      n.category = category;
      // Every date of the stay in the range, its departure date included.
      for (int32_t d = std::max(arrival, first); arrival > 0 && d <= departure; ++d) {
        n.day = stayDay(arrival, departure, d);
        countNight(tally, index.typeRow(d, clase, tipo), n);
        countNight(tally, index.classRow(d, clase), n);
      }
    }
  }
  // The rows reset — keeping each row's inventory or rebuilding it — and what was counted added.
  writeRows(*st, f, neg, rows, tally, inv, !keepHistoric, true, "Inicializando Fecha ", true, progress, result);
  return result;
}

}  // namespace rooms
