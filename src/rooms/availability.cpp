#include "rooms/availability.h"

#include <algorithm>
#include <cmath>

#include "lib/errors.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "rooms/stat_fields.h"
#include "xbase/date.h"

namespace rooms {

using lib::Value;
using lib::WDBTable;

namespace {

double ratio(double a, double b) {
  return b == 0 ? 0 : a / b;
}

// Percentages as the fields keep them (two decimals), so that comparisons with the ceiling
// and with stored values see what the table will hold.
double percent(double a, double b) {
  return std::round(ratio(a, b) * 100.0 * 100.0) / 100.0;
}

using lib::rtrim;

}  // namespace

std::string statTipKey(const std::string& negocio, const std::string& tipo, int32_t fecha, const std::string& clase) {
  return lib::businessKey(negocio) + lib::padded(tipo, kCodeWidth) + xbase::dtos(fecha) +
         lib::padded(clase, kCodeWidth);
}

std::string statTip2Key(const std::string& negocio, int32_t fecha) {
  return lib::businessKey(negocio) + xbase::dtos(fecha);
}

std::string statTip9Key(const std::string& negocio, const std::string& xclase, const std::string& tipo, int32_t fecha,
                        const std::string& clase) {
  return lib::businessKey(negocio) + lib::padded(xclase, kCodeWidth) + lib::padded(tipo, kCodeWidth) +
         xbase::dtos(fecha) + lib::padded(clase, kCodeWidth);
}

AvailabilityFigures derivedFigures(const AvailabilityCounts& c) {
  AvailabilityFigures f;
  f.house1 = c.reservado;
  f.house0 = f.house1 - c.llegan + c.salen;
  f.pOcup = percent(f.house1, c.total);
  f.pOcupA = percent(f.house1 + c.allotLib, c.total);
  f.pOcupAc = percent(f.house1 + c.cutoffLib, c.total);
  f.pLibre = percent(c.total - f.house1, c.total);
  f.pLibreA = percent(c.total - f.house1 - c.allotLib, c.total);
  f.pLibreAc = percent(c.total - f.house1 - c.cutoffLib, c.total);
  f.pDisp = percent(c.total - f.house1 - c.bloqueado, c.total);
  f.pDispA = percent(c.total - f.house1 - c.bloqueado - c.allotLib, c.total);
  f.pDispAc = percent(c.total - f.house1 - c.bloqueado - c.cutoffLib, c.total);
  f.dispon = c.total - f.house1 - c.bloqueado;
  f.disponA = f.dispon - c.allotLib;
  f.disponAc = f.dispon - c.cutoffLib;
  f.libre = c.total - c.reservado;
  f.alteraTop = c.alteraTop;
  f.notifTope = c.notifTope;
  if (c.classTotal) {
    if (f.pOcup >= c.limTope) {
      if (c.notifTope == 0 && c.limTope > 0) f.alteraTop = 1;
    } else {
      f.alteraTop = 0;
      f.notifTope = 0;
    }
  }
  return f;
}

// ---- StatTipFields ----

StatTipFields::StatTipFields(const WDBTable& t) {
  for (const xbase::FieldSpec& f : t.DBStruct()) {
    // Integer positions; a minus sign takes one of them.
    double digits = std::max(0, f.length - (f.decimals > 0 ? f.decimals + 1 : 0));
    double step = std::pow(10.0, -f.decimals);
    high_.push_back(std::pow(10.0, digits) - step);
    low_.push_back(-std::max(0.0, std::pow(10.0, digits - 1) - step));
  }
  NEGOCIO = at(t, "NEGOCIO");
  FECHA = at(t, "FECHA");
  TIPO_ROM = at(t, "TIPO_ROM");
  CLASE = at(t, "CLASE");
  XCLASE = at(t, "XCLASE");
  SHOW1 = at(t, "SHOW1");
  SHOW2 = at(t, "SHOW2");
  TOTAL = at(t, "TOTAL");
  LIBRE = at(t, "LIBRE");
  RESERVADO = at(t, "RESERVADO");
  BLOQUEADO = at(t, "BLOQUEADO");
  OUTORDER = at(t, "OUTORDER");
  N_ADULT = at(t, "N_ADULT");
  N_NINHO = at(t, "N_NINHO");
  N_GRATIS = at(t, "N_GRATIS");
  for (int k = 0; k < 5; ++k) CLAS[k] = at(t, ("CLAS_" + std::to_string(k)).c_str());
  LLEGAN = at(t, "LLEGAN");
  SALEN = at(t, "SALEN");
  ALLOT_TOT = at(t, "ALLOT_TOT");
  ALLOT_LIB = at(t, "ALLOT_LIB");
  CUTOFF_LIB = at(t, "CUTOFF_LIB");
  HOUSE1 = at(t, "HOUSE1");
  HOUSE0 = at(t, "HOUSE0");
  P_OCUP = at(t, "P_OCUP");
  P_OCUP_A = at(t, "P_OCUP_A");
  P_OCUP_AC = at(t, "P_OCUP_AC");
  P_LIBRE = at(t, "P_LIBRE");
  P_LIBRE_A = at(t, "P_LIBRE_A");
  P_LIBRE_AC = at(t, "P_LIBRE_AC");
  P_DISP = at(t, "P_DISP");
  P_DISP_A = at(t, "P_DISP_A");
  P_DISP_AC = at(t, "P_DISP_AC");
  DISPON = at(t, "DISPON");
  DISPON_A = at(t, "DISPON_A");
  DISPON_AC = at(t, "DISPON_AC");
  LIM_TOPE = at(t, "LIM_TOPE");
  ALTERA_TOP = at(t, "ALTERA_TOP");
  NOTIF_TOPE = at(t, "NOTIF_TOPE");
  ALTERA_1 = at(t, "ALTERA_1");
  CONSTRUYE = at(t, "CONSTRUYE");
}

int StatTipFields::at(const WDBTable& t, const char* name) {
  int pos = t.FieldPos(name);
  if (pos <= 0)
    throw lib::RuntimeError(xbase::EG_NOVAR, xbase::SC_FIELD, std::string("no existe el campo ") + name, t.Name);
  return pos;
}

double StatTipFields::clamped(int pos, double value) const {
  size_t i = size_t(pos - 1);
  return i < high_.size() ? std::clamp(value, low_[i], high_[i]) : value;
}

std::string StatTipFields::text(const WDBTable& t, int pos) const {
  return rtrim(t.FieldGet(pos).text);
}

void StatTipFields::put(WDBTable& t, int pos, double value) const {
  t.FieldPut(pos, Value::num(clamped(pos, value)));
}

AvailabilityCounts StatTipFields::counts(const WDBTable& t) const {
  AvailabilityCounts c;
  c.total = num(t, TOTAL);
  c.reservado = num(t, RESERVADO);
  c.bloqueado = num(t, BLOQUEADO);
  c.llegan = num(t, LLEGAN);
  c.salen = num(t, SALEN);
  c.allotLib = num(t, ALLOT_LIB);
  c.cutoffLib = num(t, CUTOFF_LIB);
  c.limTope = num(t, LIM_TOPE);
  c.alteraTop = num(t, ALTERA_TOP);
  c.notifTope = num(t, NOTIF_TOPE);
  c.classTotal = text(t, CLASE).empty() && !text(t, XCLASE).empty();
  return c;
}

bool StatTipFields::upToDate(const WDBTable& t) const {
  AvailabilityFigures f = derivedFigures(counts(t));
  auto same = [&](int pos, double v) { return std::fabs(num(t, pos) - clamped(pos, v)) < 0.005; };
  return same(HOUSE1, f.house1) && same(HOUSE0, f.house0) && same(P_OCUP, f.pOcup) && same(P_OCUP_A, f.pOcupA) &&
         same(P_OCUP_AC, f.pOcupAc) && same(P_LIBRE, f.pLibre) && same(P_LIBRE_A, f.pLibreA) &&
         same(P_LIBRE_AC, f.pLibreAc) && same(P_DISP, f.pDisp) && same(P_DISP_A, f.pDispA) &&
         same(P_DISP_AC, f.pDispAc) && same(DISPON, f.dispon) && same(DISPON_A, f.disponA) &&
         same(DISPON_AC, f.disponAc) && same(LIBRE, f.libre) && same(ALTERA_TOP, f.alteraTop) &&
         same(NOTIF_TOPE, f.notifTope);
}

void StatTipFields::complement(WDBTable& t) const {
  AvailabilityFigures f = derivedFigures(counts(t));
  put(t, HOUSE1, f.house1);
  put(t, HOUSE0, f.house0);
  put(t, P_OCUP, f.pOcup);
  put(t, P_OCUP_A, f.pOcupA);
  put(t, P_OCUP_AC, f.pOcupAc);
  put(t, P_LIBRE, f.pLibre);
  put(t, P_LIBRE_A, f.pLibreA);
  put(t, P_LIBRE_AC, f.pLibreAc);
  put(t, P_DISP, f.pDisp);
  put(t, P_DISP_A, f.pDispA);
  put(t, P_DISP_AC, f.pDispAc);
  put(t, DISPON, f.dispon);
  put(t, DISPON_A, f.disponA);
  put(t, DISPON_AC, f.disponAc);
  put(t, LIBRE, f.libre);
  put(t, ALTERA_TOP, f.alteraTop);
  put(t, NOTIF_TOPE, f.notifTope);
}

// ---- The shared routines ----

AvailabilityCounts countsOf(const WDBTable& statTip) {
  return StatTipFields(statTip).counts(statTip);
}

bool derivedUpToDate(const WDBTable& statTip) {
  return StatTipFields(statTip).upToDate(statTip);
}

void COMPLEMENTA(void*, WDBTable& statTip, bool lock) {
  if (statTip.Eof()) return;
  StatTipFields f(statTip);
  if (lock)
    lib::MODIFY(statTip, [&] { f.complement(statTip); });
  else
    f.complement(statTip);
}

namespace {

void changeTotal(WDBTable& statTip, const StatTipFields& f, int delta) {
  lib::MODIFY(statTip, [&] {
    f.add(statTip, f.TOTAL, delta);
    f.add(statTip, f.LIBRE, delta);
    f.put(statTip, f.ALTERA_1, 1);
    f.complement(statTip);
  });
}

}  // namespace

void CAM_TOTAL_Y_LIBRE(WDBTable& statTip, int delta) {
  if (statTip.Eof()) return;
  changeTotal(statTip, StatTipFields(statTip), delta);
}

StayDay stayDay(int32_t arrival, int32_t departure, int32_t fecha) {
  StayDay day;
  if (arrival <= 0 || departure < arrival || fecha < arrival || fecha > departure) return day;
  day.sold = fecha < departure;
  day.arrival = fecha == arrival;
  day.departure = fecha == departure;
  return day;
}

int CAM_ESTADIA(WDBTable& statTip, const std::string& negocio, const std::string& clase, const std::string& tipo,
                const StayNights& stay, int32_t from, int sign) {
  StatTipFields f(statTip);
  int changed = 0;
  auto count = [&](bool found, int32_t d) {
    if (!found) return;
    const StayDay day = stayDay(stay.arrival, stay.departure, d);
    lib::MODIFY(statTip, [&] {
      if (day.sold) {
        f.add(statTip, f.RESERVADO, sign);
        f.add(statTip, f.N_ADULT, sign * stay.adults);
        f.add(statTip, f.N_NINHO, sign * stay.children);
        f.add(statTip, f.N_GRATIS, sign * stay.free);
        if (stay.category >= 0 && stay.category <= 4) f.add(statTip, f.CLAS[stay.category], sign);
      }
      if (day.arrival) f.add(statTip, f.LLEGAN, sign);
      if (day.departure) f.add(statTip, f.SALEN, sign);
      f.put(statTip, f.ALTERA_1, 1);
      f.complement(statTip);
    });
    ++changed;
  };
  for (int32_t d = std::max(stay.arrival, from); stay.arrival && d <= stay.departure; ++d) {
    statTip.SetOrder("STAT_TIP");
    count(statTip.Seek(statTipKey(negocio, tipo, d, clase)), d);
    statTip.SetOrder("STAT_TIP9");
    count(statTip.Seek(statTip9Key(negocio, clase, "", d, "")), d);
  }
  return changed;
}

int CAM_BLOQUEO(WDBTable& statTip, const std::string& negocio, const std::string& clase, const std::string& tipo,
                int32_t fecha, bool outOfOrder, int sign) {
  StatTipFields f(statTip);
  int changed = 0;
  auto count = [&](bool found) {
    if (!found) return;
    lib::MODIFY(statTip, [&] {
      f.add(statTip, f.BLOQUEADO, sign);
      if (outOfOrder) {
        f.add(statTip, f.OUTORDER, sign);
        f.add(statTip, f.TOTAL, -sign);
        f.add(statTip, f.LIBRE, -sign);
      }
      f.put(statTip, f.ALTERA_1, 1);
      f.complement(statTip);
    });
    ++changed;
  };
  statTip.SetOrder("STAT_TIP");
  count(statTip.Seek(statTipKey(negocio, tipo, fecha, clase)));
  statTip.SetOrder("STAT_TIP9");
  count(statTip.Seek(statTip9Key(negocio, clase, "", fecha, "")));
  return changed;
}

int CAM_TOTAL_TIPO(WDBTable& statTip, const std::string& negocio, const std::string& clase, const std::string& tipo,
                   int32_t from, int delta) {
  StatTipFields f(statTip);
  const std::string neg = lib::businessKey(negocio);
  int changed = 0;
  if (!rtrim(tipo).empty()) {
    const std::string type = lib::padded(tipo, kCodeWidth);
    statTip.SetOrder("STAT_TIP");
    statTip.Seek(statTipKey(negocio, tipo, from, ""), true);
    while (!statTip.Eof() && statTip.FieldGet(f.NEGOCIO).text == neg && statTip.FieldGet(f.TIPO_ROM).text == type) {
      changeTotal(statTip, f, delta);
      ++changed;
      statTip.Skip(1);
    }
  }
  if (!rtrim(clase).empty()) {
    const std::string cls = lib::padded(clase, kCodeWidth), blank(kCodeWidth, ' ');
    statTip.SetOrder("STAT_TIP9");
    statTip.Seek(statTip9Key(negocio, clase, "", from, ""), true);
    while (!statTip.Eof() && statTip.FieldGet(f.NEGOCIO).text == neg && statTip.FieldGet(f.XCLASE).text == cls &&
           statTip.FieldGet(f.TIPO_ROM).text == blank) {
      if (statTip.FieldGet(f.CLASE).text == blank) {
        changeTotal(statTip, f, delta);
        ++changed;
      }
      statTip.Skip(1);
    }
  }
  return changed;
}

int CAM_STAT_TOT(WDBTable& statTot, const std::string& negocio, int32_t from, int delta) {
  const std::string neg = lib::businessKey(negocio);
  statTot.SetOrder("STAT_TOT");
  statTot.Seek(neg + xbase::dtos(from), true);
  int changed = 0;
  while (!statTot.Eof() && statTot.FieldGet("NEGOCIO").text == neg) {
    lib::MODIFY(statTot, [&] {
      statTot.FieldPut("TOTAL", Value::num(statTot.N("TOTAL") + delta));
      statTot.FieldPut("LIBRE", Value::num(statTot.N("LIBRE") + delta));
    });
    ++changed;
    statTot.Skip(1);
  }
  return changed;
}

int ADD_TAB_RESE(WDBTable& tabRese, const std::string& negocio, const std::string& room, const std::string& clase,
                 const std::string& freeState, int32_t from) {
  const std::string neg = lib::businessKey(negocio), code = lib::padded(room, kRoomWidth);
  int added = 0;
  for (int32_t d = from;; ++d) {
    tabRese.SetOrder("TAB_RESE");
    if (!tabRese.Seek(neg + xbase::dtos(d))) break;  // the first date not generated
    tabRese.SetOrder("TAB_RES2");
    if (tabRese.Seek(neg + code + xbase::dtos(d))) continue;
    lib::ADD(tabRese, [&] {
      tabRese.FieldPut("NEGOCIO", Value::chars(neg));
      tabRese.FieldPut("CODIGO", Value::chars(code));
      tabRese.FieldPut("FECHA", Value::date(d));
      tabRese.FieldPut("T_EST_HA", Value::chars(freeState));
      tabRese.FieldPut("CLASE", Value::chars(clase));
      tabRese.FieldPut("PREASIGN", Value::num(0));
    });
    ++added;
  }
  return added;
}

int DEL_TAB_RESE(WDBTable& tabRese, const std::string& negocio, const std::string& room, int32_t from) {
  const std::string prefix = lib::businessKey(negocio) + lib::padded(room, kRoomWidth);
  tabRese.SetOrder("TAB_RES2");
  tabRese.Seek(prefix + xbase::dtos(from), true);
  int deleted = 0;
  while (!tabRese.Eof() && tabRese.FieldGet("NEGOCIO").text + tabRese.FieldGet("CODIGO").text == prefix) {
    lib::MODIFY(tabRese, [&] { tabRese.Delete(); });
    ++deleted;
    tabRese.Skip(1);
  }
  return deleted;
}

int REN_TAB_RESE(WDBTable& tabRese, const std::string& negocio, const std::string& oldRoom, const std::string& newRoom,
                 int32_t from) {
  const std::string neg = lib::businessKey(negocio);
  const std::string oldCode = lib::padded(oldRoom, kRoomWidth), newCode = lib::padded(newRoom, kRoomWidth);
  if (oldCode == newCode) return 0;
  tabRese.SetOrder("TAB_RES2");
  int renamed = 0;
  // Each date is sought anew: the renamed row leaves the old code's keys.
  for (int32_t d = from; tabRese.Seek(neg + oldCode + xbase::dtos(d)); ++d) {
    lib::MODIFY(tabRese, [&] { tabRese.FieldPut("CODIGO", Value::chars(newCode)); });
    ++renamed;
  }
  return renamed;
}

}  // namespace rooms
