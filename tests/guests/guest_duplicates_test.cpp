#include "guests/guest_duplicates.h"

#include <gtest/gtest.h>

#include <map>

#include "xbase/date.h"

namespace guests {
namespace {

std::map<std::pair<uint32_t, uint32_t>, std::string> byPair(const std::vector<GuestKeys>& guests) {
  std::map<std::pair<uint32_t, uint32_t>, std::string> out;
  for (const DuplicatePair& p : BUSCA_DUPLICADOS(guests)) {
    EXPECT_LT(p.first, p.second);
    EXPECT_TRUE(out.emplace(std::pair{p.first, p.second}, p.reason).second) << "pair listed twice";
  }
  return out;
}

TEST(GuestDuplicates, NamesComparedWithoutAccentsCaseSignsOrOrder) {
  EXPECT_EQ(NORMALIZA_NOMBRE("  Rodríguez,  MARÍA "), "maria rodriguez");
  EXPECT_EQ(NORMALIZA_NOMBRE("María Rodríguez"), NORMALIZA_NOMBRE("RODRIGUEZ maria"));
  EXPECT_EQ(NORMALIZA_NOMBRE("Núñez-Ávila Ñandú"), "avila nandu nunez");
  EXPECT_EQ(NORMALIZA_NOMBRE(""), "");
}

TEST(GuestDuplicates, EachKeyFindsItsPairAndSaysWhy) {
  const int32_t birth = xbase::julianFromYmd(1975, 3, 12);
  const std::vector<GuestKeys> guests = {
      {1, "José", "Vargas", "1-0234-0567", "jose@mail.com", 0},
      {2, "Jose", "Vargas", "10234 0567", "otro@mail.com", 0},  // document (and name)
      {3, "Ana", "Mora", "P100", "ANA.MORA@Mail.com ", 0},      // the address of 4
      {4, "Ana María", "Mora Solís", "P200", "ana.mora@mail.com", 0},
      {5, "Lucía", "Castro Rojas", "P300", "", 0},
      {6, "CASTRO ROJAS", "lucia", "P400", "", 0},  // the name turned round
      {7, "Katherine", "Smith", "P500", "", birth},
      {8, "Katharine", "Smith", "P600", "", birth},  // a letter apart, same birth
      {9, "Katharine", "Smith Jones", "P700", "", xbase::julianFromYmd(1975, 3, 13)},
      {10, "Pedro", "Solano", "", "", 0},
      {11, "Pedro", "Solano Ruiz", "", "", 0},  // no key in common
  };
  const auto pairs = byPair(guests);
  EXPECT_EQ(pairs.at({1, 2}), "Mismo documento, Mismo nombre");
  EXPECT_EQ(pairs.at({3, 4}), "Mismo email");
  EXPECT_EQ(pairs.at({5, 6}), "Mismo nombre");
  EXPECT_EQ(pairs.at({7, 8}), "Misma fecha de nacimiento y nombre parecido");
  EXPECT_EQ(pairs.size(), 4u) << "a close name on another birth date, or two guests sharing only a name part, "
                                 "are not duplicates";
}

TEST(GuestDuplicates, AWordLeftOutWithTheSameBirthDate) {
  const int32_t birth = xbase::julianFromYmd(1982, 6, 21);
  const auto pairs = byPair({{1, "Juan Carlos", "Pérez Soto", "P1", "", birth},
                             {2, "Juan", "Pérez Soto", "P2", "", birth},
                             {3, "Juan", "Soto", "P3", "", birth}});
  EXPECT_EQ(pairs.at({1, 2}), "Misma fecha de nacimiento y nombre parecido");
  EXPECT_EQ(pairs.at({2, 3}), "Misma fecha de nacimiento y nombre parecido");
  EXPECT_EQ(pairs.at({1, 3}), "Misma fecha de nacimiento y nombre parecido");
  EXPECT_EQ(byPair({{1, "Juan", "Soto", "P1", "", birth}, {2, "Juana", "Sotela", "P2", "", birth}}).size(), 0u)
      << "more than two letters apart, and no word of one within the other";
}

// A key many guests hold gives each of them once, with the first: n - 1 pairs, not n².
TEST(GuestDuplicates, AKeyHeldByManyStaysLinear) {
  std::vector<GuestKeys> guests;
  for (uint32_t r = 1; r <= 2000; ++r)
    guests.push_back({r, "Huésped" + std::to_string(r), "Apellido" + std::to_string(r * 7), "P" + std::to_string(r),
                      "sinmail@hotel.com", 0});
  const auto pairs = BUSCA_DUPLICADOS(guests);
  ASSERT_EQ(pairs.size(), 1999u);
  for (const DuplicatePair& p : pairs) {
    EXPECT_EQ(p.first, 1u);
    EXPECT_EQ(p.reason, "Mismo email");
  }
}

TEST(GuestDuplicates, ShortOrMissingKeysMatchNothing) {
  const auto pairs = byPair(
      {{1, "A", "B", "0", "x@y", 0}, {2, "C", "D", "0", "x@y", 0}, {3, "", "", "", "", 0}, {4, "", "", "", "", 0}});
  EXPECT_TRUE(pairs.empty());
}

}  // namespace
}  // namespace guests
