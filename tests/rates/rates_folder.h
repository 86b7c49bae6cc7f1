// A program folder holding every catalogued table, empty, with fresh process-wide state, and a
// short way to put rows into it: rows of business "01" written through the data layer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "lib/wdbtable.h"
#include "support/program_folder.h"

namespace lib {
// Amounts as text in failure messages.
void PrintTo(const Money& amount, std::ostream* os);
}  // namespace lib

namespace rates_testing {

// dd/mm/yyyy as a Julian day.
int32_t day(int d, int m, int y);

// A field's value in a row: text, number or date.
struct V {
  V(const char* text) : value(lib::Value::chars(text)) {}
  V(const std::string& text) : value(lib::Value::chars(text)) {}
  V(int n) : value(lib::Value::num(n)) {}
  V(double n) : value(lib::Value::num(n)) {}
  static V date(int32_t julian) {
    V v(0);
    v.value = lib::Value::date(julian);
    return v;
  }
  lib::Value value;
};

class RatesFolder : public testing_support::ProgramFolder {
 public:
  RatesFolder();
  // Appends a row (NEGOCIO "01" unless the row names it).
  static uint32_t row(const std::string& table, std::initializer_list<std::pair<const char*, V>> fields);
  // A price record of business "01" with every price of `prices` (field -> amount).
  static uint32_t price(std::initializer_list<std::pair<const char*, V>> fields);
  // A dated (or, with blank years, default) period of `agencia` for `rack` and `tipo`; ADULT_1 =
  // `adult1`, ADULT_2 = 2 x adult1, NINHO_1 = child1.
  static uint32_t period(const std::string& agencia, const std::string& rack, const std::string& tipo,
                         const std::string& from, const std::string& to, double adult1, double child1 = 0,
                         int noAplica = 0, int levels = 0);
  static std::string text(const std::string& table, uint32_t recno, const std::string& field);
  static double number(const std::string& table, uint32_t recno, const std::string& field);
};

}  // namespace rates_testing
