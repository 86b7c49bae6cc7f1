#include "processes/corporate_report.h"

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "lib/money.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/hotel_day.h"
#include "xbase/date.h"

namespace processes {

namespace {

using lib::Money;
using lib::Value;
using lib::WDBTable;

// The four counters of a source kind, by day or month, and their month-to-date sums in STAT_TI3.
constexpr const char* kSold[] = {"RESERVADO", "N_ADULT", "N_NINHO", "N_GRATIS"};
constexpr const char* kToDate[] = {"A_RESERV", "A_ADULT", "A_NINHO", "A_GRATIS"};
constexpr int kKinds = 4;

std::string field(const char* base, int kind) {
  return base + std::to_string(kind);
}

std::string two(int n) {
  return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

// "YYYY" + "MM" of a date: the month part of the monthly keys.
std::string monthKey(int32_t date) {
  const xbase::Ymd ymd = xbase::ymdFromJulian(date);
  return std::to_string(ymd.year) + two(ymd.month);
}

// Blank-padded text of a field, as codes are compared and keys are built.
std::string raw(const WDBTable& t, const char* name) {
  return t.FieldGet(name).text;
}

constexpr const char* kHeadline = "Un momento por favor...";
constexpr const char* kTitle = "Actualizar Reporte Corporativo";

class CorporateReport {
 public:
  CorporateReport(const std::string& negocio, int year, int month, rooms::Progress& progress)
      : neg_(negocio), progress_(progress) {
    start_ = xbase::julianFromYmd(year, month, 1);
    closing_ = rooms::CIERRE_DIA(negocio);
    lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio),
                     [&](const WDBTable& h) { tipoStat_ = int(h.N("TIPO_STAT")); });
  }

  ~CorporateReport() {
    lib::KILLTABLA(daily_);
    lib::KILLTABLA(monthly_);
  }

  CorporateResult run() {
    if (!start_) return result_;
    progress_.PUT_TEXT(kHeadline, kTitle);
    const bool done = clearOccupancy() && availability() && nights() && toDate() && transactions();
    result_.completed = done;
    return result_;
  }

 private:
  std::string prefix(const WDBTable& t) const { return t.KeyPart("NEGOCIO", neg_); }
  bool ours(const WDBTable& t) const { return !t.Eof() && raw(t, "NEGOCIO") == prefix(t); }

  // One more row read; false once the user stopped the run.
  bool next() {
    if (!progress_.CANPRINT()) return false;
    ++result_.read;
    progress_.ADVANCE();
    return true;
  }

  // The progress of a pass over `t` from key `from` to key `to` (both key prefixes, included;
  // the end of the business unit's keys when empty).
  void startPass(WDBTable& t, const std::string& from, const std::string& text, std::string to = "") {
    t.SetScope(Value::chars(from), Value::chars(to.empty() ? prefix(t) : to));
    progress_.SET_TOTAL(t.KeyCount());
    t.ClearScope();
    progress_.PUT_TEXT("", "", text, " ");
  }

  // Shows `value` on the last line when it is not what is shown.
  void show(const std::string& value) {
    if (value == shown_) return;
    shown_ = value;
    progress_.PUT_TEXT("", "", "", value);
  }

  // Every row of `t` (open on an order starting with business + `from`'s kind of key) from key
  // `from` on is deleted, each under its lock; `label` tells the progress what is being deleted.
  template <typename Label>
  bool removeFrom(WDBTable& t, const std::string& from, const std::string& text, Label label) {
    startPass(t, from, text);
    for (t.Seek(from, true); ours(t); t.Skip()) {
      if (!next()) return false;
      show(label(t));
      lib::MODIFY(t, [&] { t.Delete(); });
    }
    return true;
  }

  bool clearOccupancy() {
    daily_ = lib::USE(nullptr, "STAT_TI3", "STAT_TI6");
    monthly_ = lib::USE(nullptr, "STAT_TI2", "STAT_TI6");
    if (!removeFrom(*daily_, prefix(*daily_) + xbase::dtos(start_), "limpiando",
                    [](const WDBTable& t) { return lib::DTOC(t.D("FECHA")); }))
      return false;
    if (!removeFrom(*monthly_, prefix(*monthly_) + monthKey(start_), "Borrando",
                    [](const WDBTable& t) { return t.S("ANHO") + "/" + t.S("MES"); }))
      return false;
    daily_->SetOrder("STAT_TI4");
    monthly_->SetOrder("STAT_TI4");
    return true;
  }

  // The row of (class, type, month or date), positioned on, appended when missing.
  void dayRow(const std::string& clase, const std::string& tipo, int32_t date) {
    WDBTable& t = *daily_;
    if (t.Seek(prefix(t) + t.KeyPart("CLASE", clase) + t.KeyPart("TIPO_ROM", tipo) + xbase::dtos(date))) return;
    lib::ADD(t, [&] {
      t.FieldPut("NEGOCIO", Value::chars(neg_));
      t.FieldPut("FECHA", Value::date(date));
      t.FieldPut("CLASE", Value::chars(clase));
      t.FieldPut("TIPO_ROM", Value::chars(tipo));
    });
  }
  void monthRow(const std::string& clase, const std::string& tipo, int32_t date) {
    WDBTable& t = *monthly_;
    const std::string month = monthKey(date);
    if (t.Seek(prefix(t) + t.KeyPart("CLASE", clase) + t.KeyPart("TIPO_ROM", tipo) + month)) return;
    lib::ADD(t, [&] {
      t.FieldPut("NEGOCIO", Value::chars(neg_));
      t.FieldPut("ANHO", Value::chars(month.substr(0, 4)));
      t.FieldPut("MES", Value::chars(month.substr(4)));
      t.FieldPut("CLASE", Value::chars(clase));
      t.FieldPut("TIPO_ROM", Value::chars(tipo));
    });
  }

  static void add(WDBTable& t, const std::string& name, double amount) {
    t.FieldPut(name, Value::num(t.N(name) + amount));
  }

  // The availability of every date from the start on: the months' RESERVADO and TOTAL, and a
  // day row for each class and type.
  bool availability() {
    auto stat = lib::USE(nullptr, "STAT_TIP", "STAT_TIP2");
    const std::string from = prefix(*stat) + xbase::dtos(start_);
    startPass(*stat, from, "Iniciando");
    bool done = true;
    for (stat->Seek(from, true); ours(*stat); stat->Skip()) {
      if (!next()) {
        done = false;
        break;
      }
      const int32_t date = stat->D("FECHA");
      show(lib::DTOC(date));
      const std::string clase = raw(*stat, "CLASE"), tipo = raw(*stat, "TIPO_ROM");
      monthRow(clase, tipo, date);
      lib::MODIFY(*monthly_, [&] {
        add(*monthly_, "RESERVADO", stat->N("RESERVADO"));
        add(*monthly_, "TOTAL", stat->N("TOTAL"));
      });
      dayRow(clase, tipo, date);
    }
    lib::KILLTABLA(stat);
    return done;
  }

  struct Rack {
    bool exists = false;
    std::string clase;
    int kind = 0;  // 1 to 4; 0 = counts nowhere
  };

  // Code lookups, each table read once per code.
  std::string lookup(std::map<std::string, std::string>& seen, WDBTable& t, const std::string& key, const char* name) {
    auto it = seen.find(key);
    if (it != seen.end()) return it->second;
    return seen[key] = t.Seek(key) ? raw(t, name) : std::string();
  }
  const Rack& rack(WDBTable& racks, const std::string& code) {
    auto it = racks_.find(code);
    if (it != racks_.end()) return it->second;
    Rack r;
    if (racks.Seek(prefix(racks) + racks.KeyPart("CODIGO", code))) {
      r.exists = true;
      r.clase = raw(racks, "CLASE");
      const int source = int(racks.N("TIP_SOURCE"));
      r.kind = source >= 0 && source <= 3 ? source + 1 : 0;
    }
    return racks_[code] = r;
  }

  // The reservation-day rows before the closing day, each room-night into the counters of its
  // rate type's source kind, in its month and in its day.
  bool nights() {
    auto days = lib::USE(nullptr, "DET_RES9", "DET_RES9");
    auto headers = lib::USE(nullptr, "ENC_RES", "ENC_RES");
    auto stays = lib::USE(nullptr, "DET_RES2", "DET_RES2");
    auto lines = lib::USE(nullptr, "DET_RES1", "DET_RES1");
    auto racks = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
    auto types = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
    std::map<std::string, std::string> lineTypes, typeClasses;
    std::map<std::string, std::optional<std::string>> reservationRacks;  // none: no reservation
    bool done = true;
    const std::string from = prefix(*days) + xbase::dtos(start_);
    startPass(*days, from, "Reservas", prefix(*days) + xbase::dtos(closing_ - 1));
    for (days->Seek(from, true); ours(*days); days->Skip()) {
      const int32_t date = days->D("FECHA");
      if (date >= closing_) break;
      if (!next()) {
        done = false;
        break;
      }
      show(lib::DTOC(date));
      const std::string res = days->KeyPart("COD_RES", raw(*days, "COD_RES"));
      const std::string hab = days->KeyPart("COD_HAB", raw(*days, "COD_HAB"));
      if (stays->Seek(prefix(*stays) + res + hab + days->KeyPart("CODIGO", raw(*days, "CODIGO")))) {
        const int estado = int(stays->N("ESTADO"));
        if (stays->D("F_FINAL") == date || estado == 3 || estado == 4 || estado == 9) continue;
      }
      auto [found, fresh] = reservationRacks.try_emplace(res);
      if (fresh && headers->Seek(prefix(*headers) + res)) found->second = raw(*headers, "COD_RACK");
      if (!found->second) continue;
      const Rack& r = rack(*racks, *found->second);
      if (!r.exists || r.kind == 0) continue;
      const std::string tipo = lookup(lineTypes, *lines, prefix(*lines) + res + hab, "TIPO_ROM");
      const std::string clase =
          tipoStat_ == 1 ? lookup(typeClasses, *types, prefix(*types) + types->KeyPart("CODIGO", tipo), "CLASE")
                         : r.clase;
      const double guests[] = {1, days->N("N_ADULT"), days->N("N_NINHO"), days->N("N_GRATIS")};
      auto count = [&](WDBTable& t) {
        lib::MODIFY(t, [&] {
          for (int c = 0; c < 4; ++c) add(t, field(kSold[c], r.kind), guests[c]);
        });
      };
      monthRow(clase, tipo, date);
      count(*monthly_);
      dayRow(clase, tipo, date);
      count(*daily_);
      ++result_.nights;
    }
    for (auto* t : {&days, &headers, &stays, &lines, &racks, &types}) lib::KILLTABLA(*t);
    return done;
  }

  // Month-to-date sums of every day row before the closing day, in date order.
  bool toDate() {
    WDBTable& t = *daily_;
    t.SetOrder("STAT_TI6");
    // Per class and type: the month summed so far and its sums.
    std::map<std::string, std::pair<std::string, std::array<double, kKinds * 4>>> sums;
    const std::string from = prefix(t) + xbase::dtos(start_);
    startPass(t, from, "Acumulando", prefix(t) + xbase::dtos(closing_ - 1));
    for (t.Seek(from, true); ours(t); t.Skip()) {
      const int32_t date = t.D("FECHA");
      if (date >= closing_) break;
      if (!next()) return false;
      show(lib::DTOC(date));
      auto& [month, sum] = sums[raw(t, "CLASE") + raw(t, "TIPO_ROM")];
      if (month != monthKey(date)) {
        month = monthKey(date);
        sum.fill(0);
      }
      lib::MODIFY(t, [&] {
        for (int c = 0; c < 4; ++c)
          for (int k = 1; k <= kKinds; ++k) {
            double& s = sum[size_t(c * kKinds + k - 1)];
            s += t.N(field(kSold[c], k));
            t.FieldPut(field(kToDate[c], k), Value::num(s));
          }
      });
    }
    return true;
  }

  // The folio lines of the business dates from the start to the day before the closing day,
  // by transaction code, per month and per date.
  bool transactions() {
    lib::KILLTABLA(daily_);
    lib::KILLTABLA(monthly_);
    auto monthly = lib::USE(nullptr, "STAT_TR1", "STAT_TR1");
    auto daily = lib::USE(nullptr, "STAT_TR2", "STAT_TR2");
    bool done = removeFrom(*monthly, prefix(*monthly) + monthKey(start_), "Procesando folios",
                           [](const WDBTable& t) { return t.S("ANHO") + "/" + t.S("MES"); }) &&
                removeFrom(*daily, prefix(*daily) + xbase::dtos(start_), "Procesando folios",
                           [](const WDBTable& t) { return lib::DTOC(t.D("FECHA")); });
    auto lines = lib::USE(nullptr, "DET_FOL", "DET_FOL10");
    const std::string from = prefix(*lines) + xbase::dtos(start_);
    if (done) startPass(*lines, from, "Procesando folios", prefix(*lines) + xbase::dtos(closing_ - 1));
    for (lines->Seek(from, true); done && ours(*lines); lines->Skip()) {
      const int32_t date = lines->D("CIERRE_DIA");
      if (date >= closing_) break;
      if (!next()) {
        done = false;
        break;
      }
      show("folios " + lib::DTOC(date));
      if (lines->N("ANULA") == 1 || lines->N("VOID") == 1) continue;
      const std::string code = raw(*lines, "COD_TRANS");
      const Money amount = lines->M("DEBITO") - lines->M("CREDITO");
      const std::string month = monthKey(date);
      post(*monthly, prefix(*monthly) + month, code, amount, [&] {
        monthly->FieldPut("ANHO", Value::chars(month.substr(0, 4)));
        monthly->FieldPut("MES", Value::chars(month.substr(4)));
      });
      post(*daily, prefix(*daily) + xbase::dtos(date), code, amount,
           [&] { daily->FieldPut("FECHA", Value::date(date)); });
      ++result_.lines;
    }
    for (auto* t : {&monthly, &daily, &lines}) lib::KILLTABLA(*t);
    return done;
  }

  // `amount` and one line into the row of `when` (business + month or date) and `code`,
  // appended when missing.
  template <typename Fill>
  void post(WDBTable& t, const std::string& when, const std::string& code, Money amount, Fill fillWhen) {
    auto accumulate = [&] {
      t.FieldPut("MONTO", t.M("MONTO") + amount);
      add(t, "CONTADOR", 1);
    };
    if (t.Seek(when + code)) {
      lib::MODIFY(t, accumulate);
      return;
    }
    lib::ADD(t, [&] {
      t.FieldPut("NEGOCIO", Value::chars(neg_));
      fillWhen();
      t.FieldPut("COD_TRANS", Value::chars(code));
      accumulate();
    });
  }

  const std::string neg_;
  rooms::Progress& progress_;
  CorporateResult result_;
  int32_t start_ = 0, closing_ = 0;
  int tipoStat_ = 0;
  std::unique_ptr<WDBTable> daily_, monthly_;
  std::map<std::string, Rack> racks_;
  std::string shown_;
};

}  // namespace

CorporateResult ACTUALIZA_CORPORATIVO(const std::string& negocio, int year, int month, rooms::Progress& progress) {
  if (month < 1 || month > 12) return {};
  return CorporateReport(negocio, year, month, progress).run();
}

}  // namespace processes
