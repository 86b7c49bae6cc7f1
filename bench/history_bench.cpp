// What the change history adds to an editor's save on the table files: a room type changed
// under its record lock as an editor's form saves it (two fields changed), without and with
// the history (the record's image before, one HIST_CAM record per changed field after, in
// the same lock). The history table grows as the runs go, as it does in a hotel.
//
// The figure that matters is the difference of the two, per save (the budget is 5 ms).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/bench_support.h"
#include "lib/catalogue.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "screens/history.h"
#include "xbase/dbf_table.h"

namespace {

constexpr int kTypes = 50;

void setUpProgram() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::string home = bench::scratch("history");
  for (const char* sub : {"BASES", "PROFILE", "TEMP"}) std::filesystem::create_directories(home + "/" + sub);
  lib::Globals& g = lib::resetGlobals();
  g.PATH = home + "/";
  g.DEF_RDD = "DBFCDX";
  g.XUSER_ABREVIA = "ADM";
  g.windowsUser = [] { return std::string("bench"); };
  g.computerName = [] { return std::string("BENCH"); };
  const lib::CatalogueTable* c = lib::Catalogue::builtIn().find("TIPO_ROM");
  xbase::DbfTable::create(home + "/BASES/TIPO_ROM.DBF", c->fields, c->tags);
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  for (int i = 0; i < kTypes; ++i)
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", lib::Value::chars("01"));
      t->FieldPut("CODIGO", lib::Value::chars("T" + std::to_string(i)));
      t->FieldPut("DESCRIP", lib::Value::chars("Tipo " + std::to_string(i)));
    });
  lib::KILLTABLA(t);
  screens::CREA_HISTORIAL();
}

// One save: two fields of a type take new values, the others are written unchanged.
void save(lib::WDBTable& t, int64_t n, bool history) {
  t.GoTo(uint32_t(n % kTypes) + 1);
  lib::MODIFY(t, [&] {
    screens::RecordImage before;
    if (history) before = screens::IMAGEN(t);
    t.FieldPut("DESCRIP", lib::Value::chars("Tipo modificado " + std::to_string(n)));
    t.FieldPut("FACTOR", lib::Value::num(double(n % 1000) / 10));
    t.FieldPut("CANT_ADULT", t.FieldGet("CANT_ADULT"));
    if (history) screens::REGISTRA_CAMBIOS(t, before);
  });
}

void EditorSave(benchmark::State& state) {
  setUpProgram();
  const bool history = state.range(0) == 1;
  auto t = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
  int64_t n = 0;
  for (auto _ : state) save(*t, n++, history);
  lib::KILLTABLA(t);
  state.SetLabel(history ? "con historial" : "sin historial");
}
BENCHMARK(EditorSave)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCH_MAIN()
