#include "rooms/recode.h"

#include <functional>

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/room_util.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

// Calls `visit` on every record of the business unit whose `field` holds `code`, the next
// record taken before the visit (the visit may rewrite the key or delete the record).
size_t walk(lib::WDBTable& t, const RecodeStep& step, const std::string& negocio, const std::string& code,
            const std::function<void()>& visit) {
  const std::string wanted = trim(code), business = trim(negocio);
  auto matches = [&] { return t.S("NEGOCIO") == business && trim(t.S(step.field)) == wanted; };
  size_t n = 0;
  if (!step.tag.empty()) {
    t.SetOrder(step.tag);
    if (!t.Seek(keyPart(t, "NEGOCIO", negocio) + keyPart(t, step.field, code))) return 0;
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

}  // namespace

size_t REEMPLAZA_CODIGO(const RecodeStep& step, const std::string& negocio, const std::string& oldCode,
                        const std::string& newCode) {
  if (trim(oldCode) == trim(newCode)) return 0;
  auto t = lib::USE(nullptr, step.table);
  size_t n = walk(*t, step, negocio, oldCode,
                  [&] { lib::MODIFY(*t, [&] { t->FieldPut(step.field, Value::chars(newCode)); }); });
  lib::KILLTABLA(t);
  return n;
}

void RECODIFICA(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& oldCode,
                const std::string& newCode, win::WAIT* wait) {
  for (const RecodeStep& step : steps) {
    if (wait && step.announce) wait->PUT_TEXT("", "Recodificando " + step.table + "...");
    REEMPLAZA_CODIGO(step, negocio, oldCode, newCode);
  }
}

size_t BORRA_REFERENCIAS(const RecodeStep& step, const std::string& negocio, const std::string& code) {
  auto t = lib::USE(nullptr, step.table);
  size_t n = walk(*t, step, negocio, code, [&] { lib::MODIFY(*t, [&] { t->Delete(); }); });
  lib::KILLTABLA(t);
  return n;
}

}  // namespace rooms
