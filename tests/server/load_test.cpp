// Many workstations at once, on the table files and on the server alike: eight processes,
// each for a number of rounds drawing a serial number, adding one to the counter of a record
// chosen at random from a shared set (under the record protocol), appending a record and
// reading it back. One of them is killed with SIGKILL in the middle, holding a record lock:
// the others go on, and its lock goes with it (the files release it with the process, the
// server with the session). Afterwards no serial number is lost or drawn twice, every
// counter equals the increments made to it, every record appended is there once, and
// dbfutil check passes every table (the server's pulled back into files).
//
// Each workstation writes a line per finished step to a log of its own ("S number",
// "M record", "A round"), so that what the killed one finished is known.
// CONFIGURA_LOAD_ROUNDS sets the rounds per workstation (2000 by default; scripts/bench runs
// 10000). The figures (rounds per second, conflicts, retries) are printed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "lib/catalogue.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/text.h"
#include "lib/use.h"
#include "server/server_fixture.h"
#include "server/transfer.h"

using namespace lib;
using testing_support::ProgramFolder;
using testing_support::ServerFolder;

namespace {

constexpr int kWorkstations = 8;
constexpr int kVictim = 5;
constexpr int kCounters = 12;
constexpr double kFirstSerial = 5000;

int rounds() {
  const char* v = std::getenv("CONFIGURA_LOAD_ROUNDS");
  return v && std::atoi(v) > 0 ? std::atoi(v) : 2000;
}

const std::vector<xbase::FieldSpec> kCounterFields = {{"ID", 'N', 4, 0}, {"CUENTA", 'N', 10, 0}};
const std::vector<xbase::FieldSpec> kEntryFields = {
    {"ESTACION", 'N', 2, 0}, {"RONDA", 'N', 6, 0}, {"SERIE", 'C', 15}, {"NOTA", 'C', 30}};
const std::vector<std::string> kEntryTags = {"APUNTES: STR(ESTACION,2)+STR(RONDA,6)"};

std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  status = pclose(p);
  return out;
}

// A folder on one driver with the tables of the test.
class LoadFolder {
 public:
  explicit LoadFolder(const std::string& rdd) : rdd_(rdd) {
    if (rdd == "ADSCDX")
      server_ = std::make_unique<ServerFolder>();
    else
      local_ = std::make_unique<ProgramFolder>();
    const CatalogueTable* serials = Catalogue::builtIn().find("SERIALES");
    std::vector<std::string> tags;
    for (const auto& t : serials->tags) tags.push_back(t.name + ": " + t.keyExpr);
    table("SERIALES", serials->fields, tags);
    table("CONTADOR", kCounterFields, {"CONTADOR: ID"});
    table("APUNTES", kEntryFields, kEntryTags);
    auto s = USE(nullptr, "SERIALES", "SERIALES");
    ADD(*s, [&] {
      s->FieldPut("NEGOCIO", Value::chars("01"));
      s->FieldPut("CODIGO", Value::chars("LT"));
      s->FieldPut("PREFIJO", Value::chars("LT-"));
      s->FieldPut("NUMERO", Value::num(kFirstSerial));
      s->FieldPut("INDENT", Value::num(7));
      s->FieldPut("JUSTIFICA", Value::num(0));
    });
    KILLTABLA(s);
    auto c = USE(nullptr, "CONTADOR", "CONTADOR");
    for (int i = 1; i <= kCounters; ++i)
      ADD(*c, [&] {
        c->FieldPut("ID", Value::num(i));
        c->FieldPut("CUENTA", Value::num(0));
      });
    KILLTABLA(c);
  }
  ~LoadFolder() {
    local_.reset();
    server_.reset();
  }
  const std::string& rdd() const { return rdd_; }
  ProgramFolder& folder() { return server_ ? server_->folder() : *local_; }
  std::string conninfo() { return server_ ? server_->schema().conninfo() : std::string(); }

 private:
  void table(const std::string& name, const std::vector<xbase::FieldSpec>& fields,
             const std::vector<std::string>& tags) {
    if (server_)
      server_->table(name + ".DBF", fields, tags);
    else
      local_->table(name + ".DBF", fields, tags);
  }
  std::string rdd_;
  std::unique_ptr<ProgramFolder> local_;
  std::unique_ptr<ServerFolder> server_;
};

struct Log {
  int fd = -1;
  void line(char kind, long value) const {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%c %ld\n", kind, value);
    (void)!write(fd, buf, size_t(n));  // one write: a kill leaves whole lines
  }
};

// One workstation's rounds; the victim stops half-way holding a record lock, tells the
// parent through `held` and waits to be killed.
[[noreturn]] void workstation(int id, const std::string& home, const std::string& rdd, const std::string& conninfo,
                              const std::string& logPath, int held) {
  Globals& g = resetGlobals();  // a workstation of its own, on the real clock
  g.PATH = home + "/";
  g.EXT_MODULO = "CNF";
  g.DEF_RDD = rdd;
  auto sink = std::make_unique<RecordingSink>();  // Reintentar for every message
  RecordingSink* messages = sink.get();
  g.messages = std::move(sink);
  if (rdd == "ADSCDX") testing_support::useServer(conninfo);
  Log log{::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644)};
  int status = 0;
  try {
    auto counters = USE(nullptr, "CONTADOR", "CONTADOR");
    auto entries = USE(nullptr, "APUNTES", "APUNTES");
    std::mt19937 rng(uint32_t(1000 + id));
    const int n = rounds();
    for (int r = 1; r <= n && status == 0; ++r) {
      std::string serial = GET_NXSERIAL(nullptr, "01", "LT");
      log.line('S', std::stol(serial.substr(3)));
      int k = 1 + int(rng() % kCounters);
      counters->GoTo(uint32_t(k));
      MODIFY(*counters, [&] {
        counters->FieldPut("CUENTA", Value::num(counters->N("CUENTA") + 1));
        if (id == kVictim && r == n / 2) {
          char c = 'H';
          (void)!write(held, &c, 1);
          for (;;) pause();  // killed here, the record locked
        }
      });
      log.line('M', k);
      ADD(*entries, [&] {
        entries->FieldPut("ESTACION", Value::num(id));
        entries->FieldPut("RONDA", Value::num(r));
        entries->FieldPut("SERIE", Value::chars(serial));
        entries->FieldPut("NOTA", Value::chars("estación " + std::to_string(id)));
      });
      log.line('A', r);
      char key[16];
      std::snprintf(key, sizeof key, "%2d%6d", id, r);
      if (!entries->Seek(key) || entries->S("SERIE") != lib::trim(serial)) status = 4;  // read back
    }
    log.line('X', long(g.XRETRIES[1]));
    log.line('W', long(messages->shown.size()));
    KILLTABLA(entries);
    KILLTABLA(counters);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "estación %d: %s\n", id, e.what());
    status = 3;
  }
  resetGlobals();
  _exit(status);
}

struct Tally {
  std::multiset<long> serials;
  std::map<int, long> increments;
  std::set<std::pair<int, long>> appended;
  long duplicatesAppended = 0;
  long retries = 0, messages = 0;
};

void readLog(const std::string& path, int id, Tally& t) {
  std::ifstream in(path);
  char kind;
  long value;
  while (in >> kind >> value) {
    switch (kind) {
      case 'S':
        t.serials.insert(value);
        break;
      case 'M':
        ++t.increments[int(value)];
        break;
      case 'A':
        if (!t.appended.insert({id, value}).second) ++t.duplicatesAppended;
        break;
      case 'X':
        t.retries += value;
        break;
      case 'W':
        t.messages += value;
        break;
    }
  }
}

void checkTables(const std::string& bases, const std::string& what) {
  for (const char* table : {"SERIALES", "CONTADOR", "APUNTES"}) {
    int status = 0;
    std::string out = run(std::string(DBFUTIL_PATH) + " check '" + bases + "/" + table + ".DBF'", status);
    EXPECT_EQ(status, 0) << what << " " << table << ": " << out;
    EXPECT_EQ(out, "OK\n") << what << " " << table;
  }
}

class Load : public ::testing::TestWithParam<std::string> {};

TEST_P(Load, EightWorkstationsOneKilledLoseNothingAndHoldNothing) {
  LoadFolder f(GetParam());
  const std::string home = f.folder().path(), conninfo = f.conninfo();
  const int n = rounds();
  int held[2];
  ASSERT_EQ(pipe(held), 0);
  std::vector<pid_t> pids;
  std::vector<std::string> logs;
  auto start = std::chrono::steady_clock::now();
  for (int id = 1; id <= kWorkstations; ++id) {
    logs.push_back(home + "/estacion" + std::to_string(id) + ".log");
    pid_t pid = fork();
    if (pid == 0) {
      close(held[0]);
      workstation(id, home, GetParam(), conninfo, logs.back(), held[1]);
    }
    pids.push_back(pid);
  }
  close(held[1]);
  char c = 0;
  ASSERT_EQ(read(held[0], &c, 1), 1);  // the victim holds its record
  kill(pids[kVictim - 1], SIGKILL);
  for (int id = 1; id <= kWorkstations; ++id) {
    int status = 0;
    waitpid(pids[size_t(id - 1)], &status, 0);
    if (id == kVictim)
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    else
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "estación " << id << ": " << status;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  Tally t;
  for (int id = 1; id <= kWorkstations; ++id) readLog(logs[size_t(id - 1)], id, t);
  const long expectedRounds = long(kWorkstations - 1) * n + (n / 2 - 1);
  EXPECT_EQ(long(t.appended.size()), expectedRounds);
  EXPECT_EQ(t.duplicatesAppended, 0);

  // Serial numbers: one each, none twice, none skipped (the killed one drew its last).
  std::set<long> distinct(t.serials.begin(), t.serials.end());
  EXPECT_EQ(distinct.size(), t.serials.size()) << "a serial number was drawn twice";
  EXPECT_EQ(long(t.serials.size()), expectedRounds + 1);
  auto s = USE(nullptr, "SERIALES", "SERIALES");
  ASSERT_TRUE(s->Seek("01" + std::string(10, ' ') + "LT"));
  EXPECT_EQ(s->N("NUMERO"), kFirstSerial + double(t.serials.size()));
  if (!distinct.empty()) {
    EXPECT_EQ(*distinct.begin(), long(kFirstSerial) + 1);
    EXPECT_EQ(*distinct.rbegin(), long(kFirstSerial) + long(distinct.size()));
  }
  KILLTABLA(s);

  // Counters: each holds the increments made to it; the killed one's last never landed.
  auto counters = USE(nullptr, "CONTADOR", "CONTADOR");
  long total = 0;
  for (int k = 1; k <= kCounters; ++k) {
    ASSERT_TRUE(counters->Seek(Value::num(k)));
    EXPECT_EQ(long(counters->N("CUENTA")), t.increments[k]) << "contador " << k;
    total += t.increments[k];
  }
  EXPECT_EQ(total, expectedRounds);
  // The killed workstation's lock went with it.
  for (counters->GoTop(); !counters->Eof(); counters->Skip()) EXPECT_TRUE(counters->RLock());
  counters->Unlock();
  KILLTABLA(counters);

  // Every record appended, once.
  auto entries = USE(nullptr, "APUNTES", "APUNTES");
  std::set<std::pair<int, long>> present;
  long rows = 0;
  for (entries->GoTop(); !entries->Eof(); entries->Skip(), ++rows)
    present.insert({int(entries->N("ESTACION")), long(entries->N("RONDA"))});
  KILLTABLA(entries);
  EXPECT_EQ(present, t.appended);
  EXPECT_EQ(rows, long(present.size()));

  if (GetParam() == "ADSCDX") {
    // The server's tables, pulled back into files, pass the check too.
    server::Session session(conninfo);
    ASSERT_TRUE(session.connect());
    const std::string pulled = home + "/COPIA/BASES";
    server::pullFolder(session, pulled);
    checkTables(pulled, "servidor");
  } else {
    checkTables(home + "/BASES", "archivos");
  }
  std::printf("[ carga    ] %s: %d estaciones x %d rondas (una muerta a la mitad): %.1f s, %.0f rondas/s, "
              "%ld reintentos de bloqueo, %ld mensajes\n",
              GetParam().c_str(), kWorkstations, n, seconds, double(expectedRounds) / seconds, t.retries, t.messages);
}

INSTANTIATE_TEST_SUITE_P(BothDrivers, Load, ::testing::Values("DBFCDX", "ADSCDX"));

}  // namespace
