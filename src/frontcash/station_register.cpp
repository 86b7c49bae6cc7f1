#include "frontcash/station_register.h"

#include "lib/text.h"
#include "lib/use.h"

namespace frontcash {

namespace {

StationRegister& station() {
  return XH_CAJAS();
}

// The definition table of each register kind.
const char* definitionTable(int kind) {
  switch (kind) {
    case 1:
      return "VCAJAS";
    case 2:
      return "ENC_HCAJ";
    case 3:
      return "ENC_RCAJ";
    case 5:
      return "ENC_TCAJ";
    default:
      return nullptr;
  }
}

}  // namespace

StationRegister& XH_CAJAS() {
  static StationRegister state;
  return state;
}

StationRegister& XH2_CAJAS() {
  static StationRegister state;
  return state;
}

std::function<void(int open)>& toolbarRegisterButton() {
  static std::function<void(int)> button;
  return button;
}

std::string GET_CAJA_ABIERTA() {
  return station().codigo;
}
std::string GET_DIG_ABIERTO() {
  return station().operador;
}
std::string GET_COD_DIG_ABIERTO() {
  return station().codDigitador;
}
std::string GET_CAJA2_ABIERTA() {
  return XH2_CAJAS().codigo;
}
std::string GET_DIG2_ABIERTO() {
  return XH2_CAJAS().operador;
}
std::string GET_COD_DIG2_ABIERTO() {
  return XH2_CAJAS().codDigitador;
}

bool CAJA_ABIERTA(const std::string& negocio) {
  const StationRegister& s = station();
  const char* table = definitionTable(s.tipo);
  if (lib::trim(negocio).empty() || !table || !lib::IS_FILE(nullptr, table)) return s.abierta == 1;
  bool closed = false;
  lib::EACH_RECORD(table, table, lib::businessKey(negocio) + lib::padded(s.codigo, 2),
                   [&](const lib::WDBTable& r) { closed = r.S("ESTADO") == "C"; });
  if (closed) {
    LIBERA_CAJA();
    return false;
  }
  return s.abierta == 1;
}

void ATTACH_CAJA(const std::string& codigo, const std::string& descrip, const std::string& nombre) {
  StationRegister& s = station();
  s.descrip = descrip;
  s.operador = nombre;
  s.abierta = 1;
  s.codigo = codigo;
  s.tipo = 2;
  CHANGE_CAJA(1);
}

void LIBERA_CAJA() {
  StationRegister& s = station();
  s.descrip.clear();
  s.operador.clear();
  s.codDigitador.clear();
  s.abierta = 0;
  s.tipo = 0;
  s.codigo = "????";
  CHANGE_CAJA(0);
}

void CHANGE_CAJA(int open) {
  if (toolbarRegisterButton()) toolbarRegisterButton()(open);
}

}  // namespace frontcash
