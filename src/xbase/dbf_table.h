// An open DBF table with its structural CDX index and its memo file: one work area.
//
// A DbfTable is one handle on a table, with its own current record, controlling order,
// scopes and locks. Two handles on one table (in one process or in two) behave as two
// workstations: they see each other's committed writes and conflict on locks.
//
// Values cross this interface as UTF-8 text, numbers, Julian dates and logicals (value.h);
// character fields come back blank-padded to their width. Changes go to a record buffer:
// put() changes the buffer, and the buffer is written (memos, then the record, then the
// index keys) by flush(), which runs by itself before the record pointer moves, before a
// lock is released and when the table is closed. In a shared table only a locked record
// (or any record under the file lock) may be changed.
//
// Locks follow LockScheme. None of the lock calls waits: each answers at once, and the
// caller's protocol decides whether to try again. Locking a record re-reads it, so the
// values seen after a successful lock are the latest ones any process wrote.
//
// Write order and crashes. An append writes the blank record and the end-of-file mark,
// then the header (record count and date); the record's index keys follow when its
// buffer is flushed. An update writes memo blocks, then the record, then the keys. A
// process killed at any instant therefore leaves a header that never counts a record that
// is not completely on disk, and at worst index keys missing or stale for the last
// records, which `check` reports and `reindex` rebuilds. While the table is held alone
// (exclusive open or file lock) appended records, header and index nodes are collected in
// memory and written together when the lock is released, the table is flushed or closed,
// or the collected data grows large; a process killed before that loses those records
// and nothing else.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xbase/cdx_index.h"
#include "xbase/codepage.h"
#include "xbase/dbf_header.h"
#include "xbase/expr.h"
#include "xbase/field_codec.h"
#include "xbase/file.h"
#include "xbase/fpt_memo.h"
#include "xbase/lock_scheme.h"
#include "xbase/value.h"

namespace xbase {

struct OpenOptions {
  bool shared = true;
  bool readOnly = false;
};

// A tag as a caller declares it: "NAME: EXPR [FOR EXPR] [UNIQUE] [DESCENDING] [CANDIDATE]".
struct TagSpec {
  std::string name;
  std::string keyExpr;  // UTF-8
  std::string forExpr;
  bool unique = false;
  bool descending = false;
  bool candidate = false;

  static TagSpec parse(std::string_view text);
};

// One fault `check` found.
struct CheckReport {
  std::vector<std::string> problems;  // index and table disagree, or the index is damaged
  std::vector<std::string> notes;     // what could not be checked, and why
  bool ok() const { return problems.empty(); }
};

class DbfTable {
 public:
  static std::unique_ptr<DbfTable> open(const std::string& path, OpenOptions options = {});
  // Creates (or replaces) a table, its FPT when a memo field exists and its CDX when tags
  // are given. Text of the new table is stored in `codePage`.
  static void create(const std::string& path, const std::vector<FieldSpec>& fields,
                     const std::vector<TagSpec>& tags = {}, const CodePage& codePage = CodePage::windows1252());
  ~DbfTable();

  DbfTable(const DbfTable&) = delete;
  DbfTable& operator=(const DbfTable&) = delete;

  // Structure.
  const std::string& path() const { return file_.path(); }
  const DbfHeader& header() const { return header_; }
  int fieldCount() const { return int(visible_.size()); }
  const Field& field(int i) const { return header_.fields[size_t(visible_.at(size_t(i)))]; }
  int fieldIndex(std::string_view name) const;  // -1 when there is no such field
  const CodePage& codePage() const { return *codePage_; }
  bool shared() const { return options_.shared; }
  bool readOnly() const { return options_.readOnly; }
  const CdxIndex* index() const { return index_.get(); }

  // Position.
  uint32_t recCount();  // current count (in a shared table, as the file says now)
  uint32_t recNo() const { return recno_; }
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  bool deleted() const { return !eof_ && record_[0] == '*'; }

  void goTo(uint32_t recno);
  void goTop();
  void goBottom();
  void skip(int64_t count = 1);
  // Seeks in the controlling order. A character key shorter than the tag's key matches as a
  // prefix. Without `soft`, a miss goes to end of file; with it, to the next higher key.
  // `last` finds the last of equal keys instead of the first.
  bool seek(const Value& key, bool soft = false, bool last = false);
  bool seek(std::string_view text, bool soft = false, bool last = false) {
    return seek(Value::chars(std::string(text)), soft, last);
  }
  // Deleted records are skipped by navigation (the program runs with this on).
  void setDeletedHidden(bool hidden) { deletedHidden_ = hidden; }
  bool deletedHidden() const { return deletedHidden_; }

  // Orders and scopes.
  std::vector<std::string> tagNames() const;
  const TagInfo* tagInfo(std::string_view name) const;
  void setOrder(std::string_view tag);  // "" = natural order; throws EG_NOORDER
  std::string order() const;
  void setScopeTop(std::optional<Value> top);
  void setScopeBottom(std::optional<Value> bottom);
  void setScope(std::optional<Value> top, std::optional<Value> bottom);
  void clearScope() { setScope(std::nullopt, std::nullopt); }
  // Key counts and numbers are taken from the index, never by reading records; records
  // marked deleted but still in the index are counted.
  uint32_t keyCount();
  uint32_t keyNo();  // 0 at end of file or when the record is not in the order
  bool goToKeyNo(uint32_t keyNo);

  // Fields of the current record.
  Value get(int i) const;
  Value get(std::string_view name) const { return get(requireField(name)); }
  std::string getString(std::string_view name) const;  // UTF-8, blank-padded
  double getNumber(std::string_view name) const;
  int32_t getDate(std::string_view name) const;
  bool getLogical(std::string_view name) const;
  void put(int i, const Value& v);
  void put(std::string_view name, const Value& v) { put(requireField(name), v); }
  void putString(std::string_view name, std::string_view utf8) { put(name, Value::chars(std::string(utf8))); }
  void putNumber(std::string_view name, double n) { put(name, Value::num(n)); }
  void putDate(std::string_view name, int32_t julian) { put(name, Value::date(julian)); }
  void putLogical(std::string_view name, bool b) { put(name, Value::boolean(b)); }

  // Changes.
  // Appends a blank record and makes it current and locked. False when another handle
  // holds the append lock (or the file lock).
  bool append();
  void deleteRecord();
  void recall();
  // Writes everything this handle holds back: the record buffer, deferred appends and
  // index nodes (xBase COMMIT).
  void flush();

  // Locks.
  bool lockRecord(uint32_t recno = 0);  // 0: the current record
  bool lockFile();
  bool lockAppend();
  void unlockAppend();
  void unlockRecord(uint32_t recno);
  void unlockAll();
  bool isLocked(uint32_t recno) const;
  bool fileLocked() const { return fileLock_; }
  std::vector<uint32_t> lockedRecords() const { return {recordLocks_.begin(), recordLocks_.end()}; }

  // Maintenance; these need the table opened exclusively.
  void createTag(const TagSpec& spec);
  void deleteTag(std::string_view name);
  void reindex();
  void pack();

  CheckReport check();

  // Field `i` of the current record as the file holds it (numbers as written, dates
  // YYYYMMDD, logicals T/F, text right-trimmed and in UTF-8).
  std::string rawFieldText(int i) const;
  // The bytes character field `i` holds in the current record (code-page bytes, blanks
  // included), valid until the record changes; nullopt for a field of another type or a
  // null value. For readers that only parse digits or codes.
  std::optional<std::string_view> charBytes(int i) const;

  // Key of the current record in `tag` (code-page bytes); nullopt when the FOR condition
  // leaves the record out.
  std::optional<std::string> currentKey(std::string_view tag) const;

 private:
  struct TagRuntime {
    CdxTag* tag = nullptr;
    std::optional<Expr> key;
    std::optional<Expr> filter;
    bool maintainable = false;
    bool readable = true;
    std::string why;  // when not maintainable
  };
  class RecordContext;

  DbfTable() = default;
  int requireField(std::string_view name) const;
  void openIndex();
  void compileTags();
  void requireExclusive(const char* operation) const;
  void requireWritable() const;
  void requireRecordLock() const;  // the current record's lock, or the file's, when shared
  void setDeletionMark(char mark);
  void goEnd(bool bottom);  // goTop / goBottom

  // Records.
  void readRecord(uint32_t recno, std::vector<uint8_t>& into) const;
  void writeRecord(uint32_t recno, const std::vector<uint8_t>& bytes);
  void load(uint32_t recno);
  void setEof();
  uint32_t diskCount();
  void mapHeader();
  void writeHeaderCount(uint32_t count);
  void writeBuffer();  // the record buffer, into the file (or the deferred appends)
  void flushAppends();
  bool deferred() const { return !options_.shared || fileLock_; }

  // Index maintenance.
  std::optional<std::string> keyFor(const TagRuntime& t, const std::vector<uint8_t>& rec, uint32_t recno,
                                    bool ignoreFor = false) const;
  void updateKeys(const std::vector<uint8_t>* before, const std::vector<uint8_t>& after, uint32_t recno);
  void rebuildTag(TagRuntime& t);

  // Navigation in the controlling order.
  template <typename F>
  auto readingIndex(F&& body) -> decltype(body());
  TagRuntime* current() { return order_ < 0 ? nullptr : &tags_[size_t(order_)]; }
  bool descending() const;
  std::string scopeKey(const Value& v) const;
  std::optional<std::string> scopeBound(const std::optional<Value>& v);  // a scope end in the current order
  bool inScope(std::string_view key) const;
  bool orderFirst(TagCursor& c, bool fromEnd);
  bool orderStep(TagCursor& c, int direction);
  bool syncCursor();
  bool visible(uint32_t recno);
  void landOn(const TagCursor& c);
  void scopeBounds(uint32_t& lo, uint32_t& hi);

  File file_;
  OpenOptions options_;
  DbfHeader header_;
  std::unique_ptr<FieldCodec> codec_;
  std::vector<int> visible_;
  const CodePage* codePage_ = nullptr;
  std::unique_ptr<FptMemo> memo_;
  std::unique_ptr<CdxIndex> index_;
  std::vector<TagRuntime> tags_;
  std::optional<LockScheme> locks_;

  // Current record.
  std::vector<uint8_t> record_;
  uint32_t recno_ = 1;
  bool eof_ = true, bof_ = true, found_ = false;
  bool dirty_ = false, pendingNew_ = false;
  std::unordered_map<int, std::string> pendingMemos_;
  bool deletedHidden_ = false;

  // Order.
  int order_ = -1;
  TagCursor cursor_;
  bool cursorSynced_ = false;
  std::optional<std::string> scopeTop_, scopeBottom_;

  // Locks and deferred appends.
  std::set<uint32_t> recordLocks_;
  bool fileLock_ = false;
  bool appendLock_ = false;
  uint32_t count_ = 0;  // records on disk, as last read
  // The header's first bytes mapped, so that the count others write is read without a
  // system call; and the file's size when last asked (a shared table never shrinks).
  std::shared_ptr<const uint8_t> head_;
  uint64_t knownSize_ = 0;
  std::vector<uint8_t> appendBuffer_;
  uint32_t appendFirst_ = 0;  // record number of the first buffered record
  uint32_t appendCount_ = 0;
  int writtenDay_ = -1;
};

}  // namespace xbase
