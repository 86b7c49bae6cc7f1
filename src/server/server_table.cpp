#include "server/server_table.h"

#include <typeinfo>

#include "lib/globals.h"
#include "server/pg_client.h"
#include "xbase/cdx_index.h"
#include "xbase/error.h"
#include "xbase/file.h"

namespace server {

namespace {

constexpr int kSharingViolation = 32;  // what the program's retry rules recognise

std::string upper(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

bool startsWith(const std::string& key, const std::string& prefix) {
  return key.size() >= prefix.size() && key.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

struct ServerTable::Query {
  std::vector<Param> params;
  std::string add(Param p) {
    params.push_back(std::move(p));
    return "$" + std::to_string(params.size());
  }
  std::string key(const std::string& bytes) { return add(Param::bytes(bytes)); }
  std::string num(uint32_t n) { return add(Param::text(std::to_string(n))) + "::integer"; }
};

ServerTable::ServerTable(std::shared_ptr<Session> session, ServerTableInfo info, bool shared, bool readOnly)
    : session_(std::move(session)),
      schema_(std::move(info.schema)),
      oid_(info.oid),
      shared_(shared),
      readOnly_(readOnly) {
  handle_ = session_->newHandle();
  schema_->blank(rec_);
  if (!session_->open(handle_, oid_, !shared))
    throw xbase::Error(xbase::EG_OPEN, SE_TABLE_IN_USE,
                       shared ? "la tabla está abierta en uso exclusivo" : "la tabla está en uso por otros",
                       schema_->name().folder + "/" + schema_->name().name, kSharingViolation)
        .setSubsystem("ADSCDX")
        .setRetry(true)
        .setDefault(true);
  session_->attach(this);
  int wanted = 1;
  if (lib::G().XADSCACHERECORDS > 0) wanted = lib::G().XADSCACHERECORDS;
  cache_ = wanted;
  try {
    goTop();
  } catch (...) {  // a table that cannot be read is not left attached and open
    session_->detach(this);
    session_->close(handle_, oid_);
    throw;
  }
}

ServerTable::~ServerTable() {
  session_->detach(this);
  try {
    writeBuffer();
  } catch (...) {
    // A destructor cannot report. The table object flushes before closing (WDBTable::Axit)
    // and reports there; what fails here was already reported by that flush.
  }
  try {
    if (shared_) {
      session_->unlockFile(handle_, oid_);
      for (uint32_t r : session_->recordsOf(handle_, oid_)) session_->unlockRecord(handle_, oid_, r);
    }
    session_->close(handle_, oid_);
  } catch (...) {
    // Only a broken connection fails here, and the server drops the session's locks with it.
  }
}

int ServerTable::fieldIndex(std::string_view name) const {
  std::string n = upper(name);
  while (!n.empty() && n.back() == ' ') n.pop_back();
  while (!n.empty() && n.front() == ' ') n.erase(n.begin());
  size_t arrow = n.find("->");
  if (arrow != std::string::npos) n = n.substr(arrow + 2);
  for (int i = 0; i < fieldCount(); ++i)
    if (field(i).name == n) return i;
  return -1;
}

// ---------------------------------------------------------------------------------------
// Records.

uint32_t ServerTable::recCount() {
  Result r = session_->exec("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + schema_->quotedSequence());
  return uint32_t(r.integer(0, 0));
}

void ServerTable::setEof() {
  eof_ = true;
  recno_ = recCount() + 1;
  schema_->blank(rec_);
}

void ServerTable::land(const Result& r, int row) {
  recno_ = uint32_t(r.integer(row, 0));
  schema_->readRow(r, row, 1, rec_);
  eof_ = false;
}

void ServerTable::loadRecord(uint32_t recno) {
  Result r = session_->exec(
      "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " WHERE \"_recno\" = $1::integer",
      {Param::text(std::to_string(recno))});
  if (r.rows() > 0) {
    land(r, 0);
    return;
  }
  // A number handed out whose row is not (yet) there: an empty record marked deleted.
  schema_->blank(rec_);
  rec_.bytes[0] = '*';
  recno_ = recno;
  eof_ = false;
}

void ServerTable::requireWritable() const {
  if (readOnly_)
    throw xbase::Error(xbase::EG_READONLY, xbase::SC_READ_ONLY, "tabla abierta sólo para lectura", schema_->name().name)
        .setSubsystem("ADSCDX");
}

void ServerTable::requireLocked(const char*) const {
  requireWritable();
  if (shared_ && !session_->holdsFile(handle_, oid_) && !session_->holdsRecord(handle_, oid_, recno_))
    throw xbase::Error(xbase::EG_UNLOCKED, xbase::SC_NOT_LOCKED,
                       "el registro " + std::to_string(recno_) + " no está bloqueado", schema_->name().name)
        .setSubsystem("ADSCDX");
}

void ServerTable::writeBuffer() {
  if (!dirty_ || eof_) return;
  std::vector<Param> params = schema_->rowParams(rec_, recno_);
  bool inserted = pendingNew_;
  if (!pendingNew_) {
    Result r = session_->exec(schema_->updateSql(), params);
    if (r.affected() == 0) inserted = true;  // a record number without its row
  }
  if (inserted) session_->exec(schema_->insertSql(), params);
  dirty_ = false;
  pendingNew_ = false;
  dropCache();
}

xbase::Value ServerTable::get(int i) const {
  const xbase::Field& f = field(i);
  if (f.isMemo()) {
    auto it = rec_.memos.find(i);
    std::string bytes = it == rec_.memos.end() ? std::string() : it->second;
    return xbase::Value::chars(schema_->isTextField(i) ? schema_->codePage().toUtf8(bytes) : bytes);
  }
  xbase::Value v = schema_->codec().decode(f, rec_.bytes.data());
  if (v.type == xbase::ValueType::Char && schema_->isTextField(i)) v.text = schema_->codePage().toUtf8(v.text);
  return v;
}

void ServerTable::put(int i, const xbase::Value& v) {
  requireWritable();
  if (eof_)
    throw xbase::Error(xbase::EG_WRITE, xbase::SC_WRITE, "no hay registro actual (fin de archivo)",
                       schema_->name().name)
        .setSubsystem("ADSCDX");
  requireLocked("put");
  const xbase::Field& f = field(i);
  const std::string& table = schema_->name().name;
  if (f.isMemo()) {
    if (v.isNull()) {
      schema_->codec().encode(f, rec_.bytes.data(), v, table);
    } else {
      if (v.type != xbase::ValueType::Char)
        throw xbase::Error(xbase::EG_DATATYPE, xbase::SC_VALUE, "tipo de dato incorrecto para el campo " + f.name,
                           table)
            .setSubsystem("ADSCDX");
      rec_.memos[i] = schema_->isTextField(i) ? schema_->codePage().fromUtf8(v.text) : v.text;
    }
  } else if (v.type == xbase::ValueType::Char && schema_->isTextField(i)) {
    schema_->codec().encode(f, rec_.bytes.data(), xbase::Value::chars(schema_->codePage().fromUtf8(v.text)), table);
  } else {
    schema_->codec().encode(f, rec_.bytes.data(), v, table);
  }
  dirty_ = true;
}

void ServerTable::deleteRecord() {
  setDeletionMark('*', "delete");
}

void ServerTable::setDeletionMark(char mark, const char* operation) {
  if (eof_) return;
  requireLocked(operation);
  rec_.bytes[0] = uint8_t(mark);
  dirty_ = true;
}

void ServerTable::pack() {
  requireWritable();
  if (shared_)
    throw xbase::Error(xbase::EG_SHARED, xbase::SC_EXCLUSIVE, "compactar requiere uso exclusivo de la tabla",
                       schema_->name().name);
  writeBuffer();
  session_->exec("DELETE FROM " + schema_->quotedTable() + " WHERE \"_deleted\"");
  dropCache();
  goTop();
}

void ServerTable::recall() {
  setDeletionMark(' ', "recall");
}

bool ServerTable::append() {
  requireWritable();
  writeBuffer();
  dropCache();
  bool alone = !shared_ || session_->holdsFile(handle_, oid_);
  std::optional<uint32_t> recno = session_->appendLocked(handle_, oid_, schema_->quotedSequence(), !alone);
  if (!recno) return false;
  schema_->blank(rec_);
  if (session_->inTransaction()) {
    // Rolled back, the number stays taken: a blank deleted record keeps the table dense.
    Record gone;
    schema_->blank(gone);
    gone.bytes[0] = '*';
    session_->afterRollback(schema_->insertSql() + " ON CONFLICT (\"_recno\") DO NOTHING",
                            schema_->rowParams(gone, *recno));
  }
  recno_ = *recno;
  eof_ = bof_ = found_ = false;
  dirty_ = true;
  pendingNew_ = true;
  return true;
}

void ServerTable::afterRollback() {
  dirty_ = false;
  pendingNew_ = false;
  dropCache();
  if (!eof_) loadRecord(recno_);
}

// ---------------------------------------------------------------------------------------
// Locks.

bool ServerTable::lockRecord(uint32_t recno) {
  if (recno == 0) {
    if (eof_) return false;
    recno = recno_;
  }
  if (!shared_ || session_->holdsFile(handle_, oid_) || session_->holdsRecord(handle_, oid_, recno)) return true;
  if (!session_->lockRecord(handle_, oid_, recno)) return false;
  dropCache();
  if (recno == recno_ && !dirty_ && !eof_) loadRecord(recno);  // see what others wrote
  return true;
}

bool ServerTable::lockFile() {
  if (!shared_ || session_->holdsFile(handle_, oid_)) return true;
  writeBuffer();
  if (!session_->lockFile(handle_, oid_)) return false;
  dropCache();
  if (!eof_ && !dirty_) loadRecord(recno_);
  return true;
}

void ServerTable::unlockRecord(uint32_t recno) {
  if (!session_->holdsRecord(handle_, oid_, recno)) return;
  if (recno == recno_) writeBuffer();
  session_->unlockRecord(handle_, oid_, recno);
}

void ServerTable::unlockAll() {
  writeBuffer();
  if (!shared_) return;
  session_->unlockFile(handle_, oid_);
  for (uint32_t r : session_->recordsOf(handle_, oid_)) session_->unlockRecord(handle_, oid_, r);
}

bool ServerTable::isLocked(uint32_t recno) const {
  return !shared_ || session_->holdsFile(handle_, oid_) || session_->holdsRecord(handle_, oid_, recno);
}

std::vector<uint32_t> ServerTable::lockedRecords() const {
  return session_->recordsOf(handle_, oid_);
}

// ---------------------------------------------------------------------------------------
// Orders and scopes.

std::vector<std::string> ServerTable::tagNames() const {
  std::vector<std::string> names;
  for (const auto& t : schema_->tags()) names.push_back(t.spec.name);
  return names;
}

void ServerTable::setOrder(std::string_view name) {
  std::string n = upper(name);
  while (!n.empty() && n.back() == ' ') n.pop_back();
  while (!n.empty() && n.front() == ' ') n.erase(n.begin());
  dropCache();
  if (n.empty()) {
    order_ = -1;
    return;
  }
  int i = schema_->tagIndex(n);
  if (i < 0)
    throw xbase::Error(xbase::EG_NOORDER, xbase::SC_TAG, "no existe la etiqueta " + n, schema_->name().name)
        .setSubsystem("ADSCDX");
  order_ = i;
}

std::string ServerTable::order() const {
  return order_ < 0 ? std::string() : tag()->spec.name;
}

void ServerTable::setDeletedHidden(bool hidden) {
  deletedHidden_ = hidden;
  dropCache();
}

void ServerTable::setScopeTop(std::optional<xbase::Value> top) {
  writeBuffer();
  dropCache();
  scopeTop_ = order_ >= 0 && top ? std::optional<std::string>(schema_->keyOf(*tag(), *top)) : std::nullopt;
}

void ServerTable::setScopeBottom(std::optional<xbase::Value> bottom) {
  writeBuffer();
  dropCache();
  scopeBottom_ = order_ >= 0 && bottom ? std::optional<std::string>(schema_->keyOf(*tag(), *bottom)) : std::nullopt;
}

std::string ServerTable::fullKey(const std::string& prefix) const {
  std::string k = prefix;
  if (k.size() < size_t(tag()->length)) k.append(size_t(tag()->length) - k.size(), '\xFF');
  return k;
}

// The scope as the engine applies it: in storage (ascending) terms the low bound is
// inclusive and the high bound a prefix; a descending tag takes them the other way round.
bool ServerTable::inScope(const std::string& key) const {
  const std::optional<std::string>& low = descending() ? scopeBottom_ : scopeTop_;
  const std::optional<std::string>& high = descending() ? scopeTop_ : scopeBottom_;
  if (low && key < *low) return false;
  if (high && key > fullKey(*high)) return false;
  return true;
}

std::string ServerTable::keyColumn() const {
  return "t." + quoteIdent(tag()->column);
}

std::string ServerTable::scopeSql(Query& q, bool lowSide, bool highSide) const {
  std::string sql = " AND " + keyColumn() + " IS NOT NULL";
  const std::optional<std::string>& low = descending() ? scopeBottom_ : scopeTop_;
  const std::optional<std::string>& high = descending() ? scopeTop_ : scopeBottom_;
  if (lowSide && low) sql += " AND " + keyColumn() + " >= " + q.key(*low);
  if (highSide && high) sql += " AND " + keyColumn() + " <= " + q.key(fullKey(*high));
  if (tag()->spec.unique)  // one entry per key: the record with the lowest number stands for it
    sql += " AND NOT EXISTS (SELECT 1 FROM " + schema_->quotedTable() + " u WHERE u." + quoteIdent(tag()->column) +
           " = " + keyColumn() + " AND u.\"_recno\" < t.\"_recno\")";
  return sql;
}

bool ServerTable::fetch(const std::string& sql, const std::vector<Param>& params, bool forward) {
  dropCache();
  Result r = session_->exec(sql, params);
  if (r.rows() == 0) return false;
  land(r, 0);
  if (forward)
    for (int i = 1; i < r.rows(); ++i) {
      Record rec;
      schema_->readRow(r, i, 1, rec);
      cached_.emplace_back(uint32_t(r.integer(i, 0)), std::move(rec));
    }
  return true;
}

// ---------------------------------------------------------------------------------------
// Navigation.

namespace {

const char* dirWord(bool ascending) {
  return ascending ? "" : " DESC";
}

}  // namespace

// First visible entry of the order (or last), scope applied.
bool ServerTable::orderedFirst(bool fromEnd) {
  Query q;
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  bool ascending = descending() == fromEnd;
  std::string limit = fromEnd ? "1" : std::to_string(cache_);
  if (order_ < 0)
    return fetch("SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" + vis +
                     " ORDER BY t.\"_recno\"" + dirWord(ascending) + " LIMIT " + limit,
                 q.params, !fromEnd);
  std::string sql = "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" +
                    scopeSql(q, true, true) + vis + " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" +
                    dirWord(ascending) + " LIMIT " + limit;
  return fetch(sql, q.params, !fromEnd);
}

void ServerTable::goTop() {
  goEnd(false);
}

void ServerTable::goBottom() {
  goEnd(true);
}

void ServerTable::goEnd(bool bottom) {
  writeBuffer();
  found_ = false;
  bof_ = false;
  if (!orderedFirst(bottom)) {
    setEof();
    bof_ = true;
  }
}

void ServerTable::goTo(uint32_t recno) {
  writeBuffer();
  found_ = false;
  bof_ = false;
  dropCache();
  if (recno < 1 || recno > recCount()) {
    setEof();
    return;
  }
  loadRecord(recno);
}

// Whether the entry next to (key, recno) in storage direction `up` lies in the scope: the
// engine stops at the first entry out of scope, even an invisible one.
bool ServerTable::firstEntryAfterInScope(const std::string& key, uint32_t recno, bool up) {
  Query q;
  std::string k = q.key(key), r = q.num(recno);
  std::string sql = "SELECT " + keyColumn() + " FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() +
                    ", t.\"_recno\") " + (up ? ">" : "<") + " (" + k + ", " + r + ")" + scopeSql(q, false, false) +
                    " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + " LIMIT 1";
  Result res = session_->exec(sql, q.params);
  return res.rows() > 0 && inScope(res.bytes(0, 0));
}

void ServerTable::skip(int64_t count) {
  writeBuffer();
  found_ = false;
  if (count == 0) {
    dropCache();
    if (!eof_) loadRecord(recno_);
    return;
  }
  bool forward = count > 0;
  uint64_t steps = uint64_t(forward ? count : -count);
  bof_ = false;
  if (forward && !eof_ && steps <= cached_.size()) {
    while (steps-- > 1) cached_.pop_front();
    recno_ = cached_.front().first;
    rec_ = std::move(cached_.front().second);
    cached_.pop_front();
    eof_ = false;
    return;
  }
  dropCache();
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  Query q;
  // The offset is a parameter: one prepared statement serves every count.
  std::string offset = " OFFSET " + q.add(Param::text(std::to_string(steps - 1))) + "::bigint";
  std::string limit = " LIMIT " + std::to_string(forward ? cache_ : 1);
  if (order_ < 0) {
    if (forward && eof_) return setEof();
    uint32_t from = eof_ ? recCount() + 1 : recno_;
    std::string sql = "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE t.\"_recno\" " +
                      (forward ? ">" : "<") + " " + q.num(from) + vis + " ORDER BY t.\"_recno\"" + dirWord(forward) +
                      offset + limit;
    if (fetch(sql, q.params, forward)) return;
    if (forward) return setEof();
    goTop();
    bof_ = true;
    return;
  }
  bool up = forward != descending();  // storage direction of the move
  std::string sql;
  if (eof_) {
    if (forward) return setEof();
    // Back from end of file: from the last entry of the scope.
    sql = "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" +
          scopeSql(q, true, true) + vis + " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) +
          offset + limit;
  } else {
    // From the current record's entry, or from where its key would stand when the record
    // is not in the order.
    std::string key = *schema_->key(*tag(), rec_, recno_, true);
    const std::optional<std::string>& low = descending() ? scopeBottom_ : scopeTop_;
    const std::optional<std::string>& high = descending() ? scopeTop_ : scopeBottom_;
    bool comingIn = up ? (low && key < *low) : (high && key > fullKey(*high));
    if (comingIn && !firstEntryAfterInScope(key, recno_, up)) {
      sql.clear();
    } else {
      std::string k = q.key(key), r = q.num(recno_);
      sql = "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() +
            ", t.\"_recno\") " + (up ? ">" : "<") + " (" + k + ", " + r + ")" + scopeSql(q, true, true) + vis +
            " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + offset + limit;
    }
  }
  if (!sql.empty() && fetch(sql, q.params, forward)) return;
  if (forward) return setEof();
  if (!orderedFirst(false)) setEof();
  bof_ = true;
}

bool ServerTable::seek(const xbase::Value& value, bool soft, bool last) {
  writeBuffer();
  bof_ = false;
  dropCache();
  if (order_ < 0)
    throw xbase::Error(xbase::EG_NOORDER, xbase::SC_TAG, "no hay orden activo para buscar", schema_->name().name)
        .setSubsystem("ADSCDX");
  std::string k = schema_->keyOf(*tag(), value);
  std::string kFull = fullKey(k);
  bool desc = descending();
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  std::string base = "SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() + " t WHERE true";
  auto order = [&](bool ascending) {
    return " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" + dirWord(ascending);
  };
  // Reading on in the order's direction, the far bound of the scope goes into the query
  // (so the rows kept for the next skips stay inside it); the near one is checked below.
  auto ahead = [&](Query& q) { return desc ? scopeSql(q, true, false) : scopeSql(q, false, true); };
  std::string more = " LIMIT " + std::to_string(cache_);
  bool ok;
  if (!last) {
    Query q;
    std::string cond = desc ? " AND " + keyColumn() + " <= " + q.key(kFull) : " AND " + keyColumn() + " >= " + q.key(k);
    ok = fetch(base + cond + ahead(q) + vis + order(!desc) + more, q.params, true);
  } else {
    // The last of the matching entries (in the order), when one is visible.
    Query q;
    std::string cond = " AND " + keyColumn() + " >= " + q.key(k) + " AND " + keyColumn() + " <= " + q.key(kFull);
    ok = fetch(base + cond + scopeSql(q, false, false) + vis + order(desc) + " LIMIT 1", q.params, false);
    if (!ok) {
      Query any;
      std::string anyCond =
          " AND " + keyColumn() + " >= " + any.key(k) + " AND " + keyColumn() + " <= " + any.key(kFull);
      bool matches = session_
                         ->exec("SELECT 1 FROM " + schema_->quotedTable() + " t WHERE true" + anyCond +
                                    scopeSql(any, false, false) + " LIMIT 1",
                                any.params)
                         .rows() > 0;
      if (!matches) {
        // No such key: the next entry after it in the order.
        Query n;
        std::string next =
            desc ? " AND " + keyColumn() + " < " + n.key(k) : " AND " + keyColumn() + " > " + n.key(kFull);
        ok = fetch(base + next + ahead(n) + vis + order(!desc) + more, n.params, true);
      }
    }
  }
  std::string landed = ok ? *schema_->key(*tag(), rec_, recno_, true) : std::string();
  if (ok && !inScope(landed)) ok = false;
  found_ = ok && startsWith(landed, k);
  if (!found_ && !(ok && soft)) {
    dropCache();
    setEof();
  }
  return found_;
}

uint32_t ServerTable::keyCount() {
  writeBuffer();
  if (order_ < 0) return recCount();
  Query q;
  std::string sql = "SELECT count(*) FROM " + schema_->quotedTable() + " t WHERE true" + scopeSql(q, true, true);
  return uint32_t(session_->exec(sql, q.params).integer(0, 0));
}

uint32_t ServerTable::keyNo() {
  writeBuffer();
  if (eof_) return 0;
  if (order_ < 0) return recno_;
  std::optional<std::string> key = schema_->key(*tag(), rec_, recno_);
  if (!key || !inScope(*key)) return 0;
  Query q;
  std::string k = q.key(*key), r = q.num(recno_);
  std::string me = " AND t.\"_recno\" = " + r + " AND " + keyColumn() + " = " + k;
  if (tag()->spec.unique &&
      session_->exec("SELECT 1 FROM " + schema_->quotedTable() + " t WHERE true" + me + scopeSql(q, false, false),
                     q.params)
              .rows() == 0)
    return 0;  // another record stands for this key
  Query c;
  std::string ck = c.key(*key), cr = c.num(recno_);
  std::string sql = "SELECT count(*) FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() + ", t.\"_recno\") " +
                    (descending() ? ">=" : "<=") + " (" + ck + ", " + cr + ")" + scopeSql(c, true, true);
  return uint32_t(session_->exec(sql, c.params).integer(0, 0));
}

bool ServerTable::goToKeyNo(uint32_t keyNo) {
  writeBuffer();
  if (order_ < 0) {
    if (keyNo < 1 || keyNo > recCount()) return false;
    goTo(keyNo);
    return true;
  }
  if (keyNo < 1 || keyNo > keyCount()) return false;
  bool ascending = !descending();
  Query q;
  std::string inner = "SELECT " + keyColumn() + " AS k, t.\"_recno\" AS r FROM " + schema_->quotedTable() +
                      " t WHERE true" + scopeSql(q, true, true) + " ORDER BY " + keyColumn() + dirWord(ascending) +
                      ", t.\"_recno\"" + dirWord(ascending) + " OFFSET " +
                      q.add(Param::text(std::to_string(keyNo - 1))) + "::bigint LIMIT 1";
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  std::string sql = "WITH p AS (" + inner + ") SELECT " + schema_->selectList() + " FROM " + schema_->quotedTable() +
                    " t, p WHERE (" + keyColumn() + ", t.\"_recno\") " + (ascending ? ">=" : "<=") + " (p.k, p.r)" +
                    scopeSql(q, true, true) + vis + " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" +
                    dirWord(ascending) + " LIMIT " + std::to_string(cache_);
  if (!fetch(sql, q.params, true)) {
    setEof();
    return false;
  }
  found_ = false;
  bof_ = false;
  return true;
}

// ---------------------------------------------------------------------------------------
// The driver.

namespace {

std::shared_ptr<Session> processSession(const std::string& path) {
  PgClient* client = pgClient();
  if (!client)
    throw xbase::Error(xbase::EG_OPEN, SE_NOT_CONNECTED, "no hay servidor de base de datos configurado", path)
        .setSubsystem("ADSCDX");
  return client->session();
}

// A temporary table made from a template arrives without tags; the template's index,
// copied beside it, says which.
void adoptLocalTags(Session& s, ServerTableInfo& info, const std::string& path) {
  if (!info.schema->tags().empty()) return;
  std::string cdx = xbase::findFileNoCase(xbase::siblingPath(path, ".CDX"));
  if (cdx.empty()) return;
  if (s.exec("SELECT 1 FROM " + info.schema->quotedTable() + " LIMIT 1").rows() > 0) return;
  auto index = xbase::CdxIndex::open(cdx, false, true);
  std::vector<xbase::TagSpec> tags;
  for (const auto& t : index->tags()) {
    const xbase::TagInfo& i = t->info();
    xbase::TagSpec spec;
    spec.name = i.name;
    spec.keyExpr = info.schema->codePage().toUtf8(i.keyExpr);
    spec.forExpr = info.schema->codePage().toUtf8(i.forExpr);
    spec.unique = i.unique();
    spec.candidate = i.candidate();
    spec.descending = i.descending;
    tags.push_back(spec);
  }
  if (tags.empty()) return;
  TableSchema fresh(info.schema->name(), info.schema->fieldSpecs(), tags, info.schema->codePage());
  createServerTable(s, fresh);
  info = *findServerTable(s, info.schema->name());
}

}  // namespace

std::unique_ptr<lib::TableDriver> ServerDriver::open(const std::string& path, bool shared, bool readOnly) {
  std::shared_ptr<Session> s = processSession(path);
  TableName name = tableNameFor(path);
  std::optional<ServerTableInfo> info = findServerTable(*s, name);
  if (!info)
    throw xbase::Error(xbase::EG_OPEN, SE_NO_TABLE, "la tabla no existe en el servidor", path, 2)
        .setSubsystem("ADSCDX");
  adoptLocalTags(*s, *info, path);
  return std::make_unique<ServerTable>(s, std::move(*info), shared, readOnly);
}

void ServerDriver::create(const std::string& path, const std::vector<xbase::FieldSpec>& fields) {
  std::shared_ptr<Session> s = processSession(path);
  TableSchema schema(tableNameFor(path), fields, {}, xbase::CodePage::windows1252());
  createServerTable(*s, schema);
}

bool ServerDriver::exists(const std::string& path) {
  std::shared_ptr<Session> s = processSession(path);
  return findServerTable(*s, tableNameFor(path)).has_value();
}

void installPostgresClient() {
  lib::Globals& g = lib::G();
  if (!g.server || typeid(*g.server) == typeid(NoServer)) g.server = std::make_unique<PgClient>();
  static bool registered = false;
  if (!registered) {
    lib::registerStorageDriver(std::make_unique<ServerDriver>());
    registered = true;
  }
}

}  // namespace server
