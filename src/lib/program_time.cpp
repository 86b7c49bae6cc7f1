#include "lib/program_time.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "lib/globals.h"
#include "xbase/date.h"

namespace lib {

namespace {

std::optional<server::ServerTime> serverTime(bool local) {
  Globals& g = G();
  if (local || g.XFEC_HORA_LOCAL == 1 || g.DEF_RDD.rfind("ADS", 0) != 0 || !g.XADS_MYCONNECTION) return std::nullopt;
  std::optional<server::ServerTime> t = g.server->ADSGETSERVERTIME();
  if (!t || t->julian <= 0 || xbase::ymdFromJulian(t->julian).year < 1700) return std::nullopt;
  return t;
}

}  // namespace

int32_t XDATE(bool local) {
  if (auto t = serverTime(local)) return t->julian;
  return G().clock->now().julian;
}

std::string XTIME(bool local) {
  if (auto t = serverTime(local)) return timeText(t->millis);
  return timeText(G().clock->now().millis);
}

std::string timeText(int32_t millis) {
  int s = millis / 1000;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
  return buf;
}

std::string DTOC(int32_t julian) {
  xbase::Ymd d = xbase::ymdFromJulian(julian);
  if (d.year == 0) return "  /  /  ";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", d.day, d.month, d.year % 100);
  return buf;
}

namespace {

// One part of a typed date: its digits without the blanks around them; false when it holds
// anything else or nothing.
bool digitsOf(std::string_view part, std::string& digits) {
  size_t a = part.find_first_not_of(' '), b = part.find_last_not_of(' ');
  if (a == std::string_view::npos) return false;
  digits = std::string(part.substr(a, b - a + 1));
  return digits.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

TypedDate readDate(const std::string& text) {
  TypedDate unreadable;
  unreadable.unreadable = true;
  if (text.find_first_not_of(" /") == std::string::npos) return {};
  size_t first = text.find('/'), second = first == std::string::npos ? first : text.find('/', first + 1);
  if (second == std::string::npos || text.find('/', second + 1) != std::string::npos) return unreadable;
  const std::string_view all(text);
  std::string day, month, year;
  if (!digitsOf(all.substr(0, first), day) || !digitsOf(all.substr(first + 1, second - first - 1), month) ||
      !digitsOf(all.substr(second + 1), year))
    return unreadable;
  if (day.size() > 2 || month.size() > 2 || year.size() == 3 || year.size() > 4) return unreadable;
  int y = std::stoi(year);
  if (year.size() <= 2) y += y < 80 ? 2000 : 1900;  // the hundred years from 1980
  TypedDate date;
  date.julian = xbase::julianFromYmd(y, std::stoi(month), std::stoi(day));
  return date.julian ? date : unreadable;
}

int32_t CTOD(const std::string& text) {
  return readDate(text).julian;
}

std::string INFO_TEXT() {
  Globals& g = G();
  return g.windowsUser() + " / " + g.computerName() + " " + DTOC(XDATE()) + " " + XTIME();
}

}  // namespace lib
