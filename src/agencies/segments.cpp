#include "agencies/segments.h"

#include <functional>
#include <memory>

#include "lib/record_protocol.h"
#include "lib/record_walks.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/wait.h"

namespace agencies {

namespace {

using lib::Value;

constexpr size_t kCodeWidth = 4;
constexpr const char* kDuplicate = "El código digitado ya existe";

// The agencies' fields and order of each set.
struct SetFields {
  const char *segment, *detail, *tag;
};
constexpr SetFields kSets[] = {{"E_SEGMENTO", "D_SEGMENTO", "AGENCIA4"},
                               {"E_SEG2", "D_SEG2", "AGENCIA12"},
                               {"E_SEG3", "D_SEG3", "AGENCIA13"},
                               {"E_SEG4", "D_SEG4", "AGENCIA14"}};

std::string code4(const std::string& code) {
  return lib::padded(lib::upper(lib::trim(code)), kCodeWidth);
}

// Another record than `recno` holds `key` on the table's order.
bool taken(const std::string& table, const std::string& tag, const std::string& key, uint32_t recno) {
  bool found = false;
  lib::EACH_RECORD(table, tag, key, [&](const lib::WDBTable& t) { found = found || t.RecNo() != recno; });
  return found;
}

// The progress window of a recoding, for as long as it lives.
std::unique_ptr<win::WAIT> announce(win::WDIAG* owner) {
  if (!owner) return nullptr;
  auto wait = std::make_unique<win::WAIT>(owner);
  wait->PUT_TEXT("Un momento por favor...", "Recodificando referencias...");
  return wait;
}

// Adds or rewrites the record `recno` of `table`; returns its former code ("" when added).
std::string store(const std::string& table, const std::string& tag, uint32_t recno,
                  const std::function<void(lib::WDBTable&)>& fill) {
  auto t = lib::USE(nullptr, table, tag);
  std::string old;
  if (recno) {
    t->GoTo(recno);
    old = code4(t->S("CODIGO"));
    lib::MODIFY(*t, [&] { fill(*t); });
  } else {
    lib::ADD(*t, [&] { fill(*t); });
  }
  lib::KILLTABLA(t);
  return old;
}

}  // namespace

std::string setKey(const std::string& negocio, int set) {
  return lib::businessKey(negocio) + lib::STR(set, 2);
}

std::string GUARDA_SEGMENTO(const std::string& negocio, int set, uint32_t recno, const std::string& code,
                            const std::string& description, win::WDIAG* owner) {
  const std::string segment = code4(code);
  if (taken("ENC_SEG", "ENC_SEG", setKey(negocio, set) + segment, recno)) return kDuplicate;
  const std::string old = store("ENC_SEG", "ENC_SEG", recno, [&](lib::WDBTable& t) {
    t.FieldPut("NEGOCIO", Value::chars(negocio));
    t.FieldPut("CODIGO", Value::chars(segment));
    t.FieldPut("DESCRIP", Value::chars(lib::upper(description)));
    t.FieldPut("CONJUNTO", Value::num(set));
  });
  if (recno && old != segment) {
    auto wait = announce(owner);
    const SetFields& f = kSets[set];
    const std::string business = lib::businessKey(negocio);
    lib::REWRITE_RECORDS("AGENCIAS", f.tag, business + old, f.segment, segment);
    if (set == 0) lib::REWRITE_RECORDS("PAISES", "PAISES2", business + old, "E_SEGMENTO", segment);
    lib::REWRITE_RECORDS("DET_SEG", "DET_SEG2", setKey(negocio, set) + old, "ENC_CODIGO", segment);
  }
  return "";
}

std::string GUARDA_DETALLE(const std::string& negocio, int set, const std::string& segment, uint32_t recno,
                           const std::string& code, const std::string& description, win::WDIAG* owner) {
  const std::string parent = code4(segment), detail = code4(code);
  if (taken("DET_SEG", recno ? "DET_SEG" : "DET_SEG2", setKey(negocio, set) + parent + detail, recno))
    return kDuplicate;
  const std::string old = store("DET_SEG", "DET_SEG2", recno, [&](lib::WDBTable& t) {
    t.FieldPut("NEGOCIO", Value::chars(negocio));
    t.FieldPut("CONJUNTO", Value::num(set));
    t.FieldPut("ENC_CODIGO", Value::chars(parent));
    t.FieldPut("CODIGO", Value::chars(detail));
    t.FieldPut("DESCRIP", Value::chars(lib::upper(description)));
  });
  if (recno && old != detail) {
    auto wait = announce(owner);
    const SetFields& f = kSets[set];
    const std::string from = lib::businessKey(negocio) + parent + old;
    lib::REWRITE_RECORDS("AGENCIAS", f.tag, from, f.detail, detail);
    if (set == 0) lib::REWRITE_RECORDS("PAISES", "PAISES2", from, "D_SEGMENTO", detail);
  }
  return "";
}

void BORRA_SEGMENTO(const std::string& negocio, int set, uint32_t recno) {
  auto t = lib::USE(nullptr, "ENC_SEG", "ENC_SEG");
  t->GoTo(recno);
  const std::string segment = t->S("CODIGO");
  lib::MODIFY(*t, [&] { t->Delete(); });
  lib::KILLTABLA(t);
  lib::DELETE_RECORDS("DET_SEG", "DET_SEG2", setKey(negocio, set) + code4(segment));
}

void BORRA_DETALLE(uint32_t recno) {
  auto t = lib::USE(nullptr, "DET_SEG", "DET_SEG2");
  t->GoTo(recno);
  lib::MODIFY(*t, [&] { t->Delete(); });
  lib::KILLTABLA(t);
}

}  // namespace agencies
