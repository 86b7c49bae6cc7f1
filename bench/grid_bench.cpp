// The browse grid over a 1,000,000-record table scoped to half of it (business 01): opening
// the screen, jumping to the middle, to the end and back (what a scroll-bar drag does), and
// page-downs. Every operation ends with the grid painted, so the time includes reading the
// rows drawn; "rows_read" counts the records the grid read for it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/bench_support.h"
#include "lib/globals.h"
#include "lib/use.h"
#include "win/browse.h"
#include "win/driver.h"
#include "win/resources.h"
#include "win/wdiag.h"
#include "xbase/dbf_table.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kRecords = 1000000;

double millis(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

const char* kTemplate = R"(
GRID_BENCH DIALOGEX 0, 0, 340, 200
STYLE WS_CHILD | WS_CAPTION | WS_SYSMENU
CAPTION "Habitaciones"
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL         "", 700, "WBROWSE", WS_TABSTOP | WS_VSCROLL, 6, 6, 328, 170
    DEFPUSHBUTTON   "&Salir", 1, 284, 180, 50, 14
END
)";

// The program folder with the table: business 01 and 02 alternate, so each holds half.
const std::string& programFolder() {
  static const std::string home = [] {
    std::string h = bench::scratch("grid");
    std::filesystem::create_directories(h + "/BASES");
    std::filesystem::create_directories(h + "/PROFILE");
    std::filesystem::create_directories(h + "/TEMP");
    std::string path = h + "/BASES/ROOMS.DBF";
    xbase::DbfTable::create(path, {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"TIPO", 'C', 4}, {"DESCRIP", 'C', 40}},
                            {xbase::TagSpec::parse("ROOMS: NEGOCIO+CODIGO")});
    auto t = xbase::DbfTable::open(path);
    t->lockFile();
    for (uint32_t i = 0; i < kRecords; ++i) {
      const bench::Row& r = bench::row(i);
      t->append();
      t->put(0, xbase::Value::chars(r.negocio));
      t->put(1, xbase::Value::chars(r.codigo));
      t->put(2, xbase::Value::chars(r.tipo));
      t->put(3, xbase::Value::chars(r.descrip));
    }
    t->unlockAll();
    return h;
  }();
  return home;
}

void setUpProgram() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::string& home = programFolder();
  setenv("CONFIGURA_WINDIR", (home + "/WINDOWS").c_str(), 1);
  lib::Globals& g = lib::resetGlobals();
  g.PATH = home + "/";
  g.DEF_RDD = "DBFCDX";
  g.windowsUser = [] { return std::string("bench"); };
  g.computerName = [] { return std::string("BENCH"); };
  win::Driver::instance().install();
  win::addResourceScript(kTemplate, "grid_bench.rc");
}

// Counts the paints of the grid, to be sure every operation drew.
class PaintCounter : public QObject {
 public:
  using QObject::QObject;
  long paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class ROOMS_LIST : public win::WDIAG, public win::ADD2BROWSE {
 public:
  ROOMS_LIST() {
    NEGOCIO = "01";
    ROOMS = lib::USE(this, "ROOMS", "ROOMS");
    if (!Init(nullptr, "GRID_BENCH")) return;
    OB = std::make_unique<win::WBLISTBOX>(this, 700, ROOMS.get());
    ADD(OB.get());
    CREATE("GRID_BENCH");
    win::AGREGARCOL(*OB, ROOMS.get(), "Código", "CODIGO", "@! XXXXXXXXXX");
    win::AGREGARCOL(*OB, ROOMS.get(), "Tipo", "TIPO");
    win::AGREGARCOL(*OB, ROOMS.get(), "Descripción", "DESCRIP");
    OB->scanBlock = [this](win::WBLISTBOX&) { ++rowsRead; };
    frame()->show();
    QCoreApplication::processEvents();  // the window is exposed: it paints from now on
    counter = new PaintCounter(OB->view()->viewport());
    OB->view()->viewport()->installEventFilter(counter);
    BROWMARKS(*OB, {{1, "ROOMS"}, {3, "ROOMS"}}, 1, NEGOCIO);
    paint();
  }
  ~ROOMS_LIST() override {
    OB.reset();
    lib::KILLTABLA(ROOMS);
  }
  void paint() { OB->view()->viewport()->repaint(); }
  QScrollBar* bar() { return OB->view()->verticalScrollBar(); }

  std::unique_ptr<lib::WDBTable> ROOMS;
  std::unique_ptr<win::WBLISTBOX> OB;
  long rowsRead = 0;
  PaintCounter* counter = nullptr;
};

ROOMS_LIST& screen() {
  static ROOMS_LIST* s = [] {
    setUpProgram();
    return new ROOMS_LIST;
  }();
  return *s;
}

// Opening the screen: the table, the window, the columns, the count of the scope from the
// index and the first window of rows painted. The program's main window exists before any
// screen opens, so Qt's one-time set-up of its first window (style, fonts) is not a screen's
// cost: it is measured apart, as first_open_ms.
void BM_Open(benchmark::State& state) {
  setUpProgram();
  double worst = 0;
  long rows = 0;
  {
    auto start = Clock::now();
    auto* s = new ROOMS_LIST;
    state.counters["first_open_ms"] = millis(start);
    s->ENDDIALOG();
    delete s;
    QCoreApplication::processEvents();
  }
  for (auto _ : state) {
    auto start = Clock::now();
    auto* s = new ROOMS_LIST;
    double t = millis(start);
    state.SetIterationTime(t / 1000);
    worst = std::max(worst, t);
    rows = s->rowsRead;
    if (s->OB->nMaxRec != kRecords / 2) state.SkipWithError("the scope is not half the table");
    s->ENDDIALOG();
    delete s;
    QCoreApplication::processEvents();
  }
  state.counters["worst_ms"] = worst;
  state.counters["rows_read"] = double(rows);
  state.counters["nMaxRec"] = double(kRecords / 2);
}

// A scroll-bar drag to the middle: a different place each time, never in the rows read.
void BM_JumpToMiddle(benchmark::State& state) {
  ROOMS_LIST& s = screen();
  double worst = 0;
  long rows = 0;
  int i = 0;
  for (auto _ : state) {
    ++i;
    int target = s.bar()->maximum() / 2 + (i % 2 ? 5000 : -5000) + i * 37;
    long before = s.rowsRead, painted = s.counter->paints;
    auto start = Clock::now();
    s.bar()->setValue(target);
    s.paint();
    double t = millis(start);
    state.SetIterationTime(t / 1000);
    worst = std::max(worst, t);
    rows = s.rowsRead - before;
    if (s.counter->paints == painted) state.SkipWithError("the grid did not paint");
  }
  state.counters["worst_ms"] = worst;
  state.counters["rows_read"] = double(rows);
}

// To the end and back to the top: two jumps an iteration, timed each.
void BM_JumpToEndAndBack(benchmark::State& state) {
  ROOMS_LIST& s = screen();
  double worst = 0, end = 0, back = 0;
  for (auto _ : state) {
    long painted = s.counter->paints;
    auto start = Clock::now();
    s.bar()->setValue(s.bar()->maximum());
    s.paint();
    end = millis(start);
    auto middle = Clock::now();
    s.bar()->setValue(0);
    s.paint();
    back = millis(middle);
    state.SetIterationTime((end + back) / 2000);  // per jump
    if (s.counter->paints < painted + 2) state.SkipWithError("the grid did not paint");
    worst = std::max({worst, end, back});
  }
  state.counters["end_ms"] = end;
  state.counters["top_ms"] = back;
  state.counters["worst_ms"] = worst;
}

// 100 page-downs from the top, one at a time as a user presses the key.
void BM_PageDown(benchmark::State& state) {
  ROOMS_LIST& s = screen();
  double worst = 0, total = 0;
  long rows = 0;
  int pages = 0;
  for (auto _ : state) {
    state.PauseTiming();
    s.OB->GOTOP();
    s.paint();
    state.ResumeTiming();
    for (int k = 0; k < 100; ++k) {
      long before = s.rowsRead;
      auto start = Clock::now();
      s.OB->PressKey(Qt::Key_PageDown);
      s.paint();
      double t = millis(start);
      worst = std::max(worst, t);
      total += t;
      rows += s.rowsRead - before;
      ++pages;
    }
    state.SetIterationTime(total / 1000 / double(pages) * 100);
  }
  state.counters["paints"] = double(s.counter->paints);
  state.counters["per_page_ms"] = total / pages;
  state.counters["worst_ms"] = worst;
  state.counters["rows_per_page"] = double(rows) / pages;
  state.counters["lines"] = s.OB->VisibleLines();
  state.counters["row_after"] = double(s.OB->nCurRec);
}

BENCHMARK(BM_Open)->Name("Grid/Open")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_JumpToMiddle)->Name("Grid/JumpToMiddle")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(50);
BENCHMARK(BM_JumpToEndAndBack)
    ->Name("Grid/JumpToEndAndBack")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(25);
BENCHMARK(BM_PageDown)->Name("Grid/100PageDowns")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::printf("Building the %u-record table...\n", kRecords);
  std::fflush(stdout);
  programFolder();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
