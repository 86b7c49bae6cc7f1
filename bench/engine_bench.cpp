// The storage engine against SQLite on the same work: bulk append with three index tags,
// random exact and soft seeks on a 40-byte key, an ordered scan, counting within a scope,
// and going to a key number (what a grid's scroll-bar drag does).
//
// SQLite runs in-process on a file with its rollback journal, one transaction per batch
// of writes, prepared statements, as an application would use it. The engine works on a
// shared table as the program does: the batch under the file lock, reads unlocked.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>

#include "bench_support.h"
#include "xbase/dbf_table.h"

using namespace xbase;

namespace {

constexpr uint32_t kRows = 200000;

const std::vector<TagSpec>& roomTags() {
  static const std::vector<TagSpec> tags = {TagSpec::parse("ROOMS: NEGOCIO+CODIGO"),
                                            TagSpec::parse("TIPO: NEGOCIO+TIPO+CODIGO"),
                                            TagSpec::parse("DESCRIP: DESCRIP")};
  return tags;
}

void createRooms(const std::string& path) {
  DbfTable::create(
      path, {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"TIPO", 'C', 4}, {"UBICA", 'C', 4}, {"DESCRIP", 'C', 40}},
      roomTags());
}

void fillEngine(const std::string& path, uint32_t rows) {
  auto t = DbfTable::open(path);
  if (!t->lockFile()) throw std::runtime_error("file lock");
  int negocio = t->fieldIndex("NEGOCIO"), codigo = t->fieldIndex("CODIGO"), tipo = t->fieldIndex("TIPO"),
      ubica = t->fieldIndex("UBICA"), descrip = t->fieldIndex("DESCRIP");
  for (uint32_t i = 0; i < rows; ++i) {
    const bench::Row& r = bench::row(i);
    t->append();
    t->put(negocio, Value::chars(r.negocio));
    t->put(codigo, Value::chars(r.codigo));
    t->put(tipo, Value::chars(r.tipo));
    t->put(ubica, Value::chars(r.ubica));
    t->put(descrip, Value::chars(r.descrip));
  }
  t->unlockAll();
}

struct Sql {
  sqlite3* db = nullptr;
  explicit Sql(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("sqlite open");
  }
  ~Sql() { sqlite3_close(db); }
  void exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) throw std::runtime_error(err ? err : "sqlite");
  }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
    return s;
  }
};

void fillSqlite(const std::string& path, uint32_t rows) {
  std::filesystem::remove(path);
  Sql sql(path);
  sql.exec("CREATE TABLE rooms(negocio TEXT, codigo TEXT, tipo TEXT, ubica TEXT, descrip TEXT)");
  sql.exec("CREATE INDEX rooms_rooms ON rooms(negocio, codigo)");
  sql.exec("CREATE INDEX rooms_tipo ON rooms(negocio, tipo, codigo)");
  sql.exec("CREATE INDEX rooms_descrip ON rooms(descrip)");
  sql.exec("BEGIN");
  sqlite3_stmt* ins = sql.prepare("INSERT INTO rooms VALUES(?,?,?,?,?)");
  for (uint32_t i = 0; i < rows; ++i) {
    const bench::Row& r = bench::row(i);
    sqlite3_bind_text(ins, 1, r.negocio.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 2, r.codigo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 3, r.tipo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 4, r.ubica.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 5, r.descrip.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sql.exec("COMMIT");
}

// The shared 200,000-row fixtures the read benchmarks use.
[[maybe_unused]] const bool rowsReady = (bench::row(1000000 - 1), true);
const std::string& engineRooms() {
  static const std::string path = [] {
    std::string p = bench::scratch("ROOMS.DBF");
    createRooms(p);
    fillEngine(p, kRows);
    return p;
  }();
  return path;
}

const std::string& sqliteRooms() {
  static const std::string path = [] {
    std::string p = bench::scratch("rooms.sqlite");
    fillSqlite(p, kRows);
    return p;
  }();
  return path;
}

std::vector<uint32_t> randomRows(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint32_t> v(n);
  for (auto& x : v) x = rng() % kRows;
  return v;
}

void BM_Append_engine(benchmark::State& state) {
  for (auto _ : state) {
    std::string p = bench::scratch("APPEND.DBF");
    createRooms(p);
    fillEngine(p, kRows);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}

void BM_Append_sqlite(benchmark::State& state) {
  for (auto _ : state) fillSqlite(bench::scratch("append.sqlite"), kRows);
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}

void BM_SeekExact_engine(benchmark::State& state) {
  auto t = DbfTable::open(engineRooms());
  t->setOrder("DESCRIP");
  std::vector<uint32_t> keys = randomRows(100000, 1);
  int codigo = t->fieldIndex("CODIGO");
  for (auto _ : state) {
    size_t found = 0;
    for (uint32_t k : keys) {
      found += t->seek(bench::row(k).descrip);
      benchmark::DoNotOptimize(t->get(codigo));
    }
    if (found != keys.size()) state.SkipWithError("missed keys");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}

void BM_SeekExact_sqlite(benchmark::State& state) {
  Sql sql(sqliteRooms());
  sqlite3_stmt* q = sql.prepare("SELECT codigo FROM rooms WHERE descrip = ?");
  std::vector<uint32_t> keys = randomRows(100000, 1);
  for (auto _ : state) {
    size_t found = 0;
    for (uint32_t k : keys) {
      const std::string& d = bench::row(k).descrip;
      sqlite3_bind_text(q, 1, d.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(q) == SQLITE_ROW) {
        ++found;
        benchmark::DoNotOptimize(sqlite3_column_text(q, 0));
      }
      sqlite3_reset(q);
    }
    if (found != keys.size()) state.SkipWithError("missed keys");
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}

void BM_SeekSoft_engine(benchmark::State& state) {
  auto t = DbfTable::open(engineRooms());
  t->setOrder("DESCRIP");
  std::vector<uint32_t> keys = randomRows(100000, 2);
  int codigo = t->fieldIndex("CODIGO");
  for (auto _ : state) {
    for (uint32_t k : keys) {
      t->seek(bench::row(k).descrip.substr(0, 5) + "M", true);
      benchmark::DoNotOptimize(t->get(codigo));
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}

void BM_SeekSoft_sqlite(benchmark::State& state) {
  Sql sql(sqliteRooms());
  sqlite3_stmt* q = sql.prepare("SELECT codigo FROM rooms WHERE descrip >= ? ORDER BY descrip LIMIT 1");
  std::vector<uint32_t> keys = randomRows(100000, 2);
  for (auto _ : state) {
    for (uint32_t k : keys) {
      std::string d = bench::row(k).descrip.substr(0, 5) + "M";
      sqlite3_bind_text(q, 1, d.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(q) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_text(q, 0));
      sqlite3_reset(q);
    }
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}

void BM_OrderedScan_engine(benchmark::State& state) {
  auto t = DbfTable::open(engineRooms());
  t->setOrder("ROOMS");
  int descrip = t->fieldIndex("DESCRIP");
  for (auto _ : state) {
    uint32_t n = 0;
    for (t->goTop(); !t->eof(); t->skip()) {
      benchmark::DoNotOptimize(t->get(descrip));
      ++n;
    }
    if (n != kRows) state.SkipWithError("short scan");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}

void BM_OrderedScan_sqlite(benchmark::State& state) {
  Sql sql(sqliteRooms());
  // A column outside the index, as a grid shows: both sides fetch the row of every key.
  sqlite3_stmt* q = sql.prepare("SELECT descrip FROM rooms ORDER BY negocio, codigo");
  for (auto _ : state) {
    uint32_t n = 0;
    while (sqlite3_step(q) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_text(q, 0));
      ++n;
    }
    sqlite3_reset(q);
    if (n != kRows) state.SkipWithError("short scan");
  }
  sqlite3_finalize(q);
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}

// Key count of a scope holding half the table, and the key number of 1,000 records in it.
void BM_ScopeCountAndKeyNo_engine(benchmark::State& state) {
  auto t = DbfTable::open(engineRooms());
  t->setOrder("ROOMS");
  t->setScope(Value::chars("01"), Value::chars("01"));
  std::vector<uint32_t> rows = randomRows(1000, 3);
  for (auto _ : state) {
    if (t->keyCount() != kRows / 2) state.SkipWithError("wrong count");
    for (uint32_t r : rows) {
      t->goTo(r | 1);  // odd rows are business unit "01"
      benchmark::DoNotOptimize(t->keyNo());
    }
  }
}

void BM_ScopeCountAndKeyNo_sqlite(benchmark::State& state) {
  Sql sql(sqliteRooms());
  sqlite3_stmt* count = sql.prepare("SELECT count(*) FROM rooms WHERE negocio = '01'");
  sqlite3_stmt* before = sql.prepare("SELECT count(*) FROM rooms WHERE negocio = '01' AND codigo < ?");
  std::vector<uint32_t> rows = randomRows(1000, 3);
  for (auto _ : state) {
    sqlite3_step(count);
    if (sqlite3_column_int(count, 0) != int(kRows / 2)) state.SkipWithError("wrong count");
    sqlite3_reset(count);
    for (uint32_t r : rows) {
      std::string c = bench::row(r | 1).codigo;
      sqlite3_bind_text(before, 1, c.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(before);
      benchmark::DoNotOptimize(sqlite3_column_int(before, 0));
      sqlite3_reset(before);
    }
  }
  sqlite3_finalize(count);
  sqlite3_finalize(before);
}

void BM_GoToKeyNo_engine(benchmark::State& state) {
  auto t = DbfTable::open(engineRooms());
  t->setOrder("ROOMS");
  t->setScope(Value::chars("01"), Value::chars("01"));
  std::vector<uint32_t> positions = randomRows(1000, 4);
  int codigo = t->fieldIndex("CODIGO");
  for (auto _ : state) {
    for (uint32_t p : positions) {
      t->goToKeyNo(p / 2 + 1);
      benchmark::DoNotOptimize(t->get(codigo));
    }
  }
}

void BM_GoToKeyNo_sqlite(benchmark::State& state) {
  Sql sql(sqliteRooms());
  sqlite3_stmt* q = sql.prepare("SELECT codigo FROM rooms WHERE negocio = '01' ORDER BY codigo LIMIT 1 OFFSET ?");
  std::vector<uint32_t> positions = randomRows(1000, 4);
  for (auto _ : state) {
    for (uint32_t p : positions) {
      sqlite3_bind_int(q, 1, int(p / 2));
      if (sqlite3_step(q) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_text(q, 0));
      sqlite3_reset(q);
    }
  }
  sqlite3_finalize(q);
}

// Going to a key number on a 1,000,000-key tag: the first call after opening (which counts
// every leaf once), then the slowest of 1,000 positions spread over the whole tag.
void BM_GoToKeyNoMillion_engine(benchmark::State& state) {
  static const std::string path = [] {
    std::string p = bench::scratch("MILLION.DBF");
    DbfTable::create(p, {{"CODIGO", 'C', 15}, {"DESCRIP", 'C', 40}}, {TagSpec::parse("DESCRIP: DESCRIP")});
    auto t = DbfTable::open(p);
    t->lockFile();
    for (uint32_t i = 0; i < 1000000; ++i) {
      const bench::Row& r = bench::row(i);
      t->append();
      t->put(0, Value::chars(r.codigo));
      t->put(1, Value::chars(r.descrip));
    }
    t->unlockAll();
    return p;
  }();
  double first = 0, worst = 0;
  for (auto _ : state) {
    auto t = DbfTable::open(path);
    t->setOrder("DESCRIP");
    auto start = std::chrono::steady_clock::now();
    t->goToKeyNo(1000000);
    first = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (uint32_t k = 1; k <= 1000000; k += 997) {
      auto s = std::chrono::steady_clock::now();
      t->goToKeyNo(k);
      worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - s).count());
    }
  }
  state.counters["first_ms"] = first;
  state.counters["worst_ms"] = worst;
}

}  // namespace

BENCHMARK(BM_Append_engine)->Name("Append/engine")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Append_sqlite)->Name("Append/sqlite")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SeekExact_engine)->Name("SeekExact/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekExact_sqlite)->Name("SeekExact/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekSoft_engine)->Name("SeekSoft/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekSoft_sqlite)->Name("SeekSoft/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderedScan_engine)->Name("OrderedScan/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderedScan_sqlite)->Name("OrderedScan/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScopeCountAndKeyNo_engine)->Name("ScopeCountKeyNo/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScopeCountAndKeyNo_sqlite)->Name("ScopeCountKeyNo/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoToKeyNo_engine)->Name("GoToKeyNo/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoToKeyNo_sqlite)->Name("GoToKeyNo/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoToKeyNoMillion_engine)->Name("GoToKeyNoMillion/engine")->Unit(benchmark::kMillisecond)->Iterations(1);

BENCH_MAIN()
