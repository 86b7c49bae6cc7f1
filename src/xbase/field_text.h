// The text form of field values used by dumps and loads: one line per record, fields
// separated by tabs. Character fields are right-trimmed, numbers as the file holds them,
// dates YYYYMMDD (empty for an empty date), logicals T/F, date-times YYYYMMDDhhmmss.
// Backslash, tab, carriage return and line feed inside a value are written \\ \t \r \n;
// any other control character, and every byte that is not part of a well-formed UTF-8
// character (binary fields and memos, blobs, damaged bytes), as \xNN (two hex digits), so
// the text is always valid UTF-8. Reading back turns each escape into its byte again.
#pragma once

#include <string>
#include <string_view>

#include "xbase/dbf_table.h"

namespace xbase {

std::string escapeFieldText(std::string_view text);
std::string unescapeFieldText(std::string_view text);

// Field `i` of the table's current record in text form (escaped).
std::string formatFieldText(const DbfTable& table, int i);
// The value that `text` (escaped) stands for in field `f`; nullopt for an empty text in
// a non-character field, which leaves the field blank. Throws EG_DATATYPE on bad text.
std::optional<Value> parseFieldText(const Field& f, std::string_view text);

}  // namespace xbase
