// The demo hotel's folders the benchmarks of the reservation data work on, at any number of
// rooms, made once per run in the benchmarks' scratch folder.
#pragma once

#include <string>

namespace bench {

// Points the program at `home` (table files).
void useFolder(const std::string& home);
// An empty program folder made by configura-initdb, with the hotel's master data,
// reservations and allotments of `rooms` rooms: nothing generated yet.
const std::string& pristineHotel(int rooms);
// The same hotel with its year generated and its nights written into the reservation table,
// as the recalculations find it.
const std::string& generatedHotel(int rooms);

}  // namespace bench
