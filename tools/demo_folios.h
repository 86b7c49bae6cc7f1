// A month of the demo front desk (business unit "01", 14/04/24 to 13/05/24): the guests'
// folios with their room and food charges and taxes, paid at check-out in cash (colones,
// dollars or euros) or by card at the front-desk register 01 and invoiced; the register's
// daily periods, each with its register folio (the opening float, money handed over at the
// end of the shift) and its closing balances, which are the previous balances plus the
// period's cash, to the cent; the prepayment register 03's daily periods with deposits
// received and returned, one annulled the day it was made and one annulled days later.
// Register 01's period of 14/05/24 stays open, with charges and card payments only.
#pragma once

#include <string>

namespace initdb {

void addFrontDeskMonth(const std::string& home);

}  // namespace initdb
