#include "lib/dynamic_rate.h"

namespace lib {

Money PASO_REDONDEO(int redondeo) {
  switch (redondeo) {
    case 1:
      return Money::millionths(100'000);
    case 2:
      return Money::millionths(250'000);
    case 3:
      return Money::millionths(500'000);
    case 4:
      return Money::units(1);
    default:
      return {};
  }
}

Money REDONDEA_DINAMICO(Money price, int redondeo) {
  const Money step = PASO_REDONDEO(redondeo);
  if (step.isZero()) return price;
  return (price / step).rounded(0) * step;
}

Money AJUSTA_DINAMICO(Money price, const ValoresDinamicos& v) {
  if (price.isZero()) return price;
  Money p = REDONDEA_DINAMICO(price, v.redondeo);
  if (!v.piso.isZero() && p < v.piso) p = v.piso;
  if (!v.techo.isZero() && p > v.techo) p = v.techo;
  return p;
}

}  // namespace lib
