#include "lib/record_walks.h"

#include <functional>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/use.h"

namespace lib {

namespace {

size_t eachFound(const std::string& table, const std::string& tag, const std::string& prefix,
                 const std::function<void(WDBTable&)>& change) {
  auto t = USE(nullptr, table, tag);
  std::vector<uint32_t> found;
  t->SetScope(prefix);
  for (t->GoTop(); !t->Eof(); t->Skip())
    if (!t->Deleted()) found.push_back(t->RecNo());
  t->ClearScope();
  for (uint32_t r : found) {
    t->GoTo(r);
    MODIFY(*t, [&] { change(*t); });
  }
  KILLTABLA(t);
  return found.size();
}

}  // namespace

size_t REWRITE_RECORDS(const std::string& table, const std::string& tag, const std::string& prefix,
                       const std::string& field, const std::string& value) {
  return eachFound(table, tag, prefix, [&](WDBTable& t) { t.FieldPut(field, Value::chars(value)); });
}

size_t DELETE_RECORDS(const std::string& table, const std::string& tag, const std::string& prefix) {
  return eachFound(table, tag, prefix, [](WDBTable& t) { t.Delete(); });
}

}  // namespace lib
