// The periods of a front-desk register (DET_HCAJ) as the history screen enters and corrects
// them by hand, with what hangs on a period: its closing balances (DET_HCA2), its additional
// counts (DET_HCA3, DET_HCA4) and its register folio (ENC_FOL, by register and period
// start). Each routine opens the tables it needs; every change is made under the record
// protocol, one record at a time, and is not a transaction.
#pragma once

#include <cstdint>
#include <string>

namespace win {
class WAIT;
}

namespace frontcash {

// A moment as the register tables keep it: a date and an "HH:MM:SS" text.
struct Period {
  int32_t date = 0;
  std::string time;
};

// "24:60:60" and 01/01/2090: what every new period and balance carries as its limit.
inline constexpr const char* kHoraLimite = "24:60:60";
int32_t fechaLimite();

// A period entered whole. A register closed with a cash count (`counted`) gets a zero
// balance in every currency of the business unit, ready to be corrected.
void ADD_PERIODO(const std::string& negocio, const std::string& caja, const Period& start, const Period& end,
                 bool counted);
// The period `recno` rewritten; when its start moved, the register folios of the old start
// follow it.
void MOD_PERIODO(const std::string& negocio, const std::string& caja, uint32_t recno, const Period& before,
                 const Period& start, const Period& end);
// The period `recno` with its balances and its additional-count headers.
void DEL_PERIODO(const std::string& negocio, uint32_t recno);

// A register's code changed: its folios, periods, balances, counts and the folio lines
// posted at it take the new one.
void RECODIFICA_CAJA(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                     win::WAIT* wait = nullptr);

}  // namespace frontcash
