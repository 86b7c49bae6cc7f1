#include "cashier/tax_rule.h"

namespace cashier {

namespace {

using lib::Money;

__extension__ typedef __int128 Wide;  // exact products and quotients before their one rounding

constexpr Wide kMillion = Money::kOne;
constexpr Wide kHundredPercent = 100 * kMillion;  // 100, in millionths

// An exact value: num / den units, den > 0.
struct Exact {
  Wide num = 0, den = 1;
};

Wide divideRounded(Wide n, Wide d) {
  const Wide q = n / d, r = n % d;
  const Wide twice = (r < 0 ? -r : r) * 2;
  if (twice >= d) return n < 0 ? q - 1 : q + 1;
  return q;
}

// `value` rounded once to `places` decimals, half away from zero.
Money rounded(const Exact& value, int places) {
  Wide scale = 1;
  for (int i = 0; i < places; ++i) scale *= 10;
  const Wide units = divideRounded(value.num * scale, value.den);
  return Money::millionths(int64_t(units * (kMillion / scale)));
}

Money cents(const Exact& value) {
  return rounded(value, 2);
}
Money toMillionth(const Exact& value) {
  return rounded(value, Money::kPlaces);
}

Exact exactly(Money m) {
  return {m.millionths(), kMillion};
}

// value x percent / 100.
Exact percentOf(const Exact& value, Money percent) {
  return {value.num * percent.millionths(), value.den * kHundredPercent};
}

bool isExempt(const std::set<std::string>& exempt, const std::string& tax) {
  return exempt.count(tax) > 0;
}

// Rules 1 to 4 on an amount already converted, appending its lines to `out`.
void deriveSimple(const SimpleRules& rules, const Exact& converted, const std::string& postedCode, bool credit,
                  const std::set<std::string>& exempt, std::vector<TaxLine>& out, TaxLine charge) {
  std::vector<const AppliedTax*> applied;
  Money sum;
  for (const AppliedTax& t : rules.taxes)
    if (!isExempt(exempt, t.code)) {
      applied.push_back(&t);
      sum += t.rate;
    }
  Exact net = converted;
  if (rules.included) {
    const Wide divisor = kHundredPercent + sum.millionths();
    net = divisor == 0 ? Exact{} : Exact{converted.num * kHundredPercent, converted.den * divisor};
  }
  charge.code = rules.code;
  charge.postedCode = postedCode;
  charge.description = rules.description;
  charge.credit = credit;
  charge.included = rules.included;
  charge.base = toMillionth(converted);
  charge.rate = rules.included ? sum : Money();
  charge.exact = toMillionth(net);
  charge.amount = cents(net);
  out.push_back(charge);
  const Money chargeLine = charge.amount;
  Money total = chargeLine;
  for (const AppliedTax* t : applied) {
    const Exact value = percentOf(exactly(chargeLine), t->rate);
    TaxLine line;
    line.code = t->postingCode;
    line.postedCode = postedCode;
    line.component = charge.component;
    line.tax = t->code;
    line.description = t->description;
    line.isTax = true;
    line.credit = credit;
    line.included = rules.included;
    line.base = chargeLine;
    line.rate = t->rate;
    line.exact = toMillionth(value);
    line.amount = cents(value);
    total += line.amount;
    out.push_back(line);
  }
  if (rules.included) {
    const Money shortfall = cents(converted) - total;
    out.back().adjustment = shortfall;
    out.back().amount += shortfall;
  }
}

}  // namespace

std::vector<TaxLine> DERIVA_IMPUESTOS(const CodeRules& rules, Money amount, Money factor,
                                      const std::set<std::string>& exempt) {
  std::vector<TaxLine> out;
  const Exact converted{Wide(amount.millionths()) * factor.millionths(), kMillion * kMillion};
  if (!rules.composite) {
    deriveSimple(rules, converted, rules.code, rules.credit, exempt, out, TaxLine{});
    return out;
  }
  // The shares of the components posted, the last taking the rounding remainder.
  struct Share {
    const Component* component;
    Money amount, adjustment;
  };
  std::vector<Share> shares;
  Money percentages, total;
  for (const Component& c : rules.components) {
    bool skipped = false;
    for (const std::string& tax : c.postsTaxes) skipped = skipped || isExempt(exempt, tax);
    if (skipped) continue;
    const Money share = cents(percentOf(converted, c.percentage));
    shares.push_back({&c, share, Money()});
    percentages += c.percentage;
    total += share;
  }
  if (!shares.empty()) {
    const Money remainder = cents(percentOf(converted, percentages)) - total;
    shares.back().adjustment = remainder;
    shares.back().amount += remainder;
  }
  for (const Share& s : shares) {
    TaxLine charge;
    charge.component = s.component->rules.code;
    charge.share = s.amount;
    charge.sharePercent = s.component->percentage;
    charge.shareAdjustment = s.adjustment;
    deriveSimple(s.component->rules, exactly(s.amount), rules.code, rules.credit, exempt, out, charge);
  }
  return out;
}

}  // namespace cashier
