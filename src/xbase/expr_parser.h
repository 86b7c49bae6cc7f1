// Internals of the expression compiler shared by the parser, the function library and Expr.
//
// A compiled expression is a tree of nodes. Each node carries its static type and width and
// a pointer to the routine that evaluates it, chosen at compile time for the operand types,
// so evaluation does no type dispatch, no name lookups and no error handling on the normal
// path.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/expr.h"

namespace xbase {

namespace expr_detail {

struct EvalState {
  const EvalContext& context;
  const CodePage& codePage;
  std::string_view source;
};

using EvalFn = Value (*)(const Expr::Node&, const EvalState&);

// Largest text any function may build; also the largest static width.
inline constexpr int kMaxText = 65535;
// Nesting the parser accepts (parentheses, calls, unary operators).
inline constexpr int kMaxNesting = 200;
// Depth of the compiled tree, which bounds the evaluator's recursion.
inline constexpr int kMaxTreeDepth = 1000;

}  // namespace expr_detail

struct Expr::Node {
  expr_detail::EvalFn fn = nullptr;
  ValueType type = ValueType::Null;
  int width = 0;  // static width of a Char result
  int depth = 1;
  int param = 0;  // field index, comparison kind or an argument fixed at compile time
  bool constant = false;
  bool pure = true;  // depends neither on the record nor on the clock: may be folded
  Value value;       // the value of a constant node
  std::string name;  // field or function name, for messages
  std::vector<std::unique_ptr<Node>> args;

  Value eval(const expr_detail::EvalState& st) const { return fn(*this, st); }
  Value arg(size_t i, const expr_detail::EvalState& st) const { return args[i]->fn(*args[i], st); }
};

namespace expr_detail {

std::unique_ptr<Expr::Node> parse(std::string_view source, std::span<const FieldInfo> fields, const CodePage& codePage);

// Compile-time failures; `reason` is appended to the standard text naming the expression.
[[noreturn]] void syntaxError(std::string_view source, const std::string& reason);
[[noreturn]] void typeError(std::string_view source, const std::string& reason);
[[noreturn]] void argCountError(std::string_view source, const std::string& reason);
[[noreturn]] void limitError(std::string_view source, const std::string& reason);
// Failures while evaluating.
[[noreturn]] void runtimeError(const EvalState& st, int genCode, const std::string& reason);

const char* typeName(ValueType t);

}  // namespace expr_detail
}  // namespace xbase
