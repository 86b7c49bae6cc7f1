// The record protocol: locking with retries in virtual time, appending, releasing,
// copying records, and transactions on the local driver.
#include <gtest/gtest.h>

#include "lib/errors.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"

using namespace lib;
using testing_support::ProgramFolder;

namespace {

struct Rooms {
  ProgramFolder p;
  std::unique_ptr<WDBTable> t;
  Rooms() {
    p.table("ROOMS.DBF", {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"CANT", 'N', 4}}, {"ROOMS: NEGOCIO+CODIGO"});
    t = USE(nullptr, "ROOMS", "ROOMS");
    for (auto c : {"101", "102"})
      ADD(*t, [&] {
        t->FieldPut("NEGOCIO", Value::chars("01"));
        t->FieldPut("CODIGO", Value::chars(c));
      });
  }
};

}  // namespace

TEST(RecordProtocol, ARecordLockedForSevenSecondsIsReportedOnlyAfterFive) {
  Rooms r;
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"));  // another workstation
  ASSERT_TRUE(other->lockRecord(1));
  r.p.clock().at(r.p.clock().ticks() + 7000, [&] { other->unlockAll(); });
  r.t->GoTo(1);
  SELECT(r.t->Area);
  LOCK_FOR_MODIFY(r.t.get());
  ASSERT_EQ(r.p.messages().shown.size(), 19u);
  EXPECT_EQ(r.p.messages().shown.back().text, "El dato se encuentra bloqueado: " + r.t->Alias);
  EXPECT_EQ(r.p.messages().shown.back().title, "Alerta");
  EXPECT_EQ(G().XRETRIES[1], 70);
  r.t->FieldPut("CANT", Value::num(7));
  UNLOCK_FOR_MODIFY(r.t.get());
  // The release wrote the record and freed it.
  EXPECT_TRUE(other->lockRecord(1));
  EXPECT_EQ(other->getNumber("CANT"), 7);
}

// A workstation that keeps the record for good: the user gives up at the first message and
// the wait ends in a run-time error naming the table, which may be tried again later.
TEST(RecordProtocol, GivingUpOnARecordHeldElsewhereIsARunTimeErrorNamingTheTable) {
  Rooms r;
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"));
  ASSERT_TRUE(other->lockRecord(2));
  r.p.messages().answers = {IDRETRY, IDCANCEL};
  r.t->GoTo(2);
  SELECT(r.t->Area);
  try {
    LOCK_FOR_MODIFY(r.t.get());
    FAIL() << "the lock was taken";
  } catch (const xbase::Error& e) {
    EXPECT_EQ(e.genCode(), xbase::EG_LOCK);
    EXPECT_TRUE(e.canRetry());
    EXPECT_NE(e.fileName().find("ROOMS.DBF"), std::string::npos);
    EXPECT_EQ(e.description(), "El dato se encuentra bloqueado: " + r.t->Alias);
  }
  ASSERT_EQ(r.p.messages().shown.size(), 2u);  // asked twice: once retried, once given up
  EXPECT_EQ(r.p.messages().shown[0].flags & 0xF, MB_RETRYCANCEL);
  EXPECT_FALSE(r.t->driver().isLocked(2));
}

TEST(RecordProtocol, SkipLeavesTheRecordUnlockedAndTheCallsActOnTheSelectedArea) {
  Rooms r;
  r.t->GoTo(2);
  SELECT(r.t->Area);
  LOCK_FOR_MODIFY(r.t.get(), true);
  EXPECT_THROW(r.t->FieldPut("CANT", Value::num(1)), RuntimeError);  // not locked
  auto second = USE(nullptr, "ROOMS");
  second->GoTo(1);
  SELECT(r.t->Area);  // the table argument is not used: the selected area is
  LOCK_FOR_MODIFY(second.get());
  EXPECT_TRUE(r.t->driver().isLocked(2));
  EXPECT_FALSE(second->driver().isLocked(1));
  UNLOCK_FOR_MODIFY(nullptr);
  EXPECT_FALSE(r.t->driver().isLocked(2));
}

TEST(RecordProtocol, AChangeThatSelectsAnotherTableStillReleasesItsOwnRecord) {
  Rooms r;
  auto second = USE(nullptr, "ROOMS");
  second->GoTo(1);
  r.t->GoTo(2);
  MODIFY(*r.t, [&] {
    r.t->FieldPut("CANT", Value::num(9));
    SELECT(second->Area);  // as a lookup in another table leaves it
  });
  EXPECT_FALSE(r.t->driver().isLocked(2));
  EXPECT_FALSE(second->driver().isLocked(1));
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"), {true, true});
  other->goTo(2);
  EXPECT_EQ(other->getNumber("CANT"), 9);
  ADD(*r.t, [&] {
    r.t->FieldPut("CODIGO", Value::chars("104"));
    SELECT(second->Area);
  });
  EXPECT_FALSE(r.t->driver().isLocked(r.t->RecNo()));
}

TEST(RecordProtocol, RecordsChangedTogetherWaitForOneHeldElsewhereAndEachChangesOnce) {
  Rooms r;
  for (int i = 3; i <= 10; ++i)
    ADD(*r.t, [&] {
      r.t->FieldPut("NEGOCIO", Value::chars("01"));
      r.t->FieldPut("CODIGO", Value::chars(std::to_string(100 + i)));
    });
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"));  // another workstation
  ASSERT_TRUE(other->lockRecord(4));
  r.p.clock().at(r.p.clock().ticks() + 2000, [&] { other->unlockAll(); });
  std::vector<uint32_t> recnos{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<uint32_t> seen;
  MODIFY_EACH(*r.t, recnos, [&] {
    seen.push_back(r.t->RecNo());
    r.t->FieldPut("CANT", Value::num(r.t->N("CANT") + r.t->RecNo()));
  });
  EXPECT_EQ(seen, recnos);
  EXPECT_TRUE(r.p.messages().shown.empty());  // two seconds: no message yet
  for (uint32_t n : recnos) {
    other->goTo(n);
    EXPECT_TRUE(other->lockRecord(n)) << n;  // every lock let go
    EXPECT_EQ(other->getNumber("CANT"), n) << n;
  }
  other->unlockAll();
  // A change that fails half-way lets go of the whole group.
  int calls = 0;
  EXPECT_THROW(MODIFY_EACH(*r.t, recnos,
                           [&] {
                             if (++calls == 3) throw std::runtime_error("falla");
                             r.t->FieldPut("CANT", Value::num(0));
                           }),
               std::runtime_error);
  for (uint32_t n : recnos) EXPECT_TRUE(other->lockRecord(n)) << n;
  other->goTo(2);
  EXPECT_EQ(other->getNumber("CANT"), 0);
  other->goTo(3);
  EXPECT_EQ(other->getNumber("CANT"), 3);
}

TEST(RecordProtocol, AppendsWaitForTheHeaderAndNewRecordsComeLocked) {
  Rooms r;
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"));
  ASSERT_TRUE(other->lockAppend());
  r.p.clock().at(r.p.clock().ticks() + 1000, [&] { other->unlockAppend(); });
  SELECT(r.t->Area);
  ADD_NEW_REC(r.t.get());
  EXPECT_EQ(r.t->RecNo(), 3u);
  EXPECT_TRUE(r.p.messages().shown.empty());
  EXPECT_EQ(G().XRETRIES[1], 10);
  r.t->FieldPut("CODIGO", Value::chars("103"));
  UNLOCK_NEW_REC(r.t.get());
  EXPECT_TRUE(other->lockRecord(3));  // released
  other->unlockAll();

  // No-wait appends retry without waiting and without messages.
  ASSERT_TRUE(other->lockAppend());
  int64_t before = r.p.clock().ticks();
  other->unlockAppend();
  ADD_NEW_REC(r.t.get(), true);
  EXPECT_EQ(r.p.clock().ticks(), before);
  UNLOCK_NEW(r.t.get());
}

TEST(RecordProtocol, CopyRecordDuplicatesBetweenAppendAndRelease) {
  Rooms r;
  r.t->GoTo(1);
  SELECT(r.t->Area);
  std::vector<Value> values(size_t(r.t->FCount()));
  COPY_REC1(values);
  ADD_NEW_REC(r.t.get());
  COPY_REC2(values);
  r.t->FieldPut("CODIGO", Value::chars("101-COPIA"));
  UNLOCK_NEW_REC(r.t.get());
  EXPECT_EQ(r.t->RecCount(), 3u);
  EXPECT_EQ(r.t->S("NEGOCIO"), "01");
}

TEST(Transactions, OnTheLocalDriverStartAndEndDoNothing) {
  Rooms r;
  Globals& g = G();
  g.XADSPARAMS[1] = "1";
  START_TRANSACTION(2, 45);
  EXPECT_EQ(g.XADSTRANS, 0);
  r.t->GoTo(1);
  MODIFY(*r.t, [&] { r.t->FieldPut("CANT", Value::num(5)); });
  auto other = xbase::DbfTable::open(r.p.bases("ROOMS.DBF"), {true, true});
  EXPECT_EQ(other->getNumber("CANT"), 5);  // already written
  END_TRANSACTION();
  ROLLBACK_TRANSACTION();
  EXPECT_EQ(g.XADSTRANS, 0);
  EXPECT_EQ(other->getNumber("CANT"), 5);
}

TEST(Transactions, WhichTransactionsOpenOnTheServer) {
  // A fake server that only counts what it is asked.
  struct Counting : server::NoServer {
    int begun = 0;
    bool ADSBEGINTRANSACTION() override { return ++begun, true; }
  };
  ProgramFolder p;
  Globals& g = G();
  auto* s = new Counting;
  g.server.reset(s);
  g.DEF_RDD = "ADSCDX";
  START_TRANSACTION(2, 45);  // line 2 is not "1" and position 45 of line 26 is "0"
  EXPECT_EQ(g.XADSTRANS, 0);
  g.XADS_TS[44] = '1';
  START_TRANSACTION(1, 45);
  EXPECT_EQ(g.XADSTRANS, 1);
  EXPECT_EQ(g.XTRANS_TIPO, 1);
  EXPECT_EQ(s->begun, 1);
  g.XADSTRANS = 0;
  g.XADSPARAMS[3] = "1";  // line 4 makes every transaction kind 2
  START_TRANSACTION(1, 45);
  EXPECT_EQ(g.XTRANS_TIPO, 2);
  g.XADSTRANS = 0;
  g.XADS_TS[44] = '0';
  START_TRANSACTION();  // no id: only line 2 decides
  EXPECT_EQ(g.XADSTRANS, 0);
  g.XADSPARAMS[1] = "1";
  START_TRANSACTION();
  EXPECT_EQ(g.XADSTRANS, 1);
  EXPECT_FALSE(g.XTRANS_ID.has_value());
  g.XADSTRANS = 0;
}
