// xBase expressions: the key and FOR expressions of index tags.
//
// An expression is compiled once against a table's fields and then evaluated for many
// records. Compilation checks everything that can be checked without data (syntax, field
// names, function names and argument counts, operand types) and gives every node a static
// result type and, for character results, a static width: the width a key of that
// expression has (UPPER(NAME) is as wide as NAME, DTOS(d) is 8, STR(n,5) is 5). An
// expression that does not compile throws xbase::Error naming the expression text.
//
// Text values inside expressions are code-page bytes (see value.h): field values arrive
// blank-padded to their width, literals are taken byte for byte from the source text.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/codepage.h"
#include "xbase/value.h"

namespace xbase {

struct FieldInfo {
  std::string name;  // upper case, as in the table header
  char type = 'C';   // C N F D L M I B Y T G W V Q
  int length = 0;
  int decimals = 0;
};

// What an expression reads while it is evaluated: the current record of one table.
class EvalContext {
 public:
  virtual ~EvalContext() = default;
  // Value of field `index` (position in the field list given to compile).
  virtual Value field(int index) const = 0;
  virtual uint32_t recNo() const = 0;
  virtual bool deleted() const = 0;
};

class Expr {
 public:
  static Expr compile(std::string_view source, std::span<const FieldInfo> fields,
                      const CodePage& codePage = CodePage::windows1252());

  Value evaluate(const EvalContext& context) const;

  ValueType type() const;
  int width() const;  // static width of a character result (0 for other types)
  const std::string& source() const { return source_; }

  struct Node;

 private:
  Expr() = default;
  std::string source_;
  std::shared_ptr<const Node> root_;
  const CodePage* codePage_ = nullptr;
};

}  // namespace xbase
