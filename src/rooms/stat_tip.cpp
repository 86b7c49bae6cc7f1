#include "rooms/stat_tip.h"

#include "lib/program_time.h"
#include "rooms/availability_screens.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/main_frame.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace rooms {

namespace {

constexpr int kStart = 501, kFull = 201, kFast = 202;

void cancelled(win::WDIAG* screen) {
  win::MESSAGE_BOX(screen, "Proceso cancelado por el usuario.", "Aviso", 64);
}

// An unreadable "A partir de:" starts neither run: read as something else it would
// recalculate from a date the user never meant.
bool refusedStart(win::WDIAG* screen) {
  if (!lib::readDate(screen->GetDlgItemText(kStart)).unreadable) return false;
  win::MESSAGE_BOX(screen, "Fecha inválida", "Error", 16);
  screen->SetFocusTo(kStart);
  return true;
}

}  // namespace

STAT_TIP::STAT_TIP(const std::string& dialog, const std::string& negocio, int32_t start) {
  NEGOCIO = negocio;
  if (!Init(nullptr, dialog)) return;
  ADD(std::make_unique<win::WEDIT>(this, kStart));
  ADD_BUTTON(kFull, [this] { ACTUALIZA(); });
  ADD_BUTTON(kFast, [this] { ACTUAL_NEW(); });
  CREATE(dialog);
  SetDlgItemText(kStart, lib::DTOC(start ? start : CIERRE_DIA(NEGOCIO)));
  SetFocusTo(kStart);
}

void STAT_TIP::ACTUAL_NEW() {
  if (refusedStart(this)) return;
  const int32_t start = dateOfEdit(*this, kStart);
  if (start == 0) {
    win::MESSAGE_BOX(this, "Fecha no válida...", "Error", 16);
    SetFocusTo(kStart);
    return;
  }
  {
    win::WAIT wait(this);
    WaitProgress progress(wait);
    lastRun = runFastRecalculation(NEGOCIO, start, progress);
    wait.TERMINAR();
  }
  if (!lastRun.completed) {
    cancelled(this);
    return;
  }
  win::MESSAGE_BOX(this, "Proceso concluido", "CONFIRMACION", 64);
}

void STAT_TIP::ACTUALIZA() {
  if (refusedStart(this)) return;
  const bool keepHistoric =
      win::MESSAGE_BOX(this, "Desea conservar la cantidad histórica de Habitacion x Fecha?", "Información", 33) == 1;
  win::MainFrame* frame = win::MainFrame::instance();
  if (frame) frame->EnableWindow(false);
  {
    win::WAIT wait(this);
    WaitProgress progress(wait);
    try {
      lastRun = runFullRebuild(NEGOCIO, keepHistoric, progress);
    } catch (...) {
      wait.TERMINAR();
      if (frame) frame->EnableWindow(true);
      throw;
    }
    wait.TERMINAR();
  }
  if (frame) frame->EnableWindow(true);
  if (!lastRun.completed) cancelled(this);
}

}  // namespace rooms
