#include "frontcash/register_open_close.h"

#include <memory>

#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"

namespace frontcash {

namespace {

using lib::Value;

constexpr size_t kPasswordWidth = 10;

std::string registerKey(const std::string& negocio, const std::string& caja) {
  return lib::businessKey(negocio) + lib::padded(caja, 2);
}

}  // namespace

bool CLAVE_CORRECTA(const std::string& stored, const std::string& typed) {
  return lib::padded(stored, kPasswordWidth) == lib::padded(typed, kPasswordWidth);
}

bool ABRE_CAJA(const std::string& negocio, const std::string& caja, const std::string& agente, const Period& now) {
  auto registers = lib::USE(nullptr, "ENC_HCAJ", "ENC_HCAJ");
  bool opened = false;
  if (registers->Seek(registerKey(negocio, caja)))
    lib::MODIFY(*registers, [&] {
      if (registers->S("ESTADO") == "A") return;
      registers->FieldPut("ESTADO", Value::chars("A"));
      opened = true;
    });
  lib::KILLTABLA(registers);
  if (!opened) return false;
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  lib::ADD(*periods, [&] {
    periods->FieldPut("NEGOCIO", Value::chars(negocio));
    periods->FieldPut("CAJA", Value::chars(caja));
    periods->FieldPut("FECHA_INI", Value::date(now.date));
    periods->FieldPut("HORA_INI", Value::chars(now.time));
    periods->FieldPut("MONTO_INI", Value::num(0));
    periods->FieldPut("AGENTE", Value::chars(agente));
    periods->FieldPut("H_LIMITE", Value::chars(kHoraLimite));
    periods->FieldPut("LIMITE", Value::date(fechaLimite()));
  });
  lib::KILLTABLA(periods);
  return true;
}

void CIERRA_CAJA(const std::string& negocio, const std::string& caja, uint32_t periodRecno, const Period& now) {
  auto registers = lib::USE(nullptr, "ENC_HCAJ", "ENC_HCAJ");
  if (registers->Seek(registerKey(negocio, caja)))
    lib::MODIFY(*registers, [&] { registers->FieldPut("ESTADO", Value::chars("C")); });
  lib::KILLTABLA(registers);
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(periodRecno);
  const lib::Globals& g = lib::G();
  lib::MODIFY(*periods, [&] {
    periods->FieldPut("FECHA_FIN", Value::date(now.date));
    periods->FieldPut("HORA_FIN", Value::chars(now.time));
    periods->FieldPut("CTRL_USR", Value::chars(g.XUSER_ABREVIA));
    periods->FieldPut("CTRL_COMP", Value::chars(g.computerName ? g.computerName() : ""));
    periods->FieldPut("CTRL_WIN_U", Value::chars(g.windowsUser ? g.windowsUser() : ""));
    periods->FieldPut("CTRL_HORA", Value::chars(now.time));
    periods->FieldPut("CTRL_FECHA", Value::date(now.date));
  });
  lib::KILLTABLA(periods);
}

bool PERIODO_SIGUE_ABIERTO(uint32_t recno) {
  auto periods = lib::USE(nullptr, "DET_HCAJ", "DET_HCAJ");
  periods->GoTo(recno);
  const bool open = !periods->Eof() && !periods->Deleted() && lib::trim(periods->S("HORA_FIN")).empty() &&
                    periods->D("FECHA_FIN") == 0;
  lib::KILLTABLA(periods);
  return open;
}

}  // namespace frontcash
