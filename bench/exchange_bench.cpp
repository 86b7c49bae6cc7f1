// CAMBIO_SPEC, the conversion factor effective on a date, on a rate table holding ten years
// of daily rates for five pairs (18,265 records): each lookup asks a random pair in a random
// direction (half of them reverse hits, which seek twice) on a random date of the ten years,
// through a table object kept for lookups; a second run puts the table back on its order and
// record after each lookup, as for a caller that also walks the table. The peer is SQLite
// answering the same question from an index on (pair, date), each statement on its own as a
// reader sharing the file with writers runs it. Target: 500,000 conversions a
// second.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "bench/bench_support.h"
#include "lib/catalogue.h"
#include "lib/clock.h"
#include "lib/exchange_rates.h"
#include "lib/globals.h"
#include "lib/use.h"
#include "xbase/date.h"

namespace {

constexpr int kYears = 10;
const char* const kPairs[5][2] = {{"01", "02"}, {"01", "03"}, {"01", "04"}, {"02", "03"}, {"05", "01"}};

int32_t firstDay() {
  return xbase::julianFromYmd(2016, 1, 1);
}
int32_t lastDay() {
  return xbase::julianFromYmd(2016 + kYears, 1, 1) - 1;
}

// The rate of pair `p` on day `d`, in hundred-thousandths.
int64_t rateOn(int p, int32_t d) {
  return 100000 * (100 + 150 * p) + (d * 7919 + p * 104729) % 2000000;
}

const std::string& programFolder() {
  static const std::string home = [] {
    std::string h = bench::scratch("exchange");
    for (const char* sub : {"/BASES", "/PROFILE", "/TEMP"}) std::filesystem::create_directories(h + sub);
    const lib::CatalogueTable* c = lib::Catalogue::builtIn().find("T_CAMBIO");
    const std::string path = h + "/BASES/T_CAMBIO.DBF";
    xbase::DbfTable::create(path, c->fields, c->tags);
    auto t = xbase::DbfTable::open(path);
    t->lockFile();
    for (int p = 0; p < 5; ++p)
      for (int32_t d = firstDay(); d <= lastDay(); ++d) {
        t->append();
        t->putString("NEGOCIO", "01");
        t->putString("MONEDA1", kPairs[p][0]);
        t->putString("MONEDA2", kPairs[p][1]);
        t->putDate("FECHA", d);
        t->putDate("LIMITE", xbase::julianFromYmd(2090, 1, 1));
        t->put("CAMBIO", xbase::Value::num(lib::Money::millionths(rateOn(p, d) * 10).number()));
      }
    t->unlockAll();
    return h;
  }();
  return home;
}

void setUpProgram() {
  static bool done = false;
  if (done) return;
  done = true;
  lib::Globals& g = lib::resetGlobals();
  g.PATH = programFolder() + "/";
  g.DEF_RDD = "DBFCDX";
  g.clock = std::make_unique<lib::VirtualClock>();
  g.windowsUser = [] { return std::string("bench"); };
  g.computerName = [] { return std::string("BENCH"); };
}

// The questions, made once: a pair, a direction, a date.
struct Question {
  std::string from, to;
  int32_t date;
};
const std::vector<Question>& questions() {
  static const std::vector<Question> all = [] {
    std::mt19937 rng(20260115);
    std::vector<Question> q;
    for (int i = 0; i < 65536; ++i) {
      const int p = int(rng() % 5);
      const bool reverse = rng() % 2;
      const int32_t d = firstDay() + int32_t(rng() % uint32_t(lastDay() - firstDay() + 1));
      q.push_back({kPairs[p][reverse ? 0 : 1], kPairs[p][reverse ? 1 : 0], d});
    }
    return q;
  }();
  return all;
}

// `order`: T_CAMB2 for a table kept for lookups (left on the last rate read), T_CAMBIO for a
// table the caller also walks (put back on its record after every lookup).
void cambioSpec(benchmark::State& state, const char* order) {
  setUpProgram();
  auto rates = lib::USE(nullptr, "T_CAMBIO", order);
  const auto& q = questions();
  size_t i = 0, found = 0;
  for (auto _ : state) {
    const Question& x = q[i++ & 0xFFFF];
    const lib::ExchangeFactor f = lib::CAMBIO_SPEC("01", *rates, x.from, x.to, x.date);
    found += f.defined();
    benchmark::DoNotOptimize(f);
  }
  if (found != size_t(state.iterations())) state.SkipWithError("a lookup found no rate");
  state.SetItemsProcessed(state.iterations());
  lib::KILLTABLA(rates);
}
BENCHMARK_CAPTURE(cambioSpec, lookups, "T_CAMB2")->Name("CambioSpec/engine");
BENCHMARK_CAPTURE(cambioSpec, walked, "T_CAMBIO")->Name("CambioSpecPuttingTheTableBack/engine");

struct Sql {
  sqlite3* db = nullptr;
  sqlite3_stmt* latest = nullptr;
  Sql() {
    const std::string path = bench::scratch("exchange.sqlite");
    std::filesystem::remove(path);
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("sqlite open");
    exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    exec("CREATE TABLE t_cambio(negocio TEXT, moneda1 TEXT, moneda2 TEXT, fecha INTEGER, cambio TEXT)");
    exec("CREATE INDEX t_camb2 ON t_cambio(negocio, moneda1, moneda2, fecha DESC)");
    exec("BEGIN");
    sqlite3_stmt* ins = prepare("INSERT INTO t_cambio VALUES('01', ?, ?, ?, ?)");
    for (int p = 0; p < 5; ++p)
      for (int32_t d = firstDay(); d <= lastDay(); ++d) {
        const std::string r = lib::Money::millionths(rateOn(p, d) * 10).text(5);
        sqlite3_bind_text(ins, 1, kPairs[p][0], -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, 2, kPairs[p][1], -1, SQLITE_STATIC);
        sqlite3_bind_int(ins, 3, d);
        sqlite3_bind_text(ins, 4, r.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(ins);
        sqlite3_reset(ins);
      }
    sqlite3_finalize(ins);
    exec("COMMIT");
    latest = prepare(
        "SELECT cambio, fecha FROM t_cambio WHERE negocio = '01' AND moneda1 = ? AND moneda2 = ? AND fecha <= ? "
        "ORDER BY fecha DESC LIMIT 1");
  }
  ~Sql() {
    sqlite3_finalize(latest);
    sqlite3_close(db);
  }
  void exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) throw std::runtime_error(err ? err : "sqlite");
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
    return s;
  }
  // The rate of (moneda1, moneda2) on `date`, parsed as the engine's factor is: true when found.
  bool lookup(const std::string& m1, const std::string& m2, int32_t date, lib::Money& rate) {
    sqlite3_bind_text(latest, 1, m1.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(latest, 2, m2.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_int(latest, 3, date);
    const bool hit = sqlite3_step(latest) == SQLITE_ROW;
    if (hit) rate = lib::Money::parse(reinterpret_cast<const char*>(sqlite3_column_text(latest, 0))).value();
    sqlite3_reset(latest);
    return hit;
  }
};

void CambioSpec_sqlite(benchmark::State& state) {
  static Sql sql;
  const auto& q = questions();
  size_t i = 0, found = 0;
  for (auto _ : state) {
    const Question& x = q[i++ & 0xFFFF];
    lib::Money rate, factor;
    if (sql.lookup(x.to, x.from, x.date, rate))
      factor = rate;
    else if (sql.lookup(x.from, x.to, x.date, rate))
      factor = lib::Money::units(1) / rate;
    found += !factor.isZero();
    benchmark::DoNotOptimize(factor);
  }
  if (found != size_t(state.iterations())) state.SkipWithError("a lookup found no rate");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CambioSpec_sqlite)->Name("CambioSpec/sqlite");

}  // namespace

BENCH_MAIN()
