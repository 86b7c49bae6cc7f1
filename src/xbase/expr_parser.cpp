#include "xbase/expr_parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "xbase/error.h"
#include "xbase/expr_functions.h"

namespace xbase::expr_detail {

using Node = Expr::Node;
using NodePtr = std::unique_ptr<Node>;

// ---- errors ----

[[noreturn]] void syntaxError(std::string_view source, const std::string& reason) {
  throw Error(EG_SYNTAX, SC_EXPR, "expresión no válida: " + std::string(source) + " — " + reason);
}

[[noreturn]] void typeError(std::string_view source, const std::string& reason) {
  throw Error(EG_DATATYPE, SC_EXPR, "tipo de dato incorrecto en la expresión: " + std::string(source) + " — " + reason);
}

[[noreturn]] void argCountError(std::string_view source, const std::string& reason) {
  throw Error(EG_ARG, SC_EXPR,
              "número de argumentos incorrecto en la expresión: " + std::string(source) + " — " + reason);
}

[[noreturn]] void limitError(std::string_view source, const std::string& reason) {
  throw Error(EG_LIMIT, SC_EXPR, "expresión demasiado compleja: " + std::string(source) + " — " + reason);
}

[[noreturn]] void runtimeError(const EvalState& st, int genCode, const std::string& reason) {
  throw Error(genCode, SC_EXPR, "error al evaluar la expresión: " + std::string(st.source) + " — " + reason);
}

const char* typeName(ValueType t) {
  switch (t) {
    case ValueType::Char:
      return "carácter";
    case ValueType::Number:
      return "numérico";
    case ValueType::Date:
      return "fecha";
    case ValueType::Logical:
      return "lógico";
    case ValueType::DateTime:
      return "fecha-hora";
    case ValueType::Null:
      break;
  }
  return "nulo";
}

namespace {

// ---- lexer ----

enum class Tok : uint8_t {
  End,
  Ident,
  Number,
  String,
  Logical,
  And,
  Or,
  Not,
  Plus,
  Minus,
  Star,
  Slash,
  Percent,
  Power,
  Eq,
  ExactEq,
  Ne,
  Lt,
  Le,
  Gt,
  Ge,
  Dollar,
  LParen,
  RParen,
  Comma,
  Arrow,
  Dot,
};

struct Token {
  Tok kind = Tok::End;
  size_t pos = 0;
  std::string_view text;  // identifier name or string contents
  double number = 0;
  bool logical = false;
};

bool isIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isIdentChar(char c) {
  return isIdentStart(c) || isDigit(c);
}
char upperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}

// Matches ".WORD." at s[i] (case-insensitive); returns its length or 0.
size_t dotWord(std::string_view s, size_t i, std::string_view word) {
  size_t n = word.size();
  if (i + n + 2 > s.size() || s[i] != '.' || s[i + n + 1] != '.') return 0;
  for (size_t k = 0; k < n; ++k)
    if (upperAscii(s[i + 1 + k]) != word[k]) return 0;
  return n + 2;
}

std::vector<Token> lex(std::string_view src) {
  std::vector<Token> out;
  size_t i = 0;
  auto add = [&](Tok k, size_t pos, size_t len) {
    Token t;
    t.kind = k;
    t.pos = pos;
    out.push_back(t);
    i = pos + len;
  };
  while (i < src.size()) {
    char c = src[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    size_t start = i;
    if (isIdentStart(c)) {
      while (i < src.size() && isIdentChar(src[i])) ++i;
      Token t;
      t.kind = Tok::Ident;
      t.pos = start;
      t.text = src.substr(start, i - start);
      out.push_back(t);
      continue;
    }
    if (isDigit(c) || (c == '.' && i + 1 < src.size() && isDigit(src[i + 1]))) {
      while (i < src.size() && isDigit(src[i])) ++i;
      // "1." is a number but "1.AND." is 1 followed by .AND.
      if (i < src.size() && src[i] == '.' && (i + 1 >= src.size() || !isIdentStart(src[i + 1]))) {
        ++i;
        while (i < src.size() && isDigit(src[i])) ++i;
      }
      std::string_view digits = src.substr(start, i - start);
      std::string buf = digits[0] == '.' ? "0" + std::string(digits) : std::string(digits);
      if (buf.back() == '.') buf.pop_back();
      double v = 0;
      auto res = std::from_chars(buf.data(), buf.data() + buf.size(), v);
      if (res.ec == std::errc::result_out_of_range) v = std::numeric_limits<double>::infinity();
      Token t;
      t.kind = Tok::Number;
      t.pos = start;
      t.number = v;
      out.push_back(t);
      continue;
    }
    if (c == '\'' || c == '"' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t end = src.find(close, i + 1);
      if (end == std::string_view::npos)
        syntaxError(src, "cadena sin terminar en la posición " + std::to_string(start + 1));
      Token t;
      t.kind = Tok::String;
      t.pos = start;
      t.text = src.substr(i + 1, end - i - 1);
      out.push_back(t);
      i = end + 1;
      continue;
    }
    if (c == '.') {
      if (size_t n = dotWord(src, i, "AND")) {
        add(Tok::And, start, n);
        continue;
      }
      if (size_t n = dotWord(src, i, "OR")) {
        add(Tok::Or, start, n);
        continue;
      }
      if (size_t n = dotWord(src, i, "NOT")) {
        add(Tok::Not, start, n);
        continue;
      }
      bool isTrue = dotWord(src, i, "T") || dotWord(src, i, "Y");
      if (isTrue || dotWord(src, i, "F") || dotWord(src, i, "N")) {
        Token t;
        t.kind = Tok::Logical;
        t.pos = start;
        t.logical = isTrue;
        out.push_back(t);
        i += 3;
        continue;
      }
      add(Tok::Dot, start, 1);
      continue;
    }
    char n1 = i + 1 < src.size() ? src[i + 1] : '\0';
    switch (c) {
      case '+':
        add(Tok::Plus, start, 1);
        break;
      case '-':
        if (n1 == '>')
          add(Tok::Arrow, start, 2);
        else
          add(Tok::Minus, start, 1);
        break;
      case '*':
        if (n1 == '*')
          add(Tok::Power, start, 2);
        else
          add(Tok::Star, start, 1);
        break;
      case '^':
        add(Tok::Power, start, 1);
        break;
      case '/':
        add(Tok::Slash, start, 1);
        break;
      case '%':
        add(Tok::Percent, start, 1);
        break;
      case '$':
        add(Tok::Dollar, start, 1);
        break;
      case '#':
        add(Tok::Ne, start, 1);
        break;
      case '(':
        add(Tok::LParen, start, 1);
        break;
      case ')':
        add(Tok::RParen, start, 1);
        break;
      case ',':
        add(Tok::Comma, start, 1);
        break;
      case '=':
        if (n1 == '=')
          add(Tok::ExactEq, start, 2);
        else if (n1 == '>')
          add(Tok::Ge, start, 2);
        else if (n1 == '<')
          add(Tok::Le, start, 2);
        else
          add(Tok::Eq, start, 1);
        break;
      case '<':
        if (n1 == '=')
          add(Tok::Le, start, 2);
        else if (n1 == '>')
          add(Tok::Ne, start, 2);
        else
          add(Tok::Lt, start, 1);
        break;
      case '>':
        if (n1 == '=')
          add(Tok::Ge, start, 2);
        else
          add(Tok::Gt, start, 1);
        break;
      case '!':
        if (n1 == '=')
          add(Tok::Ne, start, 2);
        else
          add(Tok::Not, start, 1);
        break;
      default: {
        unsigned char uc = static_cast<unsigned char>(c);
        std::string shown =
            (uc >= 0x20 && uc < 0x7F) ? "'" + std::string(1, c) + "'" : "de código " + std::to_string(uc);
        syntaxError(src, "carácter inesperado " + shown + " en la posición " + std::to_string(start + 1));
      }
    }
  }
  Token end;
  end.kind = Tok::End;
  end.pos = src.size();
  out.push_back(end);
  return out;
}

// ---- evaluation of leaves and operators ----

Value evConst(const Node& n, const EvalState&) {
  return n.value;
}

Value evField(const Node& n, const EvalState& st) {
  Value v = st.context.field(n.param);
  if (v.type != n.type && v.type != ValueType::Null) [[unlikely]]
    runtimeError(st, EG_DATATYPE,
                 "el campo " + n.name + " devolvió un valor " + typeName(v.type) + " en lugar de " + typeName(n.type));
  return v;
}

Value evConcat(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  // Reserving the static width once saves regrowing through a chain of '+'.
  size_t size = a.text.size() + b.text.size();
  if (a.text.capacity() < size) a.text.reserve(std::max(size, size_t(n.width)));
  a.text += b.text;
  return a;
}

// "ab  " - "cd" = "abcd  ": the left operand's trailing blanks go to the end.
Value evConcatTrim(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  size_t last = a.text.find_last_not_of(' ');
  size_t keep = last == std::string::npos ? 0 : last + 1;
  size_t blanks = a.text.size() - keep;
  a.text.resize(keep);
  a.text += b.text;
  a.text.append(blanks, ' ');
  return a;
}

template <double (*Op)(double, double)>
Value evArith(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  a.number = Op(a.number, b.number);
  return a;
}

double opAdd(double a, double b) {
  return a + b;
}
double opSub(double a, double b) {
  return a - b;
}
double opMul(double a, double b) {
  return a * b;
}
double opDiv(double a, double b) {
  return b == 0 ? 0 : a / b;
}  // the program's convention
double opMod(double a, double b) {
  if (b == 0) return 0;
  double r = std::fmod(a, b);
  if (r != 0 && ((r < 0) != (b < 0))) r += b;  // xBase: the result takes the divisor's sign
  return r;
}
double opPow(double a, double b) {
  return std::pow(a, b);
}

Value evNeg(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (!a.isNull()) a.number = -a.number;
  return a;
}

Value evDateAddNum(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  const Value& d = a.type == ValueType::Date ? a : b;
  const Value& k = a.type == ValueType::Date ? b : a;
  return Value::date(dateAdd(d.julian, k.number));
}

Value evDateSubNum(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  return Value::date(dateAdd(a.julian, -b.number));
}

// An empty date on either side gives 0 rather than a meaningless day count.
Value evDateSubDate(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  if (a.julian == 0 || b.julian == 0) return Value::num(0);
  return Value::num(double(a.julian) - double(b.julian));
}

Value evTimeAddNum(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  if (a.type == ValueType::DateTime) return dateTimeAdd(a, b.number);
  return dateTimeAdd(b, a.number);
}

Value evTimeSubNum(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  return dateTimeAdd(a, -b.number);
}

Value evTimeSubTime(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  return Value::num(dateTimeDiff(a, b));
}

enum Cmp : int { kEq, kExact, kNe, kLt, kLe, kGt, kGe };

bool fromOrder(int cmp, int c) {
  switch (cmp) {
    case kEq:
    case kExact:
      return c == 0;
    case kNe:
      return c != 0;
    case kLt:
      return c < 0;
    case kLe:
      return c <= 0;
    case kGt:
      return c > 0;
    default:
      return c >= 0;
  }
}

Value evCmpChar(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  switch (n.param) {
    case kEq:
      return Value::boolean(charsEqual(a.text, b.text));
    case kNe:
      return Value::boolean(!charsEqual(a.text, b.text));
    case kExact:
      return Value::boolean(charsExact(a.text, b.text));
    default:
      return Value::boolean(fromOrder(n.param, compareChars(a.text, b.text)));
  }
}

Value evCmpNum(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  double x = a.number, y = b.number;
  bool r = false;
  switch (n.param) {
    case kEq:
    case kExact:
      r = x == y;
      break;
    case kNe:
      r = x != y;
      break;
    case kLt:
      r = x < y;
      break;
    case kLe:
      r = x <= y;
      break;
    case kGt:
      r = x > y;
      break;
    default:
      r = x >= y;
      break;
  }
  return Value::boolean(r);
}

// Dates, logicals and date-times compare as (julian, millis) / 0-1 integers.
Value evCmpOrdinal(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  int c = 0;
  if (a.type == ValueType::Logical) {
    c = int(a.logical) - int(b.logical);
  } else {
    c = a.julian < b.julian ? -1 : a.julian > b.julian ? 1 : 0;
    if (c == 0) c = a.millis < b.millis ? -1 : a.millis > b.millis ? 1 : 0;
  }
  return Value::boolean(fromOrder(n.param, c));
}

// "" is contained nowhere, as AT("", x) is 0.
Value evContains(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (a.isNull()) return a;
  Value b = n.arg(1, st);
  if (b.isNull()) return b;
  return Value::boolean(!a.text.empty() && b.text.find(a.text) != std::string::npos);
}

// .AND. and .OR. short-circuit and use three-valued logic for nulls.
Value evAnd(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (!a.isNull() && !a.logical) return a;
  Value b = n.arg(1, st);
  if (!b.isNull() && !b.logical) return b;
  return a.isNull() ? a : b;
}

Value evOr(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (!a.isNull() && a.logical) return a;
  Value b = n.arg(1, st);
  if (!b.isNull() && b.logical) return b;
  return a.isNull() ? a : b;
}

Value evNot(const Node& n, const EvalState& st) {
  Value a = n.arg(0, st);
  if (!a.isNull()) a.logical = !a.logical;
  return a;
}

class NoRecord final : public EvalContext {
 public:
  Value field(int) const override { return {}; }
  uint32_t recNo() const override { return 0; }
  bool deleted() const override { return false; }
};

// ---- parser ----

class Parser {
 public:
  Parser(std::string_view source, std::span<const FieldInfo> fields, const CodePage& codePage)
      : src_(source), fields_(fields), info_{source, codePage}, toks_(lex(source)) {}

  NodePtr parseAll() {
    if (peek().kind == Tok::End) syntaxError(src_, "expresión vacía");
    NodePtr n = parseOr();
    if (peek().kind != Tok::End) fail("sobra texto");
    return n;
  }

 private:
  const Token& peek() const { return toks_[pos_]; }
  const Token& take() { return toks_[pos_++]; }
  bool accept(Tok k) {
    if (peek().kind != k) return false;
    ++pos_;
    return true;
  }

  [[noreturn]] void fail(const std::string& what) const {
    const Token& t = peek();
    if (t.kind == Tok::End) syntaxError(src_, what + ": la expresión termina antes de tiempo");
    syntaxError(src_, what + " en la posición " + std::to_string(t.pos + 1));
  }

  struct Nest {
    explicit Nest(Parser& p) : parser(p) {
      if (++parser.nesting_ > kMaxNesting)
        limitError(parser.src_, "más de " + std::to_string(kMaxNesting) + " niveles de anidamiento");
    }
    ~Nest() { --parser.nesting_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;
    Parser& parser;
  };

  NodePtr parseOr() {
    Nest nest(*this);
    NodePtr left = parseAnd();
    while (accept(Tok::Or)) left = logical(std::move(left), parseAnd(), evOr, ".OR.");
    return left;
  }

  NodePtr parseAnd() {
    NodePtr left = parseNot();
    while (accept(Tok::And)) left = logical(std::move(left), parseNot(), evAnd, ".AND.");
    return left;
  }

  NodePtr parseNot() {
    if (accept(Tok::Not)) {
      Nest nest(*this);
      NodePtr operand = parseNot();
      if (operand->type != ValueType::Logical)
        typeError(src_, std::string(".NOT. requiere un valor lógico, no ") + typeName(operand->type));
      auto n = std::make_unique<Node>();
      n->type = ValueType::Logical;
      n->fn = evNot;
      n->args.push_back(std::move(operand));
      return finish(std::move(n));
    }
    return parseComparison();
  }

  NodePtr parseComparison() {
    NodePtr left = parseAdditive();
    for (;;) {
      Tok k = peek().kind;
      int cmp = -1;
      switch (k) {
        case Tok::Eq:
          cmp = kEq;
          break;
        case Tok::ExactEq:
          cmp = kExact;
          break;
        case Tok::Ne:
          cmp = kNe;
          break;
        case Tok::Lt:
          cmp = kLt;
          break;
        case Tok::Le:
          cmp = kLe;
          break;
        case Tok::Gt:
          cmp = kGt;
          break;
        case Tok::Ge:
          cmp = kGe;
          break;
        case Tok::Dollar:
          break;
        default:
          return left;
      }
      ++pos_;
      NodePtr right = parseAdditive();
      left = comparison(std::move(left), std::move(right), cmp);
    }
  }

  NodePtr parseAdditive() {
    NodePtr left = parseMultiplicative();
    for (;;) {
      if (accept(Tok::Plus))
        left = additive(std::move(left), parseMultiplicative(), true);
      else if (accept(Tok::Minus))
        left = additive(std::move(left), parseMultiplicative(), false);
      else
        return left;
    }
  }

  NodePtr parseMultiplicative() {
    NodePtr left = parsePower();
    for (;;) {
      if (accept(Tok::Star))
        left = numeric(std::move(left), parsePower(), evArith<opMul>, "*");
      else if (accept(Tok::Slash))
        left = numeric(std::move(left), parsePower(), evArith<opDiv>, "/");
      else if (accept(Tok::Percent))
        left = numeric(std::move(left), parsePower(), evArith<opMod>, "%");
      else
        return left;
    }
  }

  NodePtr parsePower() {
    NodePtr left = parseUnary();
    while (accept(Tok::Power)) left = numeric(std::move(left), parseUnary(), evArith<opPow>, "**");
    return left;
  }

  NodePtr parseUnary() {
    bool minus = peek().kind == Tok::Minus;
    if (minus || peek().kind == Tok::Plus) {
      ++pos_;
      Nest nest(*this);
      NodePtr operand = parseUnary();
      if (operand->type != ValueType::Number)
        typeError(src_, std::string("el signo requiere un valor numérico, no ") + typeName(operand->type));
      if (!minus) return operand;
      auto n = std::make_unique<Node>();
      n->type = ValueType::Number;
      n->fn = evNeg;
      n->args.push_back(std::move(operand));
      return finish(std::move(n));
    }
    return parsePrimary();
  }

  NodePtr parsePrimary() {
    const Token& t = peek();
    switch (t.kind) {
      case Tok::Number: {
        ++pos_;
        Value v = Value::num(t.number);
        return constantNode(std::move(v), 0);
      }
      case Tok::String: {
        ++pos_;
        if (t.text.size() > size_t(kMaxText)) limitError(src_, "cadena demasiado larga");
        return constantNode(Value::chars(std::string(t.text)), int(t.text.size()));
      }
      case Tok::Logical:
        ++pos_;
        return constantNode(Value::boolean(t.logical), 0);
      case Tok::LParen: {
        ++pos_;
        NodePtr inner = parseOr();
        if (!accept(Tok::RParen)) fail("se esperaba ')'");
        return inner;
      }
      case Tok::Ident: {
        ++pos_;
        if (peek().kind == Tok::LParen) return parseCall(t);
        if (peek().kind == Tok::Arrow || (peek().kind == Tok::Dot && toks_[pos_ + 1].kind == Tok::Ident)) {
          ++pos_;  // the alias is accepted and ignored: there is one table
          if (peek().kind != Tok::Ident) fail("se esperaba un nombre de campo");
          return fieldNode(take());
        }
        return fieldNode(t);
      }
      case Tok::End:
        fail("falta un operando");
      default:
        fail("se esperaba un operando");
    }
  }

  NodePtr parseCall(const Token& nameTok) {
    ++pos_;  // '('
    Nest nest(*this);
    std::vector<NodePtr> args;
    if (!accept(Tok::RParen)) {
      for (;;) {
        args.push_back(parseOr());
        if (accept(Tok::RParen)) break;
        if (!accept(Tok::Comma)) fail("se esperaba ',' o ')'");
      }
    }
    std::string upper(nameTok.text);
    for (auto& c : upper) c = upperAscii(c);
    bool ambiguous = false;
    const FuncDef* def = findFunction(upper, ambiguous);
    if (!def)
      throw Error(EG_NOFUNC, SC_EXPR,
                  std::string(ambiguous ? "función ambigua " : "función desconocida ") + upper +
                      " en la expresión: " + std::string(src_));
    int count = int(args.size());
    if (count < def->minArgs || count > def->maxArgs) {
      std::string expected = def->minArgs == def->maxArgs
                                 ? std::to_string(def->minArgs)
                                 : "de " + std::to_string(def->minArgs) + " a " + std::to_string(def->maxArgs);
      argCountError(src_,
                    std::string(def->name) + " admite " + expected + " argumentos y recibe " + std::to_string(count));
    }
    auto n = std::make_unique<Node>();
    n->name = def->name;
    n->pure = def->pure;
    n->args = std::move(args);
    def->check(*n, info_);
    return finish(std::move(n));
  }

  NodePtr fieldNode(const Token& t) {
    std::string upper(t.text);
    for (auto& c : upper) c = upperAscii(c);
    for (size_t i = 0; i < fields_.size(); ++i) {
      const FieldInfo& f = fields_[i];
      if (f.name.size() != upper.size()) continue;
      bool same = true;
      for (size_t k = 0; k < upper.size() && same; ++k) same = upperAscii(f.name[k]) == upper[k];
      if (!same) continue;
      auto n = std::make_unique<Node>();
      n->fn = evField;
      n->param = int(i);
      n->name = upper;
      n->pure = false;
      switch (upperAscii(f.type)) {
        case 'C':
        case 'V':
        case 'Q':
          n->type = ValueType::Char;
          n->width = f.length < 0 ? 0 : f.length > kMaxText ? kMaxText : f.length;
          break;
        case 'M':
        case 'G':
        case 'W':
          n->type = ValueType::Char;
          n->width = 10;
          break;
        case 'N':
        case 'F':
        case 'I':
        case 'B':
        case 'Y':
          n->type = ValueType::Number;
          break;
        case 'D':
          n->type = ValueType::Date;
          break;
        case 'L':
          n->type = ValueType::Logical;
          break;
        case 'T':
          n->type = ValueType::DateTime;
          break;
        default:
          typeError(src_, "el campo " + upper + " es de tipo '" + std::string(1, f.type) +
                              "', que una expresión no puede usar");
      }
      return n;
    }
    throw Error(EG_NOVAR, SC_EXPR, "campo desconocido " + upper + " en la expresión: " + std::string(src_));
  }

  static NodePtr constantNode(Value v, int width) {
    auto n = std::make_unique<Node>();
    n->type = v.type;
    n->width = width;
    n->constant = true;
    n->fn = evConst;
    n->value = std::move(v);
    return n;
  }

  NodePtr binary(NodePtr a, NodePtr b, ValueType type, EvalFn fn) {
    auto n = std::make_unique<Node>();
    n->type = type;
    n->fn = fn;
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return n;
  }

  [[noreturn]] void operandTypes(const char* op, const Node& a, const Node& b) const {
    typeError(src_, std::string("no se puede aplicar ") + op + " a " + typeName(a.type) + " y " + typeName(b.type));
  }

  NodePtr logical(NodePtr a, NodePtr b, EvalFn fn, const char* op) {
    if (a->type != ValueType::Logical || b->type != ValueType::Logical) operandTypes(op, *a, *b);
    return finish(binary(std::move(a), std::move(b), ValueType::Logical, fn));
  }

  NodePtr numeric(NodePtr a, NodePtr b, EvalFn fn, const char* op) {
    if (a->type != ValueType::Number || b->type != ValueType::Number) operandTypes(op, *a, *b);
    return finish(binary(std::move(a), std::move(b), ValueType::Number, fn));
  }

  NodePtr additive(NodePtr a, NodePtr b, bool plus) {
    ValueType ta = a->type, tb = b->type;
    const char* op = plus ? "+" : "-";
    using VT = ValueType;
    if (ta == VT::Char && tb == VT::Char) {
      int w = a->width + b->width;
      auto n = binary(std::move(a), std::move(b), VT::Char, plus ? evConcat : evConcatTrim);
      n->width = w;
      return finish(std::move(n));
    }
    if (ta == VT::Number && tb == VT::Number)
      return finish(binary(std::move(a), std::move(b), VT::Number, plus ? evArith<opAdd> : evArith<opSub>));
    if (plus) {
      if ((ta == VT::Date && tb == VT::Number) || (ta == VT::Number && tb == VT::Date))
        return finish(binary(std::move(a), std::move(b), VT::Date, evDateAddNum));
      if ((ta == VT::DateTime && tb == VT::Number) || (ta == VT::Number && tb == VT::DateTime))
        return finish(binary(std::move(a), std::move(b), VT::DateTime, evTimeAddNum));
    } else {
      if (ta == VT::Date && tb == VT::Number) return finish(binary(std::move(a), std::move(b), VT::Date, evDateSubNum));
      if (ta == VT::Date && tb == VT::Date)
        return finish(binary(std::move(a), std::move(b), VT::Number, evDateSubDate));
      if (ta == VT::DateTime && tb == VT::Number)
        return finish(binary(std::move(a), std::move(b), VT::DateTime, evTimeSubNum));
      if (ta == VT::DateTime && tb == VT::DateTime)
        return finish(binary(std::move(a), std::move(b), VT::Number, evTimeSubTime));
    }
    operandTypes(op, *a, *b);
  }

  NodePtr comparison(NodePtr a, NodePtr b, int cmp) {
    static const char* const kNames[] = {"=", "==", "<>", "<", "<=", ">", ">="};
    const char* op = cmp < 0 ? "$" : kNames[cmp];
    if (a->type != b->type) operandTypes(op, *a, *b);
    EvalFn fn = nullptr;
    if (cmp < 0) {
      if (a->type != ValueType::Char) operandTypes(op, *a, *b);
      fn = evContains;
    } else {
      switch (a->type) {
        case ValueType::Char:
          fn = evCmpChar;
          break;
        case ValueType::Number:
          fn = evCmpNum;
          break;
        default:
          fn = evCmpOrdinal;
          break;
      }
    }
    auto n = binary(std::move(a), std::move(b), ValueType::Logical, fn);
    n->param = cmp;
    return finish(std::move(n));
  }

  // Depth and width limits, then constant folding.
  NodePtr finish(NodePtr n) {
    int depth = 0;
    bool allConstant = true;
    for (const auto& a : n->args) {
      depth = std::max(depth, a->depth);
      allConstant = allConstant && a->constant;
      n->pure = n->pure && a->pure;
    }
    n->depth = depth + 1;
    if (n->depth > kMaxTreeDepth)
      limitError(src_, "más de " + std::to_string(kMaxTreeDepth) + " niveles de operaciones");
    if (n->type == ValueType::Char && n->width > kMaxText)
      limitError(src_, "el resultado supera " + std::to_string(kMaxText) + " bytes");
    if (n->pure && allConstant && !n->constant) {
      static const NoRecord kNoRecord;
      EvalState st{kNoRecord, info_.codePage, src_};
      n->value = n->fn(*n, st);
      n->fn = evConst;
      n->constant = true;
      n->args.clear();
      n->depth = 1;
    }
    return n;
  }

  std::string_view src_;
  std::span<const FieldInfo> fields_;
  CompileInfo info_;
  std::vector<Token> toks_;
  size_t pos_ = 0;
  int nesting_ = 0;
};

}  // namespace

std::unique_ptr<Expr::Node> parse(std::string_view source, std::span<const FieldInfo> fields,
                                  const CodePage& codePage) {
  Parser p(source, fields, codePage);
  return p.parseAll();
}

}  // namespace xbase::expr_detail
