#include "screens/listing.h"

#include "lib/globals.h"
#include "screens/print_document.h"

namespace screens {

std::string listingPath(const std::string& pdfName) {
  return lib::G().PATH + "TEMP/" + pdfName;
}

bool IMPRIME_LISTADO(const std::string& title, const std::vector<std::string>& lines, const std::string& pdfName) {
  PRINT_DOC doc(title, pdfName);
  doc.TITLES({title});
  for (const std::string& line : lines) {
    doc.SAY(0, line);
    doc.LINE();
  }
  return doc.PRINT();
}

}  // namespace screens
