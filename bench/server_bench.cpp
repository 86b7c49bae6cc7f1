// The database server ("ADSCDX") next to the table files ("DBFCDX") on the same work, in one
// run, each benchmark named WORK/local and WORK/server so that the report ends with their
// ratios:
//   Generation, FastRecalculation, FullRebuild   the three availability runs over the demo
//                       year of the 120-room hotel (as bench/availability_bench), the
//                       generation from a folder with nothing generated yet;
//   GridOpen            a list screen's grid opened on a 100,000-record table scoped to half
//                       of it, until its first window of rows is painted;
//   Seek10000           10,000 exact seeks on that table, keys in random order;
//   MenusScan           MENUS (the demo's 25,005 records) read in its tag's order with a
//                       record cache of 500, again and again (the server's answers are
//                       kept by the workstation while the table does not change);
//   MenusFirstScan      the same, with nothing kept from the scan before (the first
//                       scan after the table changed);
//   Push, Pull          the demo folder (configura-initdb --demo) copied to the server and
//                       back (server only; items are records).
// The server is the PostgreSQL named by CONFIGURA_PG_BENCH (or CONFIGURA_PG_TEST); every
// folder lives in a schema of its own, dropped at the end. The record cache of the runs is
// the one configura-initdb --server leaves (ADS.DEF without line 22).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QApplication>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "bench/bench_support.h"
#include "lib/globals.h"
#include "lib/use.h"
#include "rooms/availability_runs.h"
#include "server/pg_client.h"
#include "server/read_memo.h"
#include "server/server_table.h"
#include "server/transfer.h"
#include "tools/demo_hotel.h"
#include "win/browse.h"
#include "win/driver.h"
#include "win/resources.h"
#include "win/wdiag.h"
#include "xbase/dbf_table.h"

namespace initdb {

// The demo writer's way into the tables (configura-initdb has its own).
std::unique_ptr<xbase::DbfTable> openTable(const std::string& home, const std::string& name) {
  return xbase::DbfTable::open(home + "BASES/" + name + ".DBF", xbase::OpenOptions{false, false});
}

}  // namespace initdb

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRooms = 120;
constexpr uint32_t kGridRecords = 100000;

// ---- The server and its schemas ----

std::string baseServer() {
  static const std::string s = [] {
    const char* v = std::getenv("CONFIGURA_PG_BENCH");
    if (!v || !*v) v = std::getenv("CONFIGURA_PG_TEST");
    if (!v || !*v) {
      std::cerr << "server_bench: CONFIGURA_PG_BENCH (o CONFIGURA_PG_TEST) debe nombrar un PostgreSQL\n";
      std::exit(1);
    }
    return std::string(v);
  }();
  return s;
}

void runSql(const std::string& sql) {
  PGconn* c = PQconnectdb(baseServer().c_str());
  PQclear(PQexec(c, "SET client_min_messages = warning"));
  PGresult* r = PQexec(c, sql.c_str());
  if (PQresultStatus(r) != PGRES_COMMAND_OK) {
    std::cerr << "server_bench: " << sql << ": " << PQresultErrorMessage(r);
    std::exit(1);
  }
  PQclear(r);
  PQfinish(c);
}

std::vector<std::string>& schemas() {
  static std::vector<std::string> s;
  return s;
}

// A fresh schema; the connection string that works in it.
std::string schema(const std::string& name) {
  std::string s = "bench" + std::to_string(getpid()) + "_" + name;
  runSql("DROP SCHEMA IF EXISTS " + s + " CASCADE; CREATE SCHEMA " + s);
  schemas().push_back(s);
  return baseServer() + " options='-csearch_path=" + s + "'";
}

void push(const std::string& conninfo, const std::string& folder) {
  server::Session s(conninfo);
  if (!s.connect()) {
    std::cerr << "server_bench: " << s.lastMessage() << "\n";
    std::exit(1);
  }
  server::pushFolder(s, folder);
}

// ---- The process state on one driver ----

void useLocal(const std::string& home) {
  lib::Globals& g = lib::G();
  g.PATH = home;
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
  g.XADSCACHERECORDS = 0;
}

void useServer(const std::string& home, const std::string& conninfo, int cache = 0) {
  lib::Globals& g = lib::G();
  g.PATH = home;
  g.DEF_RDD = "ADSCDX";
  g.EXT_MODULO = "CNF";
  g.XADSCACHERECORDS = cache;
  auto* current = server::pgClient();
  if (!current || !current->session() || current->session()->conninfo() != conninfo) {
    g.server = std::make_unique<server::PgClient>(conninfo);
    server::installPostgresClient();
  }
}

// ---- The folders ----

// A program folder with the hotel's master data, reservations and allotments, nothing
// generated yet; and the same with its year generated and its nights written.
const std::string& pristine() {
  static const std::string home = [] {
    std::string h = bench::scratch("pristine") + "/";
    std::string command = std::string(INITDB_PATH) + " " + h + " >/dev/null";
    if (std::system(command.c_str()) != 0) std::exit(1);
    initdb::addHotelData(h, kRooms);
    return h;
  }();
  return home;
}

const std::string& generated() {
  static const std::string home = [] {
    std::string h = bench::scratch("generated") + "/";
    fs::copy(pristine(), h, fs::copy_options::recursive);
    useLocal(h);
    rooms::Progress quiet;
    rooms::runGeneration("01", initdb::demoFirstDay(), initdb::demoLastDay(), quiet);
    initdb::applyReservationNights(h, kRooms);
    return h;
  }();
  return home;
}

const std::string& generatedOnServer() {
  static const std::string conninfo = [] {
    std::string c = schema("generated");
    push(c, generated() + "BASES");
    return c;
  }();
  return conninfo;
}

const std::string& demo() {
  static const std::string home = [] {
    std::string h = bench::scratch("demo") + "/";
    std::string command = std::string(INITDB_PATH) + " '" + h + "' --demo >/dev/null";
    if (std::system(command.c_str()) != 0) std::exit(1);
    return h;
  }();
  return home;
}

const std::string& demoOnServer() {
  static const std::string conninfo = [] {
    std::string c = schema("demo");
    push(c, demo() + "BASES");
    return c;
  }();
  return conninfo;
}

// A folder with GRID: 100,000 room-like records, business 01 and 02 alternating.
const std::string& gridFolder() {
  static const std::string home = [] {
    std::string h = bench::scratch("grid") + "/";
    for (const char* d : {"BASES", "PROFILE", "TEMP"}) fs::create_directories(h + d);
    std::string path = h + "BASES/GRID.DBF";
    xbase::DbfTable::create(path, {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"TIPO", 'C', 4}, {"DESCRIP", 'C', 40}},
                            {xbase::TagSpec::parse("GRID: NEGOCIO+CODIGO"), xbase::TagSpec::parse("DESCRIP: DESCRIP")});
    auto t = xbase::DbfTable::open(path);
    t->lockFile();
    for (uint32_t i = 0; i < kGridRecords; ++i) {
      const bench::Row& r = bench::row(i);
      t->append();
      t->put(0, xbase::Value::chars(r.negocio));
      t->put(1, xbase::Value::chars(r.codigo));
      t->put(2, xbase::Value::chars(r.tipo));
      t->put(3, xbase::Value::chars(r.descrip));
    }
    t->unlockAll();
    return h;
  }();
  return home;
}

const std::string& gridOnServer() {
  static const std::string conninfo = [] {
    std::string c = schema("grid");
    push(c, gridFolder() + "BASES");
    return c;
  }();
  return conninfo;
}

void onDriver(const std::string& rdd, const std::string& home, const std::string& conninfo, int cache = 0) {
  if (rdd == "local")
    useLocal(home);
  else
    useServer(home, conninfo, cache);
}

// Round trips and statements of the process's server session, per iteration.
class ServerCounts {
 public:
  ServerCounts() : trips_(trips()), statements_(statements()) {}
  void report(benchmark::State& state) const {
    if (lib::G().DEF_RDD != "ADSCDX") return;
    double n = double(state.iterations());
    state.counters["round_trips"] = double(trips() - trips_) / n;
    state.counters["statements"] = double(statements() - statements_) / n;
  }

 private:
  static long trips() {
    auto* c = server::pgClient();
    return c && c->connected() ? c->session()->roundTrips() : 0;
  }
  static long statements() {
    auto* c = server::pgClient();
    return c && c->connected() ? c->session()->statements() : 0;
  }
  long trips_, statements_;
};

void report(benchmark::State& state, const rooms::RunResult& r) {
  state.counters["rows_written"] = double(r.written());
  state.counters["rows_read"] = double(r.read);
  state.counters["written_per_s"] = benchmark::Counter(double(r.written()), benchmark::Counter::kIsRate);
}

// ---- The availability runs ----

void generation(benchmark::State& state, const std::string& rdd) {
  const std::string work = bench::scratch("generation-" + rdd) + "/";
  std::string conninfo = rdd == "server" ? schema("generation") : "";
  rooms::RunResult last;
  long trips = 0, statements = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(work);
    fs::copy(pristine(), work, fs::copy_options::recursive);
    if (rdd == "server") push(conninfo, work + "BASES");
    onDriver(rdd, work, conninfo);
    auto* c = server::pgClient();
    long t0 = rdd == "server" ? c->session()->roundTrips() : 0, s0 = rdd == "server" ? c->session()->statements() : 0;
    state.ResumeTiming();
    rooms::Progress quiet;
    last = rooms::runGeneration("01", initdb::demoFirstDay(), initdb::demoLastDay(), quiet);
    if (rdd == "server") {
      trips += c->session()->roundTrips() - t0;
      statements += c->session()->statements() - s0;
    }
  }
  report(state, last);
  if (rdd == "server") {
    state.counters["round_trips"] = double(trips) / double(state.iterations());
    state.counters["statements"] = double(statements) / double(state.iterations());
  }
}

void fastRecalculation(benchmark::State& state, const std::string& rdd) {
  onDriver(rdd, generated(), rdd == "server" ? generatedOnServer() : "");
  rooms::RunResult last;
  ServerCounts counts;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = rooms::runFastRecalculation("01", initdb::demoFirstDay(), quiet);
  }
  report(state, last);
  counts.report(state);
}

void fullRebuild(benchmark::State& state, const std::string& rdd) {
  onDriver(rdd, generated(), rdd == "server" ? generatedOnServer() : "");
  rooms::RunResult last;
  ServerCounts counts;
  for (auto _ : state) {
    rooms::Progress quiet;
    last = rooms::runFullRebuild("01", true, quiet);
  }
  report(state, last);
  counts.report(state);
}

// ---- The grid ----

const char* kTemplate = R"(
SERVER_BENCH DIALOGEX 0, 0, 340, 200
STYLE WS_CHILD | WS_CAPTION | WS_SYSMENU
CAPTION "Habitaciones"
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL         "", 700, "WBROWSE", WS_TABSTOP | WS_VSCROLL, 6, 6, 328, 170
    DEFPUSHBUTTON   "&Salir", 1, 284, 180, 50, 14
END
)";

void setUpWindows() {
  static bool done = false;
  if (done) return;
  done = true;
  setenv("CONFIGURA_WINDIR", (gridFolder() + "WINDOWS").c_str(), 1);
  lib::Globals& g = lib::G();
  g.windowsUser = [] { return std::string("bench"); };
  g.computerName = [] { return std::string("BENCH"); };
  win::Driver::instance().install();
  win::addResourceScript(kTemplate, "server_bench.rc");
}

// The list screen of business 01 over GRID: the table opened, the columns, the count of the
// scope and the first window of rows painted.
class GRID_LIST : public win::WDIAG, public win::ADD2BROWSE {
 public:
  GRID_LIST() {
    NEGOCIO = "01";
    GRID = lib::USE(this, "GRID", "GRID");
    if (!Init(nullptr, "SERVER_BENCH")) return;
    OB = std::make_unique<win::WBLISTBOX>(this, 700, GRID.get());
    ADD(OB.get());
    CREATE("SERVER_BENCH");
    win::AGREGARCOL(*OB, GRID.get(), "Código", "CODIGO", "@! XXXXXXXXXX");
    win::AGREGARCOL(*OB, GRID.get(), "Tipo", "TIPO");
    win::AGREGARCOL(*OB, GRID.get(), "Descripción", "DESCRIP");
    frame()->show();
    QCoreApplication::processEvents();
    BROWMARKS(*OB, {{1, "GRID"}, {3, "DESCRIP"}}, 1, NEGOCIO);
    OB->view()->viewport()->repaint();
  }
  ~GRID_LIST() override {
    OB.reset();
    lib::KILLTABLA(GRID);
  }
  std::unique_ptr<lib::WDBTable> GRID;
  std::unique_ptr<win::WBLISTBOX> OB;
};

void gridOpen(benchmark::State& state, const std::string& rdd) {
  onDriver(rdd, gridFolder(), rdd == "server" ? gridOnServer() : "");
  setUpWindows();
  delete new GRID_LIST;  // Qt's one-time set-up of a first window is no screen's cost
  QCoreApplication::processEvents();
  double worst = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    auto* s = new GRID_LIST;
    double t = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(t);
    worst = std::max(worst, t * 1000);
    if (s->OB->nMaxRec != kGridRecords / 2) state.SkipWithError("the scope is not half the table");
    s->ENDDIALOG();
    delete s;
    QCoreApplication::processEvents();
  }
  state.counters["worst_ms"] = worst;
}

// ---- Seeks and scans ----

void seeks(benchmark::State& state, const std::string& rdd) {
  onDriver(rdd, gridFolder(), rdd == "server" ? gridOnServer() : "");
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k;
    for (uint32_t i = 0; i < kGridRecords; ++i) k.push_back(bench::row(i).negocio + bench::row(i).codigo);
    std::mt19937 rng(7);
    std::shuffle(k.begin(), k.end(), rng);
    k.resize(10000);
    return k;
  }();
  auto t = lib::USE(nullptr, "GRID", "GRID");
  long found = 0;
  ServerCounts counts;
  for (auto _ : state)
    for (const std::string& k : keys) found += t->Seek(k) ? 1 : 0;
  counts.report(state);
  lib::KILLTABLA(t);
  if (found != long(state.iterations()) * long(keys.size())) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(keys.size()));
}

void scanMenus(benchmark::State& state, const std::string& rdd, bool first) {
  onDriver(rdd, demo(), rdd == "server" ? demoOnServer() : "", 500);
  auto t = lib::USE(nullptr, "MENUS", "MENUS");
  int64_t rows = 0;
  ServerCounts counts;
  for (auto _ : state) {
    if (first && rdd == "server") {
      state.PauseTiming();
      server::pgClient()->session()->memo().clear();
      state.ResumeTiming();
    }
    for (t->GoTop(); !t->Eof(); t->Skip()) ++rows;
  }
  counts.report(state);
  lib::KILLTABLA(t);
  state.SetItemsProcessed(rows);
  state.counters["records"] = double(rows) / double(state.iterations());
}

void menusScan(benchmark::State& state, const std::string& rdd) {
  scanMenus(state, rdd, false);
}

void menusFirstScan(benchmark::State& state, const std::string& rdd) {
  scanMenus(state, rdd, true);
}

// ---- Push and pull ----

long demoRecords() {
  long n = 0;
  for (const auto& e : fs::directory_iterator(demo() + "BASES"))
    if (e.path().extension() == ".DBF") n += xbase::DbfTable::open(e.path().string(), {true, true})->recCount();
  return n;
}

void pushDemo(benchmark::State& state) {
  std::string conninfo = schema("push");
  server::Session s(conninfo);
  if (!s.connect()) state.SkipWithError("no connection");
  long records = 0;
  for (auto _ : state) records += server::pushFolder(s, demo() + "BASES").records;
  state.SetItemsProcessed(records);
}

void pullDemo(benchmark::State& state) {
  demoOnServer();
  server::Session s(demoOnServer());
  if (!s.connect()) state.SkipWithError("no connection");
  const std::string target = bench::scratch("pulled") + "/BASES";
  long records = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(target);
    state.ResumeTiming();
    records += server::pullFolder(s, target).records;
  }
  state.SetItemsProcessed(records);
}

void registerAll() {
  for (std::string rdd : {"local", "server"}) {
    auto reg = [&](const char* work, void (*fn)(benchmark::State&, const std::string&), int iterations) {
      benchmark::RegisterBenchmark((std::string(work) + "/" + rdd).c_str(),
                                   [fn, rdd](benchmark::State& s) { fn(s, rdd); })
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(iterations);
    };
    reg("Generation", generation, 2);
    reg("FastRecalculation", fastRecalculation, 2);
    reg("FullRebuild", fullRebuild, 2);
    reg("Seek10000", seeks, 3);
    reg("MenusScan", menusScan, 50);
    reg("MenusFirstScan", menusFirstScan, 50);
    benchmark::RegisterBenchmark(("GridOpen/" + rdd).c_str(), [rdd](benchmark::State& s) { gridOpen(s, rdd); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(10);
  }
  benchmark::RegisterBenchmark("Push/server", pushDemo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
  benchmark::RegisterBenchmark("Pull/server", pullDemo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  lib::resetGlobals();
  std::printf("demo folder: %ld records\n", demoRecords());
  std::fflush(stdout);
  registerAll();
  bench::RatioReporter reporter("server", "local");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  lib::G().server.reset();
  for (const std::string& s : schemas()) runSql("DROP SCHEMA IF EXISTS " + s + " CASCADE");
  lib::resetGlobals();
  benchmark::Shutdown();
  return 0;
}
