#include "lib/agency_commission.h"

#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"

namespace lib {

namespace {

std::string numbered(const char* field, int n) {
  return field + std::to_string(n);
}

// Month and day as one number (MMDD), or nullopt when they are not a day of a leap year.
std::optional<int> monthDay(const std::string& day, const std::string& month) {
  const std::string d = trim(day), m = trim(month);
  if (d.empty() || m.empty() || d.size() > 2 || m.size() > 2) return std::nullopt;
  for (char c : d + m)
    if (c < '0' || c > '9') return std::nullopt;
  const int dd = std::stoi(d), mm = std::stoi(m);
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mm < 1 || mm > 12 || dd < 1 || dd > kDays[mm - 1]) return std::nullopt;
  return mm * 100 + dd;
}

// The day of a leap year (1 ... 366) of an MMDD number.
int dayOfLeapYear(int mmdd) {
  return xbase::julianFromYmd(2024, mmdd / 100, mmdd % 100) - xbase::julianFromYmd(2024, 1, 1) + 1;
}

}  // namespace

CommissionSchedule CommissionSchedule::read(const WDBTable& t) {
  CommissionSchedule s;
  s.lodging = t.M("A_COMIS");
  s.onConfirmation = t.N("COM_CONF") == 1;
  s.lowerAdults = t.N("REBAJA_COM") == 1;
  s.lowerChildren = t.N("REBAJA_CO2") == 1;
  for (int n = 1; n <= kCommissionTypes; ++n) {
    s.applies[size_t(n - 1)] = t.N(numbered("C_COMIS", n)) == 1;
    s.percentage[size_t(n - 1)] = t.M(numbered("P_COMIS", n));
  }
  return s;
}

void CommissionSchedule::write(WDBTable& t) const {
  auto flag = [](bool on) { return Value::num(on ? 1 : 0); };
  t.FieldPut("A_COMIS", lodging);
  t.FieldPut("COM_CONF", flag(onConfirmation));
  t.FieldPut("REBAJA_COM", flag(lowerAdults));
  t.FieldPut("REBAJA_CO2", flag(lowerChildren));
  for (int n = 1; n <= kCommissionTypes; ++n) {
    t.FieldPut(numbered("C_COMIS", n), flag(applies[size_t(n - 1)]));
    t.FieldPut(numbered("P_COMIS", n), percentage[size_t(n - 1)]);
  }
}

ExceptionWindow ExceptionWindow::read(const WDBTable& t) {
  return {t.S("COD_RACK"), t.S("D_INICIO"), t.S("M_INICIO"), t.S("D_FINAL"), t.S("M_FINAL")};
}

void ExceptionWindow::write(WDBTable& t) const {
  t.FieldPut("COD_RACK", Value::chars(rack));
  t.FieldPut("D_INICIO", Value::chars(dayFrom));
  t.FieldPut("M_INICIO", Value::chars(monthFrom));
  t.FieldPut("D_FINAL", Value::chars(dayTo));
  t.FieldPut("M_FINAL", Value::chars(monthTo));
}

bool ExceptionWindow::holds(int32_t julian) const {
  const std::optional<int> from = monthDay(dayFrom, monthFrom), to = monthDay(dayTo, monthTo);
  if (!from || !to) return false;
  const xbase::Ymd date = xbase::ymdFromJulian(julian);
  const int night = date.month * 100 + date.day;
  return *from <= *to ? *from <= night && night <= *to : night >= *from || night <= *to;
}

int ExceptionWindow::length() const {
  const std::optional<int> from = monthDay(dayFrom, monthFrom), to = monthDay(dayTo, monthTo);
  if (!from || !to) return 0;
  const int a = dayOfLeapYear(*from), b = dayOfLeapYear(*to);
  return a <= b ? b - a + 1 : 366 - a + 1 + b;
}

std::optional<AppliedCommission> COMISION_AGENCIA(const std::string& negocio, const std::string& agency,
                                                  const std::string& rack, int32_t julian) {
  const std::string key = businessKey(negocio) + padded(agency, 15);
  auto agencies = USE(nullptr, "AGENCIAS", "AGENCIAS");
  if (!agencies->Seek(key)) return std::nullopt;
  AppliedCommission applied{CommissionSchedule::read(*agencies), std::nullopt};
  int narrowest = 0;
  EACH_RECORD("DET_AGE3", "DET_AGE3", key + padded(rack, 4), [&](const WDBTable& row) {
    ExceptionWindow window = ExceptionWindow::read(row);
    if (!window.holds(julian)) return;
    const int length = window.length();
    if (applied.exception && length >= narrowest) return;
    applied = {CommissionSchedule::read(row), std::move(window)};
    narrowest = length;
  });
  return applied;
}

}  // namespace lib
