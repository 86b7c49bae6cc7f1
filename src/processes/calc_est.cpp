#include "processes/calc_est.h"

#include "lib/program_time.h"
#include "lib/text.h"
#include "rooms/availability_screens.h"
#include "screens/messages.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace processes {

namespace {

int numberOf(const win::WDIAG& d, int id) {
  const std::string t = lib::trim(d.GetDlgItemText(id));
  if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(t);
}

// A year typed with two digits is read in the window that starts in 1980.
int yearOf(const win::WDIAG& d, int id) {
  const int y = numberOf(d, id);
  if (lib::trim(d.GetDlgItemText(id)).size() > 2) return y;
  return y < 80 ? 2000 + y : 1900 + y;
}

}  // namespace

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
  const MonthRange period{yearOf(*this, 502), numberOf(*this, 501), yearOf(*this, 504), numberOf(*this, 503)};
  if (period.days().first == 0) {
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
  screens::notice("Fin de Proceso");
  ENDDIALOG();
}

}  // namespace processes
