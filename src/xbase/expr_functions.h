// The function library of xBase expressions and the value helpers the operators share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xbase/expr_parser.h"

namespace xbase::expr_detail {

struct CompileInfo {
  std::string_view source;
  const CodePage& codePage;
};

struct FuncDef {
  const char* name;
  int minArgs;
  int maxArgs;
  bool pure;
  // Checks the argument types of `call` (its args are compiled) and sets its type, width, fn.
  void (*check)(Expr::Node& call, const CompileInfo& info);
};

// Looks up a function by its upper-case name or by an unambiguous prefix of 4 or more
// letters. Returns nullptr when unknown; `ambiguous` tells a prefix of several names apart.
const FuncDef* findFunction(std::string_view upperName, bool& ambiguous);

// Value helpers.
int64_t toInt(double d);                                   // truncates; NaN gives 0, out-of-range values are clamped
int compareChars(std::string_view a, std::string_view b);  // blank-padded byte order
bool charsEqual(std::string_view a, std::string_view b);   // '=': over the right operand's length
bool charsExact(std::string_view a, std::string_view b);   // '==': ignoring trailing blanks
int32_t dateAdd(int32_t julian, double days);
Value dateTimeAdd(const Value& t, double seconds);
double dateTimeDiff(const Value& a, const Value& b);  // seconds
std::string strNumber(double x, int64_t len, int64_t dec);

}  // namespace xbase::expr_detail
