// "Información ADS Connections" as the server tells it: this workstation's session with the
// tables it has open, whether alone or shared, and the records it holds locked.
#include <gtest/gtest.h>

#include "app/adsinfo.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "server/server_fixture.h"

using testing_support::ServerFolder;

TEST(ServerConnections, TheSessionShowsItsOpenTablesAndItsLocks) {
  ServerFolder f;
  f.table("ROOMS.DBF", {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}}, {"ROOMS: NEGOCIO+CODIGO"});
  f.table("SERIALES.DBF", {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 4}});
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS");
  for (const char* code : {"101", "102"}) lib::ADD(*rooms, [&] { rooms->FieldPut("CODIGO", lib::Value::chars(code)); });
  rooms->GoTo(2);
  ASSERT_TRUE(rooms->RLock());
  auto alone = lib::USE(nullptr, "SERIALES", "", false);  // opened exclusively
  const int ours = int(std::stol(f.client().session()->exec("SELECT pg_backend_pid()").text(0, 0)));

  app::ServerConnections info = app::SESIONES_SERVIDOR(f.schema().conninfo());
  EXPECT_FALSE(info.version.empty());
  const app::ServerSession* mine = nullptr;
  for (const app::ServerSession& s : info.sessions)
    if (s.pid == ours) mine = &s;
  ASSERT_NE(mine, nullptr) << info.sessions.size() << " sesiones";
  EXPECT_FALSE(mine->user.empty());
  EXPECT_FALSE(mine->since.empty());
  ASSERT_EQ(mine->tables.size(), 2u);
  EXPECT_EQ(mine->tables[0].table, "ROOMS");
  EXPECT_FALSE(mine->tables[0].exclusive);
  EXPECT_EQ(mine->tables[0].lockedRecords, 1);
  EXPECT_EQ(mine->tables[1].table, "SERIALES");
  EXPECT_TRUE(mine->tables[1].exclusive);
  EXPECT_EQ(mine->tables[1].lockedRecords, 0);

  rooms->Unlock();
  lib::KILLTABLA(alone);
  info = app::SESIONES_SERVIDOR(f.schema().conninfo());
  for (const app::ServerSession& s : info.sessions)
    if (s.pid == ours) {
      ASSERT_EQ(s.tables.size(), 1u);
      EXPECT_EQ(s.tables[0].lockedRecords, 0);
    }
}
