// Cash counts of a front-desk register: the balance each currency should hold (the previous
// closing's balance plus the period's cash movements), the money counted, and every
// difference posted to the period's register folio as a shortage (T_FALTANTE of F_HOTEL)
// or an overage (T_SOBRANTE) adjustment. A closing count ends the period and closes the
// register; an additional count leaves both open. Nothing is rolled back: a count
// interrupted half-way leaves what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontcash/register_periods.h"
#include "lib/money.h"

namespace frontcash {

struct CountRow {
  std::string moneda, simbolo, descrip;
  lib::Money expected, counted;
  lib::Money difference() const { return counted - expected; }
};

// The register's open period (record number in DET_HCAJ), 0 when it has none.
uint32_t PERIODO_ABIERTO(const std::string& negocio, const std::string& caja);

// One row per currency of the business unit with its expected balance for the period that
// starts at `start`: the previous period's closing balances plus the cash lines posted at
// the register since the start (codes asking for a register, not excluded from it, not
// cards; adjustments count 0), each in its original currency.
std::vector<CountRow> SALDO_ESPERADO(const std::string& negocio, const std::string& caja, const Period& start);

// Closes the period `periodRecno` of register `caja`. With `counted`, the rows' counted
// amounts are the closing balances and each difference is posted; without (the operator
// declined to count), the expected balances are stored and nothing is posted. Either way the
// register folio exists afterwards, the register is closed and the period ended now.
void CIERRE_CON_ARQUEO(const std::string& negocio, const std::string& caja, uint32_t periodRecno,
                       const std::vector<CountRow>& rows, bool counted);

// An additional count of the open period `periodRecno`, over the span entered: its header
// and amounts recorded and each difference posted. "" when done, else why it was refused
// (the span starts before the period).
std::string ARQUEO_ADICIONAL(const std::string& negocio, const std::string& caja, uint32_t periodRecno,
                             const Period& from, const Period& to, const std::vector<CountRow>& rows);

}  // namespace frontcash
