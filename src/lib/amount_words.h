// Amounts in words, as cheques, invoices and receipts print them ("VEINTIUNO CON 50/100").
//
// The amount is rounded to cents (half away from zero) and read in groups of three digits:
// millions, thousands, units. Spanish marks the syllables of its words so that a line can be
// cut inside a word; the text is laid out in lines of `width` characters and the first line
// comes back: a text that fits comes back whole and trimmed, one that does not is cut at a
// blank or a syllable (with "-"), trimmed and padded with "/" to the width. Blanks are kept
// as the text is built, so where a scale or hundreds word meets the cents the text has two
// ("UN MIL  EXACTOS"). Documents print with a width of 300.
//
// Written for 0 to 999,999,999.99. A negative amount is written as its absolute value after
// "MENOS" ("MINUS"); an amount of a thousand million or more gives "" (no words rather than
// wrong ones). A word piece longer than the whole width is put on its line as it is.
#pragma once

#include <string>

#include "lib/money.h"

namespace lib {

// Spanish: "UNO EXACTOS", "CIENTO UNO CON 05/100"; with `sinCentimos` the cents are left out.
std::string MONEX(Money amount, int width, bool sinCentimos = false);
// English: "ONE HUNDRED ONE WITH 05/100", "TWENTY ONE THOUSAND  EXACT"; always with cents.
std::string MONEXINGLES(Money amount, int width);
// MONEX for language 1 (and any language but 2), MONEXINGLES for 2 (which takes no
// `sinCentimos`).
std::string MONEX2(Money amount, int width, bool sinCentimos, int language = 1);

// The amount rounded to two decimals, half away from zero.
Money ROUND5(Money amount);

}  // namespace lib
