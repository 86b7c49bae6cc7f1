#include "frontcash/hdef_caja.h"

#include <algorithm>

#include "lib/profile_file.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/controls.h"

namespace frontcash {

namespace {

constexpr int kEnforce = 1001, kRegisters = 700;
using lib::Value;

lib::ProfileFile workstation() {
  return lib::ProfileFile(lib::profilePath("SALTMERE.INI"));
}

std::string authorisationKey(const std::string& negocio, const std::string& caja) {
  return lib::businessKey(negocio) + lib::padded(caja, 2);
}

}  // namespace

bool CAJA_AUTORIZADA(const std::string& negocio, const std::string& caja) {
  bool enforced = false;
  lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio),
                   [&](const lib::WDBTable& p) { enforced = p.N("CHECK_CAJA") == 1; });
  return !enforced || workstation().getString(kAuthorisationSection, authorisationKey(negocio, caja)) == "1";
}

HDEF_CAJA::HDEF_CAJA(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}

// The business unit's parameter record is made when it has none, so that the switch has
// somewhere to live.
void HDEF_CAJA::INIT() {
  lib::WDBTable* params = USE("F_HOTEL3", "F_HOTEL3");
  if (!params->Seek(lib::businessKey(NEGOCIO)))
    lib::ADD(*params, [&] { params->FieldPut("NEGOCIO", Value::chars(NEGOCIO)); });
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::WCHECKBOX>(this, kEnforce));
  ADD(std::make_unique<win::CLISTBOX>(this, kRegisters));
  ADD_BUTTON(win::IDOK, [this] { SALIR(); });
  CREATE(DIALOG);
  CheckDlgButton(kEnforce, params->N("CHECK_CAJA") == 1);
  const lib::ProfileFile ini = workstation();
  win::CLISTBOX registers(this, kRegisters);
  int position = 0;
  lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& r) {
    registers.Add(lib::padded(r.S("CODIGO"), 4) + r.S("DESCRIP"), r.S("CODIGO"));
    ++position;
    if (ini.getString(kAuthorisationSection, authorisationKey(NEGOCIO, r.S("CODIGO"))) == "1")
      registers.SetSel(position, true);
  });
}

void HDEF_CAJA::SALIR() {
  CALL_LEVEL_AS(routine("SALIR"));
  lib::ProfileFile ini = workstation();
  win::CLISTBOX registers(this, kRegisters);
  const std::vector<int> marked = registers.Selected();
  for (int n = 1; n <= registers.Count(); ++n) {
    const bool on = std::find(marked.begin(), marked.end(), n) != marked.end();
    ini.writeString(kAuthorisationSection, authorisationKey(NEGOCIO, registers.ItemCargo(n)), on ? "1" : "0");
  }
  lib::WDBTable* params = USE("F_HOTEL3", "F_HOTEL3");
  if (params->Seek(lib::businessKey(NEGOCIO)))
    lib::MODIFY(*params, [&] { params->FieldPut("CHECK_CAJA", Value::num(IsDlgButtonChecked(kEnforce) ? 1 : 0)); });
  ENDDIALOG();
}

}  // namespace frontcash
