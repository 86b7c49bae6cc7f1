#include "lib/rate_calendar.h"

#include <cstdio>

#include "lib/text.h"
#include "xbase/date.h"

namespace lib {

bool EN_DIAS_SEMANA(int w, int first, int last) {
  if (first <= last) return first <= w && w <= last;
  return w >= first || w <= last;
}

bool EN_RANGO_ANUAL(int month, int day, int m1, int d1, int m2, int d2) {
  const bool afterStart = month > m1 || (month == m1 && day >= d1);
  const bool beforeEnd = month < m2 || (month == m2 && day <= d2);
  if (m1 <= m2) return afterStart && beforeEnd;
  return afterStart || beforeEnd;
}

int NUMERO_TEXTO(std::string_view text) {
  std::string_view t = text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (t.empty() || t.size() > 9) return -1;
  int n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

int32_t FECHA_TEXTOS(const std::string& day, const std::string& month, const std::string& year) {
  const int d = NUMERO_TEXTO(day), m = NUMERO_TEXTO(month), y = NUMERO_TEXTO(year);
  if (d < 1 || m < 1 || y < 1) return 0;
  return xbase::julianFromYmd(y, m, d);
}

std::string TEXTO_FECHA(const std::string& typed, size_t width) {
  const std::string t = trim(typed);
  if (width == 2 && t.size() == 1 && t[0] >= '0' && t[0] <= '9') return "0" + t;
  return padded(t, width);
}

std::string FECHA_LARGA(int32_t julian) {
  if (julian == 0) return "";
  const xbase::Ymd ymd = xbase::ymdFromJulian(julian);
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", ymd.day, ymd.month, ymd.year);
  return text;
}

}  // namespace lib
