// The dialog templates and strings the layer builds windows from: the scripts compiled
// into the program, plus any added at run time (tests add their own screens).
#pragma once

#include <string>

#include "win/dialog_template.h"

namespace win {

ResourceSet& resources();
void addResourceScript(const std::string& text, const std::string& fileName);
// A string of the string table, or `fallback`.
std::string resourceString(int id, const std::string& fallback = "");

}  // namespace win
