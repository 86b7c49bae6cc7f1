#include "rates/copia_precios.h"

#include <set>
#include <vector>

#include "lib/price_lookup.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia.h"
#include "rates/niveles.h"
#include "rates/periodo.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kList = 801;

std::vector<std::string> marked(win::ModalDialog& d) {
  win::CLISTBOX list(&d, kList);
  std::vector<std::string> out;
  for (int i : list.Selected()) out.push_back(lib::trim(list.ItemCargo(i)));
  return out;
}

// The records of `tag` under `key`, listed before any copy is appended.
std::vector<uint32_t> recordsOf(lib::WDBTable& t, const std::string& key) {
  std::vector<uint32_t> out;
  t.SetScope(key);
  for (t.GoTop(); !t.Eof(); t.Skip()) out.push_back(t.RecNo());
  t.ClearScope();
  return out;
}

// Replaces the records of each target under `targetKey(target)` by copies of the source's
// under `sourceKey`, `retarget` writing the target into each copy.
void replace(const std::string& tag, const std::string& sourceKey, const std::vector<std::string>& targets,
             const std::function<std::string(const std::string&)>& targetKey,
             const std::function<void(lib::WDBTable&, const std::string&)>& retarget) {
  for (const std::string& target : targets) {
    BORRA_REGISTROS("TIP_PREC", tag, targetKey(target));
    auto prices = lib::USE(nullptr, "TIP_PREC", tag);
    for (uint32_t r : recordsOf(*prices, sourceKey)) {
      prices->GoTo(r);
      COPIA_REGISTRO(*prices, [&] {
        prices->FieldPut("COD_TEMP", lib::Value::chars(""));
        prices->FieldPut("DET_TEMP", lib::Value::chars(""));
        retarget(*prices, target);
      });
    }
  }
}

}  // namespace

bool COPIA_PERIODOS(win::WDIAG* owner, const std::string& negocio, const std::string& rack, const std::string& agencia) {
  if (lib::trim(rack).empty()) {
    screens::error("Falta seleccionar el tarifario\r   Favor de verificar");
    return false;
  }
  if (lib::trim(agencia).empty()) {
    screens::error("Falta seleccionar la agencia\r   Favor de verificar");
    return false;
  }
  bool copied = false;
  auto key = [&](const std::string& agency) {
    return lib::businessKey(negocio) + lib::padded(agency, 15) + lib::padded(rack, 4) + "1";
  };
  win::DIALOG_BOX(
      "DEF_PRE4", owner,
      {[&](win::ModalDialog& d) {
         win::CLISTBOX list(&d, kList);
         list.Add("***************  Tarifa General", lib::kTarifaGeneral);
         lib::EACH_RECORD("AGENCIAS", "AGENCIAS", lib::businessKey(negocio), [&](const lib::WDBTable& a) {
           if (a.N("TARIFA_ESP") == 1) list.Add(lib::padded(a.S("CODIGO"), 15) + "  " + a.S("DESCRIP"), a.S("CODIGO"));
         });
       },
       [&](win::ModalDialog& d) {
         const std::vector<std::string> targets = marked(d);
         if (targets.empty()) {
           screens::error("Falta seleccionar las agencias\r   Favor de verificar");
           return false;
         }
         for (const std::string& t : targets)
           if (t == lib::trim(agencia)) {
             screens::error("No puede copiar sobre la misma agencia\r   Favor de verificar");
             return false;
           }
         win::WAIT wait(&d);
         wait.PUT_TEXT("Un momento por favor...");
         replace("TIP_PREC5", key(agencia), targets, key, [](lib::WDBTable& p, const std::string& target) {
           p.FieldPut("AGENCIA", lib::Value::chars(target));
           p.FieldPut("CALC_TAR", lib::Value::num(1));
         });
         // The copied periods with level analysis get their level rows for their new agency key.
         auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC5");
         for (const std::string& target : targets) {
           std::set<std::string> done;
           for (uint32_t r : recordsOf(*prices, key(target))) {
             prices->GoTo(r);
             const Periodo p = PERIODO_DE(*prices);
             if (p.nivTari != 1 || !p.inicio() || !p.fin() || !done.insert(p.fechas()).second) continue;
             NIVELES_PERIODO(negocio, true, {target, lib::trim(rack), p.iDia, p.iMes, p.iAnho, p.fDia, p.fMes, p.fAnho},
                             p.inicio(), p.fin());
           }
         }
         wait.TERMINAR();
         copied = true;
         return true;
       }});
  return copied;
}

bool COPIA_PROMOCIONES(win::WDIAG* owner, const std::string& negocio, const std::string& rack) {
  if (lib::trim(rack).empty()) {
    screens::error("Falta seleccionar el tarifario\r   Favor de verificar");
    return false;
  }
  bool copied = false;
  auto key = [&](const std::string& r) { return lib::businessKey(negocio) + lib::padded(r, 4) + "1"; };
  win::DIALOG_BOX(
      "DEF_PRE7", owner,
      {[&](win::ModalDialog& d) {
         win::CLISTBOX list(&d, kList);
         lib::EACH_RECORD("ENC_RACK", "ENC_RACK", lib::businessKey(negocio), [&](const lib::WDBTable& r) {
           list.Add(lib::padded(r.S("CODIGO"), 4) + "  " + r.S("DESCRIP"), r.S("CODIGO"));
         });
       },
       [&](win::ModalDialog& d) {
         const std::vector<std::string> targets = marked(d);
         if (targets.empty()) {
           screens::error("Falta seleccionar los tarifarios\r   Favor de verificar");
           return false;
         }
         for (const std::string& t : targets)
           if (t == lib::trim(rack)) {
             screens::error("No puede copiar sobre el mismo tarifario\r   Favor de verificar");
             return false;
           }
         win::WAIT wait(&d);
         wait.PUT_TEXT("Un momento por favor...");
         replace("TIP_PREC9", key(rack), targets, key, [](lib::WDBTable& p, const std::string& target) {
           p.FieldPut("RACK", lib::Value::chars(target));
           p.FieldPut("PROMOCION", lib::Value::num(1));
         });
         wait.TERMINAR();
         copied = true;
         return true;
       }});
  return copied;
}

}  // namespace rates
