// "Optimización de Archivo" (menu 3814) and "Optimizar Base de Datos" (menu 3167): the
// tables chosen (or all of them) are optimised one after the other behind the progress
// window (app/optimize.h); the list beside them tells, table by table, what was done and
// what was left alone and why. "Optimizar Base de Datos" starts with every table chosen.
#pragma once

#include <string>
#include <vector>

#include "app/optimize.h"
#include "screens/screen.h"

namespace app {

class OPT_FILE : public screens::SCREEN {
 public:
  OPT_FILE(const std::string& dialog, const std::string& negocio, bool allTables = false);
  void INIT() override;

  // Optimises the tables chosen; the results are listed and kept for the caller, those
  // left alone first.
  void PROCESAR();
  const std::vector<Optimization>& results() const { return results_; }

 private:
  void LOAD_TABLAS();
  void allChanged();
  std::vector<std::string> chosen() const;

  const bool allTables_;
  std::vector<std::string> tables_;
  std::vector<Optimization> results_;
};

void registerOptimizationScreens();

}  // namespace app
