// The "ADSCDX" storage driver: tables kept in the PostgreSQL server (table_schema.h), with
// the operations of lib::TableDriver and the same results as the local driver, so every
// screen runs unchanged on either.
//
// Navigation follows the engine's DbfTable: the controlling order is the tag's key column
// with the record number, a descending tag read backwards; seeks compare a character key
// as a prefix; scopes are prefix bounds (a descending tag swaps their roles); key counts
// and key numbers count every entry of the scope, deleted records included; deleted
// records are skipped (hidden, as the program runs) when reading. Each move the table
// cannot answer itself is one keyset query on (key, record number).
//
// Round trips are spent where the program waits for an answer:
//   - reading forward (goTop, seek, skip ahead) fetches the next rows of the order with
//     the one asked: cacheRecords() of them (ADS.DEF line 22), and twice as many each time
//     a walk uses up what was read, up to kMaxReadAhead. Skips forward, and seeks forward to
//     a key inside what was read, are answered from those rows, and so is the end of the
//     scope once a read came back short; a walk that has read ahead far asks for the next
//     rows when it is half way through those it has, without waiting, and takes them
//     when it gets there. Rows kept this way may be older than the server's: locking a
//     record reads it again, which the record protocol relies on. A
//     move elsewhere, a change of order, scope or deletion filter, an append, and a write
//     that moves the current record in the order drop them;
//   - a handle that has written nothing, once it has read kLearnRows rows, reads only the
//     fields it has looked at (and its order's key); a field it had not looked at is read
//     with the whole record when asked for (the rows read ahead with it are read again),
//     and a record about to be changed is read whole first;
//   - the answers of reads of kReadOnFrom rows or more, outside a server transaction, are
//     kept by the session (ReadMemo) with the table's change mark, read before and after
//     them in the same round trip (markSql); the same read asked again, for as many
//     rows or not, asks the server only for the mark, and uses what was kept while the
//     mark has not moved: as fresh as reading the rows again;
//   - goTo only notes the record: it is read when the program looks at it, or together with
//     its lock (one round trip for both; lockRecords reads a group of records with their
//     locks, and goTo lands on them while they are held);
//   - opening a table reads nothing until the program moves or looks (its definition is
//     kept by the Session);
//   - writes and releases are sent without waiting (Session::send): the record buffer goes
//     as one upsert when the record pointer moves, a lock is released, or the table is
//     flushed or closed (not at all when the changes left it as it was read); flush()
//     (and so closing through the table object) waits for them and reports a failure.
// While the table is held alone (opened exclusively, or under this handle's file lock),
// inside a server transaction, or while records locked together by lockRecords are held,
// nobody else can see or change what it writes until it lets go, so records written are
// collected (the last version of each) and sent as one
// statement per kBatchRows records, before anything that reads this table from the
// server, when the file lock goes, and before a commit; appends then take their record
// numbers without asking (nobody else can append), and the sequence follows with the
// batch. A process killed before a batch is sent leaves none of it, and each batch is all
// there or not at all.
//
// Appends take the next number of the table's sequence with its record lock (reserveAppends
// takes those of a group of appends in one round trip, and the group is written and let go
// as lockRecords' is). Locks:
// Session. A table opened exclusively (shared = false) is held alone and its records need
// no locks.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "lib/table_driver.h"
#include "server/read_memo.h"
#include "server/session.h"
#include "server/table_schema.h"

namespace server {

class ServerTable : public lib::TableDriver, public SessionTable {
 public:
  static constexpr int kMaxReadAhead = 2000;
  static constexpr size_t kBatchRows = 500;
  // Rows read ahead from which a walk asks for the next ones while it goes.
  static constexpr int kReadOnFrom = 64;
  // Rows a handle reads with every field before its reads bring only those it looked at.
  static constexpr long kLearnRows = 100;

  ServerTable(std::shared_ptr<Session> session, ServerTableInfo info, bool shared, bool readOnly);
  ~ServerTable() override;

  const TableSchema& schema() const { return *schema_; }
  int cacheRecords() const { return cache_; }
  void setCacheRecords(int n) {
    cache_ = n < 1 ? 1 : n;
    ahead_ = cache_;
    dropCache();
  }
  // Rows the next forward read asks for.
  int readAhead() const { return ahead_; }

  int fieldCount() const override { return schema_->fieldCount(); }
  const xbase::Field& field(int i) const override { return schema_->field(i); }
  int fieldIndex(std::string_view name) const override;
  std::vector<xbase::FieldSpec> structure() const override { return schema_->fieldSpecs(); }

  uint32_t recCount() override;
  uint32_t recNo() const override;
  bool eof() const override;
  bool bof() const override;
  bool found() const override { return found_; }
  bool deleted() const override;

  void goTo(uint32_t recno) override;
  void goTop() override;
  void goBottom() override;
  void skip(int64_t count) override;
  bool seek(const xbase::Value& key, bool soft, bool last) override;
  void setDeletedHidden(bool hidden) override;

  std::vector<std::string> tagNames() const override;
  void setOrder(std::string_view tag) override;
  std::string order() const override;
  void setScopeTop(std::optional<xbase::Value> top) override;
  void setScopeBottom(std::optional<xbase::Value> bottom) override;
  uint32_t keyCount() override;
  uint32_t keyNo() override;
  bool goToKeyNo(uint32_t keyNo) override;

  xbase::Value get(int i) const override;
  void put(int i, const xbase::Value& v) override;
  bool append() override;
  void deleteRecord() override;
  void recall() override;
  void flush() override;
  void pack() override;

  bool lockRecord(uint32_t recno) override;
  std::vector<bool> lockRecords(const std::vector<uint32_t>& recnos) override;
  size_t reserveAppends(size_t count) override;
  bool lockFile() override;
  void unlockRecord(uint32_t recno) override;
  void unlockAll() override;
  bool isLocked(uint32_t recno) const override;
  std::vector<uint32_t> lockedRecords() const override;

  void beforeCommit() override;
  void afterRollback() override;

 private:
  struct Query;
  // A row of a result, read (decoded) only as far as somebody looks at it.
  // The columns of the fields in a result that holds only some of them (-1: not there).
  using Columns = std::shared_ptr<const std::vector<int>>;
  struct Source {
    Result res;
    int row = -1;  // -1: nothing pending
    int first = 1;  // the column of _deleted
    int keyColumn = -1;
    Columns columns;  // null: every field, in order after _deleted
    int column(int i) const { return columns ? (*columns)[size_t(i)] : first + 1 + i; }
    uint32_t recno() const { return uint32_t(res.integer(row, 0)); }
    std::string key() const { return res.bytes(row, keyColumn); }  // in the controlling order
    // `other`'s row; a walk moves from row to row of one result without touching its
    // reference counts.
    void point(const Source& other);
  };
  // The rows read ahead, in the walk's order, are those of each result of cached_ from its
  // `row` on: cachedRows_ in all.
  Source aheadAt(size_t i) const;
  void dropAhead(size_t n);
  void clearAhead();
  const std::optional<std::string>& previousKey() const;
  void setPreviousKey(std::optional<std::string> key);
  void setPreviousSource(const Source& at);  // the previous key, read from `at` when asked for
  const TableSchema::Tag* tag() const { return order_ < 0 ? nullptr : &schema_->tags()[size_t(order_)]; }
  bool descending() const { return tag() && tag()->spec.descending; }
  std::string fullKey(const std::string& prefix) const;  // a prefix padded with 0xFF
  bool inScope(const std::string& key) const;
  std::string scopeSql(Query& q, bool lowSide, bool highSide) const;
  std::string keyColumn() const;
  // The row, and the key of the order when there is one; only the fields looked at once a
  // handle that only reads has read kLearnRows rows
  // (listColumns_ says which, null for all).
  std::string selectList() const;
  int keyColumnOf(const Columns& columns) const;
  void completeRow() const;  // the current row read whole, for a field it did not bring

  bool alone() const;
  bool batching() const { return alone() || session_->inTransaction() || !group_.empty(); }
  void releaseGroup();
  void requireWritable() const;
  void requireLocked(const char* what) const;
  void setDeletionMark(char mark, const char* operation);
  void goEnd(bool bottom);  // goTop / goBottom
  void writeBuffer();
  void noteBefore();  // keeps the record as read before its first change
  void flushBatch();
  void sendWrite(const std::string& sql, std::vector<Param> params);
  void dropCache();
  void setEof();
  void land(const Result& r, int row, const Columns& columns = nullptr);
  void landOnAhead();  // on the first row read ahead, which goes
  void takeFrom(const Source& source);
  // The current record complete (decoded from its row when it was not yet).
  const Record& record() const;
  Record& record() { return const_cast<Record&>(static_cast<const ServerTable*>(this)->record()); }
  const std::optional<std::string>& currentKey() const;
  Statement loadStatement(uint32_t recno) const;
  Statement loadStatement(const std::vector<uint32_t>& recnos) const;  // a row per number, in order
  void applyLoad(const Result& r, uint32_t recno, int row = 0);
  void loadRecord(uint32_t recno);
  void materialize() const;  // reads what goTo (or the opening) only noted
  // Runs an ordered query and lands on its first row; the rest are kept when `forward`
  // (`limit` rows were asked for).
  bool fetch(const std::string& sql, const std::vector<Param>& params, bool forward, int limit);
  // Answers of long reads kept by the session (ReadMemo): whether this read may use them,
  // the kept answer of a read when the table's mark has not moved since (stillGood: as a
  // read of markSql() says), and keeping an answer read from the server (`limit` rows
  // asked for).
  bool memoUsable() const { return marked_ && !session_->inTransaction(); }
  std::string memoKey(const std::string& sql, const std::vector<Param>& params, int limit) const;
  std::string markSql() const;
  void noteMark(const Result& mark);  // quietMark_ from a read of markSql()
  std::optional<ReadMemo::Answer> kept(const std::string& key);
  std::optional<ReadMemo::Answer> stillGood(const std::string& key, const Result& mark);
  // A read sent without waiting (Session::request); when `marked`, between two reads of
  // the table's mark (the first may be one read earlier), and its answer is kept (under
  // `key`) when they agree.
  struct Asked {
    long before = 0, read = 0, after = 0;  // tickets; 0: not asked
    std::optional<long long> quietBefore;  // the mark read earlier, in place of `before`
  };
  Asked ask(const std::string& sql, const std::vector<Param>& params, bool marked);
  Result take(const Asked& a, const std::string& key, int limit);  // keeps it when it may
  void forget(const Asked& a);
  void keepAhead(const Result& r, int limit, const Columns& columns);
  void readOnWhileWalking();
  bool takeReadOn();
  bool orderedFirst(bool fromEnd);
  bool firstEntryAfterInScope(const std::string& key, uint32_t recno, bool up);
  std::optional<bool> seekAhead(const std::string& key, bool soft);
  uint32_t serverCount();

  std::shared_ptr<Session> session_;
  std::shared_ptr<const TableSchema> schema_;
  uint32_t oid_ = 0;
  int handle_ = 0;
  bool shared_ = true, readOnly_ = false;
  bool marked_ = false;  // the table has its change mark
  std::optional<long long> quietMark_;  // the last read of the mark, when it was quiet

  mutable Record rec_;
  mutable Source source_;                 // where the rest of rec_ still is
  mutable std::vector<bool> decoded_;     // fields of rec_ taken from source_
  mutable bool blanked_ = false;          // rec_ blanked for source_'s fields
  uint32_t recno_ = 0;
  bool eof_ = false, bof_ = false, found_ = false;
  bool loaded_ = false;       // false: recno_ noted (0: the first record) and not read yet
  bool recnoKnown_ = true;    // false at end of file until somebody asks
  mutable std::optional<std::string> key_;  // of the current record in the order, as read
  // The key of the entry just before the current one, when a walk forward came from it.
  mutable std::optional<std::string> previousKey_;
  mutable Source previousSource_;  // where previousKey_ is still to be read from
  bool dirty_ = false, pendingNew_ = false;
  // The bytes of the record as read, while it is changed: a write that changes nothing is
  // not sent (unset for new records and records with a memo assigned).
  std::optional<std::vector<uint8_t>> before_;
  bool deletedHidden_ = true;
  int order_ = -1;
  std::optional<std::string> scopeTop_, scopeBottom_;
  int cache_ = 1, ahead_ = 1;
  std::deque<Source> cached_;
  size_t cachedRows_ = 0;
  bool cachedToEnd_ = false;    // the rows read ahead reach the end of the scope
  std::optional<Asked> readOn_;  // the request for the rows after those
  int readOnLimit_ = 0;
  // The read-on's statement; when its answer was kept, only the mark was asked for.
  std::string readOnSql_, readOnKey_;
  std::vector<Param> readOnParams_;
  bool readOnRecalls_ = false;
  Columns readOnColumns_;
  mutable Columns listColumns_;  // of the last selectList()
  // What the handle looked at: the fields, and how many rows it landed on; a handle that
  // wrote reads whole rows.
  mutable std::vector<bool> looked_;
  long landed_ = 0;
  bool wrote_ = false;
  uint32_t knownCount_ = 0;  // records the table is known to have at least
  std::map<uint32_t, Record> batch_;
  // Records read together with their locks (lockRecords): row of lockedRead_ by number,
  // landed on by goTo while the lock is held.
  Result lockedRead_;
  std::map<uint32_t, int> lockedRows_;
  // The records of the last lockRecords still held, and those of it already let go, whose
  // writes and releases wait for the rest: the group's writes go as one batch, then its
  // releases as one statement.
  std::set<uint32_t> group_;
  std::vector<uint32_t> groupReleased_;
  std::deque<uint32_t> reserved_;      // numbers reserveAppends took, for the next appends (in group_)
  std::optional<uint32_t> nextLocal_;  // the next record number while held alone
  bool unsynced_ = false;              // writes sent and not yet confirmed
};

// The "ADSCDX" driver: opens, creates and finds tables on the session of the process
// state's PgClient.
class ServerDriver : public lib::StorageDriver {
 public:
  std::string name() const override { return "ADSCDX"; }
  std::unique_ptr<lib::TableDriver> open(const std::string& path, bool shared, bool readOnly) override;
  void create(const std::string& path, const std::vector<xbase::FieldSpec>& fields) override;
  bool exists(const std::string& path) override;
};

// Makes the process state use the PostgreSQL client, unless a client other than the
// default NoServer is already there (tests install their own), and registers the
// "ADSCDX" driver. Start-up calls it when ADS.DEF is present.
void installPostgresClient();

}  // namespace server
