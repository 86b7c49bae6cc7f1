#include "lib/price_lookup.h"

#include <array>
#include <cstdio>

#include "lib/rate_calendar.h"
#include "lib/rate_levels.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "lib/wdbtable.h"
#include "xbase/date.h"

namespace lib {

namespace {

const Money kHundred = Money::units(100);

// An amount as the explanation shows it: cents, or the four places a price keeps when it
// uses them.
std::string amount(Money m) {
  return m == m.rounded(2) ? m.text(2) : m.text(4);
}

std::string agencyName(const std::string& key) {
  return padded(key, 15) == kTarifaGeneral ? "la Tarifa General" : "la agencia " + trim(key);
}

std::string dayMonth(int day, int month) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d/%02d", day, month);
  return text;
}

}  // namespace

// The fields of TIP_PREC a lookup reads, by their position in the table (read once per object:
// a night reads several records, and finding a field by name costs more than reading it).
struct PriceFields {
  int agencia, tRoom, descrip, noAplica, nivTari, codPromo, iDia, iMes, iAnho, fDia, fMes, fAnho;
  int adultNorm, adultExt, ninhoNorm, ninhoExt;
  std::array<int, 11> adult{}, ninho{};
  explicit PriceFields(const TableDriver& d)
      : agencia(d.fieldIndex("AGENCIA")),
        tRoom(d.fieldIndex("T_ROOM")),
        descrip(d.fieldIndex("DESCRIP")),
        noAplica(d.fieldIndex("NO_APLICA")),
        nivTari(d.fieldIndex("NIV_TARI")),
        codPromo(d.fieldIndex("COD_PROMO")),
        iDia(d.fieldIndex("I_DIA")),
        iMes(d.fieldIndex("I_MES")),
        iAnho(d.fieldIndex("I_ANHO")),
        fDia(d.fieldIndex("F_DIA")),
        fMes(d.fieldIndex("F_MES")),
        fAnho(d.fieldIndex("F_ANHO")),
        adultNorm(d.fieldIndex("ADULT_NORM")),
        adultExt(d.fieldIndex("ADULT_EXT")),
        ninhoNorm(d.fieldIndex("NINHO_NORM")),
        ninhoExt(d.fieldIndex("NINHO_EXT")) {
    for (int n = 1; n <= 10; ++n) {
      adult[size_t(n)] = d.fieldIndex("ADULT_" + std::to_string(n));
      ninho[size_t(n)] = d.fieldIndex("NINHO_" + std::to_string(n));
    }
  }
};

namespace {

// The current record of a price table, read through its field positions.
struct PriceRow {
  const TableDriver& d;
  const PriceFields& f;
  std::string s(int i) const { return rtrim(d.get(i).text); }
  // A day, month or year field as a number (-1 when it is not one).
  int num(int i) const {
    if (const auto bytes = d.charBytes(i)) return NUMERO_TEXTO(*bytes);
    return NUMERO_TEXTO(d.get(i).text);
  }
  int32_t date(int day, int month, int year) const {
    const int dd = num(day), mm = num(month), yy = num(year);
    return dd < 1 || mm < 1 || yy < 1 ? 0 : xbase::julianFromYmd(yy, mm, dd);
  }
  double n(int i) const { return d.get(i).number; }
  Money m(int i) const { return Money::fromNumber(d.get(i).number); }
};

// The record's range as the lists show it: "01/06/2026 a 30/06/2026", or day/month only.
std::string rangeText(const PriceRow& r, bool yearly) {
  const PriceFields& f = r.f;
  if (yearly)
    return dayMonth(NUMERO_TEXTO(r.s(f.iDia)), NUMERO_TEXTO(r.s(f.iMes))) + " a " +
           dayMonth(NUMERO_TEXTO(r.s(f.fDia)), NUMERO_TEXTO(r.s(f.fMes))) + " (cada año)";
  const int32_t a = FECHA_TEXTOS(r.s(f.iDia), r.s(f.iMes), r.s(f.iAnho));
  const int32_t b = FECHA_TEXTOS(r.s(f.fDia), r.s(f.fMes), r.s(f.fAnho));
  return (a ? FECHA_LARGA(a) : "\"" + r.s(f.iDia) + "/" + r.s(f.iMes) + "/" + r.s(f.iAnho) + "\"") + " a " +
         (b ? FECHA_LARGA(b) : "\"" + r.s(f.fDia) + "/" + r.s(f.fMes) + "/" + r.s(f.fAnho) + "\"");
}

std::string periodName(const PriceRow& r, bool yearly) {
  const std::string d = r.s(r.f.descrip);
  return (d.empty() ? std::string("periodo") : "\"" + d + "\"") + " " + rangeText(r, yearly);
}

// Whether the record's range holds the night; `why`, when given, says why not (without it a
// period that starts after the night is left at its first date).
bool holds(const PriceRow& r, bool yearly, int32_t fecha, std::string* why) {
  auto no = [why](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  const PriceFields& f = r.f;
  if (yearly) {
    const int d1 = r.num(f.iDia), m1 = r.num(f.iMes);
    const int d2 = r.num(f.fDia), m2 = r.num(f.fMes);
    if (d1 < 1 || m1 < 1 || d2 < 1 || m2 < 1) return no("sus días y meses no son fechas");
    const xbase::Ymd ymd = xbase::ymdFromJulian(fecha);
    if (!EN_RANGO_ANUAL(ymd.month, ymd.day, m1, d1, m2, d2)) return no("no contiene la noche");
    return true;
  }
  const int32_t a = r.date(f.iDia, f.iMes, f.iAnho);
  if (!why && a && fecha < a) return false;
  const int32_t b = r.date(f.fDia, f.fMes, f.fAnho);
  if (!a || !b) return no("sus fechas no son válidas");
  if (fecha < a || fecha > b) return no("no contiene la noche");
  return true;
}

// The price of a record by guest or by persons.
Money storedPrice(const PriceRow& r, int kind, int state, bool perPax, int persons) {
  const bool child = kind == C_PRECIO::kNino;
  const PriceFields& f = r.f;
  if (perPax) {
    if (persons < 1 || persons > 10) return {};
    return r.m(child ? f.ninho[size_t(persons)] : f.adult[size_t(persons)]);
  }
  if (child) return r.m(state == C_PRECIO::kExtra ? f.ninhoExt : f.ninhoNorm);
  return r.m(state == C_PRECIO::kExtra ? f.adultExt : f.adultNorm);
}

std::string priceName(int kind, int state, bool perPax, int persons) {
  const bool child = kind == C_PRECIO::kNino;
  if (perPax)
    return std::to_string(persons) +
           (child ? (persons == 1 ? " Niño" : " Niños") : (persons == 1 ? " Adulto" : " Adultos"));
  return std::string(child ? "Niño " : "Adulto ") + (state == C_PRECIO::kExtra ? "Extra" : "Normal");
}

Money lessDiscount(Money price, Money discount) {
  return price - price * discount / kHundred;
}

}  // namespace

C_PRECIO::C_PRECIO(std::string negocio, std::string rack, std::string agencia)
    : negocio_(std::move(negocio)), rack_(trim(rack)), agencia_(trim(agencia)), agencyKey_(kTarifaGeneral) {
  const std::string business = businessKey(negocio_);
  periodMode_ = PRECIOS_POR_PERIODO(negocio_);
  {
    auto r = USE(this, "ENC_RACK", "ENC_RACK");
    if (r->Seek(business + r->KeyPart("CODIGO", rack_))) {
      calculo_ = int(r->N("CALCULO"));
      calcTar_ = int(r->N("CALC_TAR"));
      rackBase_ = trim(r->S("RACK_BASE"));
      tipoBase_ = int(r->N("TIPO_BASE"));
    }
    KILLTABLA(r);
  }
  if (!agencia_.empty()) {
    auto a = USE(this, "AGENCIAS", "AGENCIAS");
    if (a->Seek(business + a->KeyPart("CODIGO", agencia_))) {
      if (a->N("TARIFA_ESP") == 1) agencyKey_ = padded(agencia_, 15);
      codTrel_ = trim(a->S("COD_TREL"));
      for (int n = 1; n <= 50; ++n) {
        const std::string field = "PROMO" + std::to_string(n);
        if (a->HasField(field) && a->N(field) == 1) promos_.set(size_t(n));
      }
    }
    KILLTABLA(a);
  }
}

bool PRECIOS_POR_PERIODO(const std::string& negocio) {
  auto h = USE(nullptr, "F_HOTEL2", "F_HOTEL2");
  return h->Seek(businessKey(negocio)) && h->N("CALC_TAR") != 0;
}

C_PRECIO::~C_PRECIO() {
  for (auto* t : {&prices3_, &prices7_, &prices10_, &seasons_, &subSeasons_, &roomTypes_, &subTypes_, &levels_,
                  &dynSeasons_, &dynValues_})
    KILLTABLA(*t);
}

WDBTable& C_PRECIO::open(std::unique_ptr<WDBTable>& slot, const char* table, const char* tag) {
  if (!slot) {
    slot = USE(this, table, tag);
    if (std::string(table) == "TIP_PREC" && !fields_) fields_ = std::make_unique<PriceFields>(slot->driver());
  }
  return *slot;
}

namespace {

PriceRow rowOf(const WDBTable& t, const PriceFields& f) {
  return {t.driver(), f};
}

}  // namespace

// The scope keys of a lookup are the same for every night of a room type and agency key:
// worked out once (building them goes through the fields' widths and the code page).
template <typename Make>
const std::string& C_PRECIO::scopeKey(const std::string& name, Make make) {
  auto it = scopes_.find(name);
  if (it == scopes_.end()) it = scopes_.emplace(name, make()).first;
  return it->second;
}

bool C_PRECIO::takesPart(const std::string& promo) const {
  const int n = NUMERO_TEXTO(promo);
  return n >= 1 && n <= 50 && promos_.test(size_t(n));
}

// ---- Seasons ----

std::string C_PRECIO::TEMPORADA(int32_t fecha, PriceTrace* trace) {
  WDBTable& t = open(seasons_, "FEC_TEMP", "FEC_TEMP2");
  const xbase::Ymd ymd = xbase::ymdFromJulian(fecha);
  std::string winner;
  t.SetScope(businessKey(negocio_));
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    const int d1 = int(t.N("DIA_INI")), m1 = int(t.N("MES_INI")), d2 = int(t.N("DIA_FIN")), m2 = int(t.N("MES_FIN"));
    const bool in = EN_RANGO_ANUAL(ymd.month, ymd.day, m1, d1, m2, d2);
    if (trace) {
      std::string line = "Temporada " + t.S("CODIGO") + " del " + dayMonth(d1, m1) + " al " + dayMonth(d2, m2) + ": ";
      if (!winner.empty())
        line += in ? "también contiene la noche, pero otra ganó antes" : "no contiene la noche";
      else
        line += in ? "contiene la noche: gana" : "no contiene la noche";
      trace->add(line);
    }
    if (in && winner.empty()) {
      winner = t.S("CODIGO");
      if (!trace) break;
    }
  }
  if (trace && winner.empty()) trace->add("Ninguna fecha de temporada contiene la noche.");
  return winner;
}

std::string C_PRECIO::SUBTEMPORADA(const std::string& season, int dow, PriceTrace* trace) {
  WDBTable& t = open(subSeasons_, "SUBTEMPO", "SUBTEMPO");
  static const char* const kDays[] = {"", "Domingo", "Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sabado"};
  std::string winner;
  t.SetScope(businessKey(negocio_) + t.KeyPart("LINEA", season));
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    const int first = int(t.N("DIAI")), last = int(t.N("DIAF"));
    const bool in = EN_DIAS_SEMANA(dow, first, last);
    if (trace) {
      auto day = [&](int n) { return n >= 1 && n <= 7 ? std::string(kDays[n]) : std::to_string(n); };
      std::string line = "Sub-temporada " + t.S("CODIGO") + " (" + day(first) + " a " + day(last) + "): ";
      line += !winner.empty() ? (in ? "también contiene el día, pero otra ganó antes" : "no contiene el día")
                              : (in ? "contiene el " + day(dow) + ": gana" : "no contiene el " + day(dow));
      trace->add(line);
    }
    if (in && winner.empty()) {
      winner = t.S("CODIGO");
      if (!trace) break;
    }
  }
  if (trace && winner.empty()) trace->add("Ninguna sub-temporada de la temporada " + season + " contiene el día.");
  return winner;
}

std::optional<Money> C_PRECIO::seasonPrice(int dow, int kind, int state, const std::string& season,
                                           const std::string& tipoRom, bool minimum, const std::string& agencyKey,
                                           bool perPax, int persons, PriceTrace* trace) {
  const std::string sub = SUBTEMPORADA(season, dow, trace);
  if (sub.empty()) return std::nullopt;
  WDBTable& p = open(prices3_, "TIP_PREC", "TIP_PREC3");
  const std::string key = businessKey(negocio_) + p.KeyPart("AGENCIA", agencyKey) + p.KeyPart("RACK", rack_) +
                          p.KeyPart("COD_TEMP", season) + p.KeyPart("DET_TEMP", sub) + p.KeyPart("T_ROOM", tipoRom);
  if (!p.Seek(key)) {
    if (trace)
      trace->add("No hay precios de " + agencyName(agencyKey) + " para la temporada " + season + ", sub-temporada " +
                 sub + " y el tipo " + tipoRom + ": precio 0.");
    return std::nullopt;
  }
  Money price = storedPrice(rowOf(p, *fields_), kind, state, perPax, persons);
  if (trace)
    trace->add("Precio de " + agencyName(agencyKey) + ", temporada " + season + "/" + sub + ", " +
               priceName(kind, state, perPax, persons) + ": " + amount(price));
  if (minimum) {
    WDBTable& r = open(roomTypes_, "TIPO_ROM", "TIPO_ROM");
    const Money porc = r.Seek(businessKey(negocio_) + r.KeyPart("CODIGO", tipoRom)) ? r.M("PORC_MIN") : Money{};
    price = price * porc / kHundred;
    if (trace) trace->add("Mínimo del tipo (" + amount(porc) + "%): " + amount(price));
  }
  return price;
}

Money C_PRECIO::OBT_TARIFA(int dow, int kind, int state, const std::string& season, const std::string& tipoRom,
                           bool minimum, const std::string& agencyKey, bool perPax, int persons, PriceTrace* trace) {
  return seasonPrice(dow, kind, state, season, tipoRom, minimum, agencyKey, perPax, persons, trace).value_or(Money{});
}

// ---- Periods and promotions ----

C_PRECIO::Ajuste C_PRECIO::subTipo(const std::string& tipoRom, PriceTrace* trace) {
  Ajuste a;
  if (agencia_.empty() || codTrel_.empty()) return a;
  WDBTable& t = open(subTypes_, "DET_TRL1", "DET_TRL1");
  const std::string key = businessKey(negocio_) + t.KeyPart("CODIGO", codTrel_) + t.KeyPart("COD_RACK", rack_) +
                          t.KeyPart("TIPO_ROM", tipoRom);
  if (!t.Seek(key)) {
    if (trace) trace->add("Sub-tipo " + codTrel_ + " de la agencia: sin detalle para " + rack_ + "/" + tipoRom + ".");
    return a;
  }
  const Money va = t.M("VALOR_A"), vn = t.M("VALOR_N");
  if (t.N("TIPO") == 0) {
    a.factorA = (kHundred - va) / kHundred;
    a.factorN = (kHundred - vn) / kHundred;
    if (trace)
      trace->add("Sub-tipo " + codTrel_ + " de la agencia: " + amount(va) + "% menos a adultos, " + amount(vn) +
                 "% menos a niños.");
  } else {
    a.offsetA = va;
    a.offsetN = vn;
    if (trace)
      trace->add("Sub-tipo " + codTrel_ + " de la agencia: " + amount(va) + " menos a adultos, " + amount(vn) +
                 " menos a niños.");
  }
  return a;
}

Money C_PRECIO::priceOf(WDBTable& rec, int kind, int state, bool perPax, int persons, int32_t fecha,
                        PriceTrace* trace) {
  const PriceRow row = rowOf(rec, *fields_);
  const std::string tipoRom = row.s(fields_->tRoom);
  if (row.n(fields_->nivTari) == 1 && fecha) {
    if (trace) trace->add("El periodo tiene análisis por niveles: el precio sale de las filas de niveles.");
    return PRECIO_NIVEL(fecha, row.s(fields_->agencia), tipoRom, kind, persons, trace);
  }
  const Money stored = storedPrice(row, kind, state, perPax, persons);
  if (trace) trace->add("Precio " + priceName(kind, state, perPax, persons) + ": " + amount(stored));
  if (stored.isZero()) return stored;
  const Ajuste a = subTipo(tipoRom, trace);
  const bool child = kind == kNino;
  const Money price = stored * (child ? a.factorN : a.factorA) - (child ? a.offsetN : a.offsetA);
  if (trace && price != stored) trace->add("Con el sub-tipo de la agencia: " + amount(price));
  return price;
}

PriceSet C_PRECIO::priceSet(WDBTable& rec, int32_t fecha, int adults, int children, Money discount, PriceTrace* trace) {
  PriceSet s;
  s.found = true;
  const bool total = calcTar_ == 1;
  if (trace && total) trace->add("La tarifa se calcula según el número total de huéspedes (Cálculo Tarifa según NG).");
  s.grossAdult = priceOf(rec, kAdulto, kRegular, true, total ? adults + children : adults, fecha, trace);
  s.grossChild = total || children == 0 ? Money{} : priceOf(rec, kNino, kRegular, true, children, fecha, trace);
  s.netAdult = lessDiscount(s.grossAdult, discount);
  s.netChild = lessDiscount(s.grossChild, discount);
  s.netTotal = s.netAdult + s.netChild;
  if (trace && !discount.isZero())
    trace->add("Descuento de " + amount(discount) + "%: adultos " + amount(s.netAdult) + ", niños " +
               amount(s.netChild) + ".");
  return s;
}

bool C_PRECIO::findPromotion(int32_t fecha, const std::string& tipoRom, PriceTrace* trace) {
  WDBTable& p = open(prices10_, "TIP_PREC", "TIP_PREC10");
  p.SetScope(scopeKey("10" + tipoRom, [&] {
    return businessKey(negocio_) + p.KeyPart("RACK", rack_) + p.KeyPart("T_ROOM", tipoRom) + "1";
  }));
  uint32_t winner = 0;
  for (p.GoTop(); !p.Eof(); p.Skip()) {
    const PriceRow row = rowOf(p, *fields_);
    const std::string promo = trim(row.s(fields_->codPromo));
    std::string why;
    bool in = false;
    if (!takesPart(promo))
      why = "la agencia no participa";
    else if (row.n(fields_->noAplica) == 1)
      why = "marcada N/A";
    else
      in = holds(row, false, fecha, trace ? &why : nullptr);
    if (trace)
      trace->add("Promoción #" + promo + " " + rangeText(row, false) + ": " +
                 (winner ? (in ? "también aplica, pero otra ganó antes" : why) : (in ? "aplica: gana" : why)));
    if (in && !winner) {
      winner = p.RecNo();
      if (!trace) break;
    }
  }
  if (winner) p.GoTo(winner);
  return winner != 0;
}

bool C_PRECIO::findPeriod(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int defecto,
                          PriceTrace* trace) {
  WDBTable& p = open(prices7_, "TIP_PREC", "TIP_PREC7");
  p.SetScope(scopeKey("7" + std::to_string(defecto) + agencyKey + "|" + tipoRom, [&] {
    return businessKey(negocio_) + p.KeyPart("AGENCIA", agencyKey) + p.KeyPart("RACK", rack_) +
           p.KeyPart("T_ROOM", tipoRom) + "1" + std::to_string(defecto);
  }));
  const bool yearly = defecto == 1;
  if (trace)
    trace->add(std::string(yearly ? "Periodos por defecto" : "Periodos con fecha") + " de " + agencyName(agencyKey) +
               ":");
  uint32_t winner = 0;
  bool any = false;
  for (p.GoTop(); !p.Eof(); p.Skip()) {
    any = true;
    const PriceRow row = rowOf(p, *fields_);
    std::string why;
    bool in = false;
    if (row.n(fields_->noAplica) == 1)
      why = "marcado N/A, se salta";
    else
      in = holds(row, yearly, fecha, trace ? &why : nullptr);
    if (trace)
      trace->add("  " + periodName(row, yearly) + ": " +
                 (winner ? (in ? "también contiene la noche, pero otro ganó antes" : why)
                         : (in ? "contiene la noche: gana" : why)));
    if (in && !winner) {
      winner = p.RecNo();
      if (!trace) break;
    }
  }
  if (trace && !any) trace->add("  ninguno");
  if (winner) p.GoTo(winner);
  return winner != 0;
}

PriceSet C_PRECIO::GET_TARIFA(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int adults,
                              int children, Money discount, PriceTrace* trace) {
  if (trace) trace->add("Promociones del tipo de tarifa " + rack_ + " y el tipo " + tipoRom + ":");
  if (findPromotion(fecha, tipoRom, trace)) {
    PriceSet s = priceSet(*prices10_, fecha, adults, children, discount, trace);
    if (trace) {
      const PriceRow row = rowOf(*prices10_, *fields_);
      s.origen = "Promoción #" + trim(row.s(fields_->codPromo)) + " " + rangeText(row, false);
    }
    return s;
  }
  std::vector<std::string> keys = {padded(agencyKey, 15)};
  if (keys[0] != kTarifaGeneral) keys.push_back(kTarifaGeneral);
  for (const std::string& key : keys)
    for (int defecto : {0, 1})
      if (findPeriod(fecha, key, tipoRom, defecto, trace)) {
        PriceSet s = priceSet(*prices7_, fecha, adults, children, discount, trace);
        if (trace)
          s.origen = "Periodo " + periodName(rowOf(*prices7_, *fields_), defecto == 1) + " de " + agencyName(key);
        return s;
      }
  if (trace) trace->add("Ningún periodo contiene la noche: no hay precio.");
  return {};
}

std::vector<PeriodoVigente> C_PRECIO::PERIODOS_VIGENTES(int32_t fecha, const std::string& agencyKey,
                                                        const std::string& tipoRom) {
  std::vector<PeriodoVigente> found;
  WDBTable& p = open(prices7_, "TIP_PREC", "TIP_PREC7");
  for (int defecto : {0, 1}) {
    p.SetScope(businessKey(negocio_) + p.KeyPart("AGENCIA", agencyKey) + p.KeyPart("RACK", rack_) +
               p.KeyPart("T_ROOM", tipoRom) + "1" + std::to_string(defecto));
    for (p.GoTop(); !p.Eof(); p.Skip()) {
      const PriceRow row = rowOf(p, *fields_);
      if (row.n(fields_->noAplica) != 1 && holds(row, defecto == 1, fecha, nullptr))
        found.push_back({row.s(fields_->agencia), periodName(row, defecto == 1), p.RecNo(), defecto == 1});
    }
  }
  return found;
}

// ---- Level rows ----

std::optional<Money> C_PRECIO::levelColumn(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom,
                                           const std::string& rack, const std::string& column, PriceTrace* trace) {
  WDBTable& t = open(levels_, "NIV_TARI", "NIV_TARI21");
  if (!t.Seek(CLAVE_NIVEL(negocio_, agencyKey, tipoRom, rack, fecha) + "1")) {
    if (trace) trace->add("Niveles de " + rack + ": no hay fila marcada para el " + FECHA_LARGA(fecha) + ".");
    return std::nullopt;
  }
  const Money price = t.M(column);
  if (trace)
    trace->add("Niveles de " + rack + ": nivel " + t.S("COD_NIVEL") + " (marcado), " + column + " = " + amount(price));
  return price;
}

std::optional<ValoresDinamicos> C_PRECIO::dynamicValues(int32_t fecha, const std::string& tipoRom, PriceTrace* trace) {
  WDBTable& s = open(dynSeasons_, "TD_E_TEM", "TD_E_TEM");
  s.SetScope(businessKey(negocio_) + s.KeyPart("COD_RACK", rack_));
  for (s.GoTop(); !s.Eof(); s.Skip()) {
    if (s.D("F_INICIO") > fecha || s.D("F_FINAL") < fecha) continue;
    WDBTable& v = open(dynValues_, "TD_D_TEM", "TD_D_TEM");
    const std::string code = s.S("CODIGO");
    if (!v.Seek(businessKey(negocio_) + v.KeyPart("COD_RACK", rack_) + v.KeyPart("CODIGO", code) +
                v.KeyPart("TIPO_ROM", tipoRom))) {
      if (trace) trace->add("Temporada dinámica \"" + s.S("DESCRIP") + "\": sin valores para el tipo " + tipoRom + ".");
      return std::nullopt;
    }
    ValoresDinamicos d{v.M("PISO"), v.M("TECHO"), int(v.N("REDONDEO"))};
    if (trace)
      trace->add("Temporada dinámica \"" + s.S("DESCRIP") + "\" (" + FECHA_LARGA(s.D("F_INICIO")) + " a " +
                 FECHA_LARGA(s.D("F_FINAL")) + "): piso " + amount(d.piso) + ", techo " + amount(d.techo) +
                 ", redondeo " + std::to_string(d.redondeo) + ".");
    return d;
  }
  return std::nullopt;
}

Money C_PRECIO::PRECIO_NIVEL(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int kind,
                             int persons, PriceTrace* trace) {
  const std::string column = COLUMNA_NIVEL(kind == kNino, persons);
  if (column.empty()) return {};
  Money price = levelColumn(fecha, agencyKey, tipoRom, rack_, column, trace).value_or(Money{});
  if (!rackBase_.empty()) {
    const Money base = levelColumn(fecha, agencyKey, tipoRom, rackBase_, column, trace).value_or(Money{});
    const Money own = price;
    if (tipoBase_ == 0)
      price = base * (kHundred + own) / kHundred;
    else
      price = base.isZero() ? Money{} : base + own;
    if (trace)
      trace->add("Sobre el tipo base " + rackBase_ + (tipoBase_ == 0 ? " (porcentaje): " : " (monto): ") +
                 amount(base) + " con " + amount(own) + " = " + amount(price));
  }
  if (price.isZero()) return price;
  // The season's floor, ceiling and rounding are the room's: they hold the adults' price, not
  // what children add.
  if (std::optional<ValoresDinamicos> d = kind == kAdulto ? dynamicValues(fecha, tipoRom, trace) : std::nullopt) {
    const Money held = AJUSTA_DINAMICO(price, *d);
    if (trace && held != price) trace->add("Redondeado y entre piso y techo: " + amount(held));
    price = held;
  }
  const Ajuste a = subTipo(tipoRom, trace);
  const bool child = kind == kNino;
  const Money adjusted = price * (child ? a.factorN : a.factorA) - (child ? a.offsetN : a.offsetA);
  if (trace && adjusted != price) trace->add("Con el sub-tipo de la agencia: " + amount(adjusted));
  return adjusted;
}

// ---- Either mode ----

PriceSet C_PRECIO::PRECIO_NOCHE(int32_t fecha, const std::string& tipoRom, int adults, int children, Money discount,
                                PriceTrace* trace) {
  if (trace)
    trace->add(std::string("Modo de precios: ") + (periodMode_ ? "por periodos" : "por temporadas") +
               "; clave de agencia: " + (agencyKey_ == kTarifaGeneral ? "Tarifa General" : trim(agencyKey_)) + ".");
  if (periodMode_) return GET_TARIFA(fecha, agencyKey_, tipoRom, adults, children, discount, trace);
  PriceSet s;
  const std::string season = TEMPORADA(fecha, trace);
  if (season.empty()) return s;
  const int dow = xbase::dayOfWeek(fecha);
  const bool perPax = calculo_ == 1;
  std::optional<Money> adult =
      seasonPrice(dow, kAdulto, kRegular, season, tipoRom, false, agencyKey_, perPax, perPax ? adults : 1, trace);
  if (!adult) return s;
  s.found = true;
  s.grossAdult = *adult;
  if (children > 0)
    s.grossChild =
        OBT_TARIFA(dow, kNino, kRegular, season, tipoRom, false, agencyKey_, perPax, perPax ? children : 1, trace);
  s.netAdult = lessDiscount(s.grossAdult, discount);
  s.netChild = lessDiscount(s.grossChild, discount);
  s.netTotal = s.netAdult + s.netChild;
  if (trace) s.origen = "Temporada " + season + " / " + SUBTEMPORADA(season, dow) + " de " + agencyName(agencyKey_);
  return s;
}

}  // namespace lib
