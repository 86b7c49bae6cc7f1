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

// Resets every availability row of the business dated `from` or later (order STAT_TIP2),
// filling `index`. False when cancelled.
bool resetRows(WDBTable& st, const StatTipFields& f, const std::string& neg, int32_t from, const Inventory& inv,
               bool rebuildTotal, bool fillXclase, const std::string& text, bool fourthLine, RowIndex& index,
               Progress& progress, RunResult& result) {
  AllotmentReader allot(neg);
  st.SetOrder("STAT_TIP2");
  progress.SET_TOTAL(keysBetween(st, dayKey(neg, from), neg));
  st.Seek(dayKey(neg, from), true);
  int32_t shown = 0;
  while (!st.Eof() && st.FieldGet(f.NEGOCIO).text == neg) {
    if (!progress.CANPRINT()) return false;
    progress.ADVANCE();
    int32_t d = st.D("FECHA");
    if (d != shown) {
      shown = d;
      std::string line = text + lib::DTOC(d);
      if (fourthLine)
        progress.PUT_TEXT("", "", "", line);
      else
        progress.PUT_TEXT("", line);
    }
    uint32_t recno = st.RecNo();
    bool keyChanges =
        fillXclase && trim(st.FieldGet(f.XCLASE).text).empty() && !trim(st.FieldGet(f.CLASE).text).empty();
    uint32_t next = 0;
    if (keyChanges) {
      // Filling XCLASE moves the row in this order: remember where the walk goes on.
      st.Skip(1);
      next = st.Eof() ? 0 : st.RecNo();
      st.GoTo(recno);
    }
    lib::MODIFY(st, [&] { resetRow(st, f, inv, allot, rebuildTotal, fillXclase); });
    ++result.rewritten;
    index.add(d, st.FieldGet(f.XCLASE).text, st.FieldGet(f.TIPO_ROM).text, st.FieldGet(f.CLASE).text, recno);
    if (keyChanges) {
      if (!next) break;
      st.GoTo(next);
    } else {
      st.Skip(1);
    }
  }
  return true;
}

// Adds to the counts of row `recno` under its lock and recomputes its derived fields.
template <typename F>
void bump(WDBTable& st, const StatTipFields& f, uint32_t recno, RunResult& result, F change) {
  st.GoTo(recno);
  lib::MODIFY(st, [&] {
    change();
    f.complement(st);
  });
  ++result.rewritten;
}

// A blocked (and maybe out-of-order) room counted on its type row and its class-total row.
void countBlocked(WDBTable& st, const StatTipFields& f, const RowIndex& index, int32_t d, const std::string& clase,
                  const std::string& tipo, bool outOfOrder, RunResult& result) {
  for (uint32_t recno : {index.typeRow(d, clase, tipo), index.classRow(d, clase)}) {
    if (!recno) continue;
    bump(st, f, recno, result, [&] {
      f.add(st, f.BLOQUEADO, 1);
      if (outOfOrder) {
        f.add(st, f.TOTAL, -1);
        f.add(st, f.OUTORDER, 1);
      }
    });
  }
}

// What one stay counts on one date of one availability row.
struct Night {
  StayDay day;
  double adults = 0, children = 0, free = 0;
  int category = -1;  // 0 to 4, or none
};

void countNight(WDBTable& st, const StatTipFields& f, uint32_t recno, const Night& n, RunResult& result) {
  if (!recno) return;
  bump(st, f, recno, result, [&] {
    if (n.day.sold) {
      f.add(st, f.RESERVADO, 1);
      f.add(st, f.N_ADULT, n.adults);
      f.add(st, f.N_NINHO, n.children);
      f.add(st, f.N_GRATIS, n.free);
      if (n.category >= 0 && n.category <= 4) f.add(st, f.CLAS[n.category], 1);
    }
    if (n.day.arrival) f.add(st, f.LLEGAN, 1);
    if (n.day.departure) f.add(st, f.SALEN, 1);
  });
}

// Recomputes the rows of one date whose derived fields are not what their counts give.
void recomputeDate(WDBTable& st, const StatTipFields& f, const RowIndex& index, int32_t d, RunResult& result) {
  for (uint32_t recno : index.rowsOf(d)) {
    st.GoTo(recno);
    if (f.upToDate(st)) continue;
    lib::MODIFY(st, [&] { f.complement(st); });
    ++result.rewritten;
  }
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
  for (int32_t d = from; d <= to; ++d) {
    const std::string date = lib::DTOC(d);
    // The reservation table: a row for every room that has none this night.
    std::set<std::string> present;
    for (tab->Seek(dayKey(neg, d)); !tab->Eof() && raw(*tab, "NEGOCIO") == neg && tab->D("FECHA") == d; tab->Skip(1))
      present.insert(raw(*tab, "CODIGO"));
    for (const RoomInfo& r : inv.rooms) {
      if (!nextRow(progress, result)) return result;
      progress.PUT_TEXT("", "", "", "Procesando : " + date + " " + r.descrip, false);
      ++result.read;
      if (present.count(r.code)) continue;
      lib::ADD(*tab, [&] {
        tab->FieldPut("NEGOCIO", Value::chars(neg));
        tab->FieldPut("CODIGO", Value::chars(r.code));
        tab->FieldPut("FECHA", Value::date(d));
        tab->FieldPut("T_EST_HA", Value::chars(freeState));
        tab->FieldPut("CLASE", Value::chars(r.clase));
        tab->FieldPut("PREASIGN", Value::num(0));
      });
      ++result.appended;
    }
    // The availability rows of the date.
    std::map<std::string, uint32_t> rows;  // class counted under + TIPO_ROM + CLASE -> record
    for (st->Seek(dayKey(neg, d)); !st->Eof() && st->FieldGet(f.NEGOCIO).text == neg && st->D("FECHA") == d;
         st->Skip(1)) {
      const std::string clase = st->FieldGet(f.CLASE).text;
      rows.emplace(rowClass(st->FieldGet(f.XCLASE).text, clase) + st->FieldGet(f.TIPO_ROM).text + clase, st->RecNo());
    }
    auto refresh = [&](const std::string& xclase, const std::string& tipo, const std::string& clase, int count,
                       int show1, int show2, double tope) {
      auto it = rows.find(xclase + tipo + clase);
      if (it != rows.end()) {
        st->GoTo(it->second);
        lib::MODIFY(*st, [&] {
          f.put(*st, f.TOTAL, count - f.num(*st, f.OUTORDER));
          f.put(*st, f.SHOW1, show1);
          f.put(*st, f.SHOW2, show2);
          f.complement(*st);
        });
        ++result.rewritten;
      } else {
        lib::ADD(*st, [&] {
          st->FieldPut(f.NEGOCIO, Value::chars(neg));
          st->FieldPut(f.FECHA, Value::date(d));
          st->FieldPut(f.TIPO_ROM, Value::chars(tipo));
          st->FieldPut(f.CLASE, Value::chars(clase));
          st->FieldPut(f.XCLASE, Value::chars(xclase));
          f.put(*st, f.TOTAL, count);
          f.put(*st, f.LIBRE, count);
          f.put(*st, f.SHOW1, show1);
          f.put(*st, f.SHOW2, show2);
          f.put(*st, f.LIM_TOPE, tope);
          f.complement(*st);
        });
        ++result.appended;
      }
    };
    for (const ClassInfo& c : inv.classes) {
      if (!nextRow(progress, result)) return result;
      progress.PUT_TEXT("", "", "", "Procesando : ESTADISTICAS" + date + " " + c.descrip, false);
      for (const TypeInfo& t : inv.types)
        refresh(c.code, t.code, c.code, t.cantidad, t.clase == c.code ? 1 : 0, 0, t.tope);
      refresh(c.code, blank, blank, c.cantidad, 1, 1, c.tope);
    }
  }
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
  // 1. Every row from the start date reset, with its allotment.
  if (!resetRows(*st, f, neg, start, inv, false, false, "Limpiando Fecha: ", false, index, progress, result)) {
    result.completed = false;
    return result;
  }
  // 2. Blocked and out-of-order rooms of the reservation table.
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
      countBlocked(*st, f, index, d, type->clase, type->code, state->second.outOfOrder, result);
    }
  }
  // 3. The nightly rows of the reservations.
  {
    auto nights = open("DET_RES9", "DET_RES9");
    auto stays = open("DET_RES2", "DET_RES2");
    auto headers = open("ENC_RES", "ENC_RES");
    Categories categories(neg);
    progress.SET_TOTAL(keysBetween(*nights, dayKey(neg, start), neg));
    int32_t current = 0;
    for (nights->Seek(dayKey(neg, start), true); !nights->Eof() && raw(*nights, "NEGOCIO") == neg; nights->Skip(1)) {
      if (!nextRow(progress, result)) return result;
      int32_t d = nights->D("FECHA");
      if (d != current) {
        if (current) recomputeDate(*st, f, index, current, result);
        current = d;
        progress.PUT_TEXT("", "Fecha: " + lib::DTOC(d));
      }
      ++result.read;
      const std::string res = raw(*nights, "COD_RES");
      if (!stays->Seek(neg + res + raw(*nights, "COD_HAB") + raw(*nights, "CODIGO"))) continue;
      if (stays->N("ESTADO") > 2) continue;
      Night n;
      // A nightly row left outside its stay's dates (a stay shortened or moved) counts nothing,
      // as the full rebuild, which reads the dates of the stay, would have it.
      n.day = stayDay(stays->D("F_INICIO"), stays->D("F_FINAL"), d);
      if (!n.day.sold && !n.day.arrival && !n.day.departure) continue;
      n.adults = stays->N("N_ADULT");
      n.children = stays->N("N_NINHO");
      n.free = stays->N("N_GRATIS");
      if (headers->Seek(neg + res)) n.category = categories.of(raw(*headers, "TIPO"));
      const std::string clase = raw(*nights, "CLASE");
      countNight(*st, f, index.typeRow(d, clase, raw(*nights, "TIPO_ROM")), n, result);
      countNight(*st, f, index.classRow(d, clase), n, result);
    }
    if (current) recomputeDate(*st, f, index, current, result);
  }
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
  // 3. Reset.
  if (!resetRows(*st, f, neg, first, inv, !keepHistoric, true, "Inicializando Fecha ", true, index, progress, result)) {
    result.completed = false;
    return result;
  }
  // 4. Blocked rooms, date by date.
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
        countBlocked(*st, f, index, d, type->clase, type->code, state->second.outOfOrder, result);
      }
    }
  }
  // 5. The stays, night by night.
  progress.PUT_TEXT("", "Información de Reservaciones ...", " ");
  {
    auto stays = open("DET_RES2", "DET_RS29");
    auto lines = open("DET_RES1", "DET_RES1");
    auto headers = open("ENC_RES", "ENC_RES");
    auto racks = open("ENC_RACK", "ENC_RACK");
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
      if (lines->Seek(neg + res + raw(*stays, "COD_HAB"))) tipo = raw(*lines, "TIPO_ROM");
      std::string clase(kCodeWidth, ' ');
      int category = -1;
      bool header = headers->Seek(neg + res);
      if (header) category = categories.of(raw(*headers, "TIPO"));
      if (byRoomType) {
        if (const TypeInfo* t = inv.type(tipo)) clase = t->clase;
      } else if (header && racks->Seek(neg + raw(*headers, "COD_RACK"))) {
        clase = raw(*racks, "CLASE");
      }
      Night n;
      n.adults = stays->N("N_ADULT");
      n.children = stays->N("N_NINHO");
      n.free = stays->N("N_GRATIS");
      n.category = category;
      // Every date of the stay in the range, its departure date included.
      for (int32_t d = std::max(arrival, first); arrival > 0 && d <= departure; ++d) {
        n.day = stayDay(arrival, departure, d);
        countNight(*st, f, index.typeRow(d, clase, tipo), n, result);
        countNight(*st, f, index.classRow(d, clase), n, result);
      }
    }
  }
  return result;
}

}  // namespace rooms
