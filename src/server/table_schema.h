// How a DBF table lives in the server database.
//
// Every table is one SQL table in the connection's current schema (the first of its
// search_path), named after the table: "rooms" for BASES/ROOMS.DBF, and, for a table of
// another folder, the folder and the name joined by "__" ("profile__tmp_rom2",
// "temp__t1234567_cnf"). Its columns:
//   _recno    integer primary key: the record number, 1..N like the DBF's
//   _deleted  boolean: the deletion mark
//   one column per field, lower-case name:
//     C       varchar(width), blank-padded, UTF-8 (bytea for binary fields); the
//             code-page byte 0x00, which text cannot hold, travels as U+2400
//     N F     numeric, as the DBF holds the number (NULL for a blank field)
//     D       date (NULL for the empty date)      L  boolean (NULL when blank)
//     I       integer     B  double precision     Y  numeric(19,4)   T  timestamp(3)
//     M       text (NULL when empty); G, W and binary memos bytea
//   _k_<tag>  bytea per index tag: the tag's key exactly as the CDX holds it, computed by
//             our expression code from the code-page bytes (NULL when the tag's FOR
//             condition leaves the record out), with a B-tree index on (_k_<tag>, _recno).
// A sequence <table>__recno hands out record numbers. A record number without a row reads
// as a blank deleted record (a crash inside a transaction can leave one). A sequence
// <table>__mark is the table's change mark: after every statement that changes the table,
// a trigger sets it to the changing transaction's id (ServerTable keeps the answers of
// long reads while the mark stays where it was; tables made before it have none).
//
// A record is written whole: one INSERT ... ON CONFLICT (_recno) DO UPDATE (upsertSql),
// which also gives its row back to a number that had none; many records at once go as one
// such statement over arrays, one per column (batchSql), or as COPY text (copyLine).
//
// The table xb_tables lists the tables with their folder, name, code page, fields and tags
// (tags in the text TagSpec::parse reads), which is all a reader needs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "server/session.h"
#include "xbase/codepage.h"
#include "xbase/dbf_header.h"
#include "xbase/dbf_table.h"
#include "xbase/expr.h"
#include "xbase/field_codec.h"
#include "xbase/key_codec.h"

namespace server {

// A record as the driver holds it: the DBF record bytes (deletion mark first) and the
// memo texts in code-page bytes, by field number.
struct Record {
  std::vector<uint8_t> bytes;
  std::map<int, std::string> memos;
};

// Where a table of a path lives: the folder relative to the program folder (G().PATH),
// or else the path's last folder; the name without ".DBF".
struct TableName {
  std::string folder;  // upper case, "/" separated: "BASES", "BASES/SUB1", "TEMP"
  std::string name;    // upper case: "ROOMS", "T1234567.CNF"
  std::string sql;     // the SQL table name
};
TableName tableNameFor(const std::string& path);
TableName tableNameOf(const std::string& folder, const std::string& name);

std::string quoteIdent(const std::string& id);

class TableSchema {
 public:
  struct Tag {
    xbase::TagSpec spec;
    std::optional<xbase::Expr> key;
    std::optional<xbase::Expr> filter;
    xbase::KeyKind kind = xbase::KeyKind::Char;
    int length = 0;
    std::string column;
  };

  TableSchema(TableName name, std::vector<xbase::FieldSpec> fields, std::vector<xbase::TagSpec> tags,
              const xbase::CodePage& codePage);
  TableSchema(const TableSchema&) = delete;
  TableSchema& operator=(const TableSchema&) = delete;

  const TableName& name() const { return name_; }
  const std::vector<xbase::FieldSpec>& fieldSpecs() const { return specs_; }
  const std::vector<xbase::TagSpec> tagSpecs() const;
  const xbase::DbfHeader& header() const { return header_; }
  const xbase::FieldCodec& codec() const { return *codec_; }
  const xbase::CodePage& codePage() const { return *codePage_; }
  const std::vector<Tag>& tags() const { return tags_; }
  int tagIndex(std::string_view name) const;  // -1 when absent
  int fieldCount() const { return int(header_.fields.size()); }
  const xbase::Field& field(int i) const { return header_.fields[size_t(i)]; }
  bool isTextField(int i) const;

  // "_recno", "_deleted" and the field columns, quoted and comma-separated.
  const std::string& selectList() const { return select_; }
  const std::string& column(int i) const { return columns_[size_t(i)]; }  // field i's, quoted
  const std::string& quotedTable() const { return quoted_; }
  const std::string& quotedSequence() const { return sequence_; }
  const std::string& quotedMark() const { return mark_; }

  // The statements that create the table, its indexes (unless `indexes` is false: a bulk
  // load creates them after the rows) and sequence and list it; and those of the indexes.
  std::vector<std::pair<std::string, std::vector<Param>>> createStatements(bool indexes = true) const;
  std::vector<std::pair<std::string, std::vector<Param>>> indexStatements() const;
  // The whole row written (parameters from rowParams): INSERT, or the upsert that also
  // rewrites an existing one.
  const std::string& insertSql() const { return insert_; }
  const std::string& upsertSql() const { return upsert_; }
  std::vector<Param> rowParams(const Record& r, uint32_t recno) const;
  // The upsert of many rows: one array parameter per column (batchParams).
  const std::string& batchSql() const { return batch_; }
  std::vector<Param> batchParams(const std::vector<std::pair<uint32_t, const Record*>>& rows) const;
  // The columns COPY names (the row's columns, keys included) and one line of COPY text.
  const std::string& copyColumns() const { return copyColumns_; }
  std::string copyLine(const Record& r, uint32_t recno) const;

  // One column value as the server sends it in text: the bytes, or null.
  struct Cell {
    const char* data = nullptr;
    size_t length = 0;
    bool null = true;
  };
  // Fills `into` from the row's columns `first`.. (in selectList order, after _recno).
  void readRow(const Result& res, int row, int first, Record& into) const;
  // The same from cells: _deleted, then the fields in order.
  void readCells(const Cell* cells, Record& into) const;
  // Field `i` alone, from column `col` of the row, into a blank record (a null leaves the
  // field blank).
  void readField(const Result& res, int row, int col, int i, Record& into) const;
  void blank(Record& r) const;

  // The key of `r` in tag `t`; nullopt when its FOR condition leaves the record out.
  std::optional<std::string> key(const Tag& t, const Record& r, uint32_t recno, bool ignoreFor = false) const;
  // A seek or scope value as key bytes (character values as a prefix, as the CDX compares).
  std::string keyOf(const Tag& t, const xbase::Value& v) const;

  // The text forms kept in xb_tables.
  static std::string fieldsText(const std::vector<xbase::FieldSpec>& fields);
  static std::vector<xbase::FieldSpec> parseFields(const std::string& text);
  static std::string tagsText(const std::vector<xbase::TagSpec>& tags);
  static std::vector<xbase::TagSpec> parseTags(const std::string& text);

 private:
  std::string sqlType(const xbase::FieldSpec& f) const;
  static std::string arrayType(const xbase::FieldSpec& f);
  Param fieldParam(const Record& r, int i) const;
  void putColumn(Record& r, int i, const Cell& c) const;

  TableName name_;
  std::vector<xbase::FieldSpec> specs_;
  const xbase::CodePage* codePage_;
  xbase::DbfHeader header_;
  std::unique_ptr<xbase::FieldCodec> codec_;
  std::vector<Tag> tags_;
  std::vector<std::string> columns_;
  std::string quoted_, sequence_, mark_, select_, insert_, upsert_, batch_, copyColumns_;
};

// Text <-> the code page, with 0x00 as U+2400 on the server side.
std::string serverText(const xbase::CodePage& cp, std::string_view bytes);
std::string pageText(const xbase::CodePage& cp, std::string_view utf8);

// The definition of a table on the server; nullopt when the server has no such table. The
// Session keeps what it read (Session::knownTable); `fresh` reads it again.
struct ServerTableInfo {
  std::shared_ptr<const TableSchema> schema;
  uint32_t oid = 0;
  bool marked = false;  // it has its change mark
};
std::optional<ServerTableInfo> findServerTable(Session& s, const TableName& name, bool fresh = false);
// Creates the table (replacing one of the same name), with its indexes unless told not to.
void createServerTable(Session& s, const TableSchema& schema, bool indexes = true);
void dropServerTable(Session& s, const TableName& name);
// Gives each table of the catalogue that has none its change mark (tables made before
// marks existed): how many were given one.
int addChangeMarks(Session& s);
void ensureCatalogue(Session& s);

}  // namespace server
