#include "server/pg_client.h"

#include "lib/globals.h"
#include "lib/param_file.h"
#include "lib/work_areas.h"
#include "server/server_table.h"
#include "xbase/error.h"

namespace server {

namespace {

ServerTable* serverTableOf(int area) {
  lib::WorkArea* a = lib::G().areas ? lib::G().areas->area(area) : nullptr;
  return a ? dynamic_cast<ServerTable*>(a->table.get()) : nullptr;
}

std::string withLogin(const std::string& conninfo, const std::string& user, const std::string& password) {
  // The administrative user of the call means "as the connection string says".
  if ((user.empty() || user == "ADSSYS") && password.empty()) return conninfo;
  std::string extra;
  auto quoted = [](const std::string& v) {
    std::string q = "'";
    for (char c : v) {
      if (c == '\'' || c == '\\') q += '\\';
      q += c;
    }
    return q + "'";
  };
  if (!user.empty() && user != "ADSSYS") extra += " user=" + quoted(user);
  if (!password.empty()) extra += " password=" + quoted(password);
  if (conninfo.rfind("postgres", 0) == 0) return conninfo;  // a URI carries its own login
  return conninfo + extra;
}

}  // namespace

PgClient::PgClient(std::string conninfo) : conninfo_(std::move(conninfo)) {}

PgClient::~PgClient() {
  if (management_) PQfinish(management_);
}

PgClient* pgClient() {
  return dynamic_cast<PgClient*>(lib::G().server.get());
}

std::string PgClient::conninfoFor(const std::string& path) {
  if (!path.empty()) return path;
  if (!conninfo_.empty()) return conninfo_;
  return lib::paramLine(lib::G().XADSPARAMS, 1);
}

bool PgClient::ADSISSERVERLOADED(const std::string& path) {
  std::string c = conninfoFor(path);
  if (conninfo_.empty()) conninfo_ = c;
  char* err = nullptr;
  PQconninfoOption* opts = PQconninfoParse(c.c_str(), &err);
  if (!opts) {
    if (err) PQfreemem(err);
    lastError_ = SE_BAD_CONNINFO;
    return false;
  }
  PQconninfoFree(opts);
  switch (PQping(c.c_str())) {
    case PQPING_OK:
      lastError_ = SE_NONE;
      return true;
    case PQPING_REJECT:
      lastError_ = SE_SERVER_REJECTS;
      return false;
    case PQPING_NO_ATTEMPT:
      lastError_ = SE_BAD_CONNINFO;
      return false;
    default:
      lastError_ = SE_NO_SERVER;
      return false;
  }
}

long PgClient::ADSGETLASTERROR() {
  if (session_ && session_->lastError() != SE_NONE) return session_->lastError();
  return lastError_;
}

bool PgClient::ADSCONNECT60(const std::string& path, int, const std::string& user, const std::string& password) {
  std::string c = withLogin(conninfoFor(path), user, password);
  if (!session_ || session_->conninfo() != c || !session_->connected()) session_ = std::make_shared<Session>(c);
  bool ok = session_->connect();
  lastError_ = ok ? SE_NONE : session_->lastError();
  return ok;
}

bool PgClient::ADSMGCONNECT(const std::string& path) {
  ADSMGDISCONNECT();
  management_ = PQconnectdb(conninfoFor(path).c_str());
  if (PQstatus(management_) != CONNECTION_OK) {
    PQfinish(management_);
    management_ = nullptr;
    lastError_ = SE_CONNECT_FAILED;
    return false;
  }
  lastError_ = SE_NONE;
  return true;
}

std::vector<std::string> PgClient::ADSMGGETINSTALLINFO() {
  if (!management_) {
    lastError_ = SE_NOT_CONNECTED;
    return {};
  }
  PGresult* r = PQexec(management_,
                       "SELECT current_setting('server_version'), current_database(), "
                       "(SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()), "
                       "current_setting('max_connections'), pg_postmaster_start_time()::text, "
                       "coalesce(inet_server_addr()::text, 'local'), coalesce(inet_server_port()::text, ''), "
                       "current_user, current_setting('server_encoding'), "
                       "pg_database_size(current_database())");
  std::vector<std::string> info;
  if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1) {
    static const char* kNames[] = {"server_version", "database", "sessions", "max_connections", "server_started",
                                   "host",           "port",     "user",     "encoding",        "database_size"};
    for (int i = 0; i < PQnfields(r) && i < 10; ++i) info.push_back(std::string(kNames[i]) + "=" + PQgetvalue(r, 0, i));
    lastError_ = SE_NONE;
  } else {
    lastError_ = SE_STATEMENT;
  }
  PQclear(r);
  return info;
}

void PgClient::ADSMGDISCONNECT() {
  if (management_) PQfinish(management_);
  management_ = nullptr;
}

void PgClient::ADSSETFILETYPE(const std::string& type) {
  settings_.push_back("FILETYPE " + type);
}
void PgClient::ADSSETCHARTYPE(const std::string& type) {
  settings_.push_back("CHARTYPE " + type);
}
void PgClient::ADSRIGHTSCHECK(bool on) {
  settings_.push_back(std::string("RIGHTS ") + (on ? "on" : "off"));
}
void PgClient::ADSLOCKING(bool compatible) {
  settings_.push_back(std::string("LOCKING ") + (compatible ? "compatible" : "proprietary"));
}
void PgClient::ADSCACHEOPENTABLES(int count) {
  settings_.push_back("CACHEOPEN " + std::to_string(count));
}

bool PgClient::connected() const {
  return session_ && session_->connected();
}

std::shared_ptr<Session> PgClient::session() {
  if (!session_) session_ = std::make_shared<Session>(conninfoFor(""));
  if (!session_->connect())
    throw xbase::Error(xbase::EG_OPEN, SE_NOT_CONNECTED, "sin conexión con el servidor: " + session_->lastMessage())
        .setSubsystem("ADSCDX");
  return session_;
}

void PgClient::ADSCACHERECORDS(int area, int records) {
  if (ServerTable* t = serverTableOf(area)) t->setCacheRecords(records);
}

bool PgClient::ADSBEGINTRANSACTION() {
  session()->begin();
  return true;
}

bool PgClient::ADSCOMMITTRANSACTION() {
  if (!session_ || !session_->inTransaction()) return false;  // the begin failed: nothing to commit
  session_->commit();
  return true;
}

bool PgClient::ADSROLLBACK() {
  if (!session_ || !session_->inTransaction()) return false;
  session_->rollback();
  return true;
}

bool PgClient::ADSUNLOCKRECORD(int area, uint32_t recno) {
  ServerTable* t = serverTableOf(area);
  if (!t) return false;
  t->unlockRecord(recno);
  return true;
}

std::optional<ServerTime> PgClient::ADSGETSERVERTIME() {
  if (!connected()) return std::nullopt;
  try {
    Result r = session_->exec(
        "SELECT to_char(t, 'J')::integer, (extract(epoch FROM t::time) * 1000)::integer "
        "FROM (SELECT clock_timestamp()::timestamp AS t) s");
    return ServerTime{int32_t(r.integer(0, 0)), int32_t(r.integer(0, 1))};
  } catch (const xbase::Error&) {
    return std::nullopt;  // the caller uses the workstation clock
  }
}

}  // namespace server
