// The closing report of a front-desk register period ("Cierre de Caja"): what the register
// collected between the period's start and end, read from the folio lines posted at it
// (control type "Cargos") or from its prepayment movements ("Pre-Pagos"), and laid out on a
// printed document. Collecting and printing are apart, so that a test (or a digest of what
// was printed) sees exactly the rows the report totals.
//
// Amounts are lib::Money throughout; with no currency chosen ("Ninguna") they stay in each
// folio's own currency and totals are kept per currency in order of first appearance;
// with one chosen, every amount is converted into it on its date and totals are single.
// Missing lookups never stop the report: a line whose code is missing (or not a register
// code, DEPOSITA = 0) is left out, a folio without a valid invoice has none, a movement whose
// concept is missing counts as money out.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frontcash/register_periods.h"
#include "lib/money.h"

namespace screens {
class PRINT_DOC;
}

namespace frontcash {

struct ClosingOptions {
  bool detalle = false;     // "Incluir Detalle"
  bool pos = false;         // "Impresión P.O.S."
  bool compuestas = false;  // "Totalizar Transacciones Compuestas"
  bool resumen = false;     // "Resumen de Transaciones y desglose de facturas"
  std::string moneda;       // "" = "Ninguna"
};

struct ClosingRow {
  std::string numero, numFact, grupo, room, documen, comenta, cTrans, moneda, hora;
  int32_t fecha = 0, cierreDia = 0;
  lib::Money debito, credito;
  // Prepayment movements.
  std::string codRes, numDep, nombre, movimiento, hAnulado;
  lib::Money montoO;
  bool anulado = false;
  int32_t fAnulado = 0;
  // Money in positive, money out negative.
  lib::Money signedAmount() const { return debito.isZero() ? credito : -debito; }
};

struct InvoiceRow {
  std::string numFact, hora, compania, moneda;
  int32_t fecha = 0;
  lib::Money monto;
};

struct SummaryRow {
  std::string codTrans, descrip, moneda;
  lib::Money monto;
};

// Amounts per currency in order of first appearance.
class CurrencyTotals {
 public:
  void add(const std::string& currency, lib::Money amount);
  const std::vector<std::pair<std::string, lib::Money>>& entries() const { return entries_; }
  lib::Money of(const std::string& currency) const;
  bool allZero() const;

 private:
  std::vector<std::pair<std::string, lib::Money>> entries_;
};

struct ClosingData {
  std::string negocio, caja, descrip, cajero;
  Period start, end;
  bool preliminar = false;
  int control = 0;  // T_CONTROL: 0 charges, 1 prepayments
  std::vector<ClosingRow> rows;
  std::vector<InvoiceRow> invoices;   // in invoice-number order
  std::vector<SummaryRow> summary;    // by code and currency
};

// The period as the report sees it: an open one (empty end time) runs to 23:59:59 of its end
// date, today when it has none, and is "Preliminar".
ClosingData RECOGE_CIERRE(const std::string& negocio, const std::string& caja, Period start, Period end,
                          const ClosingOptions& options);

// What the transactions report totals: per transaction code, the grand total and the grand
// total collected (codes with NO_CIERRE = 1 left out of the last).
struct ClosingTotals {
  std::vector<std::pair<std::string, CurrencyTotals>> perCode;  // in code order, codes with rows
  CurrencyTotals grand, collected;
};
ClosingTotals TOTALIZA_CIERRE(const ClosingData& data);

// Lays the report out on `doc` (titles, header, rows, totals, summaries).
void IMPRIME_CIERRE(const ClosingData& data, const ClosingOptions& options, screens::PRINT_DOC& doc);

}  // namespace frontcash
