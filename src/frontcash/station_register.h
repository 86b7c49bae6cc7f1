// The register this station works at (XH_CAJAS) and the queries every posting screen asks
// before it posts. The state lives only in the running program: a restarted station has
// none and attaches again with "Re-Abrir Caja". A register closed elsewhere (another
// station, the definition screen) is noticed lazily, by CAJA_ABIERTA. Single-threaded, like
// the rest of the user interface.
#pragma once

#include <functional>
#include <string>

namespace frontcash {

// The seven slots the suite's register screens share. None open: slot 3 = 0, slot 4 "????".
struct StationRegister {
  std::string descrip;          // 1: the open register's description
  std::string operador;         // 2: the operator who opened it
  int abierta = 0;              // 3: 1 while a register is open at this station
  std::string codigo = "????";  // 4: the open register's code
  std::string digVentas;        // 5: operator code (sales registers)
  std::string codDigitador;     // 6: operator code (kinds that record it)
  int tipo = 0;                 // 7: 0 none, 1 sales, 2 front desk, 3 deposits, 5 time-share
};

// The station's register and its second one (time-share stations run two).
StationRegister& XH_CAJAS();
StationRegister& XH2_CAJAS();
// The toolbar's register button, where the module has one (1 open icons, 0 closed).
std::function<void(int open)>& toolbarRegisterButton();

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
