#include "xbase/expr.h"

#include "xbase/expr_parser.h"

namespace xbase {

Expr Expr::compile(std::string_view source, std::span<const FieldInfo> fields, const CodePage& codePage) {
  Expr e;
  e.source_ = std::string(source);
  e.root_ = expr_detail::parse(e.source_, fields, codePage);
  e.codePage_ = &codePage;
  return e;
}

Value Expr::evaluate(const EvalContext& context) const {
  if (!root_) return Value::null();  // a moved-from Expr
  expr_detail::EvalState st{context, *codePage_, source_};
  return root_->fn(*root_, st);
}

ValueType Expr::type() const {
  return root_ ? root_->type : ValueType::Null;
}

int Expr::width() const {
  return root_ && root_->type == ValueType::Char ? root_->width : 0;
}

}  // namespace xbase
