// A field or expression value.
//
// Text crosses the table API as UTF-8. Inside the engine (expression evaluation, index
// keys) text is kept in the table's single-byte code page, so that keys are the stored
// bytes; the table converts at its boundary. Dates are Julian day numbers (0 = empty).
#pragma once

#include <cstdint>
#include <string>

namespace xbase {

enum class ValueType : uint8_t { Null, Char, Number, Date, Logical, DateTime };

struct Value {
  ValueType type = ValueType::Null;
  std::string text;      // Char
  double number = 0;     // Number
  int32_t julian = 0;    // Date, DateTime
  int32_t millis = 0;    // DateTime: milliseconds since midnight
  bool logical = false;  // Logical

  static Value null() { return {}; }
  static Value chars(std::string s) {
    Value v;
    v.type = ValueType::Char;
    v.text = std::move(s);
    return v;
  }
  static Value num(double n) {
    Value v;
    v.type = ValueType::Number;
    v.number = n;
    return v;
  }
  static Value date(int32_t julian) {
    Value v;
    v.type = ValueType::Date;
    v.julian = julian;
    return v;
  }
  static Value boolean(bool b) {
    Value v;
    v.type = ValueType::Logical;
    v.logical = b;
    return v;
  }
  static Value dateTime(int32_t julian, int32_t millis) {
    Value v;
    v.type = ValueType::DateTime;
    v.julian = julian;
    v.millis = millis;
    return v;
  }

  bool isNull() const { return type == ValueType::Null; }
  bool operator==(const Value&) const = default;
};

// The xBase letter of a value's type: C, N, D, L, T, or U for null.
char typeLetter(ValueType t);

}  // namespace xbase
