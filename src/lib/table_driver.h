// One table opened by a storage driver, in one work area: the operations table objects
// use, whatever keeps the data (files of the shared folder, or the database server).
//
// Values are UTF-8 text, numbers, Julian dates and logicals (xbase/value.h); the lock calls
// answer at once and never wait (the record protocol retries). Failures are xbase::Error.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "xbase/dbf_header.h"
#include "xbase/dbf_table.h"
#include "xbase/value.h"

namespace lib {

class TableDriver {
 public:
  virtual ~TableDriver() = default;

  virtual int fieldCount() const = 0;
  virtual const xbase::Field& field(int i) const = 0;
  virtual int fieldIndex(std::string_view name) const = 0;
  virtual std::vector<xbase::FieldSpec> structure() const = 0;

  virtual uint32_t recCount() = 0;
  virtual uint32_t recNo() const = 0;
  virtual bool eof() const = 0;
  virtual bool bof() const = 0;
  virtual bool found() const = 0;
  virtual bool deleted() const = 0;

  virtual void goTo(uint32_t recno) = 0;
  virtual void goTop() = 0;
  virtual void goBottom() = 0;
  virtual void skip(int64_t count) = 0;
  virtual bool seek(const xbase::Value& key, bool soft, bool last) = 0;
  virtual void setDeletedHidden(bool hidden) = 0;

  virtual std::vector<std::string> tagNames() const = 0;
  virtual void setOrder(std::string_view tag) = 0;
  virtual std::string order() const = 0;
  virtual void setScopeTop(std::optional<xbase::Value> top) = 0;
  virtual void setScopeBottom(std::optional<xbase::Value> bottom) = 0;
  virtual uint32_t keyCount() = 0;
  virtual uint32_t keyNo() = 0;
  virtual bool goToKeyNo(uint32_t keyNo) = 0;

  virtual xbase::Value get(int i) const = 0;
  // Character field `i` as stored (blanks included), when the driver holds the record's
  // bytes: a cheaper read for digits and codes. nullopt: read it with get.
  virtual std::optional<std::string_view> charBytes(int) const { return std::nullopt; }
  virtual void put(int i, const xbase::Value& v) = 0;
  virtual bool append() = 0;
  virtual void deleteRecord() = 0;
  virtual void recall() = 0;
  virtual void flush() = 0;
  // Removes the deleted records for good (the table opened exclusively).
  virtual void pack() = 0;

  virtual bool lockRecord(uint32_t recno) = 0;
  // Tries the locks of several records at once (one request, where a request costs a
  // round trip): which of them this handle holds afterwards. Each taken is released as
  // lockRecord's are. What a lock taken this way reads with it is what goTo lands on.
  virtual std::vector<bool> lockRecords(const std::vector<uint32_t>& recnos) {
    std::vector<bool> taken;
    taken.reserve(recnos.size());
    for (uint32_t r : recnos) taken.push_back(lockRecord(r));
    return taken;
  }
  // Takes the record numbers of the next `count` appends at once (one request, where a
  // request costs a round trip), each locked as append() locks it; append() then uses them
  // without asking. How many were taken (none where appending one by one costs no more).
  virtual size_t reserveAppends(size_t /*count*/) { return 0; }
  virtual bool lockFile() = 0;
  virtual void unlockRecord(uint32_t recno) = 0;
  virtual void unlockAll() = 0;
  virtual bool isLocked(uint32_t recno) const = 0;
  virtual std::vector<uint32_t> lockedRecords() const = 0;
};

// The files of the shared folder, through our storage engine.
class LocalTable : public TableDriver {
 public:
  explicit LocalTable(std::unique_ptr<xbase::DbfTable> table) : t_(std::move(table)) {}
  xbase::DbfTable& engine() { return *t_; }

  int fieldCount() const override { return t_->fieldCount(); }
  const xbase::Field& field(int i) const override { return t_->field(i); }
  int fieldIndex(std::string_view name) const override { return t_->fieldIndex(name); }
  std::vector<xbase::FieldSpec> structure() const override;

  uint32_t recCount() override { return t_->recCount(); }
  uint32_t recNo() const override { return t_->recNo(); }
  bool eof() const override { return t_->eof(); }
  bool bof() const override { return t_->bof(); }
  bool found() const override { return t_->found(); }
  bool deleted() const override { return t_->deleted(); }

  void goTo(uint32_t recno) override { t_->goTo(recno); }
  void goTop() override { t_->goTop(); }
  void goBottom() override { t_->goBottom(); }
  void skip(int64_t count) override { t_->skip(count); }
  bool seek(const xbase::Value& key, bool soft, bool last) override { return t_->seek(key, soft, last); }
  void setDeletedHidden(bool hidden) override { t_->setDeletedHidden(hidden); }

  std::vector<std::string> tagNames() const override { return t_->tagNames(); }
  void setOrder(std::string_view tag) override { t_->setOrder(tag); }
  std::string order() const override { return t_->order(); }
  void setScopeTop(std::optional<xbase::Value> top) override { t_->setScopeTop(std::move(top)); }
  void setScopeBottom(std::optional<xbase::Value> bottom) override { t_->setScopeBottom(std::move(bottom)); }
  uint32_t keyCount() override { return t_->keyCount(); }
  uint32_t keyNo() override { return t_->keyNo(); }
  bool goToKeyNo(uint32_t keyNo) override { return t_->goToKeyNo(keyNo); }

  xbase::Value get(int i) const override { return t_->get(i); }
  std::optional<std::string_view> charBytes(int i) const override { return t_->charBytes(i); }
  void put(int i, const xbase::Value& v) override { t_->put(i, v); }
  bool append() override { return t_->append(); }
  void deleteRecord() override { t_->deleteRecord(); }
  void pack() override { t_->pack(); }
  void recall() override { t_->recall(); }
  void flush() override { t_->flush(); }

  bool lockRecord(uint32_t recno) override { return t_->lockRecord(recno); }
  bool lockFile() override { return t_->lockFile(); }
  void unlockRecord(uint32_t recno) override { t_->unlockRecord(recno); }
  void unlockAll() override { t_->unlockAll(); }
  bool isLocked(uint32_t recno) const override { return t_->isLocked(recno); }
  std::vector<uint32_t> lockedRecords() const override { return t_->lockedRecords(); }

 private:
  std::unique_ptr<xbase::DbfTable> t_;
};

// A storage driver: "DBFCDX" for the shared folder, "ADSCDX" for the database server.
class StorageDriver {
 public:
  virtual ~StorageDriver() = default;
  virtual std::string name() const = 0;
  // Opens the table at `path` (with its index and memo files); a table held elsewhere in a
  // way that forbids this open throws an xbase::Error that can be retried.
  virtual std::unique_ptr<TableDriver> open(const std::string& path, bool shared, bool readOnly) = 0;
  // Creates an empty table with this structure (no index).
  virtual void create(const std::string& path, const std::vector<xbase::FieldSpec>& fields) = 0;
  virtual bool exists(const std::string& path) = 0;
};

class LocalDriver : public StorageDriver {
 public:
  std::string name() const override { return "DBFCDX"; }
  std::unique_ptr<TableDriver> open(const std::string& path, bool shared, bool readOnly) override;
  void create(const std::string& path, const std::vector<xbase::FieldSpec>& fields) override;
  bool exists(const std::string& path) override;
};

}  // namespace lib
