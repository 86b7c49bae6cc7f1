#include "server/server_table.h"

#include "server/read_memo.h"

#include <algorithm>
#include <typeinfo>
#include <utility>

#include "lib/globals.h"
#include "server/pg_client.h"
#include "server/read_memo.h"
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

std::string trimmedUpper(std::string_view s) {
  std::string n = upper(s);
  while (!n.empty() && n.back() == ' ') n.pop_back();
  while (!n.empty() && n.front() == ' ') n.erase(n.begin());
  return n;
}

bool startsWith(const std::string& key, const std::string& prefix) {
  return key.size() >= prefix.size() && key.compare(0, prefix.size(), prefix) == 0;
}

const char* dirWord(bool ascending) {
  return ascending ? "" : " DESC";
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
      readOnly_(readOnly),
      marked_(info.marked) {
  handle_ = session_->newHandle();
  schema_->blank(rec_);
  looked_.assign(size_t(schema_->fieldCount()), false);
  if (!session_->open(handle_, oid_, !shared))
    throw xbase::Error(xbase::EG_OPEN, SE_TABLE_IN_USE,
                       shared ? "la tabla está abierta en uso exclusivo" : "la tabla está en uso por otros",
                       schema_->name().folder + "/" + schema_->name().name, kSharingViolation)
        .setSubsystem("ADSCDX")
        .setRetry(true)
        .setDefault(true);
  session_->attach(this);
  cache_ = lib::G().XADSCACHERECORDS > 0 ? lib::G().XADSCACHERECORDS : 1;
  ahead_ = cache_;
  // On the first record, read when somebody looks (most callers seek first).
  recno_ = 0;
  loaded_ = false;
}

ServerTable::~ServerTable() {
  session_->detach(this);
  if (readOn_) forget(*readOn_);
  try {
    writeBuffer();
    flushBatch();
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
  std::string n = trimmedUpper(name);
  size_t arrow = n.find("->");
  if (arrow != std::string::npos) n = n.substr(arrow + 2);
  for (int i = 0; i < fieldCount(); ++i)
    if (field(i).name == n) return i;
  return -1;
}

bool ServerTable::alone() const {
  return !shared_ || session_->holdsFile(handle_, oid_);
}

// ---------------------------------------------------------------------------------------
// Records.

uint32_t ServerTable::serverCount() {
  Result r = session_->exec("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + schema_->quotedSequence());
  uint32_t n = uint32_t(r.integer(0, 0));
  knownCount_ = std::max(knownCount_, n);
  return n;
}

uint32_t ServerTable::recCount() {
  if (nextLocal_) return *nextLocal_ - 1;  // held alone: nobody else appends
  return serverCount();
}

uint32_t ServerTable::recNo() const {
  // A record noted by goTo keeps its number; past the records known, it may be the end.
  if (!loaded_ && (recno_ == 0 || recno_ > knownCount_)) materialize();
  if (!recnoKnown_) {
    auto* self = const_cast<ServerTable*>(this);
    self->recno_ = self->recCount() + 1;
    self->recnoKnown_ = true;
  }
  return recno_;
}

bool ServerTable::eof() const {
  // A record noted by goTo within the records known to exist is no end of file.
  if (!loaded_ && (recno_ == 0 || recno_ > knownCount_)) materialize();
  return eof_;
}

bool ServerTable::bof() const {
  if (!loaded_ && recno_ == 0) materialize();
  return bof_;
}

bool ServerTable::deleted() const {
  materialize();
  if (eof_) return false;
  if (source_.row >= 0) return source_.res.logical(source_.row, source_.first);
  return rec_.bytes[0] == '*';
}

void ServerTable::setEof() {
  eof_ = true;
  loaded_ = true;
  recnoKnown_ = false;  // one past the last record: asked for when somebody wants it
  key_.reset();
  source_ = {};
  schema_->blank(rec_);
}

void ServerTable::Source::point(const Source& other) {
  if (!res.sameAs(other.res)) res = other.res;
  if (columns != other.columns) columns = other.columns;
  row = other.row;
  first = other.first;
  keyColumn = other.keyColumn;
}

void ServerTable::takeFrom(const Source& source) {
  source_.point(source);
  decoded_.assign(size_t(fieldCount()), false);
  blanked_ = false;
  key_.reset();
}

const Record& ServerTable::record() const {
  if (source_.row >= 0 && source_.columns) completeRow();
  if (source_.row >= 0) {
    currentKey();  // kept: the row goes
    schema_->readRow(source_.res, source_.row, source_.first, rec_);
    source_ = {};
  }
  return rec_;
}

const std::optional<std::string>& ServerTable::currentKey() const {
  if (!key_ && source_.row >= 0 && source_.keyColumn >= 0) key_ = source_.key();
  return key_;
}

const std::optional<std::string>& ServerTable::previousKey() const {
  if (!previousKey_ && previousSource_.row >= 0) {
    previousKey_ = previousSource_.key();
    previousSource_ = {};
  }
  return previousKey_;
}

void ServerTable::setPreviousKey(std::optional<std::string> key) {
  previousKey_ = std::move(key);
  previousSource_ = {};
}

void ServerTable::setPreviousSource(const Source& at) {
  previousKey_.reset();
  previousSource_.point(at);
}

void ServerTable::land(const Result& r, int row, const Columns& columns) {
  recno_ = uint32_t(r.integer(row, 0));
  recnoKnown_ = true;
  int keyColumn = keyColumnOf(columns);
  bool keyed = order_ >= 0 && r.columns() > keyColumn;
  takeFrom({r, row, 1, keyed ? keyColumn : -1, columns});
  ++landed_;
  eof_ = false;
  loaded_ = true;
  knownCount_ = std::max(knownCount_, recno_);
}

void ServerTable::landOnAhead() {
  const Source& first = cached_.front();
  ++landed_;
  recno_ = first.recno();
  recnoKnown_ = true;
  takeFrom(first);
  eof_ = false;
  loaded_ = true;
  knownCount_ = std::max(knownCount_, recno_);
  dropAhead(1);
}

// The record and the table's count in one statement: a number without its row reads as a
// blank deleted record, one past the count as end of file.
Statement ServerTable::loadStatement(uint32_t recno) const {
  return {"SELECT (SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + schema_->quotedSequence() + "), " +
              schema_->selectList() + " FROM (SELECT $1::integer AS wanted) w LEFT JOIN " + schema_->quotedTable() +
              " t ON t.\"_recno\" = w.wanted",
          {Param::text(std::to_string(recno))}};
}

Statement ServerTable::loadStatement(const std::vector<uint32_t>& recnos) const {
  return {"SELECT (SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM " + schema_->quotedSequence() + "), " +
              schema_->selectList() + " FROM unnest($1::integer[]) WITH ORDINALITY AS w(wanted, i) LEFT JOIN " +
              schema_->quotedTable() + " t ON t.\"_recno\" = w.wanted ORDER BY w.i",
          {Param::integers(recnos)}};
}

void ServerTable::applyLoad(const Result& r, uint32_t recno, int row) {
  uint32_t count = uint32_t(r.integer(row, 0));
  knownCount_ = std::max(knownCount_, count);
  key_.reset();
  if (!r.null(row, 1)) {
    recno_ = recno;
    recnoKnown_ = true;
    takeFrom({r, row, 2, -1, nullptr});
    eof_ = false;
    loaded_ = true;
    knownCount_ = std::max(knownCount_, recno);
    return;
  }
  if (recno >= 1 && recno <= count) {
    // A number handed out whose row is not (yet) there: an empty record marked deleted.
    source_ = {};
    schema_->blank(rec_);
    rec_.bytes[0] = '*';
    recno_ = recno;
    recnoKnown_ = true;
    eof_ = false;
    loaded_ = true;
    return;
  }
  setEof();
  recno_ = count + 1;
  recnoKnown_ = true;
}

void ServerTable::loadRecord(uint32_t recno) {
  auto held = batch_.find(recno);
  if (held != batch_.end()) {  // our own write, not sent yet
    source_ = {};
    rec_ = held->second;
    recno_ = recno;
    recnoKnown_ = true;
    eof_ = false;
    loaded_ = true;
    key_.reset();
    return;
  }
  Statement s = loadStatement(recno);
  applyLoad(session_->exec(s.sql, s.params), recno);
}

void ServerTable::materialize() const {
  if (loaded_) return;
  auto* self = const_cast<ServerTable*>(this);  // reading what goTo noted changes no meaning
  if (recno_ == 0) {
    // The opening's first record, in natural order whatever order was set since.
    int order = order_;
    self->order_ = -1;
    self->goEnd(false);
    self->order_ = order;
    if (order >= 0) {
      self->dropCache();
      self->key_.reset();
    }
    self->bof_ = self->eof_;
    return;
  }
  self->loadRecord(recno_);
}

void ServerTable::requireWritable() const {
  if (readOnly_)
    throw xbase::Error(xbase::EG_READONLY, xbase::SC_READ_ONLY, "tabla abierta sólo para lectura", schema_->name().name)
        .setSubsystem("ADSCDX");
}

void ServerTable::requireLocked(const char*) const {
  requireWritable();
  if (shared_ && !session_->holdsFile(handle_, oid_) && !session_->holdsRecord(handle_, oid_, recNo()))
    throw xbase::Error(xbase::EG_UNLOCKED, xbase::SC_NOT_LOCKED,
                       "el registro " + std::to_string(recno_) + " no está bloqueado", schema_->name().name)
        .setSubsystem("ADSCDX");
}

void ServerTable::sendWrite(const std::string& sql, std::vector<Param> params) {
  session_->send(sql, std::move(params));
  unsynced_ = true;
}

void ServerTable::writeBuffer() {
  if (!dirty_ || eof_) return;
  if (before_ && record().bytes == *before_) {
    // Assigned back what it held: the server has it already.
    dirty_ = false;
    before_.reset();
    return;
  }
  before_.reset();
  if (batching()) {
    batch_[recno_] = record();
  } else {
    sendWrite(schema_->upsertSql(), schema_->rowParams(record(), recno_));
  }
  // The rows read ahead follow the record where it stood: a write that moves it in the
  // order leaves them behind.
  if (currentKey() && order_ >= 0) {
    std::string now = *schema_->key(*tag(), record(), recno_, true);
    if (*key_ != now) dropCache();
    key_ = now;
  } else if (order_ >= 0) {
    dropCache();  // where it stood in the order is not known
  }
  dirty_ = false;
  pendingNew_ = false;
  if (batch_.size() >= kBatchRows) flushBatch();
}

void ServerTable::flushBatch() {
  if (batch_.empty()) {
    if (nextLocal_ && *nextLocal_ - 1 > knownCount_) knownCount_ = *nextLocal_ - 1;
    return;
  }
  std::vector<std::pair<uint32_t, const Record*>> rows;
  auto sendRows = [&] {
    if (rows.empty()) return;
    sendWrite(schema_->batchSql(), schema_->batchParams(rows));
    rows.clear();
  };
  uint32_t last = 0;
  for (const auto& [recno, record] : batch_) {
    rows.emplace_back(recno, &record);
    last = std::max(last, recno);
    if (rows.size() >= kBatchRows) sendRows();
  }
  sendRows();
  if (nextLocal_ && *nextLocal_ > 1) {
    // The numbers handed out while alone, given to the sequence with the rows.
    sendWrite("SELECT setval('" + schema_->quotedSequence() + "', GREATEST($1::bigint, (SELECT last_value FROM " +
                  schema_->quotedSequence() + ")))",
              {Param::text(std::to_string(*nextLocal_ - 1))});
    knownCount_ = std::max(knownCount_, *nextLocal_ - 1);
  }
  knownCount_ = std::max(knownCount_, last);
  batch_.clear();
}

void ServerTable::flush() {
  writeBuffer();
  flushBatch();
  if (unsynced_) {
    unsynced_ = false;
    session_->sync();  // a write the server refused is reported here
  }
}

void ServerTable::beforeCommit() {
  writeBuffer();
  flushBatch();
}

xbase::Value ServerTable::get(int i) const {
  materialize();
  looked_[size_t(i)] = true;
  if (source_.row >= 0 && !decoded_[size_t(i)]) {
    // Only the fields looked at are decoded from the row.
    int column = source_.column(i);
    if (column < 0) {
      completeRow();
      return get(i);
    }
    if (!blanked_) {
      schema_->blank(rec_);
      blanked_ = true;
    }
    schema_->readField(source_.res, source_.row, column, i, rec_);
    decoded_[size_t(i)] = true;
  }
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
  if (eof())
    throw xbase::Error(xbase::EG_WRITE, xbase::SC_WRITE, "no hay registro actual (fin de archivo)",
                       schema_->name().name)
        .setSubsystem("ADSCDX");
  requireLocked("put");
  materialize();
  wrote_ = true;
  Record& rec = record();
  noteBefore();
  const xbase::Field& f = field(i);
  const std::string& table = schema_->name().name;
  if (f.isMemo()) {
    before_.reset();  // memos are not compared: a record with a memo assigned is written
    if (v.isNull()) {
      schema_->codec().encode(f, rec.bytes.data(), v, table);
    } else {
      if (v.type != xbase::ValueType::Char)
        throw xbase::Error(xbase::EG_DATATYPE, xbase::SC_VALUE, "tipo de dato incorrecto para el campo " + f.name,
                           table)
            .setSubsystem("ADSCDX");
      rec.memos[i] = schema_->isTextField(i) ? schema_->codePage().fromUtf8(v.text) : v.text;
    }
  } else if (v.type == xbase::ValueType::Char && schema_->isTextField(i)) {
    schema_->codec().encode(f, rec.bytes.data(), xbase::Value::chars(schema_->codePage().fromUtf8(v.text)), table);
  } else {
    schema_->codec().encode(f, rec.bytes.data(), v, table);
  }
  dirty_ = true;
}

void ServerTable::deleteRecord() {
  setDeletionMark('*', "delete");
}

void ServerTable::recall() {
  setDeletionMark(' ', "recall");
}

void ServerTable::setDeletionMark(char mark, const char* operation) {
  if (eof()) return;
  requireLocked(operation);
  materialize();
  wrote_ = true;
  noteBefore();
  record().bytes[0] = uint8_t(mark);
  dirty_ = true;
}

void ServerTable::noteBefore() {
  if (!dirty_) {
    if (pendingNew_)
      before_.reset();
    else
      before_ = record().bytes;
  }
}

void ServerTable::pack() {
  requireWritable();
  if (shared_)
    throw xbase::Error(xbase::EG_SHARED, xbase::SC_EXCLUSIVE, "compactar requiere uso exclusivo de la tabla",
                       schema_->name().name);
  writeBuffer();
  flushBatch();
  session_->exec("DELETE FROM " + schema_->quotedTable() + " WHERE \"_deleted\"");
  dropCache();
  goTop();
}

bool ServerTable::append() {
  requireWritable();
  writeBuffer();
  dropCache();
  uint32_t recno = 0;
  if (alone() && !session_->inTransaction()) {
    // Nobody else can append now: the numbers are ours to count.
    if (!nextLocal_) nextLocal_ = serverCount() + 1;
    recno = (*nextLocal_)++;
  } else if (!reserved_.empty() && !session_->inTransaction()) {
    recno = reserved_.front();
    reserved_.pop_front();
  } else {
    std::optional<uint32_t> taken = session_->appendLocked(handle_, oid_, schema_->quotedSequence(), !alone());
    if (!taken) return false;
    recno = *taken;
    if (session_->inTransaction()) {
      // Rolled back, the number stays taken: a blank deleted record keeps the table dense.
      Record gone;
      schema_->blank(gone);
      gone.bytes[0] = '*';
      session_->afterRollback(schema_->insertSql() + " ON CONFLICT (\"_recno\") DO NOTHING",
                              schema_->rowParams(gone, recno));
    }
  }
  source_ = {};
  schema_->blank(rec_);
  recno_ = recno;
  recnoKnown_ = true;
  loaded_ = true;
  key_.reset();
  knownCount_ = std::max(knownCount_, recno);
  eof_ = bof_ = found_ = false;
  dirty_ = true;
  pendingNew_ = true;
  before_.reset();
  wrote_ = true;
  return true;
}

void ServerTable::afterRollback() {
  reserved_.clear();
  group_.clear();
  groupReleased_.clear();
  lockedRows_.clear();
  before_.reset();
  dirty_ = false;
  pendingNew_ = false;
  batch_.clear();
  nextLocal_.reset();
  dropCache();
  if (loaded_ && !eof_) loadRecord(recno_);
}

// ---------------------------------------------------------------------------------------
// Locks.

bool ServerTable::lockRecord(uint32_t recno) {
  if (recno == 0) {
    if (eof()) return false;
    recno = recNo();
  }
  if (!shared_ || session_->holdsFile(handle_, oid_) || session_->holdsRecord(handle_, oid_, recno)) return true;
  bool current = recno == recno_ && recnoKnown_ && !dirty_ && !(loaded_ && eof_);
  if (!current) return session_->lockRecord(handle_, oid_, recno);
  // The record is read again with its lock, in the same round trip: what others wrote.
  std::optional<std::string> before = currentKey();
  Statement read = loadStatement(recno);
  Result r;
  bool ok = session_->lockRecord(handle_, oid_, recno, &read, &r);
  if (r.valid()) {
    applyLoad(r, recno);
    if (before && order_ >= 0) {
      std::optional<std::string> now = eof_ ? std::nullopt : schema_->key(*tag(), record(), recno_, true);
      if (!now || *before != *now) dropCache();  // another workstation moved it
      key_ = now;
    }
  }
  return ok;
}

std::vector<bool> ServerTable::lockRecords(const std::vector<uint32_t>& recnos) {
  if (!shared_ || session_->holdsFile(handle_, oid_)) return std::vector<bool>(recnos.size(), true);
  writeBuffer();
  flushBatch();
  Statement read = loadStatement(recnos);
  Result r;
  std::vector<bool> taken = session_->lockRecords(handle_, oid_, recnos, &read, &r);
  for (size_t i = 0; i < recnos.size(); ++i)
    if (taken[i]) group_.insert(recnos[i]);
  if (r.valid()) {
    lockedRead_ = r;
    lockedRows_.clear();
    for (size_t i = 0; i < recnos.size() && int(i) < r.rows(); ++i)
      if (taken[i]) lockedRows_.emplace(recnos[i], int(i));
  }
  return taken;
}

size_t ServerTable::reserveAppends(size_t count) {
  if (alone() || session_->inTransaction() || count < 2) return 0;
  writeBuffer();
  std::vector<uint32_t> taken = session_->appendLockedMany(handle_, oid_, schema_->quotedSequence(), count);
  for (uint32_t r : taken) {
    reserved_.push_back(r);
    group_.insert(r);
  }
  return taken.size();
}

bool ServerTable::lockFile() {
  if (!shared_ || session_->holdsFile(handle_, oid_)) return true;
  writeBuffer();
  bool positioned = loaded_ ? !eof_ : recno_ != 0;
  if (!positioned || dirty_) {
    if (!session_->lockFile(handle_, oid_)) return false;
    dropCache();
    return true;
  }
  Statement read = loadStatement(recno_);
  Result r;
  uint32_t recno = recno_;
  bool ok = session_->lockFile(handle_, oid_, &read, &r);
  if (r.valid()) applyLoad(r, recno);
  if (ok) dropCache();
  return ok;
}

void ServerTable::unlockRecord(uint32_t recno) {
  lockedRows_.erase(recno);
  if (!session_->holdsRecord(handle_, oid_, recno)) return;
  if (recno == recno_) writeBuffer();
  if (group_.erase(recno)) {
    groupReleased_.push_back(recno);
    if (group_.empty()) releaseGroup();
    return;
  }
  // A write collected goes before the lock that guards it.
  if (!session_->inTransaction() && !alone()) flushBatch();
  session_->unlockRecord(handle_, oid_, recno);
}

void ServerTable::releaseGroup() {
  if (!session_->inTransaction()) flushBatch();
  session_->unlockRecords(handle_, oid_, groupReleased_);
  groupReleased_.clear();
}

void ServerTable::unlockAll() {
  lockedRows_.clear();
  reserved_.clear();  // numbers left unused read as blank deleted records, as a rolled-back append's
  group_.clear();
  groupReleased_.clear();
  writeBuffer();
  if (!shared_) return;
  if (!session_->inTransaction()) {
    // What was written alone, or in a group, goes before the locks do.
    flushBatch();
    nextLocal_.reset();
  }
  session_->unlockFile(handle_, oid_);
  session_->unlockRecords(handle_, oid_, session_->recordsOf(handle_, oid_));
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
  std::string n = trimmedUpper(name);
  dropCache();
  key_.reset();
  source_.keyColumn = -1;  // the key it read was the old order's
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

std::string ServerTable::selectList() const {
  std::string key = order_ < 0 ? std::string() : ", " + keyColumn();
  listColumns_.reset();
  if (wrote_ || landed_ < kLearnRows || batching()) return schema_->selectList() + key;
  auto columns = std::make_shared<std::vector<int>>(size_t(fieldCount()), -1);
  std::string list = "\"_recno\", \"_deleted\"";
  int at = 2;
  for (int i = 0; i < fieldCount(); ++i)
    if (looked_[size_t(i)]) {
      list += ", " + schema_->column(i);
      (*columns)[size_t(i)] = at++;
    }
  if (at - 2 == fieldCount()) return schema_->selectList() + key;
  listColumns_ = std::move(columns);
  return list + key;
}

int ServerTable::keyColumnOf(const Columns& columns) const {
  if (!columns) return 2 + fieldCount();
  return 2 + int(std::count_if(columns->begin(), columns->end(), [](int c) { return c >= 0; }));
}

void ServerTable::completeRow() const {
  auto* self = const_cast<ServerTable*>(this);  // reading the rest changes no meaning
  std::optional<std::string> key = currentKey();
  self->dropCache();  // the rows read with it lack the field too: the next read brings it
  self->loadRecord(recno_);
  if (order_ >= 0 && !eof_) self->key_ = key;  // where the walk stood, as it read it
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

void ServerTable::dropCache() {
  if (readOn_) {
    forget(*readOn_);
    readOn_.reset();
  }
  // Rows read ahead and never used: the next read asks for fewer.
  if (cachedRows_ > size_t(ahead_) / 2) ahead_ = std::max(cache_, ahead_ / 2);
  clearAhead();
  cachedToEnd_ = false;
  setPreviousKey(std::nullopt);
}

void ServerTable::clearAhead() {
  cached_.clear();
  cachedRows_ = 0;
}

ServerTable::Source ServerTable::aheadAt(size_t i) const {
  for (const Source& s : cached_) {
    size_t rows = size_t(s.res.rows() - s.row);
    if (i < rows) {
      Source at = s;
      at.row += int(i);
      return at;
    }
    i -= rows;
  }
  return {};
}

void ServerTable::dropAhead(size_t n) {
  cachedRows_ -= std::min(n, cachedRows_);
  while (n > 0 && !cached_.empty()) {
    Source& s = cached_.front();
    size_t rows = size_t(s.res.rows() - s.row);
    if (n < rows) {
      s.row += int(n);
      return;
    }
    n -= rows;
    cached_.pop_front();
  }
}

bool ServerTable::fetch(const std::string& sql, const std::vector<Param>& params, bool forward, int limit) {
  flushBatch();
  dropCache();
  Columns columns = listColumns_;  // of the select list `sql` was made with
  std::string key = forward && limit >= kReadOnFrom && memoUsable() ? memoKey(sql, params, limit) : std::string();
  Result r;
  if (std::optional<ReadMemo::Answer> answer = key.empty() ? std::nullopt : kept(key)) {
    r = answer->result;
    limit = ahead_ = answer->limit;  // the walk goes on as the one that read it
  } else if (!key.empty()) {
    r = take(ask(sql, params, true), key, limit);
  } else {
    r = session_->exec(sql, params);
  }
  if (r.rows() == 0) return false;
  land(r, 0, columns);
  if (forward) keepAhead(r, limit, columns);
  return true;
}

// The statement without its LIMIT: an answer kept for as many rows, or for fewer or more,
// serves the walk alike.
std::string ServerTable::memoKey(const std::string& sql, const std::vector<Param>& params, int limit) const {
  std::string lim = " LIMIT " + std::to_string(limit);
  bool limited = sql.size() >= lim.size() && sql.compare(sql.size() - lim.size(), lim.size(), lim) == 0;
  std::string key = std::to_string(oid_) + '\n' + sql.substr(0, limited ? sql.size() - lim.size() : sql.size());
  for (const Param& p : params) key += (p.null ? "\n-" : p.binary ? "\nb" : "\nt") + p.data;
  return key;
}

std::optional<ReadMemo::Answer> ServerTable::kept(const std::string& key) {
  if (!session_->memo().find(key)) return std::nullopt;
  return stillGood(key, session_->exec(markSql()));
}

std::optional<ReadMemo::Answer> ServerTable::stillGood(const std::string& key, const Result& mark) {
  noteMark(mark);
  const ReadMemo::Answer* answer = session_->memo().find(key);
  if (answer && mark.rows() == 1 && mark.integer(0, 0) == answer->mark) {
    session_->memo().noteUse();
    return *answer;
  }
  session_->memo().forgetTable(oid_);
  return std::nullopt;
}

// The table's mark, and the same again when every transaction that changed the table had
// ended as the statement began (none under way, the mark's one among those it sees), else
// null. Read so before a read and then read again after it and found the same, nothing
// changed the table in between that the read did not see: a change that began later
// moves the mark past this one. Any such mark read before the read serves, the one read
// after the walk's last read included.
std::string ServerTable::markSql() const {
  return "SELECT m.last_value, CASE WHEN m.last_value < pg_snapshot_xmax(s)::text::bigint AND NOT EXISTS "
         "(SELECT FROM pg_snapshot_xip(s)) THEN m.last_value END FROM " +
         schema_->quotedMark() + " m, pg_current_snapshot() s";
}

void ServerTable::noteMark(const Result& mark) {
  quietMark_.reset();
  if (mark.rows() == 1 && mark.columns() == 2 && !mark.null(0, 1)) quietMark_ = mark.integer(0, 1);
}

ServerTable::Asked ServerTable::ask(const std::string& sql, const std::vector<Param>& params, bool marked) {
  Asked a;
  if (marked && quietMark_) a.quietBefore = quietMark_;
  if (marked && !quietMark_) a.before = session_->request(markSql(), {});
  a.read = session_->request(sql, params);
  if (marked) a.after = session_->request(markSql(), {});
  return a;
}

void ServerTable::forget(const Asked& a) {
  for (long ticket : {a.before, a.read, a.after})
    if (ticket) session_->forget(ticket);
}

Result ServerTable::take(const Asked& a, const std::string& key, int limit) {
  Result before, r, after;
  Asked left = a;
  try {
    // The last asked first: the wait for it reads the answers before it.
    if (a.after) after = session_->take(std::exchange(left.after, 0));
    if (a.before) before = session_->take(std::exchange(left.before, 0));
    r = session_->take(std::exchange(left.read, 0));
  } catch (...) {
    forget(left);
    throw;
  }
  std::optional<long long> quiet = a.quietBefore;
  if (a.before) {
    noteMark(before);
    quiet = quietMark_;
  }
  if (!a.after) return r;
  noteMark(after);
  if (quiet && after.rows() == 1 && after.integer(0, 0) == *quiet)
    session_->memo().keep(key, {oid_, *quiet, limit, r});
  return r;
}

// The rows of `r` after its first, kept for the next skips forward.
void ServerTable::keepAhead(const Result& r, int limit, const Columns& columns) {
  if (r.rows() > 1) {
    cached_.push_back({r, 1, 1, order_ >= 0 ? keyColumnOf(columns) : -1, columns});
    cachedRows_ += size_t(r.rows() - 1);
  }
  cachedToEnd_ = r.rows() < limit;
}

// A long walk forward asks for the rows after those it holds when it has gone through half
// of them, so that the server reads them while the walk goes on.
void ServerTable::readOnWhileWalking() {
  if (readOn_ || cachedToEnd_ || cachedRows_ == 0 || ahead_ < kReadOnFrom || cachedRows_ > size_t(ahead_) / 2) return;
  flushBatch();
  Source last = cached_.back();
  last.row = last.res.rows() - 1;
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  int limit = std::min(kMaxReadAhead, ahead_ * 2);
  std::string lim = " LIMIT " + std::to_string(limit);
  Query q;
  std::string sql;
  if (order_ < 0) {
    sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE t.\"_recno\" > " +
          q.num(last.recno()) + vis + " ORDER BY t.\"_recno\"" + lim;
  } else {
    bool up = !descending();
    std::string k = q.key(last.key()), r = q.num(last.recno());
    sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() +
          ", t.\"_recno\") " + (up ? ">" : "<") + " (" + k + ", " + r + ")" + scopeSql(q, true, true) + vis +
          " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + lim;
  }
  readOnKey_ = memoUsable() ? memoKey(sql, q.params, limit) : std::string();
  readOnRecalls_ = !readOnKey_.empty() && session_->memo().find(readOnKey_);
  readOn_ = readOnRecalls_ ? ask(markSql(), {}, false) : ask(sql, q.params, !readOnKey_.empty());
  readOnSql_ = std::move(sql);
  readOnParams_ = std::move(q.params);
  readOnLimit_ = limit;
  readOnColumns_ = listColumns_;
}

// The skip forward past the last row held, answered by the rows asked for ahead: false
// when none were asked for.
bool ServerTable::takeReadOn() {
  if (!readOn_) return false;
  Asked asked = *readOn_;
  readOn_.reset();
  std::optional<std::string> previous = order_ >= 0 ? currentKey() : std::nullopt;
  Result r = take(asked, readOnKey_, readOnLimit_);
  if (readOnRecalls_) {
    if (std::optional<ReadMemo::Answer> answer = stillGood(readOnKey_, r)) {
      r = answer->result;
      readOnLimit_ = answer->limit;
    } else {
      r = take(ask(readOnSql_, readOnParams_, true), readOnKey_, readOnLimit_);
    }
  }
  ahead_ = readOnLimit_;
  clearAhead();
  if (r.rows() == 0) {
    cachedToEnd_ = false;
    setEof();
    return true;
  }
  land(r, 0, readOnColumns_);
  keepAhead(r, readOnLimit_, readOnColumns_);
  if (order_ >= 0) setPreviousKey(previous);
  return true;
}

// ---------------------------------------------------------------------------------------
// Navigation.

// First visible entry of the order (or last), scope applied.
bool ServerTable::orderedFirst(bool fromEnd) {
  Query q;
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  bool ascending = descending() == fromEnd;
  int limit = fromEnd ? 1 : ahead_;
  std::string lim = " LIMIT " + std::to_string(limit);
  if (order_ < 0)
    return fetch("SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" + vis +
                     " ORDER BY t.\"_recno\"" + dirWord(ascending) + lim,
                 q.params, !fromEnd, limit);
  std::string sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" +
                    scopeSql(q, true, true) + vis + " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" +
                    dirWord(ascending) + lim;
  return fetch(sql, q.params, !fromEnd, limit);
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
  key_.reset();
  if (recno < 1) {
    setEof();
    return;
  }
  // Noted only: read with its lock, or when somebody looks at it.
  recno_ = recno;
  setPreviousKey(std::nullopt);
  recnoKnown_ = true;
  eof_ = false;
  loaded_ = false;
  auto locked = lockedRows_.find(recno);
  if (locked != lockedRows_.end()) {
    int row = locked->second;
    lockedRows_.erase(locked);
    if (!batch_.count(recno)) return applyLoad(lockedRead_, recno, row);
  }
  if (batch_.count(recno) || (nextLocal_ && recno < *nextLocal_ && recno > knownCount_)) loadRecord(recno);
}

// Whether the entry next to (key, recno) in storage direction `up` lies in the scope: the
// engine stops at the first entry out of scope, even an invisible one.
bool ServerTable::firstEntryAfterInScope(const std::string& key, uint32_t recno, bool up) {
  flushBatch();
  Query q;
  std::string k = q.key(key), r = q.num(recno);
  std::string sql = "SELECT " + keyColumn() + " FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() +
                    ", t.\"_recno\") " + (up ? ">" : "<") + " (" + k + ", " + r + ")" + scopeSql(q, false, false) +
                    " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + " LIMIT 1";
  Result res = session_->exec(sql, q.params);
  return res.rows() > 0 && inScope(res.bytes(0, 0));
}

void ServerTable::skip(int64_t count) {
  materialize();
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
  if (forward && !eof_ && steps <= cachedRows_) {
    // The key of the entry left, read from its row only if a seek asks for it.
    if (order_ >= 0) {
      if (steps > 1)
        setPreviousSource(aheadAt(size_t(steps - 2)));
      else if (key_ || source_.row < 0 || source_.keyColumn < 0)
        setPreviousKey(currentKey());
      else
        setPreviousSource(source_);
    }
    dropAhead(size_t(steps - 1));
    landOnAhead();
    readOnWhileWalking();
    return;
  }
  if (forward && !eof_ && steps == 1 && cachedRows_ == 0 && takeReadOn()) {
    readOnWhileWalking();
    return;
  }
  if (forward && !eof_ && cachedToEnd_) {  // the rows read ahead reached the end of the scope
    clearAhead();
    cachedToEnd_ = false;
    return setEof();
  }
  dropCache();
  // A walk forward that outran what was read ahead reads further this time.
  if (forward && !eof_) ahead_ = std::min(kMaxReadAhead, ahead_ * 2);
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  Query q;
  // The offset is a parameter: one prepared statement serves every count.
  std::string offset = " OFFSET " + q.add(Param::text(std::to_string(steps - 1))) + "::bigint";
  int limit = forward ? ahead_ : 1;
  std::string lim = " LIMIT " + std::to_string(limit);
  if (order_ < 0) {
    if (forward && eof_) return setEof();
    uint32_t from = eof_ ? recCount() + 1 : recno_;
    std::string sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE t.\"_recno\" " +
                      (forward ? ">" : "<") + " " + q.num(from) + vis + " ORDER BY t.\"_recno\"" + dirWord(forward) +
                      offset + lim;
    if (fetch(sql, q.params, forward, limit)) return;
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
    sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE true" + scopeSql(q, true, true) +
          vis + " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + offset + lim;
  } else {
    // From the current record's entry, or from where its key would stand when the record
    // is not in the order.
    std::string key = currentKey() ? *key_ : *schema_->key(*tag(), record(), recno_, true);
    const std::optional<std::string>& low = descending() ? scopeBottom_ : scopeTop_;
    const std::optional<std::string>& high = descending() ? scopeTop_ : scopeBottom_;
    bool comingIn = up ? (low && key < *low) : (high && key > fullKey(*high));
    if (comingIn && !firstEntryAfterInScope(key, recno_, up)) {
      sql.clear();
    } else {
      std::string k = q.key(key), r = q.num(recno_);
      sql = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE (" + keyColumn() +
            ", t.\"_recno\") " + (up ? ">" : "<") + " (" + k + ", " + r + ")" + scopeSql(q, true, true) + vis +
            " ORDER BY " + keyColumn() + dirWord(up) + ", t.\"_recno\"" + dirWord(up) + offset + lim;
      if (forward && !descending() && steps == 1 && !comingIn) {
        if (fetch(sql, q.params, forward, limit)) {
          setPreviousKey(key);  // the entry left is the one before
          return;
        }
        sql.clear();
      }
    }
  }
  if (!sql.empty() && fetch(sql, q.params, forward, limit)) return;
  if (forward) return setEof();
  if (!orderedFirst(false)) setEof();
  bof_ = true;
}

// A seek forward from the current record, answered from the rows read ahead when the key
// falls among them: nullopt when the server has to answer.
std::optional<bool> ServerTable::seekAhead(const std::string& k, bool soft) {
  if (descending() || !loaded_ || eof_ || !currentKey()) return std::nullopt;
  if (!(*key_ < k)) {
    // A walk that went one past the keys before `k`: the current record is the first at
    // or after it.
    if (!previousKey() || !(*previousKey() < k)) return std::nullopt;
    found_ = startsWith(*key_, k);
    if (!found_ && !soft) {
      dropCache();
      setEof();
    }
    return found_;
  }
  if (cachedRows_ == 0 && !cachedToEnd_) return std::nullopt;
  size_t at = 0;
  std::optional<std::string> previous = key_;
  for (const Source& batch : cached_) {
    Source row = batch;
    for (; row.row < row.res.rows(); ++row.row, ++at) {
      std::string key = row.key();
      if (!(key < k)) break;
      previous = std::move(key);
    }
    if (row.row < row.res.rows()) break;
  }
  if (at == cachedRows_) {
    if (!cachedToEnd_) return std::nullopt;
    dropCache();
    found_ = false;
    setEof();  // nothing at or after the key in the scope
    return false;
  }
  dropAhead(at);
  landOnAhead();
  setPreviousKey(previous);
  found_ = startsWith(*currentKey(), k);
  if (!found_ && !soft) {
    dropCache();
    setEof();
  }
  return found_;
}

bool ServerTable::seek(const xbase::Value& value, bool soft, bool last) {
  writeBuffer();
  bof_ = false;
  if (order_ < 0)
    throw xbase::Error(xbase::EG_NOORDER, xbase::SC_TAG, "no hay orden activo para buscar", schema_->name().name)
        .setSubsystem("ADSCDX");
  std::string k = schema_->keyOf(*tag(), value);
  if (!last)
    if (std::optional<bool> answer = seekAhead(k, soft)) return *answer;
  dropCache();
  std::string kFull = fullKey(k);
  bool desc = descending();
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  std::string base = "SELECT " + selectList() + " FROM " + schema_->quotedTable() + " t WHERE true";
  auto order = [&](bool ascending) {
    return " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" + dirWord(ascending);
  };
  // Reading on in the order's direction, the far bound of the scope goes into the query
  // (so the rows kept for the next skips stay inside it); the near one is checked below.
  auto ahead = [&](Query& q) { return desc ? scopeSql(q, true, false) : scopeSql(q, false, true); };
  int limit = ahead_;
  std::string more = " LIMIT " + std::to_string(limit);
  bool ok;
  if (!last) {
    Query q;
    std::string cond = desc ? " AND " + keyColumn() + " <= " + q.key(kFull) : " AND " + keyColumn() + " >= " + q.key(k);
    ok = fetch(base + cond + ahead(q) + vis + order(!desc) + more, q.params, true, limit);
  } else {
    // The last of the matching entries (in the order), when one is visible.
    Query q;
    std::string cond = " AND " + keyColumn() + " >= " + q.key(k) + " AND " + keyColumn() + " <= " + q.key(kFull);
    ok = fetch(base + cond + scopeSql(q, false, false) + vis + order(desc) + " LIMIT 1", q.params, false, 1);
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
        ok = fetch(base + next + ahead(n) + vis + order(!desc) + more, n.params, true, limit);
      }
    }
  }
  std::string landed = ok ? (currentKey() ? *key_ : *schema_->key(*tag(), record(), recno_, true)) : std::string();
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
  flushBatch();
  if (order_ < 0) return recCount();
  Query q;
  std::string sql = "SELECT count(*) FROM " + schema_->quotedTable() + " t WHERE true" + scopeSql(q, true, true);
  return uint32_t(session_->exec(sql, q.params).integer(0, 0));
}

uint32_t ServerTable::keyNo() {
  materialize();
  writeBuffer();
  flushBatch();
  if (eof_) return 0;
  if (order_ < 0) return recno_;
  std::optional<std::string> key = schema_->key(*tag(), record(), recno_);
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
  flushBatch();
  if (order_ < 0) {
    if (keyNo < 1 || keyNo > recCount()) return false;
    goTo(keyNo);
    return true;
  }
  if (keyNo < 1) return false;
  bool ascending = !descending();
  Query q;
  std::string inner = "SELECT " + keyColumn() + " AS k, t.\"_recno\" AS r FROM " + schema_->quotedTable() +
                      " t WHERE true" + scopeSql(q, true, true) + " ORDER BY " + keyColumn() + dirWord(ascending) +
                      ", t.\"_recno\"" + dirWord(ascending) + " OFFSET " +
                      q.add(Param::text(std::to_string(keyNo - 1))) + "::bigint LIMIT 1";
  std::string vis = deletedHidden_ ? " AND NOT t.\"_deleted\"" : "";
  int limit = ahead_;
  std::string sql = "WITH p AS (" + inner + ") SELECT " + selectList() + " FROM " + schema_->quotedTable() +
                    " t, p WHERE (" + keyColumn() + ", t.\"_recno\") " + (ascending ? ">=" : "<=") + " (p.k, p.r)" +
                    scopeSql(q, true, true) + vis + " ORDER BY " + keyColumn() + dirWord(ascending) + ", t.\"_recno\"" +
                    dirWord(ascending) + " LIMIT " + std::to_string(limit);
  // Past the last key the inner query finds nothing, and so does the whole: one query
  // answers both whether the key number exists and where it lands.
  if (!fetch(sql, q.params, true, limit)) {
    if (keyNo > keyCount()) return false;
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
