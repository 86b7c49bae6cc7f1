#include "lib/errors.h"

namespace lib {

bool isNetworkSoftFailure(const xbase::Error& e) {
  if (!e.canDefault()) return false;
  if ((e.genCode() == 21 || e.genCode() == 2006) && e.osCode() == 32) return true;
  return e.genCode() == xbase::EG_APPENDLOCK;
}

bool yieldsZero(const xbase::Error& e) {
  return e.subCode() == 6313 || e.subCode() == 6102;
}

double DIVIDE(double a, double b) {
  return b == 0 ? 0 : a / b;
}

}  // namespace lib
