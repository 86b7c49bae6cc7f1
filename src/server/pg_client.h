// The server client on PostgreSQL: the operations of ServerClient over one Session.
//
// ADS.DEF line 1 is the libpq connection string (URI or key=value form). What each call
// does here:
//   ADSISSERVERLOADED(conn)   PQping: true when a server accepts connections there
//   ADSGETLASTERROR           the ServerError number (session.h) of the last failure, 0 after
//                             a success
//   ADSCONNECT60(path, ...)   opens the program's connection (to `path`, or to the string
//                             given to ADSISSERVERLOADED, or ADS.DEF line 1); the user and
//                             password of the call replace the string's only when they are
//                             not the administrative ADSSYS and empty password
//   ADSMGCONNECT/...DISCONNECT a second, short connection for the installation information
//   ADSMGGETINSTALLINFO       "key=value" entries, in this order: server_version,
//                             database, sessions (open sessions of this database),
//                             max_connections, server_started, host, port, user, encoding,
//                             database_size
//   ADSGETSERVERTIME          the server's date (Julian) and time of day in milliseconds,
//                             in the server's time zone, from its clock (not the
//                             transaction's start)
//   ADSBEGINTRANSACTION / ADSCOMMITTRANSACTION / ADSROLLBACK  the SQL transaction of the
//                             session (see Session)
//   ADSUNLOCKRECORD(area, n)  releases record n of the table in that work area (held until
//                             the end inside a transaction)
//   ADSCACHERECORDS(area, n)  rows fetched per round trip when that table reads forward
//                             (at least 1)
//   ADSSETFILETYPE, ADSSETCHARTYPE, ADSRIGHTSCHECK, ADSLOCKING, ADSCACHEOPENTABLES
//                             accepted and written down (settings()); PostgreSQL needs none.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "server/server_client.h"
#include "server/session.h"

namespace server {

class PgClient : public ServerClient {
 public:
  // `conninfo` may be empty: it is then taken from the first call that names one, or from
  // ADS.DEF line 1 (XADSPARAMS).
  explicit PgClient(std::string conninfo = "");
  ~PgClient() override;

  bool ADSISSERVERLOADED(const std::string& path) override;
  long ADSGETLASTERROR() override;
  bool ADSCONNECT60(const std::string& path, int serverTypes, const std::string& user,
                    const std::string& password) override;
  bool ADSMGCONNECT(const std::string& path) override;
  std::vector<std::string> ADSMGGETINSTALLINFO() override;
  void ADSMGDISCONNECT() override;
  void ADSSETFILETYPE(const std::string& type) override;
  void ADSSETCHARTYPE(const std::string& type) override;
  void ADSRIGHTSCHECK(bool on) override;
  void ADSLOCKING(bool compatible) override;
  void ADSCACHEOPENTABLES(int count) override;
  bool connected() const override;
  void ADSCACHERECORDS(int area, int records) override;
  bool ADSBEGINTRANSACTION() override;
  bool ADSCOMMITTRANSACTION() override;
  bool ADSROLLBACK() override;
  bool ADSUNLOCKRECORD(int area, uint32_t recno) override;
  std::optional<ServerTime> ADSGETSERVERTIME() override;

  // The session every "ADSCDX" table of this process uses; connects when needed and throws
  // xbase::Error (SE_NOT_CONNECTED) when it cannot.
  std::shared_ptr<Session> session();
  // The settings calls received, in order ("FILETYPE CDX", "CHARTYPE OEM", ...).
  const std::vector<std::string>& settings() const { return settings_; }

 private:
  std::string conninfoFor(const std::string& path);

  std::string conninfo_;
  std::shared_ptr<Session> session_;
  long lastError_ = SE_NONE;
  PGconn* management_ = nullptr;
  std::vector<std::string> settings_;
};

// The PgClient of the process state (G().server), or nullptr when another client is there.
PgClient* pgClient();

}  // namespace server
