#include "cashier/cargo_groups.h"

#include <vector>

#include "lib/record_protocol.h"
#include "lib/record_walks.h"
#include "lib/text.h"
#include "lib/use.h"

namespace cashier {

namespace {

using lib::Value;
using lib::WDBTable;

constexpr size_t kGroupWidth = 2;

std::string group(const std::string& negocio, const std::string& linea) {
  return lib::businessKey(negocio) + lib::padded(lib::trim(linea), kGroupWidth);
}

bool any(const std::string& table, const std::string& tag, const std::string& prefix) {
  bool found = false;
  lib::EACH_RECORD(table, tag, prefix, [&](const WDBTable&) { found = true; });
  return found;
}

// Records of `table` on `tag` whose key begins with `prefix`, not deleted.
std::vector<uint32_t> records(WDBTable& t, const std::string& prefix) {
  std::vector<uint32_t> out;
  t.SetScope(prefix);
  for (t.GoTop(); !t.Eof(); t.Skip())
    if (!t.Deleted()) out.push_back(t.RecNo());
  t.ClearScope();
  return out;
}

// Another record than `recno` with key `key` on the table's order.
bool taken(WDBTable& t, const std::string& key, uint32_t recno) {
  for (uint32_t r : records(t, key))
    if (r != recno) return true;
  return false;
}

}  // namespace

std::string GUARDA_GRUPO(const std::string& negocio, uint32_t recno, const std::string& code,
                         const std::string& description) {
  if (code.empty()) return "Debe definir el Código";
  auto t = lib::USE(nullptr, "ENC_CARG", "ENC_CARG");
  if (taken(*t, group(negocio, code), recno)) {
    lib::KILLTABLA(t);
    return "Éste código ya fue definido...";
  }
  if (recno) {
    t->GoTo(recno);
    const std::string old = lib::trim(t->S("CODIGO"));
    if (old != code) {
      lib::REWRITE_RECORDS("DET_CARG", "DET_CARG", group(negocio, old), "LINEA", code);
      lib::REWRITE_RECORDS("TRANSACS", "TRANSACS2", group(negocio, old), "LINEA", code);
    }
    t->GoTo(recno);
    lib::MODIFY(*t, [&] {
      t->FieldPut("CODIGO", Value::chars(code));
      t->FieldPut("DESCRIP", Value::chars(description));
    });
  } else {
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars(negocio));
      t->FieldPut("CODIGO", Value::chars(code));
      t->FieldPut("DESCRIP", Value::chars(description));
    });
  }
  lib::KILLTABLA(t);
  return "";
}

std::string GUARDA_SUBGRUPO(const std::string& negocio, const std::string& linea, uint32_t recno,
                            const std::string& code, const std::string& description) {
  if (code.empty()) return "Debe definir el Código";
  auto t = lib::USE(nullptr, "DET_CARG", "DET_CARG");
  const std::string inGroup = group(negocio, linea);
  if (taken(*t, inGroup + lib::padded(code, kGroupWidth), recno)) {
    lib::KILLTABLA(t);
    return "Código Ya definido...";
  }
  if (recno) {
    t->GoTo(recno);
    const std::string old = lib::trim(t->S("CODIGO"));
    if (old != code)
      lib::REWRITE_RECORDS("TRANSACS", "TRANSACS3", inGroup + lib::padded(old, kGroupWidth), "SUBLINEA", code);
    t->GoTo(recno);
    lib::MODIFY(*t, [&] {
      t->FieldPut("CODIGO", Value::chars(code));
      t->FieldPut("DESCRIP", Value::chars(description));
    });
  } else {
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars(negocio));
      t->FieldPut("LINEA", Value::chars(linea));
      t->FieldPut("CODIGO", Value::chars(code));
      t->FieldPut("DESCRIP", Value::chars(description));
    });
  }
  lib::KILLTABLA(t);
  return "";
}

std::string BORRA_GRUPO(const std::string& negocio, const std::string& linea) {
  if (any("TRANSACS", "TRANSACS2", group(negocio, linea))) return "Este grupo todavía contiene cargos definidos";
  lib::DELETE_RECORDS("DET_CARG", "DET_CARG", group(negocio, linea));
  lib::DELETE_RECORDS("ENC_CARG", "ENC_CARG", group(negocio, linea));
  return "";
}

std::string BORRA_SUBGRUPO(const std::string& negocio, const std::string& linea, const std::string& sublinea) {
  const std::string key = group(negocio, linea) + lib::padded(lib::trim(sublinea), kGroupWidth);
  if (any("TRANSACS", "TRANSACS3", key)) return "Este sub-grupo todavía contiene cargos definidos";
  lib::DELETE_RECORDS("DET_CARG", "DET_CARG", key);
  return "";
}

void MUEVE_CARGO(uint32_t recno, const std::string& linea, const std::string& sublinea) {
  auto t = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  t->GoTo(recno);
  lib::MODIFY(*t, [&] {
    t->FieldPut("LINEA", Value::chars(linea));
    t->FieldPut("SUBLINEA", Value::chars(sublinea));
  });
  lib::KILLTABLA(t);
}

size_t ACTUALIZA_CLAVE(const std::string& negocio, const std::string& clave) {
  auto t = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  size_t n = 0;
  for (uint32_t r : records(*t, lib::businessKey(negocio))) {
    t->GoTo(r);
    if (t->N("READ_CLAVE") != 1) continue;
    lib::MODIFY(*t, [&] { t->FieldPut("CLAVE", Value::chars(clave)); });
    ++n;
  }
  lib::KILLTABLA(t);
  return n;
}

}  // namespace cashier
