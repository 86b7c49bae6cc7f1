#include "server/session.h"

#include <unistd.h>

#include <cstdlib>

#include "xbase/error.h"

namespace server {

namespace {

int32_t asInt4(uint32_t v) {
  return static_cast<int32_t>(v);
}

}  // namespace

long long Result::integer(int row, int col) const {
  return std::strtoll(PQgetvalue(r_.get(), row, col), nullptr, 10);
}

std::string Result::bytes(int row, int col) const {
  size_t n = 0;
  unsigned char* p = PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(r_.get(), row, col)), &n);
  if (!p) return {};
  std::string s(reinterpret_cast<char*>(p), n);
  PQfreemem(p);
  return s;
}

Session::Session(std::string conninfo) : conninfo_(std::move(conninfo)) {}

Session::~Session() {
  // A child of fork() shares its parent's socket: closing it properly would end the
  // parent's session, so the child leaves it alone.
  if (conn_ && pid_ == getpid()) PQfinish(conn_);
}

bool Session::connected() const {
  return conn_ && pid_ == getpid() && PQstatus(conn_) == CONNECTION_OK;
}

void Session::forgetConnection() {
  if (conn_ && pid_ == getpid()) PQfinish(conn_);
  conn_ = nullptr;
  prepared_.clear();
  // The server let go of every advisory lock with the session.
  records_.clear();
  lockers_.clear();
  files_.clear();
  opens_.clear();
}

bool Session::connect() {
  if (connected()) return true;
  if (conn_ && pid_ != getpid()) conn_ = nullptr;  // the parent's; see the destructor
  forgetConnection();
  char* err = nullptr;
  PQconninfoOption* opts = PQconninfoParse(conninfo_.c_str(), &err);
  if (!opts) {
    lastError_ = SE_BAD_CONNINFO;
    lastMessage_ = err ? err : "cadena de conexión no válida";
    if (err) PQfreemem(err);
    return false;
  }
  PQconninfoFree(opts);
  conn_ = PQconnectdb(conninfo_.c_str());
  pid_ = getpid();
  if (PQstatus(conn_) != CONNECTION_OK) {
    lastError_ = SE_CONNECT_FAILED;
    lastMessage_ = PQerrorMessage(conn_);
    PQfinish(conn_);
    conn_ = nullptr;
    return false;
  }
  PQsetNoticeProcessor(
      conn_, [](void*, const char*) {}, nullptr);
  // Dates travel as ISO text, doubles with every digit, and a stray row lock (which the
  // lock protocol never lets happen) turns into an error instead of a hang.
  PGresult* r = PQexec(conn_,
                       "SET DateStyle = ISO; SET extra_float_digits = 3; SET lock_timeout = '10s'; "
                       "SET client_encoding = 'UTF8'");
  bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
  if (!ok) lastMessage_ = PQresultErrorMessage(r);
  PQclear(r);
  if (!ok) {
    lastError_ = SE_CONNECT_FAILED;
    PQfinish(conn_);
    conn_ = nullptr;
    return false;
  }
  lastError_ = SE_NONE;
  lastMessage_.clear();
  return true;
}

void Session::fail(long code, const std::string& message, const std::string&) {
  lastError_ = code;
  lastMessage_ = message;
}

void Session::raise(long code, const std::string& message, const std::string& sql) {
  fail(code, message, sql);
  int gen = code == SE_CONNECTION_LOST || code == SE_NOT_CONNECTED || code == SE_CONNECT_FAILED ? xbase::EG_READ
            : code == SE_NO_TABLE                                                               ? xbase::EG_OPEN
                                                                                                : xbase::EG_WRITE;
  std::string text = message;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  throw xbase::Error(gen, int(code), "servidor: " + text, {}, 0, sql.substr(0, 200)).setSubsystem("ADSCDX");
}

void Session::ensureUsable() {
  if (lostInTransaction_) raise(SE_CONNECTION_LOST, "se perdió la conexión con el servidor; la transacción se deshizo");
  if (connected()) return;
  if (inTransaction_) {
    lostInTransaction_ = true;
    raise(SE_CONNECTION_LOST, "se perdió la conexión con el servidor; la transacción se deshizo");
  }
  if (!connect()) raise(SE_NOT_CONNECTED, "sin conexión con el servidor: " + lastMessage_);
}

Result Session::run(const std::string& sql, const std::vector<Param>& params, bool prepared) {
  ensureUsable();
  std::vector<const char*> values(params.size());
  std::vector<int> lengths(params.size()), formats(params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    values[i] = params[i].null ? nullptr : params[i].data.c_str();
    lengths[i] = int(params[i].data.size());
    formats[i] = params[i].binary ? 1 : 0;
  }
  PGresult* r;
  if (prepared) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
      std::string name = "s" + std::to_string(prepared_.size() + 1);
      PGresult* p = PQprepare(conn_, name.c_str(), sql.c_str(), int(params.size()), nullptr);
      ExecStatusType ps = PQresultStatus(p);
      std::string message = PQresultErrorMessage(p);
      PQclear(p);
      if (ps != PGRES_COMMAND_OK) {
        if (PQstatus(conn_) != CONNECTION_OK) {
          if (inTransaction_) lostInTransaction_ = true;
          raise(SE_CONNECTION_LOST, "se perdió la conexión con el servidor" +
                                        std::string(inTransaction_ ? "; la transacción se deshizo" : ""));
        }
        raise(SE_STATEMENT, message, sql);
      }
      it = prepared_.emplace(sql, name).first;
    }
    r = PQexecPrepared(conn_, it->second.c_str(), int(params.size()), values.data(), lengths.data(), formats.data(), 0);
  } else {
    r = PQexecParams(conn_, sql.c_str(), int(params.size()), nullptr, values.data(), lengths.data(), formats.data(), 0);
  }
  ExecStatusType st = PQresultStatus(r);
  if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) {
    lastError_ = SE_NONE;
    return Result(r);
  }
  std::string message = r ? PQresultErrorMessage(r) : PQerrorMessage(conn_);
  std::string state = r && PQresultErrorField(r, PG_DIAG_SQLSTATE) ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : "";
  PQclear(r);
  if (PQstatus(conn_) != CONNECTION_OK) {
    bool wasIn = inTransaction_;
    if (wasIn) lostInTransaction_ = true;
    raise(SE_CONNECTION_LOST,
          "se perdió la conexión con el servidor" + std::string(wasIn ? "; la transacción se deshizo" : ""));
  }
  long code = state == "42P01" ? SE_NO_TABLE : SE_STATEMENT;
  raise(code, message, sql);
}

Result Session::exec(const std::string& sql, const std::vector<Param>& params) {
  return run(sql, params, true);
}

Result Session::execOnce(const std::string& sql, const std::vector<Param>& params) {
  return run(sql, params, false);
}

std::string Session::serverVersion() {
  return exec("SELECT current_setting('server_version')").text(0, 0);
}

// ---------------------------------------------------------------------------------------
// Transactions.

void Session::begin() {
  if (inTransaction_) raise(SE_TRANSACTION, "ya hay una transacción abierta");
  execOnce("BEGIN");
  inTransaction_ = true;
  lostInTransaction_ = false;
  rollbackWork_.clear();
}

void Session::commit() {
  if (!inTransaction_) raise(SE_TRANSACTION, "no hay transacción abierta");
  try {
    for (SessionTable* t : std::set<SessionTable*>(tables_)) t->beforeCommit();
    execOnce("COMMIT");
  } catch (...) {
    // What could not be committed is undone: the transaction ends either way. A rollback
    // that fails too (the connection is gone) adds nothing: the commit's failure goes on.
    try {
      rollback();
    } catch (...) {
    }
    throw;
  }
  inTransaction_ = false;
  rollbackWork_.clear();
  endTransaction();
}

void Session::rollback() {
  if (!inTransaction_) raise(SE_TRANSACTION, "no hay transacción abierta");
  bool lost = lostInTransaction_ || !connected();
  inTransaction_ = false;
  lostInTransaction_ = false;
  if (lost) {
    // The server rolled it back when the connection broke; start again on a fresh one.
    forgetConnection();
  } else {
    execOnce("ROLLBACK");
  }
  std::vector<std::pair<std::string, std::vector<Param>>> work = std::move(rollbackWork_);
  rollbackWork_.clear();
  endTransaction();
  for (auto& [sql, params] : work) exec(sql, params);
  for (SessionTable* t : std::set<SessionTable*>(tables_)) t->afterRollback();
}

void Session::afterRollback(std::string sql, std::vector<Param> params) {
  if (inTransaction_) rollbackWork_.emplace_back(std::move(sql), std::move(params));
}

// The locks released during the transaction go now.
void Session::endTransaction() {
  for (auto it = records_.begin(); it != records_.end();) {
    if (it->second.released) {
      auto [table, recno] = it->first;
      ++it;
      dropRecord(table, recno);
    } else {
      ++it;
    }
  }
  for (auto it = files_.begin(); it != files_.end();) {
    if (it->second.released) {
      uint32_t table = it->first;
      ++it;
      files_.erase(table);
      if (connected()) unlockAdvisory("pg_advisory_unlock", tableLockKey(table, kFileLockKind), 0, false);
    } else {
      ++it;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Locks.

bool Session::tryAdvisory(const std::string& fn, long long a, long long b, bool twoKeys) {
  Result r = twoKeys ? exec("SELECT " + fn + "($1::int4, $2::int4)",
                            {Param::text(std::to_string(a)), Param::text(std::to_string(b))})
                     : exec("SELECT " + fn + "($1::int8)", {Param::text(std::to_string(a))});
  return r.logical(0, 0);
}

void Session::unlockAdvisory(const std::string& fn, long long a, long long b, bool twoKeys) {
  if (twoKeys)
    exec("SELECT " + fn + "($1::int4, $2::int4)", {Param::text(std::to_string(a)), Param::text(std::to_string(b))});
  else
    exec("SELECT " + fn + "($1::int8)", {Param::text(std::to_string(a))});
}

bool Session::lockerUp(uint32_t table) {
  int& n = lockers_[table];
  if (n == 0 && !tryAdvisory("pg_try_advisory_lock_shared", tableLockKey(table, kFileLockKind), 0, false)) {
    lockers_.erase(table);
    return false;
  }
  ++n;
  return true;
}

void Session::lockerDown(uint32_t table) {
  auto it = lockers_.find(table);
  if (it == lockers_.end()) return;
  if (--it->second == 0) {
    lockers_.erase(it);
    if (connected()) unlockAdvisory("pg_advisory_unlock_shared", tableLockKey(table, kFileLockKind), 0, false);
  }
}

bool Session::lockRecord(int handle, uint32_t table, uint32_t recno) {
  ensureUsable();
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return false;
  auto key = std::make_pair(table, recno);
  auto it = records_.find(key);
  if (it != records_.end()) {
    if (it->second.handle != handle) return false;
    it->second.released = false;  // taken back inside the transaction
    return true;
  }
  if (!lockerUp(table)) return false;
  bool ok = false;
  try {
    ok = tryAdvisory("pg_try_advisory_lock", asInt4(table), asInt4(recno), true);
  } catch (...) {  // the count taken above goes back before the failure goes on
    lockerDown(table);
    throw;
  }
  if (!ok) {
    lockerDown(table);
    return false;
  }
  records_[key] = Hold{handle, false};
  return true;
}

std::optional<uint32_t> Session::appendLocked(int handle, uint32_t table, const std::string& sequence, bool lock) {
  ensureUsable();
  if (!lock) return uint32_t(exec("SELECT nextval('" + sequence + "')").integer(0, 0));
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return std::nullopt;
  if (!lockerUp(table)) return std::nullopt;
  try {
    // Nobody can hold a number not yet handed out, so the lock comes with it.
    Result r = exec(
        "SELECT n, pg_try_advisory_lock($1::int4, n::int4) FROM (SELECT nextval('" + sequence + "')::bigint AS n) s",
        {Param::text(std::to_string(asInt4(table)))});
    uint32_t recno = uint32_t(r.integer(0, 0));
    if (!r.logical(0, 1)) {
      lockerDown(table);
      return std::nullopt;
    }
    records_[{table, recno}] = Hold{handle, false};
    return recno;
  } catch (...) {  // the count taken above goes back before the failure goes on
    lockerDown(table);
    throw;
  }
}

void Session::dropRecord(uint32_t table, uint32_t recno) {
  records_.erase({table, recno});
  if (connected()) unlockAdvisory("pg_advisory_unlock", asInt4(table), asInt4(recno), true);
  lockerDown(table);
}

void Session::unlockRecord(int handle, uint32_t table, uint32_t recno) {
  auto it = records_.find({table, recno});
  if (it == records_.end() || it->second.handle != handle) return;
  if (inTransaction_) {
    it->second.released = true;
    return;
  }
  dropRecord(table, recno);
}

bool Session::lockFile(int handle, uint32_t table) {
  ensureUsable();
  auto f = files_.find(table);
  if (f != files_.end()) {
    if (f->second.handle != handle) return false;
    f->second.released = false;
    return true;
  }
  for (const auto& [key, hold] : records_)
    if (key.first == table && hold.handle != handle) return false;
  // Our own shared hold (record locks of this process) does not stand in the way.
  if (!tryAdvisory("pg_try_advisory_lock", tableLockKey(table, kFileLockKind), 0, false)) return false;
  files_[table] = Hold{handle, false};
  return true;
}

void Session::unlockFile(int handle, uint32_t table) {
  auto f = files_.find(table);
  if (f == files_.end() || f->second.handle != handle) return;
  if (inTransaction_) {
    f->second.released = true;
    return;
  }
  files_.erase(f);
  if (connected()) unlockAdvisory("pg_advisory_unlock", tableLockKey(table, kFileLockKind), 0, false);
}

bool Session::holdsRecord(int handle, uint32_t table, uint32_t recno) const {
  auto it = records_.find({table, recno});
  return it != records_.end() && it->second.handle == handle && !it->second.released;
}

bool Session::holdsFile(int handle, uint32_t table) const {
  auto it = files_.find(table);
  return it != files_.end() && it->second.handle == handle && !it->second.released;
}

std::vector<uint32_t> Session::recordsOf(int handle, uint32_t table) const {
  std::vector<uint32_t> out;
  for (const auto& [key, hold] : records_)
    if (key.first == table && hold.handle == handle && !hold.released) out.push_back(key.second);
  return out;
}

bool Session::open(int handle, uint32_t table, bool exclusive) {
  ensureUsable();
  Opens& o = opens_[table];
  if (o.exclusive) return false;
  if (exclusive) {
    if (!o.shared.empty()) return false;
    if (!tryAdvisory("pg_try_advisory_lock", tableLockKey(table, kOpenKind), 0, false)) return false;
    o.exclusive = handle;
    return true;
  }
  if (o.shared.empty() && !tryAdvisory("pg_try_advisory_lock_shared", tableLockKey(table, kOpenKind), 0, false))
    return false;
  o.shared.insert(handle);
  return true;
}

void Session::close(int handle, uint32_t table) {
  auto it = opens_.find(table);
  if (it == opens_.end()) return;
  Opens& o = it->second;
  if (o.exclusive == handle) {
    o.exclusive = 0;
    if (connected()) unlockAdvisory("pg_advisory_unlock", tableLockKey(table, kOpenKind), 0, false);
  } else if (o.shared.erase(handle) && o.shared.empty()) {
    if (connected()) unlockAdvisory("pg_advisory_unlock_shared", tableLockKey(table, kOpenKind), 0, false);
  }
  if (!o.exclusive && o.shared.empty()) opens_.erase(it);
}

}  // namespace server
