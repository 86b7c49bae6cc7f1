// The "ADSCDX" storage driver: tables kept in the PostgreSQL server (table_schema.h), with
// the operations of lib::TableDriver and the same results as the local driver, so every
// screen runs unchanged on either.
//
// Navigation follows the engine's DbfTable: the controlling order is the tag's key column
// with the record number, a descending tag read backwards; seeks compare a character key
// as a prefix; scopes are prefix bounds (a descending tag swaps their roles); key counts
// and key numbers count every entry of the scope, deleted records included; deleted
// records are skipped (hidden, as the program runs) when reading. Each move is one keyset
// query on (key, record number). Reading forward (goTop, seek, skip ahead) fetches
// cacheRecords() rows per round trip and serves the next skips from them; any write,
// lock, order or scope change drops them. Rows cached may be older than the server's:
// locking a record reads it again, which the record protocol relies on.
//
// Changes go to the record buffer, written (one UPDATE, or the INSERT of a new record)
// when the record pointer moves, a lock is released, the table is flushed or closed, and
// before a commit. Appends take the next number of the table's sequence with its record
// lock. Locks: Session. A table opened exclusively (shared = false) is held alone and its
// records need no locks.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "lib/table_driver.h"
#include "server/session.h"
#include "server/table_schema.h"

namespace server {

class ServerTable : public lib::TableDriver, public SessionTable {
 public:
  ServerTable(std::shared_ptr<Session> session, ServerTableInfo info, bool shared, bool readOnly);
  ~ServerTable() override;

  const TableSchema& schema() const { return *schema_; }
  int cacheRecords() const { return cache_; }
  void setCacheRecords(int n) {
    cache_ = n < 1 ? 1 : n;
    dropCache();
  }

  int fieldCount() const override { return schema_->fieldCount(); }
  const xbase::Field& field(int i) const override { return schema_->field(i); }
  int fieldIndex(std::string_view name) const override;
  std::vector<xbase::FieldSpec> structure() const override { return schema_->fieldSpecs(); }

  uint32_t recCount() override;
  uint32_t recNo() const override { return recno_; }
  bool eof() const override { return eof_; }
  bool bof() const override { return bof_; }
  bool found() const override { return found_; }
  bool deleted() const override { return !eof_ && rec_.bytes[0] == '*'; }

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
  void flush() override { writeBuffer(); }
  void pack() override;

  bool lockRecord(uint32_t recno) override;
  bool lockFile() override;
  void unlockRecord(uint32_t recno) override;
  void unlockAll() override;
  bool isLocked(uint32_t recno) const override;
  std::vector<uint32_t> lockedRecords() const override;

  void beforeCommit() override { writeBuffer(); }
  void afterRollback() override;

 private:
  struct Query;
  const TableSchema::Tag* tag() const { return order_ < 0 ? nullptr : &schema_->tags()[size_t(order_)]; }
  bool descending() const { return tag() && tag()->spec.descending; }
  std::string fullKey(const std::string& prefix) const;  // a prefix padded with 0xFF
  bool inScope(const std::string& key) const;
  std::string scopeSql(Query& q, bool lowSide, bool highSide) const;
  std::string keyColumn() const;

  void requireWritable() const;
  void requireLocked(const char* what) const;
  void setDeletionMark(char mark, const char* operation);
  void goEnd(bool bottom);  // goTop / goBottom
  void writeBuffer();
  void dropCache() { cached_.clear(); }
  void setEof();
  void land(const Result& r, int row);
  void loadRecord(uint32_t recno);
  // Runs an ordered query and lands on its first row; the rest are kept when `forward`.
  bool fetch(const std::string& sql, const std::vector<Param>& params, bool forward);
  bool orderedFirst(bool fromEnd);
  bool firstEntryAfterInScope(const std::string& key, uint32_t recno, bool up);

  std::shared_ptr<Session> session_;
  std::unique_ptr<TableSchema> schema_;
  uint32_t oid_ = 0;
  int handle_ = 0;
  bool shared_ = true, readOnly_ = false;

  Record rec_;
  uint32_t recno_ = 1;
  bool eof_ = true, bof_ = true, found_ = false;
  bool dirty_ = false, pendingNew_ = false;
  bool deletedHidden_ = true;
  int order_ = -1;
  std::optional<std::string> scopeTop_, scopeBottom_;
  int cache_ = 1;
  std::deque<std::pair<uint32_t, Record>> cached_;
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
