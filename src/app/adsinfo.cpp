#include "app/adsinfo.h"

#include <map>

#include "app/screens.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/text.h"
#include "server/session.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "xbase/error.h"

namespace app {

namespace {

constexpr int kSummary = 501, kSessions = 701, kTables = 702, kRefresh = 101;

// Our tables' advisory locks (server/session.h): a bigint key shows as classid (its kind) and
// objid (the table's oid) with objsubid 1; a record lock as classid (the table's oid) and
// objid (the record number) with objsubid 2.
const char* kSessionsSql =
    "SELECT a.pid, coalesce(a.usename, ''), coalesce(host(a.client_addr), a.client_hostname, 'local'), "
    "coalesce(a.application_name, ''), to_char(a.backend_start, 'DD/MM/YY HH24:MI:SS'), coalesce(a.state, '') "
    "FROM pg_stat_activity a WHERE a.datname = current_database() AND a.backend_type = 'client backend' "
    "  AND a.pid <> pg_backend_pid() "  // not this inquiry's own
    "ORDER BY a.backend_start, a.pid";
const char* kTablesSql =
    "SELECT l.pid, upper(c.relname), "
    "  bool_or(l.objsubid = 1 AND l.classid = $1 AND l.mode = 'ExclusiveLock'), "
    "  count(*) FILTER (WHERE l.objsubid = 2), "
    "  bool_or(l.objsubid = 1 AND l.classid = $2) "
    "FROM pg_locks l JOIN pg_class c ON c.oid = CASE WHEN l.objsubid = 1 THEN l.objid ELSE l.classid END "
    "JOIN pg_namespace n ON n.oid = c.relnamespace AND n.nspname = current_schema() "
    "WHERE l.locktype = 'advisory' AND l.granted AND l.database = (SELECT oid FROM pg_database "
    "  WHERE datname = current_database()) "
    "  AND (l.objsubid = 2 OR l.classid IN ($1, $2)) "
    "GROUP BY l.pid, c.relname ORDER BY l.pid, c.relname";

std::string sessionLine(const ServerSession& s) {
  std::string line = std::to_string(s.pid) + "  " + s.user + "  " + s.workstation;
  if (!s.application.empty()) line += "  (" + s.application + ")";
  line += "  desde " + s.since;
  if (!s.state.empty()) line += "  " + s.state;
  return line;
}

std::string tableLine(const ServerTableUse& t) {
  std::string line = t.table + (t.exclusive ? ": abierta en forma exclusiva" : ": abierta");
  if (t.fileLocked) line += ", tabla bloqueada";
  if (t.lockedRecords)
    line += ", " + std::to_string(t.lockedRecords) +
            (t.lockedRecords == 1 ? " registro bloqueado" : " registros bloqueados");
  return line;
}

}  // namespace

ServerConnections SESIONES_SERVIDOR(const std::string& conninfo) {
  server::Session s(conninfo);
  if (!s.connect())
    throw xbase::Error(xbase::EG_OPEN, int(s.lastError()), s.lastMessage(), "ADS.DEF").setSubsystem("ADSCDX");
  ServerConnections info;
  info.version = s.serverVersion();
  std::map<int, size_t> byPid;
  server::Result sessions = s.execOnce(kSessionsSql);
  for (int row = 0; row < sessions.rows(); ++row) {
    ServerSession one;
    one.pid = int(sessions.integer(row, 0));
    one.user = sessions.text(row, 1);
    one.workstation = sessions.text(row, 2);
    one.application = sessions.text(row, 3);
    one.since = sessions.text(row, 4);
    one.state = sessions.text(row, 5);
    byPid[one.pid] = info.sessions.size();
    info.sessions.push_back(one);
  }
  server::Result tables = s.execOnce(kTablesSql, {server::Param::text(std::to_string(server::kOpenKind)),
                                                  server::Param::text(std::to_string(server::kFileLockKind))});
  for (int row = 0; row < tables.rows(); ++row) {
    auto it = byPid.find(int(tables.integer(row, 0)));
    if (it == byPid.end()) continue;
    ServerTableUse use;
    use.table = tables.text(row, 1);
    use.exclusive = tables.logical(row, 2);
    use.lockedRecords = int(tables.integer(row, 3));
    use.fileLocked = tables.logical(row, 4);
    info.sessions[it->second].tables.push_back(use);
  }
  return info;
}

ADSINFO::ADSINFO(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}

void ADSINFO::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::CLISTBOX>(this, kSessions), [this](win::WDIAG&, win::WCONTROL&, int) {
    showTables();
    return 1;
  });
  ADD(std::make_unique<win::CLISTBOX>(this, kTables));
  ADD_BUTTON(kRefresh, [this] { ACTUALIZAR(); });
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  ACTUALIZAR();
}

void ADSINFO::ACTUALIZAR() {
  CALL_LEVEL_AS(routine("ACTUALIZAR"));
  info_ = SESIONES_SERVIDOR(lib::G().XADSDIRECTORY);
  win::CLISTBOX sessions(this, kSessions);
  sessions.Clear();
  for (const ServerSession& s : info_.sessions) sessions.Add(sessionLine(s), std::to_string(s.pid));
  const size_t n = info_.sessions.size();
  SetDlgItemText(kSummary, "Servidor: " + info_.version + "    " + std::to_string(n) +
                               (n == 1 ? " sesión en esta base de datos" : " sesiones en esta base de datos"));
  if (n) sessions.SetCurItem(1);
  showTables();
}

void ADSINFO::showTables() {
  win::CLISTBOX tables(this, kTables);
  tables.Clear();
  const int chosen = win::CLISTBOX(this, kSessions).CurItem();
  if (chosen < 1 || size_t(chosen) > info_.sessions.size()) return;
  const ServerSession& s = info_.sessions[size_t(chosen) - 1];
  for (const ServerTableUse& t : s.tables) tables.Add(tableLine(t), t.table);
  if (s.tables.empty()) tables.Add("(ninguna tabla abierta)");
}

void registerServerInfo() {
  registerScreen("ADSINFO", [](const ScreenRequest& r) {
    const lib::Globals& g = lib::G();
    if (g.DEF_RDD != "ADSCDX" || !g.server || !g.server->connected()) {
      win::MESSAGE_BOX(nullptr, "Servidor Advantage no disponible...", "Versión Advantage Database Server",
                       lib::MB_OK | lib::MB_ICONINFORMATION);
      return;
    }
    screens::OPEN<ADSINFO>(r.entry.dialogName(), r.business);
  });
}

}  // namespace app
