#include "server/read_memo.h"

namespace server {

size_t ReadMemo::bytesOf(const Result& r) {
  size_t n = 0;
  for (int row = 0; row < r.rows(); ++row)
    for (int col = 0; col < r.columns(); ++col) n += size_t(r.length(row, col)) + 8;
  return n;
}

const ReadMemo::Answer* ReadMemo::find(const std::string& key) const {
  auto at = answers_.find(key);
  return at == answers_.end() ? nullptr : &at->second.answer;
}

void ReadMemo::keep(const std::string& key, Answer answer) {
  size_t bytes = bytesOf(answer.result);
  if (bytes > kMaxBytes) return;
  auto at = answers_.find(key);
  if (at != answers_.end()) forget(at);
  while (bytes_ + bytes > kMaxBytes) forget(answers_.find(order_.front()));
  answers_.emplace(key, Kept{std::move(answer), bytes, order_.insert(order_.end(), key)});
  bytes_ += bytes;
}

void ReadMemo::forgetTable(uint32_t table) {
  for (auto at = answers_.begin(); at != answers_.end();) {
    auto next = std::next(at);
    if (at->second.answer.table == table) forget(at);
    at = next;
  }
}

void ReadMemo::clear() {
  answers_.clear();
  order_.clear();
  bytes_ = 0;
}

void ReadMemo::forget(std::map<std::string, Kept>::iterator at) {
  bytes_ -= at->second.bytes;
  order_.erase(at->second.age);
  answers_.erase(at);
}

}  // namespace server
