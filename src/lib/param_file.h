// The small parameter files of the suite (ADS.DEF and its kin): lines separated by carriage
// returns, line feeds dropped (CR LF and bare CR both end a line), the last line counting
// without a terminator, empty lines counting. A file written with line feeds alone (no
// carriage return anywhere, as Linux editors write it) has its lines separated by them.
#pragma once

#include <string>
#include <vector>

namespace lib {

// The lines of `path`; at least 26 (missing lines read empty), 26 empty ones without a file.
std::vector<std::string> GET_A_ADS(const std::string& path);
// Line n (1-based) of such a list, empty when missing.
std::string paramLine(const std::vector<std::string>& lines, size_t n);

}  // namespace lib
