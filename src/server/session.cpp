#include "server/session.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "server/read_memo.h"
#include "xbase/error.h"

namespace server {

namespace {

// Statements sent without waiting before the Session reads their answers anyway, so that
// neither side's buffers fill up.
constexpr size_t kMaxPending = 3000;

int32_t asInt4(uint32_t v) {
  return static_cast<int32_t>(v);
}

std::string num(long long v) {
  return std::to_string(v);
}

const char* kLockRecord =
    "SELECT CASE WHEN pg_try_advisory_lock_shared($1::int8) THEN CASE WHEN pg_try_advisory_lock($2::int4, "
    "$3::int4) THEN true ELSE NOT pg_advisory_unlock_shared($1::int8) END ELSE false END";
// The locks of an array of record numbers, tried in its order: one row per number.
const char* kLockRecords =
    "SELECT CASE WHEN pg_try_advisory_lock_shared($1::int8) THEN CASE WHEN pg_try_advisory_lock($2::int4, u.r) "
    "THEN true ELSE NOT pg_advisory_unlock_shared($1::int8) END ELSE false END FROM unnest($3::int4[]) WITH "
    "ORDINALITY AS u(r, i) ORDER BY u.i";
const char* kUnlockRecords =
    "SELECT pg_advisory_unlock($2::int4, u.r), pg_advisory_unlock_shared($1::int8) FROM unnest($3::int4[]) AS u(r)";
const char* kUnlockRecord = "SELECT pg_advisory_unlock($2::int4, $3::int4), pg_advisory_unlock_shared($1::int8)";

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

Session::Session(std::string conninfo) : conninfo_(std::move(conninfo)), memo_(std::make_unique<ReadMemo>()) {}

Session::~Session() {
  // A child of fork() shares its parent's socket: closing it properly would end the
  // parent's session, so the child leaves it alone.
  if (conn_ && pid_ == getpid()) {
    try {
      drain(nullptr, nullptr);  // what was sent runs before the session ends
    } catch (...) {
      // The connection is going anyway; the server drops its locks with it.
    }
    PQfinish(conn_);
  }
}

bool Session::connected() const {
  return conn_ && pid_ == getpid() && PQstatus(conn_) == CONNECTION_OK;
}

void Session::forgetConnection() {
  if (conn_ && pid_ == getpid()) PQfinish(conn_);
  conn_ = nullptr;
  prepared_.clear();
  pending_.clear();
  answers_.clear();
  refusals_.clear();
  forgotten_.clear();
  deferred_ = {};
  memo_->clear();
  // The server let go of every advisory lock with the session.
  records_.clear();
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
  if (ok) {
    enterPipeline();
    ok = PQpipelineStatus(conn_) == PQ_PIPELINE_ON;
    if (!ok) lastMessage_ = PQerrorMessage(conn_);
  }
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

// Non-blocking, so that sending never waits on a server that is itself waiting for us to
// read its answers.
void Session::enterPipeline() {
  PQsetnonblocking(conn_, 1);
  PQenterPipelineMode(conn_);
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

void Session::lost() {
  pending_.clear();
  forgotten_.clear();
  bool wasIn = inTransaction_;
  if (wasIn) lostInTransaction_ = true;
  raise(SE_CONNECTION_LOST,
        "se perdió la conexión con el servidor" + std::string(wasIn ? "; la transacción se deshizo" : ""));
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

// ---------------------------------------------------------------------------------------
// The pipeline.

void Session::queue(const Statement& s, int wanted, long ticket) {
  std::vector<const char*> values(s.params.size());
  std::vector<int> lengths(s.params.size()), formats(s.params.size());
  for (size_t i = 0; i < s.params.size(); ++i) {
    values[i] = s.params[i].null ? nullptr : s.params[i].data.c_str();
    lengths[i] = int(s.params[i].data.size());
    formats[i] = s.params[i].binary ? 1 : 0;
  }
  int n = int(s.params.size());
  bool sent;
  if (s.prepared) {
    auto it = prepared_.find(s.sql);
    if (it == prepared_.end()) {
      std::string name = "s" + std::to_string(prepared_.size() + 1);
      if (!PQsendPrepare(conn_, name.c_str(), s.sql.c_str(), n, nullptr)) lost();
      pending_.push_back({Pending::kPrepare, s.sql, -1, false});
      it = prepared_.emplace(s.sql, name).first;
    }
    sent = PQsendQueryPrepared(conn_, it->second.c_str(), n, values.data(), lengths.data(), formats.data(), 0);
  } else {
    sent = PQsendQueryParams(conn_, s.sql.c_str(), n, nullptr, values.data(), lengths.data(), formats.data(), 0);
  }
  if (!sent) lost();
  pending_.push_back({Pending::kQuery, s.sql, wanted, false, ticket});
  if (!PQpipelineSync(conn_)) lost();
  pending_.push_back({Pending::kSync, {}, -1, false});
  ++statements_;
}

void Session::pushOut() {
  for (;;) {
    int r = PQflush(conn_);
    if (r == 0) return;
    if (r < 0) lost();
    pollfd p{PQsocket(conn_), POLLIN | POLLOUT, 0};
    if (::poll(&p, 1, -1) < 0) continue;
    if ((p.revents & POLLIN) && !PQconsumeInput(conn_)) lost();
  }
}

void Session::waitReadable() {
  pushOut();
  pollfd p{PQsocket(conn_), POLLIN, 0};
  ::poll(&p, 1, -1);
  if (!PQconsumeInput(conn_)) lost();
}

// Reads the answer to the oldest pending message. False, with nothing read, when it has not
// arrived and `block` is false.
bool Session::readOne(bool block, std::vector<Result>* results, Failure* failure) {
  for (;;) {
    if (!block && !PQconsumeInput(conn_)) lost();
    while (PQisBusy(conn_)) {
      if (!block) return false;
      waitReadable();
    }
    Pending& p = pending_.front();
    PGresult* r = PQgetResult(conn_);
    if (p.kind == Pending::kSync) {
      if (!r) continue;  // the end of an answer already taken
      ExecStatusType st = PQresultStatus(r);
      PQclear(r);
      if (st != PGRES_PIPELINE_SYNC) {
        if (PQstatus(conn_) != CONNECTION_OK) lost();
        continue;
      }
      pending_.pop_front();
      return true;
    }
    if (!r) {
      if (!p.answered) {
        if (PQstatus(conn_) != CONNECTION_OK) lost();
        if (p.kind == Pending::kQuery && p.wanted >= 0 && failure && !failure->any)
          *failure = {true, SE_STATEMENT, "el servidor no respondió a la instrucción", p.sql};
      }
      pending_.pop_front();
      return true;
    }
    p.answered = true;
    ExecStatusType st = PQresultStatus(r);
    if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) {
      if (p.ticket) {
        if (!forgotten_.erase(p.ticket))
          answers_[p.ticket] = Result(r);
        else
          PQclear(r);
      } else if (p.kind == Pending::kQuery && p.wanted >= 0 && results)
        (*results)[size_t(p.wanted)] = Result(r);
      else
        PQclear(r);
      continue;
    }
    std::string message = PQresultErrorMessage(r);
    const char* stateField = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    std::string state = stateField ? stateField : "";
    PQclear(r);
    if (PQstatus(conn_) != CONNECTION_OK) lost();
    if (st == PGRES_PIPELINE_ABORTED) {
      // Did not run because the statement before it in its segment (its preparation)
      // failed: that failure was taken already.
      if (p.kind == Pending::kQuery && p.wanted >= 0 && failure && !failure->any)
        *failure = {true, SE_STATEMENT, "la instrucción no se ejecutó", p.sql};
      continue;
    }
    if (p.kind == Pending::kPrepare) prepared_.erase(p.sql);
    Failure f{true, state == "42P01" ? SE_NO_TABLE : SE_STATEMENT, message, p.sql};
    if (p.ticket) {
      if (!forgotten_.erase(p.ticket)) refusals_[p.ticket] = f;
      continue;
    }
    Failure* into = p.wanted >= 0 && failure ? failure : &deferred_;
    if (!into->any) *into = f;
  }
}

void Session::drain(std::vector<Result>* results, Failure* failure) {
  if (!conn_ || pid_ != getpid()) return;
  pushOut();
  while (!pending_.empty()) readOne(true, results, failure);
}

// Reads the answers that have arrived, without waiting for the others.
void Session::absorb() {
  if (pending_.size() > kMaxPending) {
    drain(nullptr, nullptr);
    return;
  }
  while (!pending_.empty() && readOne(false, nullptr, nullptr)) {
  }
}

std::vector<Result> Session::roundTrip(const std::vector<Statement>& statements, Failure* failure) {
  ensureUsable();
  std::vector<Result> results(statements.size());
  for (size_t i = 0; i < statements.size(); ++i) queue(statements[i], int(i));
  drain(&results, failure);
  ++roundTrips_;
  return results;
}

void Session::raiseFailures(Failure& failure) {
  Failure f = deferred_.any ? deferred_ : failure;
  if (!f.any) {
    lastError_ = SE_NONE;
    return;
  }
  if (deferred_.any) deferred_ = {};
  raise(f.code, f.message, f.sql);
}

Result Session::exec(const std::string& sql, const std::vector<Param>& params) {
  Failure f;
  std::vector<Result> r = roundTrip({{sql, params, true}}, &f);
  raiseFailures(f);
  return r[0];
}

Result Session::execOnce(const std::string& sql, const std::vector<Param>& params) {
  Failure f;
  std::vector<Result> r = roundTrip({{sql, params, false}}, &f);
  raiseFailures(f);
  return r[0];
}

std::vector<Result> Session::execAll(const std::vector<Statement>& statements) {
  if (statements.empty()) return {};
  Failure f;
  std::vector<Result> r = roundTrip(statements, &f);
  raiseFailures(f);
  return r;
}

void Session::send(const std::string& sql, std::vector<Param> params) {
  ensureUsable();
  queue({sql, std::move(params), true}, -1);
  pushOut();
  absorb();
}

long Session::request(const std::string& sql, const std::vector<Param>& params) {
  ensureUsable();
  long ticket = ++lastTicket_;
  queue({sql, params, true}, -1, ticket);
  pushOut();
  return ticket;
}

bool Session::awaiting(long ticket) const {
  return std::any_of(pending_.begin(), pending_.end(), [&](const Pending& p) { return p.ticket == ticket; });
}

Result Session::take(long ticket) {
  ensureUsable();
  if (awaiting(ticket)) {
    ++roundTrips_;
    while (awaiting(ticket)) readOne(true, nullptr, nullptr);
  }
  auto refused = refusals_.find(ticket);
  if (refused != refusals_.end()) {
    Failure f = refused->second;
    refusals_.erase(refused);
    raise(f.code, f.message, f.sql);
  }
  auto answer = answers_.find(ticket);
  if (answer == answers_.end()) raise(SE_STATEMENT, "el servidor no respondió a la instrucción");
  Result r = answer->second;
  answers_.erase(answer);
  return r;
}

void Session::forget(long ticket) {
  if (answers_.erase(ticket) || refusals_.erase(ticket)) return;
  if (awaiting(ticket)) forgotten_.insert(ticket);
}

void Session::sync() {
  if (!connected()) return;
  if (!pending_.empty()) ++roundTrips_;
  Failure none;
  drain(nullptr, &none);
  raiseFailures(none);
}

template <typename F>
long Session::copying(const std::string& sql, F body) {
  ensureUsable();
  sync();
  // COPY has no place in a pipeline: the connection leaves it for the copy.
  PQexitPipelineMode(conn_);
  PQsetnonblocking(conn_, 0);
  long rows = 0;
  std::string failure;
  PGresult* r = PQexec(conn_, sql.c_str());
  ExecStatusType st = PQresultStatus(r);
  if (st != PGRES_COPY_IN && st != PGRES_COPY_OUT) {
    failure = PQresultErrorMessage(r);
    PQclear(r);
  } else {
    PQclear(r);
    try {
      body();
    } catch (...) {
      if (st == PGRES_COPY_IN) PQputCopyEnd(conn_, "interrumpido");
      while (PGresult* rest = PQgetResult(conn_)) PQclear(rest);
      enterPipeline();
      throw;
    }
    while (PGresult* rest = PQgetResult(conn_)) {
      if (PQresultStatus(rest) == PGRES_COMMAND_OK)
        rows = std::atol(PQcmdTuples(rest));
      else if (failure.empty())
        failure = PQresultErrorMessage(rest);
      PQclear(rest);
    }
  }
  ++statements_;
  ++roundTrips_;
  if (PQstatus(conn_) != CONNECTION_OK) lost();
  enterPipeline();
  if (!failure.empty()) raise(SE_STATEMENT, failure, sql);
  return rows;
}

long Session::copyIn(const std::string& sql, const std::function<bool(std::string&)>& next) {
  return copying(sql, [&] {
    std::string buffer, line;
    auto put = [&] {
      if (!buffer.empty() && PQputCopyData(conn_, buffer.data(), int(buffer.size())) != 1) lost();
      buffer.clear();
    };
    while (next(line)) {
      buffer += line;
      if (buffer.size() > (1 << 18)) put();
    }
    put();
    if (PQputCopyEnd(conn_, nullptr) != 1) lost();
  });
}

long Session::copyOut(const std::string& sql, const std::function<void(const char*, size_t)>& line) {
  return copying(sql, [&] {
    for (;;) {
      char* data = nullptr;
      int n = PQgetCopyData(conn_, &data, 0);
      if (n < 0) break;
      line(data, size_t(n));
      PQfreemem(data);
    }
  });
}

std::string Session::serverVersion() {
  return exec("SELECT current_setting('server_version')").text(0, 0);
}

const Session::KnownTable* Session::knownTable(const std::string& key) const {
  auto it = known_.find(key);
  return it == known_.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------------------------------
// Transactions.

void Session::begin() {
  if (inTransaction_) raise(SE_TRANSACTION, "ya hay una transacción abierta");
  ensureUsable();
  queue({"BEGIN", {}, false}, -1);  // its answer comes with the first statement that waits
  pushOut();
  inTransaction_ = true;
  lostInTransaction_ = false;
  rollbackWork_.clear();
}

void Session::commit() {
  if (!inTransaction_) raise(SE_TRANSACTION, "no hay transacción abierta");
  try {
    for (SessionTable* t : std::set<SessionTable*>(tables_)) t->beforeCommit();
    Result r = execOnce("COMMIT");
    // The server answers a transaction that failed on the way with a ROLLBACK: that is no
    // commit, whatever statement's failure was read already.
    if (r.status() != "COMMIT") raise(SE_STATEMENT, "la transacción no se pudo confirmar y se deshizo", "COMMIT");
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
  bool lostBefore = lostInTransaction_ || !connected();
  inTransaction_ = false;
  lostInTransaction_ = false;
  if (lostBefore) {
    // The server rolled it back when the connection broke; start again on a fresh one.
    forgetConnection();
  } else {
    Failure ignored;  // what failed inside the transaction is undone with it
    roundTrip({{"ROLLBACK", {}, false}}, &ignored);
    deferred_ = {};
  }
  std::vector<std::pair<std::string, std::vector<Param>>> work = std::move(rollbackWork_);
  rollbackWork_.clear();
  endTransaction();
  for (auto& [sql, params] : work) send(sql, params);
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
      if (connected()) send("SELECT pg_advisory_unlock($1::int8)", {Param::text(num(tableLockKey(table, kFileLockKind)))});
    } else {
      ++it;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Locks.

bool Session::lockRecord(int handle, uint32_t table, uint32_t recno, const Statement* read, Result* readResult) {
  ensureUsable();
  if (readResult) *readResult = Result();
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return false;
  auto key = std::make_pair(table, recno);
  auto it = records_.find(key);
  if (it != records_.end()) {
    if (it->second.handle != handle) return false;
    it->second.released = false;  // taken back inside the transaction
    return true;
  }
  std::vector<Statement> statements{{kLockRecord,
                                     {Param::text(num(tableLockKey(table, kFileLockKind))),
                                      Param::text(num(asInt4(table))), Param::text(num(asInt4(recno)))}}};
  if (read) statements.push_back(*read);
  Failure failure;
  std::vector<Result> r = roundTrip(statements, &failure);
  bool ok = r[0].rows() > 0 && r[0].logical(0, 0);
  if (ok) records_[key] = Hold{handle, false};
  if (read && readResult) *readResult = r[1];
  raiseFailures(failure);
  return ok;
}

std::vector<bool> Session::lockRecords(int handle, uint32_t table, const std::vector<uint32_t>& recnos,
                                       const Statement* read, Result* readResult) {
  ensureUsable();
  if (readResult) *readResult = Result();
  std::vector<bool> taken(recnos.size(), false);
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return taken;
  // What the book answers alone, and the numbers the server is asked for (each once).
  std::vector<size_t> asked;
  std::vector<uint32_t> numbers;
  std::set<uint32_t> seen;
  for (size_t i = 0; i < recnos.size(); ++i) {
    auto it = records_.find({table, recnos[i]});
    if (it != records_.end()) {
      if (it->second.handle != handle) continue;
      it->second.released = false;
      taken[i] = true;
    } else if (seen.insert(recnos[i]).second) {
      numbers.push_back(recnos[i]);
      asked.push_back(i);
    }
  }
  if (asked.empty()) return taken;
  std::vector<Statement> statements{{kLockRecords,
                                     {Param::text(num(tableLockKey(table, kFileLockKind))),
                                      Param::text(num(asInt4(table))), Param::integers(numbers)}}};
  if (read) statements.push_back(*read);
  Failure failure;
  std::vector<Result> r = roundTrip(statements, &failure);
  for (size_t j = 0; j < asked.size() && int(j) < r[0].rows(); ++j) {
    if (!r[0].logical(int(j), 0)) continue;
    records_[{table, recnos[asked[j]]}] = Hold{handle, false};
    taken[asked[j]] = true;
  }
  // A number asked twice is held (or not) as its first asking says.
  for (size_t i = 0; i < recnos.size(); ++i)
    if (!taken[i]) {
      auto it = records_.find({table, recnos[i]});
      taken[i] = it != records_.end() && it->second.handle == handle;
    }
  if (read && readResult) *readResult = r[1];
  raiseFailures(failure);
  return taken;
}

std::optional<uint32_t> Session::appendLocked(int handle, uint32_t table, const std::string& sequence, bool lock) {
  ensureUsable();
  if (!lock) return uint32_t(exec("SELECT nextval('" + sequence + "')").integer(0, 0));
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return std::nullopt;
  // Nobody can hold a number not yet handed out, so the lock comes with it; no number is
  // taken while another workstation holds the file lock.
  Result r = exec("SELECT s.n, pg_try_advisory_lock($2::int4, s.n::int4) FROM (SELECT nextval('" + sequence +
                      "')::bigint AS n WHERE pg_try_advisory_lock_shared($1::int8)) s",
                  {Param::text(num(tableLockKey(table, kFileLockKind))), Param::text(num(asInt4(table)))});
  if (r.rows() == 0) return std::nullopt;
  uint32_t recno = uint32_t(r.integer(0, 0));
  if (!r.logical(0, 1)) {
    send("SELECT pg_advisory_unlock_shared($1::int8)", {Param::text(num(tableLockKey(table, kFileLockKind)))});
    return std::nullopt;
  }
  records_[{table, recno}] = Hold{handle, false};
  return recno;
}

std::vector<uint32_t> Session::appendLockedMany(int handle, uint32_t table, const std::string& sequence, size_t count) {
  ensureUsable();
  auto f = files_.find(table);
  if (f != files_.end() && f->second.handle != handle) return {};
  // Each number comes with its shared hold of the file key, taken before it is drawn.
  Result r = exec("SELECT s.n, pg_try_advisory_lock($2::int4, s.n::int4) FROM (SELECT nextval('" + sequence +
                      "')::bigint AS n FROM generate_series(1, $3::int4) WHERE pg_try_advisory_lock_shared($1::int8)) "
                      "s ORDER BY s.n",
                  {Param::text(num(tableLockKey(table, kFileLockKind))), Param::text(num(asInt4(table))),
                   Param::text(num(static_cast<long long>(count)))});
  std::vector<uint32_t> taken;
  for (int i = 0; i < r.rows(); ++i) {
    uint32_t recno = uint32_t(r.integer(i, 0));
    if (!r.logical(i, 1)) {
      send("SELECT pg_advisory_unlock_shared($1::int8)", {Param::text(num(tableLockKey(table, kFileLockKind)))});
      continue;
    }
    records_[{table, recno}] = Hold{handle, false};
    taken.push_back(recno);
  }
  return taken;
}

void Session::dropRecord(uint32_t table, uint32_t recno) {
  records_.erase({table, recno});
  if (connected())
    send(kUnlockRecord, {Param::text(num(tableLockKey(table, kFileLockKind))), Param::text(num(asInt4(table))),
                         Param::text(num(asInt4(recno)))});
}

bool Session::releaseInBook(int handle, uint32_t table, uint32_t recno) {
  auto it = records_.find({table, recno});
  if (it == records_.end() || it->second.handle != handle) return false;
  if (inTransaction_) {
    it->second.released = true;
    return false;
  }
  records_.erase(it);
  return true;
}

void Session::unlockRecord(int handle, uint32_t table, uint32_t recno) {
  if (releaseInBook(handle, table, recno) && connected())
    send(kUnlockRecord, {Param::text(num(tableLockKey(table, kFileLockKind))), Param::text(num(asInt4(table))),
                         Param::text(num(asInt4(recno)))});
}

void Session::unlockRecords(int handle, uint32_t table, const std::vector<uint32_t>& recnos) {
  std::vector<uint32_t> released;
  for (uint32_t r : recnos)
    if (releaseInBook(handle, table, r)) released.push_back(r);
  if (released.empty() || !connected()) return;
  send(kUnlockRecords, {Param::text(num(tableLockKey(table, kFileLockKind))), Param::text(num(asInt4(table))),
                        Param::integers(released)});
}

bool Session::lockFile(int handle, uint32_t table, const Statement* read, Result* readResult) {
  ensureUsable();
  if (readResult) *readResult = Result();
  auto f = files_.find(table);
  if (f != files_.end()) {
    if (f->second.handle != handle) return false;
    f->second.released = false;
    return true;
  }
  for (const auto& [key, hold] : records_)
    if (key.first == table && hold.handle != handle) return false;
  // Our own shared holds (record locks of this process) do not stand in the way.
  std::vector<Statement> statements{
      {"SELECT pg_try_advisory_lock($1::int8)", {Param::text(num(tableLockKey(table, kFileLockKind)))}}};
  if (read) statements.push_back(*read);
  Failure failure;
  std::vector<Result> r = roundTrip(statements, &failure);
  bool ok = r[0].rows() > 0 && r[0].logical(0, 0);
  if (ok) files_[table] = Hold{handle, false};
  if (read && readResult) *readResult = r[1];
  raiseFailures(failure);
  return ok;
}

void Session::unlockFile(int handle, uint32_t table) {
  auto f = files_.find(table);
  if (f == files_.end() || f->second.handle != handle) return;
  if (inTransaction_) {
    f->second.released = true;
    return;
  }
  files_.erase(f);
  if (connected()) send("SELECT pg_advisory_unlock($1::int8)", {Param::text(num(tableLockKey(table, kFileLockKind)))});
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
  auto tryLock = [&](const char* fn) {
    return exec(std::string("SELECT ") + fn + "($1::int8)", {Param::text(num(tableLockKey(table, kOpenKind)))})
        .logical(0, 0);
  };
  bool ok = false;
  if (o.exclusive) {
    ok = false;
  } else if (exclusive) {
    ok = o.shared.empty() && tryLock("pg_try_advisory_lock");
    if (ok) o.exclusive = handle;
  } else {
    ok = !o.shared.empty() || tryLock("pg_try_advisory_lock_shared");
    if (ok) o.shared.insert(handle);
  }
  if (!o.exclusive && o.shared.empty()) opens_.erase(table);
  return ok;
}

void Session::close(int handle, uint32_t table) {
  auto it = opens_.find(table);
  if (it == opens_.end()) return;
  Opens& o = it->second;
  Param key = Param::text(num(tableLockKey(table, kOpenKind)));
  if (o.exclusive == handle) {
    o.exclusive = 0;
    if (connected()) send("SELECT pg_advisory_unlock($1::int8)", {key});
  } else if (o.shared.erase(handle) && o.shared.empty()) {
    if (connected()) send("SELECT pg_advisory_unlock_shared($1::int8)", {key});
  }
  if (!o.exclusive && o.shared.empty()) opens_.erase(it);
}

}  // namespace server
