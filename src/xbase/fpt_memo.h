// The memo file of a table: FoxPro FPT (and dBase III DBT, for reading old tables).
//
// A memo is addressed by its first block. Rewriting a memo reuses its blocks when the new
// text fits in them and appends new blocks otherwise; the old blocks are then left unused
// until the table is packed. Allocation is serialised between processes through the lock
// byte of LockScheme::mutex(). Data is written before the header's next-free pointer moves,
// and the record's pointer is written by the table only after both, so a process killed in
// between leaves at worst unreachable blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "xbase/file.h"

namespace xbase {

class FptMemo {
 public:
  enum class Kind { Fpt, Dbt };

  static std::unique_ptr<FptMemo> open(const std::string& path, bool writable, Kind kind);
  static void create(const std::string& path, uint32_t blockSize = 64);

  // The memo's bytes; block 0 is the empty memo. A pointer or length that runs past the end
  // of the file is refused as damage.
  std::string read(uint32_t block) const;
  // Stores `data` and returns the block to keep in the record (0 for empty data).
  uint32_t write(uint32_t oldBlock, std::string_view data, uint32_t type = 1);

  uint32_t blockSize() const { return blockSize_; }
  const std::string& path() const { return file_.path(); }

 private:
  FptMemo() = default;
  uint32_t readNextFree() const;
  File file_;
  Kind kind_ = Kind::Fpt;
  uint32_t blockSize_ = 64;
};

}  // namespace xbase
