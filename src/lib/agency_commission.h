// An agency's commission schedule — the lodging commission, how it is lowered, and which of
// the 20 commission types apply with what percentage — as the agency (AGENCIAS) and each of
// its exceptions (DET_AGE3, and the editor's working copy DET_AG3W) keep it; and the schedule
// that applies to a night sold under a rate rack.
//
// An exception names a rate rack and a day/month window without a year, both ends included;
// a window that ends before it starts runs across the new year (20/12 to 10/01). A night of
// the agency under that rack inside the window takes the exception's schedule; when several
// windows hold the night the narrowest wins (the most particular agreement), then the first
// in the table's order. Every other night takes the agency's regular schedule. A window with
// a day or month that is not a date of the calendar (31/02, 00/05, empty) holds no night.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "lib/money.h"

namespace lib {

class WDBTable;

inline constexpr int kCommissionTypes = 20;

struct CommissionSchedule {
  Money lodging;                                     // A_COMIS
  bool onConfirmation = false;                       // COM_CONF
  bool lowerAdults = false;                          // REBAJA_COM
  bool lowerChildren = false;                        // REBAJA_CO2
  std::array<bool, kCommissionTypes> applies{};      // C_COMIS1 ... C_COMIS20
  std::array<Money, kCommissionTypes> percentage{};  // P_COMIS1 ... P_COMIS20

  static CommissionSchedule read(const WDBTable& record);
  void write(WDBTable& record) const;
};

// The window of an exception: a rate rack and day/month from and to (two digits each).
struct ExceptionWindow {
  std::string rack, dayFrom, monthFrom, dayTo, monthTo;
  static ExceptionWindow read(const WDBTable& record);
  void write(WDBTable& record) const;

  // Whether the night `julian` falls inside the window (see above).
  bool holds(int32_t julian) const;
  // The nights of a leap year the window holds (0 for a window that holds none).
  int length() const;
};

struct AppliedCommission {
  CommissionSchedule schedule;
  std::optional<ExceptionWindow> exception;  // the exception that won, none for the regular schedule
};

// The schedule of `agency` of business `negocio` for the night `julian` sold under the rate
// rack `rack`; nullopt when the agency does not exist.
std::optional<AppliedCommission> COMISION_AGENCIA(const std::string& negocio, const std::string& agency,
                                                  const std::string& rack, int32_t julian);

}  // namespace lib
