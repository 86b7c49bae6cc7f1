#include "lib/printer_profile.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using lib::ProfileFile;
using lib::RESOLVE_PREDET;

class PrinterProfile : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ProfileFile ini{dir.file("SALTMERE.INI")};
  void put(const std::string& key, const std::string& value) {
    ASSERT_TRUE(ini.writeString(lib::kPredetSection, "01F " + key, value));
  }
  // Main printer and two overlapping windows: 08:00-11:00 and 10:30-14:00.
  void twoWindows() {
    put("", "Principal on LPT1");
    put("ESTAC", "CO1");
    put("ICF", "0");
    put("HA1", "1"), put("HI1", "08:00"), put("HF1", "11:00"), put("HP1", "Desayuno on LPT2"), put("EST1", "BAR");
    put("ICF1", "1");
    put("HA2", "1"), put("HI2", "10:30"), put("HF2", "14:00"), put("HP2", "Almuerzo on LPT3");
  }
};

TEST_F(PrinterProfile, KeysAreBusinessAndCodeBlankPadded) {
  EXPECT_EQ(lib::predetKey("01", "F"), "01F ");
  EXPECT_EQ(lib::predetKey("1", "AB"), "1 AB");
}

TEST_F(PrinterProfile, FlagsAreOffWhenZeroEmptyOrBlank) {
  EXPECT_TRUE(lib::predetFlag("1"));
  EXPECT_FALSE(lib::predetFlag("0"));
  EXPECT_FALSE(lib::predetFlag(""));
  EXPECT_FALSE(lib::predetFlag(" 1"));
}

TEST_F(PrinterProfile, PatternsAreCaseSensitiveSubstringsAndAnEmptyFirstMatchesNothing) {
  EXPECT_TRUE(lib::matchesPatterns("Epson FX on LPT1", "FX", "", ""));
  EXPECT_TRUE(lib::matchesPatterns("Epson FX on LPT1", "FX", "LPT", "Ep"));
  EXPECT_FALSE(lib::matchesPatterns("Epson FX on LPT1", "fx", "", ""));
  EXPECT_FALSE(lib::matchesPatterns("Epson FX on LPT1", "FX", "COM", ""));
  EXPECT_FALSE(lib::matchesPatterns("Epson FX on LPT1", "", "FX", ""));
  EXPECT_EQ(lib::printerEntry("Epson FX on LPT1\t"), "Epson FX on LPT1");
}

// Both ends inclusive; the later window wins where they overlap; outside them the main one.
TEST_F(PrinterProfile, TimeWindowsOverrideInOrder) {
  twoWindows();
  auto at = [&](const std::string& t) { return RESOLVE_PREDET(ini, "01", "F", t); };
  EXPECT_EQ(at("10:45").printer, "Almuerzo on LPT3");
  EXPECT_EQ(at("11:00").printer, "Almuerzo on LPT3");
  EXPECT_EQ(at("10:00").printer, "Desayuno on LPT2");
  EXPECT_EQ(at("10:00").station, "BAR ");
  EXPECT_TRUE(at("10:00").printAlso);
  EXPECT_EQ(at("10:00").window, 1);
  EXPECT_EQ(at("08:00").window, 1);
  EXPECT_EQ(at("14:00").window, 2);
  EXPECT_EQ(at("14:00").station, "    ");
  EXPECT_FALSE(at("14:00").printAlso);
  const auto late = at("14:01");
  EXPECT_EQ(late.printer, "Principal on LPT1");
  EXPECT_EQ(late.station, "CO1 ");
  EXPECT_EQ(late.window, 0);
  // XTIME's seconds do not matter.
  EXPECT_EQ(at("14:00:59").window, 2);
}

TEST_F(PrinterProfile, AWindowAcrossMidnightOrDisabledNeverApplies) {
  put("", "Principal on LPT1");
  put("HA1", "1"), put("HI1", "22:00"), put("HF1", "02:00"), put("HP1", "Noche on LPT2");
  put("HA2", "0"), put("HI2", "00:00"), put("HF2", "23:59"), put("HP2", "Apagada on LPT3");
  for (const char* t : {"23:00", "01:00", "22:00", "02:00"}) EXPECT_EQ(RESOLVE_PREDET(ini, "01", "F", t).printer, "Principal on LPT1") << t;
}

TEST_F(PrinterProfile, AMissingProfileResolvesToNoPrinter) {
  const auto info = RESOLVE_PREDET(ini, "01", "ZZ", "10:00");
  EXPECT_EQ(info.printer, "");
  EXPECT_EQ(info.station, "    ");
  twoWindows();
  EXPECT_EQ(RESOLVE_PREDET(ini, "02", "F", "10:00").printer, "") << "another business unit's keys";
}

TEST_F(PrinterProfile, MainPatternsArePassedOnTrimmed) {
  put("BP", "1"), put("P1", " HP "), put("P2", "Laser"), put("P3", "");
  const auto info = RESOLVE_PREDET(ini, "01", "F", "10:00");
  EXPECT_TRUE(info.byPatterns);
  EXPECT_EQ(info.pattern1, "HP");
  EXPECT_EQ(info.pattern2, "Laser");
}

}  // namespace
