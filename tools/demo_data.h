// The demo hotel that `configura-initdb --demo` adds to a new program folder.
#pragma once

#include <memory>
#include <string>

#include "xbase/dbf_table.h"

namespace initdb {

// Shared with configura_initdb.cpp: a table of the new folder, opened exclusively.
std::unique_ptr<xbase::DbfTable> openTable(const std::string& home, const std::string& name);
void addBusiness(const std::string& home, const std::string& code, const std::string& name);
void addUser(const std::string& home, const std::string& business, int code, const std::string& login,
             const std::string& fullName, const std::string& abbreviation, const std::string& password,
             bool supervisor);

void addDemoData(const std::string& home, const std::string& password);

}  // namespace initdb
