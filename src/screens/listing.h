// Printed listings: a title and lines of text in a fixed-pitch font, so that columns laid
// out with blanks stay in line, on as many pages as they take. The user picks the printer;
// under the test driver (scripts) the listing goes to a PDF file in the program folder's
// TEMP/, named by the caller, where a script or a test can read it back.
#pragma once

#include <string>
#include <vector>

namespace screens {

// Prints `lines` under `title` (repeated, with the page number, on every page). False
// (after telling the user) when the printer could not be used; false too when the user
// cancelled the choice of printer.
bool IMPRIME_LISTADO(const std::string& title, const std::vector<std::string>& lines, const std::string& pdfName);

// Where IMPRIME_LISTADO writes `pdfName` under the test driver.
std::string listingPath(const std::string& pdfName);

}  // namespace screens
