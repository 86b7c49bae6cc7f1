// The demo hotel that `configura-initdb --demo` adds to a new program folder.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "xbase/dbf_table.h"

namespace initdb {

// Shared with configura_initdb.cpp: a table of the new folder, opened exclusively.
std::unique_ptr<xbase::DbfTable> openTable(const std::string& home, const std::string& name);
void addBusiness(const std::string& home, const std::string& code, const std::string& name);
// A user with one MENUS record per identifier 2000-7000, those in `granted` granted;
// `more` sets further fields of the new USUARIOS record.
void addUser(const std::string& home, const std::string& business, int code, const std::string& login,
             const std::string& fullName, const std::string& abbreviation, const std::string& password, bool supervisor,
             const std::set<int>& granted = {}, const std::function<void(xbase::DbfTable&)>& more = {});

void addDemoData(const std::string& home, const std::string& password);

}  // namespace initdb
