// The answers of long reads a connection keeps for the next read that asks the same, each
// with the change mark (TableSchema) its table had when it was read. An answer is good
// while its table's mark has not moved: the mark moves with every statement that changes
// the table, and an answer is kept only when it was read with no change of any table
// under way (ServerTable::markSql says how the server tells).
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <string>

#include "server/session.h"

namespace server {

class ReadMemo {
 public:
  // Bytes kept in all (values, and a little for each); the oldest answers go first.
  static constexpr size_t kMaxBytes = size_t(64) << 20;

  struct Answer {
    uint32_t table = 0;  // oid
    long long mark = 0;
    int limit = 0;  // rows asked for
    Result result;
  };

  const Answer* find(const std::string& key) const;
  // Answers used in place of a read (counted by the reader).
  void noteUse() { ++uses_; }
  long uses() const { return uses_; }
  void keep(const std::string& key, Answer answer);
  void forgetTable(uint32_t table);  // its mark moved
  void clear();
  size_t bytes() const { return bytes_; }
  static size_t bytesOf(const Result& r);

 private:
  struct Kept {
    Answer answer;
    size_t bytes = 0;
    std::list<std::string>::iterator age;  // its place in order_
  };
  void forget(std::map<std::string, Kept>::iterator at);

  std::map<std::string, Kept> answers_;
  std::list<std::string> order_;  // the keys, oldest first
  size_t bytes_ = 0;
  long uses_ = 0;
};

}  // namespace server
