// The stale-rate check a user meets on entering a business unit (after the login and after
// every change of business or user): every currency whose rate to the accounting currency
// is missing, or dates from before the business's review range, is named in one message
// ("Atención", stop icon). A business without a review range (CANT_MON of 0 or less, or a
// NEGOCIOS table without CHECK_MON) is not checked.
#pragma once

#include <cstdint>
#include <string>

namespace currencies {

// The oldest date a current rate may carry on `today`: `cantidad` days before it
// (`checkMon` = 1) or `cantidad` calendar months before it, on the same day or that month's
// last day.
int32_t OBT_DIA_F(int32_t today, int checkMon, int cantidad);

// The message for business `negocio` on today's date: " " followed by one line
// "Debe actualizar la definición de tipos de cambio de <currency> a <accounting currency>\r"
// per stale currency; "" when every rate is current or the business is not checked.
std::string CAMBIOS_VENCIDOS(const std::string& negocio);

// Shows CAMBIOS_VENCIDOS when there is anything to show.
void CHECK_CAMBIO(const std::string& negocio);

}  // namespace currencies
