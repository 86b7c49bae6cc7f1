#include "screens/recode.h"

#include <algorithm>
#include <functional>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "win/wait.h"

namespace screens {

namespace {

using lib::Value;

bool hasOrder(lib::WDBTable& t, const std::string& tag) {
  const std::vector<std::string> tags = t.driver().tagNames();
  return std::any_of(tags.begin(), tags.end(),
                     [&](const std::string& name) { return lib::upper(name) == lib::upper(tag); });
}

// Calls `visit` on every record of the business unit whose `field` holds `code`, the next
// record taken before the visit (the visit may rewrite the key or delete the record).
size_t walk(lib::WDBTable& t, const RecodeStep& step, const std::string& negocio, const std::string& code,
            const std::function<void()>& visit) {
  const std::string wanted = lib::trim(code), business = lib::trim(negocio);
  auto matches = [&] { return lib::trim(t.S("NEGOCIO")) == business && lib::trim(t.S(step.field)) == wanted; };
  size_t n = 0;
  if (!step.tag.empty() && hasOrder(t, step.tag)) {
    t.SetOrder(step.tag);
    if (!t.Seek(t.KeyPart("NEGOCIO", negocio) + t.KeyPart(step.field, code))) return 0;
    while (!t.Eof() && matches()) {
      uint32_t current = t.RecNo();
      t.Skip();
      uint32_t next = t.Eof() ? 0 : t.RecNo();
      t.GoTo(current);
      visit();
      ++n;
      if (!next) break;
      t.GoTo(next);
    }
    return n;
  }
  t.SetOrder("");
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    if (!matches()) continue;
    visit();
    ++n;
  }
  return n;
}

// Runs `change` over the step's table when the database has it.
size_t onTable(const RecodeStep& step, CascadeReport* report, const std::function<size_t(lib::WDBTable&)>& change) {
  if (!lib::IS_FILE(nullptr, step.table)) {
    if (report && std::find(report->missing.begin(), report->missing.end(), step.table) == report->missing.end())
      report->missing.push_back(step.table);
    return 0;
  }
  auto t = lib::USE(nullptr, step.table);
  size_t n = change(*t);
  lib::KILLTABLA(t);
  if (report) report->count(step.table, n);
  return n;
}

}  // namespace

void CascadeReport::count(const std::string& table, size_t n) {
  for (auto& [name, records] : changed)
    if (name == table) {
      records += n;
      return;
    }
  changed.push_back({table, n});
}

size_t CascadeReport::records(const std::string& table) const {
  for (const auto& [name, n] : changed)
    if (name == table) return n;
  return 0;
}

std::string CascadeReport::text() const {
  std::string done;
  for (const auto& [name, n] : changed) {
    if (n == 0) continue;
    done += (done.empty() ? "" : ", ") + name + " (" + std::to_string(n) + ")";
  }
  std::string text = done.empty() ? "No había referencias que actualizar." : "Se actualizaron: " + done + ".";
  if (!missing.empty()) {
    std::string names;
    for (const std::string& m : missing) names += (names.empty() ? "" : ", ") + m;
    text += "\rNo existen en esta base de datos: " + names + ".";
  }
  return text;
}

size_t REEMPLAZA_CODIGO(const RecodeStep& step, const std::string& negocio, const std::string& oldCode,
                        const std::string& newCode, CascadeReport* report) {
  if (lib::trim(oldCode) == lib::trim(newCode)) return 0;
  return onTable(step, report, [&](lib::WDBTable& t) {
    return walk(t, step, negocio, oldCode,
                [&] { lib::MODIFY(t, [&] { t.FieldPut(step.field, Value::chars(newCode)); }); });
  });
}

size_t BORRA_REFERENCIAS(const RecodeStep& step, const std::string& negocio, const std::string& code,
                         CascadeReport* report) {
  return onTable(step, report, [&](lib::WDBTable& t) {
    return walk(t, step, negocio, code, [&] { lib::MODIFY(t, [&] { t.Delete(); }); });
  });
}

CascadeReport RECODIFICA(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& oldCode,
                         const std::string& newCode, win::WAIT* wait) {
  CascadeReport report;
  for (const RecodeStep& step : steps) {
    if (wait && step.announce) wait->PUT_TEXT("", "Recodificando " + step.table + "...");
    REEMPLAZA_CODIGO(step, negocio, oldCode, newCode, &report);
  }
  return report;
}

CascadeReport BORRA_CODIGO(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& code,
                           win::WAIT* wait) {
  CascadeReport report;
  for (const RecodeStep& step : steps) {
    if (step.deletes) {
      if (wait && step.announce) wait->PUT_TEXT("", "", "Eliminando referencias en " + step.table + "...");
      BORRA_REFERENCIAS(step, negocio, code, &report);
    } else {
      REEMPLAZA_CODIGO(step, negocio, code, "", &report);
    }
  }
  return report;
}

void AVISA_FALTANTES(const CascadeReport& report) {
  if (!report.missing.empty()) notice(report.text());
}

}  // namespace screens
