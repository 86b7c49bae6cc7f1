#include "rooms/hotel_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <cstdio>

#include "lib/catalogue.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/room_counters.h"
#include "rooms/room_retype.h"
#include "xbase/date.h"

namespace rooms_testing {

using lib::Value;

int32_t day(int d, int m, int y) {
  return xbase::julianFromYmd(y, m, d);
}

HotelFolder::HotelFolder() {
  for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables())
    xbase::DbfTable::create(bases(t.name + ".DBF"), t.fields, t.tags);
}

namespace {

template <typename F>
void append(const std::string& table, F fill) {
  auto t = lib::USE(nullptr, table);
  lib::ADD(*t, [&] { fill(*t); });
}

void put(lib::WDBTable& t, const char* field, const std::string& text) {
  t.FieldPut(field, Value::chars(text));
}
void put(lib::WDBTable& t, const char* field, double n) {
  t.FieldPut(field, Value::num(n));
}

}  // namespace

void HotelFolder::parameters(int32_t closingDay, const std::string& freeState, int tipoStat) {
  append("F_HOTEL", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    t.FieldPut("CIERRE_DIA", Value::date(closingDay));
    put(t, "LIBRE", freeState);
  });
  append("F_HOTEL3", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "TIPO_STAT", tipoStat);
  });
}

void HotelFolder::roomState(const std::string& code, const std::string& descrip, int blocked, int outOfOrder) {
  append("T_EST_HA", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", descrip);
    put(t, "BLOQUEADO", blocked);
    put(t, "OUTORDER", outOfOrder);
  });
}

void HotelFolder::roomClass(const std::string& code, const std::string& descrip, int cantidad) {
  append("CLAS_ROM", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", descrip);
    put(t, "CANTIDAD", cantidad);
  });
}

void HotelFolder::roomType(const std::string& code, const std::string& clase, int cantidad, int allotment) {
  append("TIPO_ROM", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", "Tipo " + code);
    put(t, "CLASE", clase);
    put(t, "CANTIDAD", cantidad);
    put(t, "ALLOTMENT", allotment);
  });
}

void HotelFolder::room(const std::string& code, const std::string& tipo, const std::string& clase,
                       const std::string& location) {
  append("ROOMS", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", "Habitación " + code);
    put(t, "TIPO", tipo);
    put(t, "CLASE", clase);
    put(t, "UBICA", location);
    put(t, "T_EST_HA", "01");
  });
}

void HotelFolder::statRow(const std::string& clase, const std::string& tipo, int32_t fecha, int total) {
  append("STAT_TIP", [&](lib::WDBTable& t) {
    bool classTotal = tipo.empty();
    put(t, "NEGOCIO", "01");
    t.FieldPut("FECHA", Value::date(fecha));
    put(t, "TIPO_ROM", tipo);
    put(t, "CLASE", classTotal ? "" : clase);
    put(t, "XCLASE", clase);
    put(t, "SHOW1", 1);
    put(t, "SHOW2", classTotal ? 1 : 0);
    put(t, "TOTAL", total);
    put(t, "LIBRE", total);
  });
}

void HotelFolder::tabRese(const std::string& room, int32_t fecha, const std::string& state, const std::string& clase) {
  append("TAB_RESE", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", room);
    t.FieldPut("FECHA", Value::date(fecha));
    put(t, "T_EST_HA", state);
    put(t, "CLASE", clase);
    put(t, "PREASIGN", 0);
  });
}

void HotelFolder::reservation(const std::string& code, const std::string& tipo, const std::string& clase,
                              const std::string& room, int32_t arrival, int32_t departure, int adults, int estado,
                              const std::string& guarantee, const std::string& rack) {
  append("ENC_RES", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "TIPO", guarantee);
    put(t, "COD_RACK", rack);
    t.FieldPut("F_INICIO", Value::date(arrival));
  });
  append("DET_RES1", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "COD_RES", code);
    put(t, "COD_HAB", "01");
    put(t, "TIPO_ROM", tipo);
    put(t, "CANTIDAD", 1);
  });
  append("DET_RES2", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "COD_RES", code);
    put(t, "COD_HAB", "01");
    put(t, "CODIGO", "01");
    put(t, "COD_ROOMS", room);
    put(t, "ESTADO", estado);
    t.FieldPut("F_INICIO", Value::date(arrival));
    t.FieldPut("F_FINAL", Value::date(departure));
    put(t, "N_ADULT", adults);
    put(t, "N_NINHO", 1);
    put(t, "N_GRATIS", 0);
  });
  auto nights = lib::USE(nullptr, "DET_RES9");
  for (int32_t d = arrival; d <= departure; ++d)
    lib::ADD(*nights, [&] {
      put(*nights, "NEGOCIO", "01");
      nights->FieldPut("FECHA", Value::date(d));
      put(*nights, "COD_RES", code);
      put(*nights, "COD_HAB", "01");
      put(*nights, "CODIGO", "01");
      put(*nights, "CLASE", clase);
      put(*nights, "TIPO_ROM", tipo);
      put(*nights, "N_ADULT", adults);
      put(*nights, "N_NINHO", 1);
    });
}

void HotelFolder::guaranteeType(const std::string& code, int category) {
  append("E_T_RES", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", "Garantía " + code);
    put(t, "C_STAT_TIP", category);
  });
}

void HotelFolder::rateType(const std::string& code, const std::string& clase) {
  append("ENC_RACK", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    put(t, "CODIGO", code);
    put(t, "DESCRIP", "Tarifa " + code);
    put(t, "CLASE", clase);
  });
}

void HotelFolder::allotment(int32_t fecha, const std::string& clase, int column, int contracted, int used, int cutoff) {
  append("T_ALLOT", [&](lib::WDBTable& t) {
    put(t, "NEGOCIO", "01");
    t.FieldPut("FECHA", Value::date(fecha));
    put(t, "CLASE", clase);
    put(t, "AGENCIA", "AG" + std::to_string(column));
    std::string n = std::to_string(column);
    put(t, ("TIPO_ROM" + n).c_str(), contracted);
    put(t, ("USO_ROM" + n).c_str(), used);
    put(t, ("C_LIB_RO" + n).c_str(), cutoff);
  });
}

std::string HotelFolder::statTipSnapshot(bool derivedToo, int32_t from) {
  static const char* counts[] = {"TOTAL",    "LIBRE",     "RESERVADO", "BLOQUEADO",  "OUTORDER", "N_ADULT", "N_NINHO",
                                 "N_GRATIS", "CLAS_0",    "CLAS_1",    "CLAS_2",     "CLAS_3",   "CLAS_4",  "LLEGAN",
                                 "SALEN",    "ALLOT_TOT", "ALLOT_LIB", "CUTOFF_LIB", "SHOW1",    "SHOW2"};
  static const char* derived[] = {"HOUSE1",    "HOUSE0",    "P_OCUP",     "P_OCUP_A", "P_OCUP_AC",
                                  "P_LIBRE",   "P_LIBRE_A", "P_LIBRE_AC", "P_DISP",   "P_DISP_A",
                                  "P_DISP_AC", "DISPON",    "DISPON_A",   "DISPON_AC"};
  auto t = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  std::string out;
  char buf[64];
  for (t->Seek("01", true); !t->Eof() && t->S("NEGOCIO") == "01"; t->Skip(1)) {
    if (t->D("FECHA") < from) continue;
    out += t->FieldGet("TIPO_ROM").text + "/" + t->FieldGet("XCLASE").text + "/" + t->FieldGet("CLASE").text + " " +
           xbase::dtos(t->D("FECHA")) + ":";
    for (const char* f : counts) {
      std::snprintf(buf, sizeof buf, " %s=%g", f, t->N(f));
      out += buf;
    }
    if (derivedToo)
      for (const char* f : derived) {
        std::snprintf(buf, sizeof buf, " %s=%g", f, t->N(f));
        out += buf;
      }
    out += "\n";
  }
  return out;
}

namespace {

std::unique_ptr<lib::WDBTable> found(const std::string& table, const std::string& tag, const std::string& key) {
  auto t = lib::USE(nullptr, table, tag);
  if (!t->Seek(key)) throw std::runtime_error(table + ": no hay registro con la clave [" + key + "]");
  return t;
}

}  // namespace

double HotelFolder::number(const std::string& table, const std::string& tag, const std::string& key,
                           const std::string& field) {
  return found(table, tag, key)->N(field);
}

std::string HotelFolder::text(const std::string& table, const std::string& tag, const std::string& key,
                              const std::string& field) {
  return found(table, tag, key)->S(field);
}

bool HotelFolder::exists(const std::string& table, const std::string& tag, const std::string& key) {
  auto t = lib::USE(nullptr, table, tag);
  return t->Seek(key);
}

uint32_t HotelFolder::count(const std::string& table) {
  auto t = lib::USE(nullptr, table);
  uint32_t n = 0;
  for (t->GoTop(); !t->Eof(); t->Skip(1)) ++n;
  return n;
}

namespace {

std::string roomKey(const std::string& room) {
  return "01" + lib::padded(room, rooms::kRoomWidth);
}

// What the room editor does last: the record takes the new type and its class.
void rewriteRoom(const std::string& room, const std::string& tipo) {
  auto r = lib::USE(nullptr, "ROOMS", "ROOMS");
  ASSERT_TRUE(r->Seek(roomKey(room))) << room;
  lib::MODIFY(*r, [&] {
    r->FieldPut("TIPO", Value::chars(tipo));
    r->FieldPut("CLASE", Value::chars(rooms::CLASE_DEL_TIPO("01", tipo).value_or("")));
  });
  lib::KILLTABLA(r);
}

}  // namespace

void addRoom(const std::string& room, const std::string& tipo, int32_t desde) {
  HotelFolder::room(room, tipo, rooms::CLASE_DEL_TIPO("01", tipo).value_or(""));
  ASSERT_TRUE(rooms::ROOM_AGREGADA("01", room, tipo, desde)) << room;
}

void retype(const std::string& room, const std::string& from, const std::string& to, int32_t desde) {
  rooms::CAMBIA_TIPO_ROOM("01", room, room, from, to, desde, nullptr);
  rooms::CLASE_TAB_RESE("01", room, rooms::CLASE_DEL_TIPO("01", to).value_or(""), desde);
  rewriteRoom(room, to);
}

void deleteRoom(const std::string& room, int32_t desde) {
  auto r = lib::USE(nullptr, "ROOMS", "ROOMS");
  ASSERT_TRUE(r->Seek(roomKey(room))) << room;
  rooms::ROOM_BORRADA("01", room, r->S("TIPO"), desde);
  lib::MODIFY(*r, [&] { r->Delete(); });
  lib::KILLTABLA(r);
}

}  // namespace rooms_testing
