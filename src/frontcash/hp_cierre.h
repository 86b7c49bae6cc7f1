// "Impresión de Cierre de Caja" (dialog HP_CIERRE): the closing report of one register
// period with its options — detail, point-of-sale layout, composite codes totalled, the
// invoice summary, the currency the amounts are shown in ("Ninguna": each folio's own) —
// printed on the register's printer profile, after the printer set-up and a preview.
// Cancelling the set-up leaves the window open with nothing printed.
#pragma once

#include <string>

#include "frontcash/register_periods.h"

namespace win {
class WDIAG;
}

namespace frontcash {

// The name of the PDF the report is written to under the test driver.
std::string closingPdfName(const std::string& caja);

// Runs the dialog over `owner` for the period; true when the report was printed.
bool HP_CIERRE(win::WDIAG* owner, const std::string& negocio, const std::string& caja, const Period& start,
               const Period& end);

}  // namespace frontcash
