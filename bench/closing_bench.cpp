// The closing report of one register period holding 20,000 folio lines in three folio
// currencies ("Ninguna", with detail): collected from the lines, laid out and written to a
// PDF, as "Imprimir Cierre" does. Reports the lines per second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "frontcash/closing_report.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "screens/print_document.h"
#include "xbase/date.h"

namespace {

constexpr int kLines = 20000;

const std::string& hotel() {
  static const std::string home = [] {
    std::string folder = bench::scratch("closing") + "/";
    const std::string command = std::string(INITDB_PATH) + " " + folder + " --demo >/dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
    lib::Globals& g = lib::G();
    g.PATH = folder;
    g.DEF_RDD = "DBFCDX";
    g.EXT_MODULO = "CNF";
    const char* folios[] = {"B-COL", "B-USD", "B-EUR"};
    const char* currencies[] = {"01", "02", "03"};
    auto headers = lib::USE(nullptr, "ENC_FOL");
    for (int i = 0; i < 3; ++i)
      lib::ADD(*headers, [&] {
        headers->FieldPut("NEGOCIO", lib::Value::chars("01"));
        headers->FieldPut("NUMERO", lib::Value::chars(folios[i]));
        headers->FieldPut("MONEDA", lib::Value::chars(currencies[i]));
      });
    lib::KILLTABLA(headers);
    const char* codes[] = {"EFEC", "TARJ", "TRAN", "DEPO", "HOSP"};
    std::mt19937 random(7);
    auto lines = lib::USE(nullptr, "DET_FOL");
    const int32_t day = xbase::julianFromYmd(2024, 5, 14);
    for (int n = 0; n < kLines; ++n)
      lib::ADD(*lines, [&] {
        char hora[9];
        std::snprintf(hora, sizeof hora, "%02d:%02d:%02d", n / 3600 % 24, n / 60 % 60, n % 60);
        lines->FieldPut("NEGOCIO", lib::Value::chars("01"));
        lines->FieldPut("NUMERO", lib::Value::chars(folios[random() % 3]));
        lines->FieldPut("CAJA", lib::Value::chars("02"));
        lines->FieldPut("FECHA", lib::Value::date(day));
        lines->FieldPut("HORA", lib::Value::chars(hora));
        lines->FieldPut("COD_TRANS", lib::Value::chars(codes[random() % 5]));
        lines->FieldPut("CREDITO", lib::Money::millionths(static_cast<int64_t>(random() % 100000) * 10000));
      });
    lib::KILLTABLA(lines);
    return folder;
  }();
  return home;
}

void ClosingReport20000Lines(benchmark::State& state) {
  const std::string home = hotel();
  frontcash::ClosingOptions options;
  options.detalle = true;
  size_t rows = 0;
  for (auto _ : state) {
    const frontcash::ClosingData data = frontcash::RECOGE_CIERRE(
        "01", "02", {xbase::julianFromYmd(2024, 5, 14), "00:00:00"}, {xbase::julianFromYmd(2024, 5, 14), "23:59:59"}, options);
    screens::PRINT_DOC doc("Cierre de Caja", "CIERRE.PDF");
    frontcash::IMPRIME_CIERRE(data, options, doc);
    if (!doc.TO_PDF(home + "TEMP/CIERRE.PDF")) state.SkipWithError("no PDF");
    rows = data.rows.size();
    benchmark::DoNotOptimize(doc.pages());
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kLines) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(ClosingReport20000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
