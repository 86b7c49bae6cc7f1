#include "rates/def_pre5.h"

#include "lib/rate_calendar.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include <map>

#include "rates/copia.h"
#include "rates/copia_precios.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kRack = 601, kPeriods = 701, kPromo = 601, kAgencies = 801;
constexpr int kDates[6] = {501, 502, 503, 504, 505, 506};
constexpr const char* kNoPeriod = "Falta seleccionar un item del Grid\r   Favor de verificar";
constexpr const char* kTaken = "Ya existe el periodo con la misma promocion";

// Sets (or clears) the flag of `promo` on the agencies of the business unit `which` chooses.
void FLAGS(const std::string& negocio, const std::string& promo, const std::function<int(const lib::WDBTable&)>& value) {
  const std::string field = CAMPO_PROMO(promo);
  if (field.empty()) return;
  auto agencies = lib::USE(nullptr, "AGENCIAS", "AGENCIAS");
  agencies->SetScope(lib::businessKey(negocio));
  for (agencies->GoTop(); !agencies->Eof(); agencies->Skip()) {
    const int v = value(*agencies);
    if (v >= 0 && agencies->N(field) != v) lib::MODIFY(*agencies, [&] { agencies->FieldPut(field, lib::Value::num(v)); });
  }
}

}  // namespace

std::string CAMPO_PROMO(const std::string& promo) {
  const int n = lib::NUMERO_TEXTO(promo);
  return n >= 1 && n <= 50 ? "PROMO" + std::to_string(n) : "";
}

DEF_PRE5::DEF_PRE5(const std::string& dialog, const std::string& negocio)
    : PRECIOS(dialog, negocio, "TIP_PREC9", kPromoMenuId) {}

void DEF_PRE5::AbrirBases() {
  PRECIOS::AbrirBases();
  periodos_ = lib::USE(this, "T_PERIOD.DBF", "T_PERIOD");
  PERIODOS = periodos_.get();
}

void DEF_PRE5::BOTONES() {
  OB_PERIODOS = std::make_unique<win::WBLISTBOX>(this, kPeriods, PERIODOS, "DEF_PRE5_701");
  ADD(OB_PERIODOS.get());
  ADD(std::make_unique<win::CCOMBOBOX>(this, kRack), [this](win::WDIAG&, win::WCONTROL&, int notification) {
    if (notification == win::CBN_SELCHANGE) {
      COLUMNAS(win::CCOMBOBOX(this, kRack).CurCargo());
      CARGA_PERIODOS();
    }
    return 1;
  });
  ADD_BUTTON(201, [this] { ASIGNA_AGENCIAS(); });
  ADD_BUTTON(202, [this] { AGREGAR(); });
  ADD_BUTTON(203, [this] { EDITAR(); });
  ADD_BUTTON(204, [this] { BORRAR(); });
  ADD_BUTTON(205, [this] { COPIA_PROMOCIONES(this, NEGOCIO, rack_); });
}

void DEF_PRE5::INIT() {
  PRECIOS::INIT();
  if (!window()) return;
  win::WBLISTBOX& g = *OB_PERIODOS;
  lib::WDBTable* t = PERIODOS;
  win::AGREGARCOL(g, t, "F. inicio", "I_DIA", std::string(10, 'X'),
                  [t] { return lib::Value::chars(FECHA_PERIODO(t->S("I_DIA"), t->S("I_MES"), t->S("I_ANHO"))); }, 0, true);
  win::AGREGARCOL(g, t, "F. Final", "F_DIA", std::string(10, 'X'),
                  [t] { return lib::Value::chars(FECHA_PERIODO(t->S("F_DIA"), t->S("F_MES"), t->S("F_ANHO"))); }, 0, true);
  win::AGREGARCOL(g, t, "# Promo.", "COD_PROMO", "XXXX");
  lib::SELECT(t->Area);
  g.useMaintenanceLook();
  win::BrowMarksOptions options;
  options.noRefresh = true;
  BROWMARKS(g, {{1, "T_PERIOD"}}, 1, "", options);
  g.selectblock = [this](win::WBLISTBOX&) { ELIGE_PERIODO(); };
  screens::LOAD_LISTA(*this, {kRack}, "ENC_RACK", "ENC_RACK", NEGOCIO);
  CARGA_PERIODOS();
}

void DEF_PRE5::CerrarBases() {
  if (OB_PERIODOS) CLOSEBROWSE(*OB_PERIODOS);
  lib::KILLTABLA(periodos_);
  PERIODOS = nullptr;
  PRECIOS::CerrarBases();
}

std::string DEF_PRE5::clave(const Periodo& p) const {
  return TABLA->KeyPart("NEGOCIO", NEGOCIO) + TABLA->KeyPart("RACK", rack_) + "1" + TABLA->KeyPart("COD_PROMO", p.codPromo) +
         p.fechas();
}

void DEF_PRE5::CARGA_PERIODOS(const std::optional<Periodo>& select) {
  mostrado_.reset();
  OB_PERIODOS->detachTable(true);
  lib::WDBTable& list = *PERIODOS;
  for (list.GoTop(); !list.Eof(); list.Skip()) lib::MODIFY(list, [&] { list.Delete(); });
  list.Pack();
  uint32_t chosen = 0;
  if (!rack_.empty()) {
    auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC9");
    prices->SetScope(prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("RACK", rack_) + "1");
    std::string last = "\x01";
    int orden = 0;
    for (prices->GoTop(); !prices->Eof(); prices->Skip()) {
      const Periodo p = PERIODO_DE(*prices);
      if (p.codPromo + p.fechas() == last) continue;
      last = p.codPromo + p.fechas();
      lib::ADD(list, [&] {
        list.FieldPut("ORDEN", lib::Value::num(++orden));
        PON_FECHAS(list, p);
        list.FieldPut("COD_PROMO", lib::Value::chars(p.codPromo));
      });
      if (select && select->codPromo + select->fechas() == last) chosen = list.RecNo();
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

std::optional<Periodo> DEF_PRE5::PERIODO_ELEGIDO() const {
  if (!OB_PERIODOS || OB_PERIODOS->nMaxRec == 0 || PERIODOS->Eof() || PERIODOS->Deleted()) return std::nullopt;
  return PERIODO_DE(*PERIODOS);
}

void DEF_PRE5::ELIGE_PERIODO() {
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (mostrado_ && p && mostrado_->codPromo + mostrado_->fechas() == p->codPromo + p->fechas()) return;
  mostrado_ = p;
  MUESTRA(p ? clave(*p) : "");
}

bool DEF_PRE5::PROMOCION_USADA(const std::string& promo, const std::optional<Periodo>& except) const {
  auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC9");
  prices->SetScope(prices->KeyPart("NEGOCIO", NEGOCIO) + prices->KeyPart("RACK", rack_) + "1" +
                   prices->KeyPart("COD_PROMO", promo));
  for (prices->GoTop(); !prices->Eof(); prices->Skip())
    if (!except || PERIODO_DE(*prices).codPromo + PERIODO_DE(*prices).fechas() != except->codPromo + except->fechas())
      return true;
  return false;
}

void DEF_PRE5::AGREGAR() {
  CALL_LEVEL();
  if (rack_.empty()) {
    screens::error("Falta seleccionar el tarifario\r   Favor de verificar");
    return;
  }
  DEF_PRE6(std::nullopt);
}

void DEF_PRE5::EDITAR() {
  CALL_LEVEL();
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (!p) {
    screens::error(kNoPeriod);
    return;
  }
  DEF_PRE6(p);
}

// The period's records of every room type; no agency takes part in the promotion any more.
void DEF_PRE5::BORRAR() {
  CALL_LEVEL();
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (!p) {
    screens::error(kNoPeriod);
    return;
  }
  if (!screens::confirm("¿Desea borrar el item seleccionado?")) return;
  SIN_GRID([&] {
    BORRA_REGISTROS("TIP_PREC", "TIP_PREC9", clave(*p));
    FLAGS(NEGOCIO, p->codPromo, [](const lib::WDBTable&) { return 0; });
  });
  CARGA_PERIODOS();
}

// The promotion editor: fifty promotions, the dates taken as typed (day and month of 2,
// the year of 4 characters).
bool DEF_PRE5::DEF_PRE6(const std::optional<Periodo>& former) {
  std::optional<Periodo> saved;
  win::DIALOG_BOX(
      "DEF_PRE6", this,
      {[&](win::ModalDialog& d) {
         win::CCOMBOBOX promos(&d, kPromo);
         for (int n = 1; n <= 50; ++n) {
           const std::string code = (n < 10 ? "0" : "") + std::to_string(n);
           promos.Add("Promocion #" + code, 0, code + "  ");
         }
         if (former) {
           promos.SeekCargo(lib::padded(former->codPromo, 4));
           const std::string texts[6] = {former->iDia, former->iMes, former->iAnho, former->fDia, former->fMes, former->fAnho};
           for (int i = 0; i < 6; ++i) d.SetDlgItemText(kDates[i], lib::trim(texts[i]));
         }
         d.SetFocusTo(kPromo);
       },
       [&](win::ModalDialog& d) {
         Periodo p;
         p.codPromo = lib::trim(win::CCOMBOBOX(&d, kPromo).CurCargo());
         auto refuse = [&](const std::string& text, int focus) {
           screens::error(text);
           d.SetFocusTo(focus);
           return false;
         };
         if (p.codPromo.empty()) return refuse("Falta seleccionar la promoción", kPromo);
         auto text = [&](int i, size_t width) { return lib::TEXTO_FECHA(d.GetDlgItemText(kDates[i]), width); };
         p.iDia = text(0, 2);
         p.iMes = text(1, 2);
         p.iAnho = text(2, 4);
         p.fDia = text(3, 2);
         p.fMes = text(4, 2);
         p.fAnho = text(5, 4);
         if (former && former->codPromo == p.codPromo && former->fechas() == p.fechas()) {
           saved = p;
           return true;
         }
         if (PROMOCION_USADA(p.codPromo, former)) return refuse(kTaken, kPromo);
         win::WAIT wait(&d);
         wait.PUT_TEXT("Un momento por favor...", "Actualizando Tarifas...");
         SIN_GRID([&] {
           auto prices = lib::USE(nullptr, "TIP_PREC", "TIP_PREC9");
           if (!former) {
             lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& type) {
               const std::string tipo = type.S("CODIGO");
               prices->SetScope(clave(p));
               for (prices->GoTop(); !prices->Eof(); prices->Skip())
                 if (lib::trim(prices->S("T_ROOM")) == lib::trim(tipo)) {
                   lib::MODIFY(*prices, [&] { prices->Delete(); });
                   break;
                 }
               prices->ClearScope();
               lib::ADD(*prices, [&] {
                 prices->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
                 prices->FieldPut("T_ROOM", lib::Value::chars(tipo));
                 prices->FieldPut("RACK", lib::Value::chars(rack_));
                 prices->FieldPut("COD_PROMO", lib::Value::chars(lib::padded(p.codPromo, 4)));
                 prices->FieldPut("PROMOCION", lib::Value::num(1));
                 PON_FECHAS(*prices, p);
               });
             });
             return;
           }
           if (former->codPromo != p.codPromo) {
             const std::string oldField = CAMPO_PROMO(former->codPromo), newField = CAMPO_PROMO(p.codPromo);
             FLAGS(NEGOCIO, p.codPromo, [&](const lib::WDBTable& a) { return a.N(oldField) == 1 ? 1 : -1; });
             FLAGS(NEGOCIO, former->codPromo, [](const lib::WDBTable&) { return 0; });
           }
           // Each rewrite moves the record out of the former key: seek again for the next.
           const std::string oldKey = clave(*former);
           while (prices->Seek(oldKey))
             lib::MODIFY(*prices, [&] {
               PON_FECHAS(*prices, p);
               prices->FieldPut("COD_PROMO", lib::Value::chars(lib::padded(p.codPromo, 4)));
             });
         });
         wait.TERMINAR();
         saved = p;
         return true;
       }});
  if (!saved) return false;
  CARGA_PERIODOS(saved);
  return true;
}

// Every agency of the business unit, marked when it takes part in the chosen promotion; a
// change of the marks is written at once.
void DEF_PRE5::ASIGNA_AGENCIAS() {
  CALL_LEVEL();
  const std::optional<Periodo> p = PERIODO_ELEGIDO();
  if (!p) {
    screens::error(kNoPeriod);
    return;
  }
  const std::string field = CAMPO_PROMO(p->codPromo);
  if (field.empty()) return;
  auto write = [&](win::ModalDialog& d) {
    win::CLISTBOX list(&d, kAgencies);
    std::vector<bool> on(size_t(list.Count()) + 1, false);
    for (int i : list.Selected()) on[size_t(i)] = true;
    std::map<std::string, int> wanted;
    for (int i = 1; i <= list.Count(); ++i) wanted[list.ItemCargo(i)] = on[size_t(i)] ? 1 : 0;
    FLAGS(NEGOCIO, p->codPromo, [&](const lib::WDBTable& a) {
      auto it = wanted.find(a.S("CODIGO"));
      return it == wanted.end() ? -1 : it->second;
    });
  };
  auto all = [&](win::ModalDialog& d, bool mark) {
    win::CLISTBOX list(&d, kAgencies);
    for (int i = 1; i <= list.Count(); ++i) list.SetSel(i, mark);
    write(d);
  };
  win::DIALOG_BOX("DEF_PRE8", this,
                  {[&](win::ModalDialog& d) {
                     win::CLISTBOX list(&d, kAgencies);
                     lib::EACH_RECORD("AGENCIAS", "AGENCIAS", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& a) {
                       list.Add(a.S("DESCRIP") + "   " + a.S("CODIGO"), a.S("CODIGO"));
                       if (a.N(field) == 1) list.SetSel(list.Count(), true);
                     });
                   },
                   [](win::ModalDialog&) { return true; },
                   [&](win::ModalDialog& d, int id, int notification) {
                     if (id == kAgencies && notification == win::LBN_SELCHANGE) write(d);
                     else if (id == 201) all(d, true);
                     else if (id == 202) all(d, false);
                     else return false;
                     return true;
                   }});
}

}  // namespace rates
