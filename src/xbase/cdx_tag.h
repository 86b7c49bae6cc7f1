// One tag of a compound index: a B-tree of (key, record number) entries in ascending
// order, equal keys ordered by record number. Descending tags are stored ascending too
// and read backwards by the table.
//
// Positions are 0-based indices into the ascending sequence of all entries. Counting uses
// per-subtree key counts that the index caches in memory, so key numbers and key counts
// cost a descent, not a scan; the cache is filled on first use and follows every change.
// All operations must run inside a read or write section of the owning CdxIndex.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/cdx_node.h"

namespace xbase {

class CdxIndex;

// Key type of a tag: how expression values become key bytes.
enum class KeyKind : uint8_t { Char, Double, Int32, Logical, Unknown };

struct TagInfo {
  std::string name;
  std::string keyExpr;  // code-page bytes, as stored
  std::string forExpr;
  int keyLength = 0;
  uint8_t options = 0x60;
  uint8_t signature = 1;
  bool descending = false;
  std::string collation;  // blank for machine order

  bool unique() const { return options & 0x01; }
  bool candidate() const { return options & 0x04; }
  bool hasFor() const { return options & 0x08; }
  bool nullableKey() const { return options & 0x02; }
};

// Key bytes held inline: cursors move on every skip and must not allocate.
class KeyBytes {
 public:
  void assign(const char* p, size_t n) {
    n_ = uint16_t(n < sizeof b_ ? n : sizeof b_);
    std::memcpy(b_, p, n_);
  }
  const char* data() const { return b_; }
  size_t size() const { return n_; }
  operator std::string_view() const { return {b_, n_}; }

 private:
  char b_[240];
  uint16_t n_ = 0;
};

// A place in a tag: the leaf, the entry index in it, and the entry itself (kept so the place
// can be found again after another process has changed the tree).
struct TagCursor {
  uint32_t leaf = kNoNode;
  uint32_t index = 0;
  KeyBytes key;
  uint32_t recno = 0;
  uint64_t epoch = 0;
  bool valid() const { return leaf != kNoNode; }
};

class CdxTag {
 public:
  CdxTag(CdxIndex& index, uint32_t headerOffset, TagInfo info, uint32_t root);

  const TagInfo& info() const { return info_; }
  const std::string& name() const { return info_.name; }
  uint32_t headerOffset() const { return headerOffset_; }
  uint32_t root() const { return root_; }
  KeyShape shape() const { return shape_; }
  KeyKind kind() const { return kind_; }
  void setKind(KeyKind k);

  // Entry access at a cursor.
  bool first(TagCursor& c);
  bool last(TagCursor& c);
  bool next(TagCursor& c);
  bool prev(TagCursor& c);
  // First entry whose first prefix.size() key bytes are >= prefix (or > prefix with
  // `after`). False (cursor invalid) when there is none.
  bool seek(std::string_view prefix, bool after, TagCursor& c);
  // The entry (key, recno) itself, or the first entry after it; true when found exactly.
  bool locate(std::string_view key, uint32_t recno, TagCursor& c);
  // Puts a cursor that another change may have outdated back on its entry (or the next).
  void revalidate(TagCursor& c);

  uint32_t count();
  uint32_t position(const TagCursor& c);                     // entries before c
  uint32_t positionOf(std::string_view prefix, bool after);  // entries before seek(prefix)
  bool atPosition(uint32_t position, TagCursor& c);

  void insert(std::string_view key, uint32_t recno);
  bool remove(std::string_view key, uint32_t recno);
  bool containsKey(std::string_view key);

  // Walks every entry in order, checking node structure; throws on damage.
  void forEach(const std::function<void(std::string_view key, uint32_t recno)>& visit);
  // Replaces the whole tree by a bottom-up build from sorted entries.
  void buildFrom(const std::vector<std::pair<std::string, uint32_t>>& sorted);

 private:
  friend class CdxIndex;
  struct PathStep {
    uint32_t node;
    size_t slot;
  };
  // Descends to the first entry for which before(key, recno) is false; fills the cursor
  // (when given), `path` and, when asked, the number of entries before it.
  template <typename Before>
  bool lowerBound(const Before& before, TagCursor* c, std::vector<PathStep>* path, uint32_t* position);
  void fillCursor(TagCursor& c, const CdxNode& leaf, size_t index);
  // The cursor on the first (last) entry of a leaf with entries; invalid, and false, for none.
  bool firstOf(CdxNode* leaf, TagCursor& c);
  bool lastOf(CdxNode* leaf, TagCursor& c);
  // The first leaf with entries along the sibling links from `link`, nullptr when none.
  CdxNode* nonEmptyLeaf(uint32_t link, bool rightwards);
  void checkDepth(int depth);  // a deeper tree is damaged (or has a cycle)
  uint32_t subtreeCount(uint32_t node, int depth = 0);
  void fixSeparators(std::vector<PathStep>& path, CdxNode* leaf);
  // Where the entry (key, recno) is, or would go: its key padded to the tag's length, the
  // path down to it, its leaf and slot, and whether it is there.
  struct EntrySpot {
    std::string key;
    std::vector<PathStep> path;
    CdxNode* leaf = nullptr;
    size_t slot = 0;
    bool present = false;
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(key.data()); }
  };
  EntrySpot spotOf(std::string_view key, uint32_t recno);
  // After the leaf at `spot` changed: counts along the path forgotten, the leaf to be written.
  void changing(const EntrySpot& spot);
  void splitLeaf(std::vector<PathStep>& path, CdxNode* leaf, size_t insertedAt);
  // Puts the new node `right` between `n` and its right sibling (`n` itself is touched by the caller).
  void linkAfter(CdxNode* n, CdxNode* right);
  void insertChild(std::vector<PathStep>& path, size_t level, const uint8_t* key, uint32_t recno, uint32_t child);
  void removeChild(std::vector<PathStep>& path, size_t level);
  void setRoot(uint32_t root);
  CdxNode* node(uint32_t offset);

  CdxIndex& index_;
  uint32_t headerOffset_;
  TagInfo info_;
  uint32_t root_;
  KeyShape shape_;
  KeyKind kind_ = KeyKind::Unknown;
};

}  // namespace xbase
