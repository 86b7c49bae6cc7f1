#include "app/optimize.h"

#include <algorithm>
#include <filesystem>

#include "lib/catalogue.h"
#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/error.h"

namespace app {

namespace {

std::string records(uint32_t n) {
  return n == 1 ? "1 registro borrado eliminado" : std::to_string(n) + " registros borrados eliminados";
}

}  // namespace

Optimization OPTIMIZA_TABLA(const std::string& name) {
  lib::Globals& g = lib::G();
  Optimization r;
  r.table = lib::upper(lib::trim(name)).substr(0, 8);
  std::unique_ptr<lib::TableDriver> t;
  try {
    t = lib::storageDriver(g.DEF_RDD).open(lib::tablePath(r.table, lib::UseOptions{}), false, false);
  } catch (const xbase::Error& e) {
    r.what =
        lib::isNetworkSoftFailure(e) ? "en uso por otra estación o ventana" : "no se pudo abrir: " + e.description();
    return r;
  }
  try {
    const uint32_t before = t->recCount();
    if (auto* local = dynamic_cast<lib::LocalTable*>(t.get())) {
      xbase::DbfTable& engine = local->engine();
      r.discrepancies = engine.check().problems.size();
      engine.reindex();
      engine.pack();
      r.what = r.discrepancies ? "verificada con " + std::to_string(r.discrepancies) + " diferencias en el índice"
                               : "verificada sin diferencias";
      r.what += ", reindexada, compactada";
    } else {
      t->pack();
      r.what = "compactada en el servidor";
    }
    r.removed = before - std::min(before, t->recCount());
    r.what += " (" + records(r.removed) + ")";
    t.reset();  // closing writes what is left
    r.done = true;
  } catch (const xbase::Error& e) {
    r.what = "no se pudo optimizar: " + e.description();
  }
  return r;
}

std::vector<std::string> TABLAS_BASE() {
  lib::Globals& g = lib::G();
  std::vector<std::string> names;
  if (g.DEF_RDD == "DBFCDX") {
    std::error_code ec;
    for (const auto& f : std::filesystem::directory_iterator(g.PATH + "BASES", ec)) {
      if (!f.is_regular_file()) continue;
      const std::string file = f.path().filename().string();
      if (file.size() > 4 && lib::upper(file.substr(file.size() - 4)) == ".DBF")
        names.push_back(lib::upper(file.substr(0, file.size() - 4)));
    }
  } else {
    for (const lib::CatalogueTable& c : lib::Catalogue::builtIn().tables())
      if (!c.profileTemplate && lib::IS_FILE(nullptr, c.name)) names.push_back(c.name);
  }
  // The program holds DUMMYADS open for the whole session: it could never be had alone.
  std::erase(names, std::string("DUMMYADS"));
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string resultLine(const Optimization& r) {
  return r.table + ": " + (r.done ? "" : "no se optimizó, ") + r.what;
}

}  // namespace app
