// The frequent-guest membership of a guest (H_HUES: CLIEN_FREC member, STAT_FREC 1 inactive
// and 0 active, CLIENTE_F the member number).
//
// E_HUESP2 registers the guest: the number proposed is the guest's own when it has one, else
// the next of the business unit's frequent-guest series (SER_FREC of F_HOTEL3), taken from
// the counter only when the proposal is kept; another number may be typed, but not one that
// another guest of the business unit holds. The membership starts active unless the user
// unticks "Membresía activa" (it is then activated later with the editor).
// E_HUESP3 removes the membership: CLIEN_FREC and STAT_FREC 0, the number blanked unless
// "Conservar el número de cliente frecuente" is ticked.
// Both write under the guest's lock, recorded in the change history; true when saved.
#pragma once

#include <string>

#include "lib/wdbtable.h"
#include "win/wdiag.h"

namespace guests {

bool E_HUESP2(win::WDIAG* owner, lib::WDBTable& guest, const std::string& negocio);
bool E_HUESP3(win::WDIAG* owner, lib::WDBTable& guest);

}  // namespace guests
