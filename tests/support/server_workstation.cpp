// server_workstation: the database server in the scenario scripts, and another workstation
// working on it.
//
//   server_workstation folder HOME        moves the program folder HOME to the test server
//                                         (CONFIGURA_PG_TEST): a schema of its own, BASES/
//                                         and PROFILE/ pushed, ADS.DEF written
//   server_workstation drop HOME          removes the schema of HOME's ADS.DEF from the server
//   server_workstation rollback HOME TABLE  another workstation of HOME whose server transaction
//                                         fails: it changes the first record of TABLE inside
//                                         transaction 45, then opens a table the server does
//                                         not have; the error handler rolls the transaction
//                                         back and logs it (LOG_ROLL), as the program does
//
// Prints "ok" when done; exits 1 naming what failed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "app/error_handler.h"
#include "app/startup.h"
#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "server/session.h"
#include "server/transfer.h"
#include "xbase/error.h"

namespace {

int moveToServer(std::string home) {
  const char* base = std::getenv("CONFIGURA_PG_TEST");
  if (!base || !*base) {
    std::cerr << "server_workstation: CONFIGURA_PG_TEST no está definida: este escenario necesita un PostgreSQL "
                 "(scripts/test arranca uno propio)\n";
    return 1;
  }
  if (home.back() != '/') home += '/';
  const std::string schema = "escenario_" + std::to_string(getpid()) + "_" + std::to_string(std::time(nullptr));
  {
    server::Session admin(base);
    if (!admin.connect()) throw std::runtime_error("servidor: " + admin.lastMessage());
    admin.execOnce("CREATE SCHEMA " + schema);
  }
  const std::string conninfo = std::string(base) + " options='-csearch_path=" + schema + "'";
  server::Session s(conninfo);
  if (!s.connect()) throw std::runtime_error("servidor: " + s.lastMessage());
  for (const char* folder : {"BASES", "PROFILE"}) server::pushFolder(s, home + folder);
  std::FILE* def = std::fopen((home + "ADS.DEF").c_str(), "wb");
  bool written = def && std::fputs((conninfo + "\r").c_str(), def) >= 0;
  if (def && std::fclose(def) != 0) written = false;
  if (!written) throw std::runtime_error("no se puede escribir " + home + "ADS.DEF");
  return 0;
}

// The schema named by the search_path option of line 1 of ADS.DEF.
int dropSchema(std::string home) {
  if (home.back() != '/') home += '/';
  std::FILE* def = std::fopen((home + "ADS.DEF").c_str(), "rb");
  if (!def) return 0;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, def) != nullptr;
  std::fclose(def);
  const std::string conninfo = read ? std::string(line).substr(0, std::string(line).find_first_of("\r\n")) : "";
  const std::string option = "-csearch_path=";
  const size_t at = conninfo.find(option);
  const char* base = std::getenv("CONFIGURA_PG_TEST");
  if (at == std::string::npos || !base) return 0;
  const std::string schema = conninfo.substr(at + option.size(), conninfo.find('\'', at) - at - option.size());
  server::Session admin(base);
  if (!admin.connect()) throw std::runtime_error("servidor: " + admin.lastMessage());
  admin.execOnce("DROP SCHEMA IF EXISTS " + schema + " CASCADE");
  return 0;
}

int failedTransaction(const std::string& home, const std::string& table) {
  if (app::startCore(home) != app::StartResult::Ready) throw std::runtime_error("el servidor no responde");
  lib::Globals& g = lib::G();
  g.EXT_MODULO = "CNF";
  g.XUSER_ABREVIA = "REC";
  g.XADSPARAMS[1] = "1";  // this workstation's transactions go to the server
  try {
    lib::START_TRANSACTION(2, 45);
    if (g.XADSTRANS != 1) throw std::runtime_error("la transacción no se abrió");
    auto t = lib::USE(nullptr, table);
    t->GoTop();
    lib::MODIFY(*t, [&] { t->FieldPut(1, t->FieldGet(1)); });
    auto missing = lib::USE(nullptr, "NOEXISTE");
  } catch (const xbase::Error& e) {
    app::ERRORSYS_HANDLE(e);  // no window here: it reports on the standard error and rolls back
  }
  if (g.XADSTRANS != 0) throw std::runtime_error("la transacción sigue abierta");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (!(((what == "folder" || what == "drop") && argc == 3) || (what == "rollback" && argc == 4))) {
    std::cerr << "uso: server_workstation folder CARPETA | drop CARPETA | rollback CARPETA TABLA\n";
    return 2;
  }
  try {
    int rc = what == "folder" ? moveToServer(argv[2])
             : what == "drop" ? dropSchema(argv[2])
                              : failedTransaction(argv[2], argv[3]);
    if (rc == 0) std::cout << "ok" << std::endl;
    return rc;
  } catch (const std::exception& e) {
    std::cerr << "server_workstation: " << e.what() << "\n";
    return 1;
  }
}
