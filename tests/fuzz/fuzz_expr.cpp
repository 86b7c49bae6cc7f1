// Compiles arbitrary bytes as an index expression and evaluates whatever compiles.
// Compile and run-time failures must surface as xbase::Error; anything else is a bug.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/expr.h"

namespace {

const std::vector<xbase::FieldInfo>& fields() {
  static const std::vector<xbase::FieldInfo> kFields = {
      {"CODIGO", 'C', 4, 0}, {"NOMBRE", 'C', 20, 0}, {"CANT", 'N', 8, 2}, {"FECHA", 'D', 8, 0},
      {"ACTIVO", 'L', 1, 0}, {"NUM", 'I', 4, 0},     {"NOTAS", 'M', 10, 0}, {"ALTA", 'T', 8, 0},
      {"NULO", 'C', 5, 0},   {"VACIA", 'D', 8, 0},   {"PRECIO", 'Y', 8, 4},
  };
  return kFields;
}

class Record final : public xbase::EvalContext {
 public:
  xbase::Value field(int index) const override {
    using xbase::Value;
    switch (index) {
      case 0: return Value::chars("A1  ");
      case 1: return Value::chars("Jos\xE9 P\xE9rez        ");
      case 2: return Value::num(-12.5);
      case 3: return Value::date(xbase::julianFromYmd(2024, 2, 29));
      case 4: return Value::boolean(true);
      case 5: return Value::num(2147483647.0);
      case 6: return Value::chars("texto de memo\r\nsegunda linea");
      case 7: return Value::dateTime(xbase::julianFromYmd(1999, 12, 31), 86399999);
      case 9: return Value::date(0);
      case 10: return Value::num(0.0001);
      default: return Value::null();
    }
  }
  uint32_t recNo() const override { return 4294967295u; }
  bool deleted() const override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view source(reinterpret_cast<const char*>(data), size);
  try {
    xbase::Expr e = xbase::Expr::compile(source, fields());
    int w = e.width();
    if (w < 0 || w > 65535) __builtin_trap();
    if (e.type() != xbase::ValueType::Char && w != 0) __builtin_trap();
    Record rec;
    xbase::Value v = e.evaluate(rec);
    if (!v.isNull() && v.type != e.type()) __builtin_trap();  // static typing must hold
  } catch (const xbase::Error&) {
  }
  return 0;
}
