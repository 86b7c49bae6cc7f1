// Conversion between the currencies of a business unit through its dated exchange rates
// (T_CAMBIO), read at the moment of each call: nothing is cached, so a rate saved on another
// workstation counts from the next call on.
//
// One unit of MONEDA2 is worth CAMBIO units of MONEDA1, from FECHA on until a later-dated
// record of the pair takes over. Converting from X into Y on a date D takes, in order T_CAMB2
// (the pair's records, the latest first), the pair's latest record dated on or before D:
// the record (MONEDA1 = Y, MONEDA2 = X) is a direct hit and converts by multiplying by its
// rate; failing it, the record (MONEDA1 = X, MONEDA2 = Y) is a reverse hit and converts by
// dividing. A currency converts into itself at 1 whether or not there are rates. Rates dated
// after D are not used; with no rate — or a zero in the slot a reverse hit would divide by —
// the factor is 0, which callers show or use as it is: the routines raise no message.
//
// Every routine takes the business unit, the table object the caller opened on T_CAMBIO
// (with no scope set: a scope would hide rates from the lookup) and 2-character currency
// codes, and leaves the selected work area as it was. The lookups read on order T_CAMB2: a
// table opened on it (a table kept for lookups) stays on it, on the last rate read; a table
// on any other order (a caller that also walks it) is put back on its order and record. A
// rate slot is 1 to 5 (CAMBIO, CAMBIO2 ... CAMBIO5); 0 or any other number means 1.
// "Today" is the workstation's date.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lib/money.h"

namespace lib {

class WDBTable;

// What a conversion found: the rate it applies, whether it multiplies or divides by it, and
// the date of that rate, so that a document can say which rate it used.
struct ExchangeFactor {
  enum class Source { Same, Direct, Reverse, None };
  Source source = Source::None;
  Money rate;         // the rate as applied (the stored one, projected by CAMBIO_ACT); 1 for Same
  int32_t fecha = 0;  // FECHA of the rate (the date asked for with Same); 0 with None

  // The factor to multiply by: 1, the rate, 1 / the rate (rounded to millionths), or 0.
  Money factor() const;
  // `amount` in the target currency: multiplied by the rate, or divided by it for a reverse
  // hit (so that converting back and forth through one rate loses nothing), rounded once to
  // millionths; 0 when there is no rate.
  Money convert(Money amount) const;
  // A usable rate: the factor is not 0.
  bool defined() const { return !factor().isZero(); }
};

// The factor from `from` into `to` with the rate effective today. With `proyecta` (a pair's
// projected daily change) the rate is first moved by (today − FECHA + `dias`) × `proyecta`.
ExchangeFactor CAMBIO_ACT(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                          std::optional<Money> proyecta = std::nullopt, int dias = 0, int slot = 1);
// The factor with the rate effective on `fecha` (no projection).
ExchangeFactor CAMBIO_SPEC(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                           int32_t fecha, int slot = 1);

// The rate itself as stored, effective today: positive from a direct hit, negative from a
// reverse one; 1 from a currency into itself, 0 without a rate.
Money XCAMBIO_ACT(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                  int slot = 1);
// The same on `fecha`, but with the business's exchange-rate handling on (XMANEJO_TC = 1) a
// reverse hit's rate keeps its sign dropped.
Money XCAMBIO_SPEC(const std::string& negocio, WDBTable& rates, const std::string& from, const std::string& to,
                   int32_t fecha, int slot = 1);

// FECHA of the rate effective today between `a` and `b` (a direct hit from a into b, else a
// reverse one); today for a currency with itself; 0 (the empty date) without a rate.
int32_t CFECHA_ACT(const std::string& negocio, WDBTable& rates, const std::string& a, const std::string& b);

// SIMBOLO of currency `code` in `currencies` (a table object on MONEDAS, put back on its
// order and record unless it was on order MONEDAS); "" when the business has no such currency.
std::string SIMBOLO(WDBTable& currencies, const std::string& code, const std::string& negocio);

}  // namespace lib
