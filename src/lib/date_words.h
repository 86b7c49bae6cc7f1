// Days and months in words, and dates with the month in words, for printed documents and
// reports. Languages are numbered as the documents' settings number them: 1 Spanish,
// 2 English. A day or month (or, where the language matters, a language) outside the
// ones listed gives "-----------".
#pragma once

#include <cstdint>
#include <string>

namespace lib {

// Day of the week 1 (Sunday) to 7: form 0 "DOMINGO" ... "SABADO", form 1 "DO" ... "SA".
std::string DIAS_EN_LETRAS(int day, int form = 0);
// Month 1 to 12: "ENERO" ... "DICIEMBRE" (Spanish, with "SETIEMBRE"), "JANUARY" ... "DECEMBER".
std::string MES_EN_LETRAS(int month, int language = 1);
// Month 1 to 12: "ENE" ... "DIC" (with "SET"), "JAN" ... "DEC".
std::string MES_EN_LETRAS_CORTO(int month, int language = 1);
// The report screens' month headings: "Enero" ... "Diciembre"; "" for any other number.
std::string MES_EN_LETRAS_REPORTE(int month);

// "05/SEP/2024": two-digit day, the short month name in `language` (1 Spanish "05/SET/2024",
// 2 English), four-digit year; any other language gives the month as two digits
// ("05/09/2024"). The empty date gives "".
std::string DTOC2(int32_t date, int language = 2);

}  // namespace lib
