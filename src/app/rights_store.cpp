#include "app/rights_store.h"

#include <set>

#include "app/rights.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"

namespace app {

namespace {

using lib::Value;

const char* tableOf(RightsOf owner) {
  return owner == RightsOf::User ? "MENUS" : "DET_PERF";
}

constexpr size_t kRights = size_t(kLastRight - kFirstRight + 1);

}  // namespace

std::string rightsKey(const std::string& business, int code) {
  return lib::businessKey(business) + lib::STR(code, 8);
}

std::string rightsKey(const std::string& business, int code, int id) {
  return rightsKey(business, code) + lib::STR(id, 8);
}

void createRights(RightsOf owner, const std::string& business, int code) {
  writeRights(owner, business, code, std::vector<bool>(kRights, false));
}

std::vector<bool> readRights(RightsOf owner, const std::string& business, int code) {
  std::vector<bool> granted(kRights, false);
  auto t = lib::USE(nullptr, tableOf(owner), tableOf(owner));
  std::string prefix = rightsKey(business, code);
  t->SetScope(Value::chars(prefix), Value::chars(prefix));
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    int id = int(t->N("ID"));
    if (id >= kFirstRight && id <= kLastRight) granted[size_t(id - kFirstRight)] = t->L("CHECK_ID");
  }
  return granted;
}

void writeRights(RightsOf owner, const std::string& business, int code, const std::vector<bool>& granted,
                 const std::function<void()>& progress) {
  auto t = lib::USE(nullptr, tableOf(owner), tableOf(owner));
  std::string prefix = rightsKey(business, code);
  // The records there are, in identifier order; the missing ones are added afterwards.
  std::set<int> present;
  t->SetScope(Value::chars(prefix), Value::chars(prefix));
  int count = 0;
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    int id = int(t->N("ID"));
    if (id < kFirstRight || id > kLastRight) continue;
    present.insert(id);
    bool want = granted[size_t(id - kFirstRight)];
    if (t->L("CHECK_ID") != want) lib::MODIFY(*t, [&] { t->FieldPut("CHECK_ID", Value::boolean(want)); });
    if (progress && ++count % 500 == 0) progress();
  }
  t->ClearScope();
  for (int id = kFirstRight; id <= kLastRight; ++id) {
    if (present.count(id)) continue;
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars(business));
      t->FieldPut("CODIGO", Value::num(code));
      t->FieldPut("ID", Value::num(id));
      t->FieldPut("CHECK_ID", Value::boolean(granted[size_t(id - kFirstRight)]));
    });
    if (progress && ++count % 500 == 0) progress();
  }
}

void deleteRights(RightsOf owner, const std::string& business, int code) {
  deleteWhere(tableOf(owner), tableOf(owner), rightsKey(business, code));
}

int firstFreeCode(lib::WDBTable& table, const std::string& business) {
  std::set<int> used;
  uint32_t at = table.RecNo();
  std::string key = lib::businessKey(business);
  table.SetScope(Value::chars(key), Value::chars(key));
  for (table.GoTop(); !table.Eof(); table.Skip()) used.insert(int(table.N("CODIGO")));
  table.ClearScope();
  table.GoTo(at);
  int code = 1;
  while (used.count(code)) ++code;
  return code;
}

void deleteWhere(const std::string& tableName, const std::string& tag, const std::string& prefix) {
  if (!lib::IS_FILE(nullptr, tableName)) return;
  auto t = lib::USE(nullptr, tableName, tag);
  std::vector<uint32_t> found;
  t->SetScope(Value::chars(prefix), Value::chars(prefix));
  for (t->GoTop(); !t->Eof(); t->Skip()) found.push_back(t->RecNo());
  t->ClearScope();
  for (uint32_t recno : found) {
    t->GoTo(recno);
    lib::MODIFY(*t, [&] { t->Delete(); });
  }
}

}  // namespace app
