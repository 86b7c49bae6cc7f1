// A test on the demo hotel: configura-initdb --demo makes it in a private folder and the
// program starts on it (the process state as start-up leaves it), fresh for each test.
// For test targets that define INITDB_PATH and link the start-up (app).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "lib/globals.h"
#include "support/temp_dir.h"

namespace testing_support {

class DemoHotelTest : public testing::Test {
 protected:
  void SetUp() override {
    home_ = dir_.path() + "/hotel/";
    std::string out;
    ASSERT_EQ(runCommand(std::string(INITDB_PATH) + " " + home_ + " --demo 2>&1", &out), 0) << out;
    ASSERT_EQ(app::startCore(home_), app::StartResult::Ready);
  }
  void TearDown() override { lib::resetGlobals(); }

  TempDir dir_;
  std::string home_;  // with the final slash
};

}  // namespace testing_support
