// The price of one night for a room type, an agency, a rate type and a date: the one routine
// every program that prices nights calls (here the folio and rate update of the congruence
// check, the rates screens' "Explicar Precio..." and "Noches sin Tarifa...").
//
// A business unit prices either by seasons (F_HOTEL2.CALC_TAR = 0) or by rate periods:
//
// - Seasons: the first FEC_TEMP range (order FEC_TEMP2) holding the night's day and month
//   gives the season, the first of its sub-seasons holding the day of the week the
//   sub-season, and the TIP_PREC3 record of business + agency key + rate type + season +
//   sub-season + room type the price; no season, sub-season or record prices at 0.
// - Periods: the first promotion of the rate type and room type the agency takes part in
//   whose dates hold the night, else the agency key's first dated period (not "N/A") holding
//   it, else its first default (yearly) period, else the same two with the general tariff;
//   none is "not found". A period with level analysis takes its prices from the marked level
//   row of the night (NIV_TARI), derived from the base rate type's when the rate type has one
//   and, for adults, held by the rate type's dynamic season (lib/dynamic_rate.h); the agency's rate
//   sub-type (DET_TRL1) then takes its percentage or amount off.
//
// A C_PRECIO prices with the rate type and the agency as they were when it was made (their
// flags, base rate type, sub-type and promotions) and with the pricing mode of its business
// unit; everything else — seasons, periods, prices, level rows, sub-type offsets — is read
// when the night is priced, nothing is kept between nights. The object opens the tables it
// reads for its own life; it is meant for one pricing run on the user-interface thread.
//
// Given a PriceTrace, a lookup also says in words what it tried: every season range, period
// or promotion it looked at, which won and why the others did not, the level row and its
// adjustments. Without one it does only the lookup.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "lib/dynamic_rate.h"
#include "lib/money.h"

namespace lib {

class WDBTable;
struct PriceFields;

// Whether the business unit prices by rate periods (F_HOTEL2.CALC_TAR other than 0) rather
// than by seasons.
bool PRECIOS_POR_PERIODO(const std::string& negocio);

// The agency key of the general tariff ("Tarifa General").
inline const std::string kTarifaGeneral(15, '*');

struct PriceTrace {
  std::vector<std::string> lines;
  void add(std::string line) { lines.push_back(std::move(line)); }
};

// The prices of one night: found, net and gross adult and child prices, net total (net adult
// + net child). `origen` names what gave them (a period, a promotion, a season) when the lookup
// is traced: wording it costs more than the lookup itself.
struct PriceSet {
  bool found = false;
  Money netAdult, netChild, grossAdult, grossChild, netTotal;
  std::string origen;
};

// A period or promotion that holds a night (for the overlap check).
struct PeriodoVigente {
  std::string agencia;  // the agency key it belongs to (blank for a promotion)
  std::string descripcion;
  uint32_t recno = 0;
  bool defecto = false;  // a default (yearly) period, not a dated one
};

class C_PRECIO {
 public:
  enum Huesped { kAdulto = 0, kNino = 1 };
  enum Estado { kRegular = 0, kExtra = 1 };

  // `agencia` is the reservation's agency code ("" = none).
  C_PRECIO(std::string negocio, std::string rack, std::string agencia = "");
  ~C_PRECIO();
  C_PRECIO(const C_PRECIO&) = delete;
  C_PRECIO& operator=(const C_PRECIO&) = delete;

  const std::string& RACK() const { return rack_; }
  // The agency's code when it exists and has prices of its own (TARIFA_ESP = 1), otherwise
  // the general tariff.
  const std::string& AGENCIA_KEY() const { return agencyKey_; }
  bool POR_PERIODOS() const { return periodMode_; }

  // Season mode. The season of a date ("" when no range holds it).
  std::string TEMPORADA(int32_t fecha, PriceTrace* trace = nullptr);
  // The sub-season of a season holding day of the week `dow` (1 = Sunday); "" when none.
  std::string SUBTEMPORADA(const std::string& season, int dow, PriceTrace* trace = nullptr);
  // The price of one night of a guest: by guest (perPax false) the regular or extra adult or
  // child price, by persons the price for `persons` (1 to 10, else 0); `minimum` applies the
  // room type's PORC_MIN percentage. 0 when no sub-season or price record is found.
  Money OBT_TARIFA(int dow, int kind, int state, const std::string& season, const std::string& tipoRom, bool minimum,
                   const std::string& agencyKey, bool perPax, int persons, PriceTrace* trace = nullptr);

  // Period mode: the price set of a night for `adults` and `children`, each price less the
  // `discount` percentage.
  PriceSet GET_TARIFA(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int adults, int children,
                      Money discount = {}, PriceTrace* trace = nullptr);
  // Every dated or default period of `agencyKey` (not "N/A") holding the night, in the order
  // the lookup tries them (dated first).
  std::vector<PeriodoVigente> PERIODOS_VIGENTES(int32_t fecha, const std::string& agencyKey,
                                                const std::string& tipoRom);

  // The level price of a night (NIV_TARI = 1 periods): the marked row of business + agency
  // key + room type + rate type + date, the column of `persons` adults or children.
  Money PRECIO_NIVEL(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int kind, int persons,
                     PriceTrace* trace = nullptr);

  // Either mode, as the business unit prices: in period mode GET_TARIFA with the agency key;
  // in season mode the season and sub-season of the night and, by guest, the regular adult's
  // price and (with children) the regular child's, by persons (rate type CALCULO = 1) those of
  // `adults` and `children`.
  PriceSet PRECIO_NOCHE(int32_t fecha, const std::string& tipoRom, int adults, int children, Money discount = {},
                        PriceTrace* trace = nullptr);

 private:
  template <typename Make>
  const std::string& scopeKey(const std::string& name, Make make);
  struct Ajuste {
    Money factorA = Money::units(1), factorN = Money::units(1), offsetA, offsetN;
  };
  WDBTable& open(std::unique_ptr<WDBTable>& slot, const char* table, const char* tag);
  bool takesPart(const std::string& promo) const;
  Ajuste subTipo(const std::string& tipoRom, PriceTrace* trace);
  // The price from the current record of `rec` (TARIFA_SIN_TEMPORADA).
  Money priceOf(WDBTable& rec, int kind, int state, bool perPax, int persons, int32_t fecha, PriceTrace* trace);
  PriceSet priceSet(WDBTable& rec, int32_t fecha, int adults, int children, Money discount, PriceTrace* trace);
  bool findPromotion(int32_t fecha, const std::string& tipoRom, PriceTrace* trace);
  bool findPeriod(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom, int defecto,
                  PriceTrace* trace);
  std::optional<Money> levelColumn(int32_t fecha, const std::string& agencyKey, const std::string& tipoRom,
                                   const std::string& rack, const std::string& column, PriceTrace* trace);
  std::optional<ValoresDinamicos> dynamicValues(int32_t fecha, const std::string& tipoRom, PriceTrace* trace);
  std::optional<Money> seasonPrice(int dow, int kind, int state, const std::string& season, const std::string& tipoRom,
                                   bool minimum, const std::string& agencyKey, bool perPax, int persons,
                                   PriceTrace* trace);

  std::string negocio_, rack_, agencia_, agencyKey_;
  bool periodMode_ = false;
  int calculo_ = 0, calcTar_ = 0, tipoBase_ = 0;
  std::string rackBase_, codTrel_;
  std::bitset<51> promos_;
  std::unordered_map<std::string, std::string> scopes_;  // scopeKey's

  std::unique_ptr<PriceFields> fields_;  // of TIP_PREC, once one of its objects is open
  std::unique_ptr<WDBTable> prices3_, prices7_, prices10_, seasons_, subSeasons_, roomTypes_, subTypes_, levels_,
      dynSeasons_, dynValues_;
};

}  // namespace lib
