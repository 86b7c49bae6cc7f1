// The processes over the reservation data on the demo hotel's year, at 120 rooms and scaled to
// 1,000: the congruence check with every step on (reporting only), the source-of-business
// rebuild of all data, and the corporate report from the first month of the year (its
// availability to the end of the year, its nights up to the closing day). Each reports the records it read and records
// read per second; the cost should grow with the records read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_support.h"
#include "lib/globals.h"
#include "processes/congruence.h"
#include "processes/corporate_report.h"
#include "processes/source_of_business.h"
#include "rooms/availability_runs.h"
#include "tools/demo_data.h"
#include "tools/demo_hotel.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"

namespace initdb {

// The demo writer's way into the tables (configura-initdb has its own).
std::unique_ptr<xbase::DbfTable> openTable(const std::string& home, const std::string& name) {
  return xbase::DbfTable::open(home + "BASES/" + name + ".DBF", xbase::OpenOptions{false, false});
}

}  // namespace initdb

namespace {

namespace fs = std::filesystem;

void useFolder(const std::string& home) {
  lib::Globals& g = lib::G();
  g.PATH = home;
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
}

// An empty program folder made by configura-initdb, with the hotel's master data,
// reservations and allotments of `rooms` rooms: nothing generated yet.
const std::string& pristine(int rooms) {
  static std::map<int, std::string> folders;
  auto found = folders.find(rooms);
  if (found != folders.end()) return found->second;
  std::string home = bench::scratch("hotel" + std::to_string(rooms)) + "/";
  std::string command = std::string(INITDB_PATH) + " " + home + " >/dev/null";
  if (std::system(command.c_str()) != 0) std::abort();
  initdb::addHotelData(home, rooms);
  return folders[rooms] = home;
}

// The same hotel with its year generated and its nights written into the reservation table,
// as the recalculations find it.
const std::string& generated(int rooms) {
  static std::map<int, std::string> folders;
  auto found = folders.find(rooms);
  if (found != folders.end()) return found->second;
  std::string home = bench::scratch("generated" + std::to_string(rooms)) + "/";
  fs::copy(pristine(rooms), home, fs::copy_options::recursive);
  useFolder(home);
  rooms::Progress quiet;
  rooms::runGeneration("01", initdb::demoFirstDay(), initdb::demoLastDay(), quiet);
  initdb::applyReservationNights(home, rooms);
  return folders[rooms] = home;
}

void BM_Congruence(benchmark::State& state) {
  const int rooms = int(state.range(0));
  useFolder(generated(rooms));
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
  useFolder(generated(rooms));
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
  useFolder(generated(rooms));
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
