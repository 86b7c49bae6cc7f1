#include "processes/source_of_business.h"

#include <map>
#include <memory>

#include "lib/money.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "lib/record_protocol.h"
#include "rooms/hotel_day.h"
#include "xbase/date.h"

namespace processes {

namespace {

using lib::Money;
using lib::Value;

constexpr const char* kPrices[] = {"P_ADULT_R", "P_ADULT_E", "P_NINHO_R", "P_NINHO_E"};
constexpr const char* kDaily[] = {"PD_ADULT_R", "PD_ADULT_E", "PD_NINHO_R", "PD_NINHO_E"};
constexpr const char* kTables[] = {"E_AGEN1", "E_AGEN2", "E_AGEN3", "E_AGEN4"};

struct Night {
  int32_t date = 0;
  std::string agency, country, clas1, clas2, rack, clase;
  Money prices[4], commission;
  double adults = 0, children = 0, free = 0;
};

std::string two(int n) {
  return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

class Rebuild {
 public:
  Rebuild(const std::string& negocio, const std::optional<MonthRange>& period, rooms::Progress& progress)
      : neg_(negocio), period_(period), progress_(progress) {
    for (int i = 0; i < 4; ++i) out_[i] = lib::USE(nullptr, kTables[i], "ORDEN11", false);
    day_ = lib::USE(nullptr, "DET_RES9", "DET_RES9");
    enc_ = lib::USE(nullptr, "ENC_RES", "ENC_RES");
    stays_ = lib::USE(nullptr, "DET_RES2", "DET_RES2");
    lines_ = lib::USE(nullptr, "DET_RES1", "DET_RES1");
    racks_ = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
    types_ = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
    countries_ = lib::USE(nullptr, "PAISES", "PAISES");
    agencies_ = lib::USE(nullptr, "AGENCIAS", "AGENCIAS");
    closing_ = rooms::CIERRE_DIA(negocio);
    lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio), [&](const lib::WDBTable& h) {
      tipoStat_ = int(h.N("TIPO_STAT"));
      dailyPrices_ = h.N("DET_TAR") == 1;
    });
  }

  ~Rebuild() {
    for (auto& t : out_) lib::KILLTABLA(t);
    for (auto* t : {&day_, &enc_, &stays_, &lines_, &racks_, &types_, &countries_, &agencies_}) lib::KILLTABLA(*t);
  }

  SourceResult run() {
    progress_.PUT_TEXT("Un momento por favor...", "Procesando Datos...", "Limpiando Datos...");
    int32_t from = 0, to = 0;
    if (period_) std::tie(from, to) = period_->days();
    clear(from, to);
    progress_.PUT_TEXT("Un momento por favor...", "Procesando Datos...", "Procesando Reservaciones...");
    int32_t shown = -1;
    for (day_->Seek(prefix(*day_) + (from ? xbase::dtos(from) : ""), true); ours(*day_); day_->Skip()) {
      const int32_t d = day_->D("FECHA");
      if (to && d > to) break;
      ++result_.read;
      if (!progress_.CANPRINT()) {
        result_.completed = false;
        break;
      }
      if (d != shown) {
        progress_.PUT_TEXT("", "", "", lib::DTOC(d), false);
        shown = d;
      }
      Night n;
      if (value(n)) add(n);
    }
    return result_;
  }

 private:
  std::string prefix(const lib::WDBTable& t) const { return t.KeyPart("NEGOCIO", neg_); }
  bool ours(const lib::WDBTable& t) const { return !t.Eof() && lib::trim(t.S("NEGOCIO")) == lib::trim(neg_); }

  // The rows about to be rebuilt: all the business unit's, or those of the period (the
  // monthly tables by their months), the tables packed afterwards.
  void clear(int32_t from, int32_t to) {
    for (int i = 0; i < 4; ++i) {
      lib::WDBTable& t = *out_[i];
      const bool daily = i % 2 == 0;
      if (!period_) {
        t.SetOrder("ORDEN11");
      } else {
        t.SetOrder(daily ? "ORDEN4" : "ORDEN17");
      }
      const std::string start =
          !period_ ? prefix(t)
          : daily  ? prefix(t) + xbase::dtos(from)
                   : prefix(t) + std::to_string(period_->fromYear) + two(period_->fromMonth);
      const std::string end = period_ ? std::to_string(period_->toYear) + two(period_->toMonth) : "";
      for (t.Seek(start, true); ours(t);) {
        if (period_ && (daily ? t.D("FECHA") > to : t.S("ANHO") + t.S("MES") > end)) break;
        lib::MODIFY(t, [&] { t.Delete(); });
        t.Skip();
      }
      if (period_) t.Pack();
      t.SetOrder("ORDEN11");
    }
  }

  // A night valued as it counts; false when it does not count.
  bool value(Night& n) {
    const std::string codRes = day_->S("COD_RES");
    if (!enc_->Seek(prefix(*enc_) + enc_->KeyPart("CODIGO", codRes))) return false;
    const bool stay = stays_->Seek(prefix(*stays_) + stays_->KeyPart("COD_RES", codRes) +
                                   stays_->KeyPart("COD_HAB", day_->S("COD_HAB")) +
                                   stays_->KeyPart("CODIGO", day_->S("CODIGO")));
    n.date = day_->D("FECHA");
    if (stay && (stays_->D("F_FINAL") == n.date || stays_->N("ESTADO") > 2)) return false;
    if (n.date < closing_) {
      for (int i = 0; i < 4; ++i) n.prices[i] = day_->M(kPrices[i]);
      n.adults = day_->N("N_ADULT");
      n.children = day_->N("N_NINHO");
      n.free = day_->N("N_GRATIS");
      n.commission = day_->M("COMISION");
    } else {
      for (int i = 0; i < 4; ++i)
        n.prices[i] = dailyPrices_ ? day_->M(kDaily[i]) : stay ? stays_->M(kPrices[i]) : Money();
      if (stay) {
        n.adults = stays_->N("N_ADULT");
        n.children = stays_->N("N_NINHO");
        n.free = stays_->N("N_GRATIS");
      }
    }
    n.agency = enc_->S("AGENCIA");
    n.clas1 = enc_->S("CLAS_1");
    n.clas2 = enc_->S("CLAS_2");
    n.rack = enc_->S("COD_RACK");
    n.country = stay ? stays_->S("PAIS") : "";
    if (tipoStat_ == 1) {
      const std::string tipo = lines_->Seek(prefix(*lines_) + lines_->KeyPart("COD_RES", codRes) +
                                            lines_->KeyPart("COD_HAB", day_->S("COD_HAB")))
                                   ? lines_->S("TIPO_ROM")
                                   : "";
      n.clase = !tipo.empty() && types_->Seek(prefix(*types_) + types_->KeyPart("CODIGO", tipo)) ? types_->S("CLASE")
                                                                                               : "";
    } else {
      n.clase = !n.rack.empty() && racks_->Seek(prefix(*racks_) + racks_->KeyPart("CODIGO", n.rack))
                    ? racks_->S("CLASE")
                    : "";
    }
    return true;
  }

  std::string region(const std::string& country) {
    auto it = regions_.find(country);
    if (it != regions_.end()) return it->second;
    const std::string r = !country.empty() && countries_->Seek(prefix(*countries_) + countries_->KeyPart("CODIGO", country))
                              ? countries_->S("REGION")
                              : "";
    return regions_[country] = r;
  }

  std::string agencyCountry(const std::string& agency) {
    auto it = agencyCountries_.find(agency);
    if (it != agencyCountries_.end()) return it->second;
    const std::string c = !agency.empty() && agencies_->Seek(prefix(*agencies_) + agencies_->KeyPart("CODIGO", agency))
                              ? agencies_->S("PAIS")
                              : "";
    return agencyCountries_[agency] = c;
  }

  // The night into the row of its key in each table, appended when missing.
  void add(const Night& n) {
    ++result_.nights;
    const xbase::Ymd ymd = xbase::ymdFromJulian(n.date);
    const std::string agencyCountryCode = agencyCountry(n.agency);
    for (int i = 0; i < 4; ++i) {
      lib::WDBTable& t = *out_[i];
      const bool daily = i % 2 == 0, byAgency = i >= 2;
      const std::string country = byAgency ? agencyCountryCode : n.country;
      const std::string reg = region(country);
      const std::string when = daily ? xbase::dtos(n.date) : std::to_string(ymd.year) + two(ymd.month);
      const std::string key = prefix(t) + t.KeyPart("CODIGO", n.agency) + t.KeyPart("PAIS", country) +
                              t.KeyPart("REGION", reg) + t.KeyPart("CLAS_1", n.clas1) + t.KeyPart("CLAS_2", n.clas2) +
                              when + t.KeyPart("TIPO_RES", n.rack) + t.KeyPart("CLASE", n.clase);
      auto accumulate = [&] {
        for (int p = 0; p < 4; ++p) t.FieldPut(kPrices[p], t.M(kPrices[p]) + n.prices[p]);
        t.FieldPut("N_ADULT", Value::num(t.N("N_ADULT") + n.adults));
        t.FieldPut("N_NINHO", Value::num(t.N("N_NINHO") + n.children));
        t.FieldPut("N_GRATIS", Value::num(t.N("N_GRATIS") + n.free));
        t.FieldPut("COMISION", t.M("COMISION") + n.commission);
        t.FieldPut("NOCHES", Value::num(t.N("NOCHES") + 1));
      };
      if (t.Seek(key)) {
        lib::MODIFY(t, accumulate);
        continue;
      }
      lib::ADD(t, [&] {
        t.FieldPut("NEGOCIO", Value::chars(neg_));
        t.FieldPut("CODIGO", Value::chars(n.agency));
        t.FieldPut("PAIS", Value::chars(country));
        t.FieldPut("REGION", Value::chars(reg));
        t.FieldPut("CLAS_1", Value::chars(n.clas1));
        t.FieldPut("CLAS_2", Value::chars(n.clas2));
        if (daily) {
          t.FieldPut("FECHA", Value::date(n.date));
        } else {
          t.FieldPut("ANHO", Value::chars(std::to_string(ymd.year)));
          t.FieldPut("MES", Value::chars(two(ymd.month)));
        }
        t.FieldPut("TIPO_RES", Value::chars(n.rack));
        t.FieldPut("CLASE", Value::chars(n.clase));
        accumulate();
      });
    }
  }

  const std::string neg_;
  const std::optional<MonthRange> period_;
  rooms::Progress& progress_;
  SourceResult result_;
  std::unique_ptr<lib::WDBTable> out_[4];
  std::unique_ptr<lib::WDBTable> day_, enc_, stays_, lines_, racks_, types_, countries_, agencies_;
  int32_t closing_ = 0;
  int tipoStat_ = 0;
  bool dailyPrices_ = false;
  std::map<std::string, std::string> regions_, agencyCountries_;
};

}  // namespace

std::pair<int32_t, int32_t> MonthRange::days() const {
  if (fromMonth < 1 || fromMonth > 12 || toMonth < 1 || toMonth > 12) return {0, 0};
  const int32_t first = xbase::julianFromYmd(fromYear, fromMonth, 1);
  const int nextYear = toMonth == 12 ? toYear + 1 : toYear, nextMonth = toMonth == 12 ? 1 : toMonth + 1;
  const int32_t next = xbase::julianFromYmd(nextYear, nextMonth, 1);
  if (!first || !next || next - 1 < first) return {0, 0};
  return {first, next - 1};
}

SourceResult ACTUALIZA_SOURCE(const std::string& negocio, const std::optional<MonthRange>& period,
                              rooms::Progress& progress) {
  return Rebuild(negocio, period, progress).run();
}

}  // namespace processes
