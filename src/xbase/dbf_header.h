// The header of a DBF table: version, dates, counts, lengths and field descriptors.
//
// parse() validates everything a reader relies on (lengths against each other and against
// the file size, descriptors inside the header, fields inside the record) and refuses a
// malformed header with an xbase::Error naming the file and the fault.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace xbase {

struct Field {
  std::string name;  // upper case
  char type = 'C';
  int length = 0;
  int decimals = 0;
  int offset = 0;     // in the record, the deleted flag being byte 0
  uint8_t flags = 0;  // VFP: 0x01 system, 0x02 nullable, 0x04 binary, 0x0C autoincrement
  int nullBit = -1;   // bit in _NullFlags telling the value is null
  int varBit = -1;    // bit in _NullFlags telling a V/Q value is shorter than the field
  uint32_t autoNext = 0;
  uint8_t autoStep = 0;

  bool isSystem() const { return flags & 0x01; }
  bool nullable() const { return flags & 0x02; }
  bool binary() const { return flags & 0x04; }
  bool autoIncrement() const { return (flags & 0x0C) == 0x0C; }
  bool isMemo() const { return type == 'M' || type == 'G' || type == 'W'; }
};

// A field as a caller declares it when creating a table.
struct FieldSpec {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
  bool nullable = false;
  bool binary = false;
};

struct DbfHeader {
  uint8_t version = 0x03;
  int updateYear = 0, updateMonth = 0, updateDay = 0;
  uint32_t recordCount = 0;
  uint16_t headerLength = 0;
  uint16_t recordLength = 0;
  uint8_t tableFlags = 0;  // 0x01 structural CDX, 0x02 memo, 0x04 database container
  uint8_t languageDriver = 0;
  std::vector<Field> fields;  // as stored, hidden _NullFlags included
  int nullFlagsField = -1;    // index in `fields`, -1 when absent

  bool isVisualFoxPro() const { return version == 0x30 || version == 0x31 || version == 0x32; }
  bool hasMemoFile() const;
  bool memoIsDbt() const { return version == 0x83 || version == 0x8B; }
  bool binaryMemoPointers() const { return isVisualFoxPro(); }
  size_t descriptorAreaEnd() const;  // byte after the 0x0D terminator

  static DbfHeader parse(std::span<const uint8_t> bytes, uint64_t fileSize, const std::string& path);
  // The bytes of the header area (headerLength bytes), descriptors included.
  std::vector<uint8_t> build() const;

  // Lays out new fields (offsets, null bits, _NullFlags) and chooses the version byte:
  // FoxPro 2 (0x03, 0xF5 with memo) unless a Visual FoxPro type, a null or a binary (untranslated)
  // field is needed (0x30).
  static DbfHeader forNewTable(const std::vector<FieldSpec>& specs, uint8_t languageDriver, const std::string& path);
};

// Upper bound of the header length we read: the descriptor area of 255 fields plus the
// VFP backlink, rounded up generously.
inline constexpr size_t kMaxHeaderLength = 65535;

}  // namespace xbase
