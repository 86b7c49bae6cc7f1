// Changes over a range of records: every record of a table whose key on an order begins
// with a prefix, each changed under its own lock (the record protocol), one at a time, no
// transaction. The records are found before the first is changed, so a record whose key the
// change moves is not met again and none is skipped.
#pragma once

#include <cstddef>
#include <string>

namespace lib {

// `field` := `value` in each; returns how many were rewritten.
size_t REWRITE_RECORDS(const std::string& table, const std::string& tag, const std::string& prefix,
                       const std::string& field, const std::string& value);

// Deletes each; returns how many.
size_t DELETE_RECORDS(const std::string& table, const std::string& tag, const std::string& prefix);

}  // namespace lib
