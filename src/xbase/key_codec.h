// Index key bytes of values, ordered so that memcmp gives the xBase order.
//
//   Char     the code-page bytes, blank-padded or cut to the key length
//   Double   8 bytes: the IEEE double big-endian, sign bit flipped when >= 0, every bit
//            inverted when negative (numbers; dates as their Julian day; date-times as
//            Julian day + fraction of the day)
//   Int32    4 bytes big-endian with the sign bit flipped (bare integer fields)
//   Logical  1 byte, "F" or "T"
// A nullable key has one leading byte more: 0x80 for a value, all bytes 0 for null.
#pragma once

#include <string>

#include "xbase/cdx_tag.h"
#include "xbase/value.h"

namespace xbase {

// Kind of key a tag of this expression type and key length holds.
KeyKind keyKindFor(ValueType type, int keyLength, bool nullable);
// Key length of a new tag over an expression of this type and static width.
int keyLengthFor(ValueType type, int width, bool integerField);

// Key bytes of `v`, exactly `length` bytes long. Throws EG_DATATYPE when the value's type
// does not suit the kind.
std::string makeKey(const Value& v, KeyKind kind, int length, bool nullable);

}  // namespace xbase
