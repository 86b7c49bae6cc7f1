// The pair editor (modal dialog T_CAMB_2, "Referencia") of the exchange-rate screen: a new
// pair expressed in a currency, or a pair's second currency and projected daily change
// changed. A changed second currency takes the pair's rates with it. A pair of a currency
// with itself, a pair defined twice or one without a second currency is refused ("Problemas
// con los códigos de moneda ").
#pragma once

#include <string>

#include "currencies/t_cambio.h"

namespace win {
class ModalDialog;
class WDIAG;
}  // namespace win

namespace currencies {

class T_CAMB_2 {
 public:
  // A new pair expressed in `moneda1`.
  T_CAMB_2(win::WDIAG* owner, const std::string& negocio, const std::string& moneda1);
  // The pair `pair`.
  T_CAMB_2(win::WDIAG* owner, const std::string& negocio, const RELACION& pair);

  // Runs the dialog; true when a pair was saved.
  bool run();

 private:
  void INICIO(win::ModalDialog& d);
  bool SAVE_DATOS(win::ModalDialog& d);
  bool EXISTE(const std::string& moneda2) const;
  // The second currency as the tree shows it: name, three blanks, symbol in brackets.
  std::string TEXTO(const std::string& moneda2) const;

  win::WDIAG* owner_;
  const std::string NEGOCIO;
  const bool MODIFICA;
  RELACION pair_;
  bool saved_ = false;
};

}  // namespace currencies
