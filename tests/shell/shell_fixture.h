// A demo program folder made by configura-initdb, started as the program starts, with the
// main window of the program driven through the window layer's driver.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/principal.h"
#include "support/temp_dir.h"

namespace shell_testing {

class DemoProgram {
 public:
  DemoProgram();
  ~DemoProgram();

  const std::string& home() const { return home_; }
  app::PRINCIPAL& principal() { return *principal_; }

  // Starts the main window, logs in with the login dialog and runs `then` once the main
  // window is up. Fails the test when the login does not get through.
  void loginAndRun(const std::string& user, const std::string& password, const std::function<void()>& then);
  // The same with steps one after another (a step that opens a modal dialog lets the
  // following ones act on it, win/driver.h).
  void loginAndRun(const std::string& user, const std::string& password, std::vector<std::function<void()>> then);

 private:
  testing_support::TempDir dir_;
  std::string home_;
  std::unique_ptr<app::PRINCIPAL> principal_;
};

}  // namespace shell_testing
