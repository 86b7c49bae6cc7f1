// Postings to a register's own folio (account kind 3, one per register period): finding or
// opening that folio, and posting one transaction code to it with the lines the tax rule
// derives, each numbered from the folio's line counter. Used by the cash counts for their
// shortage and overage adjustments.
#pragma once

#include <string>

#include "frontcash/register_periods.h"
#include "lib/money.h"

namespace frontcash {

// Folio line numbers: 4 characters in base 36 ("0"-"9" then "A"-"Z"), zero-padded.
std::string nextConsecutive(const std::string& consecut);

// The register folio of the period starting at `start` exists, or can be opened: the hotel's
// folio series (SERIAL_FOL of F_HOTEL) is among the serial counters.
bool FOLIO_CAJA_POSIBLE(const std::string& negocio, const std::string& caja, const Period& start);

// The register folio of the period starting at `start`: its NUMERO, the folio opened (with
// the next number of the hotel's folio series) when there is none. Throws when the series
// does not exist (check FOLIO_CAJA_POSIBLE first), rather than number a folio with nothing.
std::string FOLIO_CAJA(const std::string& negocio, const std::string& caja, const Period& start);

// Posts `amount` in `currency` under transaction code `code` to folio `numero` at register
// `caja`, with `comment`: the debit or credit side as the code says, converted into the
// folio's posting currency at today's rate, its taxes as separate lines.
void POSTEA_FOLIO(const std::string& negocio, const std::string& caja, const std::string& numero,
                  const std::string& code, lib::Money amount, const std::string& currency, const std::string& comment);

}  // namespace frontcash
