#include "app/startup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "lib/globals.h"
#include "lib/param_file.h"
#include "lib/text.h"
#include "lib/use.h"
#include "server/server_table.h"
#include "xbase/file.h"

namespace app {

namespace {

using lib::trim;

std::string withSlash(std::string p) {
  if (!p.empty() && p.back() != '/') p += '/';
  return p;
}

void applyServerLines() {
  lib::Globals& g = lib::G();
  auto line = [&](size_t n) { return trim(lib::paramLine(g.XADSPARAMS, n), " \t"); };
  // Lines 21 to 27 count only when not blank.
  if (!line(21).empty()) g.server->ADSRIGHTSCHECK(line(21) != ".F.");
  if (!line(22).empty()) g.XADSCACHERECORDS = std::max(1, std::atoi(line(22).c_str()));
  if (!line(23).empty()) g.server->ADSLOCKING(line(23) == ".F.");
  if (!line(26).empty()) {
    std::string ts = line(26);
    ts.resize(100, '0');
    g.XADS_TS = ts;
  }
  if (!line(27).empty()) g.XADS_DIR = line(27);
  g.server->ADSRIGHTSCHECK(false);  // whatever line 21 said
}

}  // namespace

std::string programFolder(const std::string& executable, const std::string& homeOption) {
  if (!homeOption.empty()) return withSlash(std::filesystem::absolute(homeOption).lexically_normal().string());
  if (const char* env = std::getenv("CONFIGURA_HOME"); env && *env)
    return withSlash(std::filesystem::absolute(env).lexically_normal().string());
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(executable);
  return withSlash(exe.parent_path().string());
}

StartResult chooseStorage() {
  lib::Globals& g = lib::G();
  std::string def = g.PATH + "ADS.DEF";
  if (!xbase::fileExists(def)) {
    g.DEF_RDD = "DBFCDX";
    return StartResult::Ready;
  }
  g.XADSPARAMS = lib::GET_A_ADS(def);
  server::installPostgresClient();  // the PostgreSQL client and the "ADSCDX" driver
  server::ServerClient& s = *g.server;
  s.ADSSETFILETYPE("CDX");
  s.ADSRIGHTSCHECK(false);
  s.ADSSETCHARTYPE("ANSI");
  s.ADSSETCHARTYPE("OEM");
  applyServerLines();

  const std::string path = lib::paramLine(g.XADSPARAMS, 1);
  if (!s.ADSISSERVERLOADED(path)) {
    char number[16];
    std::snprintf(number, sizeof number, "%10ld", s.ADSGETLASTERROR());
    g.messages->show(std::string("Servidor Advantage Database Server no localizable\rError: ") + number, "Error",
                     lib::MB_OK | lib::MB_ICONSTOP);
    return StartResult::End;
  }
  g.XADS_MYCONNECTION = s.ADSCONNECT60("", 7, "ADSSYS", "");
  if (!g.XADS_MYCONNECTION)
    g.messages->show("No se pudo establecer ADSCONNECT60", "Atención", lib::MB_OK | lib::MB_ICONSTOP);
  if (s.ADSMGCONNECT(path)) {
    g.XADS_INSTALLINFO = s.ADSMGGETINSTALLINFO();
    s.ADSMGDISCONNECT();
  }
  g.DEF_RDD = "ADSCDX";
  s.ADSRIGHTSCHECK(false);
  s.ADSCACHEOPENTABLES(150);
  g.XADSDIRECTORY = path;
  return StartResult::Ready;
}

std::string serverInstallInfo(const std::string& key) {
  for (const std::string& e : lib::G().XADS_INSTALLINFO)
    if (e.rfind(key + "=", 0) == 0) return e.substr(key.size() + 1);
  return "";
}

StartResult startCore(const std::string& folder, bool keepState) {
  lib::Globals& g = keepState ? lib::G() : lib::resetGlobals();  // 1. the state, first of all
  // 2. The error handler is the app::ERRORSYS_HANDLE that every protected step calls.
  // 3. Spanish messages, the code page and hidden deleted records are the engine's own
  //    behaviour (tables open with deleted records hidden).
  g.PATH = withSlash(folder);
  if (chooseStorage() == StartResult::End) return StartResult::End;  // 4.
  // 5. A remote session: the fade-in effects are off there.
  g.XREMOTE_SESSION = (std::getenv("SSH_CONNECTION") || std::getenv("XRDP_SESSION")) ? 1 : 0;
  // 6. The table kept open for the whole run.
  if (xbase::fileExists(g.PATH + "BASES/DUMMYADS.DBF")) g.XDUMMYADSTABLE = lib::USE(nullptr, "DUMMYADS");
  g.XLOGOFILE = g.PATH + "BMP/LOGO.BMP";  // 7.
  return StartResult::Ready;
}

}  // namespace app
