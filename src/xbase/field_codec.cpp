#include "xbase/field_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "xbase/byte_order.h"
#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace xbase {

namespace {

std::string trimmed(const uint8_t* p, int n) {
  int b = 0, e = n;
  while (b < e && (p[b] == ' ' || p[b] == 0)) ++b;
  while (e > b && (p[e - 1] == ' ' || p[e - 1] == 0)) --e;
  return std::string(reinterpret_cast<const char*>(p + b), size_t(e - b));
}

// A number as an error message names it.
std::string shownNumber(double v, int decimals) {
  return std::isfinite(v) ? decimalText(v, decimals) : shortestNumber(v);
}

[[noreturn]] void widthError(const Field& f, const std::string& table, const std::string& value) {
  throw Error(EG_DATAWIDTH, SC_VALUE,
              "el valor " + value + " no cabe en el campo " + f.name + " (" + f.type + " " + std::to_string(f.length) +
                  "," + std::to_string(f.decimals) + ")",
              table);
}

[[noreturn]] void typeError(const Field& f, const std::string& table) {
  throw Error(EG_DATATYPE, SC_VALUE, std::string("tipo de dato incorrecto para el campo ") + f.name, table);
}

}  // namespace

bool FieldCodec::isNull(const Field& f, const uint8_t* record) const {
  if (f.nullBit < 0 || header_->nullFlagsField < 0) return false;
  const Field& nf = header_->fields[size_t(header_->nullFlagsField)];
  return record[nf.offset + f.nullBit / 8] & (1u << (f.nullBit % 8));
}

void FieldCodec::setNull(const Field& f, uint8_t* record, bool null) const {
  if (f.nullBit < 0 || header_->nullFlagsField < 0) return;
  const Field& nf = header_->fields[size_t(header_->nullFlagsField)];
  uint8_t& b = record[nf.offset + f.nullBit / 8];
  if (null)
    b = uint8_t(b | (1u << (f.nullBit % 8)));
  else
    b = uint8_t(b & ~(1u << (f.nullBit % 8)));
}

uint32_t FieldCodec::memoBlock(const Field& f, const uint8_t* record) const {
  const uint8_t* p = record + f.offset;
  if (f.length == 4) return le32(p);
  std::string t = trimmed(p, f.length);
  uint32_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + uint32_t(c - '0');
  }
  return v;
}

void FieldCodec::setMemoBlock(const Field& f, uint8_t* record, uint32_t block) const {
  uint8_t* p = record + f.offset;
  if (f.length == 4) {
    put32(p, block);
    return;
  }
  std::memset(p, ' ', size_t(f.length));
  if (block == 0) return;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%*u", f.length, block);
  std::memcpy(p, buf, size_t(f.length));
}

Value FieldCodec::decode(const Field& f, const uint8_t* record) const {
  if (isNull(f, record)) return Value::null();
  const uint8_t* p = record + f.offset;
  switch (f.type) {
    case 'C':
      return Value::chars(std::string(reinterpret_cast<const char*>(p), size_t(f.length)));
    case 'V':
    case 'Q': {
      size_t n = size_t(f.length);
      if (f.varBit >= 0 && header_->nullFlagsField >= 0) {
        const Field& nf = header_->fields[size_t(header_->nullFlagsField)];
        if (record[nf.offset + f.varBit / 8] & (1u << (f.varBit % 8))) n = std::min<size_t>(p[f.length - 1], n - 1);
      }
      return Value::chars(std::string(reinterpret_cast<const char*>(p), n));
    }
    case 'N':
    case 'F':
      return Value::num(parseNumber(std::string(reinterpret_cast<const char*>(p), size_t(f.length))));
    case 'D':
      return Value::date(julianFromDtos(std::string_view(reinterpret_cast<const char*>(p), 8)));
    case 'L':
      return Value::boolean(p[0] == 'T' || p[0] == 't' || p[0] == 'Y' || p[0] == 'y');
    case 'I':
      return Value::num(int32_t(le32(p)));
    case 'B':
      return Value::num(leDouble(p));
    case 'Y':
      return Value::num(double(int64_t(le64(p))) / 10000.0);
    case 'T': {
      int32_t jd = int32_t(le32(p)), ms = int32_t(le32(p + 4));
      if (jd <= 0) return Value::dateTime(0, 0);
      return Value::dateTime(jd, ms < 0 || ms >= 86400000 ? 0 : ms);
    }
    case 'M':
    case 'G':
    case 'W':
      return Value::num(memoBlock(f, record));
    default:
      return Value::chars(std::string(reinterpret_cast<const char*>(p), size_t(f.length)));
  }
}

void FieldCodec::encode(const Field& f, uint8_t* record, const Value& v, const std::string& table) const {
  uint8_t* p = record + f.offset;
  if (v.isNull()) {
    if (!f.nullable()) throw Error(EG_DATATYPE, SC_VALUE, "el campo " + f.name + " no admite nulos", table);
    setNull(f, record, true);
    return;
  }
  setNull(f, record, false);
  switch (f.type) {
    case 'C': {
      if (v.type != ValueType::Char) typeError(f, table);
      size_t n = std::min(v.text.size(), size_t(f.length));
      std::memcpy(p, v.text.data(), n);
      std::memset(p + n, ' ', size_t(f.length) - n);
      return;
    }
    case 'V':
    case 'Q': {
      if (v.type != ValueType::Char) typeError(f, table);
      size_t n = std::min(v.text.size(), size_t(f.length));
      std::memcpy(p, v.text.data(), n);
      std::memset(p + n, f.type == 'V' ? ' ' : 0, size_t(f.length) - n);
      if (f.varBit >= 0 && header_->nullFlagsField >= 0) {
        const Field& nf = header_->fields[size_t(header_->nullFlagsField)];
        uint8_t& b = record[nf.offset + f.varBit / 8];
        if (n < size_t(f.length)) {
          b = uint8_t(b | (1u << (f.varBit % 8)));
          p[f.length - 1] = uint8_t(n);
        } else {
          b = uint8_t(b & ~(1u << (f.varBit % 8)));
        }
      }
      return;
    }
    case 'N':
    case 'F': {
      if (v.type != ValueType::Number) typeError(f, table);
      std::string s = formatNumber(v.number, f.length, f.decimals);
      if (s.empty()) widthError(f, table, shownNumber(v.number, f.decimals));
      std::memcpy(p, s.data(), size_t(f.length));
      return;
    }
    case 'D': {
      if (v.type != ValueType::Date && v.type != ValueType::DateTime) typeError(f, table);
      std::string s = dtos(v.julian);
      std::memcpy(p, s.data(), 8);
      return;
    }
    case 'L':
      if (v.type != ValueType::Logical) typeError(f, table);
      p[0] = v.logical ? 'T' : 'F';
      return;
    case 'I': {
      if (v.type != ValueType::Number) typeError(f, table);
      double r = std::round(v.number);
      if (r < -2147483648.0 || r > 2147483647.0) widthError(f, table, shownNumber(v.number, 0));
      put32(p, uint32_t(int32_t(r)));
      return;
    }
    case 'B':
      if (v.type != ValueType::Number) typeError(f, table);
      putDouble(p, v.number);
      return;
    case 'Y': {
      if (v.type != ValueType::Number) typeError(f, table);
      double r = std::round(v.number * 10000.0);
      if (std::fabs(r) > 9.2e18) widthError(f, table, shownNumber(v.number, 4));
      put64(p, uint64_t(int64_t(r)));
      return;
    }
    case 'T':
      if (v.type != ValueType::DateTime && v.type != ValueType::Date) typeError(f, table);
      put32(p, uint32_t(v.julian));
      put32(p + 4, uint32_t(v.type == ValueType::DateTime ? v.millis : 0));
      return;
    default:
      throw Error(EG_UNSUPPORTED, SC_VALUE,
                  std::string("no se puede escribir el tipo ") + f.type + " del campo " + f.name, table);
  }
}

std::string FieldCodec::rawText(const Field& f, const uint8_t* record) const {
  if (isNull(f, record)) return ".NULL.";
  const uint8_t* p = record + f.offset;
  switch (f.type) {
    case 'C':
    case 'V': {
      Value v = decode(f, record);
      while (!v.text.empty() && v.text.back() == ' ') v.text.pop_back();
      return v.text;
    }
    case 'N':
    case 'F':
      return trimmed(p, f.length);
    case 'D': {
      std::string s = trimmed(p, 8);
      return s;
    }
    case 'L':
      return (p[0] == 'T' || p[0] == 't' || p[0] == 'Y' || p[0] == 'y')   ? "T"
             : (p[0] == 'F' || p[0] == 'f' || p[0] == 'N' || p[0] == 'n') ? "F"
                                                                          : "";
    case 'I':
      return std::to_string(int32_t(le32(p)));
    case 'B':
      return fixedNumber(leDouble(p), f.decimals);
    case 'Y':
      return scaledText(int64_t(le64(p)), 4);
    case 'T': {
      Value v = decode(f, record);
      if (v.julian <= 0) return "";
      char buf[32];
      std::snprintf(buf, sizeof buf, "%s%02d%02d%02d", dtos(v.julian).c_str(), v.millis / 3600000,
                    v.millis / 60000 % 60, v.millis / 1000 % 60);
      return buf;
    }
    default:
      return std::to_string(memoBlock(f, record));
  }
}

void FieldCodec::blankRecord(uint8_t* record) const {
  std::memset(record, ' ', header_->recordLength);
  for (const auto& f : header_->fields) {
    uint8_t* p = record + f.offset;
    switch (f.type) {
      case 'I':
      case 'B':
      case 'Y':
      case 'T':
      case '0':
      case 'Q':
        std::memset(p, 0, size_t(f.length));
        break;
      case 'M':
      case 'G':
      case 'W':
        if (f.length == 4) std::memset(p, 0, 4);
        break;
      default:
        break;
    }
  }
}

}  // namespace xbase
