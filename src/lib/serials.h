// Document numbers from the shared counters of SERIALES: one record per business and
// series (key NEGOCIO + MODULO + CODIGO, looked up with a blank MODULO). The counter is
// read under its record lock, so two workstations never hand out the same number.
#pragma once

#include <string>

#include "lib/wdbtable.h"

namespace lib {

inline const std::string kNoSerial = "NO_SERIAL!     ";

// Takes the next number of the series and returns the 15-character serial:
// PREFIJO + number (zero-padded to INDENT when JUSTIFICA = 0, never cut) + POSFIJO.
std::string GET_NXSERIAL(void* owner, const std::string& business, const std::string& series, int unused = 0,
                         WDBTable* serialTable = nullptr);
// The serial the next GET_NXSERIAL would hand out, without taking it.
std::string GET_CURRENTSERIAL(void* owner, const std::string& business, const std::string& series);

// The serial of `number` on a series with these settings (JUSTIFICA 0 zero-pads the number
// to `indent` digits), trimmed: what GET_NXSERIAL hands out before padding it to 15.
std::string SERIAL_FORMAT(const std::string& prefix, double number, int indent, int justify,
                          const std::string& suffix);

}  // namespace lib
