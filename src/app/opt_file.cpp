#include "app/opt_file.h"

#include <algorithm>

#include "screens/messages.h"
#include "screens/registry.h"
#include "win/controls.h"
#include "win/wait.h"

namespace app {

namespace {

constexpr int kTables = 701, kResults = 702, kAll = 1001, kRun = 101, kCount = 501;

}  // namespace

OPT_FILE::OPT_FILE(const std::string& dialog, const std::string& negocio, bool allTables)
    : SCREEN(dialog, negocio), allTables_(allTables) {}

void OPT_FILE::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::CLISTBOX>(this, kTables));
  ADD(std::make_unique<win::CLISTBOX>(this, kResults));
  ADD(std::make_unique<win::WCHECKBOX>(this, kAll), [this](win::WDIAG&, win::WCONTROL&, int) {
    allChanged();
    return 1;
  });
  ADD_BUTTON(kRun, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  LOAD_TABLAS();
  CheckDlgButton(kAll, allTables_);
  allChanged();
}

void OPT_FILE::LOAD_TABLAS() {
  tables_ = TABLAS_BASE();
  win::CLISTBOX list(this, kTables);
  list.Clear();
  for (const std::string& t : tables_) list.Add(t, t);
  SetDlgItemText(kCount, std::to_string(tables_.size()) + " tablas en la base de datos");
}

// "Todas las tablas" leaves nothing to choose.
void OPT_FILE::allChanged() {
  EnableItem(kTables, !IsDlgButtonChecked(kAll));
}

std::vector<std::string> OPT_FILE::chosen() const {
  if (IsDlgButtonChecked(kAll)) return tables_;
  std::vector<std::string> names;
  win::CLISTBOX list(const_cast<OPT_FILE*>(this), kTables);
  for (int position : list.Selected()) names.push_back(list.ItemCargo(position));
  return names;
}

void OPT_FILE::PROCESAR() {
  CALL_LEVEL_AS(routine("PROCESAR"));
  const std::vector<std::string> names = chosen();
  if (names.empty()) {
    screens::error("Debe seleccionar al menos una tabla");
    return;
  }
  const std::string count =
      names.size() == 1 ? std::string("Se optimizará 1 tabla: se verifica, se reindexa y se compacta.\r")
                        : "Se optimizarán " + std::to_string(names.size()) +
                              " tablas: cada una se verifica, se reindexa y se compacta.\r";
  if (!screens::confirm(count +
                        "Las tablas abiertas en otras estaciones o ventanas no se optimizan.\r¿Desea continuar?"))
    return;
  results_.clear();
  win::CLISTBOX list(this, kResults);
  list.Clear();
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Optimizando tablas...");
    wait.SET_TOTAL(names.size());
    for (const std::string& name : names) {
      if (!wait.CANPRINT()) {
        results_.push_back({name, false, "proceso cancelado", 0, 0});
      } else {
        wait.PUT_TEXT("", "", "Tabla " + name + "...");
        results_.push_back(OPTIMIZA_TABLA(name));
      }
      list.Add(resultLine(results_.back()), name);
      wait.ADVANCE();
    }
    wait.TERMINAR();
  }
  // At the end what was left alone heads the list, where the user sees it without scrolling.
  std::stable_partition(results_.begin(), results_.end(), [](const Optimization& r) { return !r.done; });
  list.Clear();
  for (const Optimization& r : results_) list.Add(resultLine(r), r.table);
  size_t done = 0;
  for (const Optimization& r : results_) done += r.done ? 1 : 0;
  const size_t skipped = results_.size() - done;
  screens::notice(
      "Fin de la Optimización: " + std::to_string(done) + (done == 1 ? " tabla optimizada" : " tablas optimizadas") +
      (skipped ? ", " + std::to_string(skipped) + (skipped == 1 ? " omitida" : " omitidas") + " (vea la lista)."
               : "."));
}

void registerOptimizationScreens() {
  screens::opens<OPT_FILE>("OPT_FILE");
  screens::registerScreen("OPT_HOTEL",
                          [](const screens::ScreenRequest& r) { screens::OPEN<OPT_FILE>(r.dialog, r.business, true); });
}

}  // namespace app
