// The cashiering set-up of the demo hotel, in business units "01" and "02": the tree of
// transaction-code groups, the codes a hotel posts under (lodging, food and beverage,
// minibar, telephone, laundry, a half-board package, the tax codes, payments in cash, by
// card, transfer and receivable, deposits, the cash-register operations) with their taxes,
// accounting links, virtual transactions and classifications; the tax types; the payment
// forms; the billing concepts and income groups. The codes, tax types and payment forms the
// parameter part wrote are completed, never written twice.
#pragma once

#include <string>

namespace initdb {

void addCashierDemo(const std::string& home);

}  // namespace initdb
