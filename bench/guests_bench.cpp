// The repeat-guest list at 100,000 guests: the export of all of them (with 30,000 stays) to
// the exchange files, the check and the import of those files into an empty guest list, and
// the list's grid (in the order by name, coloured for the frequent-guest programme) opened and
// searched by name. Every grid operation ends painted. Targets: export and import under 5 s
// each, each grid operation under 20 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "bench/bench_support.h"
#include "guests/guest_exchange.h"
#include "lib/catalogue.h"
#include "lib/globals.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/browse.h"
#include "win/driver.h"
#include "win/resources.h"
#include "win/wdiag.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kGuests = 100000, kStays = 30000;

double millis(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

const char* kTemplate = R"(
GUESTS_BENCH DIALOGEX 0, 0, 560, 220
STYLE WS_CHILD | WS_CAPTION | WS_SYSMENU
CAPTION "Lista de Huéspedes"
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL         "", 700, "WBROWSE", WS_TABSTOP | WS_VSCROLL, 6, 6, 548, 190
    DEFPUSHBUTTON   "&Cerrar", 1, 494, 200, 60, 14
END
)";

const char* kNames[] = {"Ana", "Luis", "María", "José", "Carmen", "Jorge", "Lucía", "Pedro", "Sofía", "Andrés"};
const char* kSurnames[] = {"Mora",    "Vargas",  "Rojas",  "Solís",  "Castro", "Araya", "Chaves", "Quesada",
                           "Jiménez", "Herrera", "Campos", "Brenes", "Méndez", "Ulate", "Porras", "Navarro"};

std::string document(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "P%08d", (i * 7919) % 100000007);
  return text;
}

void makeFolder(const std::string& home, bool withGuests) {
  std::filesystem::remove_all(home);
  for (const char* sub : {"BASES", "PROFILE", "TEMP", "F_IMPORT"})
    std::filesystem::create_directories(home + "/" + sub);
  for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables())
    xbase::DbfTable::create(home + "/BASES/" + t.name + ".DBF", t.fields, t.tags);
  {
    auto hotel = xbase::DbfTable::open(home + "/BASES/F_HOTEL.DBF");
    hotel->append();
    hotel->putString("NEGOCIO", "01");
  }
  if (!withGuests) return;
  auto t = xbase::DbfTable::open(home + "/BASES/H_HUES.DBF");
  t->lockFile();
  const int32_t start = xbase::julianFromYmd(2024, 1, 1);
  for (int i = 0; i < kGuests; ++i) {
    const std::string name = kNames[i % 10], surname = std::string(kSurnames[(i / 10) % 16]) + " " +
                                                       kSurnames[(i / 160) % 16] + " " + std::to_string(i / 2560);
    t->append();
    t->putString("NEGOCIO", "01");
    t->putString("CODIGO", "H" + std::to_string(1000000 + i));
    t->putString("NOMBRE", name);
    t->putString("APELLIDO1", surname);
    t->putString("NOMBRE_C", surname + " " + name);
    t->putString("CEDULA", document(i));
    t->putString("EMAIL", "huesped" + std::to_string(i) + "@correo.com");
    t->putNumber("VALID_MAIL", 1);
    t->putString("TELEFONO1", std::to_string(22000000 + i));
    t->putString("PAIS", "CR");
    t->putString("CIUDAD", "Calle " + std::to_string(i % 90) + ", San José");
    t->putNumber("NAC_DIA", 1 + i % 28);
    t->putNumber("NAC_MES", 1 + i % 12);
    t->putNumber("NAC_ANHO", 1950 + i % 50);
    t->putNumber("CLIEN_FREC", i % 10 == 0 ? 1 : 0);
    t->putNumber("STAT_FREC", i % 30 == 0 ? 1 : 0);
    if (i % 10 == 0) t->putString("CLIENTE_F", "CF" + std::to_string(100000 + i));
    t->putDate("F_ACTUALIZ", start + i % 700);
  }
  t->unlockAll();
  auto stays = xbase::DbfTable::open(home + "/BASES/DET_RES2.DBF");
  stays->lockFile();
  for (int s = 0; s < kStays; ++s) {
    stays->append();
    stays->putString("NEGOCIO", "01");
    stays->putString("COD_RES", std::to_string(100000 + s));
    stays->putString("COD_HAB", "01");
    stays->putString("CODIGO", "01");
    stays->putString("CEDULA", document((s * 3) % kGuests));
    stays->putString("COD_ROOMS", std::to_string(100 + s % 120));
    stays->putNumber("N_ADULT", 2);
  }
  stays->unlockAll();
}

const std::string& source() {
  static const std::string home = [] {
    std::string h = bench::scratch("guests");
    makeFolder(h, true);
    return h;
  }();
  return home;
}

void useFolder(const std::string& home) {
  lib::Globals& g = lib::resetGlobals();
  g.PATH = home + "/";
  g.DEF_RDD = "DBFCDX";
  g.windowsUser = [] { return std::string("bench"); };
  g.computerName = [] { return std::string("BENCH"); };
}

void BM_Export(benchmark::State& state) {
  useFolder(source());
  guests::ExportResult result;
  for (auto _ : state) {
    auto start = Clock::now();
    result = guests::EXPORTA_HUESPEDES("01", 0, "BENCH");
    state.SetIterationTime(millis(start) / 1000);
  }
  if (result.guests != kGuests) state.SkipWithError("not every guest was exported");
  state.counters["guests"] = result.guests;
  state.counters["stays"] = result.stays;
}

// Into an empty guest list each time (made again outside the timing).
void BM_Import(benchmark::State& state) {
  const std::string target = bench::scratch("guests_target");
  guests::ImportResult result;
  double checking = 0;
  for (auto _ : state) {
    state.PauseTiming();
    useFolder(source());
    guests::EXPORTA_HUESPEDES("01", 0, "BENCH");
    makeFolder(target, false);
    for (const char* file : {"EHBENCH.DBF", "EHBENCH.FPT", "RHBENCH.DBF"})
      if (std::filesystem::exists(source() + "/F_EXPORT/" + file))
        std::filesystem::copy_file(source() + "/F_EXPORT/" + file, target + "/F_IMPORT/" + file);
    useFolder(target);
    state.ResumeTiming();
    auto start = Clock::now();
    const guests::ImportCheck check = guests::CHECK_IMPORT("02", "BENCH");
    checking = millis(start);
    result = guests::IMPORTA_HUESPEDES("02", "BENCH", check);
    state.SetIterationTime(millis(start) / 1000);
  }
  if (result.added != kGuests) state.SkipWithError("not every guest was imported");
  state.counters["check_ms"] = checking;
  state.counters["added"] = result.added;
  state.counters["stays"] = result.stays;
}

// The list's grid as "Lista de Huéspedes" builds it: by name, scoped to the business unit,
// its four columns, members of the programme coloured.
class GUEST_LIST : public win::WDIAG, public win::ADD2BROWSE {
 public:
  GUEST_LIST() {
    NEGOCIO = "01";
    H_HUES = lib::USE(this, "H_HUES", "H_HUES9");
    if (!Init(nullptr, "GUESTS_BENCH")) return;
    OB = std::make_unique<win::WBLISTBOX>(this, 700, H_HUES.get());
    ADD(OB.get());
    CREATE("GUESTS_BENCH");
    lib::WDBTable* t = H_HUES.get();
    win::AGREGARCOL(*OB, t, "Nombre", "NOMBRE_C", std::string(40, 'X'));
    win::AGREGARCOL(*OB, t, "Cédula", "CEDULA", std::string(20, 'X'));
    win::AGREGARCOL(*OB, t, "#Cliente Frec", "CLIENTE_F", std::string(15, 'X'));
    win::AGREGARCOL(*OB, t, "email", "EMAIL", std::string(40, 'X'));
    OB->rowColorBlock = [t](win::WBLISTBOX&) -> std::optional<uint32_t> {
      if (t->N("CLIEN_FREC") != 1) return std::nullopt;
      return t->N("STAT_FREC") == 1 ? 0xFFFF80u : 0x5AFF5Au;
    };
    frame()->show();
    QCoreApplication::processEvents();
    BROWMARKS(*OB, {{1, "H_HUES9"}, {2, "H_HUES4"}, {3, "H_HUES14"}}, 1, NEGOCIO);
    paint();
  }
  ~GUEST_LIST() override {
    OB.reset();
    lib::KILLTABLA(H_HUES);
  }
  void paint() { OB->view()->viewport()->repaint(); }

  std::unique_ptr<lib::WDBTable> H_HUES;
  std::unique_ptr<win::WBLISTBOX> OB;
};

void setUpScreens() {
  static bool done = false;
  if (done) return;
  done = true;
  setenv("CONFIGURA_WINDIR", (source() + "/WINDOWS").c_str(), 1);
  useFolder(source());
  win::Driver::instance().install();
  win::addResourceScript(kTemplate, "guests_bench.rc");
  delete new GUEST_LIST;  // Qt's one-time set-up of a first window is not the list's cost
  QCoreApplication::processEvents();
}

void BM_OpenList(benchmark::State& state) {
  setUpScreens();
  double worst = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    auto* s = new GUEST_LIST;
    const double t = millis(start);
    state.SetIterationTime(t / 1000);
    worst = std::max(worst, t);
    if (s->OB->nMaxRec != kGuests) state.SkipWithError("the scope does not hold every guest");
    s->ENDDIALOG();
    delete s;
    QCoreApplication::processEvents();
  }
  state.counters["worst_ms"] = worst;
}

// The quick search by name: a different surname each time, the row found painted first.
void BM_SearchByName(benchmark::State& state) {
  setUpScreens();
  static GUEST_LIST* s = new GUEST_LIST;
  double worst = 0;
  int i = 0;
  for (auto _ : state) {
    ++i;
    const std::string key = lib::upper(std::string(kSurnames[i % 16]) + " " + kSurnames[(i * 7) % 16]);
    auto start = Clock::now();
    const bool found = s->SEARCH(*s->OB, key);
    s->paint();
    const double t = millis(start);
    state.SetIterationTime(t / 1000);
    worst = std::max(worst, t);
    if (!found && s->H_HUES->Eof()) state.SkipWithError("the search found nothing");
  }
  state.counters["worst_ms"] = worst;
}

BENCHMARK(BM_Export)->Name("Guests/Export100k")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_Import)->Name("Guests/Import100k")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_OpenList)->Name("Guests/OpenList")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_SearchByName)->Name("Guests/SearchByName")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::printf("Building the %d-guest list...\n", kGuests);
  std::fflush(stdout);
  source();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
