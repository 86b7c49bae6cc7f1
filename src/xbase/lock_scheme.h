// Where locks live in a table's files.
//
// The scheme is the FoxPro one: locks are placed on "virtual" bytes far beyond any data, so
// they never stop anybody from reading. In the DBF:
//   record r          1 byte at 0x7FFFFFFE - r
//   header / append   record 0, i.e. 1 byte at 0x7FFFFFFE
//   file lock         the header byte and the byte of every possible record:
//                     [0x7FFFFFFE - maxRecords, 0x7FFFFFFE], maxRecords =
//                     (2^31 - headerLength - 2) / (recordLength + 1)
//   open mode         1 byte at 0x7FFFFFFF, read-locked by every shared open and
//                     write-locked by an exclusive one (our replacement for the share modes
//                     Windows gives at open time)
// In the CDX and the FPT the byte 0x7FFFFFFE guards the engine's own short critical
// sections: a shared lock while a process navigates an index, an exclusive one while it
// rewrites nodes or allocates memo blocks.
#pragma once

#include <cstdint>

namespace xbase {

struct LockRange {
  uint64_t offset;
  uint64_t length;
};

class LockScheme {
 public:
  static constexpr uint64_t kBase = 0x7FFFFFFEull;
  static constexpr uint64_t kOpenByte = 0x7FFFFFFFull;

  LockScheme(uint32_t headerLength, uint32_t recordLength)
      : maxRecords_((0x80000000ull - headerLength - 2) / (uint64_t(recordLength) + 1)) {}

  LockRange record(uint32_t recno) const { return {kBase - recno, 1}; }
  LockRange header() const { return {kBase, 1}; }
  LockRange file() const { return {kBase - maxRecords_, maxRecords_ + 1}; }
  static LockRange openMode() { return {kOpenByte, 1}; }
  static LockRange mutex() { return {kBase, 1}; }
  uint64_t maxRecords() const { return maxRecords_; }

 private:
  uint64_t maxRecords_;
};

}  // namespace xbase
