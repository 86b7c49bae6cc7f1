// Copies of records within their table, for the duplicates of the rates, and deletes by key.
#pragma once

#include <functional>
#include <string>

#include "lib/wdbtable.h"

namespace rates {

// Appends a copy of the table's current record, then `changes` on the copy (inside its add).
void COPIA_REGISTRO(lib::WDBTable& table, const std::function<void()>& changes);

// Copies every record of `table` whose `tag` key begins with `key`, each copy changed by
// `changes` (the copies are appended after the originals were listed: none is copied twice).
void COPIA_REGISTROS(const std::string& table, const std::string& tag, const std::string& key,
                     const std::function<void(lib::WDBTable&)>& changes);

// Deletes every record of `table` whose `tag` key begins with `key`, each under its lock.
void BORRA_REGISTROS(const std::string& table, const std::string& tag, const std::string& key);

}  // namespace rates
