// The screen that edits an agency's commission schedule (E_COMIS, dialog E_COMISIONES
// "Edición de Comisiones").
//
// The screen opens for the agency's regular schedule (mode 0: the exception window and the
// rate rack disabled), for a new exception (1: the three reductions preset on) or for an
// existing one (2). An exception needs a rate rack ("Debe seleccionar una Tarifa válida").
#pragma once

#include <string>

#include "lib/agency_commission.h"

namespace win {
class WDIAG;
}

namespace agencies {

using lib::CommissionSchedule;
using lib::ExceptionWindow;
using lib::kCommissionTypes;

enum class ScheduleMode { Regular = 0, NewException = 1, Exception = 2 };

// Runs E_COMIS over `schedule` (and `window` for an exception); true when the user accepted,
// the values then changed in place.
bool E_COMIS(win::WDIAG* owner, const std::string& negocio, ScheduleMode mode, CommissionSchedule& schedule,
             ExceptionWindow* window = nullptr);

}  // namespace agencies
