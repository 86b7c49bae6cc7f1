// What a final closing report said when it was first printed: its grand totals and a
// SHA-256 digest of its content (table HCAJ_DIG, one record per register period). The
// content digested is the report of the period's data in one fixed form (each folio's own
// currency, every line listed), so that the options chosen at a reprint do not matter and
// any change to the lines, invoices or movements behind it does.
#pragma once

#include <string>

#include "frontcash/register_periods.h"

namespace frontcash {

struct ClosingDigest {
  std::string digest;   // 64 hexadecimal digits
  std::string totales;  // "01=1234.50;02=-10.00"
};

ClosingDigest DIGEST_CIERRE(const std::string& negocio, const std::string& caja, const Period& start, const Period& end);

enum class DigestCheck { Recorded, Unchanged, Changed };

// The first time: records the period's digest and totals. Afterwards: whether the report's
// data are still those recorded.
DigestCheck REGISTRA_CIERRE(const std::string& negocio, const std::string& caja, const Period& start,
                            const Period& end);

}  // namespace frontcash
