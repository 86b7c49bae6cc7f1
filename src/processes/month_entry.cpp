#include "processes/month_entry.h"

#include "lib/program_time.h"
#include "lib/text.h"
#include "xbase/date.h"

namespace processes {

namespace {

bool digitsOnly(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int monthOfEdit(const win::WDIAG& screen, int id) {
  const std::string text = lib::trim(screen.GetDlgItemText(id));
  if (!digitsOnly(text) || text.size() > 2) return 0;
  const int month = std::stoi(text);
  return month >= 1 && month <= 12 ? month : 0;
}

int yearOfEdit(const win::WDIAG& screen, int id) {
  const std::string text = lib::trim(screen.GetDlgItemText(id));
  if (!digitsOnly(text)) return 0;
  const lib::TypedDate date = lib::readDate("01/01/" + text);
  return date.julian ? xbase::ymdFromJulian(date.julian).year : 0;
}

}  // namespace processes
