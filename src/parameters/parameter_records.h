// The parameter records of a business unit: one record per business unit in each parameter
// table (F_HOTEL ... F_HOTEL4), created on demand, and the drop-down lists of serial
// counters and accounting links the parameter screens offer.
#pragma once

#include <initializer_list>
#include <string>

namespace lib {
class WDBTable;
}

namespace win {
class WDIAG;
}

namespace parameters {

// Positions `table` (open on its NEGOCIO order) on the business unit's record. When there is
// none, a record is appended with the new-record protocol, only NEGOCIO filled, and released;
// the table is left on it. True when the record had to be created.
bool CREA_PARAMETRO(lib::WDBTable& table, const std::string& negocio);

// Serial counters: of the hotel module "09" (order SERIAL3) or, with allModules, every
// counter of the business unit (order SERIAL4).
void LOAD_SERIALES(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio,
                   bool allModules = false);
// Accounting links of the hotel module "09" (order LIGA3).
void LOAD_LIGAS(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio);

}  // namespace parameters
