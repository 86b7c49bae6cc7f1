#include "rates/def_prec.h"

#include "lib/price_lookup.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/dialog_window.h"

namespace rates {

namespace {

constexpr int kRack = 601, kAgency = 602, kTree = 901;

}  // namespace

DEF_PREC::DEF_PREC(const std::string& dialog, const std::string& negocio) : PRECIOS(dialog, negocio, "TIP_PREC3") {}

void DEF_PREC::BOTONES() {
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  for (int id : {kRack, kAgency})
    ADD(std::make_unique<win::CCOMBOBOX>(this, id), [this](win::WDIAG&, win::WCONTROL&, int notification) {
      if (notification == win::CBN_SELCHANGE) {
        COLUMNAS(win::CCOMBOBOX(this, kRack).CurCargo());
        ELIGE(TREE->Selected());
      }
      return 1;
    });
}

void DEF_PREC::INIT() {
  PRECIOS::INIT();
  if (!window()) return;
  screens::LOAD_LISTA(*this, {kRack}, "ENC_RACK", "ENC_RACK", NEGOCIO);
  win::CCOMBOBOX agencies(this, kAgency);
  agencies.Add("Tarifa General", 0, lib::kTarifaGeneral);
  screens::LOAD_LISTA(*this, {kAgency}, "AGENCIAS", "AGENCIAS", NEGOCIO);
  lib::EACH_RECORD("TEMPORA", "TEMPORA", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& season) {
    const std::string code = season.S("CODIGO");
    win::TreeNode top = TREE->ADDLASTCHILD(TREE->GETROOT(), lib::trim(code) + " - " + lib::trim(season.S("DESCRIP")), "");
    lib::EACH_RECORD("SUBTEMPO", "SUBTEMPO", lib::businessKey(NEGOCIO) + lib::padded(code, 2), [&](const lib::WDBTable& s) {
      TREE->ADDLASTCHILD(top, lib::trim(s.S("CODIGO")) + " - " + lib::trim(s.S("DESCRIP")),
                         lib::padded(code, 4) + lib::padded(s.S("CODIGO"), 4));
    });
    TREE->EXPAND(top);
  });
  TREE->REFRESH();
  TREE->ON_LEFT_CLICK([this](win::TreeNode node) { ELIGE(node); });
}

// A sub-season chosen (its value: season and sub-season keys), with a rate type and an agency.
void DEF_PREC::ELIGE(win::TreeNode node) {
  const std::string key = node ? TREE->Value(node) : "";
  if (key.empty()) {
    MUESTRA("");
    return;
  }
  const std::string agency = win::CCOMBOBOX(this, kAgency).CurCargo();
  if (rack_.empty()) {
    screens::error("Debe seleccionar una tarifa válida...");
    return;
  }
  if (agency.empty()) {
    screens::error("Debe seleccionar una agencia válida...");
    return;
  }
  const std::string season = key.substr(0, 4), sub = key.substr(4);
  const std::string head = TABLA->KeyPart("NEGOCIO", NEGOCIO) + TABLA->KeyPart("AGENCIA", agency) +
                           TABLA->KeyPart("RACK", rack_) + season + sub;
  SIN_GRID([&] {
    auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC3");
    lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& type) {
      const std::string tipo = type.S("CODIGO");
      if (prices->Seek(head + prices->KeyPart("T_ROOM", tipo))) return;
      lib::ADD(*prices, [&] {
        prices->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
        prices->FieldPut("AGENCIA", lib::Value::chars(agency));
        prices->FieldPut("RACK", lib::Value::chars(rack_));
        prices->FieldPut("COD_TEMP", lib::Value::chars(lib::trim(season)));
        prices->FieldPut("DET_TEMP", lib::Value::chars(lib::trim(sub)));
        prices->FieldPut("T_ROOM", lib::Value::chars(tipo));
      });
    });
  });
  MUESTRA(head);
}

}  // namespace rates
