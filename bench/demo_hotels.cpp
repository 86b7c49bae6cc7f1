#include "bench/demo_hotels.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "bench/bench_support.h"
#include "lib/globals.h"
#include "rooms/availability_runs.h"
#include "tools/demo_data.h"
#include "tools/demo_hotel.h"
#include "xbase/dbf_table.h"

namespace initdb {

// The demo writer's way into the tables (configura-initdb has its own).
std::unique_ptr<xbase::DbfTable> openTable(const std::string& home, const std::string& name) {
  return xbase::DbfTable::open(home + "BASES/" + name + ".DBF", xbase::OpenOptions{false, false});
}

}  // namespace initdb

namespace bench {

void useFolder(const std::string& home) {
  lib::Globals& g = lib::G();
  g.PATH = home;
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
}

const std::string& pristineHotel(int rooms) {
  static std::map<int, std::string> folders;
  auto found = folders.find(rooms);
  if (found != folders.end()) return found->second;
  std::string home = scratch("hotel" + std::to_string(rooms)) + "/";
  std::string command = std::string(INITDB_PATH) + " " + home + " >/dev/null";
  if (std::system(command.c_str()) != 0) std::abort();
  initdb::addHotelData(home, rooms);
  return folders[rooms] = home;
}

const std::string& generatedHotel(int rooms) {
  static std::map<int, std::string> folders;
  auto found = folders.find(rooms);
  if (found != folders.end()) return found->second;
  std::string home = scratch("generated" + std::to_string(rooms)) + "/";
  std::filesystem::copy(pristineHotel(rooms), home, std::filesystem::copy_options::recursive);
  useFolder(home);
  rooms::Progress quiet;
  rooms::runGeneration("01", initdb::demoFirstDay(), initdb::demoLastDay(), quiet);
  initdb::applyReservationNights(home, rooms);
  return folders[rooms] = home;
}

}  // namespace bench
