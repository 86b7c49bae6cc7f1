// The uniqueness check of every editor: a code is unique within its business unit.
#pragma once

#include <cstdint>
#include <string>

namespace lib {
class WDBTable;
}

namespace screens {

// Another record of the business unit holds `code`: seeks NEGOCIO + code on the table's
// current order (which begins with them); a hit on `editing` (the record being modified, 0
// when adding) is skipped. The table is left on `editing` when one is given.
bool CODIGO_DEFINIDO(lib::WDBTable& table, const std::string& negocio, const std::string& code, uint32_t editing);

}  // namespace screens
