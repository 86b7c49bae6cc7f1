// The database-wide settings read at start-up into the process-wide state: system
// parameters (F_SYS), mail parameters (DEFMAIL), selectable fonts (FONTS), the caption
// translations of a business (TRADUCT), its exchange-rate handling (NEGOCIOS.MANEJO_TC)
// and the tables registered for text search (F_TXT_S). Every field is optional; a missing
// one leaves its default.
#pragma once

#include <string>

namespace app {

void LOAD_F_SYS();  // includes the local temporary folder
void LOAD_DEFMAIL();
void LOAD_FONTS();
void LOAD_TRADUCT(const std::string& business);
void LOAD_MANEJO_TC(const std::string& business);
void LOAD_TXT_SRCH();

}  // namespace app
