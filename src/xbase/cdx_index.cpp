#include "xbase/cdx_index.h"

#include <algorithm>
#include <cstring>

#include "xbase/byte_order.h"
#include "xbase/error.h"
#include "xbase/lock_scheme.h"

namespace xbase {

namespace {

constexpr size_t kMaxCachedNodes = 49152;  // about 40 MB of decoded nodes
constexpr size_t kMaxDirtyNodes = 16384;   // deferred writes are flushed beyond this
constexpr uint16_t kFreeMark = 0xFFFF;

std::string upperAscii(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string trimName(std::string_view key) {
  size_t e = key.size();
  while (e > 0 && (key[e - 1] == ' ' || key[e - 1] == '\0')) --e;
  return std::string(key.substr(0, e));
}

// The 1024-byte header of a tag or of the directory.
std::vector<uint8_t> buildHeader(const TagInfo& info, uint32_t root, bool directory) {
  std::vector<uint8_t> h(1024, 0);
  put32(&h[0], root);
  put32(&h[4], 0);
  put16(&h[12], uint32_t(info.keyLength));
  h[14] = directory ? 0xE0 : info.options;
  h[15] = info.signature;
  if (!info.collation.empty()) std::memcpy(&h[494], info.collation.data(), std::min<size_t>(8, info.collation.size()));
  put16(&h[502], info.descending ? 1 : 0);
  uint32_t keyPool = uint32_t(info.keyExpr.size() + 1);
  uint32_t forPool = uint32_t(info.forExpr.size() + 1);
  put16(&h[504], keyPool);
  put16(&h[506], forPool);
  put16(&h[510], keyPool);
  std::memcpy(&h[512], info.keyExpr.data(), info.keyExpr.size());
  std::memcpy(&h[512 + keyPool], info.forExpr.data(), info.forExpr.size());
  return h;
}

std::vector<uint8_t> emptyLeaf(const KeyShape& shape, bool root) {
  CdxNode n;
  n.attributes = uint16_t(root ? 3 : 2);
  std::vector<uint8_t> page(kNodeSize);
  encodeNode(n, shape, page.data());
  return page;
}

}  // namespace

CdxIndex::~CdxIndex() {
  try {
    if (!dirty_.empty() || !dirtyRoots_.empty() || freeHeadDirty_) {
      if (shared_ && !locked_) file_.waitLock(LockScheme::mutex().offset, 1, true);
      writeDirty();
      if (shared_ && !locked_) file_.unlock(LockScheme::mutex().offset, 1);
    }
  } catch (...) {
    // A destructor cannot report; the table flushes its index before it closes and reports
    // there, and the next check shows what is missing.
  }
}

void CdxIndex::createEmpty(const std::string& path) {
  File f = File::create(path);
  TagInfo dir;
  dir.keyLength = 10;
  std::vector<uint8_t> h = buildHeader(dir, 1024, true);
  std::vector<uint8_t> root = emptyLeaf(KeyShape{10, ' '}, true);
  f.writeAt(0, h.data(), h.size());
  f.writeAt(1024, root.data(), root.size());
}

std::unique_ptr<CdxIndex> CdxIndex::open(const std::string& path, bool writable, bool shared) {
  std::unique_ptr<CdxIndex> x(new CdxIndex);
  x->file_ = File::open(path, writable ? File::Access::ReadWrite : File::Access::ReadOnly, SC_OPEN_CDX);
  x->shared_ = shared;
  x->deferred_ = !shared;
  if (x->file_.size() < 512) throwCorrupt(SC_BAD_INDEX, x->file_.path(), "índice truncado");
  x->head_ = x->file_.mapHead(512);
  IndexReadSection read(x.get(), true);
  x->loadDirectory();
  return x;
}

void CdxIndex::loadDirectory() {
  const std::string& p = file_.path();
  uint64_t size = file_.size();
  if (size < 1536 || size % kNodeSize != 0)
    throwCorrupt(SC_BAD_INDEX, p, size < 1536 ? "índice truncado" : "tamaño de índice no múltiplo de 512");
  std::vector<uint8_t> h(1024);
  file_.readExact(0, h.data(), h.size(), "encabezado de índice");
  uint32_t root = le32(&h[0]);
  int keyLength = le16(&h[12]);
  if (keyLength < 1 || keyLength > 240) throwCorrupt(SC_BAD_INDEX, p, "longitud de clave del directorio");
  if (root % kNodeSize != 0 || root < 512 || root + kNodeSize > size)
    throwCorrupt(SC_BAD_INDEX, p, "raíz del directorio fuera del archivo");
  counter_ = be32(&h[8]);
  freeHead_ = le32(&h[4]);
  nextFree_ = size;
  TagInfo dirInfo;
  dirInfo.name = "(directorio)";
  dirInfo.keyLength = keyLength;
  directory_ = std::make_unique<CdxTag>(*this, 0, dirInfo, root);
  directory_->setKind(KeyKind::Char);

  std::vector<std::pair<std::string, uint32_t>> entries;
  directory_->forEach([&](std::string_view key, uint32_t recno) { entries.emplace_back(trimName(key), recno); });
  tags_.clear();
  for (auto& [name, offset] : entries) {
    if (offset % kNodeSize != 0 || offset + 1024 > size)
      throwCorrupt(SC_BAD_INDEX, p, "encabezado de la etiqueta " + name + " fuera del archivo");
    file_.readExact(offset, h.data(), h.size(), "encabezado de etiqueta");
    TagInfo info;
    info.name = upperAscii(name);
    info.keyLength = le16(&h[12]);
    info.options = h[14];
    info.signature = h[15];
    info.descending = le16(&h[502]) != 0;
    uint32_t tagRoot = le32(&h[0]);
    uint32_t forPool = le16(&h[506]);
    uint32_t keyPool = le16(&h[510]);
    if (info.keyLength < 1 || info.keyLength > 240)
      throwCorrupt(SC_BAD_INDEX, p, "longitud de clave de la etiqueta " + name);
    if (tagRoot % kNodeSize != 0 || tagRoot < 512 || tagRoot + kNodeSize > size)
      throwCorrupt(SC_BAD_INDEX, p, "raíz de la etiqueta " + name + " fuera del archivo");
    if (keyPool > 512 || forPool > 512 || keyPool + forPool > 512)
      throwCorrupt(SC_BAD_INDEX, p, "expresiones de la etiqueta " + name);
    auto poolText = [&](uint32_t start, uint32_t len) {
      const char* s = reinterpret_cast<const char*>(&h[512 + start]);
      size_t n = 0;
      while (n < len && s[n] != 0) ++n;
      return std::string(s, n);
    };
    info.keyExpr = poolText(0, keyPool == 0 ? 512 : keyPool);
    info.forExpr = poolText(keyPool, forPool);
    std::string coll(reinterpret_cast<const char*>(&h[494]), 8);
    info.collation = trimName(coll);
    if (info.collation == "MACHINE") info.collation.clear();
    if (info.keyExpr.empty()) throwCorrupt(SC_BAD_INDEX, p, "etiqueta " + name + " sin expresión");
    tags_.push_back(std::make_unique<CdxTag>(*this, offset, std::move(info), tagRoot));
  }
}

CdxTag* CdxIndex::find(std::string_view name) const {
  std::string n = upperAscii(trimName(name));
  for (const auto& t : tags_)
    if (t->name() == n) return t.get();
  return nullptr;
}

void CdxIndex::checkForeignChanges() {
  uint8_t h[12];
  file_.readExact(0, h, sizeof h, "encabezado de índice");
  uint32_t counter = be32(h + 8);
  uint64_t size = file_.size();
  if (dirty_.empty()) nextFree_ = std::max<uint64_t>(size, kNodeSize * 3);
  if (counter == counter_ && directory_) return;
  counter_ = counter;
  freeHead_ = le32(h + 4);
  cache_.clear();
  dirty_.clear();
  ++epoch_;
  nextFree_ = size;
  if (!directory_) return;  // still opening: the directory is read next
  directory_->root_ = le32(h);
  for (auto& t : tags_) {
    uint8_t r[4];
    file_.readExact(t->headerOffset(), r, 4, "encabezado de etiqueta");
    t->root_ = le32(r);
  }
}

void CdxIndex::trimCache() {
  // Drop a quarter of the clean nodes: the cost of a trim stays proportional to what was
  // read since the last one.
  if (cache_.size() > kMaxCachedNodes) cache_.dropClean(cache_.size() / 4);
}

void CdxIndex::readableDisk() {
  if (readDepth_ == 0 || writeDepth_ > 0 || deferred_ || locked_) return;
  // An optimistic section needs the disk: lock, and make sure the disk is still what the
  // cache was taken from.
  file_.waitLock(LockScheme::mutex().offset, 1, false);
  locked_ = true;
  uint8_t h[12];
  file_.readExact(0, h, sizeof h, "encabezado de índice");
  if (be32(h + 8) != counter_) throw IndexChanged{};
  nextFree_ = std::max<uint64_t>(nextFree_, file_.size());
}

std::optional<uint32_t> CdxIndex::leafCount(uint32_t offset) {
  if (cache_.find(offset)) return std::nullopt;
  readableDisk();
  if (offset % kNodeSize != 0 || offset < kNodeSize || uint64_t(offset) + kNodeSize > nextFree_)
    throwCorrupt(SC_BAD_INDEX, file_.path(), "puntero de nodo " + std::to_string(offset) + " fuera del archivo");
  uint8_t h[4];
  file_.readMapped(offset, h, 4, "nodo de índice");
  if (!(le16(h) & 2) || le16(h) > 7) return std::nullopt;
  uint32_t count = le16(h + 2);
  if (count > kNodeSize - 24)
    throwCorrupt(SC_BAD_INDEX, file_.path(), "nodo " + std::to_string(offset) + ": demasiadas claves para una hoja");
  return count;
}

uint32_t CdxIndex::liveCounter() const {
  // One aligned 32-bit load of bytes 8-11: never half of an old and half of a new value.
  uint32_t raw = __atomic_load_n(reinterpret_cast<const uint32_t*>(head_.get() + 8), __ATOMIC_ACQUIRE);
  const auto* b = reinterpret_cast<const uint8_t*>(&raw);
  return be32(b);
}

void CdxIndex::beginRead(bool locked) {
  if (readDepth_++ > 0 || writeDepth_ > 0) return;
  trimCache();
  if (deferred_) return;
  if (!locked && directory_ && liveCounter() == counter_) return;  // optimistic
  lockAndCatchUp(false, readDepth_);
}

void CdxIndex::lockAndCatchUp(bool exclusive, int& depth) {
  file_.waitLock(LockScheme::mutex().offset, 1, exclusive);
  locked_ = true;
  try {
    checkForeignChanges();
  } catch (...) {  // the section does not begin: the mutex goes back before the failure goes on
    unlockMutex();
    --depth;
    throw;
  }
}

void CdxIndex::unlockMutex() {
  file_.unlock(LockScheme::mutex().offset, 1);
  locked_ = false;
}

void CdxIndex::endRead() {
  if (--readDepth_ > 0 || writeDepth_ > 0) return;
  if (locked_) unlockMutex();
}

void CdxIndex::beginWrite() {
  if (!file_.writable()) throw Error(EG_READONLY, SC_READ_ONLY, "índice abierto sólo para lectura", file_.path());
  if (writeDepth_++ > 0) return;
  if (readDepth_ > 0) {
    --writeDepth_;
    throw Error(EG_LOCK, SC_LOCK, "escritura de índice dentro de una lectura", file_.path());
  }
  if (deferred_) return;
  lockAndCatchUp(true, writeDepth_);
}

void CdxIndex::endWrite() {
  if (--writeDepth_ > 0) return;
  if (deferred_) {
    if (dirty_.size() > kMaxDirtyNodes) flush();
    return;
  }
  try {
    writeDirty();
  } catch (...) {  // the mutex goes back before the failure goes on
    unlockMutex();
    throw;
  }
  unlockMutex();
}

void CdxIndex::abortWrite() noexcept {
  if (--writeDepth_ > 0) return;
  // What this section changed may be half done: forget every unwritten change.
  for (CdxNode* n : dirty_) n->dirty = false;
  dirty_.clear();
  dirtyRoots_.clear();
  freeHeadDirty_ = false;
  cache_.clear();
  ++epoch_;
  counter_ = ~counter_;  // reread roots at the next section
  if (locked_) unlockMutex();
  if (deferred_) {
    // Called while another failure unwinds: that one goes on. A failed reread here is
    // retried by the next section, since the counter no longer matches.
    try {
      checkForeignChanges();
    } catch (...) {
    }
  }
}

void CdxIndex::setDeferred(bool deferred) {
  if (!shared_) return;  // exclusive files are always deferred
  if (deferred == deferred_) return;
  if (!deferred) {
    flush();
    deferred_ = false;
    return;
  }
  // Catch up with others once; nobody else writes while we hold the table alone.
  { IndexReadSection read(this); }
  deferred_ = true;
}

void CdxIndex::flush() {
  if (dirty_.empty() && dirtyRoots_.empty() && !freeHeadDirty_) return;
  bool lock = shared_ && !locked_;
  if (lock) file_.waitLock(LockScheme::mutex().offset, 1, true);
  try {
    writeDirty();
  } catch (...) {
    if (lock) file_.unlock(LockScheme::mutex().offset, 1);
    throw;
  }
  if (lock) file_.unlock(LockScheme::mutex().offset, 1);
}

void CdxIndex::writeDirty() {
  if (dirty_.empty() && dirtyRoots_.empty() && !freeHeadDirty_) return;
  std::sort(dirty_.begin(), dirty_.end(), [](const CdxNode* a, const CdxNode* b) { return a->offset < b->offset; });
  // Consecutive nodes go out in one write.
  std::vector<uint8_t> run;
  uint32_t runStart = 0;
  auto emit = [&] {
    if (!run.empty()) file_.writeAt(runStart, run.data(), run.size());
    run.clear();
  };
  for (CdxNode* n : dirty_) {
    if (run.empty() || runStart + run.size() != n->offset) {
      emit();
      runStart = n->offset;
    }
    size_t at = run.size();
    run.resize(at + kNodeSize);
    encodeNode(*n, n->shape, run.data() + at);
    n->dirty = false;
  }
  emit();
  dirty_.clear();
  for (CdxTag* t : dirtyRoots_) {
    uint8_t r[4];
    put32(r, t->root());
    file_.writeAt(t->headerOffset(), r, 4);
  }
  dirtyRoots_.clear();
  uint8_t h[8];
  put32(h, freeHead_);
  putBe32(h + 4, ++counter_);
  file_.writeAt(4, h, 8);
  freeHeadDirty_ = false;
}

CdxNode* CdxIndex::node(uint32_t offset, const KeyShape& shape) {
  if (CdxNode* cached = cache_.find(offset)) return cached;
  readableDisk();
  if (offset % kNodeSize != 0 || offset < kNodeSize || uint64_t(offset) + kNodeSize > nextFree_)
    throwCorrupt(SC_BAD_INDEX, file_.path(), "puntero de nodo " + std::to_string(offset) + " fuera del archivo");
  uint8_t page[kNodeSize];
  file_.readMapped(offset, page, kNodeSize, "nodo de índice");
  auto n = std::make_unique<CdxNode>(decodeNode(page, offset, shape, file_.path()));
  return cache_.put(std::move(n));
}

uint32_t CdxIndex::allocate(uint32_t bytes) {
  if (bytes == kNodeSize && freeHead_ != 0 && freeHead_ != kNoNode) {
    uint32_t off = freeHead_;
    uint8_t page[8];
    bool ok = off % kNodeSize == 0 && off >= 1024 && uint64_t(off) + kNodeSize <= file_.size() && !cache_.find(off) &&
              file_.readAt(off, page, 8) == 8 && le16(page) == kFreeMark;
    if (ok) {
      uint32_t next = le32(page + 4);
      freeHead_ = next == kNoNode ? 0 : next;
      freeHeadDirty_ = true;
      return off;
    }
    freeHead_ = 0;  // not a list we can trust: start a new one
    freeHeadDirty_ = true;
  }
  uint64_t off = (nextFree_ + kNodeSize - 1) / kNodeSize * kNodeSize;
  if (off + bytes > 0xFFFFFE00ull) throw Error(EG_LIMIT, SC_BAD_INDEX, "índice demasiado grande", file_.path());
  nextFree_ = off + bytes;
  return uint32_t(off);
}

CdxNode* CdxIndex::newNode(bool leaf, const KeyShape& shape) {
  uint32_t off = allocate(kNodeSize);
  auto n = std::make_unique<CdxNode>();
  n->offset = off;
  n->shape = shape;
  n->leaf = leaf;
  n->attributes = uint16_t(leaf ? 2 : 0);
  CdxNode* raw = cache_.put(std::move(n));
  touch(raw);
  return raw;
}

void CdxIndex::freeNode(uint32_t offset) {
  if (CdxNode* n = cache_.find(offset)) {
    if (n->dirty) dirty_.erase(std::find(dirty_.begin(), dirty_.end(), n));
    cache_.erase(offset);
  }
  uint8_t page[kNodeSize] = {};
  put16(page, kFreeMark);
  put32(page + 4, freeHead_ == 0 ? kNoNode : freeHead_);
  put32(page + 8, kNoNode);
  // The node is unreachable already; marking it now is harmless even if the rest is lost.
  file_.writeAt(offset, page, kNodeSize);
  freeHead_ = offset;
  freeHeadDirty_ = true;
}

void CdxIndex::touch(CdxNode* node) {
  if (!node->dirty) {
    node->dirty = true;
    dirty_.push_back(node);
  }
  cache_.forgetCount(node->offset);
}

void CdxIndex::tagRootChanged(CdxTag* tag) {
  if (std::find(dirtyRoots_.begin(), dirtyRoots_.end(), tag) == dirtyRoots_.end()) dirtyRoots_.push_back(tag);
}

CdxTag* CdxIndex::addTag(TagInfo info) {
  if (find(info.name)) throw Error(EG_CREATE, SC_TAG, "la etiqueta ya existe: " + info.name, file_.path());
  if (info.name.empty() || info.name.size() > 10)
    throw Error(EG_CREATE, SC_TAG, "nombre de etiqueta inválido: " + info.name, file_.path());
  if (info.keyLength < 1 || info.keyLength > 240)
    throw Error(EG_CREATE, SC_TAG, "longitud de clave inválida para " + info.name, file_.path());
  if (info.keyExpr.size() + info.forExpr.size() + 2 > 512)
    throw Error(EG_CREATE, SC_TAG, "expresión demasiado larga para " + info.name, file_.path());
  info.name = upperAscii(info.name);
  uint32_t header = allocate(1024);
  uint32_t root = allocate(kNodeSize);
  std::vector<uint8_t> h = buildHeader(info, root, false);
  KeyShape shape{info.keyLength, ' '};
  std::vector<uint8_t> leaf = emptyLeaf(shape, true);
  file_.writeAt(header, h.data(), h.size());
  file_.writeAt(root, leaf.data(), leaf.size());
  std::string key = info.name;
  key.resize(size_t(directory_->shape().length), ' ');
  directory_->insert(key, header);
  tags_.push_back(std::make_unique<CdxTag>(*this, header, std::move(info), root));
  std::sort(tags_.begin(), tags_.end(), [](const auto& a, const auto& b) { return a->name() < b->name(); });
  ++epoch_;
  return find(key);
}

void CdxIndex::removeTag(std::string_view name) {
  CdxTag* t = find(name);
  if (!t) throw Error(EG_NOORDER, SC_TAG, "no existe la etiqueta " + std::string(name), file_.path());
  std::string key = t->name();
  key.resize(size_t(directory_->shape().length), ' ');
  directory_->remove(key, t->headerOffset());
  // Its nodes stay behind unreachable until the index is rebuilt.
  cache_.dropClean(cache_.size());
  cache_.clearCounts();
  tags_.erase(std::find_if(tags_.begin(), tags_.end(), [&](const auto& p) { return p.get() == t; }));
  ++epoch_;
}

}  // namespace xbase
