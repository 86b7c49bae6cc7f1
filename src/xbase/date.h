// Calendar dates as Julian day numbers, the form xBase keys and timestamps use.
// Day 0 is the empty date; 1970-01-01 is 2440588 (proleptic Gregorian calendar).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xbase {

struct Ymd {
  int year = 0;
  int month = 0;
  int day = 0;
};

int32_t julianFromYmd(int year, int month, int day);  // 0 when the date does not exist
Ymd ymdFromJulian(int32_t julian);                    // {0,0,0} for the empty date
bool isValidYmd(int year, int month, int day);

// "YYYYMMDD", or eight blanks for the empty date.
std::string dtos(int32_t julian);
// Reads "YYYYMMDD"; blank or unreadable text gives the empty date.
int32_t julianFromDtos(std::string_view text);

int dayOfWeek(int32_t julian);  // 1 = Sunday ... 7 = Saturday, 0 for the empty date

}  // namespace xbase
