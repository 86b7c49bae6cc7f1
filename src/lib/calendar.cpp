#include "lib/calendar.h"

#include <cstdlib>

#include "lib/text.h"
#include "xbase/date.h"

namespace lib {

int32_t FECHA_LIMITE() {
  static const int32_t limite = xbase::julianFromYmd(2090, 1, 1);
  return limite;
}

int32_t LAST_DAY(int32_t date) {
  if (date == 0) return 0;
  const xbase::Ymd d = xbase::ymdFromJulian(date);
  return xbase::julianFromYmd(d.month == 12 ? d.year + 1 : d.year, d.month == 12 ? 1 : d.month + 1, 1) - 1;
}

int32_t GOMONTH(int32_t date, int months) {
  if (date == 0) return 0;
  const xbase::Ymd d = xbase::ymdFromJulian(date);
  const int total = d.year * 12 + (d.month - 1) + months;
  const int year = total / 12, month = total % 12 + 1;
  const int32_t first = xbase::julianFromYmd(year, month, 1);
  const int lastDay = xbase::ymdFromJulian(LAST_DAY(first)).day;
  return first + (d.day < lastDay ? d.day : lastDay) - 1;
}

std::string NUM_INVERSO(int32_t date, const std::string& time) {
  int parts[3] = {0, 0, 0};
  size_t at = 0;
  for (int& p : parts) {
    if (at > time.size()) break;
    p = std::atoi(time.c_str() + at);
    const size_t colon = time.find(':', at);
    at = colon == std::string::npos ? time.size() + 1 : colon + 1;
  }
  return STR(FECHA_LIMITE() - date, 10) + STR(24 - parts[0], 10) + STR(60 - parts[1], 10) + STR(60 - parts[2], 10);
}

}  // namespace lib
