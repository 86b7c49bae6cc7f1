#include "app/screens.h"

#include <map>

#include "lib/messages.h"
#include "win/message_box.h"

namespace app {

namespace {

std::map<std::string, ScreenOpener>& openers() {
  static std::map<std::string, ScreenOpener> all;
  return all;
}

}  // namespace

void registerScreen(const std::string& screenClass, ScreenOpener opener) {
  openers()[screenClass] = std::move(opener);
}

bool screenAvailable(const std::string& screenClass) {
  return openers().count(screenClass) > 0;
}

void openScreen(const ScreenRequest& request) {
  auto it = openers().find(request.entry.screen);
  if (it == openers().end()) {
    win::MESSAGE_BOX(nullptr,
                     "La pantalla " + request.entry.screen + " (\"" + request.entry.caption +
                         "\") no está disponible en esta versión del programa.",
                     "Aviso", lib::MB_OK | lib::MB_ICONINFORMATION);
    return;
  }
  it->second(request);
}

}  // namespace app
