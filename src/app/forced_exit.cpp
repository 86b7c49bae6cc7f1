#include "app/forced_exit.h"

#include "app/leave_flag.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "win/message_box.h"
#include "win/timers.h"

namespace app {

namespace {

constexpr int kCountdownTimer = 3;

int64_t ticks() {
  return lib::G().clock->ticks();
}

}  // namespace

bool& structureChangeRunning() {
  static bool running = false;
  return running;
}

void ForcedExit::CHECK_QUIT() {
  if (structureChangeRunning() || Por_Salir == 1) return;
  std::optional<LeaveFlag> flag = readLeaveFlag();
  if (!flag) return;
  lib::Globals& g = lib::G();
  if (flag->supervisorsToo()) {
    g.XNO_SALIR = 0;
    g.XSUPERACCESS = 0;
  }
  if (!flag->moduleMustLeave()) return;
  if (g.XNO_SALIR == 0 && g.XSUPERACCESS == 0) {
    win::MESSAGE_BOX(nullptr,
                     "Debe salir del sistema en máximo 5 minutos!\rPasados los 5 minutos, el sistema "
                     "automáticamente\rse cerrará.",
                     "Aviso", lib::MB_OK | lib::MB_ICONEXCLAMATION);
    Por_Salir = 1;
    Time_Salir = ticks();
    win::timers().start(timerOwner ? timerOwner : this, kCountdownTimer, kCountdownPeriodMs,
                        [this] { countdownTick(); });
  } else if (Time_Salir == 0) {
    win::MESSAGE_BOX(nullptr,
                     "Se ha solicitado a todos los usuarios\rsalir del Sistema.\rEn _su_ calidad de Supervisor, Ud. "
                     "NO será obligado",
                     "Aviso", lib::MB_OK | lib::MB_ICONINFORMATION);
    Time_Salir = ticks();
  }
}

bool ForcedExit::expired() const {
  return Por_Salir == 1 && lib::G().XSUPERACCESS == 0 && ticks() - Time_Salir >= kForcedExitMs;
}

void ForcedExit::countdownTick() {
  if (structureChangeRunning() || !expired()) return;
  win::timers().stop(timerOwner ? timerOwner : this, kCountdownTimer);
  if (onExpired) onExpired();
}

}  // namespace app
