#include "processes/calc_est.h"

#include "lib/program_time.h"
#include "processes/month_entry.h"
#include "rooms/availability_screens.h"
#include "screens/messages.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace processes {

void CALC_EST::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD_BUTTON(win::IDOK, [this] { PROCESAR_TODO(); });
  ADD_BUTTON(201, [this] { PROCESAR_PERIODO(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  const xbase::Ymd today = xbase::ymdFromJulian(lib::XDATE());
  for (int id : {501, 503}) SetDlgItemText(id, std::to_string(today.month));
  for (int id : {502, 504}) SetDlgItemText(id, std::to_string(today.year));
}

void CALC_EST::PROCESAR_TODO() {
  CALL_LEVEL();
  PROCESAR(std::nullopt);
}

void CALC_EST::PROCESAR_PERIODO() {
  CALL_LEVEL();
  const MonthRange period{yearOfEdit(*this, 502), monthOfEdit(*this, 501), yearOfEdit(*this, 504),
                          monthOfEdit(*this, 503)};
  if (period.fromYear == 0 || period.toYear == 0 || period.days().first == 0) {
    screens::error("Periodo no válido");
    SetFocusTo(501);
    return;
  }
  PROCESAR(period);
}

void CALC_EST::PROCESAR(const std::optional<MonthRange>& period) {
  {
    win::WAIT wait(this);
    rooms::WaitProgress progress(wait);
    lastRun = ACTUALIZA_SOURCE(NEGOCIO, period, progress);
    wait.TERMINAR();
  }
  // A run stopped halfway left the tables partly rebuilt: saying "Fin de Proceso" would
  // pass it for a finished one, so the screen stays for the run to be made again.
  if (!lastRun.completed) {
    screens::notice("Proceso cancelado por el usuario.");
    return;
  }
  screens::notice("Fin de Proceso");
  ENDDIALOG();
}

}  // namespace processes
