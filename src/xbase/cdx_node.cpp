#include "xbase/cdx_node.h"

#include <algorithm>

#include "xbase/byte_order.h"
#include "xbase/error.h"

namespace xbase {

namespace {

int bitsFor(uint64_t v) {
  int b = 0;
  while (v) {
    ++b;
    v >>= 1;
  }
  return b;
}

struct Packing {
  int recBits, dupBits, trailBits, bytes;
};

Packing packingFor(uint32_t maxRecno, const KeyShape& shape) {
  int d = shape.countBits();
  int need = std::max(bitsFor(maxRecno), 1) + 2 * d;
  int bytes = (need + 7) / 8;
  return {bytes * 8 - 2 * d, d, d, bytes};
}

int trailOf(const uint8_t* key, int length, uint8_t pad) {
  int t = 0;
  while (t < length && key[length - 1 - t] == pad) ++t;
  return t;
}

int commonPrefix(const uint8_t* a, const uint8_t* b, int length) {
  int i = 0;
  while (i < length && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

int KeyShape::countBits() const {
  return bitsFor(uint64_t(length));
}

void refreshLeafEntry(CdxNode& node, size_t i, const KeyShape& shape) {
  if (i >= node.count()) return;
  const uint8_t* k = node.key(i, shape.length);
  int trail = trailOf(k, shape.length, shape.pad);
  int dup = i == 0 ? 0 : commonPrefix(node.key(i - 1, shape.length), k, shape.length);
  dup = std::min(dup, shape.length - trail);
  uint32_t before = uint32_t(shape.length - node.dups[i] - node.trails[i]);
  node.dups[i] = uint8_t(dup);
  node.trails[i] = uint8_t(trail);
  node.storedTotal = node.storedTotal - before + uint32_t(shape.length - dup - trail);
}

void insertLeafEntry(CdxNode& node, size_t i, const uint8_t* key, uint32_t recno, const KeyShape& shape) {
  const int kl = shape.length;
  node.keys.insert(node.keys.begin() + std::ptrdiff_t(i * size_t(kl)), key, key + kl);
  node.recnos.insert(node.recnos.begin() + std::ptrdiff_t(i), recno);
  // A new entry starts as "stores nothing" so that refreshing it adds its real size.
  node.dups.insert(node.dups.begin() + std::ptrdiff_t(i), uint8_t(kl));
  node.trails.insert(node.trails.begin() + std::ptrdiff_t(i), 0);
  node.maxRecno = std::max(node.maxRecno, recno);
  refreshLeafEntry(node, i, shape);
  refreshLeafEntry(node, i + 1, shape);
}

void eraseLeafEntry(CdxNode& node, size_t i, const KeyShape& shape) {
  const int kl = shape.length;
  uint32_t recno = node.recnos[i];
  node.storedTotal -= uint32_t(kl - node.dups[i] - node.trails[i]);
  node.keys.erase(node.keys.begin() + std::ptrdiff_t(i * size_t(kl)),
                  node.keys.begin() + std::ptrdiff_t((i + 1) * size_t(kl)));
  node.recnos.erase(node.recnos.begin() + std::ptrdiff_t(i));
  node.dups.erase(node.dups.begin() + std::ptrdiff_t(i));
  node.trails.erase(node.trails.begin() + std::ptrdiff_t(i));
  refreshLeafEntry(node, i, shape);
  if (recno == node.maxRecno) {
    node.maxRecno = 0;
    for (uint32_t r : node.recnos) node.maxRecno = std::max(node.maxRecno, r);
  }
}

void recomputeLeaf(CdxNode& node, const KeyShape& shape) {
  node.dups.assign(node.count(), uint8_t(shape.length));
  node.trails.assign(node.count(), 0);
  node.storedTotal = 0;
  node.maxRecno = 0;
  for (size_t i = 0; i < node.count(); ++i) {
    refreshLeafEntry(node, i, shape);
    node.maxRecno = std::max(node.maxRecno, node.recnos[i]);
  }
}

bool leafFits(const CdxNode& node, const KeyShape& shape) {
  Packing p = packingFor(node.maxRecno, shape);
  return 24 + node.count() * size_t(p.bytes) + node.storedTotal <= kNodeSize;
}

CdxNode decodeNode(const uint8_t* page, uint32_t offset, const KeyShape& shape, const std::string& path) {
  auto bad = [&](const std::string& why) {
    throwCorrupt(SC_BAD_INDEX, path, "nodo " + std::to_string(offset) + ": " + why);
  };
  CdxNode n;
  n.offset = offset;
  n.shape = shape;
  n.attributes = le16(page);
  n.leaf = (n.attributes & 2) != 0;
  size_t count = le16(page + 2);
  n.left = le32(page + 4);
  n.right = le32(page + 8);
  const int kl = shape.length;
  if (n.attributes > 7) bad("atributos inválidos");
  if (!n.leaf) {
    if (count > size_t(shape.interiorCapacity())) bad("demasiadas claves para un nodo interior");
    n.keys.resize(count * size_t(kl));
    n.recnos.resize(count);
    n.children.resize(count);
    const uint8_t* e = page + 12;
    for (size_t i = 0; i < count; ++i, e += kl + 8) {
      std::memcpy(n.keys.data() + i * size_t(kl), e, size_t(kl));
      n.recnos[i] = be32(e + kl);
      n.children[i] = be32(e + kl + 4);
      if (n.children[i] % kNodeSize != 0 || n.children[i] < kNodeSize || n.children[i] == offset)
        bad("puntero a hijo inválido");
    }
    return n;
  }
  uint32_t recMask = le32(page + 14);
  int recBits = page[20], dupBits = page[21], trailBits = page[22], bytes = page[23];
  if (count == 0) return n;
  if (bytes < 1 || bytes > 8 || recBits < 1 || recBits > 32 || dupBits > 16 || trailBits > 16 ||
      recBits + dupBits + trailBits > bytes * 8)
    bad("empaquetado de hoja inválido");
  if (24 + count * size_t(bytes) > kNodeSize) bad("demasiadas claves para una hoja");
  (void)recMask;
  uint64_t rm = recBits >= 32 ? 0xFFFFFFFFull : ((1ull << recBits) - 1);
  uint64_t dm = (1ull << dupBits) - 1, tm = (1ull << trailBits) - 1;
  n.keys.resize(count * size_t(kl));
  n.recnos.resize(count);
  size_t dataEnd = kNodeSize;
  const size_t entriesEnd = 24 + count * size_t(bytes);
  for (size_t i = 0; i < count; ++i) {
    uint64_t v = 0;
    for (int b = bytes - 1; b >= 0; --b) v = (v << 8) | page[24 + i * size_t(bytes) + size_t(b)];
    uint32_t rec = uint32_t(v & rm);
    int dup = int((v >> recBits) & dm);
    int trail = int((v >> (recBits + dupBits)) & tm);
    if (dup > kl || trail > kl || dup + trail > kl) bad("compresión de clave inválida");
    if (i == 0 && dup != 0) bad("la primera clave no puede compartir bytes");
    size_t stored = size_t(kl - dup - trail);
    if (stored > dataEnd - entriesEnd) bad("claves solapadas con las entradas");
    dataEnd -= stored;
    uint8_t* k = n.keys.data() + i * size_t(kl);
    if (dup) std::memcpy(k, k - kl, size_t(dup));
    std::memcpy(k + dup, page + dataEnd, stored);
    std::memset(k + dup + stored, shape.pad, size_t(trail));
    n.recnos[i] = rec;
  }
  recomputeLeaf(n, shape);
  return n;
}

void encodeNode(const CdxNode& n, const KeyShape& shape, uint8_t* page) {
  std::memset(page, 0, kNodeSize);
  const int kl = shape.length;
  put16(page, n.attributes);
  put16(page + 2, uint32_t(n.count()));
  put32(page + 4, n.left);
  put32(page + 8, n.right);
  if (!n.leaf) {
    uint8_t* e = page + 12;
    for (size_t i = 0; i < n.count(); ++i, e += kl + 8) {
      std::memcpy(e, n.key(i, kl), size_t(kl));
      putBe32(e + kl, n.recnos[i]);
      putBe32(e + kl + 4, n.children[i]);
    }
    return;
  }
  Packing p = packingFor(n.maxRecno, shape);
  uint32_t recMask = p.recBits >= 32 ? 0xFFFFFFFFu : uint32_t((1ull << p.recBits) - 1);
  put32(page + 14, recMask);
  page[18] = uint8_t((1u << p.dupBits) - 1);
  page[19] = uint8_t((1u << p.trailBits) - 1);
  page[20] = uint8_t(p.recBits);
  page[21] = uint8_t(p.dupBits);
  page[22] = uint8_t(p.trailBits);
  page[23] = uint8_t(p.bytes);
  size_t dataEnd = kNodeSize;
  for (size_t i = 0; i < n.count(); ++i) {
    const uint8_t* k = n.key(i, kl);
    int trail = n.trails[i];
    int dup = n.dups[i];
    size_t stored = size_t(kl - dup - trail);
    dataEnd -= stored;
    std::memcpy(page + dataEnd, k + dup, stored);
    uint64_t v = uint64_t(n.recnos[i]) | uint64_t(dup) << p.recBits | uint64_t(trail) << (p.recBits + p.dupBits);
    for (int b = 0; b < p.bytes; ++b) page[24 + i * size_t(p.bytes) + size_t(b)] = uint8_t(v >> (8 * b));
  }
  put16(page + 12, uint32_t(dataEnd - (24 + n.count() * size_t(p.bytes))));
}

}  // namespace xbase
