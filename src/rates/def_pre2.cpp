#include "rates/def_pre2.h"

#include "lib/price_lookup.h"
#include "lib/rate_calendar.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/copia_precios.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_window.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kRack = 601, kAgency = 602, kPeriods = 701;
constexpr int kName = 500, kDefault = 1001, kLevels = 1002;
constexpr int kDates[6] = {501, 502, 503, 504, 505, 506};
constexpr const char* kNoPeriod = "Falta seleccionar un item del Grid\r   Favor de verificar";

}  // namespace

DEF_PRE2::DEF_PRE2(const std::string& dialog, const std::string& negocio) : PRECIOS(dialog, negocio, "TIP_PREC5") {}

void DEF_PRE2::AbrirBases() {
  PRECIOS::AbrirBases();
  periodos_ = lib::USE(this, "T_PERIOD.DBF", "T_PERIOD");
  PERIODOS = periodos_.get();
}

void DEF_PRE2::BOTONES() {
  OB_PERIODOS = std::make_unique<win::WBLISTBOX>(this, kPeriods, PERIODOS, "DEF_PRE2_701");
  ADD(OB_PERIODOS.get());
  for (int id : {kRack, kAgency})
    ADD(std::make_unique<win::CCOMBOBOX>(this, id), [this](win::WDIAG&, win::WCONTROL&, int notification) {
      if (notification == win::CBN_SELCHANGE) CAMBIO_SELECCION();
      return 1;
    });
  ADD_BUTTON(201, [this] {
    REGENERA();
    if (COPIA_PERIODOS(this, NEGOCIO, rack_, agencia_)) CARGA_PERIODOS(mostrado_);
  });
  ADD_BUTTON(202, [this] { AGREGAR(); });
  ADD_BUTTON(203, [this] { EDITAR(); });
  ADD_BUTTON(204, [this] { BORRAR(); });
}

void DEF_PRE2::INIT() {
  PRECIOS::INIT();
  if (!window()) return;
  win::WBLISTBOX& g = *OB_PERIODOS;
  lib::WDBTable* t = PERIODOS;
  win::AGREGARCOL(g, t, "F. Inicio", "I_DIA", std::string(10, 'X'),
                  [t] { return lib::Value::chars(FECHA_PERIODO(t->S("I_DIA"), t->S("I_MES"), t->S("I_ANHO"))); }, 0, true);
  win::AGREGARCOL(g, t, "F. Final", "F_DIA", std::string(10, 'X'),
                  [t] { return lib::Value::chars(FECHA_PERIODO(t->S("F_DIA"), t->S("F_MES"), t->S("F_ANHO"))); }, 0, true);
  win::AGREGARCOL(g, t, "NIV", "NIV_TARI", "", [t] { return lib::Value::chars(t->N("NIV_TARI") == 1 ? "Sí" : ""); }, 0,
                  true, 8);
  win::AGREGARCOL(g, t, "Descripción", "DESCRIP", std::string(40, 'X'));
  lib::SELECT(t->Area);
  g.useMaintenanceLook();
  win::BrowMarksOptions options;
  options.noRefresh = true;
  BROWMARKS(g, {{1, "T_PERIOD"}}, 1, "", options);
  g.selectblock = [this](win::WBLISTBOX&) { ELIGE_PERIODO(); };
  screens::LOAD_LISTA(*this, {kRack}, "ENC_RACK", "ENC_RACK", NEGOCIO);
  screens::LOAD_LISTA_IF(*this, {kAgency}, "AGENCIAS", "AGENCIAS", lib::businessKey(NEGOCIO),
                         [](const lib::WDBTable& a) { return a.N("TARIFA_ESP") == 1; });
  win::CCOMBOBOX agencies(this, kAgency);
  agencies.Add("Tarifa General", 0, lib::kTarifaGeneral);
  agencies.SeekCargo(lib::kTarifaGeneral);
  CAMBIO_SELECCION();
}

void DEF_PRE2::CerrarBases() {
  REGENERA();
  if (OB_PERIODOS) CLOSEBROWSE(*OB_PERIODOS);
  lib::KILLTABLA(periodos_);
  PERIODOS = nullptr;
  PRECIOS::CerrarBases();
}

std::string DEF_PRE2::AGENCIA() const {
  return win::CCOMBOBOX(const_cast<DEF_PRE2*>(this), kAgency).CurCargo();
}

void DEF_PRE2::CAMBIO_SELECCION() {
  REGENERA();
  agencia_ = AGENCIA();
  COLUMNAS(win::CCOMBOBOX(this, kRack).CurCargo());
  CARGA_PERIODOS();
}

// One row per distinct range of the agency key's and rate type's period records.
void DEF_PRE2::CARGA_PERIODOS(const std::optional<Periodo>& select) {
  mostrado_.reset();
  OB_PERIODOS->detachTable(true);
  lib::WDBTable& list = *PERIODOS;
  // The working list is this workstation's alone: emptied for good, so the grid counts
  // only the rows of now.
  for (list.GoTop(); !list.Eof(); list.Skip()) lib::MODIFY(list, [&] { list.Delete(); });
  list.Pack();
  uint32_t chosen = 0;
  if (!rack_.empty() && !agencia_.empty()) {
    auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC5");
    prices->SetScope(prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("AGENCIA", agencia_) +
                     prices->KeyPart("RACK", rack_) + "1");
    std::string last = "\x01";
    int orden = 0;
    for (prices->GoTop(); !prices->Eof(); prices->Skip()) {
      const Periodo p = PERIODO_DE(*prices);
      if (p.fechas() == last) continue;
      last = p.fechas();
      lib::ADD(list, [&] {
        list.FieldPut("ORDEN", lib::Value::num(++orden));
        PON_FECHAS(list, p);
        list.FieldPut("RA_DEFECTO", lib::Value::num(p.raDefecto));
        list.FieldPut("NIV_TARI", lib::Value::num(p.nivTari));
        list.FieldPut("DESCRIP", lib::Value::chars(p.descrip));
      });
      if (select && select->fechas() == p.fechas()) chosen = list.RecNo();
    }
  }
  OB_PERIODOS->detachTable(false);
  OB_PERIODOS->CountScope();
  if (chosen) {
    list.GoTo(chosen);
    OB_PERIODOS->SHOWDATA();
  } else {
    OB_PERIODOS->GOTOP();
  }
  OB_PERIODOS->REFRESHALL();
  ELIGE_PERIODO();
}

std::optional<Periodo> DEF_PRE2::PERIODO_ELEGIDO() const {
  if (!OB_PERIODOS || OB_PERIODOS->nMaxRec == 0 || PERIODOS->Eof() || PERIODOS->Deleted()) return std::nullopt;
  return PERIODO_DE(*PERIODOS);
}

void DEF_PRE2::ELIGE_PERIODO() {
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (mostrado_ && p && mostrado_->fechas() == p->fechas()) return;
  REGENERA();
  mostrado_ = p;
  if (!p) {
    MUESTRA("");
    return;
  }
  SIN_GRID([&] { COMPLETA(*p); });
  MUESTRA(TABLA->KeyPart("NEGOCIO", NEGOCIO) + TABLA->KeyPart("AGENCIA", agencia_) + TABLA->KeyPart("RACK", rack_) + "1" +
          p->fechas());
}

void DEF_PRE2::COMPLETA(const Periodo& p) {
  auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC6");
  const std::string head =
      prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("AGENCIA", agencia_) + prices->KeyPart("RACK", rack_);
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& type) {
    const std::string tipo = type.S("CODIGO");
    if (prices->Seek(head + prices->KeyPart("T_ROOM", tipo) + "1" + p.fechas())) return;
    lib::ADD(*prices, [&] {
      prices->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
      prices->FieldPut("AGENCIA", lib::Value::chars(agencia_));
      prices->FieldPut("RACK", lib::Value::chars(rack_));
      prices->FieldPut("T_ROOM", lib::Value::chars(tipo));
      prices->FieldPut("CALC_TAR", lib::Value::num(1));
      prices->FieldPut("RA_DEFECTO", lib::Value::num(p.raDefecto));
      prices->FieldPut("NIV_TARI", lib::Value::num(p.nivTari));
      prices->FieldPut("DESCRIP", lib::Value::chars(p.descrip));
      prices->FieldPut("CODIGO", lib::Value::chars(p.codigo()));
      PON_FECHAS(*prices, p);
    });
  });
}

PeriodoNivel DEF_PRE2::nivel(const Periodo& p) const {
  return {agencia_, rack_, p.iDia, p.iMes, p.iAnho, p.fDia, p.fMes, p.fAnho};
}

void DEF_PRE2::REGENERA() {
  if (!editado_) return;
  editado_ = false;
  if (!mostrado_ || mostrado_->nivTari != 1 || !mostrado_->inicio() || !mostrado_->fin()) return;
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...", "Generando Niveles de Tarifa...");
  NIVELES_PERIODO(NEGOCIO, true, nivel(*mostrado_), mostrado_->inicio(), mostrado_->fin());
  wait.TERMINAR();
}

void DEF_PRE2::AGREGAR() {
  CALL_LEVEL();
  DEF_PRE3(std::nullopt);
}

void DEF_PRE2::EDITAR() {
  CALL_LEVEL();
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (!p) {
    screens::error(kNoPeriod);
    return;
  }
  DEF_PRE3(p);
}

// The period's records of every room type, and its level rows.
void DEF_PRE2::BORRAR() {
  CALL_LEVEL();
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (!p) {
    screens::error(kNoPeriod);
    return;
  }
  if (!screens::confirm("¿Desea borrar el item seleccionado?")) return;
  editado_ = false;
  SIN_GRID([&] {
    auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC5");
    const std::string key = prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("AGENCIA", agencia_) +
                            prices->KeyPart("RACK", rack_) + "1" + p->fechas();
    std::vector<std::string> types;
    while (prices->Seek(key)) {
      types.push_back(prices->S("T_ROOM"));
      lib::MODIFY(*prices, [&] { prices->Delete(); });
    }
    if (p->inicio() && p->fin())
      for (const std::string& tipo : types) LIBERA_NIVELES(NEGOCIO, agencia_, rack_, tipo, p->inicio(), p->fin());
  });
  CARGA_PERIODOS();
}

// The period editor: a new period (`former` empty) or the one chosen. Needs a rate type and
// an agency; the dates are taken as typed.
bool DEF_PRE2::DEF_PRE3(const std::optional<Periodo>& former) {
  if (rack_.empty()) {
    screens::error("Falta seleccionar el tarifario\r   Favor de verificar");
    return false;
  }
  if (agencia_.empty()) {
    screens::error("Falta seleccionar la agencia\r   Favor de verificar");
    return false;
  }
  std::optional<Periodo> saved;
  auto store = [&](const Periodo& p) {
    SIN_GRID([&] {
      if (!former) {
        if (p.nivTari == 1 && p.inicio() && p.fin()) NIVELES_PERIODO(NEGOCIO, true, nivel(p), p.inicio(), p.fin());
        COMPLETA(p);
        return;
      }
      const bool changed = former->fechas() != p.fechas() || former->raDefecto != p.raDefecto ||
                           former->nivTari != p.nivTari || lib::trim(former->descrip) != p.descrip;
      if (!changed) return;
      auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC5");
      const std::string key = prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("AGENCIA", agencia_) +
                              prices->KeyPart("RACK", rack_) + "1" + former->fechas();
      std::vector<uint32_t> records;
      prices->SetScope(key);
      for (prices->GoTop(); !prices->Eof(); prices->Skip()) records.push_back(prices->RecNo());
      prices->ClearScope();
      for (uint32_t r : records) {
        prices->GoTo(r);
        lib::MODIFY(*prices, [&] {
          PON_FECHAS(*prices, p);
          prices->FieldPut("RA_DEFECTO", lib::Value::num(p.raDefecto));
          prices->FieldPut("NIV_TARI", lib::Value::num(p.nivTari));
          prices->FieldPut("DESCRIP", lib::Value::chars(p.descrip));
          prices->FieldPut("CODIGO", lib::Value::chars(p.codigo()));
        });
      }
      if (p.nivTari == 1 && p.inicio() && p.fin())
        NIVELES_PERIODO(NEGOCIO, true, nivel(p), p.inicio(), p.fin(), former->inicio(), former->fin());
    });
  };
  win::DIALOG_BOX(
      "DEF_PRE3", this,
      {[&](win::ModalDialog& d) {
         if (former) {
           d.SetDlgItemText(kName, lib::trim(former->descrip));
           d.CheckDlgButton(kDefault, former->raDefecto == 1);
           d.CheckDlgButton(kLevels, former->nivTari == 1);
           const std::string texts[6] = {former->iDia, former->iMes, former->iAnho, former->fDia, former->fMes, former->fAnho};
           for (int i = 0; i < 6; ++i) d.SetDlgItemText(kDates[i], lib::trim(texts[i]));
         }
         d.SetFocusTo(kName);
       },
       [&](win::ModalDialog& d) {
         Periodo p;
         auto text = [&](int id, size_t width) { return lib::TEXTO_FECHA(d.GetDlgItemText(id), width); };
         p.raDefecto = d.IsDlgButtonChecked(kDefault) ? 1 : 0;
         p.nivTari = d.IsDlgButtonChecked(kLevels) ? 1 : 0;
         p.descrip = lib::trim(d.GetDlgItemText(kName)).substr(0, 40);
         p.iDia = text(kDates[0], 2);
         p.iMes = text(kDates[1], 2);
         p.iAnho = p.raDefecto ? "" : text(kDates[2], 4);
         p.fDia = text(kDates[3], 2);
         p.fMes = text(kDates[4], 2);
         p.fAnho = p.raDefecto ? "" : text(kDates[5], 4);
         editado_ = false;
         win::WAIT wait(&d);
         wait.PUT_TEXT("Un momento por favor...", "Actualizando Tarifas...");
         store(p);
         wait.TERMINAR();
         saved = p;
         return true;
       }});
  if (!saved) return false;
  CARGA_PERIODOS(saved);
  return true;
}

}  // namespace rates
