#include "cashier/cargo_copies.h"

#include <functional>
#include <memory>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"

namespace cashier {

namespace {

using lib::Value;
using lib::WDBTable;

constexpr size_t kCodeWidth = 4;

std::string key(const std::string& negocio, const std::string& code) {
  return lib::businessKey(negocio) + lib::padded(lib::trim(code), kCodeWidth);
}

std::string descriptionOf(WDBTable& transacs, const std::string& negocio, const std::string& code) {
  return transacs.Seek(key(negocio, code)) ? transacs.S("DESCRIP") : "";
}

// Every row of a working copy, removed ones too (which walking the table would hide), in
// the order they were made.
void eachRow(WDBTable& copy, const std::function<void()>& visit) {
  const uint32_t rows = copy.LastRec();
  for (uint32_t r = 1; r <= rows; ++r) {
    copy.GoTo(r);
    visit();
  }
}

uint32_t stored(const WDBTable& copy) {
  return uint32_t(copy.N("REGISTRO"));
}

void append(WDBTable& copy, const std::function<void()>& fill) {
  lib::ADD(copy, fill);
}

}  // namespace

void COPIA_COMPONENTES(const std::string& negocio, const std::string& code, WDBTable& copy) {
  auto transacs = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  lib::EACH_RECORD("DET_TRAN", "DET_TRAN", key(negocio, code), [&](const WDBTable& d) {
    const std::string component = d.S("CODIGO");
    const std::string description = descriptionOf(*transacs, negocio, component);
    append(copy, [&] {
      copy.FieldPut("CODIGO", Value::chars(component));
      copy.FieldPut("DESCRIP", Value::chars(description));
      copy.FieldPut("PORCENTAJE", d.M("PORCENTAJE"));
      copy.FieldPut("IMPONIBLE", d.M("IMPONIBLE"));
      copy.FieldPut("REGISTRO", Value::num(d.RecNo()));
    });
  });
  lib::KILLTABLA(transacs);
}

void GRABA_COMPONENTES(const std::string& negocio, const std::string& code, WDBTable& copy) {
  auto t = lib::USE(nullptr, "DET_TRAN", "DET_TRAN");
  eachRow(copy, [&] {
    if (copy.Deleted()) {
      if (!stored(copy)) return;
      t->GoTo(stored(copy));
      lib::MODIFY(*t, [&] { t->Delete(); });
    } else if (!stored(copy)) {
      lib::ADD(*t, [&] {
        t->FieldPut("NEGOCIO", Value::chars(negocio));
        t->FieldPut("COD_TRAN", Value::chars(code));
        t->FieldPut("CODIGO", Value::chars(copy.S("CODIGO")));
        t->FieldPut("PORCENTAJE", copy.M("PORCENTAJE"));
        t->FieldPut("IMPONIBLE", copy.M("IMPONIBLE"));
      });
    }
  });
  lib::KILLTABLA(t);
}

void COPIA_SUBTRANS(const std::string& negocio, const std::string& code, WDBTable& copy) {
  auto transacs = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  lib::EACH_RECORD("DET_TRA3", "DET_TRA3", key(negocio, code), [&](const WDBTable& d) {
    const std::string sub = d.S("SUB_TRANS");
    const std::string description = descriptionOf(*transacs, negocio, sub);
    append(copy, [&] {
      copy.FieldPut("SUB_TRANS", Value::chars(sub));
      copy.FieldPut("DESCRIP", Value::chars(description));
      copy.FieldPut("VALOR", d.M("VALOR"));
      copy.FieldPut("IMPONIBLE", d.M("IMPONIBLE"));
      copy.FieldPut("MONTO_BASE", d.M("MONTO_BASE"));
      copy.FieldPut("NO_RESTAR", Value::num(d.N("NO_RESTAR")));
      copy.FieldPut("REGISTRO", Value::num(d.RecNo()));
    });
  });
  lib::KILLTABLA(transacs);
}

void GRABA_SUBTRANS(const std::string& negocio, const std::string& code, WDBTable& copy) {
  auto t = lib::USE(nullptr, "DET_TRA3", "DET_TRA3");
  eachRow(copy, [&] {
    if (copy.Deleted()) {
      if (!stored(copy)) return;
      t->GoTo(stored(copy));
      lib::MODIFY(*t, [&] { t->Delete(); });
      return;
    }
    auto fill = [&] {
      t->FieldPut("NEGOCIO", Value::chars(negocio));
      t->FieldPut("COD_TRANS", Value::chars(code));
      t->FieldPut("SUB_TRANS", Value::chars(copy.S("SUB_TRANS")));
      t->FieldPut("VALOR", copy.M("VALOR"));
      t->FieldPut("IMPONIBLE", copy.M("IMPONIBLE"));
      t->FieldPut("MONTO_BASE", copy.M("MONTO_BASE"));
      t->FieldPut("NO_RESTAR", Value::num(copy.N("NO_RESTAR")));
    };
    if (stored(copy)) {
      t->GoTo(stored(copy));
      lib::MODIFY(*t, fill);
    } else {
      lib::ADD(*t, fill);
    }
  });
  lib::KILLTABLA(t);
}

void COPIA_USUARIOS(const std::string& negocio, const std::string& code, WDBTable& copy) {
  auto allowed = lib::USE(nullptr, "DET_TRA2", "DET_TRA2");
  lib::EACH_RECORD("USUARIOS", "USUARIOS", lib::businessKey(negocio), [&](const WDBTable& u) {
    const int user = int(u.N("CODIGO"));
    const bool found = allowed->Seek(key(negocio, code) + lib::STR(user, 4)) && !allowed->Deleted();
    append(copy, [&] {
      copy.FieldPut("COD_USER", Value::num(user));
      copy.FieldPut("NOMBRE", Value::chars(u.S("NOMBRE")));
      copy.FieldPut("USUARIO", Value::chars(u.S("USUARIO")));
      copy.FieldPut("PERMITIDO", Value::num(found ? allowed->N("PERMITIDO") : 0));
      copy.FieldPut("REGISTRO", Value::num(found ? allowed->RecNo() : 0));
    });
  });
  lib::KILLTABLA(allowed);
}

void GRABA_USUARIOS(const std::string& negocio, const std::string& code, WDBTable& copy, bool control) {
  auto t = lib::USE(nullptr, "DET_TRA2", "DET_TRA2");
  if (!control) {
    std::vector<uint32_t> records;
    t->SetScope(key(negocio, code));
    for (t->GoTop(); !t->Eof(); t->Skip())
      if (!t->Deleted()) records.push_back(t->RecNo());
    t->ClearScope();
    for (uint32_t r : records) {
      t->GoTo(r);
      lib::MODIFY(*t, [&] { t->Delete(); });
    }
  } else {
    eachRow(copy, [&] {
      if (copy.Deleted()) return;
      auto fill = [&] {
        t->FieldPut("NEGOCIO", Value::chars(negocio));
        t->FieldPut("COD_TRANS", Value::chars(code));
        t->FieldPut("COD_USER", Value::num(copy.N("COD_USER")));
        t->FieldPut("PERMITIDO", Value::num(copy.N("PERMITIDO")));
      };
      if (stored(copy)) {
        t->GoTo(stored(copy));
        lib::MODIFY(*t, fill);
      } else {
        lib::ADD(*t, fill);
      }
    });
  }
  lib::KILLTABLA(t);
}

void GRABA_IMPUESTOS(const std::string& negocio, const std::string& code, const std::set<std::string>& applied) {
  std::vector<std::string> taxes;
  lib::EACH_RECORD("TIPO_IMP", "TIPO_IMP", lib::businessKey(negocio),
                   [&](const WDBTable& t) { taxes.push_back(lib::trim(t.S("CODIGO"))); });
  auto links = lib::USE(nullptr, "DET_IMP", "DET_IMP");
  for (const std::string& tax : taxes) {
    const double check = applied.count(tax) ? 1 : 0;
    if (links->Seek(key(negocio, code) + links->KeyPart("COD_IMP", tax)) && !links->Deleted()) {
      if (links->N("CHECK1") != check) lib::MODIFY(*links, [&] { links->FieldPut("CHECK1", Value::num(check)); });
      continue;
    }
    lib::ADD(*links, [&] {
      links->FieldPut("NEGOCIO", Value::chars(negocio));
      links->FieldPut("COD_TRANS", Value::chars(code));
      links->FieldPut("COD_IMP", Value::chars(tax));
      links->FieldPut("CHECK1", Value::num(check));
    });
  }
  lib::KILLTABLA(links);
}

std::set<std::string> IMPUESTOS_DEL_CARGO(const std::string& negocio, const std::string& code) {
  std::set<std::string> out;
  lib::EACH_RECORD("DET_IMP", "DET_IMP2", key(negocio, code) + "1",
                   [&](const WDBTable& t) { out.insert(lib::trim(t.S("COD_IMP"))); });
  return out;
}

bool ES_COMPONENTE(const std::string& negocio, const std::string& code) {
  bool found = false;
  lib::EACH_RECORD("DET_TRAN", "DET_TRAN2", key(negocio, code), [&](const WDBTable&) { found = true; });
  return found;
}

bool TIENE_COMPONENTES(const std::string& negocio, const std::string& code) {
  bool found = false;
  lib::EACH_RECORD("DET_TRAN", "DET_TRAN", key(negocio, code), [&](const WDBTable&) { found = true; });
  return found;
}

size_t FILAS(WDBTable& copy) {
  size_t n = 0;
  eachRow(copy, [&] { n += copy.Deleted() ? 0 : 1; });
  return n;
}

}  // namespace cashier
