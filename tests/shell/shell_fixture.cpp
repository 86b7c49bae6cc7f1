#include "shell/shell_fixture.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "lib/globals.h"
#include "win/dialog_template.h"
#include "win/driver.h"
#include "win/wait.h"

namespace shell_testing {

DemoProgram::DemoProgram() : home_(dir_.path() + "/hotel/") {
  // The workstation's settings (the last business chosen...) stay with this program, so
  // that tests running side by side do not see each other's.
  std::filesystem::create_directories(dir_.path() + "/windows");
  setenv("CONFIGURA_WINDIR", (dir_.path() + "/windows").c_str(), 1);
  std::string out;
  int rc = testing_support::runCommand(std::string(INITDB_PATH) + " " + home_ + " --demo 2>&1", &out);
  if (rc != 0) ADD_FAILURE() << "configura-initdb: " << out;
  if (app::startCore(home_) != app::StartResult::Ready) ADD_FAILURE() << "start-up failed";
  lib::G().pumpMessages = win::pumpWindowMessages;
  win::Driver::instance().install();
  principal_ = std::make_unique<app::PRINCIPAL>();
}

DemoProgram::~DemoProgram() {
  principal_.reset();
  lib::resetGlobals();
  unsetenv("CONFIGURA_WINDIR");
}

void DemoProgram::loginAndRun(const std::string& user, const std::string& password, const std::function<void()>& then) {
  loginAndRun(user, password, std::vector<std::function<void()>>{then});
}

void DemoProgram::loginAndRun(const std::string& user, const std::string& password,
                              std::vector<std::function<void()>> then) {
  win::Driver& d = win::Driver::instance();
  bool up = false;
  std::vector<std::function<void()>> steps = {[&] {
                                                up = principal_->Init();
                                                if (up) principal_->Show();
                                              },
                                              [&] {
                                                ASSERT_EQ(d.activeName(), "XLOGINUSR");
                                                d.setText(500, user);
                                                d.setText(501, password);
                                                d.press(win::IDOK);
                                              },
                                              [&] {
                                                std::string shown;
                                                for (const auto& m : d.messages())
                                                  shown += " [" + m.title + "] " + m.text;
                                                ASSERT_TRUE(up) << "the login did not get through; active "
                                                                << d.activeName() << shown;
                                              }};
  for (auto& step : then)
    steps.push_back([&up, step] {
      if (up) step();
    });
  d.run(std::move(steps));
}

}  // namespace shell_testing
