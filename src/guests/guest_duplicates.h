// Likely duplicate guests of one business unit, found by grouping on normalised keys rather
// than by comparing every pair: the same document number (separators and case set aside),
// the same e-mail address (case set aside), the same name (accents, case, blanks, signs and
// word order set aside), or the same birth date with a close name (one edit or two apart, or
// the words of one within the other's). A group of n guests gives n - 1 pairs, each guest
// with the group's first, so that a key held by many guests stays linear; a pair found by
// several keys is listed once with every reason. A birth date held by more than 1,000 guests
// (a placeholder date) is not compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace guests {

struct GuestKeys {
  uint32_t recno = 0;
  std::string name, surname, document, email;  // as stored
  int32_t birth = 0;                           // F_NACE (0: none)
};

struct DuplicatePair {
  uint32_t first = 0, second = 0;  // record numbers, first < second
  std::string reason;              // "Mismo documento, Mismo email", ...
};

// The text of a name as the search compares it: letters without accents and digits in
// lower case, its words sorted and joined by one blank.
std::string NORMALIZA_NOMBRE(const std::string& text);

// The pairs among `guests`, in the order of their first and second record numbers.
std::vector<DuplicatePair> BUSCA_DUPLICADOS(const std::vector<GuestKeys>& guests);

}  // namespace guests
