// "Información ADS Connections" (menu 6361, dialog ADS_INFO): the sessions the database
// server has open on this database — the server's user, the workstation's address, since
// when, what it is doing — and, for the session chosen, the tables it has open (shared or
// alone) and how many of their records it holds locked, all as PostgreSQL's own views
// (pg_stat_activity, pg_locks) tell it. With the table files there is no server: the menu
// entry says so as "ADS Config." does.
#pragma once

#include <string>
#include <vector>

#include "screens/screen.h"

namespace app {

struct ServerTableUse {
  std::string table;
  bool exclusive = false;
  int lockedRecords = 0;
  bool fileLocked = false;
};

struct ServerSession {
  int pid = 0;
  std::string user, workstation, application, since, state;
  std::vector<ServerTableUse> tables;
};

struct ServerConnections {
  std::string version;
  std::vector<ServerSession> sessions;
};

// Asks the server at `conninfo` (a management connection of its own, closed afterwards and
// not listed); throws xbase::Error when it does not answer.
ServerConnections SESIONES_SERVIDOR(const std::string& conninfo);

class ADSINFO : public screens::SCREEN {
 public:
  ADSINFO(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void ACTUALIZAR();
  const ServerConnections& shown() const { return info_; }

 private:
  void showTables();
  ServerConnections info_;
};

void registerServerInfo();

}  // namespace app
