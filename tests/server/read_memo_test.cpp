// Long reads answered from what the connection kept: a walk over a table nobody changed asks
// the server only for the table's mark, and every change the server has committed is seen
// as a fresh read would see it: another workstation's, this workstation's own through
// another handle, one committed by a transaction that was under way while the answer was
// read, and none of one rolled back. Tables made before the mark existed are read as always.
#include <gtest/gtest.h>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "server/read_memo.h"
#include "server/server_fixture.h"
#include "server/table_schema.h"

using namespace lib;
using testing_support::ServerFolder;

namespace {

server::Session& session(ServerFolder& f) {
  return *f.client().session();
}

// One walk of `t` in its order: the sum of CANT and the rows seen.
struct Walk {
  long sum = 0;
  int rows = 0;
  long trips = 0, statements = 0;
};

// The first walk of a handle learns which fields it looks at, and the walks after it ask
// the same: tests start with one.
Walk walk(ServerFolder& f, WDBTable& t) {
  Walk w;
  long trips = session(f).roundTrips(), statements = session(f).statements();
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    w.sum += long(t.N("CANT"));
    ++w.rows;
  }
  w.trips = session(f).roundTrips() - trips;
  w.statements = session(f).statements() - statements;
  return w;
}

// Walks until a walk is answered wholly from what was kept (none is kept while another
// test on the same server has a change under way).
Walk settled(ServerFolder& f, WDBTable& t) {
  for (int i = 0; i < 200; ++i) {
    long uses = session(f).memo().uses();
    Walk w = walk(f, t);
    if (session(f).memo().uses() - uses == w.statements) return w;
  }
  ADD_FAILURE() << "no walk was answered from what was kept";
  return {};
}

constexpr long kRoomsSum = 1500L * 1501L / 2;

}  // namespace

TEST(ReadMemo, AWalkOverAnUnchangedTableAsksOnlyForItsMark) {
  ServerFolder f;
  auto t = f.rooms(1500);
  f.client().ADSCACHERECORDS(t->Area, 100);
  Walk first = walk(f, *t);
  Walk kept = settled(f, *t);
  // A change made behind the mark's back (its trigger off) shows which walks were answered
  // from what was kept.
  f.schema().scalar("ALTER TABLE rooms DISABLE TRIGGER xb_mark");
  f.schema().scalar("UPDATE rooms SET cant = 0");
  f.schema().scalar("ALTER TABLE rooms ENABLE TRIGGER xb_mark");
  long uses = session(f).memo().uses();
  Walk again = walk(f, *t);
  EXPECT_EQ(first.rows, 1500);
  EXPECT_EQ(first.sum, kRoomsSum);
  EXPECT_EQ(kept.sum, kRoomsSum);
  EXPECT_EQ(again.rows, 1500);
  EXPECT_EQ(again.sum, kRoomsSum);
  // Every read answered by a read of the mark, some of them while the walk went on.
  EXPECT_EQ(session(f).memo().uses() - uses, again.statements);
  EXPECT_LE(again.trips, kept.trips);
  // The mark moved: the walk reads the table again.
  f.schema().scalar("UPDATE rooms SET cant = 1 WHERE _recno = 1");
  uses = session(f).memo().uses();
  EXPECT_EQ(walk(f, *t).sum, 1);
  EXPECT_EQ(session(f).memo().uses(), uses);
}

TEST(ReadMemo, EveryCommittedChangeIsSeenByTheNextWalk) {
  ServerFolder f;
  auto t = f.rooms(1500);
  walk(f, *t);
  ASSERT_EQ(settled(f, *t).sum, kRoomsSum);
  // Another workstation.
  f.schema().scalar("UPDATE rooms SET cant = cant + 1000 WHERE _recno = 700");
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum + 1000);
  // This workstation, through another handle, under the record protocol.
  auto writer = USE(nullptr, "ROOMS", "ROOMS");
  writer->GoTo(10);
  MODIFY(*writer, [&] { writer->FieldPut("CANT", Value::num(writer->N("CANT") + 5)); });
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum + 1005);
  // A record appended and one deleted elsewhere.
  f.schema().scalar(
      "INSERT INTO rooms (_recno, _deleted, negocio, codigo, cant, _k_rooms) "
      "VALUES (nextval('rooms__recno'), false, '01', '2000', 7, convert_to(rpad('012000', 17), 'LATIN1'))");
  f.schema().scalar("UPDATE rooms SET _deleted = true WHERE _recno = 1");
  Walk w = walk(f, *t);
  EXPECT_EQ(w.rows, 1500);
  EXPECT_EQ(w.sum, kRoomsSum + 1005 + 7 - 1);
}

// The answer read while another workstation's change was under way is not kept: the change
// committed afterwards, without moving the mark again, is seen.
TEST(ReadMemo, AnAnswerReadWhileAChangeWasUnderWayIsNotKept) {
  ServerFolder f;
  auto t = f.rooms(1500);
  walk(f, *t);
  settled(f, *t);
  server::Session other(f.schema().conninfo());
  ASSERT_TRUE(other.connect());
  other.begin();
  other.execOnce("UPDATE rooms SET cant = cant + 50 WHERE _recno = 20");
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum);  // the change is not committed yet
  other.commit();
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum + 50);
}

TEST(ReadMemo, AChangeRolledBackIsNotSeenAndNoneOfItIsKept) {
  ServerFolder f;
  auto t = f.rooms(1500);
  walk(f, *t);
  ASSERT_EQ(settled(f, *t).sum, kRoomsSum);
  session(f).begin();
  t->GoTo(30);
  MODIFY(*t, [&] { t->FieldPut("CANT", Value::num(0)); });
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum - 30);  // its own change, inside the transaction
  t->Commit();
  session(f).rollback();
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum);
  EXPECT_EQ(walk(f, *t).sum, kRoomsSum);
}

// Until it is given its mark (dbfutil marks), and then it is read as any other.
TEST(ReadMemo, ATableMadeBeforeMarksIsReadFromTheServerEveryTime) {
  ServerFolder f;
  f.rooms(1500);
  f.table("EMPTY.DBF", {{"CODIGO", 'C', 4}});
  f.schema().scalar("DROP TRIGGER xb_mark ON rooms");
  f.schema().scalar("DROP SEQUENCE rooms__mark");
  session(f).forgetTable("BASES/ROOMS");
  auto t = USE(nullptr, "ROOMS", "ROOMS");
  Walk first = walk(f, *t);
  f.schema().scalar("UPDATE rooms SET cant = cant + 1 WHERE _recno = 1");
  Walk again = walk(f, *t);
  EXPECT_EQ(first.sum, kRoomsSum);
  EXPECT_EQ(again.sum, kRoomsSum + 1);
  EXPECT_EQ(session(f).memo().bytes(), 0u);
  EXPECT_EQ(server::addChangeMarks(session(f)), 1);
  EXPECT_EQ(server::addChangeMarks(session(f)), 0);
  auto marked = USE(nullptr, "ROOMS", "ROOMS");
  walk(f, *marked);
  EXPECT_EQ(settled(f, *marked).sum, kRoomsSum + 1);
  f.schema().scalar("UPDATE rooms SET cant = cant + 1 WHERE _recno = 1");
  EXPECT_EQ(walk(f, *marked).sum, kRoomsSum + 2);
}

// A workstation's user with only the rights the README names for work (the tables, the
// sequences read and used, the catalogue) changes tables, and so moves their marks.
TEST(ReadMemo, AUserWithOnlyTheRightsToWorkMovesTheMark) {
  ServerFolder f;
  f.rooms(10);
  const std::string role = f.schema().name() + "_w";
  struct Role {
    const testing_support::ServerSchema& schema;
    std::string name;
    ~Role() {
      schema.scalar("DROP OWNED BY " + name);
      schema.scalar("DROP ROLE " + name);
    }
  } guard{f.schema(), role};
  f.schema().scalar("CREATE ROLE " + role + " LOGIN");
  f.schema().scalar("GRANT USAGE ON SCHEMA " + f.schema().name() + " TO " + role);
  f.schema().scalar("GRANT SELECT ON xb_tables TO " + role);
  f.schema().scalar("GRANT SELECT, INSERT, UPDATE, DELETE ON rooms TO " + role);
  f.schema().scalar("GRANT SELECT, USAGE ON SEQUENCE rooms__recno, rooms__mark TO " + role);
  std::string before = f.schema().scalar("SELECT last_value FROM rooms__mark");
  server::Session worker(f.schema().conninfo() + " user=" + role);
  ASSERT_TRUE(worker.connect()) << worker.lastMessage();
  worker.exec("UPDATE rooms SET cant = 5 WHERE _recno = 1");
  worker.exec("SELECT last_value FROM rooms__mark");
  EXPECT_NE(f.schema().scalar("SELECT last_value FROM rooms__mark"), before);
  EXPECT_EQ(f.schema().scalar("SELECT cant FROM rooms WHERE _recno = 1"), "5");
}

// A folder's schema has its own trigger function even when its search path also names
// another folder's schema that has one: dropping that schema leaves its marks moving.
TEST(ReadMemo, EachSchemaHasItsOwnMarkTrigger) {
  testing_support::ServerSchema first, second;
  server::Session a(first.conninfo());
  ASSERT_TRUE(a.connect());
  server::ensureCatalogue(a);
  server::Session b(testing_support::testServer() + " options='-csearch_path=" + second.name() + "," + first.name() +
                    "'");
  ASSERT_TRUE(b.connect());
  server::ensureCatalogue(b);
  server::ensureCatalogue(b);  // once there, left as it is
  for (const auto* schema : {&first, &second})
    EXPECT_EQ(schema->scalar("SELECT count(*) FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
                             "WHERE p.proname = 'xb_mark' AND n.nspname = '" +
                             schema->name() + "'"),
              "1");
}

// What is kept stays within its bound, the oldest answers going first.
TEST(ReadMemo, KeepsAtMostItsBoundOfBytes) {
  server::ReadMemo memo;
  server::Session s(testing_support::testServer());
  ASSERT_TRUE(s.connect());
  // A third of the bound each.
  size_t third = server::ReadMemo::kMaxBytes / 3;
  server::Result rows = s.exec("SELECT repeat('x', 992) FROM generate_series(1, $1::integer)",
                               {server::Param::text(std::to_string(third / 1000))});
  size_t each = server::ReadMemo::bytesOf(rows);
  ASSERT_EQ(each, third / 1000 * 1000);
  memo.keep("a", {1, 5, 100, rows});
  memo.keep("b", {1, 5, 100, rows});
  memo.keep("c", {2, 5, 100, rows});
  EXPECT_EQ(memo.bytes(), 3 * each);
  memo.keep("d", {2, 5, 100, rows});  // "a" goes
  EXPECT_EQ(memo.find("a"), nullptr);
  ASSERT_NE(memo.find("d"), nullptr);
  EXPECT_EQ(memo.bytes(), 3 * each);
  memo.forgetTable(1);
  EXPECT_EQ(memo.find("b"), nullptr);
  ASSERT_NE(memo.find("c"), nullptr);
  EXPECT_EQ(memo.bytes(), 2 * each);
  for (int i = 0; i < 1000; ++i) memo.keep("c", {2, i, 100, rows});  // the same key again and again
  EXPECT_EQ(memo.find("c")->mark, 999);
  EXPECT_NE(memo.find("d"), nullptr);
  EXPECT_EQ(memo.bytes(), 2 * each);
}
