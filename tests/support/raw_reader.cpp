#include "support/raw_reader.h"

#include <stdexcept>

#include "support/temp_dir.h"

namespace testing_support {

namespace {

uint32_t u16(const std::string& b, size_t at) {
  return uint8_t(b.at(at)) | uint32_t(uint8_t(b.at(at + 1))) << 8;
}
uint32_t u32(const std::string& b, size_t at) {
  return u16(b, at) | u16(b, at + 2) << 16;
}

std::string clean(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

// Leaf entries of the tree whose root is at `root`, left to right along the sibling chain.
std::vector<std::pair<std::string, uint32_t>> leafEntries(const std::string& b, uint32_t root, int keyLength,
                                                          char pad) {
  uint32_t node = root;
  for (int depth = 0; !(u16(b, node) & 2); ++depth) {
    if (depth > 40) throw std::runtime_error("tree too deep");
    node = uint32_t(uint8_t(b.at(node + 12 + keyLength + 4))) << 24 |
           uint32_t(uint8_t(b.at(node + 12 + keyLength + 5))) << 16 |
           uint32_t(uint8_t(b.at(node + 12 + keyLength + 6))) << 8 | uint8_t(b.at(node + 12 + keyLength + 7));
  }
  std::vector<std::pair<std::string, uint32_t>> out;
  for (int guard = 0; node != 0xFFFFFFFFu && node != 0; ++guard) {
    if (guard > 1000000) throw std::runtime_error("sibling cycle");
    uint32_t count = u16(b, node + 2);
    int recBits = uint8_t(b.at(node + 20)), dupBits = uint8_t(b.at(node + 21)), trailBits = uint8_t(b.at(node + 22));
    int bytes = uint8_t(b.at(node + 23));
    size_t keyEnd = node + 512;
    std::string previous;
    for (uint32_t i = 0; i < count; ++i) {
      uint64_t v = 0;
      for (int k = bytes - 1; k >= 0; --k) v = v << 8 | uint8_t(b.at(node + 24 + i * bytes + k));
      uint32_t rec = uint32_t(v & ((1ull << recBits) - 1));
      int dup = int(v >> recBits & ((1ull << dupBits) - 1));
      int trail = int(v >> (recBits + dupBits) & ((1ull << trailBits) - 1));
      int stored = keyLength - dup - trail;
      keyEnd -= size_t(stored);
      std::string key =
          previous.substr(0, size_t(dup)) + b.substr(keyEnd, size_t(stored)) + std::string(size_t(trail), pad);
      out.emplace_back(key, rec);
      previous = key;
    }
    node = u32(b, node + 8);
  }
  return out;
}

}  // namespace

std::string RawTable::text(uint32_t recno, const std::string& field) const {
  for (const auto& f : fields)
    if (f.name == field) return records.at(recno - 1).substr(size_t(f.offset), size_t(f.length));
  throw std::runtime_error("no field " + field);
}

RawTable readRawTable(const std::string& path) {
  std::string b = readFile(path);
  RawTable t;
  t.version = uint8_t(b.at(0));
  t.count = u32(b, 4);
  t.headerLength = uint16_t(u16(b, 8));
  t.recordLength = uint16_t(u16(b, 10));
  t.languageDriver = uint8_t(b.at(29));
  int offset = 1;
  for (size_t at = 32; b.at(at) != '\r'; at += 32) {
    RawField f;
    f.name = clean(b.substr(at, 11).c_str());
    f.type = b.at(at + 11);
    f.length = uint8_t(b.at(at + 16));
    f.offset = offset;
    offset += f.length;
    t.fields.push_back(f);
  }
  for (uint32_t r = 0; r < t.count; ++r)
    t.records.push_back(b.substr(t.headerLength + size_t(r) * t.recordLength, t.recordLength));
  return t;
}

std::map<std::string, RawTag> readRawIndex(const std::string& path, const std::map<std::string, char>& pads) {
  std::string b = readFile(path);
  std::map<std::string, RawTag> tags;
  for (auto& [name, header] : leafEntries(b, u32(b, 0), int(u16(b, 12)), ' ')) {
    RawTag t;
    t.name = clean(name);
    t.keyLength = uint16_t(u16(b, header + 12));
    t.options = uint8_t(b.at(header + 14));
    t.descending = u16(b, header + 502) != 0;
    t.keyExpr = b.substr(header + 512).c_str();
    t.forExpr = b.substr(header + 512 + u16(b, header + 510)).c_str();
    auto pad = pads.find(t.name);
    t.entries = leafEntries(b, u32(b, header), t.keyLength, pad == pads.end() ? ' ' : pad->second);
    tags[t.name] = t;
  }
  return tags;
}

std::string toHex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

}  // namespace testing_support
