// The demo hotel of business "01": three classes, eight room types, 120 rooms in six
// locations, the room states, allotment contracts and a year of reservations around the
// closing day 15/01/2026, with the reservation table and the availability statistics of that
// year generated and recalculated by the program's own runs.
#pragma once

#include <cstdint>
#include <string>

namespace initdb {

// The demo's dates: the closing day, and the first and last day of its year (365 days, from
// a month before the closing day).
int32_t demoClosingDay();
int32_t demoFirstDay();
int32_t demoLastDay();

// Adds the demo hotel to the new program folder `home` (tables created, empty): the master
// data, the reservations, then the generation of the year and its recalculation.
void addHotelDemo(const std::string& home);

// The same hotel with `rooms` rooms (the 120-room layout repeated in further buildings) and
// its year of reservations, allotments and room states, without generating the reservation
// table or the statistics: what the benchmarks time. Also sets the process-wide state so that
// the program's tables open in `home`.
void addHotelData(const std::string& home, int rooms);

// After a generation: the nights of the reservations, blocks and pre-assignments written into
// the reservation table, and the rooms' current state (what the front desk leaves there).
void applyReservationNights(const std::string& home, int rooms);

}  // namespace initdb
