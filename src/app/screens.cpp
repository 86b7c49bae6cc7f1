#include "app/screens.h"

#include <map>

#include "lib/call_stack.h"
#include "lib/messages.h"
#include "screens/messages.h"
#include "screens/registry.h"
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
  return openers().count(screenClass) > 0 || screens::screenOpener(screenClass);
}

void openScreen(const ScreenRequest& request) {
  auto it = openers().find(request.entry.screen);
  if (it != openers().end()) {
    it->second(request);
    return;
  }
  // A screen of a subsystem.
  if (const screens::ScreenOpener* open = screens::screenOpener(request.entry.screen)) {
    CALL_LEVEL_AS(request.entry.screen);
    (*open)(
        {request.entry.screen, request.entry.dialogName(), request.business, request.entry.id, request.entry.caption});
    return;
  }
  screens::NO_DISPONIBLE(request.entry.screen, request.entry.caption);
}

}  // namespace app
