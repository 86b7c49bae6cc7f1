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
// mode), a read section takes a shared lock on the CDX's mutex byte and a write section an
// exclusive one, each only for the duration of the operation; on entry the change
// counter is compared with the last one seen and the node cache dropped when it moved.
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
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xbase/cdx_tag.h"
#include "xbase/file.h"

namespace xbase {

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

  void beginRead();
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
  CdxNode* newNode(bool leaf, const KeyShape& shape);
  void freeNode(uint32_t offset);
  void touch(CdxNode* node);
  void tagRootChanged(CdxTag* tag);
  void changed() { ++epoch_; }
  std::unordered_map<uint32_t, uint32_t>& counts() { return counts_; }
  uint64_t nodeLimit() const { return nextFree_; }

 private:
  CdxIndex() = default;
  void loadDirectory();
  void checkForeignChanges();
  uint32_t allocate(uint32_t bytes);
  void writeDirty();

  File file_;
  bool shared_ = true;
  bool deferred_ = false;
  int readDepth_ = 0;
  int writeDepth_ = 0;
  bool locked_ = false;
  uint32_t counter_ = 0;
  uint32_t freeHead_ = 0;
  bool freeHeadDirty_ = false;
  uint64_t nextFree_ = 0;
  uint64_t epoch_ = 1;
  std::unique_ptr<CdxTag> directory_;
  std::vector<std::unique_ptr<CdxTag>> tags_;
  std::unordered_map<uint32_t, std::unique_ptr<CdxNode>> nodes_;
  std::vector<CdxNode*> dirty_;
  std::vector<CdxTag*> dirtyRoots_;
  std::unordered_map<uint32_t, uint32_t> counts_;
};

// RAII sections.
class IndexReadSection {
 public:
  explicit IndexReadSection(CdxIndex* index) : index_(index) { if (index_) index_->beginRead(); }
  ~IndexReadSection() { if (index_) index_->endRead(); }
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
