#include "xbase/node_cache.h"

namespace xbase {

CdxNode* NodeCache::put(std::unique_ptr<CdxNode> node) {
  size_t i = node->offset / kNodeSize;
  if (i >= nodes_.size()) nodes_.resize(i + 1 + i / 4);
  if (!nodes_[i]) ++size_;
  nodes_[i] = std::move(node);
  return nodes_[i].get();
}

void NodeCache::erase(uint32_t offset) {
  size_t i = offset / kNodeSize;
  if (i < nodes_.size() && nodes_[i]) {
    nodes_[i].reset();
    --size_;
  }
  forgetCount(offset);
}

void NodeCache::clear() {
  nodes_.clear();
  counts_.clear();
  size_ = 0;
}

void NodeCache::dropClean(size_t n) {
  for (size_t seen = 0; seen < nodes_.size() && n > 0; ++seen) {
    if (sweep_ >= nodes_.size()) sweep_ = 0;
    auto& slot = nodes_[sweep_++];
    if (slot && !slot->dirty) {
      slot.reset();
      --size_;
      --n;
    }
  }
}

void NodeCache::setCount(uint32_t offset, uint32_t count) {
  size_t i = offset / kNodeSize;
  if (i >= counts_.size()) counts_.resize(i + 1 + i / 4, kUnknown);
  counts_[i] = count;
}

}  // namespace xbase
