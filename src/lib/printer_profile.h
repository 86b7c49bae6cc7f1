// Printer profiles: a two-character code documents and registers name instead of a printer.
// The code and its description are shared (table PREDET_P); what stands behind it on this
// workstation — printer, display station, time-of-day variants — lives in section PREDET_P
// of SALTMERE.INI, every key beginning with the business unit and the code as stored
// ("01" + "F1", a one-letter code blank-padded to two).
#pragma once

#include <string>

#include "lib/profile_file.h"

namespace lib {

inline constexpr const char* kPredetSection = "PREDET_P";

// The prefix of the profile's keys: business unit (2) + code (2), blank-padded.
std::string predetKey(const std::string& negocio, const std::string& codigo);
// A flag of the profile file: off when "0", empty or beginning with a blank.
bool predetFlag(const std::string& value);

// An installed-printer entry ("NAME on PORT") without the tab the printer list ends it with.
std::string printerEntry(const std::string& listed);
// The rule that finds a printer by patterns: case-sensitive substrings; the entry contains
// pattern 1 (an empty pattern 1 matches nothing), and pattern 2 and pattern 3 unless they
// are empty.
bool matchesPatterns(const std::string& entry, const std::string& p1, const std::string& p2, const std::string& p3);

// What a profile resolves to at a time of day on this workstation.
struct PredetInfo {
  std::string printer;    // an installed-printer entry; "" when the workstation has none
  std::string station;    // display station (STAT_COC code), 4 characters, blanks = none
  bool printAlso = false; // "Imprimir además comanda física"
  std::string pattern1, pattern2, pattern3;  // the main printer's patterns, passed on
  bool byPatterns = false;                   // the main printer is looked for by patterns
  int window = 0;                            // the time window that applied (0 = none)
};

// The main printer, station and flag, then each enabled time window 1..3 in turn whose
// start..end (both ends inclusive, compared as "hh:mm" text) holds `hhmm`: a later window
// overrides an earlier one; a window whose start is after its end never applies.
PredetInfo RESOLVE_PREDET(const ProfileFile& ini, const std::string& negocio, const std::string& codigo,
                          const std::string& hhmm);

}  // namespace lib
