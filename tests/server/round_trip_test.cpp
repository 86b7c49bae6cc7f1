// What the server driver spends round trips on, and that what it no longer waits for still
// reaches the server in order: walks read further the longer they go, a seek forward among
// the rows read is answered at once, a record noted by GoTo is read with its lock, writes
// and releases are sent without waiting, and a table held alone sends what it wrote as a
// few statements when it lets go, never half of it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "server/server_fixture.h"

using namespace lib;
using testing_support::ServerFolder;

namespace {

server::Session& session(ServerFolder& f) {
  return *f.client().session();
}

// Round trips taken by `work`.
template <typename F>
long tripsOf(ServerFolder& f, F work) {
  long before = session(f).roundTrips();
  work();
  return session(f).roundTrips() - before;
}

}  // namespace

TEST(ServerRoundTrips, AWalkReadsFurtherTheLongerItGoes) {
  ServerFolder f;
  auto t = f.rooms(300);
  f.client().ADSCACHERECORDS(t->Area, 5);
  int seen = 0;
  long trips = tripsOf(f, [&] {
    for (t->GoTop(); !t->Eof(); t->Skip()) ++seen;
  });
  EXPECT_EQ(seen, 300);
  // 5, 10, 20, 40, 80, 160 rows: six reads, and the end known from the last short one.
  EXPECT_EQ(trips, 6);
}

// A long walk asks for the next rows before it needs them: it still sees every row once, in
// order, stops at its scope, skips a deleted record, and a move elsewhere halfway leaves no
// trace of what was asked for.
TEST(ServerRoundTrips, AWalkThatAsksAheadSeesEveryRowOnceAndStopsAtItsScope) {
  ServerFolder f;
  auto t = f.rooms(3000);
  t->GoTo(2000);
  MODIFY(*t, [&] { t->Delete(); });
  t->SetScope(Value::chars("011500"), Value::chars("013500"));
  std::vector<int> seen;
  for (t->GoTop(); !t->Eof(); t->Skip()) seen.push_back(std::stoi(lib::trim(t->S("CODIGO"))));
  ASSERT_EQ(seen.size(), 2000u);  // 1500 to 3500 less the deleted 3000
  EXPECT_EQ(seen.front(), 1500);
  EXPECT_EQ(seen.back(), 3500);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 3000), 0);
  t->ClearScope();
  t->GoTop();
  for (int i = 0; i < 1000; ++i) t->Skip();
  EXPECT_EQ(lib::trim(t->S("CODIGO")), "2001");
  ASSERT_TRUE(t->Seek("011200"));
  EXPECT_EQ(t->RecNo(), 200u);
  t->Skip();
  EXPECT_EQ(t->RecNo(), 201u);
  t->GoBottom();
  EXPECT_EQ(t->RecNo(), 3000u);
}

// A handle that only reads brings, after its first rows, only the fields it looked at: a
// field it had not looked at is read when asked for, and a record changed after such a walk
// keeps the fields the walk did not bring.
TEST(ServerRoundTrips, AWalkThatBringsOnlyTheFieldsItLooksAtLosesNothing) {
  ServerFolder f;
  f.rooms(400);
  auto t = USE(nullptr, "ROOMS", "ROOMS");  // a handle that has written nothing
  int expected = 1001;
  for (t->GoTop(); !t->Eof(); t->Skip(), ++expected) {
    ASSERT_EQ(lib::trim(t->S("CODIGO")), std::to_string(expected));
    if (expected == 1300) {
      EXPECT_EQ(t->N("CANT"), 300);  // not brought by the reads after the first rows
    }
  }
  EXPECT_EQ(expected, 1401);
  // Held before the walk reaches it, a record is changed without being read again.
  auto held = USE(nullptr, "ROOMS", "ROOMS");
  held->GoTo(300);
  ASSERT_TRUE(held->RLock());
  for (held->GoTop(); !held->Eof() && held->RecNo() != 300; held->Skip()) lib::trim(held->S("CODIGO"));
  ASSERT_EQ(held->RecNo(), 300u);
  held->FieldPut("CANT", Value::num(3000));
  held->Unlock();
  // Reached by a walk and changed under the record protocol.
  auto walker = USE(nullptr, "ROOMS", "ROOMS");
  for (walker->GoTop(); !walker->Eof() && walker->RecNo() != 350; walker->Skip()) lib::trim(walker->S("CODIGO"));
  MODIFY(*walker, [&] { walker->FieldPut("CANT", Value::num(3500)); });
  walker->Commit();
  held->Commit();
  EXPECT_EQ(f.schema().scalar("SELECT negocio || rtrim(codigo) || ' ' || cant FROM rooms WHERE _recno = 300"),
            "011300 3000");
  EXPECT_EQ(f.schema().scalar("SELECT negocio || rtrim(codigo) || ' ' || cant FROM rooms WHERE _recno = 350"),
            "011350 3500");
  EXPECT_EQ(f.schema().scalar("SELECT count(*) FROM rooms WHERE negocio = '01' AND cant > 0"), "400");
}

TEST(ServerRoundTrips, ASeekForwardAmongTheRowsReadAheadIsAnsweredAtOnce) {
  ServerFolder f;
  auto t = f.rooms(50);
  f.client().ADSCACHERECORDS(t->Area, 20);
  ASSERT_TRUE(t->Seek("011005"));
  long trips = tripsOf(f, [&] {
    EXPECT_TRUE(t->Seek("011012"));
    EXPECT_EQ(t->N("CANT"), 12);
    EXPECT_FALSE(t->Seek("011012X"));  // a miss among them: end of file, as the engine
    EXPECT_TRUE(t->Eof());
  });
  EXPECT_EQ(trips, 0);
  EXPECT_TRUE(t->Seek("011049"));  // beyond what was read: the server answers
  EXPECT_EQ(t->N("CANT"), 49);
  // A walk one past a date's rows, then a seek of the next: the record reached is the one.
  ASSERT_TRUE(t->Seek("011020"));
  t->Skip();
  trips = tripsOf(f, [&] { EXPECT_TRUE(t->Seek("011021")); });
  EXPECT_EQ(trips, 0);
  EXPECT_EQ(t->N("CANT"), 21);
}

TEST(ServerRoundTrips, AModifyAfterGoToIsOneRoundTripAndItsWriteArrives) {
  ServerFolder f;
  auto t = f.rooms(10);
  t->GoTop();
  long trips = tripsOf(f, [&] {
    t->GoTo(7);
    MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(t->N("CANT") + 100)); });
  });
  EXPECT_EQ(trips, 1);  // the lock, with the record read after it
  t->Commit();          // waits for the write and the release sent
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 7"), "107");
  // Released: another table object (a workstation of its own) takes the lock at once.
  auto other = USE(nullptr, "ROOMS");
  other->GoTo(7);
  EXPECT_TRUE(other->RLock());
  EXPECT_EQ(other->N("CANT"), 107);
}

TEST(ServerRoundTrips, RecordsChangedTogetherAreLockedInOneRoundTripAndWrittenAsOneBatch) {
  ServerFolder f;
  auto t = f.rooms(300);
  std::vector<uint32_t> recnos;
  for (uint32_t n = 1; n <= 300; ++n) recnos.push_back(n);
  // Another workstation changed record 150 after this one read it: the lock reads it again.
  t->GoTo(150);
  EXPECT_EQ(t->N("CANT"), 150);
  f.schema().scalar("WITH u AS (UPDATE rooms SET cant = 5000 WHERE _recno = 150 RETURNING cant) SELECT cant FROM u");
  long statements = session(f).statements();
  long trips = tripsOf(f, [&] { MODIFY_EACH(*t, recnos, [&] { t->FieldPut("CANT", Value::num(t->N("CANT") + 1)); }); });
  EXPECT_EQ(trips, 2);  // the 300 locks in two requests, each with its records read after them
  t->Commit();
  // For each request the locks and the reads, the rows as one statement, the releases as one.
  EXPECT_EQ(session(f).statements() - statements, 8);
  EXPECT_EQ(f.schema().scalar("SELECT sum(cant) FROM rooms"), std::to_string(300 * 301 / 2 + 300 + 4850));
  auto other = USE(nullptr, "ROOMS");
  other->GoTo(150);
  EXPECT_TRUE(other->RLock());
  EXPECT_EQ(other->N("CANT"), 5001);
  other->Unlock();
  // Assigned what it held, a record is not written again.
  statements = session(f).statements();
  t->GoTo(7);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(t->N("CANT"))); });
  t->Commit();
  EXPECT_EQ(session(f).statements() - statements, 3);  // the lock and its read, the release
  statements = session(f).statements();
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(70)); });
  t->Commit();
  EXPECT_EQ(session(f).statements() - statements, 4);  // and the write, this time
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 7"), "70");
}

TEST(ServerRoundTrips, RecordsAddedTogetherTakeTheirNumbersInOneRoundTrip) {
  ServerFolder f;
  auto t = f.rooms(10);
  long statements = session(f).statements();
  long trips = tripsOf(f, [&] {
    ADD_EACH(*t, 200, [&](size_t i) {
      t->FieldPut("NEGOCIO", Value::chars("02"));
      t->FieldPut("CODIGO", Value::chars(std::to_string(i)));
    });
  });
  EXPECT_EQ(trips, 1);  // the 200 numbers with their locks
  t->Commit();
  // The numbers, the rows as one statement, the releases as one.
  EXPECT_EQ(session(f).statements() - statements, 3);
  EXPECT_EQ(f.schema().scalar("SELECT count(*) FROM rooms WHERE negocio = '02'"), "200");
  EXPECT_EQ(f.schema().scalar("SELECT rtrim(codigo) FROM rooms WHERE _recno = 111"), "100");
  EXPECT_EQ(t->RecCount(), 210u);
  auto other = USE(nullptr, "ROOMS");
  other->GoTo(210);
  EXPECT_TRUE(other->RLock());  // let go
  EXPECT_EQ(other->S("CODIGO"), "199");
  other->Unlock();
  // A fill that fails lets go of every number taken; those not filled read as deleted.
  EXPECT_THROW(ADD_EACH(*t, 5,
                        [&](size_t i) {
                          if (i == 2) throw std::runtime_error("falla");
                          t->FieldPut("NEGOCIO", Value::chars("03"));
                        }),
               std::runtime_error);
  t->Commit();
  for (uint32_t n = 211; n <= 215; ++n) {
    other->GoTo(n);
    EXPECT_TRUE(other->RLock()) << n;
    EXPECT_EQ(other->Deleted(), n > 213) << n;
    other->Unlock();
  }
}

TEST(ServerRoundTrips, AppendsUnderTheFileLockGoAsOneBatchWhenItIsReleased) {
  ServerFolder f;
  auto t = f.rooms(1);
  ASSERT_TRUE(t->FLock());
  long trips = tripsOf(f, [&] {
    for (int i = 0; i < 1200; ++i) {
      ASSERT_TRUE(t->Append());
      t->FieldPut("NEGOCIO", Value::chars("02"));
      t->FieldPut("CODIGO", Value::chars(std::to_string(i)));
    }
  });
  EXPECT_LE(trips, 1);  // the record count, once
  // While the table is held the server has whole batches of it only; then all of it.
  session(f).sync();  // what was sent so far has arrived
  int onServer = std::stoi(f.schema().scalar("SELECT count(*) FROM rooms"));
  EXPECT_LT(onServer, 1201);
  EXPECT_EQ((onServer - 1) % int(server::ServerTable::kBatchRows), 0) << onServer;
  EXPECT_EQ(t->RecCount(), 1201u);
  t->GoTo(600);
  EXPECT_EQ(t->S("CODIGO"), "598");  // its own records, read back before they are sent
  t->Unlock();
  t->Commit();
  EXPECT_EQ(f.schema().scalar("SELECT count(*) FROM rooms"), "1201");
  EXPECT_EQ(f.schema().scalar("SELECT last_value FROM rooms__recno"), "1201");
  t->SetOrder("ROOMS");
  EXPECT_TRUE(t->Seek("02599"));
  EXPECT_EQ(t->RecNo(), 601u);
}

TEST(ServerRoundTrips, AProcessKilledWhileHoldingTheTableLeavesNoneOfItsBatch) {
  ServerFolder f;
  auto t = f.rooms(3);
  std::string conninfo = f.schema().conninfo(), home = f.folder().path();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t pid = fork();
  if (pid == 0) {
    resetGlobals().PATH = home + "/";
    testing_support::useServer(conninfo);
    auto mine = USE(nullptr, "ROOMS", "ROOMS");
    if (!mine->FLock()) _exit(2);
    for (int i = 0; i < 400; ++i) {
      mine->Append();
      mine->FieldPut("NEGOCIO", Value::chars("09"));
    }
    char c = 'H';
    (void)!write(ready[1], &c, 1);
    pause();  // killed here, holding the table and its unsent records
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_EQ(f.schema().scalar("SELECT count(*) FROM rooms"), "3");
  // Its file lock went with its session: this workstation takes it and appends after.
  f.folder().clock().advance(1);
  bool locked = false;
  for (int i = 0; i < 100 && !locked; ++i) {
    locked = t->FLock();
    if (!locked) usleep(20000);  // the server notices the dead session in a moment
  }
  ASSERT_TRUE(locked);
  ASSERT_TRUE(t->Append());
  EXPECT_EQ(t->RecNo(), 4u);
  t->Unlock();
}
