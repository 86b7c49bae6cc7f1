// configura: Configuración Hotelería.
//
//   configura [--home DIR] [--script FILE [--real-time]]
//
// With --script the program runs headless (offscreen windows, virtual time), plays the
// scenario, prints each message box as it appears and exits with 0, or 1 at the first
// unmet expectation. --real-time keeps the real clock for the retry waits, the timers and
// the progress window, so that several scripted workstations can run side by side on one
// program folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/error_handler.h"
#include "app/error_window.h"
#include "app/principal.h"
#include "app/startup.h"
#include "art/artwork.h"
#include "lib/globals.h"
#include "win/application.h"
#include "win/dialog_template.h"
#include "win/driver.h"
#include "win/message_box.h"
#include "win/script.h"
#include "win/wait.h"

int main(int argc, char** argv) {
  std::string home, script, screenConfig;
  bool realTime = false, wrong = false;
  for (int i = 1; i < argc && !wrong; ++i) {
    std::string a = argv[i];
    if (a == "--home" && i + 1 < argc)
      home = argv[++i];
    else if (a == "--script" && i + 1 < argc)
      script = argv[++i];
    else if (a == "--real-time")
      realTime = true;
    else
      wrong = true;
  }
  if (wrong || (realTime && script.empty())) {
    std::cerr << "uso: configura [--home CARPETA] [--script ARCHIVO [--real-time]]\n";
    return 2;
  }
  if (!script.empty()) {
    // Headless, on a screen of a usual office size, so that screenshots show what a user sees.
    std::string config =
        (std::filesystem::temp_directory_path() / ("configura-screen-" + std::to_string(getpid()) + ".json")).string();
    std::ofstream(config)
        << R"({"screens": [{"name": "screen-1", "x": 0, "y": 0, "width": 1366, "height": 768, "dpi": 96, "dpr": 1}]})";
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
    screenConfig = config;
  }
  win::Application qt(argc, argv);
  qt.setWindowIcon(art::programIcon());  // the main window, every screen and dialog
  if (!screenConfig.empty()) std::filesystem::remove(screenConfig);
  std::vector<win::ScriptLine> lines;
  if (!script.empty()) {
    std::ifstream in(script);
    if (!in) {
      std::cerr << "configura: no se puede leer " << script << "\n";
      return 2;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    try {
      lines = win::parseScript(ss.str());
    } catch (const std::exception& e) {
      std::cerr << "configura: " << e.what() << "\n";
      return 2;
    }
  }
  try {
    if (app::startCore(app::programFolder(argv[0], home)) == app::StartResult::End) return 1;
    lib::Globals& g = lib::G();
    g.pumpMessages = win::pumpWindowMessages;
    if (script.empty())
      g.messages = std::make_unique<win::QtMessageSink>();
    else
      win::Driver::instance().install(realTime);
    app::installErrorWindow();

    app::PRINCIPAL principal;
    int status = 0;
    bool quitting = false;
    auto quit = [&](int code) {
      status = code;
      quitting = true;
      if (script.empty()) qt.exit(code);
    };
    principal.onQuit = quit;
    app::setQuitAction(quit);  // Salir in the error window
    if (script.empty()) {
      if (!principal.Init()) return quitting ? status : 0;
      if (quitting) return status;
      principal.Show();
      int code = qt.exec();
      return quitting ? status : code;
    }
    // A scenario: the initialisation (with its login dialog) is the first step, so that the
    // script's first lines act on the login.
    win::ScriptHooks hooks;
    hooks.start = [&] {
      if (principal.Init())
        principal.Show();
      else
        quitting = true;
    };
    hooks.login = [](const std::string& user, const std::string& password, const std::string& business,
                     std::string* problem) {
      win::Driver& d = win::Driver::instance();
      if (d.activeName() != "XLOGINUSR") {
        *problem = "no está abierto el ingreso (ventana activa " + d.activeName() + ")";
        return false;
      }
      if (!business.empty() && !d.select(601, business)) {
        *problem = "no existe la compañía " + business;
        return false;
      }
      d.setText(500, user);
      d.setText(501, password);
      d.press(win::IDOK);
      return true;
    };
    hooks.quit = [&] { quitting = true; };
    hooks.ended = [&] { return quitting; };
    hooks.menuRightClick = [&](int id) { principal.menuRightClick(id); };
    hooks.request = [&](int code, int marker) { principal.request(code, marker); };
    int result = win::runScript(lines, std::cout, hooks);
    return result != 0 ? result : status;
  } catch (const app::ProgramQuit&) {
    return app::exitCode();
  }
}
