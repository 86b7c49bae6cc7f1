#include "screens/history.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>

#include "lib/catalogue.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/dbf_table.h"
#include "xbase/number_text.h"

namespace screens {

namespace {

using lib::Value;

// Fields whose values the history never keeps.
bool secret(const std::string& field) {
  return field == "PASSWORD" || field == "AUTH_PASS";
}
constexpr const char* kHidden = "********";

std::string valueText(const lib::WDBTable& t, int pos) {
  const xbase::Field& f = t.driver().field(pos - 1);
  const Value v = t.FieldGet(pos);
  switch (v.type) {
    case xbase::ValueType::Char:
      return lib::rtrim(v.text);
    case xbase::ValueType::Number:
      return xbase::decimalText(v.number, f.decimals);
    case xbase::ValueType::Date:
      return v.julian ? lib::DTOC(v.julian) : "";
    case xbase::ValueType::Logical:
      return v.logical ? "S" : "N";
    case xbase::ValueType::DateTime:
      return v.julian ? lib::DTOC(v.julian) + " " + lib::timeText(v.millis) : "";
    default:
      return "";
  }
}

bool isDefault(const Value& v) {
  switch (v.type) {
    case xbase::ValueType::Char:
      return lib::trim(v.text).empty();
    case xbase::ValueType::Number:
      return v.number == 0;
    case xbase::ValueType::Date:
    case xbase::ValueType::DateTime:
      return v.julian == 0;
    case xbase::ValueType::Logical:
      return !v.logical;
    default:
      return true;
  }
}

// The field names a key expression reads, in order ("NEGOCIO+STR(CODIGO,4)" reads NEGOCIO
// and CODIGO).
std::vector<std::string> fieldsOf(const std::string& expression, const lib::WDBTable& t) {
  std::vector<std::string> names;
  for (size_t i = 0; i < expression.size();) {
    if (!std::isalpha(static_cast<unsigned char>(expression[i])) && expression[i] != '_') {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < expression.size() &&
           (std::isalnum(static_cast<unsigned char>(expression[end])) || expression[end] == '_'))
      ++end;
    std::string word = lib::upper(expression.substr(i, end - i));
    size_t next = expression.find_first_not_of(' ', end);
    bool call = next != std::string::npos && expression[next] == '(';
    if (!call && t.HasField(word)) names.push_back(word);
    i = end;
  }
  return names;
}

// The key fields of a table: those its first catalogued tag reads; NEGOCIO and CODIGO for
// a table the catalogue does not know.
const std::vector<std::string>& keyFields(const lib::WDBTable& t) {
  static std::map<std::string, std::vector<std::string>> known;
  auto it = known.find(t.Name);
  if (it != known.end()) return it->second;
  std::vector<std::string> fields;
  const lib::CatalogueTable* c = lib::Catalogue::builtIn().find(t.Name);
  if (c && !c->tags.empty()) {
    const xbase::TagSpec* primary = &c->tags.front();
    for (const xbase::TagSpec& tag : c->tags)
      if (lib::upper(tag.name) == t.Name) primary = &tag;
    fields = fieldsOf(primary->keyExpr, t);
  } else if (!c) {
    for (const char* f : {"NEGOCIO", "CODIGO"})
      if (t.HasField(f)) fields.push_back(f);
  }
  return known.emplace(t.Name, std::move(fields)).first->second;
}

std::string workstation() {
  const lib::Globals& g = lib::G();
  return (g.windowsUser ? g.windowsUser() : std::string()) + " / " + (g.computerName ? g.computerName() : "");
}

// What the code writing history had selected stays selected (the record protocol releases
// the selected area).
struct KeepSelection {
  int area = lib::SELECTED();
  ~KeepSelection() { lib::SELECT(area); }
};

struct Row {
  std::string field, operation, before, after;
};

void write(const std::string& table, const std::string& key, const std::vector<Row>& rows) {
  if (rows.empty()) return;
  KeepSelection keep;
  CREA_HISTORIAL();
  const lib::Globals& g = lib::G();
  const int32_t date = lib::XDATE();
  const std::string time = lib::XTIME(), user = g.XUSER_ABREVIA, station = workstation();
  auto h = lib::USE(nullptr, kHistoryTable);
  for (const Row& r : rows)
    lib::ADD(*h, [&] {
      h->FieldPut("TABLA", Value::chars(table));
      h->FieldPut("CLAVE", Value::chars(key));
      h->FieldPut("CAMPO", Value::chars(r.field));
      h->FieldPut("OPERACION", Value::chars(r.operation));
      h->FieldPut("ANTES", Value::chars(r.before));
      h->FieldPut("DESPUES", Value::chars(r.after));
      h->FieldPut("USUARIO", Value::chars(user));
      h->FieldPut("ESTACION", Value::chars(station));
      h->FieldPut("FECHA", Value::date(date));
      h->FieldPut("HORA", Value::chars(time));
    });
  lib::KILLTABLA(h);
}

// The earlier history of a record whose key changed goes with it.
void moveHistory(const std::string& table, const std::string& from, const std::string& to) {
  KeepSelection keep;
  CREA_HISTORIAL();
  auto h = lib::USE(nullptr, kHistoryTable, kHistoryTable);
  h->SetScope(historyPrefix(*h, table, from));
  std::vector<uint32_t> records;
  for (h->GoTop(); !h->Eof(); h->Skip()) records.push_back(h->RecNo());
  h->ClearScope();
  for (uint32_t recno : records) {
    h->GoTo(recno);
    lib::MODIFY(*h, [&] { h->FieldPut("CLAVE", Value::chars(to)); });
  }
  lib::KILLTABLA(h);
}

}  // namespace

std::string CLAVE_HISTORIAL(const lib::WDBTable& t) {
  const std::vector<std::string>& fields = keyFields(t);
  if (fields.empty()) return "#" + std::to_string(t.RecNo());
  std::string key;
  for (const std::string& f : fields) {
    if (!key.empty()) key += "/";
    key += lib::trim(valueText(t, t.FieldPos(f)));
  }
  return key;
}

RecordImage IMAGEN(const lib::WDBTable& t) {
  RecordImage image;
  image.table = t.Name;
  image.key = CLAVE_HISTORIAL(t);
  image.values.reserve(size_t(t.FCount()));
  for (int i = 1; i <= t.FCount(); ++i) {
    image.values.push_back(valueText(t, i));
    if (image.blank && t.FieldName(i) != "NEGOCIO" && !isDefault(t.FieldGet(i))) image.blank = false;
  }
  return image;
}

size_t REGISTRA_CAMBIOS(const lib::WDBTable& t, const RecordImage& before) {
  const bool added = before.blank;
  std::vector<Row> rows;
  for (int i = 1; i <= t.FCount(); ++i) {
    const std::string now = valueText(t, i);
    std::string was = size_t(i) <= before.values.size() ? before.values[size_t(i) - 1] : "";
    if (now == was) continue;
    const std::string field = t.FieldName(i);
    if (added) was.clear();  // an addition has no value before
    if (secret(field))
      rows.push_back({field, added ? "A" : "M", was.empty() ? "" : kHidden, now.empty() ? "" : kHidden});
    else
      rows.push_back({field, added ? "A" : "M", was, now});
  }
  const std::string key = CLAVE_HISTORIAL(t);
  if (!added && before.key != key) moveHistory(t.Name, before.key, key);
  write(t.Name, key, rows);
  return rows.size();
}

size_t CON_HISTORIAL(lib::WDBTable& t, const std::function<void()>& write) {
  const RecordImage before = IMAGEN(t);
  write();
  return REGISTRA_CAMBIOS(t, before);
}

void REGISTRA_BAJA(const lib::WDBTable& t) {
  write(t.Name, CLAVE_HISTORIAL(t), {{"", "B", "", ""}});
}

std::string historyPrefix(const lib::WDBTable& h, const std::string& table, const std::string& key) {
  return h.KeyPart("TABLA", table) + h.KeyPart("CLAVE", key);
}

std::vector<HistoryEntry> HISTORIAL_DE(const std::string& table, const std::string& key) {
  KeepSelection keep;
  CREA_HISTORIAL();
  std::vector<HistoryEntry> entries;
  auto h = lib::USE(nullptr, kHistoryTable, kHistoryTable);
  h->SetScope(historyPrefix(*h, table, key));
  for (h->GoTop(); !h->Eof(); h->Skip())
    entries.push_back({h->S("CAMPO"), h->S("OPERACION"), h->S("ANTES"), h->S("DESPUES"), h->S("USUARIO"),
                       h->S("ESTACION"), h->D("FECHA"), h->S("HORA")});
  lib::KILLTABLA(h);
  return entries;
}

void CREA_HISTORIAL() {
  if (lib::IS_FILE(nullptr, kHistoryTable)) return;
  const lib::CatalogueTable* c = lib::Catalogue::builtIn().find(kHistoryTable);
  const std::string path = lib::tablePath(kHistoryTable, lib::UseOptions{});
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  // Workstations that start at once: one creates the table, the others then find it.
  const std::string lockPath = path.substr(0, path.size() - 4) + ".LCK";
  const int fd = ::open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0666);
  if (fd >= 0) ::flock(fd, LOCK_EX);
  struct Unlock {
    int fd;
    ~Unlock() {
      if (fd >= 0) ::close(fd);  // closing lets go of the lock
    }
  } unlock{fd};
  if (lib::IS_FILE(nullptr, kHistoryTable)) return;
  // The files with their index; a database server's table takes the tags of the index
  // beside it when it is first opened.
  xbase::DbfTable::create(path, c->fields, c->tags);
  if (lib::G().DEF_RDD != "DBFCDX") lib::storageDriver().create(path, c->fields);
}

}  // namespace screens
