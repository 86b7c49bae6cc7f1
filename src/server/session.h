// The program's one connection to the PostgreSQL server: every server operation and every
// table opened through the "ADSCDX" driver goes through the same Session, so a server
// transaction spans all tables.
//
// Round trips. The connection runs in libpq's pipeline mode. exec() sends a statement and
// waits for its answer; send() only sends it (a write, a release) and goes on: it leaves
// at once, the server runs it in the order sent, and its answer is read with the next
// exec() or sync(). A failure of a statement sent that way is raised there, by the call that reads
// it, so nothing fails unseen; calls that take locks record what they took before they
// raise it. Outside a transaction each statement is a transaction of its own, committed
// before the next one runs. Statements are prepared once per connection (in the same round
// trip as their first use) and run with parameters; text values go out as text, bytea
// values in binary. A failed statement throws xbase::Error (subsystem "ADSCDX", sub-code
// one of the ServerError numbers below) carrying the server's message. roundTrips() and
// statements() count the waits and the statements, for the tests and the benchmarks.
//
// Locks. Record and file locks are session advisory locks taken with try-lock semantics;
// nothing here ever waits. Work areas of one process share the connection, and the server
// never makes a session conflict with itself, so the Session also keeps a book of which
// table handle holds what: two work areas of one process then conflict like two
// workstations, as they do on the local driver. Keys:
//   record lock   pg_try_advisory_lock(table oid, record number)      (two-int key space)
//   file lock     exclusive pg_try_advisory_lock(1 << 32 | table oid)  (bigint key space)
//   a record lock also holds that bigint key shared (once per record), so file and record
//   locks exclude each other across processes; taking both, and letting both go, is one
//   statement;
//   open mode     pg_try_advisory_lock[_shared](2 << 32 | table oid): shared for shared
//                 opens, exclusive for exclusive ones.
// A lock is taken in one round trip, together with the read of the record it guards when
// the caller asks (lockRecord's `read`). Releases are sent without waiting: the server
// lets go of the lock as soon as it gets there, after the record's write sent before it.
// Inside a transaction a released lock is only marked: it stays held, for everybody but
// the handle that held it, until the transaction ends.
//
// Transactions. begin() opens an SQL transaction; commit() first writes every open table's
// pending records. A connection lost inside a transaction is rolled back by the server:
// the operation that finds it throws (SE_CONNECTION_LOST) and every later one throws too
// until rollback(), which then reconnects; outside a transaction the next statement
// reconnects by itself. Locks do not survive a lost connection.
//
// Table definitions read from xb_tables are kept for the life of the connection
// (tableInfo); creating or dropping a table through this Session forgets them.
//
// A Session belongs to the process that opened it: a forked child neither uses nor closes
// its parent's connection (it opens its own).
#pragma once

#include <libpq-fe.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace server {

// The numbers ADSGETLASTERROR returns and server errors carry as sub-code.
enum ServerError : long {
  SE_NONE = 0,
  SE_BAD_CONNINFO = 7001,     // the connection string cannot be read
  SE_NO_SERVER = 7002,        // no server answers there
  SE_SERVER_REJECTS = 7003,   // a server answers but accepts no connections (starting, stopping)
  SE_CONNECT_FAILED = 7004,   // the connection was refused (database, user, password)
  SE_CONNECTION_LOST = 7005,  // the connection broke; an open transaction was rolled back
  SE_STATEMENT = 7006,        // the server refused a statement
  SE_NOT_CONNECTED = 7007,    // the operation needs a connection and there is none
  SE_TRANSACTION = 7008,      // begin inside a transaction, or commit/rollback outside one
  SE_NO_TABLE = 7009,         // the table does not exist on the server
  SE_TABLE_IN_USE = 7010,     // the table is opened exclusively elsewhere (or shared, for an exclusive open)
  SE_BAD_TABLE = 7011,        // the table's definition on the server cannot be used
};

struct Param {
  std::string data;
  bool null = false;
  bool binary = false;
  static Param text(std::string s) { return {std::move(s), false, false}; }
  static Param bytes(std::string s) { return {std::move(s), false, true}; }
  static Param none() { return {{}, true, false}; }
  // An array of record numbers (or other integers), as text: {1,2,3}.
  static Param integers(const std::vector<uint32_t>& values) {
    std::string list = "{";
    for (uint32_t v : values) list += (list.size() > 1 ? "," : "") + std::to_string(v);
    return text(list + "}");
  }
};

// One statement with its parameters; `prepared` false for DDL and one-off administration.
struct Statement {
  std::string sql;
  std::vector<Param> params;
  bool prepared = true;
};

// A result: rows of text values (bytea columns as the server's hex text).
class Result {
 public:
  Result() = default;
  explicit Result(PGresult* r) : r_(r, PQclear) {}
  bool valid() const { return r_ != nullptr; }  // false: the statement did not run
  int rows() const { return r_ ? PQntuples(r_.get()) : 0; }
  int columns() const { return r_ ? PQnfields(r_.get()) : 0; }
  bool null(int row, int col) const { return PQgetisnull(r_.get(), row, col); }
  std::string text(int row, int col) const {
    return std::string(PQgetvalue(r_.get(), row, col), size_t(PQgetlength(r_.get(), row, col)));
  }
  const char* raw(int row, int col) const { return PQgetvalue(r_.get(), row, col); }
  int length(int row, int col) const { return PQgetlength(r_.get(), row, col); }
  long long integer(int row, int col) const;
  std::string bytes(int row, int col) const;  // a bytea column
  bool logical(int row, int col) const { return PQgetvalue(r_.get(), row, col)[0] == 't'; }
  bool sameAs(const Result& other) const { return r_ == other.r_; }
  long affected() const { return r_ ? std::atol(PQcmdTuples(r_.get())) : 0; }
  std::string status() const { return r_ ? PQcmdStatus(r_.get()) : ""; }

 private:
  std::shared_ptr<PGresult> r_;
};

// Something the Session writes before a commit and refreshes after a rollback.
class SessionTable {
 public:
  virtual ~SessionTable() = default;
  virtual void beforeCommit() = 0;
  virtual void afterRollback() = 0;
};

class TableSchema;
class ReadMemo;

class Session {
 public:
  explicit Session(std::string conninfo);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const std::string& conninfo() const { return conninfo_; }
  // Opens the connection when it is not open; false (with lastError()) when that fails.
  bool connect();
  bool connected() const;
  long lastError() const { return lastError_; }
  const std::string& lastMessage() const { return lastMessage_; }

  // Runs a statement and waits for its answer; throws xbase::Error when it (or a statement
  // sent before it) failed. `sql` is prepared on first use.
  Result exec(const std::string& sql, const std::vector<Param>& params = {});
  // Runs a statement without preparing it (DDL, one-off administration).
  Result execOnce(const std::string& sql, const std::vector<Param>& params = {});
  // Several statements in one round trip, each its own transaction outside BEGIN; their
  // results in order.
  std::vector<Result> execAll(const std::vector<Statement>& statements);
  // Sends a prepared statement without waiting for it (see above).
  void send(const std::string& sql, std::vector<Param> params);
  // Waits until every statement sent has run; raises the first failure among them.
  void sync();
  // Sends a query whose answer is wanted later, without waiting: take() waits for it (and
  // raises its failure), forget() lets the answer be thrown away when it comes. Rows read
  // ahead of a walk are asked for this way while the walk goes through those it has.
  long request(const std::string& sql, const std::vector<Param>& params);
  Result take(long ticket);
  void forget(long ticket);

  // COPY ... FROM STDIN: `next` gives one line of COPY text at a time (false when there are
  // no more). COPY ... TO STDOUT: `line` gets each line. Both return the rows copied.
  long copyIn(const std::string& sql, const std::function<bool(std::string&)>& next);
  long copyOut(const std::string& sql, const std::function<void(const char*, size_t)>& line);

  long roundTrips() const { return roundTrips_; }
  long statements() const { return statements_; }

  // Transactions.
  bool inTransaction() const { return inTransaction_; }
  void begin();
  void commit();
  void rollback();
  // Runs `statement` after the next rollback (outside any transaction): the blank deleted
  // records that keep record numbers dense where rolled-back appends were.
  void afterRollback(std::string sql, std::vector<Param> params);

  void attach(SessionTable* t) { tables_.insert(t); }
  void detach(SessionTable* t) { tables_.erase(t); }

  // Lock book. `handle` names one open table (a work area); `table` is the table's oid.
  // The lock calls answer at once. With `read`, that statement runs in the same round trip
  // right after the lock is tried (taken or not) and its result goes to *readResult; when
  // the book answers alone (no round trip), *readResult is left without a result.
  int newHandle() { return ++lastHandle_; }
  bool lockRecord(int handle, uint32_t table, uint32_t recno, const Statement* read = nullptr,
                  Result* readResult = nullptr);
  // lockRecord for several records of one table, in one round trip however many are
  // tried (`read` as there, run after all of them): which this handle holds afterwards.
  std::vector<bool> lockRecords(int handle, uint32_t table, const std::vector<uint32_t>& recnos,
                                const Statement* read = nullptr, Result* readResult = nullptr);
  void unlockRecord(int handle, uint32_t table, uint32_t recno);
  // unlockRecord for several records, sent as one statement.
  void unlockRecords(int handle, uint32_t table, const std::vector<uint32_t>& recnos);
  bool lockFile(int handle, uint32_t table, const Statement* read = nullptr, Result* readResult = nullptr);
  void unlockFile(int handle, uint32_t table);
  // A new record number (from `sequence`) for an append, already locked by `handle`;
  // nullopt while another handle holds the file lock. With `lock` false (the handle holds
  // the table alone) the number is only taken.
  std::optional<uint32_t> appendLocked(int handle, uint32_t table, const std::string& sequence, bool lock);
  // appendLocked (with the lock) for `count` new records in one round trip: their numbers,
  // fewer (or none) when another handle holds the file lock.
  std::vector<uint32_t> appendLockedMany(int handle, uint32_t table, const std::string& sequence, size_t count);
  bool holdsRecord(int handle, uint32_t table, uint32_t recno) const;
  bool holdsFile(int handle, uint32_t table) const;
  std::vector<uint32_t> recordsOf(int handle, uint32_t table) const;
  // Open modes; false when the table is in use in a way that forbids this open.
  bool open(int handle, uint32_t table, bool exclusive);
  void close(int handle, uint32_t table);

  // Table definitions kept for this connection, by "FOLDER/NAME".
  struct KnownTable {
    std::shared_ptr<const TableSchema> schema;
    uint32_t oid = 0;
    bool marked = false;
  };
  const KnownTable* knownTable(const std::string& key) const;
  void rememberTable(const std::string& key, KnownTable table) { known_[key] = std::move(table); }
  void forgetTable(const std::string& key) { known_.erase(key); }
  void forgetTables() { known_.clear(); }

  // Answers of long reads kept for this connection (ServerTable).
  ReadMemo& memo() { return *memo_; }

  // The server's version text and this database's open sessions (management information).
  std::string serverVersion();

 private:
  struct Hold {
    int handle = 0;
    bool released = false;  // released inside a transaction: held until it ends
  };
  struct Opens {
    std::set<int> shared;
    int exclusive = 0;
  };
  // A message of the pipeline whose answer is still to be read.
  struct Pending {
    enum Kind { kPrepare, kQuery, kSync } kind = kQuery;
    std::string sql;
    int wanted = -1;  // where the waiting call wants its result; -1: sent without waiting
    bool answered = false;
    long ticket = 0;  // a request's, whose answer is kept for take()
  };
  struct Failure {
    bool any = false;
    long code = SE_NONE;
    std::string message, sql;
  };

  void ensureUsable();
  void fail(long code, const std::string& message, const std::string& sql = {});
  [[noreturn]] void raise(long code, const std::string& message, const std::string& sql = {});
  [[noreturn]] void lost();
  void forgetConnection();
  void enterPipeline();
  void queue(const Statement& s, int wanted, long ticket = 0);
  bool awaiting(long ticket) const;  // the request's answer has not been read yet
  void pushOut();
  void waitReadable();
  bool readOne(bool block, std::vector<Result>* results, Failure* failure);
  void drain(std::vector<Result>* results, Failure* failure);
  void absorb();
  std::vector<Result> roundTrip(const std::vector<Statement>& statements, Failure* failure);
  void raiseFailures(Failure& failure);
  template <typename F>
  long copying(const std::string& sql, F body);
  void endTransaction();
  void dropRecord(uint32_t table, uint32_t recno);
  bool releaseInBook(int handle, uint32_t table, uint32_t recno);  // true: the server lets go now

  std::string conninfo_;
  PGconn* conn_ = nullptr;
  pid_t pid_ = 0;
  long lastError_ = SE_NONE;
  std::string lastMessage_;
  bool inTransaction_ = false;
  bool lostInTransaction_ = false;
  std::map<std::string, std::string> prepared_;
  std::deque<Pending> pending_;
  long lastTicket_ = 0;
  std::map<long, Result> answers_;    // requests answered, not yet taken
  std::map<long, Failure> refusals_;  // requests that failed, not yet taken
  std::set<long> forgotten_;          // requests whose answer nobody wants
  Failure deferred_;                  // the first failure of a statement sent without waiting
  long roundTrips_ = 0, statements_ = 0;
  std::set<SessionTable*> tables_;
  std::vector<std::pair<std::string, std::vector<Param>>> rollbackWork_;
  std::map<std::string, KnownTable> known_;
  std::unique_ptr<ReadMemo> memo_;

  int lastHandle_ = 0;
  std::map<std::pair<uint32_t, uint32_t>, Hold> records_;
  std::map<uint32_t, Hold> files_;
  std::map<uint32_t, Opens> opens_;
};

// Key of the bigint advisory locks of a table.
inline long long tableLockKey(uint32_t table, int kind) {
  return (static_cast<long long>(kind) << 32) | static_cast<long long>(table);
}
inline constexpr int kFileLockKind = 1;
inline constexpr int kOpenKind = 2;

}  // namespace server
