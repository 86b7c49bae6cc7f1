// The calendar rules of the rate tables: ranges of days of the week (sub-seasons), ranges of
// day and month that recur every year (season dates, default periods) and the dated ranges of
// rate periods and promotions, whose days, months and years are kept as digit texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lib {

// Day of the week w (1 = Sunday ... 7 = Saturday) lies in first..last; a first day after the
// last runs across the week end (Friday 6 to Monday 2 holds Saturday and Sunday).
bool EN_DIAS_SEMANA(int w, int first, int last);

// (month, day) lies in the yearly range from (m1, d1) to (m2, d2), both ends included; a start
// month after the end month runs across the year end (15/12 to 15/01 holds 31/12 and 01/01).
// The year never matters.
bool EN_RANGO_ANUAL(int month, int day, int m1, int d1, int m2, int d2);

// The date written by a period's day, month and year texts ("05", "03", "2026"); 0 when they
// write no date (blank, letters, 31/02...).
int32_t FECHA_TEXTOS(const std::string& day, const std::string& month, const std::string& year);

// A number typed as text: its digits, blanks around ignored; -1 when it is not one.
int NUMERO_TEXTO(std::string_view text);

// Day or month texts as the period tables keep them: a number of one digit gets a leading
// zero, anything else is cut or blank-padded to `width`.
std::string TEXTO_FECHA(const std::string& typed, size_t width);

// "dd/mm/yyyy" (the form the rate screens show whole dates in); "" for 0.
std::string FECHA_LARGA(int32_t julian);

}  // namespace lib
