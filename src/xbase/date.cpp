#include "xbase/date.h"

#include <cstdio>

namespace xbase {

bool isValidYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int max = kDays[month - 1];
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) max = 29;
  return day <= max;
}

int32_t julianFromYmd(int year, int month, int day) {
  if (!isValidYmd(year, month, day)) return 0;
  // Fliegel & Van Flandern, proleptic Gregorian.
  int a = (14 - month) / 12;
  int y = year + 4800 - a;
  int m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

Ymd ymdFromJulian(int32_t julian) {
  if (julian <= 0) return {};
  int64_t a = int64_t(julian) + 32044;
  int64_t b = (4 * a + 3) / 146097;
  int64_t c = a - 146097 * b / 4;
  int64_t d = (4 * c + 3) / 1461;
  int64_t e = c - 1461 * d / 4;
  int64_t m = (5 * e + 2) / 153;
  Ymd r;
  r.day = int(e - (153 * m + 2) / 5 + 1);
  r.month = int(m + 3 - 12 * (m / 10));
  r.year = int(100 * b + d - 4800 + m / 10);
  return r;
}

std::string dtos(int32_t julian) {
  Ymd d = ymdFromJulian(julian);
  if (d.year <= 0 || d.year > 9999) return std::string(8, ' ');
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
  return buf;
}

int32_t julianFromDtos(std::string_view text) {
  if (text.size() < 8) return 0;
  int v[8];
  for (int i = 0; i < 8; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return 0;
    v[i] = c - '0';
  }
  int year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  int month = v[4] * 10 + v[5];
  int day = v[6] * 10 + v[7];
  return julianFromYmd(year, month, day);
}

int dayOfWeek(int32_t julian) {
  if (julian <= 0) return 0;
  return int((julian + 1) % 7) + 1;
}

}  // namespace xbase
