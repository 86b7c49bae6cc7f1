// An independent reader of DBF and CDX bytes, written apart from the engine so that tests
// can check what the engine wrote against a second decoding of the same files.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct RawField {
  std::string name;
  char type;
  int length;
  int offset;
};

struct RawTable {
  uint8_t version = 0;
  uint32_t count = 0;
  uint16_t headerLength = 0;
  uint16_t recordLength = 0;
  uint8_t languageDriver = 0;
  std::vector<RawField> fields;
  std::vector<std::string> records;  // each with its deletion flag byte first

  std::string text(uint32_t recno, const std::string& field) const;  // raw bytes of a field
};

RawTable readRawTable(const std::string& path);

struct RawTag {
  std::string name;
  uint16_t keyLength = 0;
  uint8_t options = 0;
  bool descending = false;
  std::string keyExpr, forExpr;
  std::vector<std::pair<std::string, uint32_t>> entries;  // leaf level, in stored order
};

// Every tag of a CDX, entries decoded by walking the leaf chain from the leftmost leaf.
// Trailing bytes dropped by the compression are restored as blanks, or as `pads[tag]`.
std::map<std::string, RawTag> readRawIndex(const std::string& path, const std::map<std::string, char>& pads = {});

std::string toHex(const std::string& bytes);

}  // namespace testing_support
