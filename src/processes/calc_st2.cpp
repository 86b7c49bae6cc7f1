#include "processes/calc_st2.h"

#include "lib/program_time.h"
#include "processes/month_entry.h"
#include "rooms/availability_screens.h"
#include "rooms/hotel_day.h"
#include "screens/messages.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace processes {

namespace {

constexpr int kMonth = 501, kYear = 502;

}  // namespace

void CALC_ST2::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  const xbase::Ymd closing = xbase::ymdFromJulian(rooms::CIERRE_DIA(NEGOCIO));
  SetDlgItemText(kMonth, std::to_string(closing.month));
  SetDlgItemText(kYear, std::to_string(closing.year));
  SetFocusTo(kMonth);
}

void CALC_ST2::PROCESAR() {
  CALL_LEVEL();
  const int month = monthOfEdit(*this, kMonth);
  if (month == 0) {
    screens::error("Mes no válido: escriba un número del 1 al 12");
    SetFocusTo(kMonth);
    return;
  }
  const int year = yearOfEdit(*this, kYear);
  if (year == 0) {
    screens::error("Año no válido: escriba el año con dos o cuatro cifras");
    SetFocusTo(kYear);
    return;
  }
  const int32_t closing = rooms::CIERRE_DIA(NEGOCIO);
  if (xbase::julianFromYmd(year, month, 1) > closing) {
    screens::error("El mes de inicio es posterior a la fecha de cierre del hotel (" + lib::DTOC(closing) + ")");
    SetFocusTo(kMonth);
    return;
  }
  {
    win::WAIT wait(this);
    rooms::WaitProgress progress(wait);
    lastRun = ACTUALIZA_CORPORATIVO(NEGOCIO, year, month, progress);
    wait.TERMINAR();
  }
  if (!lastRun.completed) {
    screens::notice("Proceso cancelado por el usuario.");
    return;
  }
  screens::notice("Fin de Proceso");
  ENDDIALOG();
}

}  // namespace processes
