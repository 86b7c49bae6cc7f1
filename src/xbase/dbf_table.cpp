#include "xbase/dbf_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "xbase/byte_order.h"
#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/key_codec.h"

namespace xbase {

namespace {

constexpr size_t kAppendBufferLimit = 1 << 20;
constexpr int kSharingViolation = 32;  // what the program's retry rules recognise

std::string upper(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

bool startsWith(std::string_view key, std::string_view prefix) {
  return key.size() >= prefix.size() && std::memcmp(key.data(), prefix.data(), prefix.size()) == 0;
}

int comparePrefix(std::string_view key, std::string_view prefix) {
  size_t n = std::min(key.size(), prefix.size());
  int c = std::memcmp(key.data(), prefix.data(), n);
  if (c != 0 || key.size() >= prefix.size()) return c;
  return -1;
}

bool isTextField(const Field& f) {
  return (f.type == 'C' || f.type == 'M' || f.type == 'V') && !f.binary();
}

// Finds the clause keyword `word` as a whole word outside quotes; npos when absent.
size_t findKeyword(const std::string& text, const std::string& word, size_t from = 0) {
  std::string up = upper(text);
  char quote = 0;
  for (size_t i = from; i < up.size(); ++i) {
    char c = up[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
      continue;
    }
    if (c == '[') {
      quote = ']';
      continue;
    }
    if (up.compare(i, word.size(), word) == 0 && (i == 0 || std::isspace(static_cast<unsigned char>(up[i - 1]))) &&
        (i + word.size() == up.size() || std::isspace(static_cast<unsigned char>(up[i + word.size()]))))
      return i;
  }
  return std::string::npos;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Expression context over a record buffer.

class DbfTable::RecordContext : public EvalContext {
 public:
  RecordContext(const DbfTable& t, const std::vector<uint8_t>& rec, uint32_t recno) : t_(t), rec_(rec), recno_(recno) {}
  Value field(int index) const override {
    const Field& f = t_.field(index);
    if (f.isMemo()) {
      if (!t_.memo_ || t_.codec_->isNull(f, rec_.data())) return Value::chars("");
      return Value::chars(t_.memo_->read(t_.codec_->memoBlock(f, rec_.data())));
    }
    return t_.codec_->decode(f, rec_.data());
  }
  uint32_t recNo() const override { return recno_; }
  bool deleted() const override { return rec_[0] == '*'; }

 private:
  const DbfTable& t_;
  const std::vector<uint8_t>& rec_;
  uint32_t recno_;
};

// ---------------------------------------------------------------------------------------
// Tag declarations.

TagSpec TagSpec::parse(std::string_view text) {
  TagSpec s;
  std::string t = trim(text);
  size_t colon = t.find(':');
  if (colon == std::string::npos)
    throw Error(EG_ARG, SC_TAG, "etiqueta sin nombre (se espera NOMBRE: EXPRESIÓN): " + t);
  s.name = upper(trim(t.substr(0, colon)));
  std::string rest = trim(t.substr(colon + 1));
  auto takeFlag = [&](const char* word, bool& flag) {
    size_t at = findKeyword(rest, word);
    if (at != std::string::npos) {
      flag = true;
      rest = trim(rest.substr(0, at) + " " + rest.substr(at + std::strlen(word)));
    }
  };
  takeFlag("UNIQUE", s.unique);
  takeFlag("DESCENDING", s.descending);
  takeFlag("CANDIDATE", s.candidate);
  size_t forAt = findKeyword(rest, "FOR");
  if (forAt != std::string::npos) {
    s.forExpr = trim(rest.substr(forAt + 3));
    rest = trim(rest.substr(0, forAt));
  }
  s.keyExpr = rest;
  if (s.name.empty() || s.keyExpr.empty()) throw Error(EG_ARG, SC_TAG, "etiqueta incompleta: " + t);
  return s;
}

// ---------------------------------------------------------------------------------------
// Opening and creating.

std::unique_ptr<DbfTable> DbfTable::open(const std::string& path, OpenOptions options) {
  std::unique_ptr<DbfTable> t(new DbfTable);
  t->options_ = options;
  t->file_ = File::open(path, File::Access::ReadWrite, SC_OPEN_DBF);
  if (!t->file_.writable() && !options.readOnly)
    throw Error(EG_OPEN, SC_OPEN_DBF, "la tabla es de sólo lectura", t->file_.path(), 13);

  LockRange mode = LockScheme::openMode();
  if (!t->file_.tryLock(mode.offset, mode.length, !options.shared)) {
    throw Error(EG_OPEN, SC_EXCLUSIVE,
                options.shared ? "la tabla está abierta en uso exclusivo" : "la tabla está en uso por otros",
                t->file_.path(), kSharingViolation)
        .setRetry(true)
        .setDefault(true);
  }

  // The size is taken after the header: an appender elsewhere writes its record before
  // the count, so the count read first always fits. A torn read of a count being
  // rewritten that very moment is read again.
  for (int attempt = 0;; ++attempt) {
    std::vector<uint8_t> head(kMaxHeaderLength);
    head.resize(t->file_.readAt(0, head.data(), head.size()));
    uint64_t size = t->file_.size();
    try {
      t->header_ = DbfHeader::parse(head, size, t->file_.path());
      break;
    } catch (const Error&) {
      if (attempt == 100) throw;
      std::this_thread::yield();
    }
  }
  t->codec_ = std::make_unique<FieldCodec>(t->header_);
  t->codePage_ = &CodePage::forLanguageDriver(t->header_.languageDriver);
  for (size_t i = 0; i < t->header_.fields.size(); ++i)
    if (t->header_.fields[i].type != '0') t->visible_.push_back(int(i));
  t->locks_.emplace(t->header_.headerLength, t->header_.recordLength);
  t->mapHeader();
  t->count_ = t->header_.recordCount;
  t->record_.assign(t->header_.recordLength, ' ');

  if (t->header_.hasMemoFile()) {
    bool dbt = t->header_.memoIsDbt();
    std::string memoPath = siblingPath(t->file_.path(), dbt ? ".DBT" : ".FPT");
    if (!fileExists(memoPath)) throw Error(EG_OPEN, SC_OPEN_FPT, "falta el archivo memo", memoPath, 2);
    t->memo_ = FptMemo::open(memoPath, t->file_.writable() && !options.readOnly,
                             dbt ? FptMemo::Kind::Dbt : FptMemo::Kind::Fpt);
  }
  t->openIndex();
  t->goTop();
  return t;
}

void DbfTable::openIndex() {
  std::string cdx = siblingPath(file_.path(), ".CDX");
  bool exists = fileExists(cdx);
  if (!exists) {
    if (header_.tableFlags & 0x01) throw Error(EG_OPEN, SC_OPEN_CDX, "falta el índice estructural", cdx, 2);
    return;
  }
  index_ = CdxIndex::open(cdx, file_.writable() && !options_.readOnly, options_.shared);
  compileTags();
}

void DbfTable::compileTags() {
  tags_.clear();
  std::vector<FieldInfo> infos;
  for (int i = 0; i < fieldCount(); ++i) {
    const Field& f = field(i);
    infos.push_back({f.name, f.type, f.length, f.decimals});
  }
  for (const auto& tag : index_->tags()) {
    TagRuntime rt;
    rt.tag = tag.get();
    const TagInfo& info = tag->info();
    try {
      rt.key = Expr::compile(info.keyExpr, infos, *codePage_);
      if (!info.forExpr.empty()) rt.filter = Expr::compile(info.forExpr, infos, *codePage_);
      rt.maintainable = true;
    } catch (const Error& e) {
      rt.why = e.description();  // a writable open refuses the tag below; a read-only one still reads it
    }
    KeyKind kind = KeyKind::Char;
    if (rt.key) {
      kind = keyKindFor(rt.key->type(), info.keyLength, info.nullableKey());
      int expected = rt.key->type() == ValueType::Char ? 0 : keyLengthFor(rt.key->type(), 0, kind == KeyKind::Int32);
      if (info.nullableKey()) expected += expected ? 1 : 0;
      if (kind == KeyKind::Unknown || (expected && expected != info.keyLength)) {
        rt.maintainable = false;
        rt.why = "la longitud de clave no corresponde a la expresión " + info.keyExpr;
        kind = KeyKind::Char;
      }
    } else if (info.keyLength == 4 || info.keyLength == 8) {
      kind = KeyKind::Unknown;  // read as stored; pad guessed as blank
    }
    if (rt.filter && rt.filter->type() != ValueType::Logical) {
      rt.maintainable = false;
      rt.why = "la condición FOR no es lógica: " + info.forExpr;
    }
    if (!info.collation.empty()) {
      rt.maintainable = false;
      rt.why = "intercalación " + info.collation + " no soportada";
    }
    if (info.signature == 5) {
      rt.maintainable = false;
      rt.readable = false;
      rt.why = "índice de mapa de bits no soportado";
    }
    tag->setKind(kind);
    if (!rt.maintainable && !options_.readOnly && file_.writable())
      throw Error(EG_CORRUPTION, SC_EXPR, "no se puede mantener la etiqueta " + info.name + ": " + rt.why,
                  index_->path());
    tags_.push_back(std::move(rt));
  }
}

void DbfTable::create(const std::string& path, const std::vector<FieldSpec>& fields, const std::vector<TagSpec>& tags,
                      const CodePage& codePage) {
  DbfHeader h = DbfHeader::forNewTable(fields, codePage.languageDriver(), path);
  if (tags.empty()) h.tableFlags = uint8_t(h.tableFlags & ~0x01);
  {
    File f = File::create(path);
    std::vector<uint8_t> bytes = h.build();
    bytes.push_back(0x1A);
    f.writeAt(0, bytes.data(), bytes.size());
  }
  std::string memoPath = siblingPath(path, ".FPT");
  if (h.hasMemoFile()) FptMemo::create(memoPath);
  std::string cdx = siblingPath(path, ".CDX");
  if (fileExists(cdx)) std::remove(cdx.c_str());
  if (tags.empty()) return;
  CdxIndex::createEmpty(cdx);
  auto t = open(path, OpenOptions{false, false});
  for (const auto& spec : tags) t->createTag(spec);
}

DbfTable::~DbfTable() {
  try {
    writeBuffer();
    flushAppends();
    if (index_) index_->flush();
  } catch (...) {
    // A destructor cannot report. Callers that must know call flush() first (the table
    // objects of the program do, and report its failure); `check` shows what is missing.
  }
}

int DbfTable::fieldIndex(std::string_view name) const {
  std::string n = upper(trim(name));
  size_t arrow = n.find("->");
  if (arrow != std::string::npos) n = n.substr(arrow + 2);
  for (size_t i = 0; i < visible_.size(); ++i)
    if (header_.fields[size_t(visible_[i])].name == n) return int(i);
  return -1;
}

int DbfTable::requireField(std::string_view name) const {
  int i = fieldIndex(name);
  if (i < 0) throw Error(EG_NOVAR, SC_FIELD, "no existe el campo " + std::string(name), file_.path());
  return i;
}

void DbfTable::requireExclusive(const char* operation) const {
  if (options_.shared)
    throw Error(EG_SHARED, SC_EXCLUSIVE, std::string(operation) + " requiere uso exclusivo de la tabla", file_.path());
  requireWritable();
}

void DbfTable::requireWritable() const {
  if (options_.readOnly || !file_.writable())
    throw Error(EG_READONLY, SC_READ_ONLY, "tabla abierta sólo para lectura", file_.path());
}

// ---------------------------------------------------------------------------------------
// Records.

void DbfTable::mapHeader() {
  head_ = file_.mapHead(8);
  knownSize_ = 0;
}

uint32_t DbfTable::diskCount() {
  if (deferred() && appendCount_ > 0) return count_;
  // Another process may be rewriting the count while we read it; a torn read shows as a
  // count the file cannot hold, so read again before calling the file damaged. The size is
  // asked only when the count outgrows the size last seen.
  auto fits = [this](uint32_t n) { return n <= (knownSize_ - header_.headerLength) / header_.recordLength; };
  for (int attempt = 0;; ++attempt) {
    uint32_t raw = __atomic_load_n(reinterpret_cast<const uint32_t*>(head_.get() + 4), __ATOMIC_ACQUIRE);
    uint8_t b[4];
    std::memcpy(b, &raw, 4);
    const uint32_t n = le32(b);
    if (knownSize_ < header_.headerLength || !fits(n))
      knownSize_ = std::max<uint64_t>(file_.size(), header_.headerLength);
    if (fits(n)) {
      count_ = n;
      return count_;
    }
    if (attempt == 1000)
      throwCorrupt(SC_BAD_TABLE, file_.path(), "el número de registros excede el tamaño del archivo");
    std::this_thread::yield();
  }
}

uint32_t DbfTable::recCount() {
  if (!deferred()) diskCount();
  return count_ + appendCount_;
}

void DbfTable::readRecord(uint32_t recno, std::vector<uint8_t>& into) const {
  into.resize(header_.recordLength);
  if (appendCount_ && recno >= appendFirst_ && recno < appendFirst_ + appendCount_) {
    std::memcpy(into.data(), appendBuffer_.data() + size_t(recno - appendFirst_) * header_.recordLength,
                header_.recordLength);
    return;
  }
  uint64_t off = header_.headerLength + uint64_t(recno - 1) * header_.recordLength;
  file_.readMapped(off, into.data(), header_.recordLength, "registro");
}

void DbfTable::writeRecord(uint32_t recno, const std::vector<uint8_t>& bytes) {
  if (appendCount_ && recno >= appendFirst_ && recno < appendFirst_ + appendCount_) {
    std::memcpy(appendBuffer_.data() + size_t(recno - appendFirst_) * header_.recordLength, bytes.data(),
                header_.recordLength);
    return;
  }
  uint64_t off = header_.headerLength + uint64_t(recno - 1) * header_.recordLength;
  file_.writeAt(off, bytes.data(), header_.recordLength);
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  if (tm.tm_yday != writtenDay_) {
    uint8_t d[3] = {uint8_t(tm.tm_year % 100), uint8_t(tm.tm_mon + 1), uint8_t(tm.tm_mday)};
    file_.writeAt(1, d, 3);
    writtenDay_ = tm.tm_yday;
  }
}

void DbfTable::writeHeaderCount(uint32_t count) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  uint8_t b[7] = {uint8_t(tm.tm_year % 100), uint8_t(tm.tm_mon + 1), uint8_t(tm.tm_mday), uint8_t(count),
                  uint8_t(count >> 8),       uint8_t(count >> 16),   uint8_t(count >> 24)};
  file_.writeAt(1, b, sizeof b);
  writtenDay_ = tm.tm_yday;
}

void DbfTable::flushAppends() {
  if (appendCount_ == 0) return;
  uint64_t off = header_.headerLength + uint64_t(appendFirst_ - 1) * header_.recordLength;
  appendBuffer_.push_back(0x1A);
  file_.writeAt(off, appendBuffer_.data(), appendBuffer_.size());
  uint32_t count = appendFirst_ + appendCount_ - 1;
  writeHeaderCount(count);
  count_ = count;
  appendBuffer_.clear();
  appendCount_ = 0;
}

void DbfTable::setEof() {
  eof_ = true;
  recno_ = recCount() + 1;
  codec_->blankRecord(record_.data());
  cursorSynced_ = false;
}

void DbfTable::load(uint32_t recno) {
  readRecord(recno, record_);
  recno_ = recno;
  eof_ = false;
  pendingMemos_.clear();
}

// ---------------------------------------------------------------------------------------
// Fields.

Value DbfTable::get(int i) const {
  const Field& f = field(i);
  if (codec_->isNull(f, record_.data())) return Value::null();
  if (f.isMemo()) {
    auto it = pendingMemos_.find(i);
    std::string bytes = it != pendingMemos_.end() ? it->second
                        : memo_                   ? memo_->read(codec_->memoBlock(f, record_.data()))
                                                  : std::string();
    return Value::chars(isTextField(f) ? codePage_->toUtf8(bytes) : bytes);
  }
  Value v = codec_->decode(f, record_.data());
  if (v.type == ValueType::Char && isTextField(f) && !CodePage::isAscii(v.text)) v.text = codePage_->toUtf8(v.text);
  return v;
}

std::optional<std::string_view> DbfTable::charBytes(int i) const {
  const Field& f = field(i);
  if (f.type != 'C' || codec_->isNull(f, record_.data())) return std::nullopt;
  return std::string_view(reinterpret_cast<const char*>(record_.data()) + f.offset, size_t(f.length));
}

std::string DbfTable::rawFieldText(int i) const {
  const Field& f = field(i);
  std::string raw = codec_->rawText(f, record_.data());
  if (f.type == 'L' && raw.empty() && !codec_->isNull(f, record_.data())) return "F";
  return isTextField(f) ? codePage_->toUtf8(raw) : raw;
}

std::string DbfTable::getString(std::string_view name) const {
  Value v = get(name);
  return v.type == ValueType::Char ? v.text : std::string();
}

double DbfTable::getNumber(std::string_view name) const {
  return get(name).number;
}
int32_t DbfTable::getDate(std::string_view name) const {
  return get(name).julian;
}
bool DbfTable::getLogical(std::string_view name) const {
  return get(name).logical;
}

void DbfTable::requireRecordLock() const {
  if (options_.shared && !fileLock_ && !recordLocks_.count(recno_))
    throw Error(EG_UNLOCKED, SC_NOT_LOCKED, "el registro " + std::to_string(recno_) + " no está bloqueado",
                file_.path());
}

void DbfTable::put(int i, const Value& v) {
  requireWritable();
  if (eof_) throw Error(EG_WRITE, SC_WRITE, "no hay registro actual (fin de archivo)", file_.path());
  requireRecordLock();
  const Field& f = field(i);
  if (f.isMemo()) {
    if (v.isNull()) {
      codec_->encode(f, record_.data(), v, file_.path());
    } else {
      if (v.type != ValueType::Char)
        throw Error(EG_DATATYPE, SC_VALUE, "tipo de dato incorrecto para el campo " + f.name, file_.path());
      pendingMemos_[i] = isTextField(f) ? codePage_->fromUtf8(v.text) : v.text;
      codec_->setNull(f, record_.data(), false);
    }
  } else if (v.type == ValueType::Char && isTextField(f)) {
    codec_->encode(f, record_.data(), Value::chars(codePage_->fromUtf8(v.text)), file_.path());
  } else {
    codec_->encode(f, record_.data(), v, file_.path());
  }
  dirty_ = true;
}

void DbfTable::deleteRecord() {
  setDeletionMark('*');
}

void DbfTable::recall() {
  setDeletionMark(' ');
}

void DbfTable::setDeletionMark(char mark) {
  if (eof_) return;
  requireWritable();
  requireRecordLock();
  record_[0] = uint8_t(mark);
  dirty_ = true;
}

void DbfTable::flush() {
  writeBuffer();
  flushAppends();
  if (index_) index_->flush();
}

void DbfTable::writeBuffer() {
  if (!dirty_ || eof_) return;
  for (auto& [i, bytes] : pendingMemos_) {
    const Field& f = field(i);
    uint32_t block = memo_->write(codec_->memoBlock(f, record_.data()), bytes);
    codec_->setMemoBlock(f, record_.data(), block);
  }
  pendingMemos_.clear();
  std::vector<uint8_t> before;
  bool isNew = pendingNew_;
  if (!isNew && index_) readRecord(recno_, before);
  writeRecord(recno_, record_);
  dirty_ = false;
  pendingNew_ = false;
  if (index_ && !tags_.empty()) updateKeys(isNew ? nullptr : &before, record_, recno_);
  cursorSynced_ = false;
}

// ---------------------------------------------------------------------------------------
// Appending and locks.

bool DbfTable::append() {
  requireWritable();
  writeBuffer();
  bool tookHeader = false;
  if (options_.shared && !fileLock_ && !appendLock_) {
    LockRange h = locks_->header();
    if (!file_.tryLock(h.offset, h.length, true)) return false;
    tookHeader = true;
  }
  try {
    uint32_t recno;
    codec_->blankRecord(record_.data());
    // Autoincrement fields take their next value from the header, under the append lock.
    for (size_t fi = 0; fi < header_.fields.size(); ++fi) {
      Field& f = header_.fields[fi];
      if (!f.autoIncrement()) continue;
      uint8_t d[5];
      uint64_t at = 32 + 32 * fi + 19;
      if (!deferred()) file_.readExact(at, d, 5, "descriptor de campo");
      uint32_t next =
          deferred() ? f.autoNext : uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
      codec_->encode(f, record_.data(), Value::num(double(int32_t(next))), file_.path());
      f.autoNext = next + (f.autoStep ? f.autoStep : 1);
      uint8_t w[4] = {uint8_t(f.autoNext), uint8_t(f.autoNext >> 8), uint8_t(f.autoNext >> 16),
                      uint8_t(f.autoNext >> 24)};
      file_.writeAt(at, w, 4);
    }
    if (deferred()) {
      if (appendCount_ == 0) appendFirst_ = count_ + 1;
      recno = appendFirst_ + appendCount_;
      appendBuffer_.insert(appendBuffer_.end(), record_.begin(), record_.end());
      ++appendCount_;
    } else {
      recno = diskCount() + 1;
      std::vector<uint8_t> bytes(record_);
      bytes.push_back(0x1A);
      file_.writeAt(header_.headerLength + uint64_t(recno - 1) * header_.recordLength, bytes.data(), bytes.size());
      writeHeaderCount(recno);
      count_ = recno;
    }
    if (tookHeader) file_.unlock(locks_->header().offset, 1);
    tookHeader = false;
    if (options_.shared && !fileLock_) {
      LockRange r = locks_->record(recno);
      if (file_.tryLock(r.offset, r.length, true)) recordLocks_.insert(recno);
    }
    recno_ = recno;
    eof_ = bof_ = false;
    found_ = false;
    dirty_ = true;
    pendingNew_ = true;
    pendingMemos_.clear();
    cursorSynced_ = false;
    if (appendBuffer_.size() > kAppendBufferLimit) {
      writeBuffer();
      flushAppends();
    }
    return true;
  } catch (...) {  // the header lock taken for this append is let go before the failure goes on
    if (tookHeader) file_.unlock(locks_->header().offset, 1);
    throw;
  }
}

bool DbfTable::lockRecord(uint32_t recno) {
  if (recno == 0) {
    if (eof_) return false;
    recno = recno_;
  }
  if (!options_.shared || fileLock_ || recordLocks_.count(recno)) return true;
  LockRange r = locks_->record(recno);
  if (!file_.tryLock(r.offset, r.length, true)) return false;
  recordLocks_.insert(recno);
  if (recno == recno_ && !dirty_ && !eof_ && recno <= recCount()) load(recno);  // see what others wrote
  return true;
}

bool DbfTable::lockFile() {
  if (!options_.shared || fileLock_) return true;
  writeBuffer();
  LockRange r = locks_->file();
  if (!file_.tryLock(r.offset, r.length, true)) return false;
  fileLock_ = true;
  diskCount();
  if (index_) index_->setDeferred(true);
  if (!eof_ && !dirty_) load(recno_);
  return true;
}

bool DbfTable::lockAppend() {
  if (!options_.shared || fileLock_ || appendLock_) return true;
  LockRange h = locks_->header();
  if (!file_.tryLock(h.offset, h.length, true)) return false;
  appendLock_ = true;
  return true;
}

void DbfTable::unlockAppend() {
  if (!appendLock_) return;
  writeBuffer();
  file_.unlock(locks_->header().offset, 1);
  appendLock_ = false;
}

void DbfTable::unlockRecord(uint32_t recno) {
  if (!recordLocks_.count(recno)) return;
  if (recno == recno_) writeBuffer();
  if (!fileLock_) {
    LockRange r = locks_->record(recno);
    file_.unlock(r.offset, r.length);
  }
  recordLocks_.erase(recno);
}

void DbfTable::unlockAll() {
  writeBuffer();
  flushAppends();
  if (index_) index_->setDeferred(false);
  if (!options_.shared) return;
  if (fileLock_) {
    LockRange r = locks_->file();
    file_.unlock(r.offset, r.length);
    fileLock_ = false;
  }
  for (uint32_t recno : recordLocks_) {
    LockRange r = locks_->record(recno);
    file_.unlock(r.offset, r.length);
  }
  recordLocks_.clear();
  if (appendLock_) {
    file_.unlock(locks_->header().offset, 1);
    appendLock_ = false;
  }
}

bool DbfTable::isLocked(uint32_t recno) const {
  return !options_.shared || fileLock_ || recordLocks_.count(recno);
}

// ---------------------------------------------------------------------------------------
// Index maintenance.

std::optional<std::string> DbfTable::keyFor(const TagRuntime& t, const std::vector<uint8_t>& rec, uint32_t recno,
                                            bool ignoreFor) const {
  RecordContext ctx(*this, rec, recno);
  if (t.filter && !ignoreFor) {
    Value pass = t.filter->evaluate(ctx);
    if (pass.type != ValueType::Logical || !pass.logical) return std::nullopt;
  }
  const TagInfo& info = t.tag->info();
  return makeKey(t.key->evaluate(ctx), t.tag->kind(), info.keyLength, info.nullableKey());
}

std::optional<std::string> DbfTable::currentKey(std::string_view tag) const {
  for (const auto& t : tags_)
    if (t.tag->name() == upper(tag)) {
      if (!t.key) throw Error(EG_NOORDER, SC_EXPR, "no se puede evaluar la clave de " + t.tag->name(), file_.path());
      return keyFor(t, record_, recno_);
    }
  throw Error(EG_NOORDER, SC_TAG, "no existe la etiqueta " + std::string(tag), file_.path());
}

void DbfTable::updateKeys(const std::vector<uint8_t>* before, const std::vector<uint8_t>& after, uint32_t recno) {
  IndexWriteSection write(index_.get());
  for (auto& t : tags_) {
    if (!t.maintainable)
      throw Error(EG_CORRUPTION, SC_EXPR, "no se puede mantener la etiqueta " + t.tag->name(), index_->path());
    std::optional<std::string> oldKey = before ? keyFor(t, *before, recno) : std::nullopt;
    std::optional<std::string> newKey = keyFor(t, after, recno);
    if (oldKey == newKey && before) continue;
    bool unique = t.tag->info().unique() || t.tag->info().candidate();
    if (oldKey && t.tag->remove(*oldKey, recno) && unique && t.tag->info().unique()) {
      // The record that stood for this key left it: another record with the key takes over.
      uint32_t n = recCount();
      std::vector<uint8_t> rec;
      for (uint32_t r = 1; r <= n; ++r) {
        if (r == recno) continue;
        readRecord(r, rec);
        if (keyFor(t, rec, r) == oldKey) {
          t.tag->insert(*oldKey, r);
          break;
        }
      }
    }
    if (newKey && !(t.tag->info().unique() && t.tag->containsKey(*newKey))) t.tag->insert(*newKey, recno);
  }
}

void DbfTable::rebuildTag(TagRuntime& t) {
  std::vector<std::pair<std::string, uint32_t>> entries;
  uint32_t n = recCount();
  entries.reserve(n);
  std::vector<uint8_t> rec;
  for (uint32_t r = 1; r <= n; ++r) {
    readRecord(r, rec);
    if (auto k = keyFor(t, rec, r)) entries.emplace_back(std::move(*k), r);
  }
  std::sort(entries.begin(), entries.end());
  if (t.tag->info().unique()) {
    auto last =
        std::unique(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first == b.first; });
    entries.erase(last, entries.end());
  }
  t.tag->buildFrom(entries);
}

void DbfTable::createTag(const TagSpec& spec) {
  requireExclusive("crear una etiqueta");
  writeBuffer();
  flushAppends();
  std::vector<FieldInfo> infos;
  bool integerField = false;
  for (int i = 0; i < fieldCount(); ++i) {
    const Field& f = field(i);
    infos.push_back({f.name, f.type, f.length, f.decimals});
    if (upper(trim(spec.keyExpr)) == f.name && f.type == 'I') integerField = true;
  }
  std::string keySource = codePage_->fromUtf8(spec.keyExpr);
  std::string forSource = codePage_->fromUtf8(spec.forExpr);
  Expr key = Expr::compile(keySource, infos, *codePage_);
  if (!forSource.empty()) {
    Expr filter = Expr::compile(forSource, infos, *codePage_);
    if (filter.type() != ValueType::Logical)
      throw Error(EG_DATATYPE, SC_EXPR, "la condición FOR debe ser lógica: " + spec.forExpr, file_.path());
  }
  int keyLength = keyLengthFor(key.type(), key.width(), integerField);
  if (keyLength < 1 || keyLength > 240)
    throw Error(EG_LIMIT, SC_EXPR, "la clave de " + spec.name + " debe medir de 1 a 240 bytes: " + spec.keyExpr,
                file_.path());
  if (!index_) {
    std::string cdx = siblingPath(file_.path(), ".CDX");
    CdxIndex::createEmpty(cdx);
    index_ = CdxIndex::open(cdx, true, false);
    header_.tableFlags |= 0x01;
    file_.writeAt(28, &header_.tableFlags, 1);
  }
  TagInfo info;
  info.name = upper(spec.name);
  info.keyExpr = keySource;
  info.forExpr = forSource;
  info.keyLength = keyLength;
  info.options =
      uint8_t(0x60 | (spec.unique ? 0x01 : 0) | (spec.candidate ? 0x04 : 0) | (forSource.empty() ? 0 : 0x08));
  info.descending = spec.descending;
  std::string previousOrder = order();
  {
    IndexWriteSection write(index_.get());
    index_->addTag(info);
  }
  compileTags();
  for (auto& t : tags_)
    if (t.tag->name() == info.name) {
      IndexWriteSection write(index_.get());
      rebuildTag(t);
    }
  index_->flush();
  setOrder(previousOrder);
}

void DbfTable::deleteTag(std::string_view name) {
  requireExclusive("borrar una etiqueta");
  if (!index_ || !index_->find(name))
    throw Error(EG_NOORDER, SC_TAG, "no existe la etiqueta " + std::string(name), file_.path());
  std::string previousOrder = order();
  if (upper(name) == previousOrder) previousOrder.clear();
  setOrder("");
  {
    IndexWriteSection write(index_.get());
    index_->removeTag(name);
  }
  index_->flush();
  compileTags();
  setOrder(previousOrder);
}

void DbfTable::reindex() {
  requireExclusive("reindexar");
  writeBuffer();
  flushAppends();
  if (!index_) return;
  std::vector<TagInfo> infos;
  for (const auto& t : index_->tags()) infos.push_back(t->info());
  std::string previousOrder = order();
  std::string path = index_->path();
  std::string tmp = path + ".tmp";
  order_ = -1;
  tags_.clear();
  index_.reset();
  CdxIndex::createEmpty(tmp);
  {
    auto fresh = CdxIndex::open(tmp, true, false);
    IndexWriteSection write(fresh.get());
    for (const auto& info : infos) fresh->addTag(info);
    index_ = std::move(fresh);
  }
  compileTags();
  for (auto& t : tags_) {
    IndexWriteSection write(index_.get());
    rebuildTag(t);
  }
  index_->flush();
  index_.reset();
  if (std::rename(tmp.c_str(), path.c_str()) != 0)
    throw Error(EG_WRITE, SC_WRITE, "no se puede reemplazar el índice", path, errno);
  index_ = CdxIndex::open(path, true, false);
  compileTags();
  setOrder(previousOrder);
  goTop();
}

void DbfTable::pack() {
  requireExclusive("compactar");
  writeBuffer();
  flushAppends();
  std::string path = file_.path();
  std::string tmp = path + ".tmp";
  std::string memoTmp;
  std::unique_ptr<FptMemo> newMemo;
  if (memo_) {
    memoTmp = memo_->path() + ".tmp";
    FptMemo::create(memoTmp, memo_->blockSize());
    newMemo = FptMemo::open(memoTmp, true, FptMemo::Kind::Fpt);
  }
  uint32_t kept = 0;
  {
    File out = File::create(tmp);
    DbfHeader h = header_;
    std::vector<uint8_t> rec;
    uint32_t n = recCount();
    uint64_t at = h.headerLength;
    for (uint32_t r = 1; r <= n; ++r) {
      readRecord(r, rec);
      if (rec[0] == '*') continue;
      if (memo_) {
        for (const auto& f : header_.fields) {
          if (!f.isMemo()) continue;
          uint32_t block = codec_->memoBlock(f, rec.data());
          std::string data = block ? memo_->read(block) : std::string();
          codec_->setMemoBlock(f, rec.data(), newMemo->write(0, data));
        }
      }
      out.writeAt(at, rec.data(), rec.size());
      at += rec.size();
      ++kept;
    }
    uint8_t eofMark = 0x1A;
    out.writeAt(at, &eofMark, 1);
    h.recordCount = kept;
    std::vector<uint8_t> head = h.build();
    std::vector<uint8_t> original(h.headerLength);
    file_.readExact(0, original.data(), original.size(), "encabezado de tabla");
    // Keep the bytes after the descriptors (the backlink) as they were.
    std::memcpy(head.data() + header_.descriptorAreaEnd(), original.data() + header_.descriptorAreaEnd(),
                h.headerLength - header_.descriptorAreaEnd());
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    head[1] = uint8_t(tm.tm_year % 100);
    head[2] = uint8_t(tm.tm_mon + 1);
    head[3] = uint8_t(tm.tm_mday);
    out.writeAt(0, head.data(), head.size());
    out.sync();
  }
  if (newMemo) {
    std::string memoPath = memo_->path();
    newMemo.reset();
    memo_.reset();
    if (std::rename(memoTmp.c_str(), memoPath.c_str()) != 0)
      throw Error(EG_WRITE, SC_WRITE, "no se puede reemplazar el archivo memo", memoPath, errno);
    memo_ = FptMemo::open(memoPath, true, FptMemo::Kind::Fpt);
  }
  // The new file takes the old one's place; our descriptor (and its exclusive lock) moves
  // over to it before the old inode goes away.
  File fresh = File::open(tmp, File::Access::ReadWrite, SC_OPEN_DBF);
  LockRange mode = LockScheme::openMode();
  fresh.tryLock(mode.offset, mode.length, true);
  if (std::rename(tmp.c_str(), path.c_str()) != 0)
    throw Error(EG_WRITE, SC_WRITE, "no se puede reemplazar la tabla", path, errno);
  file_ = std::move(fresh);
  mapHeader();
  header_.recordCount = kept;
  count_ = kept;
  appendCount_ = 0;
  reindex();
}

// ---------------------------------------------------------------------------------------
// Orders and navigation.

// Runs a navigation step in a read section of the index; when an optimistic section finds
// the index changed under it, runs the step again in a locked one.
template <typename F>
auto DbfTable::readingIndex(F&& body) -> decltype(body()) {
  if (!index_) return body();
  try {
    IndexReadSection read(index_.get());
    return body();
  } catch (const IndexChanged&) {
    IndexReadSection read(index_.get(), true);
    return body();
  }
}

std::vector<std::string> DbfTable::tagNames() const {
  std::vector<std::string> names;
  for (const auto& t : tags_) names.push_back(t.tag->name());
  return names;
}

const TagInfo* DbfTable::tagInfo(std::string_view name) const {
  for (const auto& t : tags_)
    if (t.tag->name() == upper(trim(name))) return &t.tag->info();
  return nullptr;
}

void DbfTable::setOrder(std::string_view tag) {
  std::string name = upper(trim(tag));
  if (name.empty()) {
    order_ = -1;
    cursorSynced_ = false;
    return;
  }
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (tags_[i].tag->name() != name) continue;
    if (!tags_[i].readable) throw Error(EG_NOORDER, SC_TAG, "etiqueta " + name + ": " + tags_[i].why, file_.path());
    order_ = int(i);
    cursorSynced_ = false;
    return;
  }
  throw Error(EG_NOORDER, SC_TAG, "no existe la etiqueta " + name, file_.path());
}

std::string DbfTable::order() const {
  return order_ < 0 ? std::string() : tags_[size_t(order_)].tag->name();
}

bool DbfTable::descending() const {
  return order_ >= 0 && tags_[size_t(order_)].tag->info().descending;
}

std::string DbfTable::scopeKey(const Value& v) const {
  const TagRuntime& t = tags_[size_t(order_)];
  const TagInfo& info = t.tag->info();
  if (v.type == ValueType::Char && (t.tag->kind() == KeyKind::Char || t.tag->kind() == KeyKind::Unknown)) {
    std::string bytes = codePage_->fromUtf8(v.text);
    if (info.nullableKey()) bytes.insert(bytes.begin(), char(0x80));
    if (bytes.size() > size_t(info.keyLength)) bytes.resize(size_t(info.keyLength));
    return bytes;
  }
  return makeKey(v, t.tag->kind(), info.keyLength, info.nullableKey());
}

void DbfTable::setScopeTop(std::optional<Value> top) {
  scopeTop_ = scopeBound(top);
}

void DbfTable::setScopeBottom(std::optional<Value> bottom) {
  scopeBottom_ = scopeBound(bottom);
}

std::optional<std::string> DbfTable::scopeBound(const std::optional<Value>& v) {
  writeBuffer();
  if (order_ < 0 || !v) return std::nullopt;  // natural order has no scope
  return scopeKey(*v);
}

void DbfTable::setScope(std::optional<Value> top, std::optional<Value> bottom) {
  setScopeTop(std::move(top));
  setScopeBottom(std::move(bottom));
}

bool DbfTable::inScope(std::string_view key) const {
  bool desc = descending();
  if (scopeTop_) {
    int c = comparePrefix(key, *scopeTop_);
    if (desc ? c > 0 && !startsWith(key, *scopeTop_) : c < 0) return false;
  }
  if (scopeBottom_) {
    int c = comparePrefix(key, *scopeBottom_);
    if (desc ? c < 0 : c > 0 && !startsWith(key, *scopeBottom_)) return false;
  }
  return true;
}

// First entry of the order (or last, `fromEnd`), scope applied.
bool DbfTable::orderFirst(TagCursor& c, bool fromEnd) {
  CdxTag* tag = current()->tag;
  bool desc = descending();
  // In ascending storage terms: the low end or the high end of the scope.
  bool high = desc != fromEnd;
  const std::optional<std::string>& lowBound = desc ? scopeBottom_ : scopeTop_;
  const std::optional<std::string>& highBound = desc ? scopeTop_ : scopeBottom_;
  bool ok;
  if (!high) {
    ok = lowBound ? tag->seek(*lowBound, false, c) : tag->first(c);
  } else if (highBound) {
    ok = tag->seek(*highBound, true, c) ? tag->prev(c) : tag->last(c);
  } else {
    ok = tag->last(c);
  }
  return ok && inScope(c.key);
}

bool DbfTable::orderStep(TagCursor& c, int direction) {
  CdxTag* tag = current()->tag;
  bool forward = (direction > 0) != descending();
  bool ok = forward ? tag->next(c) : tag->prev(c);
  return ok && inScope(c.key);
}

bool DbfTable::visible(uint32_t recno) {
  if (!deletedHidden_) return true;
  if (appendCount_ && recno >= appendFirst_ && recno < appendFirst_ + appendCount_)
    return appendBuffer_[size_t(recno - appendFirst_) * header_.recordLength] != '*';
  uint8_t mark;
  file_.readMapped(header_.headerLength + uint64_t(recno - 1) * header_.recordLength, &mark, 1, "registro");
  return mark != '*';
}

void DbfTable::landOn(const TagCursor& c) {
  cursor_ = c;
  cursorSynced_ = true;
  load(c.recno);
  eof_ = false;
}

// Places cursor_ on the current record's entry; false when the record is not in the order.
bool DbfTable::syncCursor() {
  if (cursorSynced_) {
    current()->tag->revalidate(cursor_);
    return cursor_.valid() && cursor_.recno == recno_;
  }
  TagRuntime* t = current();
  if (eof_ || !t->key) {
    cursor_ = TagCursor{};
    return false;
  }
  std::optional<std::string> key = keyFor(*t, record_, recno_, true);
  bool exact = t->tag->locate(*key, recno_, cursor_) && keyFor(*t, record_, recno_).has_value();
  cursorSynced_ = exact;
  return exact;
}

void DbfTable::goTo(uint32_t recno) {
  writeBuffer();
  found_ = false;
  bof_ = false;
  if (recno < 1 || recno > recCount()) {
    setEof();
    return;
  }
  load(recno);
  cursorSynced_ = false;
}

void DbfTable::goTop() {
  goEnd(false);
}

void DbfTable::goBottom() {
  goEnd(true);
}

void DbfTable::goEnd(bool bottom) {
  writeBuffer();
  found_ = false;
  bof_ = false;
  int step = bottom ? -1 : +1;
  if (order_ < 0) {
    uint32_t n = recCount();
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t r = bottom ? n - i : i + 1;
      if (visible(r)) {
        load(r);
        return;
      }
    }
    setEof();
    bof_ = true;
    return;
  }
  return readingIndex([&]() -> void {
    TagCursor c;
    bool ok = orderFirst(c, bottom);
    while (ok && !visible(c.recno)) ok = orderStep(c, step);
    if (ok) {
      landOn(c);
    } else {
      setEof();
      bof_ = true;
    }
  });
}

void DbfTable::skip(int64_t count) {
  writeBuffer();
  found_ = false;
  if (count == 0) {
    if (!eof_) load(recno_);
    return;
  }
  int direction = count > 0 ? 1 : -1;
  uint64_t steps = uint64_t(count > 0 ? count : -count);
  bof_ = false;
  if (order_ < 0) {
    uint32_t n = recCount();
    uint32_t r = eof_ ? n + 1 : recno_;
    while (steps > 0) {
      if (direction > 0) {
        if (r > n) break;
        ++r;
        if (r > n) break;
      } else {
        if (r <= 1) {
          r = 0;
          break;
        }
        --r;
      }
      if (visible(r)) --steps;
    }
    if (direction > 0 && r > n) {
      setEof();
    } else if (direction < 0 && r == 0) {
      goTop();
      bof_ = true;
    } else {
      load(r);
    }
    return;
  }
  return readingIndex([&]() -> void {
    TagCursor c;
    bool onEntry = false;
    if (eof_) {
      if (direction > 0) {
        setEof();
        return;
      }
      onEntry = orderFirst(c, true);  // skipping back from end of file reaches the last record
      if (onEntry && visible(c.recno)) --steps;
    } else if (syncCursor()) {
      c = cursor_;
      onEntry = true;
    } else {
      // The record is not in the order: move from the place its key would have. cursor_ is
      // the first stored entry after that place (invalid past the end).
      c = cursor_;
      bool aheadIsStored = (direction > 0) != descending();
      CdxTag* tag = current()->tag;
      if (aheadIsStored)
        onEntry = c.valid();
      else
        onEntry = c.valid() ? tag->prev(c) : tag->last(c);
      onEntry = onEntry && inScope(c.key);
      if (onEntry && visible(c.recno)) --steps;
    }
    while (onEntry && steps > 0) {
      onEntry = orderStep(c, direction);
      if (onEntry && visible(c.recno)) --steps;
    }
    if (onEntry) {
      landOn(c);
    } else if (direction > 0) {
      setEof();
    } else {
      TagCursor first;
      bool ok = orderFirst(first, false);
      while (ok && !visible(first.recno)) ok = orderStep(first, +1);
      if (ok)
        landOn(first);
      else
        setEof();
      bof_ = true;
    }
  });
}

bool DbfTable::seek(const Value& key, bool soft, bool last) {
  writeBuffer();
  bof_ = false;
  if (order_ < 0) throw Error(EG_NOORDER, SC_TAG, "no hay orden activo para buscar", file_.path());
  return readingIndex([&]() -> bool {
    CdxTag* tag = current()->tag;
    std::string k = scopeKey(key);
    bool desc = descending();
    // The first entry, in the order's direction, that is not before the key.
    bool fromHigh = desc != last;
    TagCursor c;
    bool ok;
    if (!fromHigh) {
      ok = tag->seek(k, false, c);
    } else {
      bool after = tag->seek(k, true, c);
      ok = after ? tag->prev(c) : tag->last(c);
      // No equal key, ascending: the next one is the first above the key. (Descending: c
      // already is the highest entry below the key, the next one in that order.)
      if ((!ok || !startsWith(c.key, k)) && !desc) ok = tag->seek(k, true, c);
    }
    if (!fromHigh && desc && (!ok || !startsWith(c.key, k))) ok = ok ? tag->prev(c) : tag->last(c);
    auto matches = [&](const TagCursor& x) { return startsWith(x.key, k); };
    int direction = last ? -1 : +1;
    while (ok && !visible(c.recno)) {
      if (matches(c)) {
        ok = orderStep(c, direction);
        if (ok && !matches(c) && last) ok = false;
      } else {
        ok = orderStep(c, +1);
      }
    }
    if (ok && !inScope(c.key)) ok = false;
    found_ = ok && matches(c);
    if (found_ || (ok && soft)) {
      landOn(c);
    } else {
      setEof();
    }
    return found_;
  });
}

void DbfTable::scopeBounds(uint32_t& lo, uint32_t& hi) {
  CdxTag* tag = current()->tag;
  bool desc = descending();
  const std::optional<std::string>& lowBound = desc ? scopeBottom_ : scopeTop_;
  const std::optional<std::string>& highBound = desc ? scopeTop_ : scopeBottom_;
  lo = lowBound ? tag->positionOf(*lowBound, false) : 0;
  hi = highBound ? tag->positionOf(*highBound, true) : tag->count();
  if (hi < lo) hi = lo;
}

uint32_t DbfTable::keyCount() {
  writeBuffer();
  if (order_ < 0) return recCount();
  return readingIndex([&]() -> uint32_t {
    uint32_t lo, hi;
    scopeBounds(lo, hi);
    return hi - lo;
  });
}

uint32_t DbfTable::keyNo() {
  writeBuffer();
  if (eof_) return 0;
  if (order_ < 0) return recno_;
  return readingIndex([&]() -> uint32_t {
    if (!syncCursor()) return 0;
    if (!inScope(cursor_.key)) return 0;
    uint32_t lo, hi;
    scopeBounds(lo, hi);
    uint32_t pos = current()->tag->position(cursor_);
    return descending() ? hi - pos : pos - lo + 1;
  });
}

bool DbfTable::goToKeyNo(uint32_t keyNo) {
  writeBuffer();
  if (order_ < 0) {
    if (keyNo < 1 || keyNo > recCount()) return false;
    goTo(keyNo);
    return true;
  }
  return readingIndex([&]() -> bool {
    uint32_t lo, hi;
    scopeBounds(lo, hi);
    if (keyNo < 1 || keyNo > hi - lo) return false;
    uint32_t pos = descending() ? hi - keyNo : lo + keyNo - 1;
    TagCursor c;
    if (!current()->tag->atPosition(pos, c)) return false;
    bool ok = true;
    while (ok && !visible(c.recno)) ok = orderStep(c, +1);
    if (!ok) {
      setEof();
      return false;
    }
    found_ = false;
    bof_ = false;
    landOn(c);
    return true;
  });
}

// ---------------------------------------------------------------------------------------
// Verification.

CheckReport DbfTable::check() {
  writeBuffer();
  CheckReport report;
  if (!index_) {
    report.notes.push_back("la tabla no tiene índice estructural");
    return report;
  }
  return readingIndex([&]() -> CheckReport {
    uint32_t n = recCount();
    for (auto& t : tags_) {
      const std::string& name = t.tag->name();
      std::vector<std::pair<std::string, uint32_t>> actual;
      try {
        t.tag->forEach([&](std::string_view key, uint32_t recno) { actual.emplace_back(std::string(key), recno); });
      } catch (const Error& e) {
        report.problems.push_back("etiqueta " + name + ": " + e.description());
        continue;
      }
      if (!t.key) {
        report.notes.push_back("etiqueta " + name + ": estructura correcta, claves sin verificar (" + t.why + ")");
        continue;
      }
      std::vector<std::pair<std::string, uint32_t>> expected;
      std::vector<uint8_t> rec;
      try {
        for (uint32_t r = 1; r <= n; ++r) {
          readRecord(r, rec);
          if (auto k = keyFor(t, rec, r)) expected.emplace_back(std::move(*k), r);
        }
      } catch (const Error& e) {
        report.problems.push_back("etiqueta " + name + ": " + e.description());
        continue;
      }
      std::sort(expected.begin(), expected.end());
      size_t before = report.problems.size();
      auto problem = [&](const std::string& what) {
        if (report.problems.size() - before < 10) report.problems.push_back("etiqueta " + name + ": " + what);
      };
      if (t.tag->info().unique()) {
        // One entry per distinct key, pointing at some record that has that key.
        std::vector<std::pair<std::string, uint32_t>> distinct;
        for (auto& e : expected)
          if (distinct.empty() || distinct.back().first != e.first) distinct.push_back(e);
        if (distinct.size() != actual.size())
          problem("hay " + std::to_string(actual.size()) + " claves y " + std::to_string(distinct.size()) +
                  " valores distintos");
        for (auto& [key, recno] : actual) {
          if (!std::binary_search(expected.begin(), expected.end(), std::make_pair(key, recno)))
            problem("la clave del registro " + std::to_string(recno) + " no corresponde al registro");
        }
        continue;
      }
      size_t i = 0, j = 0;
      while (i < expected.size() || j < actual.size()) {
        if (j == actual.size() || (i < expected.size() && expected[i] < actual[j])) {
          problem("falta la clave del registro " + std::to_string(expected[i].second));
          ++i;
        } else if (i == expected.size() || actual[j] < expected[i]) {
          problem("sobra una clave del registro " + std::to_string(actual[j].second));
          ++j;
        } else {
          ++i;
          ++j;
        }
      }
    }
    return report;
  });
}

}  // namespace xbase
