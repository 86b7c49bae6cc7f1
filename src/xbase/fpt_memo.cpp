#include "xbase/fpt_memo.h"

#include <cstring>
#include <vector>

#include "xbase/byte_order.h"
#include "xbase/error.h"
#include "xbase/lock_scheme.h"

namespace xbase {

namespace {

class MutexGuard {
 public:
  explicit MutexGuard(File& f) : f_(f) { f_.waitLock(LockScheme::mutex().offset, 1, true); }
  ~MutexGuard() { f_.unlock(LockScheme::mutex().offset, 1); }
  MutexGuard(const MutexGuard&) = delete;
  MutexGuard& operator=(const MutexGuard&) = delete;

 private:
  File& f_;
};

constexpr uint32_t kMaxMemo = 64u << 20;  // 64 MiB: anything larger is taken as damage

}  // namespace

std::unique_ptr<FptMemo> FptMemo::open(const std::string& path, bool writable, Kind kind) {
  std::unique_ptr<FptMemo> m(new FptMemo);
  m->kind_ = kind;
  m->file_ = File::open(path, writable ? File::Access::ReadWrite : File::Access::ReadOnly, SC_OPEN_FPT);
  uint8_t h[8];
  m->file_.readExact(0, h, 8, "encabezado de memo");
  if (kind == Kind::Fpt) {
    uint32_t bs = uint32_t(h[6]) << 8 | h[7];
    m->blockSize_ = bs == 0 ? 1 : bs;
    if (m->file_.size() < 512) throwCorrupt(SC_BAD_MEMO, m->file_.path(), "archivo memo truncado");
  } else {
    m->blockSize_ = 512;
  }
  return m;
}

void FptMemo::create(const std::string& path, uint32_t blockSize) {
  File f = File::create(path);
  std::vector<uint8_t> h(512, 0);
  putBe32(h.data(), (512 + blockSize - 1) / blockSize);
  h[6] = uint8_t(blockSize >> 8);
  h[7] = uint8_t(blockSize);
  f.writeAt(0, h.data(), h.size());
}

uint32_t FptMemo::readNextFree() const {
  uint8_t h[4];
  file_.readExact(0, h, 4, "encabezado de memo");
  return kind_ == Kind::Fpt ? be32(h) : le32(h);
}

std::string FptMemo::read(uint32_t block) const {
  if (block == 0) return {};
  uint64_t offset = uint64_t(block) * blockSize_;
  uint64_t size = file_.size();
  if (kind_ == Kind::Dbt) {
    std::string out;
    char buf[512];
    for (uint64_t pos = offset; pos < size; pos += 512) {
      size_t n = file_.readAt(pos, buf, sizeof buf);
      for (size_t i = 0; i < n; ++i) {
        if (buf[i] == 0x1A) return out;
        out.push_back(buf[i]);
      }
      if (out.size() > kMaxMemo) break;
    }
    throwCorrupt(SC_BAD_MEMO, file_.path(), "memo sin terminador en el bloque " + std::to_string(block));
  }
  if (offset < 8 || offset + 8 > size)
    throwCorrupt(SC_BAD_MEMO, file_.path(), "bloque de memo " + std::to_string(block) + " más allá del final");
  uint8_t h[8];
  file_.readExact(offset, h, 8, "bloque de memo");
  uint32_t length = be32(h + 4);
  if (length > kMaxMemo || offset + 8 + length > size)
    throwCorrupt(SC_BAD_MEMO, file_.path(), "memo del bloque " + std::to_string(block) + " más largo que el archivo");
  std::string out(length, '\0');
  file_.readExact(offset + 8, out.data(), length, "memo");
  return out;
}

uint32_t FptMemo::write(uint32_t oldBlock, std::string_view data, uint32_t type) {
  if (data.empty()) return 0;
  if (data.size() > kMaxMemo) throw Error(EG_LIMIT, SC_BAD_MEMO, "memo demasiado largo", file_.path());
  std::vector<uint8_t> buf;
  if (kind_ == Kind::Fpt) {
    buf.resize(8 + data.size());
    putBe32(buf.data(), type);
    putBe32(buf.data() + 4, uint32_t(data.size()));
    std::memcpy(buf.data() + 8, data.data(), data.size());
  } else {
    buf.assign(data.begin(), data.end());
    buf.push_back(0x1A);
    buf.push_back(0x1A);
  }
  uint32_t needed = uint32_t((buf.size() + blockSize_ - 1) / blockSize_);

  MutexGuard guard(file_);
  uint64_t size = file_.size();
  if (oldBlock != 0 && kind_ == Kind::Fpt) {
    uint64_t offset = uint64_t(oldBlock) * blockSize_;
    uint8_t h[8];
    if (offset + 8 <= size && file_.readAt(offset, h, 8) == 8) {
      uint64_t oldLength = be32(h + 4);
      uint64_t oldBlocks = (8 + oldLength + blockSize_ - 1) / blockSize_;
      uint32_t next = readNextFree();
      // Reuse only what is certainly this memo's: inside the file and below the append point.
      if (oldLength <= kMaxMemo && oldBlocks >= needed && uint64_t(oldBlock) + oldBlocks <= next) {
        file_.writeAt(offset, buf.data(), buf.size());
        return oldBlock;
      }
    }
  }
  uint32_t next = readNextFree();
  uint32_t first = (512 + blockSize_ - 1) / blockSize_;
  if (next < first) next = first;
  uint64_t endBlock = (size + blockSize_ - 1) / blockSize_;
  // Append at the end of the file: never over blocks another writer left, and never far past
  // the end when a damaged header points there (that would grow a huge hole in the file).
  next = uint32_t(endBlock);
  buf.resize(size_t(needed) * blockSize_, 0);
  file_.writeAt(uint64_t(next) * blockSize_, buf.data(), buf.size());
  uint8_t h[4];
  if (kind_ == Kind::Fpt)
    putBe32(h, next + needed);
  else
    put32(h, next + needed);
  file_.writeAt(0, h, 4);
  return next;
}

}  // namespace xbase
