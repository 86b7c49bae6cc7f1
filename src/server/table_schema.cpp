#include "server/table_schema.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "lib/globals.h"
#include "xbase/byte_order.h"
#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace server {

namespace {

std::string upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string lower(std::string s) {
  for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string sqlWord(const std::string& s) {
  std::string r = lower(s);
  for (auto& c : r)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return r;
}

[[noreturn]] void badTable(const std::string& what, const std::string& table) {
  throw xbase::Error(xbase::EG_UNSUPPORTED, SE_BAD_TABLE, what, table).setSubsystem("ADSCDX");
}

std::string trimmedBytes(const uint8_t* p, int n) {
  int b = 0, e = n;
  while (b < e && (p[b] == ' ' || p[b] == 0)) ++b;
  while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0)) --e;
  return std::string(reinterpret_cast<const char*>(p + b), size_t(e - b));
}

bool plainDecimal(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && s[i] == '-') ++i;
  bool digit = false, dot = false;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i])))
      digit = true;
    else if (s[i] == '.' && !dot)
      dot = true;
    else
      return false;
  }
  return digit;
}

std::string isoDate(int32_t julian) {
  xbase::Ymd d = xbase::ymdFromJulian(julian);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

int32_t julianFromIso(const std::string& s) {
  int y = 0, m = 0, d = 0;
  if (std::sscanf(s.c_str(), "%d-%d-%d", &y, &m, &d) != 3) return 0;
  return xbase::julianFromYmd(y, m, d);
}

// The lines of a catalogue column (fields or tags, one a line).
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class RecordContext : public xbase::EvalContext {
 public:
  RecordContext(const TableSchema& s, const Record& r, uint32_t recno) : s_(s), r_(r), recno_(recno) {}
  xbase::Value field(int index) const override {
    const xbase::Field& f = s_.field(index);
    if (f.isMemo()) {
      auto it = r_.memos.find(index);
      return xbase::Value::chars(it == r_.memos.end() ? std::string() : it->second);
    }
    return s_.codec().decode(f, r_.bytes.data());
  }
  uint32_t recNo() const override { return recno_; }
  bool deleted() const override { return r_.bytes[0] == '*'; }

 private:
  const TableSchema& s_;
  const Record& r_;
  uint32_t recno_;
};

// The change mark of the SQL table `sql` and its trigger.
std::vector<std::string> markStatements(const std::string& sql) {
  return {"CREATE SEQUENCE " + quoteIdent(sql + "__mark") + " MINVALUE 1 OWNED BY " + quoteIdent(sql) + ".\"_recno\"",
          "CREATE TRIGGER xb_mark AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON " + quoteIdent(sql) +
              " FOR EACH STATEMENT EXECUTE FUNCTION xb_mark()"};
}

}  // namespace

std::string quoteIdent(const std::string& id) {
  std::string q = "\"";
  for (char c : id) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string serverText(const xbase::CodePage& cp, std::string_view bytes) {
  if (bytes.find('\0') == std::string_view::npos) return cp.toUtf8(bytes);
  std::string out;
  size_t from = 0;
  for (;;) {
    size_t nul = bytes.find('\0', from);
    out += cp.toUtf8(bytes.substr(from, nul == std::string_view::npos ? std::string_view::npos : nul - from));
    if (nul == std::string_view::npos) break;
    out += "\xE2\x90\x80";  // U+2400
    from = nul + 1;
  }
  return out;
}

std::string pageText(const xbase::CodePage& cp, std::string_view utf8) {
  static constexpr std::string_view kNul = "\xE2\x90\x80";
  if (utf8.find(kNul) == std::string_view::npos) return cp.fromUtf8(utf8);
  std::string out;
  size_t from = 0;
  for (;;) {
    size_t at = utf8.find(kNul, from);
    out += cp.fromUtf8(utf8.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) break;
    out += '\0';
    from = at + kNul.size();
  }
  return out;
}

TableName tableNameOf(const std::string& folder, const std::string& name) {
  TableName t;
  t.folder = upper(folder);
  while (!t.folder.empty() && t.folder.back() == '/') t.folder.pop_back();
  while (!t.folder.empty() && t.folder.front() == '/') t.folder.erase(t.folder.begin());
  t.name = upper(name);
  t.sql = t.folder == "BASES" ? sqlWord(t.name) : sqlWord(t.folder) + "__" + sqlWord(t.name);
  return t;
}

TableName tableNameFor(const std::string& path) {
  std::string p = path;
  for (auto& c : p) c = c == '\\' ? '/' : c;
  size_t slash = p.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : p.substr(0, slash);
  std::string file = slash == std::string::npos ? p : p.substr(slash + 1);
  std::string up = upper(file);
  if (up.size() > 4 && up.compare(up.size() - 4, 4, ".DBF") == 0) file = file.substr(0, file.size() - 4);
  std::string home = lib::G().PATH;
  std::string folder;
  if (!home.empty() && p.compare(0, home.size(), home) == 0) {
    folder = dir.size() > home.size() ? dir.substr(home.size()) : std::string();
  } else {
    size_t s2 = dir.rfind('/');
    folder = s2 == std::string::npos ? dir : dir.substr(s2 + 1);
  }
  return tableNameOf(folder, file);
}

// ---------------------------------------------------------------------------------------

TableSchema::TableSchema(TableName name, std::vector<xbase::FieldSpec> fields, std::vector<xbase::TagSpec> tags,
                         const xbase::CodePage& codePage)
    : name_(std::move(name)), specs_(std::move(fields)), codePage_(&codePage) {
  std::string label = name_.folder + "/" + name_.name;
  for (auto& f : specs_) {
    f.name = upper(f.name);
    if (f.nullable) badTable("el servidor no guarda campos que admiten nulos: " + f.name, label);
    if (std::string("CNFDLIBYTMGW").find(f.type) == std::string::npos)
      badTable(std::string("el servidor no guarda campos de tipo ") + f.type + ": " + f.name, label);
  }
  header_ = xbase::DbfHeader::forNewTable(specs_, codePage.languageDriver(), label);
  codec_ = std::make_unique<xbase::FieldCodec>(header_);

  std::vector<xbase::FieldInfo> infos;
  for (const auto& f : header_.fields) infos.push_back({f.name, f.type, f.length, f.decimals});
  for (auto& spec : tags) {
    Tag t;
    t.spec = spec;
    t.spec.name = upper(t.spec.name);
    t.key = xbase::Expr::compile(codePage.fromUtf8(spec.keyExpr), infos, codePage);
    if (!spec.forExpr.empty()) {
      t.filter = xbase::Expr::compile(codePage.fromUtf8(spec.forExpr), infos, codePage);
      if (t.filter->type() != xbase::ValueType::Logical)
        badTable("la condición FOR no es lógica: " + spec.forExpr, label);
    }
    bool integerField = false;
    for (const auto& f : header_.fields)
      if (upper(spec.keyExpr) == f.name && f.type == 'I') integerField = true;
    t.length = xbase::keyLengthFor(t.key->type(), t.key->width(), integerField);
    if (t.length < 1 || t.length > 240) badTable("la clave de " + t.spec.name + " debe medir de 1 a 240 bytes", label);
    t.kind = xbase::keyKindFor(t.key->type(), t.length, false);
    t.column = "_k_" + sqlWord(t.spec.name);
    tags_.push_back(std::move(t));
  }

  quoted_ = quoteIdent(name_.sql);
  sequence_ = quoteIdent(name_.sql + "__recno");
  mark_ = quoteIdent(name_.sql + "__mark");
  select_ = "\"_recno\", \"_deleted\"";
  for (const auto& f : header_.fields) {
    columns_.push_back(quoteIdent(sqlWord(f.name)));
    select_ += ", " + columns_.back();
  }
  std::string cols = select_, values = "$1, $2", sets = "\"_deleted\" = $2";
  int n = 2;
  for (const auto& c : columns_) {
    ++n;
    values += ", $" + std::to_string(n);
    sets += ", " + c + " = $" + std::to_string(n);
  }
  for (const auto& t : tags_) {
    ++n;
    cols += ", " + quoteIdent(t.column);
    values += ", $" + std::to_string(n);
    sets += ", " + quoteIdent(t.column) + " = $" + std::to_string(n);
  }
  insert_ = "INSERT INTO " + quoted_ + " (" + cols + ") VALUES (" + values + ")";
  std::string conflict = " ON CONFLICT (\"_recno\") DO UPDATE SET \"_deleted\" = EXCLUDED.\"_deleted\"";
  for (const auto& c : columns_) conflict += ", " + c + " = EXCLUDED." + c;
  for (const auto& t : tags_) conflict += ", " + quoteIdent(t.column) + " = EXCLUDED." + quoteIdent(t.column);
  upsert_ = insert_ + conflict;
  // unnest() of one array per column gives the rows back, column by column.
  std::string arrays = "$1::integer[], $2::boolean[]";
  n = 2;
  for (const auto& f : specs_) arrays += ", $" + std::to_string(++n) + "::" + arrayType(f);
  for (size_t t = 0; t < tags_.size(); ++t) arrays += ", $" + std::to_string(++n) + "::bytea[]";
  batch_ = "INSERT INTO " + quoted_ + " (" + cols + ") SELECT * FROM unnest(" + arrays + ")" + conflict;
  copyColumns_ = cols;
}

// The element type of the array that carries a column in batchSql.
std::string TableSchema::arrayType(const xbase::FieldSpec& f) {
  switch (f.type) {
    case 'C':
      return f.binary ? "bytea[]" : "text[]";
    case 'N':
    case 'F':
    case 'Y':
      return "numeric[]";
    case 'D':
      return "date[]";
    case 'L':
      return "boolean[]";
    case 'I':
      return "integer[]";
    case 'B':
      return "float8[]";
    case 'T':
      return "timestamp[]";
    case 'M':
      return f.binary ? "bytea[]" : "text[]";
    default:
      return "bytea[]";
  }
}

const std::vector<xbase::TagSpec> TableSchema::tagSpecs() const {
  std::vector<xbase::TagSpec> specs;
  for (const auto& t : tags_) specs.push_back(t.spec);
  return specs;
}

int TableSchema::tagIndex(std::string_view name) const {
  std::string n = upper(std::string(name));
  while (!n.empty() && n.back() == ' ') n.pop_back();
  while (!n.empty() && n.front() == ' ') n.erase(n.begin());
  for (size_t i = 0; i < tags_.size(); ++i)
    if (tags_[i].spec.name == n) return int(i);
  return -1;
}

bool TableSchema::isTextField(int i) const {
  const xbase::Field& f = field(i);
  return (f.type == 'C' || f.type == 'M') && !f.binary();
}

std::string TableSchema::sqlType(const xbase::FieldSpec& f) const {
  switch (f.type) {
    case 'C':
      return f.binary ? "bytea" : "varchar(" + std::to_string(f.length) + ")";
    case 'N':
    case 'F':
      return "numeric";
    case 'D':
      return "date";
    case 'L':
      return "boolean";
    case 'I':
      return "integer";
    case 'B':
      return "double precision";
    case 'Y':
      return "numeric(19,4)";
    case 'T':
      return "timestamp(3)";
    case 'M':
      return f.binary ? "bytea" : "text";
    default:
      return "bytea";
  }
}

std::vector<std::pair<std::string, std::vector<Param>>> TableSchema::createStatements(bool indexes) const {
  std::vector<std::pair<std::string, std::vector<Param>>> out;
  std::string ddl = "CREATE TABLE " + quoted_ + " (\"_recno\" integer PRIMARY KEY, \"_deleted\" boolean NOT NULL";
  for (size_t i = 0; i < specs_.size(); ++i) ddl += ", " + columns_[i] + " " + sqlType(specs_[i]);
  for (const auto& t : tags_) ddl += ", " + quoteIdent(t.column) + " bytea";
  ddl += ")";
  out.push_back({"DROP TABLE IF EXISTS " + quoted_, {}});
  out.push_back({"DROP SEQUENCE IF EXISTS " + sequence_, {}});
  out.push_back({"DROP SEQUENCE IF EXISTS " + mark_, {}});
  out.push_back(
      {"DELETE FROM xb_tables WHERE folder = $1 AND name = $2", {Param::text(name_.folder), Param::text(name_.name)}});
  out.push_back({ddl, {}});
  if (indexes)
    for (auto& i : indexStatements()) out.push_back(std::move(i));
  out.push_back({"CREATE SEQUENCE " + sequence_ + " MINVALUE 1", {}});
  for (std::string& sql : markStatements(name_.sql)) out.push_back({std::move(sql), {}});
  out.push_back(
      {"INSERT INTO xb_tables (folder, name, sql_name, code_page, fields, tags) VALUES ($1, $2, $3, $4, "
       "$5, $6)",
       {Param::text(name_.folder), Param::text(name_.name), Param::text(name_.sql),
        Param::text(std::to_string(codePage_->number())), Param::text(fieldsText(specs_)),
        Param::text(tagsText(tagSpecs()))}});
  return out;
}

std::vector<std::pair<std::string, std::vector<Param>>> TableSchema::indexStatements() const {
  std::vector<std::pair<std::string, std::vector<Param>>> out;
  for (const auto& t : tags_)
    out.push_back({"CREATE INDEX " + quoteIdent(name_.sql + "_" + t.column.substr(3)) + " ON " + quoted_ + " (" +
                       quoteIdent(t.column) + ", \"_recno\")",
                   {}});
  return out;
}

Param TableSchema::fieldParam(const Record& r, int i) const {
  const xbase::Field& f = field(i);
  const uint8_t* p = r.bytes.data() + f.offset;
  switch (f.type) {
    case 'C':
      if (f.binary()) return Param::bytes(std::string(reinterpret_cast<const char*>(p), size_t(f.length)));
      return Param::text(serverText(*codePage_, std::string_view(reinterpret_cast<const char*>(p), size_t(f.length))));
    case 'N':
    case 'F': {
      std::string raw = trimmedBytes(p, f.length);
      if (raw.empty()) return Param::none();
      if (plainDecimal(raw)) return Param::text(raw);
      std::string n = xbase::formatNumber(xbase::parseNumber(raw), 40, f.decimals);
      return n.empty() ? Param::none() : Param::text(n.substr(n.find_first_not_of(' ')));
    }
    case 'D': {
      int32_t jd = xbase::julianFromDtos(std::string_view(reinterpret_cast<const char*>(p), 8));
      return jd ? Param::text(isoDate(jd)) : Param::none();
    }
    case 'L':
      if (p[0] == 'T' || p[0] == 't' || p[0] == 'Y' || p[0] == 'y') return Param::text("t");
      if (p[0] == 'F' || p[0] == 'f' || p[0] == 'N' || p[0] == 'n') return Param::text("f");
      return Param::none();
    case 'I':
      return Param::text(std::to_string(int32_t(xbase::le32(p))));
    case 'B':
      return Param::text(xbase::shortestNumber(codec_->decode(f, r.bytes.data()).number));
    case 'Y':
      return Param::text(xbase::scaledText(int64_t(xbase::le64(p)), 4));
    case 'T': {
      xbase::Value v = codec_->decode(f, r.bytes.data());
      if (v.julian <= 0) return Param::none();
      char buf[64];
      std::snprintf(buf, sizeof buf, "%s %02d:%02d:%02d.%03d", isoDate(v.julian).c_str(), v.millis / 3600000,
                    v.millis / 60000 % 60, v.millis / 1000 % 60, v.millis % 1000);
      return Param::text(buf);
    }
    default: {
      auto it = r.memos.find(i);
      if (it == r.memos.end() || it->second.empty()) return Param::none();
      if (isTextField(i)) return Param::text(serverText(*codePage_, it->second));
      return Param::bytes(it->second);
    }
  }
}

std::vector<Param> TableSchema::rowParams(const Record& r, uint32_t recno) const {
  std::vector<Param> params;
  params.reserve(size_t(2 + fieldCount()) + tags_.size());
  params.push_back(Param::text(std::to_string(recno)));
  params.push_back(Param::text(r.bytes[0] == '*' ? "t" : "f"));
  for (int i = 0; i < fieldCount(); ++i) params.push_back(fieldParam(r, i));
  for (const auto& t : tags_) {
    std::optional<std::string> k = key(t, r, recno);
    params.push_back(k ? Param::bytes(std::move(*k)) : Param::none());
  }
  return params;
}

namespace {

std::string hexBytea(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out = "\\x";
  out.reserve(2 + bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// An array element in the text form of arrays: quoted, with quote and backslash escaped.
void arrayElement(std::string& out, const Param& p) {
  if (p.null) {
    out += "NULL";
    return;
  }
  const std::string text = p.binary ? hexBytea(p.data) : p.data;
  out += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

// A value in COPY's text format: \N for null; backslash, tab, line feed and carriage
// return escaped.
void copyValue(std::string& out, const Param& p) {
  if (p.null) {
    out += "\\N";
    return;
  }
  if (p.binary) {  // bytea's hex form, its backslash escaped
    static const char* digits = "0123456789abcdef";
    out += "\\\\x";
    size_t at = out.size();
    out.resize(at + 2 * p.data.size());
    for (unsigned char c : p.data) {
      out[at++] = digits[c >> 4];
      out[at++] = digits[c & 15];
    }
    return;
  }
  // Runs of plain characters go out whole; only these four need escaping.
  const std::string& text = p.data;
  size_t plain = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char* escaped = nullptr;
    switch (text[i]) {
      case '\\':
        escaped = "\\\\";
        break;
      case '\t':
        escaped = "\\t";
        break;
      case '\n':
        escaped = "\\n";
        break;
      case '\r':
        escaped = "\\r";
        break;
      default:
        continue;
    }
    out.append(text, plain, i - plain);
    out += escaped;
    plain = i + 1;
  }
  out.append(text, plain, std::string::npos);
}

}  // namespace

std::vector<Param> TableSchema::batchParams(const std::vector<std::pair<uint32_t, const Record*>>& rows) const {
  std::vector<std::string> arrays;
  bool first = true;
  for (const auto& [recno, record] : rows) {
    std::vector<Param> row = rowParams(*record, recno);
    if (first) arrays.assign(row.size(), "{");
    for (size_t c = 0; c < row.size(); ++c) {
      if (!first) arrays[c] += ',';
      arrayElement(arrays[c], row[c]);
    }
    first = false;
  }
  std::vector<Param> params;
  params.reserve(arrays.size());
  for (auto& a : arrays) params.push_back(Param::text(std::move(a) + "}"));
  return params;
}

std::string TableSchema::copyLine(const Record& r, uint32_t recno) const {
  std::vector<Param> row = rowParams(r, recno);
  std::string line;
  for (size_t c = 0; c < row.size(); ++c) {
    if (c) line += '\t';
    copyValue(line, row[c]);
  }
  line += '\n';
  return line;
}

void TableSchema::blank(Record& r) const {
  r.bytes.assign(header_.recordLength, ' ');
  codec_->blankRecord(r.bytes.data());
  r.memos.clear();
}

namespace {

std::string cellText(const TableSchema::Cell& c) {
  return std::string(c.data, c.length);
}

std::string cellBytes(const TableSchema::Cell& c) {
  size_t n = 0;
  unsigned char* p = PQunescapeBytea(reinterpret_cast<const unsigned char*>(c.data), &n);
  if (!p) return {};
  std::string s(reinterpret_cast<char*>(p), n);
  PQfreemem(p);
  return s;
}

}  // namespace

void TableSchema::putColumn(Record& r, int i, const Cell& c) const {
  const xbase::Field& f = field(i);
  uint8_t* p = r.bytes.data() + f.offset;
  if (c.null) return;  // the blank record already holds the blank field
  switch (f.type) {
    case 'C': {
      std::string bytes = f.binary() ? cellBytes(c) : pageText(*codePage_, std::string_view(c.data, c.length));
      size_t n = std::min(bytes.size(), size_t(f.length));
      std::memcpy(p, bytes.data(), n);
      std::memset(p + n, ' ', size_t(f.length) - n);
      return;
    }
    case 'N':
    case 'F': {
      std::string text = cellText(c);
      if (int(text.size()) > f.length) {
        text = xbase::formatNumber(xbase::parseNumber(text), f.length, f.decimals);
        if (text.empty()) text.assign(size_t(f.length), '*');
      }
      std::memset(p, ' ', size_t(f.length));
      std::memcpy(p + f.length - int(text.size()), text.data(), text.size());
      return;
    }
    case 'D': {
      // The server writes dates as YYYY-MM-DD: the digits are the field's.
      auto digits = [&](size_t from, size_t n) {
        return std::all_of(c.data + from, c.data + from + n, [](char ch) { return ch >= '0' && ch <= '9'; });
      };
      if (c.length == 10 && c.data[4] == '-' && c.data[7] == '-' && digits(0, 4) && digits(5, 2) && digits(8, 2)) {
        std::memcpy(p, c.data, 4);
        std::memcpy(p + 4, c.data + 5, 2);
        std::memcpy(p + 6, c.data + 8, 2);
        return;
      }
      std::string s = xbase::dtos(julianFromIso(cellText(c)));
      std::memcpy(p, s.data(), 8);
      return;
    }
    case 'L':
      p[0] = c.length == 1 && c.data[0] == 't' ? 'T' : 'F';
      return;
    case 'I':
      codec_->encode(f, r.bytes.data(), xbase::Value::num(double(std::strtoll(c.data, nullptr, 10))), name_.name);
      return;
    case 'B':
      codec_->encode(f, r.bytes.data(), xbase::Value::num(xbase::readNumber(c.data).value_or(0)), name_.name);
      return;
    case 'Y':
      xbase::put64(p, uint64_t(xbase::scaledFrom(cellText(c), 4)));
      return;
    case 'T': {
      // "YYYY-MM-DD hh:mm:ss[.fff]"; the seconds with their fraction are read apart, since
      // scanf's %lf would take the decimal point of the process locale.
      int y = 0, mo = 0, d = 0, h = 0, mi = 0, at = 0;
      if (std::sscanf(c.data, "%d-%d-%d %d:%d:%n", &y, &mo, &d, &h, &mi, &at) != 5 || at == 0) return;
      double sec = xbase::parseNumber(c.data + at);
      int32_t ms = int32_t(std::llround((h * 3600 + mi * 60) * 1000.0 + sec * 1000.0));
      codec_->encode(f, r.bytes.data(), xbase::Value::dateTime(xbase::julianFromYmd(y, mo, d), ms), name_.name);
      return;
    }
    default:
      r.memos[i] = isTextField(i) ? pageText(*codePage_, std::string_view(c.data, c.length)) : cellBytes(c);
      return;
  }
}

void TableSchema::readCells(const Cell* cells, Record& into) const {
  blank(into);
  into.bytes[0] = !cells[0].null && cells[0].length == 1 && cells[0].data[0] == 't' ? '*' : ' ';
  for (int i = 0; i < fieldCount(); ++i) putColumn(into, i, cells[1 + i]);
}

void TableSchema::readField(const Result& res, int row, int col, int i, Record& into) const {
  putColumn(into, i, Cell{res.raw(row, col), size_t(res.length(row, col)), res.null(row, col)});
}

void TableSchema::readRow(const Result& res, int row, int first, Record& into) const {
  std::vector<Cell> cells(size_t(fieldCount()) + 1);
  for (int i = 0; i <= fieldCount(); ++i) {
    int col = first + i;
    cells[size_t(i)] = {res.raw(row, col), size_t(res.length(row, col)), res.null(row, col)};
  }
  readCells(cells.data(), into);
}

std::optional<std::string> TableSchema::key(const Tag& t, const Record& r, uint32_t recno, bool ignoreFor) const {
  RecordContext ctx(*this, r, recno);
  if (t.filter && !ignoreFor) {
    xbase::Value pass = t.filter->evaluate(ctx);
    if (pass.type != xbase::ValueType::Logical || !pass.logical) return std::nullopt;
  }
  return xbase::makeKey(t.key->evaluate(ctx), t.kind, t.length, false);
}

std::string TableSchema::keyOf(const Tag& t, const xbase::Value& v) const {
  if (v.type == xbase::ValueType::Char && t.kind == xbase::KeyKind::Char) {
    std::string bytes = codePage_->fromUtf8(v.text);
    if (bytes.size() > size_t(t.length)) bytes.resize(size_t(t.length));
    return bytes;
  }
  return xbase::makeKey(v, t.kind, t.length, false);
}

std::string TableSchema::fieldsText(const std::vector<xbase::FieldSpec>& fields) {
  std::string out;
  for (const auto& f : fields) {
    out += f.name + " " + f.type + " " + std::to_string(f.length) + " " + std::to_string(f.decimals);
    if (f.binary) out += " BINARY";
    out += "\n";
  }
  return out;
}

std::vector<xbase::FieldSpec> TableSchema::parseFields(const std::string& text) {
  std::vector<xbase::FieldSpec> out;
  for (const std::string& line : linesOf(text)) {
    std::istringstream l(line);
    xbase::FieldSpec f;
    std::string type, flag;
    if (!(l >> f.name >> type >> f.length >> f.decimals)) continue;
    f.type = type.empty() ? 'C' : type[0];
    if (l >> flag && flag == "BINARY") f.binary = true;
    out.push_back(f);
  }
  return out;
}

std::string TableSchema::tagsText(const std::vector<xbase::TagSpec>& tags) {
  std::string out;
  for (const auto& t : tags) {
    out += t.name + ": " + t.keyExpr;
    if (!t.forExpr.empty()) out += " FOR " + t.forExpr;
    if (t.unique) out += " UNIQUE";
    if (t.candidate) out += " CANDIDATE";
    if (t.descending) out += " DESCENDING";
    out += "\n";
  }
  return out;
}

std::vector<xbase::TagSpec> TableSchema::parseTags(const std::string& text) {
  std::vector<xbase::TagSpec> out;
  for (const std::string& line : linesOf(text))
    if (line.find_first_not_of(' ') != std::string::npos) out.push_back(xbase::TagSpec::parse(line));
  return out;
}

// ---------------------------------------------------------------------------------------

void ensureCatalogue(Session& s) {
  s.execOnce(
      "CREATE TABLE IF NOT EXISTS xb_tables (folder text NOT NULL, name text NOT NULL, sql_name text NOT NULL "
      "UNIQUE, code_page integer NOT NULL, fields text NOT NULL, tags text NOT NULL, PRIMARY KEY (folder, name))");
  // The change marks' trigger: it moves the mark of the table it fires for, with its
  // maker's rights (a workstation needs no more than to read the mark), and no other. One
  // in each schema, so that no other folder's schema, dropped, takes the triggers with it;
  // two sessions making it at once both go on.
  s.execOnce(
      "DO $$BEGIN IF to_regproc(quote_ident(current_schema()) || '.xb_mark') IS NULL THEN "
      "CREATE FUNCTION xb_mark() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
      "SET search_path = pg_catalog, pg_temp AS $f$BEGIN "
      "PERFORM setval(format('%I.%I', TG_TABLE_SCHEMA, TG_TABLE_NAME || '__mark'), "
      "pg_current_xact_id()::text::bigint); "
      "RETURN NULL; END$f$; END IF; "
      "EXCEPTION WHEN duplicate_function OR unique_violation THEN NULL; END$$");
}

namespace {

std::string knownKey(const TableName& name) {
  return name.folder + "/" + name.name;
}

}  // namespace

std::optional<ServerTableInfo> findServerTable(Session& s, const TableName& name, bool fresh) {
  if (!fresh)
    if (const Session::KnownTable* k = s.knownTable(knownKey(name)))
      return ServerTableInfo{k->schema, k->oid, k->marked};
  Result r;
  try {
    r = s.exec(
        "SELECT t.fields, t.tags, t.code_page, to_regclass(quote_ident(t.sql_name))::oid::bigint, t.sql_name, "
        "to_regclass(quote_ident(t.sql_name || '__mark')) IS NOT NULL "
        "FROM xb_tables t WHERE t.folder = $1 AND t.name = $2",
        {Param::text(name.folder), Param::text(name.name)});
  } catch (const xbase::Error& e) {
    if (e.subCode() == SE_NO_TABLE) return std::nullopt;  // nothing was ever pushed here
    throw;
  }
  if (r.rows() == 0 || r.null(0, 3)) {
    s.forgetTable(knownKey(name));
    return std::nullopt;
  }
  TableName n = name;
  n.sql = r.text(0, 4);
  ServerTableInfo info;
  info.schema =
      std::make_shared<TableSchema>(n, TableSchema::parseFields(r.text(0, 0)), TableSchema::parseTags(r.text(0, 1)),
                                    xbase::CodePage::forNumber(int(r.integer(0, 2))));
  info.oid = uint32_t(r.integer(0, 3));
  info.marked = r.logical(0, 5);
  s.rememberTable(knownKey(name), {info.schema, info.oid, info.marked});
  return info;
}

void createServerTable(Session& s, const TableSchema& schema, bool indexes) {
  ensureCatalogue(s);
  s.forgetTable(knownKey(schema.name()));
  std::vector<Statement> statements;
  for (auto& [sql, params] : schema.createStatements(indexes)) statements.push_back({sql, params, false});
  s.execAll(statements);
}

int addChangeMarks(Session& s) {
  ensureCatalogue(s);
  Result r = s.exec(
      "SELECT sql_name FROM xb_tables t WHERE to_regclass(quote_ident(t.sql_name)) IS NOT NULL AND "
      "to_regclass(quote_ident(t.sql_name || '__mark')) IS NULL ORDER BY sql_name");
  for (int i = 0; i < r.rows(); ++i) {
    // Both or neither: a mark without its trigger would never move.
    s.begin();
    try {
      for (const std::string& sql : markStatements(r.text(i, 0))) s.execOnce(sql);
      s.commit();
    } catch (...) {
      if (s.inTransaction()) s.rollback();
      throw;
    }
  }
  s.forgetTables();
  return r.rows();
}

void dropServerTable(Session& s, const TableName& name) {
  ensureCatalogue(s);
  s.forgetTable(knownKey(name));
  s.execOnce("DROP TABLE IF EXISTS " + quoteIdent(name.sql));
  s.execOnce("DROP SEQUENCE IF EXISTS " + quoteIdent(name.sql + "__recno"));
  s.execOnce("DROP SEQUENCE IF EXISTS " + quoteIdent(name.sql + "__mark"));
  s.execOnce("DELETE FROM xb_tables WHERE folder = $1 AND name = $2",
             {Param::text(name.folder), Param::text(name.name)});
}

}  // namespace server
