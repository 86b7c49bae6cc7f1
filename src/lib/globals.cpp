#include "lib/globals.h"

#include <unistd.h>

#include <cstdlib>
#include <map>

#include "lib/errors.h"
#include "lib/table_driver.h"
#include "lib/text_search.h"
#include "lib/wdbtable.h"
#include "lib/work_areas.h"

namespace lib {

namespace {

std::unique_ptr<Globals>& instance() {
  static std::unique_ptr<Globals> g;
  return g;
}

std::map<std::string, std::unique_ptr<StorageDriver>>& drivers() {
  static std::map<std::string, std::unique_ptr<StorageDriver>> d = [] {
    std::map<std::string, std::unique_ptr<StorageDriver>> m;
    m["DBFCDX"] = std::make_unique<LocalDriver>();
    return m;
  }();
  return d;
}

// Messages before any window exists go to the standard error stream.
class ConsoleSink : public MessageSink {
 public:
  int show(const std::string& text, const std::string& title, int) override {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    return IDOK;
  }
};

std::string environmentOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

}  // namespace

Globals::Globals()
    : clock(std::make_unique<RealClock>()),
      messages(std::make_unique<ConsoleSink>()),
      server(std::make_unique<server::NoServer>()),
      areas(std::make_unique<WorkAreas>()) {
  XAVAILABLE_FONTS = {"Arial",   "Arial Black", "Arial Narrow", "AvantGarde", "Century",         "Courier",
                      "Calibri", "Cambria",     "Eurostyle",    "Tahoma",     "Times New Roman", "Helvetica"};
  windowsUser = [] { return environmentOr("USER", "usuario"); };
  computerName = [] {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || !host[0]) return std::string("ESTACION");
    return std::string(host);
  };
}

Globals::~Globals() {
  // Tables first: closing them still needs the services below.
  XDUMMYADSTABLE.reset();
  areas.reset();
}

Globals& G() {
  if (!instance()) instance() = std::make_unique<Globals>();
  return *instance();
}

Globals& resetGlobals() {
  instance().reset();
  instance() = std::make_unique<Globals>();
  return *instance();
}

StorageDriver& storageDriver(const std::string& name) {
  std::string n = name.empty() ? G().DEF_RDD : name;
  if (n.empty()) n = "DBFCDX";
  auto it = drivers().find(n);
  if (it == drivers().end())
    throw RuntimeError(xbase::EG_UNSUPPORTED, 1052, "controlador de almacenamiento no disponible: " + n);
  return *it->second;
}

void registerStorageDriver(std::unique_ptr<StorageDriver> driver) {
  std::string n = driver->name();
  drivers()[n] = std::move(driver);
}

}  // namespace lib
