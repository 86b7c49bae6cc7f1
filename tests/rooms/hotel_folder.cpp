#include "rooms/hotel_folder.h"

#include <stdexcept>

#include "lib/catalogue.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/availability.h"
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

}  // namespace rooms_testing
