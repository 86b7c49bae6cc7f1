// A file of the storage engine: positioned reads and writes, size, and byte-range locks.
//
// Locks are open-file-description locks (F_OFD_SETLK): they belong to this File object,
// not to the process, so two File objects on one path conflict exactly as two processes
// do. tryLock never waits. waitLock waits and is only used for the engine's short internal
// critical sections (index and memo updates), never for locks a caller asked for.
// Failures throw xbase::Error with the operating-system error number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace xbase {

class File {
 public:
  enum class Access { ReadOnly, ReadWrite };

  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file. `genCode`/`subCode` classify the failure for the caller.
  static File open(const std::string& path, Access access, int subCode);
  // Creates (or truncates) a file for reading and writing.
  static File create(const std::string& path);

  bool isOpen() const { return fd_ >= 0; }
  bool writable() const { return writable_; }
  const std::string& path() const { return path_; }

  // Reads up to n bytes at offset; returns how many were read (less only at end of file).
  size_t readAt(uint64_t offset, void* buffer, size_t n) const;
  // Reads exactly n bytes or throws naming `what` as the damaged structure.
  void readExact(uint64_t offset, void* buffer, size_t n, const char* what) const;
  // The same through a shared read-only mapping of the file (no system call when the bytes
  // are mapped already; the mapping grows with the file). Writes through writeAt() are
  // seen at once, as are other processes' writes. Files the engine maps are never made
  // shorter while others have them open (that needs exclusive use).
  void readMapped(uint64_t offset, void* buffer, size_t n, const char* what) const;
  // A mapping of the first `n` bytes of the file of its own (they must exist), unmapped
  // when the last copy of the pointer goes.
  std::shared_ptr<const uint8_t> mapHead(size_t n) const;
  void writeAt(uint64_t offset, const void* data, size_t n);
  uint64_t size() const;
  void truncate(uint64_t size);
  void sync();
  void close();

  bool tryLock(uint64_t offset, uint64_t length, bool exclusive);
  void waitLock(uint64_t offset, uint64_t length, bool exclusive);
  void unlock(uint64_t offset, uint64_t length);

 private:
  void unmap() const;

  int fd_ = -1;
  bool writable_ = false;
  std::string path_;
  mutable uint8_t* map_ = nullptr;
  mutable size_t mapSize_ = 0;     // length of the mapping
  mutable uint64_t mapValid_ = 0;  // bytes of it known to lie inside the file
};

// Finds an existing path without regard to the case of its components (tables copied from
// Windows keep whatever case they had). Returns the path as it exists, or "" when absent.
std::string findFileNoCase(const std::string& path);
bool fileExists(const std::string& path);
// `path` with its extension replaced (".CDX", ".FPT"), found without regard to case when it
// exists; otherwise the replacement in the case of the original extension.
std::string siblingPath(const std::string& path, const std::string& extension);

}  // namespace xbase
