#include "rooms/room_counters.h"

#include <map>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/hotel_day.h"
#include "rooms/room_details.h"
#include "xbase/date.h"

namespace rooms {

namespace {

using lib::Value;

std::string neg(const std::string& negocio) {
  return lib::businessKey(negocio);
}

// Adds `delta` to a numeric field of the record found by `key`; false when there is none.
bool addTo(const std::string& table, const std::string& key, const std::string& field, double delta) {
  if (!lib::IS_FILE(nullptr, table)) return false;
  auto t = lib::USE(nullptr, table, table);
  bool found = t->Seek(key);
  if (found && delta != 0) lib::MODIFY(*t, [&] { t->FieldPut(field, Value::num(t->N(field) + delta)); });
  lib::KILLTABLA(t);
  return found;
}

// The ceiling rule on the current availability row, under its lock.
void applyCeiling(lib::WDBTable& s, double tope) {
  lib::MODIFY(s, [&] {
    s.FieldPut("LIM_TOPE", Value::num(tope));
    if (s.N("P_OCUP") >= tope) {
      s.FieldPut("ALTERA_TOP", Value::num(tope > 0 ? 1 : 0));
    } else {
      s.FieldPut("ALTERA_TOP", Value::num(0));
      s.FieldPut("NOTIF_TOPE", Value::num(0));
    }
  });
}

int countRooms(const std::string& negocio, const std::string& tipo) {
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS2");
  const std::string key = neg(negocio) + lib::padded(tipo, kCodeWidth);
  rooms->SetScope(Value::chars(key), Value::chars(key));
  int n = 0;
  for (rooms->GoTop(); !rooms->Eof(); rooms->Skip()) ++n;
  lib::KILLTABLA(rooms);
  return n;
}

void storeCount(const std::string& table, const std::string& key, double count) {
  auto t = lib::USE(nullptr, table, table);
  if (t->Seek(key) && t->N("CANTIDAD") != count) lib::MODIFY(*t, [&] { t->FieldPut("CANTIDAD", Value::num(count)); });
  lib::KILLTABLA(t);
}

struct ClassOfBusiness {
  std::string code;
  double cantidad;
};

std::vector<ClassOfBusiness> classesOf(const std::string& negocio) {
  std::vector<ClassOfBusiness> out;
  auto c = lib::USE(nullptr, "CLAS_ROM", "CLAS_ROM");
  c->SetScope(Value::chars(neg(negocio)), Value::chars(neg(negocio)));
  for (c->GoTop(); !c->Eof(); c->Skip()) out.push_back({c->S("CODIGO"), c->N("CANTIDAD")});
  lib::KILLTABLA(c);
  return out;
}

// Every room of the type, each rewritten under its lock by `change`.
template <typename F>
void eachRoomOfType(const std::string& negocio, const std::string& tipo, F change) {
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS2");
  const std::string key = neg(negocio) + lib::padded(tipo, kCodeWidth);
  if (rooms->Seek(key)) {
    while (!rooms->Eof() && rooms->S("NEGOCIO") == lib::trim(negocio) && rooms->S("TIPO") == lib::trim(tipo)) {
      // The rewrite may move the room in this order: the next one is taken first.
      const uint32_t current = rooms->RecNo();
      rooms->Skip();
      const uint32_t next = rooms->Eof() ? 0 : rooms->RecNo();
      rooms->GoTo(current);
      change(*rooms);
      if (!next) break;
      rooms->GoTo(next);
    }
  }
  lib::KILLTABLA(rooms);
}

}  // namespace

std::optional<std::string> CLASE_DEL_TIPO(const std::string& negocio, const std::string& tipo) {
  if (lib::trim(tipo).empty()) return std::nullopt;
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  std::optional<std::string> clase;
  if (t->Seek(neg(negocio) + lib::padded(tipo, kCodeWidth))) clase = t->S("CLASE");
  lib::KILLTABLA(t);
  return clase;
}

void SUMA_TIPO(const std::string& negocio, const std::string& tipo, double delta) {
  addTo("TIPO_ROM", neg(negocio) + lib::padded(tipo, kCodeWidth), "CANTIDAD", delta);
}

void SUMA_CLASE(const std::string& negocio, const std::string& clase, double delta) {
  if (!lib::trim(clase).empty()) addTo("CLAS_ROM", neg(negocio) + lib::padded(clase, kCodeWidth), "CANTIDAD", delta);
}

void SUMA_CANT_ROOMS(const std::string& negocio, double delta) {
  addTo("F_HOTEL", neg(negocio), "CANT_ROOMS", delta);
}

void SUMA_DISPONIBLE(const std::string& negocio, const std::string& clase, const std::string& tipo, int32_t desde,
                     double delta) {
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  CAM_TOTAL_TIPO(*s, negocio, clase, tipo, desde, int(delta));
  lib::KILLTABLA(s);
}

void SUMA_DISPONIBLE_CLASE(const std::string& negocio, const std::string& clase, int32_t desde, double delta) {
  if (lib::trim(clase).empty()) return;
  SUMA_DISPONIBLE(negocio, clase, "", desde, delta);
}

void SUMA_STAT_TOT(const std::string& negocio, int32_t desde, double delta) {
  auto s = lib::USE(nullptr, "STAT_TOT", "STAT_TOT");
  CAM_STAT_TOT(*s, negocio, desde, int(delta));
  lib::KILLTABLA(s);
}

bool SUMA_ROOM_DE_TIPO(const std::string& negocio, const std::string& tipo, int32_t desde, double delta) {
  const std::optional<std::string> clase = CLASE_DEL_TIPO(negocio, tipo);
  if (!clase) return false;
  SUMA_TIPO(negocio, tipo, delta);
  SUMA_CLASE(negocio, *clase, delta);
  SUMA_DISPONIBLE(negocio, *clase, tipo, desde, delta);
  return true;
}

void SUMA_BLOQUEOS_ROOM(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde,
                        int sign) {
  const std::optional<std::string> clase = CLASE_DEL_TIPO(negocio, tipo);
  if (!clase || !lib::IS_FILE(nullptr, "STAT_TIP") || !lib::IS_FILE(nullptr, "T_EST_HA")) return;
  std::map<std::string, bool> blocked;  // blocked state -> out of order
  {
    auto e = lib::USE(nullptr, "T_EST_HA", "T_EST_HA");
    e->SetScope(Value::chars(neg(negocio)), Value::chars(neg(negocio)));
    for (e->GoTop(); !e->Eof(); e->Skip())
      if (e->N("BLOQUEADO") == 1) blocked[e->S("CODIGO")] = e->N("OUTORDER") == 1;
    lib::KILLTABLA(e);
  }
  if (blocked.empty()) return;
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  t->Seek(neg(negocio) + lib::padded(room, kRoomWidth) + xbase::dtos(desde), true);
  for (; !t->Eof() && t->S("NEGOCIO") == lib::trim(negocio) && t->S("CODIGO") == lib::trim(room); t->Skip()) {
    auto state = blocked.find(t->S("T_EST_HA"));
    if (state != blocked.end()) CAM_BLOQUEO(*s, negocio, *clase, tipo, t->D("FECHA"), state->second, sign);
  }
  lib::KILLTABLA(t);
  lib::KILLTABLA(s);
}

bool ROOM_AGREGADA(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde) {
  SUMA_CANT_ROOMS(negocio, +1);
  SUMA_STAT_TOT(negocio, desde, +1);
  if (!SUMA_ROOM_DE_TIPO(negocio, tipo, desde, +1)) return false;
  auto tabRese = lib::USE(nullptr, "TAB_RESE", "TAB_RESE");
  ADD_TAB_RESE(*tabRese, negocio, room, CLASE_DEL_TIPO(negocio, tipo).value_or(""), ESTADO_LIBRE(negocio), desde);
  lib::KILLTABLA(tabRese);
  return true;
}

void ROOM_BORRADA(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde) {
  SUMA_ROOM_DE_TIPO(negocio, tipo, desde, -1);
  SUMA_STAT_TOT(negocio, desde, -1);
  SUMA_CANT_ROOMS(negocio, -1);
  SUMA_BLOQUEOS_ROOM(negocio, room, tipo, desde, -1);
  BORRA_TAB_RESE(negocio, room, desde);
  BORRA_FILAS_ROOM(kAccesorios, negocio, room);
  BORRA_FILAS_ROOM(kCualidades, negocio, room);
}

int RECUENTA_TIPO(const std::string& negocio, const std::string& tipo) {
  const int n = countRooms(negocio, tipo);
  storeCount("TIPO_ROM", neg(negocio) + lib::padded(tipo, kCodeWidth), n);
  return n;
}

int RECUENTA_CLASE(const std::string& negocio, const std::string& clase) {
  std::vector<std::string> types;
  {
    auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM2");
    const std::string key = neg(negocio) + lib::padded(clase, kCodeWidth);
    t->SetScope(Value::chars(key), Value::chars(key));
    for (t->GoTop(); !t->Eof(); t->Skip()) types.push_back(t->S("CODIGO"));
    lib::KILLTABLA(t);
  }
  int n = 0;
  for (const std::string& tipo : types) n += countRooms(negocio, tipo);
  storeCount("CLAS_ROM", neg(negocio) + lib::padded(clase, kCodeWidth), n);
  return n;
}

void CLASE_A_ROOMS(const std::string& negocio, const std::string& tipo, const std::string& clase) {
  eachRoomOfType(negocio, tipo, [&](lib::WDBTable& room) {
    if (room.S("CLASE") != lib::trim(clase)) lib::MODIFY(room, [&] { room.FieldPut("CLASE", Value::chars(clase)); });
  });
}

void QUITA_TIPO_A_ROOMS(const std::string& negocio, const std::string& tipo) {
  if (lib::trim(tipo).empty()) return;
  eachRoomOfType(negocio, tipo, [&](lib::WDBTable& room) {
    lib::MODIFY(room, [&] {
      room.FieldPut("TIPO", Value::chars(""));
      room.FieldPut("CLASE", Value::chars(""));
    });
  });
}

int CREA_DISPONIBLE_TIPO(const std::string& negocio, const std::string& tipo, const std::string& claseDelTipo,
                         double cantidad, int32_t desde) {
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP2");
  // The last date of the business unit's rows.
  s->SetScope(Value::chars(neg(negocio)), Value::chars(neg(negocio)));
  s->GoBottom();
  const int32_t hasta = s->Eof() ? 0 : s->D("FECHA");
  s->ClearScope();
  const std::vector<ClassOfBusiness> classes = classesOf(negocio);
  int created = 0;
  auto append = [&](const std::string& clase, const std::string& rowType, int32_t fecha, double total) {
    lib::ADD(*s, [&] {
      s->FieldPut("NEGOCIO", Value::chars(negocio));
      s->FieldPut("FECHA", Value::date(fecha));
      s->FieldPut("TIPO_ROM", Value::chars(rowType));
      s->FieldPut("CLASE", Value::chars(rowType.empty() ? "" : clase));
      s->FieldPut("XCLASE", Value::chars(clase));
      s->FieldPut("SHOW1", Value::num(rowType.empty() || clase == lib::trim(claseDelTipo) ? 1 : 0));
      s->FieldPut("SHOW2", Value::num(rowType.empty() ? 1 : 0));
      s->FieldPut("TOTAL", Value::num(total));
      s->FieldPut("LIBRE", Value::num(total));
      COMPLEMENTA(nullptr, *s, false);
    });
    ++created;
  };
  for (int32_t fecha = desde; hasta && fecha <= hasta; ++fecha) {
    for (const ClassOfBusiness& c : classes) {
      s->SetOrder("STAT_TIP");
      if (!s->Seek(statTipKey(negocio, tipo, fecha, c.code))) append(c.code, lib::trim(tipo), fecha, cantidad);
      s->SetOrder("STAT_TIP9");
      if (!s->Seek(statTip9Key(negocio, c.code, "", fecha, ""))) append(c.code, "", fecha, c.cantidad);
    }
  }
  lib::KILLTABLA(s);
  return created;
}

void SHOW_TIPO_EN_CLASE(const std::string& negocio, const std::string& tipo, const std::string& clase, int32_t desde) {
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  s->Seek(statTipKey(negocio, tipo, desde, ""), true);
  while (!s->Eof() && s->S("NEGOCIO") == lib::trim(negocio) && s->S("TIPO_ROM") == lib::trim(tipo)) {
    const double show = s->S("CLASE") == lib::trim(clase) ? 1 : 0;
    if (s->N("SHOW1") != show) lib::MODIFY(*s, [&] { s->FieldPut("SHOW1", Value::num(show)); });
    s->Skip();
  }
  lib::KILLTABLA(s);
}

void TOPE_TIPO(const std::string& negocio, const std::string& tipo, double tope, int32_t desde) {
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  s->Seek(statTipKey(negocio, tipo, desde, ""), true);
  while (!s->Eof() && s->S("NEGOCIO") == lib::trim(negocio) && s->S("TIPO_ROM") == lib::trim(tipo)) {
    applyCeiling(*s, tope);
    s->Skip();
  }
  lib::KILLTABLA(s);
}

void TOPE_CLASE(const std::string& negocio, const std::string& clase, double tope, int32_t desde) {
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP9");
  s->Seek(statTip9Key(negocio, clase, "", desde, ""), true);
  while (!s->Eof() && s->S("NEGOCIO") == lib::trim(negocio) && s->S("XCLASE") == lib::trim(clase) &&
         s->S("TIPO_ROM").empty()) {
    if (s->S("CLASE").empty()) applyCeiling(*s, tope);
    s->Skip();
  }
  lib::KILLTABLA(s);
}

bool ROOM_COMPROMETIDA(const std::string& negocio, const std::string& room, int32_t desde) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  t->Seek(neg(negocio) + lib::padded(room, kRoomWidth) + xbase::dtos(desde), true);
  bool held = false;
  while (!held && !t->Eof() && t->S("NEGOCIO") == lib::trim(negocio) && t->S("CODIGO") == lib::trim(room)) {
    held = t->N("PREASIGN") == 1 || !t->S("RESERVA").empty();
    t->Skip();
  }
  lib::KILLTABLA(t);
  return held;
}

void RENOMBRA_TAB_RESE(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                       int32_t desde) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  REN_TAB_RESE(*t, negocio, oldCode, newCode, desde);
  lib::KILLTABLA(t);
}

void CLASE_TAB_RESE(const std::string& negocio, const std::string& room, const std::string& clase, int32_t desde) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  t->Seek(neg(negocio) + lib::padded(room, kRoomWidth) + xbase::dtos(desde), true);
  while (!t->Eof() && t->S("NEGOCIO") == lib::trim(negocio) && t->S("CODIGO") == lib::trim(room)) {
    if (t->S("CLASE") != lib::trim(clase)) lib::MODIFY(*t, [&] { t->FieldPut("CLASE", Value::chars(clase)); });
    t->Skip();
  }
  lib::KILLTABLA(t);
}

void BORRA_TAB_RESE(const std::string& negocio, const std::string& room, int32_t desde) {
  auto t = lib::USE(nullptr, "TAB_RESE", "TAB_RES2");
  DEL_TAB_RESE(*t, negocio, room, desde);
  lib::KILLTABLA(t);
}

}  // namespace rooms
