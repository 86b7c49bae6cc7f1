// Reading and writing field values in a record buffer.
//
// Text values here are code-page bytes; the table converts them to and from UTF-8.
// Encoding never writes outside the field: text longer than a character field is cut,
// a number that does not fit its width is refused with EG_DATAWIDTH (storing asterisks
// would lose the value without a word).
#pragma once

#include <cstdint>
#include <string>

#include "xbase/dbf_header.h"
#include "xbase/number_text.h"  // numbers are written and read through it
#include "xbase/value.h"

namespace xbase {

class FieldCodec {
 public:
  explicit FieldCodec(const DbfHeader& header) : header_(&header) {}

  // Value of a non-memo field; memo fields decode to their block number as a Number.
  Value decode(const Field& f, const uint8_t* record) const;
  void encode(const Field& f, uint8_t* record, const Value& v, const std::string& table) const;

  bool isNull(const Field& f, const uint8_t* record) const;
  void setNull(const Field& f, uint8_t* record, bool null) const;

  uint32_t memoBlock(const Field& f, const uint8_t* record) const;
  void setMemoBlock(const Field& f, uint8_t* record, uint32_t block) const;

  // The field's bytes as a dump shows them: text right-trimmed, numbers as written.
  std::string rawText(const Field& f, const uint8_t* record) const;

  // A blank record: deleted flag clear, every field empty (as APPEND BLANK leaves it).
  void blankRecord(uint8_t* record) const;

 private:
  const DbfHeader* header_;
};

}  // namespace xbase
