// The reservation table and the availability statistics on the demo hotel, over the demo's
// year (365 days): the generation of the year for 120 rooms ("Generar Tabla de
// Reservaciones"), the fast recalculation from the nightly rows ("Actualizar Speed") and the
// full rebuild from the stays ("&Actualizar"), and the same three on the hotel scaled to 1,000
// rooms. Each run reports the rows it wrote (appended or rewritten) and rows written per
// second; the cost should grow with rooms x days.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_support.h"
#include "bench/demo_hotels.h"
#include "lib/globals.h"
#include "rooms/availability_runs.h"
#include "tools/demo_data.h"
#include "tools/demo_hotel.h"
#include "xbase/dbf_table.h"

namespace {

namespace fs = std::filesystem;
using bench::useFolder;

void report(benchmark::State& state, const rooms::RunResult& r, int rooms) {
  state.counters["rows_written"] = double(r.written());
  state.counters["rows_read"] = double(r.read);
  state.counters["written_per_s"] = benchmark::Counter(double(r.written()), benchmark::Counter::kIsRate);
  state.counters["room_days"] = double(rooms) * (initdb::demoLastDay() - initdb::demoFirstDay() + 1);
}

void BM_Generation(benchmark::State& state) {
  const int rooms = int(state.range(0));
  const std::string& source = bench::pristineHotel(rooms);
  const std::string work = bench::scratch("generation" + std::to_string(rooms)) + "/";
  rooms::RunResult last;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(work);
    fs::copy(source, work, fs::copy_options::recursive);
    useFolder(work);
    state.ResumeTiming();
    rooms::Progress quiet;
    last = rooms::runGeneration("01", initdb::demoFirstDay(), initdb::demoLastDay(), quiet);
  }
  report(state, last, rooms);
}

void BM_FastRecalculation(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(bench::generatedHotel(rooms));
  rooms::RunResult last;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = rooms::runFastRecalculation("01", initdb::demoFirstDay(), quiet);
  }
  report(state, last, rooms);
}

void BM_FullRebuild(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(bench::generatedHotel(rooms));
  rooms::RunResult last;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = rooms::runFullRebuild("01", true, quiet);
  }
  report(state, last, rooms);
}

BENCHMARK(BM_Generation)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_FastRecalculation)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_FullRebuild)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCH_MAIN()
