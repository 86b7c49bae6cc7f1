#include "server/transfer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "lib/catalogue.h"
#include "server/table_schema.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

namespace fs = std::filesystem;

namespace server {

namespace {

std::string upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string folderOf(const std::string& dir) {
  fs::path p = fs::absolute(dir).lexically_normal();
  std::string last = p.filename().string();
  if (last.empty()) last = p.parent_path().filename().string();
  return upper(last);
}

// For each field of the server layout, the field of `src` with its name (-1 when it has none):
// found once per table, not once per record.
std::vector<int> sourceFields(const xbase::DbfTable& src, const TableSchema& schema) {
  std::vector<int> from(size_t(schema.fieldCount()));
  for (int i = 0; i < schema.fieldCount(); ++i) from[size_t(i)] = src.fieldIndex(schema.field(i).name);
  return from;
}

// The record of `src`'s current record in the server layout, field by field by name
// (`sources`, from sourceFields): text through UTF-8, numbers, dates and logicals as the file
// holds them (blank stays blank). A value the server's field cannot hold throws, naming the
// record and the field.
void recordFrom(const xbase::DbfTable& src, const TableSchema& schema, const std::vector<int>& sources, Record& rec) {
  schema.blank(rec);
  rec.bytes[0] = src.deleted() ? '*' : ' ';
  for (int i = 0; i < schema.fieldCount(); ++i) {
    const xbase::Field& f = schema.field(i);
    const int from = sources[size_t(i)];
    if (from < 0) continue;
    uint8_t* p = rec.bytes.data() + f.offset;
    const xbase::Field& sf = src.field(from);
    try {
      if (f.type == 'N' || f.type == 'F' || f.type == 'D' || f.type == 'L') {
        if (sf.type != f.type && !((sf.type == 'N' || sf.type == 'F') && (f.type == 'N' || f.type == 'F'))) {
          schema.codec().encode(f, rec.bytes.data(), src.get(from), schema.name().name);
          continue;
        }
        std::string raw = src.rawFieldText(from);
        if (raw.empty()) continue;
        if (f.type == 'L') {
          p[0] = uint8_t(raw[0]);
        } else if (int(raw.size()) <= f.length) {
          std::memset(p, ' ', size_t(f.length));
          std::memcpy(p + f.length - int(raw.size()), raw.data(), raw.size());
        } else {
          schema.codec().encode(f, rec.bytes.data(), src.get(from), schema.name().name);
        }
      } else if (f.isMemo()) {
        xbase::Value v = src.get(from);
        if (v.type == xbase::ValueType::Char && !v.text.empty())
          rec.memos[i] = schema.isTextField(i) ? schema.codePage().fromUtf8(v.text) : v.text;
      } else {
        xbase::Value v = src.get(from);
        if (v.type == xbase::ValueType::Char && schema.isTextField(i)) v.text = schema.codePage().fromUtf8(v.text);
        schema.codec().encode(f, rec.bytes.data(), v, schema.name().name);
      }
    } catch (const xbase::Error& e) {
      // Pushing on would leave the field blank on the server: the value would be lost.
      throw xbase::Error(e.genCode(), e.subCode(), "registro " + std::to_string(src.recNo()) + ": " + e.description(),
                         schema.name().name);
    }
  }
}

// The value of field `i` of `rec` as the table API takes it; nullopt for a blank field.
std::optional<xbase::Value> valueOf(const TableSchema& schema, const Record& rec, int i) {
  const xbase::Field& f = schema.field(i);
  const uint8_t* p = rec.bytes.data() + f.offset;
  if (f.isMemo()) {
    auto it = rec.memos.find(i);
    if (it == rec.memos.end() || it->second.empty()) return std::nullopt;
    return xbase::Value::chars(schema.isTextField(i) ? schema.codePage().toUtf8(it->second) : it->second);
  }
  if (f.type == 'N' || f.type == 'F' || f.type == 'D' || f.type == 'L') {
    bool blank = std::all_of(p, p + f.length, [](uint8_t c) { return c == ' ' || c == 0; });
    if (blank) return std::nullopt;
  }
  xbase::Value v = schema.codec().decode(f, rec.bytes.data());
  if (v.type == xbase::ValueType::Char && schema.isTextField(i)) v.text = schema.codePage().toUtf8(v.text);
  return v;
}

// One line of COPY text split into its cells, each unescaped and ended by a NUL in
// `buffer`: the record number first (returned), then _deleted and the fields.
uint32_t copyCells(const char* line, size_t length, std::vector<char>& buffer, std::vector<TableSchema::Cell>& cells) {
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;
  buffer.assign(length + 1 + cells.size() + 1, '\0');
  std::vector<std::pair<size_t, size_t>> spans;  // start, length in buffer; npos start for null
  size_t out = 0, start = 0;
  bool isNull = false;
  auto finish = [&] {
    spans.emplace_back(isNull ? std::string::npos : start, out - start);
    buffer[out++] = '\0';
    start = out;
    isNull = false;
  };
  for (size_t i = 0; i < length; ++i) {
    char c = line[i];
    if (c == '\t') {
      finish();
      continue;
    }
    if (c == '\\' && i + 1 < length) {
      char e = line[++i];
      switch (e) {
        case 'N':
          isNull = true;
          continue;
        case 'b':
          c = '\b';
          break;
        case 'f':
          c = '\f';
          break;
        case 'n':
          c = '\n';
          break;
        case 'r':
          c = '\r';
          break;
        case 't':
          c = '\t';
          break;
        case 'v':
          c = '\v';
          break;
        default:
          c = e;
      }
    }
    buffer[out++] = c;
  }
  finish();
  if (spans.size() != cells.size() + 1)
    throw xbase::Error(xbase::EG_READ, SE_BAD_TABLE, "una fila del servidor no tiene las columnas de la tabla")
        .setSubsystem("ADSCDX");
  uint32_t recno = uint32_t(std::strtoul(buffer.data() + spans[0].first, nullptr, 10));
  for (size_t c = 0; c < cells.size(); ++c) {
    auto [at, n] = spans[c + 1];
    cells[c] = at == std::string::npos ? TableSchema::Cell{} : TableSchema::Cell{buffer.data() + at, n, false};
  }
  return recno;
}

// Pushes `files` of `folder` through `s`, each table in its own transaction.
TransferCount pushTables(Session& s, const std::string& folder, const std::vector<fs::path>& files, std::ostream* log) {
  TransferCount count;
  for (const fs::path& file : files) {
    std::string name = upper(file.stem().string());
    auto src = xbase::DbfTable::open(file.string(), xbase::OpenOptions{true, true});
    src->setDeletedHidden(false);
    std::vector<xbase::FieldSpec> fields;
    std::vector<xbase::TagSpec> tags;
    if (const lib::CatalogueTable* c = lib::Catalogue::builtIn().find(name); c && folder != "TEMP") {
      fields = c->fields;
      tags = c->tags;
    } else {
      for (int i = 0; i < src->fieldCount(); ++i) {
        const xbase::Field& f = src->field(i);
        fields.push_back({f.name, f.type, f.length, f.decimals, f.nullable(), f.binary()});
      }
      for (const std::string& t : src->tagNames()) {
        const xbase::TagInfo* info = src->tagInfo(t);
        xbase::TagSpec spec;
        spec.name = info->name;
        spec.keyExpr = src->codePage().toUtf8(info->keyExpr);
        spec.forExpr = src->codePage().toUtf8(info->forExpr);
        spec.unique = info->unique();
        spec.candidate = info->candidate();
        spec.descending = info->descending;
        tags.push_back(spec);
      }
    }
    TableSchema schema(tableNameOf(folder, name), fields, tags, src->codePage());
    s.begin();
    try {
      // The rows go in through COPY and the indexes are built after them, all in the
      // table's one transaction.
      createServerTable(s, schema, false);
      uint32_t n = src->recCount(), r = 0;
      const std::vector<int> sources = sourceFields(*src, schema);
      Record rec;
      s.copyIn("COPY " + schema.quotedTable() + " (" + schema.copyColumns() + ") FROM STDIN", [&](std::string& line) {
        if (r >= n) return false;
        src->goTo(++r);
        recordFrom(*src, schema, sources, rec);
        line = schema.copyLine(rec, r);
        return true;
      });
      std::vector<Statement> after;
      for (auto& [sql, params] : schema.indexStatements()) after.push_back({sql, params, false});
      if (n > 0)
        after.push_back(
            {"SELECT setval('" + schema.quotedSequence() + "', $1::bigint)", {Param::text(std::to_string(n))}});
      s.execAll(after);
      s.commit();
      ++count.tables;
      count.records += long(n);
      if (log) *log << folder << "/" << name << ": " << n << " registros\n";
    } catch (...) {  // the server keeps the table it had; the failure goes on to the caller
      if (s.inTransaction()) s.rollback();
      throw;
    }
  }
  return count;
}

}  // namespace

TransferCount pushFolder(Session& s, const std::string& dir, std::ostream* log) {
  std::string folder = folderOf(dir);
  std::vector<std::pair<uintmax_t, fs::path>> files;
  for (const auto& e : fs::directory_iterator(dir)) {
    std::string ext = upper(e.path().extension().string());
    if (e.is_regular_file() && ext == ".DBF") files.emplace_back(e.file_size(), e.path());
  }
  ensureCatalogue(s);
  // Two connections share the tables, the largest first, each to the one with less to do:
  // the server makes one table's definitions while it takes in another's rows.
  std::sort(files.begin(), files.end(),
            [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
  std::vector<fs::path> mine, theirs;
  uintmax_t mineSize = 0, theirsSize = 0;
  for (const auto& [size, path] : files) {
    bool toMine = mineSize <= theirsSize;
    (toMine ? mine : theirs).push_back(path);
    (toMine ? mineSize : theirsSize) += size;
  }
  std::sort(mine.begin(), mine.end());
  std::sort(theirs.begin(), theirs.end());
  Session other(s.conninfo());
  if (!theirs.empty() && !other.connect()) {
    mine.insert(mine.end(), theirs.begin(), theirs.end());
    theirs.clear();
  }
  TransferCount theirCount;
  std::ostringstream theirLog;
  std::exception_ptr theirFailure;
  std::thread worker;
  if (!theirs.empty())
    worker = std::thread([&] {
      try {
        theirCount = pushTables(other, folder, theirs, log ? &theirLog : nullptr);
      } catch (...) {
        theirFailure = std::current_exception();
      }
    });
  TransferCount count;
  std::exception_ptr failure;
  try {
    count = pushTables(s, folder, mine, log);
  } catch (...) {
    failure = std::current_exception();
  }
  if (worker.joinable()) worker.join();
  if (log) *log << theirLog.str();
  if (failure) std::rethrow_exception(failure);
  if (theirFailure) std::rethrow_exception(theirFailure);
  count.tables += theirCount.tables;
  count.records += theirCount.records;
  return count;
}

TransferCount pullFolder(Session& s, const std::string& dir, std::ostream* log) {
  TransferCount count;
  std::string folder = folderOf(dir);
  ensureCatalogue(s);
  Result names = s.exec("SELECT name FROM xb_tables WHERE folder = $1 ORDER BY name", {Param::text(folder)});
  if (names.rows() == 0) {
    // A mistyped folder would otherwise "pull" nothing and look like success.
    Result folders = s.exec("SELECT DISTINCT folder FROM xb_tables ORDER BY folder");
    std::string held;
    for (int i = 0; i < folders.rows(); ++i) held += (i ? ", " : "") + folders.text(i, 0);
    throw xbase::Error(
        xbase::EG_OPEN, SE_NO_TABLE,
        "el servidor no tiene la carpeta " + folder + (held.empty() ? " ni ninguna otra" : " (tiene: " + held + ")"))
        .setSubsystem("ADSCDX");
  }
  for (int t = 0; t < names.rows(); ++t) {
    std::string name = names.text(t, 0);
    std::optional<ServerTableInfo> info = findServerTable(s, tableNameOf(folder, name));
    if (!info)  // listed but gone: a copy without it would pass for the whole folder
      throw xbase::Error(xbase::EG_OPEN, SE_NO_TABLE, "la tabla figura en el servidor pero no existe",
                         folder + "/" + name)
          .setSubsystem("ADSCDX");
    const TableSchema& schema = *info->schema;
    std::string file = name.find('.') == std::string::npos ? name + ".DBF" : name;
    std::string path = (fs::path(dir) / file).string();
    fs::create_directories(dir);
    xbase::DbfTable::create(path, schema.fieldSpecs(), schema.tagSpecs(), schema.codePage());
    auto out = xbase::DbfTable::open(path, xbase::OpenOptions{false, false});
    uint32_t written = 0;
    Record rec;
    std::vector<char> buffer;
    std::vector<TableSchema::Cell> cells(size_t(schema.fieldCount()) + 1);
    // Each table is read in one transaction of its own: the rows as they were at one moment.
    s.begin();
    try {
      s.copyOut("COPY (SELECT " + schema.selectList() + " FROM " + schema.quotedTable() +
                    " ORDER BY \"_recno\") TO STDOUT",
                [&](const char* line, size_t length) {
                  uint32_t recno = copyCells(line, length, buffer, cells);
                  while (written + 1 < recno) {  // a number without its row
                    out->append();
                    out->deleteRecord();
                    ++written;
                  }
                  schema.readCells(cells.data(), rec);
                  out->append();
                  for (int f = 0; f < schema.fieldCount(); ++f)
                    if (std::optional<xbase::Value> v = valueOf(schema, rec, f)) out->put(f, *v);
                  if (rec.bytes[0] == '*') out->deleteRecord();
                  ++written;
                });
      s.commit();
    } catch (...) {
      if (s.inTransaction()) s.rollback();
      throw;
    }
    out->flush();
    ++count.tables;
    count.records += long(written);
    if (log) *log << folder << "/" << name << ": " << written << " registros\n";
  }
  return count;
}

}  // namespace server
