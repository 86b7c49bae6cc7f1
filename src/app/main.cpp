// configura: Configuración Hotelería.
//
//   configura [--home DIR] [--script FILE]
//
// With --script the program runs headless (offscreen windows, virtual time), plays the
// scenario, prints each message box as it appears and exits with 0, or 1 at the first
// unmet expectation.
#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/error_handler.h"
#include "app/error_window.h"
#include "app/principal.h"
#include "app/startup.h"
#include "lib/globals.h"
#include "win/driver.h"
#include "win/message_box.h"
#include "win/script.h"
#include "win/wait.h"

int main(int argc, char** argv) {
  std::string home, script;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--home" && i + 1 < argc)
      home = argv[++i];
    else if (a == "--script" && i + 1 < argc)
      script = argv[++i];
    else {
      std::cerr << "uso: configura [--home CARPETA] [--script ARCHIVO]\n";
      return 2;
    }
  }
  if (!script.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication qt(argc, argv);
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
      win::Driver::instance().install();
    app::installErrorWindow();

    app::PRINCIPAL principal;
    int status = 0;
    bool quitting = false;
    principal.onQuit = [&](int code) {
      status = code;
      quitting = true;
      if (script.empty()) qt.exit(code);
    };
    if (!principal.Init()) return 0;
    principal.Show();
    if (!script.empty()) {
      win::ScriptHooks hooks;
      hooks.quit = [&] { quitting = true; };
      int result = win::runScript(lines, std::cout, hooks);
      return result != 0 ? result : status;
    }
    int code = qt.exec();
    return quitting ? status : code;
  } catch (const app::ProgramQuit&) {
    return app::exitCode();
  }
}
