#include "rooms/availability_screens.h"

#include "lib/program_time.h"
#include "lib/use.h"
#include "rooms/act_stip.h"
#include "rooms/availability.h"
#include "rooms/screen_registration.h"
#include "rooms/stat_tip.h"
#include "rooms/tab_gene.h"
#include "rooms/tab_rese.h"
#include "win/main_frame.h"
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
  std::string text = screen.GetDlgItemText(id);
  if (text.size() > 8) text.resize(8);
  return lib::CTOD(text);
}

void registerAvailabilityScreens() {
  win::registerEditMenu(TAB_RESE::kMenuId, {entry(3116, "Agregar ", &TAB_RESE::ADD_TAB_RESE),
                                            entry(3117, "Modificar ", &TAB_RESE::MOD_TAB_RESE),
                                            entry(3118, "Borrar  ", &TAB_RESE::DEL_TAB_RESE)});
  opens<TAB_GENE>("TAB_GENE");
  opens<STAT_TIP>("STAT_TIP");
  opens<TAB_RESE>("TAB_RESE");
  opens<ACT_STIP>("ACT_STIP");
}

}  // namespace rooms
