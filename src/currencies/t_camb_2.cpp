#include "currencies/t_camb_2.h"

#include "currencies/pair_rates.h"
#include "lib/money.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace currencies {

namespace {

constexpr int kFrom = 500, kProjected = 501, kTo = 601;
constexpr const char* kProblem = "Problemas con los códigos de moneda ";

std::string currencyField(const std::string& negocio, const std::string& code, const std::string& field) {
  auto currencies = lib::USE(nullptr, "MONEDAS", "MONEDAS");
  const bool found = currencies->Seek(lib::businessKey(negocio) + lib::padded(code, 2));
  return found ? lib::trim(currencies->S(field)) : "";
}

}  // namespace

T_CAMB_2::T_CAMB_2(win::WDIAG* owner, const std::string& negocio, const std::string& moneda1)
    : owner_(owner), NEGOCIO(negocio), MODIFICA(false), pair_{moneda1, "", 0} {}

T_CAMB_2::T_CAMB_2(win::WDIAG* owner, const std::string& negocio, const RELACION& pair)
    : owner_(owner), NEGOCIO(negocio), MODIFICA(true), pair_(pair) {}

bool T_CAMB_2::run() {
  win::DIALOG_BOX("T_CAMB_2", owner_,
                  {[this](win::ModalDialog& d) { INICIO(d); }, [this](win::ModalDialog& d) { return SAVE_DATOS(d); }});
  return saved_;
}

void T_CAMB_2::INICIO(win::ModalDialog& d) {
  d.SetDlgItemText(kFrom, currencyField(NEGOCIO, pair_.moneda1, "DESCRIP"));
  screens::LOAD_LISTA(d, {kTo}, "MONEDAS", "MONEDAS", NEGOCIO);
  if (!MODIFICA) {
    d.SetDlgItemText(kProjected, "0.00");
  } else {
    win::CCOMBOBOX to(&d, kTo);
    screens::SEEK_CODIGO(to, pair_.moneda2);
    auto pairs = lib::USE(nullptr, "DET_MON", "DET_MON");
    pairs->GoTo(pair_.recno);
    d.SetDlgItemText(kProjected, lib::TRANSFORM_NUMBER(pairs->N("PROYECTA"), "99.9999"));
  }
  d.SetFocusTo(kTo);
}

bool T_CAMB_2::EXISTE(const std::string& moneda2) const {
  auto pairs = lib::USE(nullptr, "DET_MON", "DET_MON");
  return pairs->Seek(pairs->KeyPart("NEGOCIO", NEGOCIO) + pairs->KeyPart("MONEDA_1", pair_.moneda1) +
                     pairs->KeyPart("MONEDA_2", moneda2));
}

std::string T_CAMB_2::TEXTO(const std::string& moneda2) const {
  return currencyField(NEGOCIO, moneda2, "DESCRIP") + "   (" + currencyField(NEGOCIO, moneda2, "SIMBOLO") + ")";
}

bool T_CAMB_2::SAVE_DATOS(win::ModalDialog& d) {
  CALL_LEVEL_AS("T_CAMB_2:SAVE_DATOS");
  const std::string chosen = lib::trim(win::CCOMBOBOX(&d, kTo).CurCargo());
  const lib::Money projected = lib::Money::parse(d.GetDlgItemText(kProjected)).value_or(lib::Money()).rounded(4);
  const std::string first = lib::trim(pair_.moneda1);
  const bool refused =
      chosen.empty() || chosen == first ||
      (MODIFICA ? !EXISTE(pair_.moneda2) || (chosen != lib::trim(pair_.moneda2) && EXISTE(chosen)) : EXISTE(chosen));
  if (refused) {
    screens::error(kProblem);
    d.SetFocusTo(kTo);
    return false;
  }
  auto pairs = lib::USE(nullptr, "DET_MON", "DET_MON");
  auto fill = [&] {
    pairs->FieldPut("MONEDA_2", lib::Value::chars(chosen));
    pairs->FieldPut("DESCRIP", lib::Value::chars(TEXTO(chosen)));
    pairs->FieldPut("PROYECTA", projected);
  };
  if (!MODIFICA) {
    lib::ADD(*pairs, [&] {
      pairs->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
      pairs->FieldPut("MONEDA_1", lib::Value::chars(first));
      fill();
    });
  } else {
    pairs->GoTo(pair_.recno);
    lib::MODIFY(*pairs, fill);
    if (chosen != lib::trim(pair_.moneda2)) {
      win::WAIT wait(&d);
      wait.PUT_TEXT("Un momento por favor...", "Actualizando Referencias...");
      MUEVE_TIPOS_DE_CAMBIO(NEGOCIO, first, pair_.moneda2, chosen);
      wait.TERMINAR();
    }
  }
  saved_ = true;
  return true;
}

}  // namespace currencies
