// The front-desk cash of the demo hotel (business unit "01"): three registers — the front
// desk (closed with a cash count, additional counts allowed), the night auditor (a normal
// closing) and the prepayment register — with their operators, a few recorded periods
// (closed ones with their balances, and the front desk's open one), and the display
// stations the printer profiles route kitchen orders to.
#pragma once

#include <string>

namespace initdb {

void addFrontCashDemo(const std::string& home);

}  // namespace initdb
