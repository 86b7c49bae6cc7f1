#include "xbase/cdx_tag.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "xbase/cdx_index.h"
#include "xbase/error.h"

namespace xbase {

namespace {

constexpr int kMaxDepth = 48;

// Sibling links: -1 means none; some writers leave 0 instead.
bool hasLink(uint32_t v) {
  return v != kNoNode && v != 0;
}

int compareEntry(const uint8_t* key, uint32_t recno, const uint8_t* target, uint32_t targetRecno, int length) {
  int c = std::memcmp(key, target, size_t(length));
  if (c != 0) return c;
  return recno < targetRecno ? -1 : (recno > targetRecno ? 1 : 0);
}

// lowerBound orders: the entries before the entry (target, recno)...
auto beforeEntry(const uint8_t* target, uint32_t recno, int length) {
  return [=](const uint8_t* e, uint32_t r) { return compareEntry(e, r, target, recno, length) < 0; };
}

// ...and those before the first key that starts with `prefix` (after: past the last one).
auto beforePrefix(std::string_view prefix, int length, bool after) {
  size_t n = std::min(prefix.size(), size_t(length));
  const auto* p = reinterpret_cast<const uint8_t*>(prefix.data());
  return [=](const uint8_t* k, uint32_t) {
    int c = std::memcmp(k, p, n);
    return after ? c <= 0 : c < 0;
  };
}

}  // namespace

CdxTag::CdxTag(CdxIndex& index, uint32_t headerOffset, TagInfo info, uint32_t root)
    : index_(index), headerOffset_(headerOffset), info_(std::move(info)), root_(root) {
  shape_.length = info_.keyLength;
  shape_.pad = ' ';
}

void CdxTag::setKind(KeyKind k) {
  kind_ = k;
  shape_.pad = k == KeyKind::Char || k == KeyKind::Unknown ? ' ' : 0;
}

CdxNode* CdxTag::node(uint32_t offset) {
  return index_.node(offset, shape_);
}

[[noreturn]] static void damaged(CdxIndex& index, const std::string& tag, const std::string& what) {
  throwCorrupt(SC_BAD_INDEX, index.path(), "etiqueta " + tag + ": " + what);
}

void CdxTag::checkDepth(int depth) {
  if (depth > kMaxDepth) damaged(index_, name(), "árbol demasiado profundo o con ciclos");
}

CdxNode* CdxTag::nonEmptyLeaf(uint32_t link, bool rightwards) {
  for (int guard = 0; hasLink(link) && guard < 1 << 20; ++guard) {
    CdxNode* n = node(link);
    if (!n->leaf) damaged(index_, name(), "hermano de hoja que no es hoja");
    if (n->count() > 0) return n;
    link = rightwards ? n->right : n->left;
  }
  return nullptr;
}

bool CdxTag::firstOf(CdxNode* leaf, TagCursor& c) {
  if (!leaf) {
    c.leaf = kNoNode;
    return false;
  }
  fillCursor(c, *leaf, 0);
  return true;
}

bool CdxTag::lastOf(CdxNode* leaf, TagCursor& c) {
  if (!leaf) {
    c.leaf = kNoNode;
    return false;
  }
  fillCursor(c, *leaf, leaf->count() - 1);
  return true;
}

void CdxTag::fillCursor(TagCursor& c, const CdxNode& leaf, size_t i) {
  c.leaf = leaf.offset;
  c.index = uint32_t(i);
  c.key.assign(reinterpret_cast<const char*>(leaf.key(i, shape_.length)), size_t(shape_.length));
  c.recno = leaf.recnos[i];
  c.epoch = index_.epoch();
}

uint32_t CdxTag::subtreeCount(uint32_t offset, int depth) {
  checkDepth(depth);
  NodeCache& cache = index_.cache();
  if (std::optional<uint32_t> known = cache.count(offset)) return *known;
  if (std::optional<uint32_t> leaf = index_.leafCount(offset)) {
    cache.setCount(offset, *leaf);
    return *leaf;
  }
  CdxNode* n = node(offset);
  uint32_t total = 0;
  if (n->leaf) {
    total = uint32_t(n->count());
  } else {
    std::vector<uint32_t> children = n->children;  // the node may be evicted meanwhile
    for (uint32_t child : children) total += subtreeCount(child, depth + 1);
  }
  cache.setCount(offset, total);
  return total;
}

template <typename Before>
bool CdxTag::lowerBound(const Before& before, TagCursor* c, std::vector<PathStep>* path, uint32_t* position) {
  uint32_t off = root_;
  uint32_t pos = 0;
  for (int depth = 0;; ++depth) {
    checkDepth(depth);
    CdxNode* n = node(off);
    const int kl = shape_.length;
    size_t lo = 0, hi = n->count();
    while (lo < hi) {
      size_t mid = (lo + hi) / 2;
      if (before(n->key(mid, kl), n->recnos[mid]))
        lo = mid + 1;
      else
        hi = mid;
    }
    if (n->leaf) {
      if (path) path->push_back({off, lo});
      if (position) *position = pos + uint32_t(lo);
      if (lo < n->count()) {
        if (c) fillCursor(*c, *n, lo);
        return true;
      }
      // Past this leaf: the answer, if any, starts the next non-empty leaf.
      CdxNode* r = nonEmptyLeaf(n->right, true);
      return c ? firstOf(r, *c) : r != nullptr;
    }
    if (n->count() == 0) damaged(index_, name(), "nodo interior vacío");
    if (lo == n->count()) {  // beyond this subtree: go down its right edge
      lo = n->count() - 1;
    }
    if (position) {
      std::vector<uint32_t> children(n->children.begin(), n->children.begin() + std::ptrdiff_t(lo));
      for (uint32_t child : children) pos += subtreeCount(child, depth + 1);
      n = node(off);
    }
    if (path) path->push_back({off, lo});
    off = n->children[lo];
  }
}

bool CdxTag::first(TagCursor& c) {
  return lowerBound([](const uint8_t*, uint32_t) { return false; }, &c, nullptr, nullptr);
}

bool CdxTag::last(TagCursor& c) {
  uint32_t off = root_;
  for (int depth = 0;; ++depth) {
    checkDepth(depth);
    CdxNode* n = node(off);
    // An empty rightmost leaf: step left to the last entry there is.
    if (n->leaf) return lastOf(n->count() > 0 ? n : nonEmptyLeaf(n->left, false), c);
    if (n->count() == 0) damaged(index_, name(), "nodo interior vacío");
    off = n->children.back();
  }
}

void CdxTag::revalidate(TagCursor& c) {
  if (c.valid() && c.epoch != index_.epoch()) {
    std::string key(std::string_view(c.key));
    uint32_t recno = c.recno;
    locate(key, recno, c);
  }
}

bool CdxTag::next(TagCursor& c) {
  if (!c.valid()) return false;
  if (c.epoch != index_.epoch()) {
    std::string key(std::string_view(c.key));
    uint32_t recno = c.recno;
    if (!locate(key, recno, c)) return c.valid();  // the entry is gone: its successor is next
  }
  CdxNode* n = node(c.leaf);
  if (c.index + 1 < n->count()) {
    fillCursor(c, *n, c.index + 1);
    return true;
  }
  return firstOf(nonEmptyLeaf(n->right, true), c);
}

bool CdxTag::prev(TagCursor& c) {
  if (!c.valid()) return false;
  if (c.epoch != index_.epoch()) {
    std::string key(std::string_view(c.key));
    uint32_t recno = c.recno;
    locate(key, recno, c);
    if (!c.valid()) return last(c);
  }
  CdxNode* n = node(c.leaf);
  if (c.index > 0) {
    fillCursor(c, *n, c.index - 1);
    return true;
  }
  return lastOf(nonEmptyLeaf(n->left, false), c);
}

bool CdxTag::seek(std::string_view prefix, bool after, TagCursor& c) {
  return lowerBound(beforePrefix(prefix, shape_.length, after), &c, nullptr, nullptr);
}

bool CdxTag::locate(std::string_view key, uint32_t recno, TagCursor& c) {
  std::string k(key);
  k.resize(size_t(shape_.length), char(shape_.pad));
  const auto* t = reinterpret_cast<const uint8_t*>(k.data());
  const int kl = shape_.length;
  bool any = lowerBound(beforeEntry(t, recno, kl), &c, nullptr, nullptr);
  return any && c.recno == recno && std::memcmp(c.key.data(), t, size_t(kl)) == 0;
}

uint32_t CdxTag::count() {
  return subtreeCount(root_);
}

uint32_t CdxTag::position(const TagCursor& c) {
  const auto* t = reinterpret_cast<const uint8_t*>(c.key.data());
  const int kl = shape_.length;
  uint32_t pos = 0;
  lowerBound(beforeEntry(t, c.recno, kl), nullptr, nullptr, &pos);
  return pos;
}

uint32_t CdxTag::positionOf(std::string_view prefix, bool after) {
  uint32_t pos = 0;
  lowerBound(beforePrefix(prefix, shape_.length, after), nullptr, nullptr, &pos);
  return pos;
}

bool CdxTag::atPosition(uint32_t position, TagCursor& c) {
  uint32_t off = root_;
  for (int depth = 0;; ++depth) {
    checkDepth(depth);
    CdxNode* n = node(off);
    if (n->leaf) {
      if (position >= n->count()) {
        c.leaf = kNoNode;
        return false;
      }
      fillCursor(c, *n, position);
      return true;
    }
    size_t i = 0;
    uint32_t chosen = kNoNode;
    std::vector<uint32_t> children = n->children;
    for (; i < children.size(); ++i) {
      uint32_t cnt = subtreeCount(children[i], depth + 1);
      if (position < cnt) {
        chosen = children[i];
        break;
      }
      position -= cnt;
    }
    if (chosen == kNoNode) {
      c.leaf = kNoNode;
      return false;
    }
    off = chosen;
  }
}

bool CdxTag::containsKey(std::string_view key) {
  TagCursor c;
  std::string k(key);
  k.resize(size_t(shape_.length), char(shape_.pad));
  return seek(k, false, c) && std::memcmp(c.key.data(), k.data(), k.size()) == 0;
}

void CdxTag::setRoot(uint32_t root) {
  root_ = root;
  index_.tagRootChanged(this);
}

void CdxTag::linkAfter(CdxNode* n, CdxNode* right) {
  right->left = n->offset;
  right->right = n->right;
  if (hasLink(n->right)) {
    CdxNode* after = node(n->right);
    after->left = right->offset;
    index_.touch(after);
  }
  n->right = right->offset;
  index_.touch(right);
}

// Keeps every separator on the path equal to the last entry of the child below it.
void CdxTag::fixSeparators(std::vector<PathStep>& path, CdxNode* child) {
  const int kl = shape_.length;
  for (size_t level = path.size() - 1; level-- > 0;) {
    if (child->count() == 0) return;
    CdxNode* parent = node(path[level].node);
    size_t slot = path[level].slot;
    if (slot >= parent->count() || parent->children[slot] != child->offset)
      damaged(index_, name(), "camino inconsistente");
    const uint8_t* last = child->key(child->count() - 1, kl);
    uint32_t lastRec = child->recnos[child->count() - 1];
    if (std::memcmp(parent->key(slot, kl), last, size_t(kl)) == 0 && parent->recnos[slot] == lastRec) return;
    std::memcpy(parent->keys.data() + slot * size_t(kl), last, size_t(kl));
    parent->recnos[slot] = lastRec;
    index_.touch(parent);
    if (slot + 1 != parent->count()) return;
    child = parent;
  }
}

CdxTag::EntrySpot CdxTag::spotOf(std::string_view key, uint32_t recno) {
  const int kl = shape_.length;
  EntrySpot spot;
  spot.key.assign(key.substr(0, size_t(kl)));
  spot.key.resize(size_t(kl), char(shape_.pad));
  const uint8_t* t = spot.bytes();
  lowerBound(beforeEntry(t, recno, kl), nullptr, &spot.path, nullptr);
  spot.leaf = node(spot.path.back().node);
  spot.slot = spot.path.back().slot;
  spot.present = spot.slot < spot.leaf->count() &&
                 compareEntry(spot.leaf->key(spot.slot, kl), spot.leaf->recnos[spot.slot], t, recno, kl) == 0;
  return spot;
}

void CdxTag::changing(const EntrySpot& spot) {
  for (auto& step : spot.path) index_.cache().forgetCount(step.node);
  index_.touch(spot.leaf);
  index_.changed();
}

void CdxTag::insert(std::string_view key, uint32_t recno) {
  EntrySpot spot = spotOf(key, recno);
  if (spot.present) return;
  CdxNode* leaf = spot.leaf;
  size_t j = spot.slot;
  insertLeafEntry(*leaf, j, spot.bytes(), recno, shape_);
  changing(spot);
  if (!leafFits(*leaf, shape_))
    splitLeaf(spot.path, leaf, j);
  else if (j + 1 == leaf->count())
    fixSeparators(spot.path, leaf);
}

void CdxTag::splitLeaf(std::vector<PathStep>& path, CdxNode* leaf, size_t insertedAt) {
  const int kl = shape_.length;
  size_t n = leaf->count();
  // Appending at the far right keeps the left node full (ascending loads stay dense).
  size_t k = (insertedAt + 1 == n && !hasLink(leaf->right)) ? n - 1 : n / 2;
  if (k == 0) k = 1;
  CdxNode* right = index_.newNode(true, shape_);
  std::vector<uint8_t> keys = std::move(leaf->keys);
  std::vector<uint32_t> recnos = std::move(leaf->recnos);
  auto assign = [&](size_t from) {
    leaf->keys.assign(keys.begin(), keys.begin() + std::ptrdiff_t(from * size_t(kl)));
    leaf->recnos.assign(recnos.begin(), recnos.begin() + std::ptrdiff_t(from));
    right->keys.assign(keys.begin() + std::ptrdiff_t(from * size_t(kl)), keys.end());
    right->recnos.assign(recnos.begin() + std::ptrdiff_t(from), recnos.end());
    recomputeLeaf(*leaf, shape_);
    recomputeLeaf(*right, shape_);
  };
  // Move the split point until both halves fit (keys of very different lengths).
  for (size_t tries = 0; tries < n; ++tries) {
    assign(k);
    if (!leafFits(*leaf, shape_) && k > 1)
      --k;
    else if (!leafFits(*right, shape_) && k + 1 < n)
      ++k;
    else
      break;
  }
  right->attributes = 2;
  linkAfter(leaf, right);
  index_.touch(leaf);

  const uint8_t* leftLast = leaf->key(leaf->count() - 1, kl);
  const uint8_t* rightLast = right->key(right->count() - 1, kl);
  if (path.size() == 1) {  // the root leaf splits: a new interior root above both
    leaf->attributes = 2;
    CdxNode* root = index_.newNode(false, shape_);
    root->attributes = 1;
    root->keys.assign(leftLast, leftLast + kl);
    root->keys.insert(root->keys.end(), rightLast, rightLast + kl);
    root->recnos = {leaf->recnos.back(), right->recnos.back()};
    root->children = {leaf->offset, right->offset};
    setRoot(root->offset);
    return;
  }
  size_t level = path.size() - 2;
  CdxNode* parent = node(path[level].node);
  size_t slot = path[level].slot;
  std::memcpy(parent->keys.data() + slot * size_t(kl), leftLast, size_t(kl));
  parent->recnos[slot] = leaf->recnos.back();
  index_.touch(parent);
  path.pop_back();
  insertChild(path, level, rightLast, right->recnos.back(), right->offset);
}

// Inserts (key, recno, child) after slot path[level].slot of the interior node at `level`,
// splitting upwards as needed; path is cut to end at that node.
void CdxTag::insertChild(std::vector<PathStep>& path, size_t level, const uint8_t* key, uint32_t recno,
                         uint32_t child) {
  const int kl = shape_.length;
  CdxNode* n = node(path[level].node);
  size_t at = path[level].slot + 1;
  n->keys.insert(n->keys.begin() + std::ptrdiff_t(at * size_t(kl)), key, key + kl);
  n->recnos.insert(n->recnos.begin() + std::ptrdiff_t(at), recno);
  n->children.insert(n->children.begin() + std::ptrdiff_t(at), child);
  index_.touch(n);
  if (int(n->count()) <= shape_.interiorCapacity()) {
    if (at + 1 == n->count()) {
      path.resize(level + 1);
      fixSeparators(path, n);
    }
    return;
  }
  size_t total = n->count();
  size_t k = (at + 1 == total && !hasLink(n->right)) ? total - 1 : total / 2;
  CdxNode* right = index_.newNode(false, shape_);
  n = node(path[level].node);
  right->keys.assign(n->keys.begin() + std::ptrdiff_t(k * size_t(kl)), n->keys.end());
  right->recnos.assign(n->recnos.begin() + std::ptrdiff_t(k), n->recnos.end());
  right->children.assign(n->children.begin() + std::ptrdiff_t(k), n->children.end());
  n->keys.resize(k * size_t(kl));
  n->recnos.resize(k);
  n->children.resize(k);
  right->attributes = 0;
  linkAfter(n, right);
  const uint8_t* leftLast = n->key(n->count() - 1, kl);
  const uint8_t* rightLast = right->key(right->count() - 1, kl);
  if (level == 0) {
    n->attributes = 0;
    CdxNode* root = index_.newNode(false, shape_);
    root->attributes = 1;
    root->keys.assign(leftLast, leftLast + kl);
    root->keys.insert(root->keys.end(), rightLast, rightLast + kl);
    root->recnos = {n->recnos.back(), right->recnos.back()};
    root->children = {n->offset, right->offset};
    setRoot(root->offset);
    return;
  }
  CdxNode* parent = node(path[level - 1].node);
  size_t slot = path[level - 1].slot;
  std::memcpy(parent->keys.data() + slot * size_t(kl), leftLast, size_t(kl));
  parent->recnos[slot] = n->recnos.back();
  index_.touch(parent);
  insertChild(path, level - 1, rightLast, right->recnos.back(), right->offset);
}

bool CdxTag::remove(std::string_view key, uint32_t recno) {
  EntrySpot spot = spotOf(key, recno);
  if (!spot.present) return false;
  CdxNode* leaf = spot.leaf;
  size_t j = spot.slot;
  eraseLeafEntry(*leaf, j, shape_);
  changing(spot);
  if (leaf->count() > 0) {
    if (j == leaf->count()) fixSeparators(spot.path, leaf);
    return true;
  }
  removeChild(spot.path, spot.path.size() - 1);
  return true;
}

// The node at path[level] is empty: unlink it, free it and drop it from its parent.
void CdxTag::removeChild(std::vector<PathStep>& path, size_t level) {
  CdxNode* n = node(path[level].node);
  if (level == 0) {  // an empty root becomes an empty root leaf
    n->leaf = true;
    n->attributes = 3;
    n->keys.clear();
    n->recnos.clear();
    n->children.clear();
    recomputeLeaf(*n, shape_);
    index_.touch(n);
    return;
  }
  uint32_t left = n->left, right = n->right, offset = n->offset;
  if (hasLink(left)) {
    CdxNode* l = node(left);
    l->right = right;
    index_.touch(l);
  }
  if (hasLink(right)) {
    CdxNode* r = node(right);
    r->left = left;
    index_.touch(r);
  }
  index_.freeNode(offset);
  const int kl = shape_.length;
  CdxNode* parent = node(path[level - 1].node);
  size_t slot = path[level - 1].slot;
  parent->keys.erase(parent->keys.begin() + std::ptrdiff_t(slot * size_t(kl)),
                     parent->keys.begin() + std::ptrdiff_t((slot + 1) * size_t(kl)));
  parent->recnos.erase(parent->recnos.begin() + std::ptrdiff_t(slot));
  parent->children.erase(parent->children.begin() + std::ptrdiff_t(slot));
  index_.touch(parent);
  path.resize(level);
  if (parent->count() == 0) {
    removeChild(path, level - 1);
  } else if (slot == parent->count()) {
    fixSeparators(path, parent);
  }
}

void CdxTag::forEach(const std::function<void(std::string_view key, uint32_t recno)>& visit) {
  const int kl = shape_.length;
  // Depth-first walk: every leaf at the same depth, separators equal to the last key below.
  std::vector<uint32_t> leaves;
  std::unordered_set<uint32_t> seen;
  int leafDepth = -1;
  std::function<void(uint32_t, int, const uint8_t*, uint32_t)> walk = [&](uint32_t off, int depth, const uint8_t* sep,
                                                                          uint32_t sepRec) {
    if (depth > kMaxDepth || !seen.insert(off).second) damaged(index_, name(), "árbol con ciclos");
    CdxNode* n = node(off);
    if ((depth == 0) != n->isRoot())
      damaged(index_, name(), "marca de raíz incorrecta en el nodo " + std::to_string(off));
    if (n->leaf) {
      if (leafDepth < 0) leafDepth = depth;
      if (leafDepth != depth) damaged(index_, name(), "hojas a distinta profundidad");
      if (sep && n->count() > 0 &&
          (std::memcmp(n->key(n->count() - 1, kl), sep, size_t(kl)) != 0 || n->recnos.back() != sepRec))
        damaged(index_, name(), "separador distinto de la última clave del nodo " + std::to_string(off));
      leaves.push_back(off);
      return;
    }
    if (n->count() == 0) damaged(index_, name(), "nodo interior vacío");
    std::vector<uint8_t> keys = n->keys;
    std::vector<uint32_t> recs = n->recnos;
    std::vector<uint32_t> children = n->children;
    if (sep && (std::memcmp(&keys[(children.size() - 1) * size_t(kl)], sep, size_t(kl)) != 0 || recs.back() != sepRec))
      damaged(index_, name(), "separador distinto de la última clave del nodo " + std::to_string(off));
    for (size_t i = 0; i < children.size(); ++i) walk(children[i], depth + 1, &keys[i * size_t(kl)], recs[i]);
  };
  walk(root_, 0, nullptr, 0);
  std::string prevKey;
  uint32_t prevRec = 0;
  bool havePrev = false;
  uint32_t prevLeaf = kNoNode;
  for (size_t i = 0; i < leaves.size(); ++i) {
    CdxNode* n = node(leaves[i]);
    uint32_t expectLeft = i == 0 ? kNoNode : leaves[i - 1];
    uint32_t expectRight = i + 1 == leaves.size() ? kNoNode : leaves[i + 1];
    if (n->left != expectLeft && !(i == 0 && n->left == 0))
      damaged(index_, name(), "enlace izquierdo roto en el nodo " + std::to_string(n->offset));
    if (n->right != expectRight && !(i + 1 == leaves.size() && n->right == 0))
      damaged(index_, name(), "enlace derecho roto en el nodo " + std::to_string(n->offset));
    (void)prevLeaf;
    prevLeaf = n->offset;
    std::vector<uint8_t> keys = n->keys;
    std::vector<uint32_t> recs = n->recnos;
    for (size_t e = 0; e < recs.size(); ++e) {
      std::string_view key(reinterpret_cast<const char*>(&keys[e * size_t(kl)]), size_t(kl));
      if (havePrev) {
        int cmp = std::memcmp(prevKey.data(), key.data(), size_t(kl));
        if (cmp > 0 || (cmp == 0 && prevRec >= recs[e])) damaged(index_, name(), "claves fuera de orden");
      }
      visit(key, recs[e]);
      prevKey.assign(key);
      prevRec = recs[e];
      havePrev = true;
    }
  }
}

void CdxTag::buildFrom(const std::vector<std::pair<std::string, uint32_t>>& sorted) {
  const int kl = shape_.length;
  struct Level {
    std::vector<CdxNode*> nodes;
  };
  uint32_t oldRoot = root_;
  std::vector<CdxNode*> level;
  CdxNode* cur = nullptr;
  for (const auto& [key, recno] : sorted) {
    std::string k = key;
    k.resize(size_t(kl), char(shape_.pad));
    if (!cur) {
      cur = index_.newNode(true, shape_);
      level.push_back(cur);
    }
    insertLeafEntry(*cur, cur->count(), reinterpret_cast<const uint8_t*>(k.data()), recno, shape_);
    if (!leafFits(*cur, shape_)) {
      eraseLeafEntry(*cur, cur->count() - 1, shape_);
      cur = index_.newNode(true, shape_);
      level.push_back(cur);
      cur->keys.assign(k.begin(), k.end());
      cur->recnos = {recno};
      recomputeLeaf(*cur, shape_);
    }
  }
  if (level.empty()) {
    cur = index_.newNode(true, shape_);
    level.push_back(cur);
  }
  bool leaves = true;
  while (true) {
    for (size_t i = 0; i < level.size(); ++i) {
      level[i]->left = i == 0 ? kNoNode : level[i - 1]->offset;
      level[i]->right = i + 1 == level.size() ? kNoNode : level[i + 1]->offset;
      level[i]->attributes = uint16_t(leaves ? 2 : 0);
      index_.touch(level[i]);
    }
    if (level.size() == 1) {
      level[0]->attributes = uint16_t(level[0]->attributes | 1);
      break;
    }
    std::vector<CdxNode*> up;
    size_t cap = size_t(shape_.interiorCapacity());
    for (size_t i = 0; i < level.size(); i += cap) {
      CdxNode* p = index_.newNode(false, shape_);
      for (size_t j = i; j < std::min(level.size(), i + cap); ++j) {
        CdxNode* child = level[j];
        const uint8_t* last = child->key(child->count() - 1, kl);
        p->keys.insert(p->keys.end(), last, last + kl);
        p->recnos.push_back(child->recnos.back());
        p->children.push_back(child->offset);
      }
      up.push_back(p);
    }
    // A last node with a single child is legal, but balance the final two when possible.
    level = std::move(up);
    leaves = false;
  }
  setRoot(level[0]->offset);
  index_.cache().clearCounts();
  index_.changed();
  if (oldRoot != root_ && oldRoot != 0) index_.freeNode(oldRoot);
}

}  // namespace xbase
