// The processes over the reservation data on the demo hotel's year, at 120 rooms and scaled to
// 1,000: the congruence check with every step on (reporting only), the source-of-business
// rebuild of all data, and the corporate report from the first month of the year (its
// availability to the end of the year, its nights up to the closing day). Each reports the records it read and records
// read per second; the cost should grow with the records read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bench/demo_hotels.h"
#include "lib/globals.h"
#include "processes/congruence.h"
#include "processes/corporate_report.h"
#include "processes/source_of_business.h"
#include "rooms/availability_runs.h"
#include "tools/demo_hotel.h"
#include "xbase/date.h"

namespace {

using bench::useFolder;

void BM_Congruence(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(bench::generatedHotel(rooms));
  processes::CongruenceOptions all;
  all.historic = true;
  processes::CongruenceResult last;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = processes::CONGRUENCIA("01", all, nullptr, quiet);
  }
  state.counters["rows_read"] = double(last.read);
  state.counters["read_per_s"] = benchmark::Counter(double(last.read), benchmark::Counter::kIsRate);
  state.counters["findings"] = double(last.findings.size());
}

void BM_SourceOfBusiness(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(bench::generatedHotel(rooms));
  processes::SourceResult last;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = processes::ACTUALIZA_SOURCE("01", std::nullopt, quiet);
  }
  state.counters["rows_read"] = double(last.read);
  state.counters["read_per_s"] = benchmark::Counter(double(last.read), benchmark::Counter::kIsRate);
  state.counters["nights"] = double(last.nights);
}

void BM_CorporateReport(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(bench::generatedHotel(rooms));
  const xbase::Ymd first = xbase::ymdFromJulian(initdb::demoFirstDay());
  processes::CorporateResult last;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = processes::ACTUALIZA_CORPORATIVO("01", first.year, first.month, quiet);
  }
  state.counters["rows_read"] = double(last.read);
  state.counters["read_per_s"] = benchmark::Counter(double(last.read), benchmark::Counter::kIsRate);
  state.counters["nights"] = double(last.nights);
}

BENCHMARK(BM_Congruence)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SourceOfBusiness)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CorporateReport)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
BENCH_MAIN()
