// Amounts in words against the rules of the documents: the hard amounts in both languages,
// with and without cents, the line layout at narrow widths, and the amounts outside the
// written range.
#include <gtest/gtest.h>

#include "lib/amount_words.h"

using lib::MONEX;
using lib::MONEX2;
using lib::MONEXINGLES;
using lib::Money;

namespace {

Money m(const char* text) {
  return Money::parse(text).value();
}

struct Hard {
  const char* amount;
  const char* spanish;  // with cents
  const char* spanishNoCents;
  const char* english;
};

// Where a hundreds or scale word meets the cents the text keeps both blanks.
const Hard kHard[] = {
    {"0.00", "EXACTOS", "", "EXACT"},
    {"0.05", "CON 05/100", "", "WITH 05/100"},
    {"1.00", "UNO EXACTOS", "UNO", "ONE EXACT"},
    {"15", "QUINCE EXACTOS", "QUINCE", "FIFTEEN EXACT"},
    {"16", "DIECISEIS EXACTOS", "DIECISEIS", "SIXTEEN EXACT"},
    {"18.40", "DIECIOCHO CON 40/100", "DIECIOCHO", "EIGHTEEN WITH 40/100"},
    {"21", "VEINTIUNO EXACTOS", "VEINTIUNO", "TWENTY ONE EXACT"},
    {"44", "CUARENTA Y CUATRO EXACTOS", "CUARENTA Y CUATRO", "FORTY FOUR EXACT"},
    {"100", "CIEN EXACTOS", "CIEN", "HUNDRED EXACT"},
    {"101", "CIENTO UNO EXACTOS", "CIENTO UNO", "ONE HUNDRED ONE EXACT"},
    {"199", "CIENTO NOVENTA Y NUEVE EXACTOS", "CIENTO NOVENTA Y NUEVE", "ONE HUNDRED NINETY NINE EXACT"},
    {"200", "DOSCIENTOS  EXACTOS", "DOSCIENTOS", "TWO HUNDRED  EXACT"},
    {"1,000", "UN MIL  EXACTOS", "UN MIL", "ONE THOUSAND  EXACT"},
    {"1,001", "UN MIL UNO EXACTOS", "UN MIL UNO", "ONE THOUSAND ONE EXACT"},
    {"21,000", "VEINTIUN MIL  EXACTOS", "VEINTIUN MIL", "TWENTY ONE THOUSAND  EXACT"},
    {"100,000", "CIEN MIL  EXACTOS", "CIEN MIL", "HUNDRED THOUSAND  EXACT"},
    {"1,000,000", "UN MILLON  EXACTOS", "UN MILLON", "ONE MILLION  EXACT"},
    {"2,000,000.01", "DOS MILLONES  CON 01/100", "DOS MILLONES", "TWO MILLIONS  WITH 01/100"},
    {"999,999,999.99",
     "NOVECIENTOS NOVENTA Y NUEVE MILLONES NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE CON 99/100",
     "NOVECIENTOS NOVENTA Y NUEVE MILLONES NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS NOVENTA Y NUEVE",
     "NINE HUNDRED NINETY NINE MILLIONS NINE HUNDRED NINETY NINE THOUSAND NINE HUNDRED NINETY NINE WITH 99/100"},
};

}  // namespace

TEST(AmountWords, HardAmountsInBothLanguagesWithAndWithoutCents) {
  for (const Hard& h : kHard) {
    SCOPED_TRACE(h.amount);
    EXPECT_EQ(MONEX(m(h.amount), 300), h.spanish);
    EXPECT_EQ(MONEX(m(h.amount), 300, true), h.spanishNoCents);
    EXPECT_EQ(MONEXINGLES(m(h.amount), 300), h.english);
    EXPECT_EQ(MONEX2(m(h.amount), 300, true, 1), h.spanishNoCents);
    EXPECT_EQ(MONEX2(m(h.amount), 300, false, 3), h.spanish);  // any language but English is Spanish
    EXPECT_EQ(MONEX2(m(h.amount), 300, true, 2), h.english);   // English always writes the cents
  }
}

// The examples the documents are checked against, and every group form once.
TEST(AmountWords, SpanishGroupsJoinTheirWordsAsWritten) {
  EXPECT_EQ(MONEX(m("21.50"), 300), "VEINTIUNO CON 50/100");
  EXPECT_EQ(MONEX(m("35"), 300), "TREINTA Y CINCO EXACTOS");
  EXPECT_EQ(MONEX(m("1,500"), 300), "UN MIL QUINIENTOS  EXACTOS");
  EXPECT_EQ(MONEX(m("7.25"), 300, true), "SIETE");
  EXPECT_EQ(MONEX(m("20"), 300), "VEINTE EXACTOS");
  EXPECT_EQ(MONEX(m("31"), 300), "TREINTA Y UNO EXACTOS");
  EXPECT_EQ(MONEX(m("777"), 300), "SETECIENTOS SETENTA Y SIETE EXACTOS");
  EXPECT_EQ(MONEX(m("1,001,001"), 300), "UN MILLON UN MIL UNO EXACTOS");
  EXPECT_EQ(MONEX(m("3,014,115.10"), 300), "TRES MILLONES CATORCE MIL CIENTO QUINCE CON 10/100");
  EXPECT_EQ(MONEXINGLES(m("3,014,140.10"), 300), "THREE MILLIONS FOURTEEN THOUSAND ONE HUNDRED FORTY WITH 10/100");
  EXPECT_EQ(MONEXINGLES(m("20"), 300), "TWENTY EXACT");
  EXPECT_EQ(MONEXINGLES(m("90"), 300), "NINETY EXACT");
}

TEST(AmountWords, CentsRoundHalfAwayFromZero) {
  EXPECT_EQ(MONEX(m("0.005"), 300), "CON 01/100");
  EXPECT_EQ(MONEX(m("0.994"), 300), "CON 99/100");
  EXPECT_EQ(MONEX(m("0.995"), 300), "UNO EXACTOS");
  EXPECT_EQ(lib::ROUND5(m("2.675")), m("2.68"));
  EXPECT_EQ(lib::ROUND5(m("-2.675")), m("-2.68"));
}

// A text longer than the width: the first line, cut at a blank or inside a word at a syllable
// (marked "-"), padded with "/" to the width; what fits comes back whole and unpadded.
TEST(AmountWords, TheFirstLineOfANarrowLayout) {
  EXPECT_EQ(MONEX(m("1,500"), 20), "UN MIL QUINIENTOS///");
  EXPECT_EQ(MONEX(m("1,500"), 12), "UN MIL QUI-/");
  EXPECT_EQ(MONEX(m("1,500"), 15), "UN MIL QUINIEN-");
  // The last piece needs a character more than it takes.
  EXPECT_EQ(MONEX(m("1,500"), 27), "UN MIL QUINIENTOS  EXACTOS");
  EXPECT_EQ(MONEX(m("1,500"), 26), "UN MIL QUINIENTOS/////////");
  EXPECT_EQ(MONEXINGLES(m("1,500"), 16), "ONE THOUSAND////");
  // A piece wider than the line is not lost.
  EXPECT_EQ(MONEXINGLES(m("13"), 4), "THIRTEEN");
}

TEST(AmountWords, OutsideTheWrittenRange) {
  EXPECT_EQ(MONEX(m("-21.50"), 300), "MENOS VEINTIUNO CON 50/100");
  EXPECT_EQ(MONEXINGLES(m("-1"), 300), "MINUS ONE EXACT");
  EXPECT_EQ(MONEX(m("1,000,000,000"), 300), "");
  EXPECT_EQ(MONEX(m("999,999,999.995"), 300), "");  // rounds to a thousand million
  EXPECT_EQ(MONEXINGLES(m("5,000,000,000"), 300), "");
}
