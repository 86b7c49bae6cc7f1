#include "lib/exchange_rates.h"

#include "lib/calendar.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/wdbtable.h"

namespace lib {

namespace {

constexpr size_t kCodeWidth = 2;

const char* slotField(int slot) {
  static const char* const fields[] = {"CAMBIO", "CAMBIO2", "CAMBIO3", "CAMBIO4", "CAMBIO5"};
  return slot >= 1 && slot <= 5 ? fields[slot - 1] : fields[0];
}

constexpr const char* kLookupOrder = "T_CAMB2";

// The table on `order` while a lookup reads it. A table that was on another order (a caller
// that also walks it) is put back on its order and record, however the lookup ends; one
// already on that order (a table opened for lookups) is left on the last record read, which
// spares reading the caller's record again.
class OnOrder {
 public:
  OnOrder(WDBTable& t, const char* order) : t_(t), order_(t.Order()), restore_(order_ != order) {
    if (!restore_) return;
    recno_ = t.RecNo();
    t.SetOrder(order);
  }
  ~OnOrder() {
    if (!restore_) return;
    t_.SetOrder(order_);
    t_.GoTo(recno_);
  }
  OnOrder(const OnOrder&) = delete;
  OnOrder& operator=(const OnOrder&) = delete;

 private:
  WDBTable& t_;
  std::string order_;
  bool restore_;
  uint32_t recno_ = 0;
};

struct Found {
  ExchangeFactor::Source source = ExchangeFactor::Source::None;
  Money rate;
  int32_t fecha = 0;
};

// On order T_CAMB2, the latest record of the pair (moneda1, moneda2) of the business dated
// on or before the day `days` counts back from LIMITE. Codes come right-trimmed, as the
// fields read; the seek key pads them.
bool latest(WDBTable& t, const std::string& negocio, const std::string& moneda1, const std::string& moneda2,
            const std::string& days) {
  t.Seek(businessKey(negocio) + padded(moneda1, kCodeWidth) + padded(moneda2, kCodeWidth) + days, true);
  return !t.Eof() && t.S("MONEDA1") == moneda1 && t.S("MONEDA2") == moneda2 && t.S("NEGOCIO") == negocio;
}

// The effective-rate lookup from `x` into `y` on `fecha`. Codes are compared as the fields
// read them (right-trimmed), and padded only in the seek key.
Found lookup(const std::string& negocio, WDBTable& t, const std::string& x, const std::string& y, int32_t fecha,
             int slot) {
  const std::string b = rtrim(negocio), from = rtrim(x), to = rtrim(y);
  if (from == to) return {ExchangeFactor::Source::Same, Money::units(1), fecha};
  OnOrder order(t, kLookupOrder);
  const std::string days = STR(FECHA_LIMITE() - fecha, 14);
  Found f;
  if (latest(t, b, to, from, days))
    f.source = ExchangeFactor::Source::Direct;
  else if (latest(t, b, from, to, days))
    f.source = ExchangeFactor::Source::Reverse;
  else
    return f;
  f.rate = t.M(slotField(slot));
  f.fecha = t.D("FECHA");
  return f;
}

ExchangeFactor factorOf(const Found& f) {
  return {f.source, f.rate, f.fecha};
}

Money signedRate(const Found& f) {
  return f.source == ExchangeFactor::Source::Reverse ? -f.rate : f.rate;
}

}  // namespace

Money ExchangeFactor::factor() const {
  switch (source) {
    case Source::Same:
      return Money::units(1);
    case Source::Direct:
      return rate;
    case Source::Reverse:
      return Money::units(1) / rate;
    case Source::None:
      break;
  }
  return Money();
}

Money ExchangeFactor::convert(Money amount) const {
  switch (source) {
    case Source::Same:
      return amount;
    case Source::Direct:
      return amount * rate;
    case Source::Reverse:
      return amount / rate;
    case Source::None:
      break;
  }
  return Money();
}

ExchangeFactor CAMBIO_ACT(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                          std::optional<Money> proyecta, int dias, int slot) {
  const int32_t today = XDATE(true);
  Found f = lookup(negocio, rates, from, to, today, slot);
  if (proyecta && (f.source == ExchangeFactor::Source::Direct || f.source == ExchangeFactor::Source::Reverse))
    f.rate += Money::units(today - f.fecha + dias) * *proyecta;
  return factorOf(f);
}

ExchangeFactor CAMBIO_SPEC(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                           int32_t fecha, int slot) {
  return factorOf(lookup(negocio, rates, from, to, fecha, slot));
}

Money XCAMBIO_ACT(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                  int slot) {
  return signedRate(lookup(negocio, rates, from, to, XDATE(true), slot));
}

Money XCAMBIO_SPEC(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                   int32_t fecha, int slot) {
  const Money r = signedRate(lookup(negocio, rates, from, to, fecha, slot));
  return G().XMANEJO_TC == 1 ? r.abs() : r;
}

int32_t CFECHA_ACT(const std::string& negocio, WDBTable& rates, const std::string& a, const std::string& b) {
  return lookup(negocio, rates, a, b, XDATE(true), 1).fecha;
}

std::string SIMBOLO(WDBTable& currencies, const std::string& code, const std::string& negocio) {
  OnOrder order(currencies, "MONEDAS");
  return currencies.Seek(businessKey(negocio) + padded(code, kCodeWidth)) ? currencies.S("SIMBOLO") : "";
}

}  // namespace lib
