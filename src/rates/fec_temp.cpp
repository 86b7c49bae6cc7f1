#include "rates/fec_temp.h"

#include "lib/messages.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/message_box.h"
#include "xbase/date.h"

namespace rates {

namespace {

constexpr int kSeason = 601, kStartDay = 500, kStartMonth = 501, kEndDay = 502, kEndMonth = 503;

}  // namespace

FEC_TEMP::FEC_TEMP(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"FEC_TEMP",
                   "FEC_TEMP",
                   kMenuId,
                   {{"Tempora ", "CODIGO", "!!", 0, 30},
                    {"Día Inicial", "DIA_INI", "99", 2, 40},
                    {"Mes Inicial", "MES_INI", "99", 2, 40},
                    {"Día Final", "DIA_FIN", "99", 2, 40},
                    {"Mes Final", "MES_FIN", "99", 2, 40}}}) {}

void FEC_TEMP::ADD_FEC_TEMP() {
  screens::OPEN<E_FEC_TE>(this, NEGOCIO, E_FEC_TE::kAdd);
}

void FEC_TEMP::MOD_FEC_TEMP() {
  if (hasRecord()) screens::OPEN<E_FEC_TE>(this, NEGOCIO, E_FEC_TE::kModify);
}

void FEC_TEMP::DEL_FEC_TEMP() {
  CALL_LEVEL();
  BORRA_REGISTRO("¿Desea borrar el item seleccionado?", {});
}

E_FEC_TE::E_FEC_TE(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "E_FEC_TE", negocio, mode) {
  CODE_ID = kSeason;
}

void E_FEC_TE::BIND() {
  FORM_.CODE(kSeason, REGISTRO, "CODIGO");
  FORM_.NUMBER(kStartDay, REGISTRO, "DIA_INI", "99");
  FORM_.NUMBER(kStartMonth, REGISTRO, "MES_INI", "99");
  FORM_.NUMBER(kEndDay, REGISTRO, "DIA_FIN", "99");
  FORM_.NUMBER(kEndMonth, REGISTRO, "MES_FIN", "99");
}

void E_FEC_TE::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kSeason}, "TEMPORA", "TEMPORA", NEGOCIO);
}

bool E_FEC_TE::VALIDA(const std::string& season) {
  if (season.empty()) return REHUSA("Debe definir la Temporada", kSeason);
  const int year = xbase::ymdFromJulian(lib::XDATE()).year;
  auto invalid = [&](int dayId, int monthId, const char* title) {
    const int day = int(FORM_.number(dayId)), month = int(FORM_.number(monthId));
    if (xbase::isValidYmd(year, month, day)) return false;
    win::MESSAGE_BOX(this,
                     std::string(12, ' ') + std::to_string(day) + "/" + std::to_string(month) + "/" +
                         std::to_string(year),
                     title, lib::MB_OK | lib::MB_ICONSTOP);
    SetFocusTo(dayId);
    return true;
  };
  if (invalid(kStartDay, kStartMonth, "Fecha Inicial no es Validad")) return false;
  if (invalid(kEndDay, kEndMonth, "Fecha Final no es Validad")) return false;
  auto dates = lib::USE(nullptr, "FEC_TEMP", "FEC_TEMP");
  char startDay[3];
  std::snprintf(startDay, sizeof startDay, "%2d", int(FORM_.number(kStartDay)));
  if (dates->Seek(lib::businessKey(NEGOCIO) + lib::padded(season, 2) + startDay) && dates->RecNo() != XRECNO) {
    win::MESSAGE_BOX(this, "Fechas para esta temporada ya estan definidas ", "Error ", lib::MB_OK | lib::MB_ICONSTOP);
    SetFocusTo(kStartDay);
    return false;
  }
  return true;
}

}  // namespace rates
