// The database server next to the local driver on the demo hotel: a scan of the
// reservation table (TAB_RESE, or the largest demo table while the catalogue has no
// TAB_RESE) in the order of its first tag, with record caches of 1, 50 and 500 rows per
// round trip, and random exact seeks. The demo folder comes from configura-initdb --demo
// and is pushed to the server named by CONFIGURA_PG_BENCH (or CONFIGURA_PG_TEST).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "bench/bench_support.h"
#include "lib/catalogue.h"
#include "lib/globals.h"
#include "server/pg_client.h"
#include "server/server_table.h"
#include "server/transfer.h"
#include "xbase/dbf_table.h"

namespace {

struct Demo {
  std::string home, table, tag, schema, conninfo;
  std::vector<xbase::Value> keys;  // existing keys of the tag, for the seeks
  uint32_t records = 0;
};

void runSql(const std::string& conninfo, const std::string& sql) {
  PGconn* c = PQconnectdb(conninfo.c_str());
  PQclear(PQexec(c, "SET client_min_messages = warning"));
  PQclear(PQexec(c, sql.c_str()));
  PQfinish(c);
}

Demo& demo() {
  static Demo d = [] {
    Demo x;
    const char* server = std::getenv("CONFIGURA_PG_BENCH");
    if (!server || !*server) server = std::getenv("CONFIGURA_PG_TEST");
    if (!server || !*server) {
      std::cerr << "server_bench: CONFIGURA_PG_BENCH (o CONFIGURA_PG_TEST) debe nombrar un PostgreSQL\n";
      std::exit(1);
    }
    x.home = bench::scratch("server-demo") + "/";
    std::filesystem::remove_all(x.home);
    std::string cmd = std::string(INITDB_PATH) + " '" + x.home + "' --demo >/dev/null";
    if (std::system(cmd.c_str()) != 0) std::exit(1);
    x.schema = "bench" + std::to_string(getpid());
    runSql(server, "CREATE SCHEMA " + x.schema);
    x.conninfo = std::string(server) + " options='-csearch_path=" + x.schema + "'";
    {
      server::Session s(x.conninfo);
      if (!s.connect()) std::exit(1);
      server::pushFolder(s, x.home + "BASES");
    }
    // TAB_RESE when the catalogue has it; otherwise the demo's largest table.
    for (const auto& t : lib::Catalogue::builtIn().tables()) {
      if (t.tags.empty()) continue;
      auto dbf = xbase::DbfTable::open(x.home + "BASES/" + t.name + ".DBF", {true, true});
      if (t.name == "TAB_RESE" || (x.table != "TAB_RESE" && dbf->recCount() > x.records)) {
        x.table = t.name;
        x.tag = t.tags.front().name;
        x.records = dbf->recCount();
      }
    }
    auto dbf = xbase::DbfTable::open(x.home + "BASES/" + x.table + ".DBF", {true, true});
    dbf->setOrder(x.tag);
    for (dbf->goTop(); !dbf->eof(); dbf->skip())
      x.keys.push_back(xbase::Value::chars(dbf->codePage().toUtf8(*dbf->currentKey(x.tag))));
    std::mt19937 rng(7);
    std::shuffle(x.keys.begin(), x.keys.end(), rng);
    lib::Globals& g = lib::G();
    g.PATH = x.home;
    g.server = std::make_unique<server::PgClient>(x.conninfo);
    server::installPostgresClient();
    std::cerr << "tabla " << x.table << " (" << x.records << " registros), etiqueta " << x.tag << "\n";
    return x;
  }();
  return d;
}

std::unique_ptr<lib::TableDriver> openTable(const std::string& rdd) {
  Demo& d = demo();
  return lib::storageDriver(rdd).open(d.home + "BASES/" + d.table + ".DBF", true, true);
}

void scan(benchmark::State& state, const std::string& rdd, int cache) {
  auto t = openTable(rdd);
  if (auto* s = dynamic_cast<server::ServerTable*>(t.get())) s->setCacheRecords(cache);
  t->setOrder(demo().tag);
  int64_t rows = 0;
  for (auto _ : state) {
    for (t->goTop(); !t->eof(); t->skip(1)) ++rows;
  }
  state.SetItemsProcessed(rows);
}

void seeks(benchmark::State& state, const std::string& rdd) {
  auto t = openTable(rdd);
  t->setOrder(demo().tag);
  const auto& keys = demo().keys;
  size_t i = 0;
  int64_t n = 0;
  for (auto _ : state) {
    for (int k = 0; k < 200; ++k, ++n) benchmark::DoNotOptimize(t->seek(keys[i++ % keys.size()], false, false));
  }
  state.SetItemsProcessed(n);
}

void BM_Scan_local(benchmark::State& s) {
  scan(s, "DBFCDX", 1);
}
void BM_Scan_server(benchmark::State& s) {
  scan(s, "ADSCDX", int(s.range(0)));
}
void BM_Seek_local(benchmark::State& s) {
  seeks(s, "DBFCDX");
}
void BM_Seek_server(benchmark::State& s) {
  seeks(s, "ADSCDX");
}

}  // namespace

BENCHMARK(BM_Scan_local)->Name("TagScan/local")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_server)->Name("TagScan/server/cache")->Arg(1)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Seek_local)->Name("Seek200/local")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Seek_server)->Name("Seek200/server")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  demo();
  benchmark::RunSpecifiedBenchmarks();
  runSql(std::getenv("CONFIGURA_PG_BENCH") && *std::getenv("CONFIGURA_PG_BENCH") ? std::getenv("CONFIGURA_PG_BENCH")
                                                                                 : std::getenv("CONFIGURA_PG_TEST"),
         "DROP SCHEMA " + demo().schema + " CASCADE");
  lib::resetGlobals();
  benchmark::Shutdown();
  return 0;
}
