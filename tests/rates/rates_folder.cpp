#include "rates/rates_folder.h"

#include "lib/catalogue.h"
#include "lib/price_lookup.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "xbase/date.h"

namespace lib {
void PrintTo(const Money& amount, std::ostream* os) {
  *os << amount.text(6);
}
}  // namespace lib

namespace rates_testing {

int32_t day(int d, int m, int y) {
  return xbase::julianFromYmd(y, m, d);
}

RatesFolder::RatesFolder() {
  for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables())
    xbase::DbfTable::create(bases(t.name + ".DBF"), t.fields, t.tags);
}

uint32_t RatesFolder::row(const std::string& table, std::initializer_list<std::pair<const char*, V>> fields) {
  auto t = lib::USE(nullptr, table);
  lib::ADD(*t, [&] {
    t->FieldPut("NEGOCIO", lib::Value::chars("01"));
    for (const auto& [name, v] : fields) t->FieldPut(name, v.value);
  });
  const uint32_t recno = t->RecNo();
  lib::KILLTABLA(t);
  return recno;
}

uint32_t RatesFolder::price(std::initializer_list<std::pair<const char*, V>> fields) {
  return row("TIP_PREC", fields);
}

namespace {

// "dd/mm/yyyy" or "dd/mm" into the three texts.
void split(const std::string& date, std::string& d, std::string& m, std::string& y) {
  d = date.substr(0, 2);
  m = date.substr(3, 2);
  y = date.size() > 5 ? date.substr(6) : "";
}

}  // namespace

uint32_t RatesFolder::period(const std::string& agencia, const std::string& rack, const std::string& tipo,
                             const std::string& from, const std::string& to, double adult1, double child1,
                             int noAplica, int levels) {
  std::string d1, m1, y1, d2, m2, y2;
  split(from, d1, m1, y1);
  split(to, d2, m2, y2);
  return price({{"AGENCIA", agencia},
                {"RACK", rack},
                {"T_ROOM", tipo},
                {"CALC_TAR", 1},
                {"RA_DEFECTO", y1.empty() ? 1 : 0},
                {"DESCRIP", from + "-" + to},
                {"I_DIA", d1},
                {"I_MES", m1},
                {"I_ANHO", y1},
                {"F_DIA", d2},
                {"F_MES", m2},
                {"F_ANHO", y2},
                {"NO_APLICA", noAplica},
                {"NIV_TARI", levels},
                {"ADULT_1", adult1},
                {"ADULT_2", 2 * adult1},
                {"NINHO_1", child1}});
}

std::string RatesFolder::text(const std::string& table, uint32_t recno, const std::string& field) {
  auto t = lib::USE(nullptr, table);
  t->GoTo(recno);
  std::string s = t->S(field);
  lib::KILLTABLA(t);
  return s;
}

double RatesFolder::number(const std::string& table, uint32_t recno, const std::string& field) {
  auto t = lib::USE(nullptr, table);
  t->GoTo(recno);
  double n = t->N(field);
  lib::KILLTABLA(t);
  return n;
}

}  // namespace rates_testing
