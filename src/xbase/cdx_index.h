// A structural compound index file (CDX): the tag directory and its tags.
//
// The file starts with the directory: a compact index whose leaf entries are tag names,
// each pointing at its tag's 1024-byte header (root, free list, change counter, key
// length, options, signature, descending flag, key and FOR expression pool). Nodes are
// 512 bytes. The change counter at byte 8 of the file (big-endian, as Visual FoxPro keeps
// it) is raised on every write, so that other processes know to drop what they cached.
//
// Concurrency. Navigation runs inside a read section, changes inside a write section.
// Unless the file is held alone (exclusive open or the table's file lock, "deferred"
// mode), a write section holds an exclusive lock on the CDX's mutex byte for the
// duration of the operation. A read section first looks at the change counter (through a
// mapping of the file's first bytes, so without a system call): when it is the one last
// seen, the cached nodes are the file's nodes and the section runs without any lock until
// it needs a node it does not have; then it takes the shared lock, and should the counter
// have moved meanwhile it throws IndexChanged, after which the caller runs the operation
// again in a locked section. When the counter moved, the section locks, drops the cache
// and runs locked.
// Writes are collected as dirty nodes and written when the outermost write section ends
// (or, in deferred mode, when flush() is called or too many nodes are dirty).
//
// Nodes emptied by deletes are put on a free list kept at byte 4 of the file (0 = none),
// chained through their left-sibling field and marked with attributes 0xFFFF; a list that
// does not look like ours is ignored, never followed blindly.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xbase/cdx_tag.h"
#include "xbase/file.h"
#include "xbase/node_cache.h"

namespace xbase {

// Thrown out of an optimistic read section that found the index changed under it.
struct IndexChanged {};

class CdxIndex {
 public:
  // `shared`: other handles may use the file at the same time.
  static std::unique_ptr<CdxIndex> open(const std::string& path, bool writable, bool shared);
  static void createEmpty(const std::string& path);
  ~CdxIndex();

  CdxIndex(const CdxIndex&) = delete;
  CdxIndex& operator=(const CdxIndex&) = delete;

  const std::string& path() const { return file_.path(); }
  bool writable() const { return file_.writable(); }
  const std::vector<std::unique_ptr<CdxTag>>& tags() const { return tags_; }
  CdxTag* find(std::string_view name) const;  // without regard to case

  // Inside a write section.
  CdxTag* addTag(TagInfo info);
  void removeTag(std::string_view name);

  void beginRead(bool locked = false);
  void endRead();
  void beginWrite();
  void endWrite();
  void abortWrite() noexcept;
  // Exclusive use of the file (exclusive open, or the table's file lock): writes stay in
  // memory until flush(). Leaving deferred mode flushes.
  void setDeferred(bool deferred);
  void flush();
  // Rises whenever cursors may have to find their entry again.
  uint64_t epoch() const { return epoch_; }

  // Node storage for the tags.
  CdxNode* node(uint32_t offset, const KeyShape& shape);
  // The key count of a leaf not in the cache, read without decoding it; nullopt when the
  // node is cached or is not a leaf.
  std::optional<uint32_t> leafCount(uint32_t offset);
  CdxNode* newNode(bool leaf, const KeyShape& shape);
  void freeNode(uint32_t offset);
  void touch(CdxNode* node);
  void tagRootChanged(CdxTag* tag);
  void changed() { ++epoch_; }
  NodeCache& cache() { return cache_; }
  uint64_t nodeLimit() const { return nextFree_; }

 private:
  CdxIndex() = default;
  void loadDirectory();
  void checkForeignChanges();
  // Takes the index mutex and catches up with other processes' changes; when that fails
  // the mutex is let go and `depth` counts the section out again.
  void lockAndCatchUp(bool exclusive, int& depth);
  void unlockMutex();
  uint32_t liveCounter() const;
  void readableDisk();
  void trimCache();
  uint32_t allocate(uint32_t bytes);
  void writeDirty();

  File file_;
  bool shared_ = true;
  bool deferred_ = false;
  int readDepth_ = 0;
  int writeDepth_ = 0;
  bool locked_ = false;
  std::shared_ptr<const uint8_t> head_;  // mapped first bytes of the file
  uint32_t counter_ = 0;
  uint32_t freeHead_ = 0;
  bool freeHeadDirty_ = false;
  uint64_t nextFree_ = 0;
  uint64_t epoch_ = 1;
  std::unique_ptr<CdxTag> directory_;
  std::vector<std::unique_ptr<CdxTag>> tags_;
  NodeCache cache_;
  std::vector<CdxNode*> dirty_;
  std::vector<CdxTag*> dirtyRoots_;
};

// RAII sections.
class IndexReadSection {
 public:
  explicit IndexReadSection(CdxIndex* index, bool locked = false) : index_(index) {
    if (index_) index_->beginRead(locked);
  }
  ~IndexReadSection() {
    if (index_) index_->endRead();
  }
  IndexReadSection(const IndexReadSection&) = delete;
  IndexReadSection& operator=(const IndexReadSection&) = delete;

 private:
  CdxIndex* index_;
};

class IndexWriteSection {
 public:
  explicit IndexWriteSection(CdxIndex* index) : index_(index), uncaught_(std::uncaught_exceptions()) {
    if (index_) index_->beginWrite();
  }
  // A section left by an exception drops what it changed instead of writing it half done.
  ~IndexWriteSection() noexcept(false) {
    if (!index_) return;
    if (std::uncaught_exceptions() > uncaught_)
      index_->abortWrite();
    else
      index_->endWrite();
  }
  IndexWriteSection(const IndexWriteSection&) = delete;
  IndexWriteSection& operator=(const IndexWriteSection&) = delete;

 private:
  CdxIndex* index_;
  int uncaught_;
};

}  // namespace xbase
