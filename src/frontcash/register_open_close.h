// Opening and closing a front-desk register in the tables the whole suite reads: the
// register's ESTADO ("A" open, "C" closed) is the shared truth, a period (DET_HCAJ) is
// created open and ended by the close. Each change is made under the record protocol, one
// record at a time; nothing here is a transaction: a close that fails half-way leaves what
// it wrote.
#pragma once

#include <cstdint>
#include <string>

#include "frontcash/register_periods.h"

namespace frontcash {

// A password as the register screens compare it: the typed text padded with blanks (or cut)
// to 10 characters against the stored one, exactly (case and blanks count).
bool CLAVE_CORRECTA(const std::string& stored, const std::string& typed);

// Opens register `caja` for operator `agente`: ESTADO "A" under the record's lock and a new
// open period starting `now`. False, with nothing written, when the register is found open
// once locked (another station opened it meanwhile) or does not exist.
bool ABRE_CAJA(const std::string& negocio, const std::string& caja, const std::string& agente, const Period& now);

// Closes register `caja` and ends its period `periodRecno` at `now`, stamped with the user,
// the computer and the Windows user who closed it.
void CIERRA_CAJA(const std::string& negocio, const std::string& caja, uint32_t periodRecno, const Period& now);

// The period `recno` of DET_HCAJ is still open (its end is empty).
bool PERIODO_SIGUE_ABIERTO(uint32_t recno);

}  // namespace frontcash
