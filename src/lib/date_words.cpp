#include "lib/date_words.h"

#include <array>
#include <cstdio>

#include "xbase/date.h"

namespace lib {

namespace {

const std::string kNone = "-----------";

template <size_t N>
std::string pick(const std::array<const char*, N>& names, int n) {
  return n >= 1 && n <= int(N) ? names[size_t(n - 1)] : kNone;
}

constexpr std::array<const char*, 12> kMonths = {"ENERO", "FEBRERO", "MARZO",     "ABRIL",   "MAYO",      "JUNIO",
                                                 "JULIO", "AGOSTO",  "SETIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};
constexpr std::array<const char*, 12> kMonthsEnglish = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                                        "MAY",       "JUNE",     "JULY",     "AUGUST",
                                                        "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
constexpr std::array<const char*, 12> kShort = {"ENE", "FEB", "MAR", "ABR", "MAY", "JUN",
                                                "JUL", "AGO", "SET", "OCT", "NOV", "DIC"};
constexpr std::array<const char*, 12> kShortEnglish = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

}  // namespace

std::string DIAS_EN_LETRAS(int day, int form) {
  constexpr std::array<const char*, 7> names = {"DOMINGO", "LUNES",   "MARTES", "MIERCOLES",
                                                "JUEVES",  "VIERNES", "SABADO"};
  constexpr std::array<const char*, 7> shortNames = {"DO", "LU", "MA", "MI", "JU", "VI", "SA"};
  if (form == 0) return pick(names, day);
  if (form == 1) return pick(shortNames, day);
  return kNone;
}

std::string MES_EN_LETRAS(int month, int language) {
  if (language == 1) return pick(kMonths, month);
  if (language == 2) return pick(kMonthsEnglish, month);
  return kNone;
}

std::string MES_EN_LETRAS_CORTO(int month, int language) {
  if (language == 1) return pick(kShort, month);
  if (language == 2) return pick(kShortEnglish, month);
  return kNone;
}

std::string MES_EN_LETRAS_REPORTE(int month) {
  constexpr std::array<const char*, 12> names = {"Enero", "Febrero", "Marzo",     "Abril",   "Mayo",      "Junio",
                                                 "Julio", "Agosto",  "Setiembre", "Octubre", "Noviembre", "Diciembre"};
  return month >= 1 && month <= 12 ? names[size_t(month - 1)] : "";
}

std::string DTOC2(int32_t date, int language) {
  const xbase::Ymd d = xbase::ymdFromJulian(date);
  if (d.year == 0) return "";
  char day[8], year[8], month[8];
  std::snprintf(day, sizeof day, "%02d", d.day);
  std::snprintf(year, sizeof year, "%04d", d.year);
  std::snprintf(month, sizeof month, "%02d", d.month);
  const std::string named = language == 1 || language == 2 ? MES_EN_LETRAS_CORTO(d.month, language) : month;
  return std::string(day) + "/" + named + "/" + year;
}

}  // namespace lib
