// "Simular Impuestos..." of the transaction codes: for the code under the cursor, an
// amount, its currency and a date (which choose the exchange factor of the code's rate slot)
// and the tax types the folio would be exempt from give the lines a posting would write
// (tax_rule.h), each with the rule that produced it, and their total. Nothing is written:
// administrators check a new tax set-up here before a posting program uses it.
#pragma once

#include <string>

#include "cashier/tax_rule.h"

namespace win {
class WDIAG;
}

namespace cashier {

// The rule behind a line, as the simulation shows it: which tax or share, of what base, at
// what rate, taxes included or added, and the rounding ("13.00 % de 100.00 = 13.00").
std::string REGLA(const TaxLine& line);

// The modal dialog SIMULA_IMP over `owner` for `code` of business unit `negocio`.
void SIMULA_IMPUESTOS(win::WDIAG* owner, const std::string& negocio, const std::string& code);

}  // namespace cashier
