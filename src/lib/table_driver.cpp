#include "lib/table_driver.h"

#include "xbase/file.h"

namespace lib {

std::vector<xbase::FieldSpec> LocalTable::structure() const {
  std::vector<xbase::FieldSpec> specs;
  for (int i = 0; i < t_->fieldCount(); ++i) {
    const xbase::Field& f = t_->field(i);
    specs.push_back({f.name, f.type, f.length, f.decimals, f.nullable(), f.binary()});
  }
  return specs;
}

std::unique_ptr<TableDriver> LocalDriver::open(const std::string& path, bool shared, bool readOnly) {
  auto t = xbase::DbfTable::open(path, xbase::OpenOptions{shared, readOnly});
  t->setDeletedHidden(true);  // the program runs with deleted records hidden
  return std::make_unique<LocalTable>(std::move(t));
}

void LocalDriver::create(const std::string& path, const std::vector<xbase::FieldSpec>& fields) {
  xbase::DbfTable::create(path, fields);
}

bool LocalDriver::exists(const std::string& path) {
  return xbase::fileExists(path);
}

}  // namespace lib
