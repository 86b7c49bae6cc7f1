#include "rates/copia.h"

#include <vector>

#include "lib/record_protocol.h"
#include "lib/use.h"

namespace rates {

void COPIA_REGISTRO(lib::WDBTable& t, const std::function<void()>& changes) {
  std::vector<lib::Value> values;
  for (int i = 1; i <= t.FCount(); ++i) values.push_back(t.FieldGet(i));
  lib::ADD(t, [&] {
    for (int i = 1; i <= t.FCount(); ++i) t.FieldPut(i, values[size_t(i - 1)]);
    changes();
  });
}

namespace {

std::vector<uint32_t> recordsOf(lib::WDBTable& t, const std::string& key) {
  std::vector<uint32_t> records;
  t.SetScope(key);
  for (t.GoTop(); !t.Eof(); t.Skip()) records.push_back(t.RecNo());
  t.ClearScope();
  return records;
}

}  // namespace

void COPIA_REGISTROS(const std::string& table, const std::string& tag, const std::string& key,
                     const std::function<void(lib::WDBTable&)>& changes) {
  auto t = lib::USE(nullptr, table, tag);
  for (uint32_t r : recordsOf(*t, key)) {
    t->GoTo(r);
    COPIA_REGISTRO(*t, [&] { changes(*t); });
  }
}

void BORRA_REGISTROS(const std::string& table, const std::string& tag, const std::string& key) {
  auto t = lib::USE(nullptr, table, tag);
  for (uint32_t r : recordsOf(*t, key)) {
    t->GoTo(r);
    if (!t->Deleted()) lib::MODIFY(*t, [&] { t->Delete(); });
  }
}

}  // namespace rates
