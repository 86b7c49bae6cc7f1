// The price lookup and the level rows on the demo hotel (configura-initdb --demo):
//
// - YearOfNights: the price of every room type x rate type x night of the demo year (8 x 6 x
//   365 lookups of business "01", which prices by period: promotions, the agency's and the
//   general tariff's periods, the summer's level rows), one lookup object per rate type;
// - RandomLookups: single nights for random rate types, agencies, room types, guests and dates,
//   one lookup object per rate type and agency;
// - LevelFill: the level rows of a period covering the year for the 8 room types and the
//   demo's 3 levels (8,760 rows), made new (appended) and made again (rows present, refreshed).
//
// Targets: 200,000 lookups a second; the year's level rows in under a second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "lib/globals.h"
#include "lib/price_lookup.h"
#include "lib/use.h"
#include "rates/niveles.h"
#include "xbase/date.h"

namespace {

namespace fs = std::filesystem;

const std::string& demo() {
  static const std::string home = [] {
    std::string h = bench::scratch("rates_demo") + "/";
    std::string command = std::string(INITDB_PATH) + " " + h + " --demo >/dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
    return h;
  }();
  return home;
}

void useFolder(const std::string& home) {
  lib::Globals& g = lib::resetGlobals();
  g.PATH = home;
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
}

std::vector<std::string> codes(const std::string& table) {
  std::vector<std::string> out;
  lib::EACH_RECORD(table, table == "AGENCIAS" ? "AGENCIAS" : table, "01",
                   [&](const lib::WDBTable& t) { out.push_back(t.S("CODIGO")); });
  return out;
}

const std::vector<std::string> kPricedRates = {"RACK", "CORP", "WEB", "PAQ", "MAYO", "GOB"};

void YearOfNights(benchmark::State& state) {
  useFolder(demo());
  const std::vector<std::string> types = codes("TIPO_ROM");
  const int32_t first = xbase::julianFromYmd(2025, 12, 16);
  int64_t lookups = 0, found = 0;
  for (auto _ : state) {
    for (const std::string& rack : kPricedRates) {
      lib::C_PRECIO p("01", rack);
      for (const std::string& tipo : types)
        for (int32_t night = first; night < first + 365; ++night) {
          const lib::PriceSet s = p.PRECIO_NOCHE(night, tipo, 2, 0);
          found += s.found;
          ++lookups;
        }
    }
  }
  state.SetItemsProcessed(lookups);
  state.counters["found"] = double(found) / double(lookups);
}
BENCHMARK(YearOfNights)->Unit(benchmark::kMillisecond);

void RandomLookups(benchmark::State& state) {
  useFolder(demo());
  const std::vector<std::string> types = codes("TIPO_ROM");
  std::vector<std::string> agencies = codes("AGENCIAS");
  agencies.push_back("");
  std::map<std::string, std::unique_ptr<lib::C_PRECIO>> lookups;
  for (const std::string& rack : kPricedRates)
    for (const std::string& agency : agencies)
      lookups[rack + "|" + agency] = std::make_unique<lib::C_PRECIO>("01", rack, agency);
  std::mt19937 rng(42);
  const int32_t first = xbase::julianFromYmd(2025, 12, 16);
  int64_t n = 0;
  for (auto _ : state) {
    const std::string& rack = kPricedRates[rng() % kPricedRates.size()];
    const std::string& agency = agencies[rng() % agencies.size()];
    const lib::PriceSet s = lookups[rack + "|" + agency]->PRECIO_NOCHE(
        first + int32_t(rng() % 365), types[rng() % types.size()], 1 + int(rng() % 3), int(rng() % 2));
    benchmark::DoNotOptimize(s);
    ++n;
  }
  state.SetItemsProcessed(n);
}
BENCHMARK(RandomLookups)->Unit(benchmark::kMicrosecond);

void LevelFill(benchmark::State& state) {
  const bool present = state.range(0) == 1;
  const std::string copy = bench::scratch("rates_levels") + "/";
  const rates::PeriodoNivel year{std::string(15, '*'), "BNCH", "16", "12", "2025", "15", "12", "2026"};
  const int32_t from = xbase::julianFromYmd(2025, 12, 16), to = xbase::julianFromYmd(2026, 12, 15);
  int64_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!present || !fs::exists(copy)) {
      fs::remove_all(copy);
      fs::copy(demo(), copy, fs::copy_options::recursive);
      useFolder(copy);
      if (present) rates::NIVELES_PERIODO("01", true, year, from, to);
    }
    useFolder(copy);
    state.ResumeTiming();
    rates::NIVELES_PERIODO("01", true, year, from, to);
    rows += 365 * 8 * 3;
  }
  state.SetItemsProcessed(rows);
}
BENCHMARK(LevelFill)->Arg(0)->Arg(1)->ArgName("presentes")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
