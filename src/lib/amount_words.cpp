#include "lib/amount_words.h"

#include <array>
#include <cstdint>

#include "lib/text.h"

namespace lib {

namespace {

// How a language writes a group of three digits and joins the groups and the cents. The
// Spanish words mark their syllables with "-", which the layout removes.
struct Language {
  std::string (*group)(int value);
  const char* millions;  // more than one million
  const char* million;
  const char* thousands;
  const char* cents;  // before the cents' digits
  const char* exact;  // no cents
  const char* minus;
  bool unoAtTheEnd;  // a text ending in "UN" ends in "UNO"
};

// Spanish words 1 to 34: units and teens, "DIE-CI" and "VEIN-TI" to be followed by a unit,
// the tens from "TREIN-TA", the hundreds from "CIEN-TO ".
// clang-format off
constexpr std::array<const char*, 34> kSpanish = {
    "UN", "DOS", "TRES", "CUA-TRO", "CIN-CO", "SEIS", "SIE-TE", "O-CHO", "NUE-VE",
    "DIEZ", "ON-CE", "DO-CE", "TRE-CE", "CA-TOR-CE", "QUIN-CE",
    "DIE-CI", "VEIN-TE", "VEIN-TI",
    "TREIN-TA", "CUA-REN-TA", "CIN-CUEN-TA", "SE-SEN-TA", "SE-TEN-TA", "O-CHEN-TA", "NO-VEN-TA",
    "CIEN-TO ", "DOS-CIEN-TOS ", "TRES-CIEN-TOS ", "CUA-TRO-CIEN-TOS ", "QUI-NIEN-TOS ",
    "SEIS-CIEN-TOS ", "SE-TE-CIEN-TOS ", "O-CHO-CIEN-TOS ", "NO-VE-CIEN-TOS "};
// clang-format on

// English words 1 to 37: 1 to 20, "TWENTY" again to be followed by a unit, the tens from
// "THIRTY", the hundreds. Eighteen, forty and thousand are spelt right on our documents.
// clang-format off
constexpr std::array<const char*, 37> kEnglish = {
    "ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX", "SEVEN", "EIGHT", "NINE", "TEN",
    "ELEVEN", "TWELVE", "THIRTEEN", "FOURTEEN", "FIFTEEN", "SIXTEEN", "SEVENTEEN", "EIGHTEEN", "NINETEEN",
    "TWENTY", "TWENTY",
    "THIRTY", "FORTY", "FIFTY", "SIXTY", "SEVENTY", "EIGHTY", "NINETY",
    "ONE HUNDRED ", "TWO HUNDRED ", "THREE HUNDRED ", "FOUR HUNDRED ", "FIVE HUNDRED ", "SIX HUNDRED ",
    "SEVEN HUNDRED ", "EIGHT HUNDRED ", "NINE HUNDRED "};
// clang-format on

std::string es(int n) {
  return kSpanish[size_t(n - 1)];
}
std::string en(int n) {
  return kEnglish[size_t(n - 1)];
}

// LEYE: 0 to 999 in Spanish.
std::string spanishGroup(int v) {
  const int h = v / 100, t = v % 100, u = v % 10;
  if (v == 100) return "CIEN";
  std::string out = v > 100 && v < 200 ? es(26) : v >= 200 ? es(h + 25) : "";
  if (t >= 1 && t <= 15)
    out += es(t);
  else if (t >= 16 && t <= 19)
    out += es(16) + es(u);
  else if (t == 20)
    out += es(17);
  else if (t >= 21 && t <= 29)
    out += es(18) + es(u);
  else if (t >= 30)
    out += es(t / 10 + 16) + (u > 0 ? " Y " + es(u) : "");
  return out;
}

// LEYE_INGLES: 0 to 999 in English.
std::string englishGroup(int v) {
  const int h = v / 100, t = v % 100, u = v % 10;
  if (v == 100) return "HUNDRED";
  std::string out = v > 100 && v < 200 ? en(29) : v >= 200 ? en(h + 28) : "";
  if (t >= 1 && t <= 20)
    out += en(t);
  else if (t >= 21 && t <= 29)
    out += en(21) + " " + en(u);
  else if (t >= 30)
    out += en(t / 10 + 19) + (u > 0 ? " " + en(u) : "");
  return out;
}

const Language kSpanishText = {spanishGroup, " MI-LLO-NES ", " MI-LLON ", " MIL ", " CON ", " EXACTOS", "MENOS ", true};
const Language kEnglishText = {englishGroup, " MILLIONS ", " MILLION ", " THOUSAND ",
                               " WITH ",     " EXACT",     "MINUS ",    false};

// The first line of `text` laid out in lines of `width`: pieces end at a blank or at a
// syllable mark; a piece of length L fits while L + 1 characters are left.
std::string firstLine(const std::string& text, int width) {
  const std::string s = text + " ";
  std::string line;
  int left = width;
  bool afterSyllable = false;
  for (size_t at = 0; at < s.size();) {
    const size_t end = s.find_first_of(" -", at);
    const std::string piece = s.substr(at, end - at);
    const bool blank = s[end] == ' ';
    const int length = int(piece.size());
    if (left < length + 1 && !trim(line).empty()) {
      std::string closed = trim(line) + (afterSyllable ? "-" : "");
      if (int(closed.size()) < width) closed.append(size_t(width) - closed.size(), '/');
      return closed;
    }
    line += piece;
    if (blank) line += ' ';
    left -= length + (blank ? 1 : 0);
    afterSyllable = !blank;
    at = end + 1;
  }
  return trim(line);
}

std::string words(Money amount, int width, bool sinCentimos, const Language& lang) {
  const Money cents = amount.rounded(2);
  const int64_t c = cents.abs().millionths() / 10'000;  // the amount in cents
  if (c > 99'999'999'999LL) return "";
  const int millions = int(c / 100'000'000 % 1000), thousands = int(c / 100'000 % 1000), units = int(c / 100 % 1000),
            hundredths = int(c % 100);
  std::string text = cents.negative() ? lang.minus : "";
  if (millions > 0) text += lang.group(millions) + (millions > 1 ? lang.millions : lang.million);
  if (thousands > 0) text += lang.group(thousands) + lang.thousands;
  if (units > 0) {
    text += lang.group(units);
    if (lang.unoAtTheEnd && text.size() >= 2 && text.compare(text.size() - 2, 2, "UN") == 0) text += "O";
  }
  if (!sinCentimos) {
    if (hundredths > 0) {
      const char digits[3] = {char('0' + hundredths / 10), char('0' + hundredths % 10), 0};
      text += std::string(lang.cents) + digits + "/100";
    } else {
      text += lang.exact;
    }
  }
  return firstLine(text, width);
}

}  // namespace

std::string MONEX(Money amount, int width, bool sinCentimos) {
  return words(amount, width, sinCentimos, kSpanishText);
}

std::string MONEXINGLES(Money amount, int width) {
  return words(amount, width, false, kEnglishText);
}

std::string MONEX2(Money amount, int width, bool sinCentimos, int language) {
  return language == 2 ? MONEXINGLES(amount, width) : MONEX(amount, width, sinCentimos);
}

Money ROUND5(Money amount) {
  return amount.rounded(2);
}

}  // namespace lib
