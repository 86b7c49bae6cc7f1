// What the tables say about the taxes of a transaction code, for the tax rule (tax_rule.h):
// the code's record (TRANSACS), its applied taxes (DET_IMP links with CHECK1 = 1 whose tax
// type exists in TIPO_IMP, in the order of their tax codes) and, for a composite code, its
// components (DET_TRAN, in the order of their codes) with their own rules.
#pragma once

#include <optional>
#include <string>

#include "cashier/tax_rule.h"
#include "lib/money.h"

namespace cashier {

// The rules of `code` in business unit `negocio`; nullopt when the business has no such
// code. A component the business no longer has is posted under its code without taxes.
std::optional<CodeRules> REGLAS_CARGO(const std::string& negocio, const std::string& code);

// The sum of the rates of every tax type linked to the code with CHECK1 = 1 (a link to a
// tax type the business no longer has counts nothing): what the posting programs divide a
// tax-included amount by.
lib::Money TOT_IMP(const std::string& negocio, const std::string& code);

}  // namespace cashier
