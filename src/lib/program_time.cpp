#include "lib/program_time.h"

#include <cstdio>
#include <optional>

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

int32_t CTOD(const std::string& text) {
  int d = 0, m = 0, y = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d%c", &d, &m, &y, &extra) != 3) return 0;
  size_t slash = text.rfind('/');
  size_t digits = text.size() - slash - 1;
  while (digits > 0 && text[slash + digits] == ' ') --digits;
  if (digits <= 2) y += y < 80 ? 2000 : 1900;  // the hundred years from 1980
  return xbase::julianFromYmd(y, m, d);
}

std::string INFO_TEXT() {
  Globals& g = G();
  return g.windowsUser() + " / " + g.computerName() + " " + DTOC(XDATE()) + " " + XTIME();
}

}  // namespace lib
