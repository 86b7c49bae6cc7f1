// The decoded nodes of one index file and the key counts of their subtrees, addressed by
// node number (offset / 512): every lookup is an array access, which matters because an
// insert or a seek looks up every node on its path.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "xbase/cdx_node.h"

namespace xbase {

class NodeCache {
 public:
  CdxNode* find(uint32_t offset) const {
    size_t i = offset / kNodeSize;
    return i < nodes_.size() ? nodes_[i].get() : nullptr;
  }
  CdxNode* put(std::unique_ptr<CdxNode> node);
  void erase(uint32_t offset);
  void clear();
  // Drops up to `n` nodes that hold no unwritten changes.
  void dropClean(size_t n);
  size_t size() const { return size_; }

  std::optional<uint32_t> count(uint32_t offset) const {
    size_t i = offset / kNodeSize;
    if (i >= counts_.size() || counts_[i] == kUnknown) return std::nullopt;
    return counts_[i];
  }
  void setCount(uint32_t offset, uint32_t count);
  void forgetCount(uint32_t offset) {
    size_t i = offset / kNodeSize;
    if (i < counts_.size()) counts_[i] = kUnknown;
  }
  void clearCounts() { counts_.clear(); }

 private:
  static constexpr uint32_t kUnknown = 0xFFFFFFFFu;
  std::vector<std::unique_ptr<CdxNode>> nodes_;
  std::vector<uint32_t> counts_;
  size_t size_ = 0;
  size_t sweep_ = 0;  // where the next dropClean starts, so every node takes its turn
};

}  // namespace xbase
