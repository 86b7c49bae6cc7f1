#include "rooms/tab_gene.h"

#include "lib/program_time.h"
#include "rooms/availability_screens.h"
#include "rooms/stat_tip.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kFrom = 500, kTo = 501;

}  // namespace

void TAB_GENE::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::WEDIT>(this, kFrom));
  ADD(std::make_unique<win::WEDIT>(this, kTo));
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  CREATE(DIALOG);
  const std::string today = lib::DTOC(lib::XDATE());
  SetDlgItemText(kFrom, today);
  SetDlgItemText(kTo, today);
  SetFocusTo(kFrom);
}

void TAB_GENE::PROCESAR() {
  CALL_LEVEL();
  const int32_t from = dateOfEdit(*this, kFrom), to = dateOfEdit(*this, kTo);
  if (from == 0) {
    win::MESSAGE_BOX(this, "Fecha Inicial no válida...", " Error", 16);
    SetFocusTo(kFrom);
    return;
  }
  if (to == 0) {
    win::MESSAGE_BOX(this, "Fecha Final no válida...", " Error", 16);
    SetFocusTo(kTo);
    return;
  }
  if (from > to) {
    win::MESSAGE_BOX(this, "Fecha Inical Mayor que la Final....", " Error", 16);
    SetFocusTo(kFrom);
    return;
  }
  {
    win::WAIT wait(this);
    WaitProgress progress(wait);
    lastRun = runGeneration(NEGOCIO, from, to, progress);
    wait.TERMINAR();
  }
  if (!lastRun.completed) {
    // The dates generated so far stay; the same range run again completes them.
    win::MESSAGE_BOX(this, "Proceso cancelado por el usuario.", "Aviso", 64);
    return;
  }
  if (STAT_TIP* statistics = screens::OPEN<STAT_TIP>("STAT_TIP", NEGOCIO, from)) {
    statistics->ACTUAL_NEW();
    statistics->ENDDIALOG();
  }
  ENDDIALOG();
}

}  // namespace rooms
