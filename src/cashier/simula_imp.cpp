#include "cashier/simula_imp.h"

#include <memory>

#include "cashier/code_rules.h"
#include "cashier/conversion.h"
#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "win/browse.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/entry_filters.h"

namespace cashier {

namespace {

using lib::Money;
using lib::Value;

constexpr int kAmount = 500, kDate = 501, kFactor = 502, kCurrency = 601, kExempt = 901, kGrid = 700;
constexpr int kCode = 400, kSlot = 401, kTotal = 402, kRule = 403;

// An amount with as many decimals as it has (at least two): 13.00, 10.569, 81.300813.
std::string shown(Money m) {
  std::string t = m.text(Money::kPlaces);
  while (t.size() > 3 && t.back() == '0' && t[t.size() - 3] != '.') t.pop_back();
  return t;
}

// "= 13.00", or "= 10.569, redondeado a 10.57".
std::string result(Money exact, Money rounded) {
  return exact == rounded ? "= " + shown(rounded) : "= " + shown(exact) + ", redondeado a " + rounded.text();
}

win::BrowMarksOptions quiet() {
  win::BrowMarksOptions o;
  o.noRefresh = true;
  return o;
}

// The slot of the code's exchange rate (0 or none means 1).
int rateSlot(const std::string& negocio, const std::string& code) {
  int slot = 1;
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio) + lib::padded(code, 4),
                   [&](const lib::WDBTable& t) { slot = t.N("TRANS_CAMB") >= 1 ? int(t.N("TRANS_CAMB")) : 1; });
  return slot;
}

// The dialog's state while it is open: the code's rules, the lines' table, the grid on it.
class SIMULACION : public win::ADD2BROWSE {
 public:
  SIMULACION(win::WDIAG* owner, std::string negocio, std::string code)
      : owner_(owner), negocio_(std::move(negocio)), code_(std::move(code)), slot_(rateSlot(negocio_, code_)) {}

  void run() {
    rules_ = REGLAS_CARGO(negocio_, code_);
    if (!rules_) return;
    lineas_ = lib::USE(owner_, "W_SIMUL.TMP", "W_SIMUL");
    win::DIALOG_BOX("SIMULA_IMP", owner_,
                    {[this](win::ModalDialog& d) { init(d); }, [this](win::ModalDialog& d) { return calcular(d); },
                     [this](win::ModalDialog& d, int id, int) { return command(d, id); },
                     [this](win::ModalDialog&) {
                       CLOSEBROWSE(*grid_);
                       return true;
                     }});
    grid_ = nullptr;  // went with the dialog, which owned it
    lib::KILLTABLA(lineas_);
  }

 private:
  void init(win::ModalDialog& d) {
    const std::string kind = rules_->composite ? "compuesto, se descompone en sus partes"
                             : rules_->included ? "impuestos incluidos"
                                                : "impuestos agregados";
    d.SetDlgItemText(kCode, rules_->code + " - " + rules_->description + " (" + kind + ")");
    d.SetDlgItemText(kSlot, "Tipo de cambio #" + std::to_string(slot_) + " del cargo");
    auto* amount = d.ADD(std::make_unique<win::WEDIT>(&d, kAmount));
    win::ONLYNUMBER(*amount, "999,999,999.99");
    lookedUpDate_ = lib::DTOC(lib::XDATE());
    d.ADD(std::make_unique<win::WEDIT>(&d, kDate))->TEXT(lookedUpDate_);
    auto* factor = d.ADD(std::make_unique<win::WEDIT>(&d, kFactor));
    factor->TEXT("1.000000");
    auto* currency = d.ADD(std::make_unique<win::CCOMBOBOX>(&d, kCurrency));
    lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(negocio_),
                     [&](const lib::WDBTable& m) { currency->Add(m.S("DESCRIP"), 0, lib::trim(m.S("CODIGO"))); });
    const std::string contable = MONEDA_CONTABLE(negocio_);
    currency->SeekCargo(contable);
    auto currencies = lib::USE(owner_, "MONEDAS", "MONEDAS");
    symbol_ = lib::trim(lib::SIMBOLO(*currencies, contable, negocio_));
    lib::KILLTABLA(currencies);
    auto* exempt = d.ADD(std::make_unique<win::CLISTBOX>(&d, kExempt));
    lib::EACH_RECORD("TIPO_IMP", "TIPO_IMP", lib::businessKey(negocio_), [&](const lib::WDBTable& t) {
      exempt->Add(lib::trim(t.S("CODIGO")) + " - " + t.S("DESCRIP"), lib::trim(t.S("CODIGO")));
    });
    grid_ = d.ADD(std::make_unique<win::WBLISTBOX>(&d, kGrid, lineas_.get(), "SIMULA_IMP"));
    win::AGREGARCOL(*grid_, lineas_.get(), "Lín.", "LINEA", "999", {}, 2, false, 8);
    win::AGREGARCOL(*grid_, lineas_.get(), "Trans.", "COD_TRANS", "!!!!", {}, 0, false, 12);
    win::AGREGARCOL(*grid_, lineas_.get(), "Descripción", "DESCRIP", std::string(32, 'X'));
    win::AGREGARCOL(*grid_, lineas_.get(), "D/C", "LADO", "!", {}, 0, false, 16);
    win::AGREGARCOL(*grid_, lineas_.get(), "Base", "BASE", "99,999,999.99", {}, 2);
    win::AGREGARCOL(*grid_, lineas_.get(), "%", "TASA", "999.999", {}, 2, false, 8);
    win::AGREGARCOL(*grid_, lineas_.get(), "Monto", "MONTO", "99,999,999.99", {}, 2);
    win::AGREGARCOL(*grid_, lineas_.get(), "Regla", "REGLA", std::string(90, 'X'));
    grid_->useMaintenanceLook();
    lib::SELECT(lineas_->Area);
    BROWMARKS(*grid_, {{1, "W_SIMUL"}}, 1, "", quiet());
    // The whole rule of the line under the cursor, however narrow its column.
    grid_->selectblock = [this, &d](win::WBLISTBOX&) {
      d.SetDlgItemText(kRule, lineas_->Eof() ? "" : lineas_->S("REGLA"));
    };
    d.SetFocusTo(kAmount);
  }

  bool command(win::ModalDialog& d, int id) {
    if (id != kCurrency && id != kDate) return false;
    lookUpFactor(d, id == kCurrency);
    return true;
  }

  // The currency and the date chosen give the factor of the code's rate slot, which the
  // user may still overwrite until either changes; the note under it says where it came from.
  void lookUpFactor(win::ModalDialog& d, bool currencyChanged) {
    const std::string text = d.GetDlgItemText(kDate);
    const lib::TypedDate date = lib::readDate(text);
    if (date.unreadable || (!currencyChanged && text == lookedUpDate_)) return;
    lookedUpDate_ = text;
    const lib::ExchangeFactor f = FACTOR_CAMBIO(negocio_, win::CCOMBOBOX(&d, kCurrency).CurCargo(), date.julian, slot_);
    d.SetDlgItemText(kFactor, f.factor().text(Money::kPlaces));
    const std::string tipo = "Tipo #" + std::to_string(slot_);
    using Source = lib::ExchangeFactor::Source;
    switch (f.source) {
      case Source::Same: d.SetDlgItemText(kSlot, "Tipo de cambio #" + std::to_string(slot_) + " del cargo"); break;
      case Source::Direct: d.SetDlgItemText(kSlot, tipo + " del " + lib::DTOC(f.fecha)); break;
      case Source::Reverse: d.SetDlgItemText(kSlot, tipo + " del " + lib::DTOC(f.fecha) + " (inverso)"); break;
      case Source::None: d.SetDlgItemText(kSlot, "Sin tipo #" + std::to_string(slot_) + " a la fecha"); break;
    }
  }

  // "Calcular": the lines of the amount typed; the dialog stays open for the next one.
  bool calcular(win::ModalDialog& d) {
    const std::optional<Money> amount = Money::parse(d.GetDlgItemText(kAmount));
    if (!amount) {
      screens::error("Monto inválido");
      d.SetFocusTo(kAmount);
      return false;
    }
    if (lib::readDate(d.GetDlgItemText(kDate)).unreadable) {
      screens::error("Fecha inválida");
      d.SetFocusTo(kDate);
      return false;
    }
    const std::optional<Money> factor = Money::parse(d.GetDlgItemText(kFactor));
    if (!factor || factor->negative() || factor->isZero()) {
      screens::error("El tipo de cambio debe ser mayor a cero");
      d.SetFocusTo(kFactor);
      return false;
    }
    std::set<std::string> exempt;
    win::CLISTBOX list(&d, kExempt);
    for (int position : list.Selected()) exempt.insert(list.ItemCargo(position));
    const std::vector<TaxLine> lines = DERIVA_IMPUESTOS(*rules_, *amount, *factor, exempt);
    show(lines);
    Money total;
    for (const TaxLine& l : lines) total += l.amount;
    // The conversion comes before everything else in the rule: shown once, here.
    const std::string converted = inAccounts((*amount * *factor).rounded(2));
    d.SetDlgItemText(kTotal, "Total de las líneas: " + inAccounts(total) + "   Monto convertido: " +
                                 (*factor == Money::units(1) ? converted
                                                             : amount->text() + " x " + shown(*factor) + " = " + converted));
    return false;
  }

  // An amount of the accounting currency, with its symbol: "¢63,017.82".
  std::string inAccounts(Money m) const {
    return symbol_ + lib::trim(lib::TRANSFORM_NUMBER(m.number(), "99,999,999,999,999.99"));
  }

  void show(const std::vector<TaxLine>& lines) {
    DISABLE_BROWSE(*grid_);
    lib::WDBTable& t = *lineas_;
    lib::SELECT(t.Area);
    for (t.GoTop(); !t.Eof(); t.Skip())
      if (!t.Deleted()) lib::MODIFY(t, [&] { t.Delete(); });
    t.Pack();
    int n = 0;
    for (const TaxLine& l : lines)
      lib::ADD(t, [&] {
        t.FieldPut("LINEA", Value::num(++n));
        t.FieldPut("COD_TRANS", Value::chars(l.code));
        t.FieldPut("DESCRIP", Value::chars(l.description));
        t.FieldPut("LADO", Value::chars(l.credit ? "C" : "D"));
        t.FieldPut("BASE", l.base.rounded(2));
        t.FieldPut("TASA", l.isTax ? l.rate : l.rate.isZero() ? l.sharePercent : l.rate);
        t.FieldPut("MONTO", l.amount);
        t.FieldPut("AJUSTE", l.adjustment);
        t.FieldPut("REGLA", Value::chars(REGLA(l)));
      });
    ENABLE_BROWSE(*grid_);
    grid_->GOTOP();
    grid_->REFRESHALL();
    if (grid_->selectblock) grid_->selectblock(*grid_);
  }

  win::WDIAG* owner_;
  const std::string negocio_, code_;
  const int slot_;
  std::optional<CodeRules> rules_;
  std::unique_ptr<lib::WDBTable> lineas_;
  win::WBLISTBOX* grid_ = nullptr;
  std::string symbol_;        // of the accounting currency
  std::string lookedUpDate_;  // the date text the factor shown was looked up for
};

}  // namespace

std::string REGLA(const TaxLine& l) {
  const Money rounded = l.amount - l.adjustment;
  std::string text;
  if (l.isTax) {
    text = l.tax + " " + shown(l.rate) + " % de " + l.base.text() + " " + result(l.exact, rounded) +
           (l.included ? " (incluido)" : " (agregado)");
  } else {
    if (!l.component.empty()) {
      const Money share = l.share - l.shareAdjustment;
      text = shown(l.sharePercent) + " % del monto " + (l.shareAdjustment.isZero() ? "= " + share.text()
                                                                                   : "= " + share.text() + " + " +
                                                                                         l.shareAdjustment.text() +
                                                                                         " del reparto = " +
                                                                                         l.share.text()) +
             "; ";
    }
    if (l.included)
      text += "base " + shown(l.base) + " / (1 + " + shown(l.rate) + " %) " + result(l.exact, rounded) +
              " (impuestos incluidos)";
    else
      text += "monto " + result(l.exact, rounded).substr(2);
  }
  if (!l.adjustment.isZero())
    text += "; " + std::string(l.adjustment.negative() ? "" : "+") + l.adjustment.text() + " para sumar el monto";
  return text;
}

void SIMULA_IMPUESTOS(win::WDIAG* owner, const std::string& negocio, const std::string& code) {
  SIMULACION(owner, negocio, code).run();
}

}  // namespace cashier
