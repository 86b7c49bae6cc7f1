#include "xbase/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "xbase/error.h"

namespace xbase {

namespace {

// The byte range of a lock: shared, or exclusive (only a file open for writing can have that).
struct flock lockRange(uint64_t offset, uint64_t length, bool exclusive) {
  struct flock fl {};
  fl.l_type = short(exclusive ? F_WRLCK : F_RDLCK);
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(offset);
  fl.l_len = off_t(length);
  return fl;
}

[[noreturn]] void throwIo(int genCode, int subCode, const std::string& what, const std::string& path, int err) {
  Error e(genCode, subCode, what + " (" + std::strerror(err) + ")", path, err);
  if (err == EAGAIN || err == EACCES || err == EBUSY) e.setRetry(true).setDefault(true);
  throw e;
}

bool isLockBusy(int err) {
  return err == EAGAIN || err == EACCES;
}

}  // namespace

File::~File() {
  close();
}

File::File(File&& other) noexcept
    : fd_(other.fd_),
      writable_(other.writable_),
      path_(std::move(other.path_)),
      map_(other.map_),
      mapSize_(other.mapSize_) {
  other.fd_ = -1;
  other.map_ = nullptr;
  other.mapSize_ = 0;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    writable_ = other.writable_;
    path_ = std::move(other.path_);
    map_ = other.map_;
    mapSize_ = other.mapSize_;
    mapValid_ = other.mapValid_;
    other.fd_ = -1;
    other.map_ = nullptr;
    other.mapSize_ = other.mapValid_ = 0;
  }
  return *this;
}

File File::open(const std::string& path, Access access, int subCode) {
  std::string real = findFileNoCase(path);
  if (real.empty()) throwIo(EG_OPEN, subCode, "no existe el archivo", path, ENOENT);
  File f;
  f.path_ = real;
  int flags = (access == Access::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  f.fd_ = ::open(real.c_str(), flags);
  if (f.fd_ < 0 && access == Access::ReadWrite && (errno == EACCES || errno == EROFS)) {
    f.fd_ = ::open(real.c_str(), O_RDONLY | O_CLOEXEC);  // read-only media: still readable
    access = Access::ReadOnly;
  }
  if (f.fd_ < 0) throwIo(EG_OPEN, subCode, "no se puede abrir el archivo", real, errno);
  struct stat st;
  if (::fstat(f.fd_, &st) == 0 && !S_ISREG(st.st_mode)) throwIo(EG_OPEN, subCode, "no es un archivo", real, EISDIR);
  f.writable_ = access == Access::ReadWrite;
  return f;
}

File File::create(const std::string& path) {
  File f;
  std::string existing = findFileNoCase(path);
  f.path_ = existing.empty() ? path : existing;
  f.fd_ = ::open(f.path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (f.fd_ < 0) throwIo(EG_CREATE, SC_CREATE, "no se puede crear el archivo", f.path_, errno);
  f.writable_ = true;
  return f;
}

size_t File::readAt(uint64_t offset, void* buffer, size_t n) const {
  size_t done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < n) {
    ssize_t r = ::pread(fd_, p + done, n - done, off_t(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      throwIo(EG_READ, SC_READ, "error de lectura", path_, errno);
    }
    if (r == 0) break;
    done += size_t(r);
  }
  return done;
}

void File::readExact(uint64_t offset, void* buffer, size_t n, const char* what) const {
  if (readAt(offset, buffer, n) != n)
    throwCorrupt(SC_READ, path_, std::string(what) + " más allá del final del archivo");
}

void File::writeAt(uint64_t offset, const void* data, size_t n) {
  if (!writable_) throw Error(EG_READONLY, SC_READ_ONLY, "archivo abierto sólo para lectura", path_);
  size_t done = 0;
  auto* p = static_cast<const char*>(data);
  while (done < n) {
    ssize_t w = ::pwrite(fd_, p + done, n - done, off_t(offset + done));
    if (w < 0) {
      if (errno == EINTR) continue;
      throwIo(EG_WRITE, SC_WRITE, "error de escritura", path_, errno);
    }
    done += size_t(w);
  }
}

uint64_t File::size() const {
  struct stat st;
  if (::fstat(fd_, &st) != 0) throwIo(EG_READ, SC_READ, "no se puede leer el tamaño", path_, errno);
  return uint64_t(st.st_size);
}

void File::truncate(uint64_t size) {
  if (::ftruncate(fd_, off_t(size)) != 0) throwIo(EG_WRITE, SC_WRITE, "no se puede truncar", path_, errno);
}

void File::sync() {
  if (fd_ >= 0 && writable_) ::fdatasync(fd_);
}

void File::close() {
  unmap();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void File::unmap() const {
  if (map_) ::munmap(map_, mapSize_);
  map_ = nullptr;
  mapSize_ = 0;
  mapValid_ = 0;
}

void File::readMapped(uint64_t offset, void* buffer, size_t n, const char* what) const {
  if (offset + n > mapValid_) {
    uint64_t size = this->size();
    if (offset + n > size) throwCorrupt(SC_READ, path_, std::string(what) + " más allá del final del archivo");
    if (size > mapSize_) {
      // Map with room to grow, so that a growing file is not mapped again at every append;
      // only bytes below the file's known size are ever touched.
      unmap();
      size_t length = size_t(size + size / 4 + (1u << 20));
      void* p = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd_, 0);
      if (p == MAP_FAILED) {
        readExact(offset, buffer, n, what);
        return;
      }
      map_ = static_cast<uint8_t*>(p);
      mapSize_ = length;
    }
    mapValid_ = size;
  }
  std::memcpy(buffer, map_ + offset, n);
}

std::shared_ptr<const uint8_t> File::mapHead(size_t n) const {
  void* p = ::mmap(nullptr, n, PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) throwIo(EG_READ, SC_READ, "no se puede leer el encabezado", path_, errno);
  return std::shared_ptr<const uint8_t>(static_cast<const uint8_t*>(p),
                                        [n](const uint8_t* q) { ::munmap(const_cast<uint8_t*>(q), n); });
}

bool File::tryLock(uint64_t offset, uint64_t length, bool exclusive) {
  struct flock fl = lockRange(offset, length, exclusive && writable_);
  if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0) return true;
  if (isLockBusy(errno)) return false;
  throwIo(EG_LOCK, SC_LOCK, "error al bloquear", path_, errno);
}

void File::waitLock(uint64_t offset, uint64_t length, bool exclusive) {
  struct flock fl = lockRange(offset, length, exclusive && writable_);
  while (::fcntl(fd_, F_OFD_SETLKW, &fl) != 0) {
    if (errno != EINTR) throwIo(EG_LOCK, SC_LOCK, "error al bloquear", path_, errno);
  }
}

void File::unlock(uint64_t offset, uint64_t length) {
  struct flock fl {};
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(offset);
  fl.l_len = off_t(length);
  if (fd_ >= 0) ::fcntl(fd_, F_OFD_SETLK, &fl);
}

bool fileExists(const std::string& path) {
  return !findFileNoCase(path).empty();
}

std::string findFileNoCase(const std::string& path) {
  struct stat st;
  if (path.empty()) return {};
  if (::stat(path.c_str(), &st) == 0) return path;
  // Walk the components, matching each one that does not exist as written.
  std::string result = path[0] == '/' ? "/" : "";
  size_t pos = path[0] == '/' ? 1 : 0;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    std::string part = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
    pos = slash == std::string::npos ? path.size() + 1 : slash + 1;
    if (part.empty()) continue;
    std::string candidate = result + part;
    if (::lstat(candidate.c_str(), &st) != 0) {
      DIR* dir = ::opendir(result.empty() ? "." : result.c_str());
      if (!dir) return {};
      std::string match;
      while (dirent* e = ::readdir(dir)) {
        if (::strcasecmp(e->d_name, part.c_str()) == 0) {
          match = e->d_name;
          break;
        }
      }
      ::closedir(dir);
      if (match.empty()) return {};
      candidate = result + match;
    }
    result = candidate;
    if (pos <= path.size()) result += '/';
  }
  return ::stat(result.c_str(), &st) == 0 ? result : std::string();
}

std::string siblingPath(const std::string& path, const std::string& extension) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  std::string base =
      (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? path.substr(0, dot) : path;
  std::string ext = extension;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash) && dot + 1 < path.size() &&
      std::islower(static_cast<unsigned char>(path[dot + 1]))) {
    for (auto& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  }
  std::string wanted = base + ext;
  std::string found = findFileNoCase(wanted);
  return found.empty() ? wanted : found;
}

}  // namespace xbase
