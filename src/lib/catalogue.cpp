#include "lib/catalogue.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "xbase/codepage.h"
#include "xbase/error.h"
#include "xbase/expr.h"
#include "xbase/key_codec.h"

namespace lib {

// Generated at build time from resources/catalogue/*.tbl.
const char* embeddedCatalogueText();

namespace {

constexpr std::string_view kFileMarker = "#@file";
constexpr size_t kMaxFields = 255;    // what xBase programs open
constexpr size_t kMaxTableName = 8;   // the data layer cuts longer names
constexpr size_t kMaxFieldName = 10;  // DBF field descriptor
constexpr size_t kMaxTagName = 10;    // CDX tag directory
constexpr size_t kMaxTagText = 510;   // key and FOR text share one 512-byte area in a CDX tag header

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string upper(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && isBlank(s[i])) ++i;
    size_t b = i;
    while (i < s.size() && !isBlank(s[i])) ++i;
    if (i > b) out.push_back(s.substr(b, i - b));
  }
  return out;
}

// Letters, digits and '_', starting with a letter (ASCII only: these become file and field names).
bool validName(std::string_view name, size_t maxLength) {
  if (name.empty() || name.size() > maxLength) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!letter(name[0])) return false;
  return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9') || c == '_'; });
}

// A small decimal number; nullopt for anything else (signs, letters, absurd lengths).
std::optional<int> smallNumber(std::string_view s) {
  if (s.empty() || s.size() > 5) return std::nullopt;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

class Parser {
 public:
  explicit Parser(std::string source) : file_(std::move(source)) {}

  std::vector<CatalogueTable> take() { return std::move(tables_); }

  void parseText(std::string_view text) {
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t nl = text.find('\n', pos);
      if (nl == std::string_view::npos) nl = text.size();
      line(text.substr(pos, nl - pos));
      pos = nl + 1;
    }
    endFile();
  }

 private:
  struct TagAt {
    xbase::TagSpec tag;
    int line;
  };
  struct Declared {
    std::string name, file;
    int line;
  };

  [[noreturn]] void fail(const std::string& what) const { failAt(line_, what); }
  [[noreturn]] void failAt(int line, const std::string& what) const {
    throw xbase::Error(xbase::EG_ARG, xbase::SC_VALUE, "catálogo: " + file_ + ":" + std::to_string(line) + ": " + what);
  }

  void line(std::string_view raw) {
    ++line_;
    if (raw.substr(0, kFileMarker.size()) == kFileMarker &&
        (raw.size() == kFileMarker.size() || isBlank(raw[kFileMarker.size()]))) {
      endFile();
      std::string_view name = trim(raw.substr(kFileMarker.size()));
      if (name.empty()) fail("línea #@file sin nombre de archivo");
      file_ = std::string(name);
      marked_ = true;
      line_ = 0;
      return;
    }
    std::string_view text = trim(raw);
    if (text.empty()) {
      if (collecting_ && !comment_.empty()) collecting_ = false;
      return;
    }
    if (text[0] == '#') {
      if (collecting_) {
        if (!comment_.empty()) comment_ += '\n';
        comment_ += trim(text.substr(1));
      }
      return;
    }
    collecting_ = false;
    statement(text);
  }

  void statement(std::string_view text) {
    size_t end = 0;
    while (end < text.size() && !isBlank(text[end])) ++end;
    std::string keyword = upper(text.substr(0, end));
    std::string_view rest = trim(text.substr(end));
    if (keyword == "TABLE") return tableStatement(rest);
    if (keyword != "FIELD" && keyword != "TAG" && keyword != "TEMPLATE")
      fail("instrucción desconocida: " + std::string(text.substr(0, end)));
    if (!open_) fail(keyword + " antes de TABLE");
    if (keyword == "FIELD") return fieldStatement(rest);
    if (keyword == "TAG") return tagStatement(rest);
    if (!rest.empty()) fail("TEMPLATE no lleva argumentos");
    if (table_.profileTemplate) fail("TEMPLATE repetido");
    table_.profileTemplate = true;
  }

  void tableStatement(std::string_view rest) {
    if (open_ || fileHasTable_) fail("el archivo ya declara la tabla " + table_.name + "; una tabla por archivo");
    auto w = words(rest);
    if (w.size() != 1) fail("se espera TABLE nombre");
    if (!validName(w[0], kMaxTableName))
      fail("nombre de tabla inválido: " + std::string(w[0]) + " (letras, dígitos y _, hasta 8, empezando por letra)");
    std::string name = upper(w[0]);
    for (const auto& d : declared_)
      if (d.name == name)
        fail("tabla repetida: " + name + " (ya declarada en " + d.file + ":" + std::to_string(d.line) + ")");
    if (marked_) {
      std::string base = file_.substr(file_.find_last_of("/\\") + 1);  // npos + 1 == 0
      base = upper(base.substr(0, base.rfind('.')));
      if (base != name) fail("el archivo " + file_ + " declara la tabla " + name);
    }
    open_ = true;
    fileHasTable_ = true;
    table_ = CatalogueTable{};
    table_.name = name;
    table_.comment = comment_;
    tableLine_ = line_;
    tags_.clear();
  }

  void fieldStatement(std::string_view rest) {
    auto w = words(rest);
    if (w.size() < 2 || w.size() > 4) fail("se espera FIELD nombre tipo [longitud [decimales]]");
    if (!validName(w[0], kMaxFieldName))
      fail("nombre de campo inválido: " + std::string(w[0]) + " (letras, dígitos y _, hasta 10, empezando por letra)");
    xbase::FieldSpec f;
    f.name = upper(w[0]);
    for (const auto& g : table_.fields)
      if (g.name == f.name) fail("campo repetido: " + f.name);
    if (table_.fields.size() >= kMaxFields) fail("más de " + std::to_string(kMaxFields) + " campos");
    std::string type = upper(w[1]);
    if (type.size() != 1 || std::string_view("CNFDLMIBYT").find(type[0]) == std::string_view::npos)
      fail("tipo desconocido en " + f.name + ": " + std::string(w[1]) + " (C N F D L M I B Y T)");
    f.type = type[0];
    std::optional<int> length, decimals;
    if (w.size() >= 3) {
      length = smallNumber(w[2]);
      if (!length) fail("longitud no numérica en " + f.name + ": " + std::string(w[2]));
    }
    if (w.size() == 4) {
      decimals = smallNumber(w[3]);
      if (!decimals) fail("decimales no numéricos en " + f.name + ": " + std::string(w[3]));
    }
    shape(f, length, decimals);
    table_.fields.push_back(std::move(f));
  }

  // Widths and decimals by type, within what a new table may hold.
  void shape(xbase::FieldSpec& f, std::optional<int> length, std::optional<int> decimals) const {
    const std::string what = "campo " + f.name + " (" + f.type + "): ";
    auto fixed = [&](int natural, int alsoAllowed = -1) {
      if (decimals && *decimals != 0) fail(what + "no lleva decimales");
      if (length && *length != natural && *length != alsoAllowed)
        fail(what + "la longitud es siempre " + std::to_string(natural));
      f.length = natural;
    };
    switch (f.type) {
      case 'C':
        if (!length) fail(what + "falta la longitud");
        if (*length < 1 || *length > 254) fail(what + "longitud fuera de rango (1 a 254): " + std::to_string(*length));
        if (decimals && *decimals != 0) fail(what + "no lleva decimales");
        f.length = *length;
        break;
      case 'N':
      case 'F':
        if (!length) fail(what + "falta la longitud");
        if (*length < 1 || *length > 20) fail(what + "longitud fuera de rango (1 a 20): " + std::to_string(*length));
        f.length = *length;
        f.decimals = decimals.value_or(0);
        // Room for the digits, the point and at least one integer digit.
        if (f.decimals > 0 && f.decimals > f.length - 2)
          fail(what + "demasiados decimales para la longitud: " + std::to_string(f.decimals));
        break;
      case 'D':
        fixed(8);
        break;
      case 'L':
        fixed(1);
        break;
      case 'M':
        fixed(10, 4);  // FoxPro 2 keeps a 10-digit block number, Visual FoxPro 4 bytes
        break;
      case 'I':
        fixed(4);
        break;
      case 'T':
        fixed(8);
        break;
      case 'Y':
        if (length && *length != 8) fail(what + "la longitud es siempre 8");
        if (decimals && *decimals != 4) fail(what + "los decimales son siempre 4");
        f.length = 8;
        f.decimals = 4;
        break;
      case 'B':
        if (length && *length != 8) fail(what + "la longitud es siempre 8");
        f.length = 8;
        f.decimals = decimals.value_or(0);
        if (f.decimals > 18) fail(what + "decimales fuera de rango (0 a 18): " + std::to_string(f.decimals));
        break;
      default:
        fail(what + "tipo desconocido");
    }
  }

  void tagStatement(std::string_view rest) {
    xbase::TagSpec parsed;
    try {
      parsed = xbase::TagSpec::parse(rest);
    } catch (const std::exception& e) {
      fail(e.what());  // the same failure, with the catalogue file and line
    }
    if (!validName(parsed.name, kMaxTagName))
      fail("nombre de etiqueta inválido: " + parsed.name + " (letras, dígitos y _, hasta 10, empezando por letra)");
    for (const auto& t : tags_)
      if (t.tag.name == parsed.name) fail("etiqueta repetida: " + parsed.name);
    tags_.push_back({std::move(parsed), line_});
  }

  // Tags are checked once every field is known, so a TAG may precede the FIELDs it uses.
  void endTable() {
    if (!open_) return;
    open_ = false;
    if (table_.fields.empty()) failAt(tableLine_, "la tabla " + table_.name + " no tiene campos");
    std::vector<xbase::FieldInfo> infos;
    for (const auto& f : table_.fields) infos.push_back({f.name, f.type, f.length, f.decimals});
    const xbase::CodePage& cp = xbase::CodePage::windows1252();
    for (auto& t : tags_) {
      std::string key = cp.fromUtf8(t.tag.keyExpr), filter = cp.fromUtf8(t.tag.forExpr);
      if (key.size() + filter.size() > kMaxTagText)
        failAt(t.line, "etiqueta " + t.tag.name + ": expresiones demasiado largas");
      std::optional<xbase::Expr> keyExpr, forExpr;
      try {
        keyExpr = xbase::Expr::compile(key, infos, cp);
        if (!filter.empty()) forExpr = xbase::Expr::compile(filter, infos, cp);
      } catch (const std::exception& e) {  // the same failure, with the catalogue file and line
        failAt(t.line, "etiqueta " + t.tag.name + ": " + e.what());
      }
      // A bare integer field is keyed as 4 bytes, like the engine does.
      std::string bare = upper(trim(t.tag.keyExpr));
      bool integerField = std::any_of(table_.fields.begin(), table_.fields.end(),
                                      [&](const xbase::FieldSpec& f) { return f.type == 'I' && f.name == bare; });
      int length = xbase::keyLengthFor(keyExpr->type(), keyExpr->width(), integerField);
      if (length < 1 || length > 240)
        failAt(t.line, "etiqueta " + t.tag.name + ": la clave mide " + std::to_string(length) +
                           " bytes (de 1 a 240): " + t.tag.keyExpr);
      if (forExpr && forExpr->type() != xbase::ValueType::Logical)
        failAt(t.line, "etiqueta " + t.tag.name + ": la condición FOR debe ser lógica: " + t.tag.forExpr);
      table_.tags.push_back(std::move(t.tag));
    }
    tags_.clear();
    declared_.push_back({table_.name, file_, tableLine_});
    tables_.push_back(std::move(table_));
    table_ = CatalogueTable{};
  }

  void endFile() {
    endTable();
    // A named file must declare its table; unnamed leading text may be a mere preamble.
    if (marked_ && !fileHasTable_) failAt(1, "el archivo no declara ninguna tabla");
    fileHasTable_ = false;
    collecting_ = true;
    comment_.clear();
  }

  std::string file_;
  int line_ = 0;
  bool marked_ = false;  // file_ comes from a #@file line
  bool fileHasTable_ = false;
  bool collecting_ = true;  // still in the leading comment block of the file
  std::string comment_;

  bool open_ = false;
  CatalogueTable table_;
  int tableLine_ = 0;
  std::vector<TagAt> tags_;

  std::vector<Declared> declared_;
  std::vector<CatalogueTable> tables_;
};

}  // namespace

Catalogue Catalogue::parse(std::string_view text, const std::string& source) {
  Parser p(source);
  p.parseText(text);
  Catalogue c;
  c.tables_ = p.take();
  return c;
}

const Catalogue& Catalogue::builtIn() {
  static const Catalogue catalogue = parse(embeddedCatalogueText(), "catálogo incorporado");
  return catalogue;
}

const CatalogueTable* Catalogue::find(std::string_view name) const {
  std::string wanted = upper(trim(name));
  for (const auto& t : tables_)
    if (t.name == wanted) return &t;
  return nullptr;
}

}  // namespace lib
