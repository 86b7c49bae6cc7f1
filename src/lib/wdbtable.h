// Table objects: the handle through which the program reads and writes a table. A
// WDBTable owns one work area; each of its operations acts on that area whatever area is
// selected. Fields are read and written by name (or by number, 1-based as in xBase);
// values are UTF-8 text, numbers, Julian dates and logicals.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lib/money.h"
#include "lib/work_areas.h"
#include "xbase/value.h"

namespace lib {

using xbase::Value;

class WTable {
 public:
  virtual ~WTable() = default;
  virtual void Init() {}
  virtual void Axit() {}
};

class WDBTable : public WTable {
 public:
  WDBTable(int area, void* parent);
  ~WDBTable() override;
  WDBTable(const WDBTable&) = delete;
  WDBTable& operator=(const WDBTable&) = delete;

  // Members of the program's table object.
  std::string Cargo;  // "" for a shared table; "BORRAR" ("->" + index path) for a temporary one
  std::string Alias;
  int Area = 0;
  std::string Name;
  std::string RDD;
  int SEARCH_TXT = 0;
  void* oParent = nullptr;

  // Registers the table (open-table registry, text search); Axit undoes it and closes the area.
  // A last change that cannot be written throws xbase::Error, once the area is closed.
  void Init() override;
  void Axit() override;
  // Closes the object and, for a temporary table, erases its data, memo and index files
  // (what KILLTABLA does when the table is not kept in the file bag); throws as Axit does.
  // The destructor does it for an object nobody released, and shows such a failure in a
  // message box, since it cannot throw.
  void Release();
  // Lets go of the area without closing it (the file bag keeps it).
  void detach() { registered_ = false; }

  bool Append();
  void Commit();
  std::vector<xbase::FieldSpec> DBStruct() const;
  void Delete();
  void Pack();  // see PACK_TABLE: the table must be open exclusively
  void Recall();
  bool Deleted() const;
  bool Eof() const;  // EOF() of the program (the C library owns that name)
  bool Bof() const;
  int FCount() const;
  Value FieldGet(int pos) const;  // 1-based
  Value FieldGet(std::string_view name) const;
  std::string FieldName(int pos) const;
  int FieldPos(std::string_view name) const;  // 0 when there is no such field
  void FieldPut(int pos, const Value& v);
  void FieldPut(std::string_view name, const Value& v);
  bool FLock();
  bool Found() const;
  void GoBottom();
  void GoTo(uint32_t recno);
  void GoTop();
  uint32_t LastRec();
  uint32_t RecCount();
  uint32_t RecNo() const;
  void RecNo(uint32_t recno) { GoTo(recno); }
  bool RLock(uint32_t recno = 0);
  bool Seek(const Value& key, bool soft = false, bool last = false);
  bool Seek(std::string_view key, bool soft = false, bool last = false) {
    return Seek(Value::chars(std::string(key)), soft, last);
  }
  void Skip(int64_t count = 1);
  void Unlock();
  bool Used() const;

  // Orders and scopes, as the screens and the grid use them.
  void SetOrder(std::string_view tag);
  std::string Order() const;
  std::vector<std::string> Tags() const;
  void SetScope(std::optional<Value> top, std::optional<Value> bottom);
  void SetScopeTop(std::optional<Value> top);
  void SetScopeBottom(std::optional<Value> bottom);
  void ClearScope() { SetScope(std::nullopt, std::nullopt); }
  // The records whose key on the current order begins with `prefix` (a business unit...).
  void SetScope(const std::string& prefix) { SetScope(Value::chars(prefix), Value::chars(prefix)); }
  uint32_t KeyCount();
  uint32_t KeyNo();
  bool GoToKeyNo(uint32_t keyNo);

  // Typed reading of the current record by field name.
  std::string S(std::string_view field) const;  // text, right-trimmed
  double N(std::string_view field) const;       // number (0 for a null)
  int32_t D(std::string_view field) const;      // Julian date (0 = empty)
  bool L(std::string_view field) const;         // logical
  bool HasField(std::string_view field) const { return FieldPos(field) > 0; }
  // An amount, rate or factor field as an exact decimal (lib/money.h).
  Money M(std::string_view field) const;
  void FieldPut(std::string_view field, Money amount) { FieldPut(field, Value::num(amount.number())); }
  // The width of a field (0 when the table has no such field).
  size_t FieldWidth(std::string_view field) const;
  // `value` blank-padded to the width of `field`: a part of a seek key.
  std::string KeyPart(std::string_view field, const std::string& value) const;

  TableDriver& driver() const;
  WorkArea& workArea() const;

 private:
  int fieldIndex(std::string_view name) const;  // 0-based; throws when missing
  bool registered_ = false;
};

}  // namespace lib
