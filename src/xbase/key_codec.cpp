#include "xbase/key_codec.h"

#include <cmath>
#include <cstring>

#include "xbase/error.h"

namespace xbase {

KeyKind keyKindFor(ValueType type, int keyLength, bool nullable) {
  int len = keyLength - (nullable ? 1 : 0);
  switch (type) {
    case ValueType::Char:
      return KeyKind::Char;
    case ValueType::Number:
      return len == 4 ? KeyKind::Int32 : KeyKind::Double;
    case ValueType::Date:
    case ValueType::DateTime:
      return KeyKind::Double;
    case ValueType::Logical:
      return KeyKind::Logical;
    case ValueType::Null:
      break;
  }
  return KeyKind::Unknown;
}

int keyLengthFor(ValueType type, int width, bool integerField) {
  switch (type) {
    case ValueType::Char:
      return width;
    case ValueType::Number:
      return integerField ? 4 : 8;
    case ValueType::Date:
    case ValueType::DateTime:
      return 8;
    case ValueType::Logical:
      return 1;
    case ValueType::Null:
      break;
  }
  return 0;
}

std::string makeKey(const Value& v, KeyKind kind, int length, bool nullable) {
  std::string out;
  out.reserve(size_t(length));
  int len = length;
  if (nullable) {
    --len;
    if (v.isNull()) return std::string(size_t(length), '\0');
    out.push_back(char(0x80));
  }
  auto typeError = [&] { throw Error(EG_DATATYPE, SC_EXPR, "tipo de clave inesperado"); };
  switch (kind) {
    case KeyKind::Char:
    case KeyKind::Unknown: {
      if (v.type != ValueType::Char && !v.isNull()) typeError();
      size_t n = std::min(v.text.size(), size_t(len));
      out.append(v.text, 0, n);
      out.append(size_t(len) - n, ' ');
      return out;
    }
    case KeyKind::Double: {
      double d = 0;
      if (v.type == ValueType::Number)
        d = v.number;
      else if (v.type == ValueType::Date)
        d = v.julian;
      else if (v.type == ValueType::DateTime)
        d = v.julian + v.millis / 86400000.0;
      else if (!v.isNull())
        typeError();
      if (d == 0) d = 0;  // -0.0 sorts with +0.0
      uint64_t bits;
      std::memcpy(&bits, &d, 8);
      bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
      for (int i = 7; i >= 0; --i) out.push_back(char(uint8_t(bits >> (8 * i))));
      out.resize(size_t(length), '\0');
      return out;
    }
    case KeyKind::Int32: {
      if (v.type != ValueType::Number && !v.isNull()) typeError();
      double r = std::round(v.number);
      int32_t i = r < -2147483648.0 ? INT32_MIN : r > 2147483647.0 ? INT32_MAX : int32_t(r);
      uint32_t u = uint32_t(i) ^ 0x80000000u;
      for (int b = 3; b >= 0; --b) out.push_back(char(uint8_t(u >> (8 * b))));
      out.resize(size_t(length), '\0');
      return out;
    }
    case KeyKind::Logical:
      if (v.type != ValueType::Logical && !v.isNull()) typeError();
      out.push_back(v.logical ? 'T' : 'F');
      out.resize(size_t(length), '\0');
      return out;
  }
  return out;
}

}  // namespace xbase
