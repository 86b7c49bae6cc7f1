// Where the codes of this subsystem are named in other tables: what a changed code is
// carried into and what a deleted one takes with it (screens/recode.h does the walking).
#pragma once

#include <string>
#include <vector>

#include "screens/recode.h"

namespace win {
class WAIT;
}

namespace cashier {

// A transaction code: the folio lines posted under it (and the tax lines of its postings),
// the rate breakdowns, the tax types that post under it, its allowed users, the hotel
// articles; and, so that nothing of the code is left behind under its former code, its own
// tax links, components (as a composite and as a component of others), sub-transactions,
// the payment forms that post under it and the money operations of other codes.
const std::vector<screens::RecodeStep>& CODE_REFERENCES();

// A changed transaction code carried into every table of CODE_REFERENCES and into the
// income groups that list it (their transaction-code members only).
screens::CascadeReport RECODIFICA_CARGO(const std::string& negocio, const std::string& oldCode,
                                        const std::string& newCode, win::WAIT* wait);

// A deleted transaction code: the records that belong to it alone go (its tax links,
// components, sub-transactions, allowed users, the rows that made it a component of other
// codes, its income-group memberships), the hotel articles keep no reference to it.
screens::CascadeReport BORRA_CARGO(const std::string& negocio, const std::string& code, win::WAIT* wait);

// A tax type: its links to the transaction codes.
const std::vector<screens::RecodeStep>& TAX_REFERENCES();

}  // namespace cashier
