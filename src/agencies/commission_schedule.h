// An agency's commission schedule — the lodging commission, how it is lowered, and which of
// the 20 commission types apply with what percentage — as the agency (AGENCIAS) and each of
// its exceptions (DET_AGE3, DET_AG3W) keep it, and the screen that edits it (E_COMIS, dialog
// E_COMISIONES "Edición de Comisiones").
//
// The screen opens for the agency's regular schedule (mode 0: the exception window and the
// rate rack disabled), for a new exception (1: the three reductions preset on) or for an
// existing one (2). An exception needs a rate rack ("Debe seleccionar una Tarifa válida").
#pragma once

#include <array>
#include <string>

#include "lib/money.h"

namespace lib {
class WDBTable;
}
namespace win {
class WDIAG;
}

namespace agencies {

inline constexpr int kCommissionTypes = 20;

struct CommissionSchedule {
  lib::Money lodging;            // A_COMIS
  bool onConfirmation = false;   // COM_CONF
  bool lowerAdults = false;      // REBAJA_COM
  bool lowerChildren = false;    // REBAJA_CO2
  std::array<bool, kCommissionTypes> applies{};          // C_COMIS1 ... C_COMIS20
  std::array<lib::Money, kCommissionTypes> percentage{};  // P_COMIS1 ... P_COMIS20

  static CommissionSchedule read(const lib::WDBTable& record);
  void write(lib::WDBTable& record) const;
};

// The window of an exception: a rate rack and day/month from and to (two digits each).
struct ExceptionWindow {
  std::string rack, dayFrom, monthFrom, dayTo, monthTo;
  static ExceptionWindow read(const lib::WDBTable& record);
  void write(lib::WDBTable& record) const;
};

enum class ScheduleMode { Regular = 0, NewException = 1, Exception = 2 };

// Runs E_COMIS over `schedule` (and `window` for an exception); true when the user accepted,
// the values then changed in place.
bool E_COMIS(win::WDIAG* owner, const std::string& negocio, ScheduleMode mode, CommissionSchedule& schedule,
             ExceptionWindow* window = nullptr);

}  // namespace agencies
