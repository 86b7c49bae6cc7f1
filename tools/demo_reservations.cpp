#include "tools/demo_reservations.h"

#include <algorithm>
#include <vector>

#include "tools/demo_data.h"
#include "tools/demo_hotel.h"
#include "xbase/date.h"

namespace initdb {

namespace {

using xbase::DbfTable;
using xbase::Value;

std::string padded(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

std::string text(const DbfTable& t, const char* field) {
  std::string s = t.get(field).text;
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

struct StayRef {
  std::string codRes, room;
  int estado = 0;
  int32_t arrival = 0, departure = 0;
};

// The stays of business "01" with a room, in the order of the table.
std::vector<StayRef> staysWithRoom(const std::string& home) {
  std::vector<StayRef> all;
  auto t = openTable(home, "DET_RES2");
  for (t->goTop(); !t->eof(); t->skip()) {
    if (text(*t, "NEGOCIO") != "01" || text(*t, "COD_ROOMS").empty()) continue;
    all.push_back({text(*t, "COD_RES"), text(*t, "COD_ROOMS"), int(t->get("ESTADO").number), t->get("F_INICIO").julian,
                   t->get("F_FINAL").julian});
  }
  return all;
}

bool roomDay(DbfTable& tab, int32_t d, const std::string& room) {
  tab.setOrder("TAB_RESE");
  return tab.seek(Value::chars("01" + xbase::dtos(d) + padded(room, 15)));
}

}  // namespace

void addReservationPolicyDemo(const std::string& home) {
  {
    auto t = openTable(home, "E_T_RES");
    for (t->goTop(); !t->eof(); t->skip()) {
      const std::string code = text(*t, "CODIGO");
      if (code == "DE") {  // half when booking, in two payments, by card unless told otherwise
        t->putNumber("PORCE_CONF", 50);
        t->putNumber("DESGLOSE", 1);
        t->putNumber("PORC_PAGO", 50);
        t->putNumber("DIAS_PAGO", 7);
        t->putNumber("PORC_PAGO2", 50);
        t->putNumber("DIAS_PAGO2", 30);
        t->putString("PAGO_X_DEF", "TAR");
        t->putString("DESP_GARAN", "GT");
        t->putNumber("CONFIRMA1", 1);
        t->putNumber("CONFIRMA2", 1);
        t->putNumber("TIP_GARANT", 1);
        t->putString("HTML_CONF", "confirmacion_deposito.html");
        t->putString("HTML_CONF2", "recordatorio.html");
        t->putNumber("HTML_PREV2", 7);
      } else if (code == "GT") {
        t->putString("PAGO_X_DEF", "TAR");
        t->putNumber("CONFIRMA1", 1);
        t->putNumber("SIEM_CARGA", 1);
        t->putNumber("NOSHOW_1N", 1);
        t->putNumber("TIP_GARANT", 1);
        t->putString("HTML_CONF", "confirmacion.html");
      } else if (code == "SG") {
        t->putNumber("DIA_NOSHOW", 0);
        t->putString("DESP_GARAN", "GT");
        t->putNumber("FOLLOWUP", 1);
      }
    }
  }
  {
    auto t = openTable(home, "D_T_RES");
    const struct {
      const char *code, *idioma, *header, *footer, *html;
    } messages[] = {
        {"GT", "ES", "Estimado(a) <<nombre>>:\r\nConfirmamos su reservación <<reserva>> del <<fecha_I>> al <<fecha_S>>.",
         "Su reservación está garantizada con tarjeta de crédito.", "confirmacion_es.html"},
        {"GT", "EN", "Dear <<nombre>>,\r\nWe confirm your reservation <<reserva>> from <<fecha_I>> to <<fecha_S>>.",
         "Your reservation is guaranteed by credit card.", "confirmation_en.html"},
        {"DE", "ES", "Estimado(a) <<nombre>>:\r\nPara confirmar su reservación <<reserva>> esperamos su depósito.",
         "Total de la estadía: <<total>>", "deposito_es.html"},
        {"DE", "EN", "Dear <<nombre>>,\r\nYour reservation <<reserva>> awaits your deposit.",
         "Total of your stay: <<total>>", "deposit_en.html"},
    };
    for (const auto& m : messages) {
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", m.code);
      t->putString("IDIOMA", m.idioma);
      t->putString("TEXTO", m.header);
      t->putString("TEXTO2", m.footer);
      t->putString("HTML_CONF", m.html);
    }
  }
  {
    auto t = openTable(home, "E_T_RES1");
    for (const std::string business : {"01", "02"})
      for (const auto& [code, descrip] : {std::pair{"PRIV", "Clientes Privados"}, std::pair{"EMPR", "Empresas"}}) {
        t->append();
        t->putString("NEGOCIO", business);
        t->putString("CODIGO", code);
        t->putString("DESCRIP", descrip);
      }
  }
  {
    auto t = openTable(home, "TIP_RES1");
    for (t->goTop(); !t->eof(); t->skip()) t->putString("ETRES1", text(*t, "CODIGO") == "COR" ? "EMPR" : "PRIV");
  }
  {
    auto t = openTable(home, "TIP_RES2");
    for (t->goTop(); !t->eof(); t->skip())
      if (text(*t, "CODIGO") == "CON") t->putNumber("NO_RESERVA", 1);  // congresses come through the sales office
  }
  // Most reservations individual, one in five a group, one in ten corporate; holidays, business
  // and congresses in turn.
  auto headers = openTable(home, "ENC_RES");
  long n = 0;
  for (headers->goTop(); !headers->eof(); headers->skip(), ++n) {
    if (text(*headers, "NEGOCIO") != "01") continue;
    headers->putString("CLAS_1", n % 10 == 9 ? "COR" : n % 5 == 4 ? "GRU" : "IND");
    headers->putString("CLAS_2", n % 3 == 0 ? "VAC" : n % 3 == 1 ? "NEG" : "CON");
  }
}

// Each change below is one the check finds (and "Corregir Errores" repairs); none touches what
// the availability statistics count, so the demo's statistics stay those of its stays.
void addCongruenceDemo(const std::string& home) {
  const int32_t closing = demoClosingDay();
  const std::vector<StayRef> stays = staysWithRoom(home);
  std::vector<StayRef> inHouse, pending, departed;
  for (const StayRef& s : stays) {
    if (s.estado == 1) inHouse.push_back(s);
    if (s.estado == 0 && s.arrival > closing + 2 && s.departure - s.arrival >= 2 && s.departure < demoLastDay() &&
        (pending.empty() || pending.back().codRes != s.codRes))
      pending.push_back(s);
    if (s.estado == 2 && s.departure < closing - 20) departed.push_back(s);
  }
  if (inHouse.size() < 4 || pending.size() < 3 || departed.empty()) return;

  auto rooms = openTable(home, "ROOMS");
  rooms->setOrder("ROOMS");
  auto roomRecord = [&](const std::string& code) { return rooms->seek(Value::chars("01" + padded(code, 15))); };
  // The room master: an in-house room without its reservation, another with a wrong one, and a
  // free room still holding a departed reservation.
  if (roomRecord(inHouse[0].room)) rooms->putString("COD_RES", "");
  if (roomRecord(inHouse[1].room)) rooms->putString("COD_RES", departed[0].codRes);
  std::vector<std::string> occupied;
  for (const StayRef& s : inHouse) occupied.push_back(s.room);
  for (rooms->seek(Value::chars("01"), true); !rooms->eof() && text(*rooms, "NEGOCIO") == "01"; rooms->skip())
    if (std::find(occupied.begin(), occupied.end(), text(*rooms, "CODIGO")) == occupied.end() &&
        text(*rooms, "COD_RES").empty()) {
      rooms->putString("COD_RES", departed[0].codRes);
      break;
    }
  rooms.reset();

  auto tab = openTable(home, "TAB_RESE");
  // In-house room-days: a night in the wrong state, a night still pre-assigned.
  if (roomDay(*tab, inHouse[2].arrival, inHouse[2].room)) tab->putString("T_EST_HA", "01");
  if (roomDay(*tab, inHouse[3].arrival, inHouse[3].room)) tab->putNumber("PREASIGN", 1);
  // Pending stays: a night no longer pre-assigned, a night pre-assigned to nobody.
  if (roomDay(*tab, pending[0].arrival, pending[0].room)) tab->putNumber("PREASIGN", 0);
  if (roomDay(*tab, pending[1].arrival + 1, pending[1].room)) tab->putString("PRE_RES", "");
  // Free room-days ahead: one pre-assigned to a reservation of another room, one holding a
  // reservation that never stayed there, one occupied without a reservation.
  int planted = 0;
  tab->setOrder("TAB_RESE");
  for (tab->seek(Value::chars("01" + xbase::dtos(closing + 20)), true); !tab->eof() && planted < 3; tab->skip()) {
    const std::string room = text(*tab, "CODIGO");
    if (text(*tab, "T_EST_HA") != "01" || !text(*tab, "RESERVA").empty() || !text(*tab, "PRE_RES").empty() ||
        room == pending[2].room || room == departed[0].room)
      continue;
    if (planted == 0) {
      tab->putString("PRE_RES", pending[2].codRes);
      tab->putNumber("PREASIGN", 1);
    } else if (planted == 1) {
      tab->putString("RESERVA", departed[0].codRes);
    } else {
      tab->putString("T_EST_HA", "04");
    }
    ++planted;
    for (int skip = 0; skip < 40 && !tab->eof(); ++skip) tab->skip();  // spread them over the year
  }
  tab.reset();

  // Day rows: two with another agency, one with another source kind.
  auto days = openTable(home, "DET_RES9");
  days->setOrder("DET_RES9");
  auto row = [&](int32_t d, const std::string& codRes) {
    return days->seek(Value::chars("01" + xbase::dtos(d) + padded(codRes, 10)));
  };
  if (row(pending[0].arrival, pending[0].codRes))
    days->putString("AGENCIA", text(*days, "AGENCIA") == "EXPEDIA" ? "BOOKING" : "EXPEDIA");
  if (row(pending[1].arrival, pending[1].codRes))
    days->putString("AGENCIA", text(*days, "AGENCIA") == "TRAVELNET" ? "DIRECTO" : "TRAVELNET");
  if (row(pending[2].arrival, pending[2].codRes))
    days->putNumber("TIP_SOURCE", days->get("TIP_SOURCE").number == 3 ? 2 : 3);
}

void addReservationDemo(const std::string& home) {
  addReservationPolicyDemo(home);
  addCongruenceDemo(home);
}

}  // namespace initdb
