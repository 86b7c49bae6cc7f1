// One 512-byte node of a compact index tree, decoded.
//
// Keys are held expanded to the tag's key length. Leaves keep, per entry, how many bytes the
// packed form stores, so that whether the node still fits in 512 bytes is known without
// re-encoding it after every insert. The packed leaf format:
//   0  attributes (1 root, 2 leaf)   2 key count   4 left sibling   8 right sibling
//   12 free bytes  14 record-number mask  18 duplicate mask  19 trailing mask
//   20 record-number bits  21 duplicate bits  22 trailing bits  23 bytes per entry
//   24 entries: little-endian integers of (recno | dup << R | trail << (R + D))
//   key bytes packed from the end of the node backwards, each key without the bytes it
//   shares with the previous key (dup) and without its trailing pad bytes (trail).
// Interior nodes hold, from byte 12, key + big-endian record number + big-endian child
// offset; each key is the last key of the child below it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace xbase {

inline constexpr uint32_t kNodeSize = 512;
inline constexpr uint32_t kNoNode = 0xFFFFFFFFu;

// Shape of the keys of one tag, needed to pack and unpack its nodes.
struct KeyShape {
  int length = 0;
  uint8_t pad = ' ';

  int countBits() const;  // duplicate and trailing fields
  int interiorCapacity() const { return int((kNodeSize - 12) / uint32_t(length + 8)); }
};

struct CdxNode {
  uint32_t offset = 0;
  uint16_t attributes = 0;
  uint32_t left = kNoNode;
  uint32_t right = kNoNode;
  bool leaf = true;
  std::vector<uint8_t> keys;  // count * keyLength bytes
  std::vector<uint32_t> recnos;
  std::vector<uint32_t> children;  // interior nodes only
  // Leaves: per entry, the bytes shared with the previous key and the trailing pad bytes
  // the packed form drops, and the sum of the key bytes it keeps.
  std::vector<uint8_t> dups;
  std::vector<uint8_t> trails;
  uint32_t storedTotal = 0;
  uint32_t maxRecno = 0;
  bool dirty = false;
  KeyShape shape;

  size_t count() const { return recnos.size(); }
  const uint8_t* key(size_t i, int keyLength) const { return keys.data() + i * size_t(keyLength); }
  bool isRoot() const { return attributes & 1; }
};

// Reads a node; throws xbase::Error (corruption) naming `path` when it does not decode.
CdxNode decodeNode(const uint8_t* page, uint32_t offset, const KeyShape& shape, const std::string& path);
void encodeNode(const CdxNode& node, const KeyShape& shape, uint8_t* page);

// Leaf bookkeeping: refreshLeafEntry after entry i (or the one before it) changed;
// insertLeafEntry/eraseLeafEntry keep the per-entry arrays in step with keys and recnos.
void refreshLeafEntry(CdxNode& node, size_t i, const KeyShape& shape);
void insertLeafEntry(CdxNode& node, size_t i, const uint8_t* key, uint32_t recno, const KeyShape& shape);
void eraseLeafEntry(CdxNode& node, size_t i, const KeyShape& shape);
void recomputeLeaf(CdxNode& node, const KeyShape& shape);
bool leafFits(const CdxNode& node, const KeyShape& shape);

}  // namespace xbase
