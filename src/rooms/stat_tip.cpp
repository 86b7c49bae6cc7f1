#include "rooms/stat_tip.h"

#include "lib/program_time.h"
#include "rooms/availability_screens.h"
#include "rooms/hotel_day.h"
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

void STAT_TIP::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::WEDIT>(this, kStart));
  ADD_BUTTON(kFull, [this] { ACTUALIZA(); });
  ADD_BUTTON(kFast, [this] { ACTUAL_NEW(); });
  CREATE(DIALOG);
  SetDlgItemText(kStart, lib::DTOC(start_ ? start_ : CIERRE_DIA(NEGOCIO)));
  SetFocusTo(kStart);
}

void STAT_TIP::ACTUAL_NEW() {
  CALL_LEVEL();
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
  CALL_LEVEL();
  if (refusedStart(this)) return;
  const bool keepHistoric =
      win::MESSAGE_BOX(this, "Desea conservar la cantidad histórica de Habitacion x Fecha?", "Información", 33) == 1;
  // The main window stays disabled while the rebuild runs, however it ends.
  struct Disabled {
    win::MainFrame* frame = win::MainFrame::instance();
    Disabled() {
      if (frame) frame->EnableWindow(false);
    }
    ~Disabled() {
      if (frame) frame->EnableWindow(true);
    }
  };
  {
    Disabled disabled;
    win::WAIT wait(this);
    WaitProgress progress(wait);
    lastRun = runFullRebuild(NEGOCIO, keepHistoric, progress);
    wait.TERMINAR();
  }
  if (!lastRun.completed) cancelled(this);
}

}  // namespace rooms
