// The database server: start-up against a real PostgreSQL, server time, locks contended by
// two processes, serial numbers, transactions with their rollback log, a connection lost
// inside a transaction, and the record cache.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "app/startup.h"
#include "lib/catalogue.h"
#include "lib/errors.h"
#include "lib/param_file.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/use.h"
#include "server/server_fixture.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ProgramFolder;
using testing_support::ServerFolder;
using testing_support::ServerSchema;
using testing_support::writeFile;

namespace {

const std::vector<xbase::FieldSpec> kRooms = {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"CANT", 'N', 4}};

void rooms(ServerFolder& f, int count = 2) {
  f.table("ROOMS.DBF", kRooms, {"ROOMS: NEGOCIO+CODIGO"});
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  for (int i = 1; i <= count; ++i)
    ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("CODIGO", Value::chars(std::to_string(100 + i)));
      t->FieldPut("CANT", Value::num(i));
    });
  KILLTABLA(t);
}

void fromCatalogue(ServerFolder& f, const std::string& name) {
  const CatalogueTable* t = Catalogue::builtIn().find(name);
  ASSERT_NE(t, nullptr);
  server::TableSchema schema(server::tableNameOf("BASES", name), t->fields, t->tags, xbase::CodePage::windows1252());
  server::createServerTable(*f.client().session(), schema);
}

// A child process: another workstation on the same server. `body` gets the pipe ends to
// talk to the parent; the child ends when it returns.
struct Workstation {
  pid_t pid = -1;
  int toChild[2], toParent[2];
  template <typename F>
  Workstation(const std::string& home, const std::string& conninfo, F body) {
    if (pipe(toChild) != 0 || pipe(toParent) != 0) std::abort();
    pid = fork();
    if (pid == 0) {
      close(toChild[1]);
      close(toParent[0]);
      Globals& g = resetGlobals();  // a process state of its own, on the real clock
      g.PATH = home + "/";
      g.EXT_MODULO = "CNF";
      testing_support::useServer(conninfo);
      int status = 0;
      try {
        body(toChild[0], toParent[1]);
      } catch (...) {
        status = 3;
      }
      _exit(status);
    }
    close(toChild[0]);
    close(toParent[1]);
  }
  void send(char c) const { (void)!write(toChild[1], &c, 1); }
  char receive() const {
    char c = 0;
    return read(toParent[0], &c, 1) == 1 ? c : 0;
  }
  int wait() const {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

void say(int fd, char c) {
  (void)!write(fd, &c, 1);
}
char hear(int fd) {
  char c = 0;
  return read(fd, &c, 1) == 1 ? c : 0;
}

}  // namespace

TEST(ServerStartup, TheServerIsFoundConnectedAndItsClockIsTheProgramClock) {
  ServerSchema schema;
  ProgramFolder p;
  std::vector<std::string> lines(22);
  lines[0] = schema.conninfo();
  lines[21] = "40";  // records cached per table
  std::string def;
  for (const auto& l : lines) def += l + "\r";
  writeFile(p.path() + "/ADS.DEF", def);
  ASSERT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  Globals& g = G();
  server::PgClient* client = server::pgClient();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(g.DEF_RDD, "ADSCDX");
  EXPECT_TRUE(g.XADS_MYCONNECTION);
  EXPECT_TRUE(client->connected());
  EXPECT_EQ(g.XADSCACHERECORDS, 40);
  EXPECT_EQ(client->settings(), (std::vector<std::string>{"FILETYPE CDX", "RIGHTS off", "CHARTYPE ANSI", "CHARTYPE OEM",
                                                          "RIGHTS off", "RIGHTS off", "CACHEOPEN 150"}));
  ASSERT_GE(g.XADS_INSTALLINFO.size(), 8u);
  EXPECT_EQ(g.XADS_INSTALLINFO[0].rfind("server_version=", 0), 0u);
  EXPECT_EQ(g.XADS_INSTALLINFO[2].rfind("sessions=", 0), 0u);
  EXPECT_GE(std::stoi(g.XADS_INSTALLINFO[2].substr(9)), 1);
  EXPECT_EQ(client->ADSGETLASTERROR(), 0);

  int32_t serverDay = std::stoi(schema.scalar("SELECT to_char(now(), 'J')"));
  EXPECT_EQ(XDATE(), serverDay);
  std::optional<server::ServerTime> t = client->ADSGETSERVERTIME();
  ASSERT_TRUE(t);
  int serverSeconds = std::stoi(schema.scalar("SELECT extract(epoch FROM localtime)::int"));
  EXPECT_NEAR(t->millis / 1000, serverSeconds, 2);
  EXPECT_EQ(XTIME().size(), 8u);
}

TEST(ServerStartup, WithoutItsOwnConnectionXdateIsTheWorkstationDate) {
  ProgramFolder p;
  std::string conninfo = testing_support::testServer() + " dbname=no_existe_esta_base";
  writeFile(p.path() + "/ADS.DEF", conninfo + "\r");
  ASSERT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);  // the server answers
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].text, "No se pudo establecer ADSCONNECT60");
  EXPECT_EQ(p.messages().shown[0].title, "Atención");
  EXPECT_FALSE(G().XADS_MYCONNECTION);
  EXPECT_EQ(G().DEF_RDD, "ADSCDX");
  EXPECT_EQ(G().server->ADSGETLASTERROR(), server::SE_CONNECT_FAILED);
  EXPECT_EQ(XDATE(), p.clock().now().julian);
  EXPECT_EQ(XTIME(), timeText(p.clock().now().millis));
}

TEST(ServerStartup, NoServerThereEndsTheProgramWithTheErrorNumber) {
  ProgramFolder p;
  writeFile(p.path() + "/ADS.DEF", "host=127.0.0.1 port=1 dbname=hotel connect_timeout=3\r");
  EXPECT_EQ(app::startCore(p.path(), true), app::StartResult::End);
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].text, "Servidor Advantage Database Server no localizable\rError:       7002");
  server::PgClient bad;
  EXPECT_FALSE(bad.ADSISSERVERLOADED("esto no es = una 'cadena"));
  EXPECT_EQ(bad.ADSGETLASTERROR(), server::SE_BAD_CONNINFO);
}

TEST(ServerLocks, TwoProcessesContendForOneRecordLock) {
  ServerFolder f;
  rooms(f);
  std::string home = f.folder().path(), conninfo = f.schema().conninfo();
  Workstation other(home, conninfo, [](int in, int out) {
    auto t = USE(nullptr, "ROOMS", "ROOMS");
    t->GoTo(1);
    SELECT(t->Area);
    LOCK_FOR_MODIFY(t.get());
    say(out, 'L');
    hear(in);  // held until the parent says
    t->FieldPut("CANT", Value::num(70));
    UNLOCK_FOR_MODIFY(t.get());
    // The release goes out without waiting; told before it arrived, the parent would try
    // once or twice more.
    t->Commit();
    say(out, 'U');
  });
  ASSERT_EQ(other.receive(), 'L');
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  f.folder().clock().at(f.folder().clock().ticks() + 7000, [&] {
    other.send('R');
    EXPECT_EQ(other.receive(), 'U');
  });
  t->GoTo(1);
  SELECT(t->Area);
  LOCK_FOR_MODIFY(t.get());
  ASSERT_EQ(f.folder().messages().shown.size(), 19u);
  EXPECT_EQ(f.folder().messages().shown.back().text, "El dato se encuentra bloqueado: " + t->Alias + "/         1");
  EXPECT_EQ(G().XADS_T_ERR, "El dato se encuentra bloqueado: " + t->Alias + "/         1");
  EXPECT_EQ(t->N("CANT"), 70);  // the lock read the other workstation's change
  t->FieldPut("CANT", Value::num(71));
  UNLOCK_FOR_MODIFY(t.get());
  t->Commit();  // the write went without waiting: arrived, before another connection looks
  EXPECT_EQ(other.wait(), 0);
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "71");
}

TEST(ServerLocks, TwoProcessesDrawingSerialNumbersGetDistinctConsecutiveOnes) {
  ServerFolder f;
  fromCatalogue(f, "SERIALES");
  {
    auto t = USE(nullptr, "SERIALES", "SERIALES");
    ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("CODIGO", Value::chars("FA"));
      t->FieldPut("NUMERO", Value::num(1000));
      t->FieldPut("INDENT", Value::num(8));
      t->FieldPut("JUSTIFICA", Value::num(0));
    });
  }
  constexpr int kEach = 150;
  std::vector<std::unique_ptr<Workstation>> ws;
  for (int k = 0; k < 2; ++k)
    ws.push_back(std::make_unique<Workstation>(f.folder().path(), f.schema().conninfo(), [](int, int out) {
      std::string numbers;
      for (int i = 0; i < kEach; ++i) numbers += GET_NXSERIAL(nullptr, "01", "FA").substr(0, 8) + "\n";
      (void)!write(out, numbers.data(), numbers.size());
    }));
  std::set<int> all;
  for (auto& w : ws) {
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(w->toParent[0], buf, sizeof buf)) > 0) text.append(buf, size_t(n));
    ASSERT_EQ(w->wait(), 0);
    for (size_t at = 0; at + 9 <= text.size(); at += 9) all.insert(std::stoi(text.substr(at, 8)));
  }
  ASSERT_EQ(all.size(), size_t(2 * kEach));
  EXPECT_EQ(*all.begin(), 1001);
  EXPECT_EQ(*all.rbegin(), 1000 + 2 * kEach);
  EXPECT_EQ(f.schema().scalar("SELECT numero FROM seriales"), std::to_string(1000 + 2 * kEach));
}

TEST(ServerTransactions, ASecondLockThatFailsRollsEverythingBackAndLogsIt) {
  ServerFolder f;
  rooms(f);
  fromCatalogue(f, "LOG_ROLL");
  Globals& g = G();
  g.XADSPARAMS[1] = "1";  // every START_TRANSACTION opens one
  g.XUSER_ABREVIA = "ADM";
  Workstation other(f.folder().path(), f.schema().conninfo(), [](int in, int out) {
    auto t = USE(nullptr, "ROOMS", "ROOMS");
    t->GoTo(2);
    SELECT(t->Area);
    LOCK_FOR_MODIFY(t.get());
    say(out, 'L');
    hear(in);
  });
  ASSERT_EQ(other.receive(), 'L');

  auto t = USE(nullptr, "ROOMS", "ROOMS");
  START_TRANSACTION(1, 7);
  ASSERT_EQ(g.XADSTRANS, 1);
  t->GoTo(1);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(50)); });
  ADD(*t, [&] { t->FieldPut("CODIGO", Value::chars("NUEVA")); });
  EXPECT_EQ(t->RecNo(), 3u);
  EXPECT_EQ(g.XA_RECORDS.size(), 2u);  // kind 1: {area, record} of each release
  auto probe = USE(nullptr, "ROOMS");
  probe->GoTo(1);
  EXPECT_FALSE(probe->RLock());  // released, but held until the transaction ends
  int64_t before = f.folder().clock().ticks();
  t->GoTo(2);
  SELECT(t->Area);
  EXPECT_THROW(LOCK_FOR_MODIFY(t.get()), TransactionAbort);
  EXPECT_GT(f.folder().clock().ticks() - before, 5000);
  EXPECT_TRUE(f.folder().messages().shown.empty());  // an abort, not a message
  ROLLBACK_TRANSACTION();
  EXPECT_EQ(g.XADSTRANS, 0);
  EXPECT_TRUE(g.XA_RECORDS.empty());

  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "1");
  EXPECT_EQ(f.schema().scalar("SELECT _deleted::text || '/' || coalesce(codigo, '') FROM rooms WHERE _recno = 3"),
            "true/" + std::string(15, ' '));  // the appended record: blank and deleted
  EXPECT_EQ(f.schema().scalar("SELECT count(*) FROM log_roll"), "1");
  EXPECT_EQ(f.schema().scalar("SELECT motivo FROM log_roll").substr(0, 43),
            "El dato se encuentra bloqueado: " + t->Alias + "/");
  EXPECT_EQ(f.schema().scalar("SELECT trim(usuario) || '|' || trans_id FROM log_roll"), "ADM|7");
  EXPECT_TRUE(probe->RLock());  // every lock of the transaction went with it
  t->GoTo(1);
  EXPECT_EQ(t->N("CANT"), 1);
  other.send('X');
  EXPECT_EQ(other.wait(), 0);
}

TEST(ServerTransactions, TransactionTwoOfFortyFiveOpensOnlyWhenLine26SaysSo) {
  ServerFolder f;
  rooms(f);
  Globals& g = G();
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  START_TRANSACTION(2, 45);  // line 2 is not "1" and position 45 of line 26 is "0"
  EXPECT_EQ(g.XADSTRANS, 0);
  t->GoTo(1);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(8)); });
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "8");  // written at once

  g.XADS_TS[44] = '1';
  START_TRANSACTION(2, 45);
  ASSERT_EQ(g.XADSTRANS, 1);
  EXPECT_EQ(g.XTRANS_TIPO, 2);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(9)); });
  t->GoTo(2);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(19)); });
  ASSERT_EQ(g.XA_RECORDS.size(), 1u);                                            // kind 2: the area once
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "8");  // not before the commit
  END_TRANSACTION();
  EXPECT_EQ(g.XADSTRANS, 0);
  EXPECT_EQ(f.schema().scalar("SELECT sum(cant) FROM rooms"), "28");
  auto probe = USE(nullptr, "ROOMS");
  probe->GoTo(1);
  EXPECT_TRUE(probe->RLock());
}

TEST(ServerTransactions, ALostConnectionRollsBackAndIsReportedAsAnError) {
  ServerFolder f;
  rooms(f);
  fromCatalogue(f, "LOG_ROLL");
  Globals& g = G();
  g.XADSPARAMS[1] = "1";
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  t->GoTo(2);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(20)); });  // committed before
  START_TRANSACTION();
  t->GoTo(1);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(77)); });
  std::string pid = f.client().session()->exec("SELECT pg_backend_pid()").text(0, 0);
  f.schema().scalar("SELECT pg_terminate_backend(" + pid + ")");
  try {
    t->GoTo(2);
    t->N("CANT");  // the record is read when looked at
    FAIL() << "the lost connection went unnoticed";
  } catch (const xbase::Error& e) {
    EXPECT_EQ(e.subCode(), server::SE_CONNECTION_LOST);
    EXPECT_EQ(e.subsystem(), "ADSCDX");
  }
  EXPECT_THROW((t->GoTo(1), t->N("CANT")), xbase::Error);  // nothing more until the rollback
  g.XADS_T_ERR = "conexión perdida";
  ROLLBACK_TRANSACTION();  // what the error window does
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "1");
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 2"), "20");
  EXPECT_EQ(f.schema().scalar("SELECT motivo FROM log_roll").substr(0, 17), "conexión perdida");
  t->GoTo(1);  // a fresh connection
  EXPECT_EQ(t->N("CANT"), 1);
}

TEST(ServerCache, ReadingForwardFetchesTheConfiguredRecordsPerRoundTrip) {
  ServerFolder f;
  rooms(f, 30);
  G().XADSCACHERECORDS = 10;
  auto t = USE(nullptr, "ROOMS");
  auto& table = dynamic_cast<server::ServerTable&>(t->driver());
  EXPECT_EQ(table.cacheRecords(), 10);  // set by USE through ADSCACHERECORDS
  f.client().ADSCACHERECORDS(t->Area, 0);
  EXPECT_EQ(table.cacheRecords(), 1);  // at least one
  f.client().ADSCACHERECORDS(t->Area, 7);
  std::vector<uint32_t> seen;
  for (t->GoTop(); !t->Eof(); t->Skip()) seen.push_back(t->RecNo());
  ASSERT_EQ(seen.size(), 30u);
  EXPECT_EQ(seen.front(), 1u);
  // Rows kept in the cache are dropped when this table writes.
  t->GoTop();
  MODIFY(*t, [&] { t->FieldPut("CODIGO", Value::chars("999")); });
  t->Skip();
  EXPECT_EQ(t->S("CODIGO"), "102");
  t->GoTop();
  t->Skip(3);
  EXPECT_EQ(t->S("CODIGO"), "104");
}
