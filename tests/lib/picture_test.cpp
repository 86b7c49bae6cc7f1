// Numbers through pictures, as the screens show them.
#include <gtest/gtest.h>

#include "lib/picture.h"

TEST(Picture, LeadingZerosFillTheUnusedDigitPlaces) {
  EXPECT_EQ(lib::TRANSFORM_NUMBER(7, "@L 99"), "07");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(0, "@L 99"), "00");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(24, "@L 99"), "24");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(5.5, "@L 999.99"), "005.50");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(-5, "@L 999"), " -5");  // a sign keeps its place
  EXPECT_EQ(lib::TRANSFORM_NUMBER(7, "99"), " 7");
  EXPECT_EQ(lib::TRANSFORM_NUMBER(1500000, "999,999,999.99"), "  1,500,000.00");
  EXPECT_EQ(lib::pictureIntegerDigits("@L 99"), 2);
}
