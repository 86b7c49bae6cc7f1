// The tax rule (cashier/tax_rule.h) on a code with three taxes, included and added, and on a
// composite of three components, against its peer: the same arithmetic in binary floating
// point, which the program never uses for an amount but which shows what exactness costs.
// The target is 200,000 derivations a second. Each run reports derivations per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "cashier/tax_rule.h"

namespace {

using cashier::CodeRules;
using lib::Money;

Money m(const char* text) {
  return *Money::parse(text);
}

CodeRules threeTaxes(bool included) {
  CodeRules r;
  r.code = "HOSP";
  r.description = "Hospedaje";
  r.included = included;
  r.taxes = {{"IVA", "Impuesto al Valor Agregado", m("13"), "IMPV"},
             {"ISH", "Impuesto de Servicio", m("10"), "ISER"},
             {"ICT", "Impuesto de Turismo", m("3"), "IMPT"}};
  return r;
}

// Amounts as a folio holds them: cents up to 10,000.00.
const std::vector<Money>& amounts() {
  static const std::vector<Money> a = [] {
    std::mt19937 rng(7);
    std::vector<Money> out;
    for (int i = 0; i < 4096; ++i) out.push_back(Money::millionths(int64_t(rng() % 1'000'000) * 10'000));
    return out;
  }();
  return a;
}

void derive(benchmark::State& state, const CodeRules& rules, Money factor) {
  const std::vector<Money>& a = amounts();
  size_t i = 0;
  for (auto _ : state) {
    std::vector<cashier::TaxLine> lines = cashier::DERIVA_IMPUESTOS(rules, a[i++ & 4095], factor);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}

void BM_ThreeTaxesIncluded(benchmark::State& state) {
  derive(state, threeTaxes(true), Money::units(1));
}

void BM_ThreeTaxesAdded(benchmark::State& state) {
  derive(state, threeTaxes(false), Money::units(1));
}

void BM_ThreeTaxesIncludedConverted(benchmark::State& state) {
  derive(state, threeTaxes(true), m("512.345678"));
}

void BM_CompositeOfThree(benchmark::State& state) {
  CodeRules package;
  package.code = "PAQ";
  package.composite = true;
  const CodeRules room = threeTaxes(true), food = threeTaxes(false);
  package.components = {{room, m("50"), {}}, {food, m("30"), {}}, {food, m("20"), {}}};
  derive(state, package, Money::units(1));
}

// The peer: the included-tax lines in doubles, rounded per line the way a naive posting
// would round them (and not always to the right cent).
void BM_ThreeTaxesIncludedInDoubles(benchmark::State& state) {
  std::vector<double> a;
  for (Money x : amounts()) a.push_back(x.number());
  const double rates[] = {13, 10, 3};
  size_t i = 0;
  for (auto _ : state) {
    const double amount = a[i++ & 4095];
    double lines[4];
    lines[0] = std::round(amount / 1.26 * 100) / 100;
    double total = lines[0];
    for (int k = 0; k < 3; ++k) {
      lines[k + 1] = std::round(lines[0] * rates[k]) / 100;
      total += lines[k + 1];
    }
    lines[3] += amount - total;
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(int64_t(state.iterations()));
}

}  // namespace

BENCHMARK(BM_ThreeTaxesIncluded)->Name("TaxRule/ThreeTaxesIncluded");
BENCHMARK(BM_ThreeTaxesAdded)->Name("TaxRule/ThreeTaxesAdded");
BENCHMARK(BM_ThreeTaxesIncludedConverted)->Name("TaxRule/ThreeTaxesIncludedConverted");
BENCHMARK(BM_CompositeOfThree)->Name("TaxRule/CompositeOfThreeComponents");
BENCHMARK(BM_ThreeTaxesIncludedInDoubles)->Name("TaxRule/ThreeTaxesIncludedInDoubles");

BENCHMARK_MAIN();
