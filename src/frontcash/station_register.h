// The register this station works at (XH_CAJAS of the process-wide state) and the queries
// every posting screen asks before it posts. The state lives only in the running program:
// a restarted station has none and attaches again with "Re-Abrir Caja". A register closed
// elsewhere (another station, the definition screen) is noticed lazily, by CAJA_ABIERTA.
#pragma once

#include <string>

namespace frontcash {

// The open register's code, "????" when none; the operator who opened it (name, code).
std::string GET_CAJA_ABIERTA();
std::string GET_DIG_ABIERTO();
std::string GET_COD_DIG_ABIERTO();
std::string GET_CAJA2_ABIERTA();
std::string GET_DIG2_ABIERTO();
std::string GET_COD_DIG2_ABIERTO();

// Whether a register is open at this station, verified against its definition table in
// the business unit `negocio`: a register found closed there detaches the station (state
// cleared, toolbar closed icons) and answers false. Kinds this program does not keep
// answer the station's own flag.
bool CAJA_ABIERTA(const std::string& negocio);

// The station attaches to the front-desk register `codigo` (kind 2), opened by operator
// `nombre`, and the toolbar shows it open. The front desk records no operator code (slot 6).
void ATTACH_CAJA(const std::string& codigo, const std::string& descrip, const std::string& nombre);
// The station has no register any more; the toolbar shows the closed icons.
void LIBERA_CAJA();

// The toolbar's register button: 1 the open icon set, 0 the closed one. A module without
// the button (this one) has nothing to change.
void CHANGE_CAJA(int open);

}  // namespace frontcash
