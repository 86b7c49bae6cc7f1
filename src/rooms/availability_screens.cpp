#include "rooms/availability_screens.h"

#include "lib/program_time.h"
#include "win/wait.h"

namespace rooms {

void WaitProgress::PUT_TEXT(const std::string& headline, const std::string& line1, const std::string& line2,
                            const std::string& line3, bool pump) {
  wait_.PUT_TEXT(headline, line1, line2, line3, pump);
}

bool WaitProgress::CANPRINT() {
  return wait_.CANPRINT();
}

void WaitProgress::SET_TOTAL(uint64_t total) {
  wait_.SET_TOTAL(total);
}

void WaitProgress::ADVANCE(uint64_t rows) {
  wait_.ADVANCE(rows);
}

int32_t dateOfEdit(const win::WDIAG& screen, int id) {
  return lib::CTOD(screen.GetDlgItemText(id));
}

}  // namespace rooms
