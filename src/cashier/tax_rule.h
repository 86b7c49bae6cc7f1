// The tax rule of the suite: the lines a posting under a transaction code writes, derived
// on exact decimals from what the code says (CodeRules: its applied taxes, whether its
// amounts include them, its components). The posting programs, the "Simular Impuestos..."
// entry of the transaction codes and the tests derive the lines here, and nowhere else.
//
// The rule, for an amount A typed under a code, an exchange factor F (1 when the amount is
// already in the posting currency) and the folio's exemptions:
//
//  1. The applied taxes are the code's taxes less those the folio is exempt from; P is the
//     sum of their rates (percent). The amount is converted first: G = A x F.
//  2. Taxes included (IMP_INCLU = 1): the charge line is G / (1 + P / 100); otherwise G.
//  3. Each applied tax adds a line under the tax type's own transaction code: the charge
//     line x its rate / 100. A tax is never computed on another tax.
//  4. Every line is rounded to cents once, half away from zero, from the exact value
//     (nothing is rounded twice on the way). With taxes included, whatever the rounded lines
//     fall short of G rounded to cents (or exceed it) is added to the last line, so that
//     they add up to the amount typed; with taxes added nothing is adjusted.
//  5. A composite code posts its components instead. Component i takes the share
//     G x pct_i / 100 rounded to cents; the last share posted takes the rounding remainder,
//     so that the shares add up to G x (sum of the shares' percentages) / 100 rounded to
//     cents — the amount itself, to the cent, when the percentages total 100. A component
//     that is the posting code of a tax the folio is exempt from is not posted. Each share
//     is then posted under its component by rules 1 to 4 (the component's own taxes, included
//     or added as the component says), already converted.
//  6. Every line is on the side of the code typed: credit when it posts credits, else debit.
//
// Rates, factors and percentages are those of the tables (a few decimals); amounts up to
// the largest numeric field of the folios (14 digits) are derived exactly.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "lib/money.h"

namespace cashier {

// A tax type linked to a code and applied (DET_IMP with CHECK1 = 1, its TIPO_IMP record).
struct AppliedTax {
  std::string code;         // TIPO_IMP.CODIGO
  std::string description;  // TIPO_IMP.DESCRIP
  lib::Money rate;          // TIPO_IMP.MONTO, percent
  std::string postingCode;  // TIPO_IMP.COD_TRANS: the code its lines post under
};

// What a simple (not composite) code says about its taxes.
struct SimpleRules {
  std::string code, description;
  bool credit = false;    // CREDITO: posts credits (payments)
  bool included = false;  // IMP_INCLU: the amounts typed include the taxes
  std::vector<AppliedTax> taxes;
};

struct Component;

struct CodeRules : SimpleRules {
  bool composite = false;  // SUB_TRAN: posts its components instead
  std::vector<Component> components;
};

struct Component {
  SimpleRules rules;        // of the component code
  lib::Money percentage;    // DET_TRAN.PORCENTAJE: its share of the amount
  std::vector<std::string> postsTaxes;  // the tax types whose posting code is this component
};

// One line of a posting, and how it came about.
struct TaxLine {
  std::string code;        // the line's transaction code (COD_TRANS)
  std::string postedCode;  // the code typed (COD_TRAN)
  std::string component;   // the component whose share this line belongs to ("" for a simple code)
  std::string tax;         // the tax type of a tax line; "" for a charge or share line
  std::string description;
  bool isTax = false;      // SI_IMP
  bool credit = false;
  bool included = false;   // the amounts of the line's code include its taxes
  lib::Money amount;       // as posted: rounded to cents, the adjustment included
  // The rule behind the line: `base` is what `rate` (percent) was applied to — for a charge
  // line the converted amount (or its share of a composite) with, when its taxes are
  // included, the sum of their rates divided out (0 when added); for a tax line its charge
  // line. `exact` is the value before rounding (to the millionth), `adjustment` what was
  // added to it to make the lines add up.
  lib::Money base, rate, exact, adjustment;
  // A charge line of a component: its share of the composite's converted amount, the
  // share's percentage, and the rounding remainder the last share took.
  lib::Money share, sharePercent, shareAdjustment;
};

// The lines of amount `amount` typed under `rules`, converted with `factor`, for a folio
// exempt from the tax types `exempt` (codes without trailing blanks). In posting order:
// the charge line, then its tax lines; for a composite, each share followed by its taxes.
std::vector<TaxLine> DERIVA_IMPUESTOS(const CodeRules& rules, lib::Money amount,
                                      lib::Money factor = lib::Money::units(1),
                                      const std::set<std::string>& exempt = {});

}  // namespace cashier
