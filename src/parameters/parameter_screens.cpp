#include "parameters/parameter_screens.h"

#include "app/screens.h"
#include "parameters/param2.h"
#include "parameters/paramet.h"
#include "parameters/paramet2.h"
#include "parameters/paramet3.h"

namespace parameters {

void registerParameterScreens() {
  using app::ScreenRequest;
  app::registerScreen("PARAMET",
                      [](const ScreenRequest& r) { win::open<PARAMET>(nullptr, r.entry.dialogName(), r.business); });
  app::registerScreen("PARAMET2",
                      [](const ScreenRequest& r) { win::open<PARAMET2>(nullptr, r.entry.dialogName(), r.business); });
  app::registerScreen("PARAM2",
                      [](const ScreenRequest& r) { win::open<PARAM2>(nullptr, r.entry.dialogName(), r.business); });
  app::registerScreen("PARAMET3",
                      [](const ScreenRequest& r) { win::open<PARAMET3>(nullptr, r.entry.dialogName(), r.business); });
}

}  // namespace parameters
