// dbfutil: the storage engine for administrators. Reads, checks, repairs and prepares
// DBF/CDX/FPT tables, including tables written by other xBase programs.
//
//   dbfutil info FILE.DBF
//   dbfutil dump FILE.DBF [--tag NAME] [--all] [--scope LOW[:HIGH]]
//   dbfutil check FILE.DBF
//   dbfutil reindex FILE.DBF
//   dbfutil pack FILE.DBF
//   dbfutil create FILE.DBF --fields "NAME TYPE [LEN [DEC]], ..." [--tag "NAME: EXPR ..."]...
//   dbfutil load FILE.DBF [--replace] < data.tsv
//   dbfutil index FILE.DBF --tag "NAME: EXPR [FOR EXPR] [UNIQUE] [DESCENDING]"
//   dbfutil set FILE.DBF RECNO FIELD=VALUE...
//   dbfutil get FILE.DBF RECNO FIELD...       (one value per line, as dump writes them)
//   dbfutil delete FILE.DBF RECNO
//   dbfutil recall FILE.DBF RECNO
//   dbfutil push DIR/BASES CONNSTRING    (copies the folder's tables to the database server)
//   dbfutil pull CONNSTRING DIR/BASES    (writes the server's tables back as DBF/CDX files)
//   dbfutil marks CONNSTRING             (gives the server's tables made before change marks theirs)
//
// Exit status 0 on success; 1 with a one-line message on stderr on failure (for check:
// when the index disagrees with the table); 2 for a wrong command line.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "xbase/date.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"
#include "xbase/field_text.h"
#include "xbase/key_codec.h"
#include "xbase/number_text.h"

#ifdef CONFIGURA_SERVER_TOOLS
#include "server/session.h"
#include "server/table_schema.h"
#include "server/transfer.h"
#endif

using namespace xbase;

namespace {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const char* kUsage =
    "uso: dbfutil info|dump|check|reindex|pack|create|load|index|set|get|delete|recall TABLA.DBF [opciones]\n"
    "     dbfutil push CARPETA CONEXION | pull CONEXION CARPETA | marks CONEXION\n";

std::string versionName(uint8_t v) {
  switch (v) {
    case 0x02:
      return "FoxBASE";
    case 0x03:
      return "dBase III / FoxPro sin memo";
    case 0x30:
      return "Visual FoxPro";
    case 0x31:
      return "Visual FoxPro con autoincremento";
    case 0x32:
      return "Visual FoxPro con Varchar/Varbinary";
    case 0x83:
      return "dBase III con memo DBT";
    case 0x8B:
      return "dBase IV con memo";
    case 0xF5:
      return "FoxPro 2 con memo FPT";
    case 0xFB:
      return "FoxBASE con memo";
    default:
      return "otra";
  }
}

std::string trim(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t b = 0;
  while (b < s.size() && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  return s.substr(b);
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : s) {
    if (c == sep) {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  parts.push_back(cur);
  return parts;
}

uint32_t parseRecno(const std::string& s) {
  char* end = nullptr;
  unsigned long v = std::strtoul(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v == 0 || v > 0xFFFFFFFFul) throw UsageError("número de registro no válido: " + s);
  return uint32_t(v);
}

// "CODIGO C 4, DESCRIP C 40, CANT N 8 2, FECHA D, ACTIVO L, NOTAS M"
std::vector<FieldSpec> parseFields(const std::string& text) {
  std::vector<FieldSpec> specs;
  for (const std::string& part : split(text, ',')) {
    std::istringstream in(trim(part));
    FieldSpec f;
    std::string type;
    if (!(in >> f.name >> type) || type.size() != 1) throw UsageError("campo mal declarado: " + trim(part));
    f.type = char(std::toupper(static_cast<unsigned char>(type[0])));
    in >> f.length >> f.decimals;
    std::string extra;
    if (in >> extra) {
      for (auto& c : extra) c = char(std::toupper(static_cast<unsigned char>(c)));
      if (extra == "NULL")
        f.nullable = true;
      else
        throw UsageError("campo mal declarado: " + trim(part));
    }
    specs.push_back(f);
  }
  return specs;
}

int cmdInfo(const std::string& path) {
  auto t = DbfTable::open(path, OpenOptions{true, true});
  const DbfHeader& h = t->header();
  char ver[8];
  std::snprintf(ver, sizeof ver, "0x%02X", h.version);
  std::cout << "VERSION " << ver << " " << versionName(h.version) << "\n";
  std::cout << "CODEPAGE " << t->codePage().number() << "\n";
  std::cout << "RECORDS " << t->recCount() << "\n";
  std::cout << "HEADER " << h.headerLength << "\n";
  std::cout << "RECORDLENGTH " << h.recordLength << "\n";
  for (int i = 0; i < t->fieldCount(); ++i) {
    const Field& f = t->field(i);
    std::cout << f.name << " " << f.type << " " << f.length << " " << f.decimals;
    if (f.nullable()) std::cout << " NULL";
    if (f.autoIncrement()) std::cout << " AUTOINC";
    std::cout << "\n";
  }
  for (const std::string& name : t->tagNames()) {
    const TagInfo* info = t->tagInfo(name);
    std::cout << "TAG " << name << " KEY " << t->codePage().toUtf8(info->keyExpr);
    if (!info->forExpr.empty()) std::cout << " FOR " << t->codePage().toUtf8(info->forExpr);
    if (info->unique()) std::cout << " UNIQUE";
    if (info->candidate()) std::cout << " CANDIDATE";
    if (info->descending) std::cout << " DESCENDING";
    std::cout << "\n";
  }
  return 0;
}

Value scopeValue(const DbfTable& t, const std::string& text) {
  const TagInfo* info = t.tagInfo(t.order());
  switch (t.index()->find(info->name)->kind()) {
    case KeyKind::Double: {
      std::optional<double> d = readNumber(text);
      if (d && text.size() != 8) return Value::num(*d);
      int32_t jd = julianFromDtos(text);
      if (jd) return Value::date(jd);
      return Value::num(parseNumber(text));
    }
    case KeyKind::Int32:
      return Value::num(parseNumber(text));
    case KeyKind::Logical:
      return Value::boolean(text == "T" || text == ".T.");
    default:
      return Value::chars(text);
  }
}

int cmdDump(const std::string& path, const std::vector<std::string>& args) {
  std::string tag, scope;
  bool all = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--tag" && i + 1 < args.size())
      tag = args[++i];
    else if (args[i] == "--all")
      all = true;
    else if (args[i] == "--scope" && i + 1 < args.size())
      scope = args[++i];
    else
      throw UsageError("opción desconocida: " + args[i]);
  }
  auto t = DbfTable::open(path, OpenOptions{true, true});
  t->setDeletedHidden(!all);
  if (!tag.empty()) t->setOrder(tag);
  if (!scope.empty()) {
    if (tag.empty()) throw UsageError("--scope necesita --tag");
    size_t colon = scope.find(':');
    std::string low = scope.substr(0, colon);
    std::string high = colon == std::string::npos ? low : scope.substr(colon + 1);
    t->setScope(scopeValue(*t, low), scopeValue(*t, high));
  }
  std::string out = "RECNO";
  for (int i = 0; i < t->fieldCount(); ++i) out += "\t" + t->field(i).name;
  if (all) out += "\tDELETED";
  std::cout << out << "\n";
  for (t->goTop(); !t->eof(); t->skip()) {
    out = std::to_string(t->recNo());
    for (int i = 0; i < t->fieldCount(); ++i) out += "\t" + formatFieldText(*t, i);
    if (all) out += t->deleted() ? "\t*" : "\t";
    out += "\n";
    std::cout << out;
  }
  return 0;
}

int cmdCheck(const std::string& path) {
  auto t = DbfTable::open(path, OpenOptions{true, true});
  CheckReport r = t->check();
  for (const auto& n : r.notes) std::cout << "NOTA " << n << "\n";
  if (r.ok()) {
    std::cout << "OK\n";
    return 0;
  }
  for (const auto& p : r.problems) std::cout << p << "\n";
  std::cerr << "dbfutil: " << r.problems.size() << " discrepancias en " << path << "\n";
  return 1;
}

int cmdCreate(const std::string& path, const std::vector<std::string>& args) {
  std::vector<FieldSpec> fields;
  std::vector<TagSpec> tags;
  int codePage = 1252;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--fields" && i + 1 < args.size())
      fields = parseFields(args[++i]);
    else if (args[i] == "--tag" && i + 1 < args.size())
      tags.push_back(TagSpec::parse(args[++i]));
    else if (args[i] == "--codepage" && i + 1 < args.size())
      codePage = std::atoi(args[++i].c_str());
    else
      throw UsageError("opción desconocida: " + args[i]);
  }
  if (fields.empty()) throw UsageError("create necesita --fields");
  DbfTable::create(path, fields, tags, CodePage::forNumber(codePage));
  return 0;
}

int cmdLoad(const std::string& path, const std::vector<std::string>& args) {
  if (args.size() > 1 || (args.size() == 1 && args[0] != "--replace")) throw UsageError("load admite solo --replace");
  if (!args.empty()) {
    // The records loaded become the table's only ones: the old ones are removed first, alone.
    auto old = DbfTable::open(path, OpenOptions{false, false});
    for (uint32_t r = 1, n = old->recCount(); r <= n; ++r) {
      old->goTo(r);
      old->deleteRecord();
    }
    old->pack();
  }
  auto t = DbfTable::open(path, OpenOptions{true, false});
  if (!t->lockFile()) throw Error(EG_LOCK, SC_LOCK, "la tabla está bloqueada por otro usuario", path);
  std::string line;
  if (!std::getline(std::cin, line)) return 0;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<int> columns;
  for (const std::string& name : split(line, '\t')) {
    int i = t->fieldIndex(name);
    if (i < 0 && trim(name) != "RECNO" && trim(name) != "DELETED")
      throw Error(EG_NOVAR, SC_FIELD, "no existe el campo " + name, path);
    columns.push_back(i);
  }
  size_t lineNo = 1, loaded = 0;
  while (std::getline(std::cin, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> values = split(line, '\t');
    if (values.size() > columns.size())
      throw Error(EG_ARG, SC_VALUE, "línea " + std::to_string(lineNo) + ": más columnas que campos", path);
    // The whole line is read before anything is appended: a bad value adds no record.
    std::vector<std::pair<int, Value>> row;
    for (size_t c = 0; c < values.size(); ++c) {
      if (columns[c] < 0) continue;
      try {
        if (auto v = parseFieldText(t->field(columns[c]), values[c])) row.emplace_back(columns[c], *v);
      } catch (const Error& e) {
        throw Error(e.genCode(), e.subCode(), "línea " + std::to_string(lineNo) + ": " + e.description(), path);
      }
    }
    if (!t->append()) throw Error(EG_APPENDLOCK, SC_LOCK, "no se puede agregar", path);
    for (auto& [field, value] : row) t->put(field, value);
    ++loaded;
  }
  t->unlockAll();
  std::cout << loaded << " registros agregados\n";
  return 0;
}

int cmdIndex(const std::string& path, const std::vector<std::string>& args) {
  std::vector<TagSpec> tags;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--tag" && i + 1 < args.size())
      tags.push_back(TagSpec::parse(args[++i]));
    else
      throw UsageError("opción desconocida: " + args[i]);
  }
  if (tags.empty()) throw UsageError("index necesita --tag");
  auto t = DbfTable::open(path, OpenOptions{false, false});
  for (const auto& spec : tags) t->createTag(spec);
  return 0;
}

std::unique_ptr<DbfTable> openLocked(const std::string& path, uint32_t recno) {
  auto t = DbfTable::open(path, OpenOptions{true, false});
  if (recno > t->recCount()) throw Error(EG_BOUND, SC_VALUE, "no existe el registro " + std::to_string(recno), path);
  t->goTo(recno);
  if (!t->lockRecord(recno))
    throw Error(EG_LOCK, SC_LOCK, "el registro " + std::to_string(recno) + " está bloqueado por otro usuario", path);
  return t;
}

int cmdSet(const std::string& path, const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("set necesita un número de registro");
  auto t = openLocked(path, parseRecno(args[0]));
  for (size_t i = 1; i < args.size(); ++i) {
    size_t eq = args[i].find('=');
    if (eq == std::string::npos) throw UsageError("se espera CAMPO=VALOR: " + args[i]);
    int f = t->fieldIndex(args[i].substr(0, eq));
    if (f < 0) throw Error(EG_NOVAR, SC_FIELD, "no existe el campo " + args[i].substr(0, eq), path);
    auto v = parseFieldText(t->field(f), args[i].substr(eq + 1));
    if (!v) {
      // An empty number, logical or date leaves the field blank, as a new record has it.
      v = t->field(f).type == 'L' ? Value::boolean(false) : t->field(f).type == 'D' ? Value::date(0) : Value::num(0);
    }
    t->put(f, *v);
  }
  t->unlockAll();
  return 0;
}

int cmdGet(const std::string& path, const std::vector<std::string>& args) {
  if (args.size() < 2) throw UsageError("get necesita un número de registro y los campos");
  auto t = DbfTable::open(path, OpenOptions{true, true});
  uint32_t recno = parseRecno(args[0]);
  if (recno > t->recCount()) throw Error(EG_BOUND, SC_VALUE, "no existe el registro " + std::to_string(recno), path);
  t->goTo(recno);
  for (size_t i = 1; i < args.size(); ++i) {
    int f = t->fieldIndex(args[i]);
    if (f < 0) throw Error(EG_NOVAR, SC_FIELD, "no existe el campo " + args[i], path);
    std::cout << formatFieldText(*t, f) << "\n";
  }
  return 0;
}

int cmdDelete(const std::string& path, const std::vector<std::string>& args, bool recall) {
  if (args.size() != 1) throw UsageError("se espera un número de registro");
  auto t = openLocked(path, parseRecno(args[0]));
  if (recall)
    t->recall();
  else
    t->deleteRecord();
  t->unlockAll();
  return 0;
}

#ifdef CONFIGURA_SERVER_TOOLS
// push DIR CONN / pull CONN DIR: the folder's tables to and from the database server.
int cmdTransfer(bool push, const std::vector<std::string>& args) {
  if (args.size() != 2)
    throw UsageError(push ? "se espera: push CARPETA CONEXION" : "se espera: pull CONEXION CARPETA");
  server::Session session(push ? args[1] : args[0]);
  if (!session.connect()) throw Error(EG_OPEN, int(session.lastError()), "servidor: " + session.lastMessage());
  server::TransferCount n =
      push ? server::pushFolder(session, args[0], &std::cout) : server::pullFolder(session, args[1], &std::cout);
  std::cout << n.tables << " tablas, " << n.records << " registros\n";
  return 0;
}

int cmdMarks(const std::string& conninfo) {
  server::Session session(conninfo);
  if (!session.connect()) throw Error(EG_OPEN, int(session.lastError()), "servidor: " + session.lastMessage());
  std::cout << server::addChangeMarks(session) << " tablas con su marca de cambios\n";
  return 0;
}
#endif

int run(int argc, char** argv) {
  if (argc < 3) throw UsageError("faltan argumentos");
  std::string cmd = argv[1], path = argv[2];
  std::vector<std::string> args(argv + 3, argv + argc);
  auto noArgs = [&] {
    if (!args.empty()) throw UsageError("argumentos de más: " + args[0]);
  };
#ifdef CONFIGURA_SERVER_TOOLS
  if (cmd == "push" || cmd == "pull")
    return cmdTransfer(cmd == "push", std::vector<std::string>(argv + 2, argv + argc));
  if (cmd == "marks") return noArgs(), cmdMarks(path);
#endif
  if (cmd == "info") return noArgs(), cmdInfo(path);
  if (cmd == "dump") return cmdDump(path, args);
  if (cmd == "check") return noArgs(), cmdCheck(path);
  if (cmd == "reindex") {
    noArgs();
    DbfTable::open(path, OpenOptions{false, false})->reindex();
    return 0;
  }
  if (cmd == "pack") {
    noArgs();
    DbfTable::open(path, OpenOptions{false, false})->pack();
    return 0;
  }
  if (cmd == "create") return cmdCreate(path, args);
  if (cmd == "load") return cmdLoad(path, args);
  if (cmd == "index") return cmdIndex(path, args);
  if (cmd == "set") return cmdSet(path, args);
  if (cmd == "get") return cmdGet(path, args);
  if (cmd == "delete") return cmdDelete(path, args, false);
  if (cmd == "recall") return cmdDelete(path, args, true);
  throw UsageError("orden desconocida: " + cmd);
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  try {
    return run(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "dbfutil: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "dbfutil: " << e.what() << "\n";
    return 1;
  }
}
