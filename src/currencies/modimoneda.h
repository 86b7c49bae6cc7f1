// The currency editor (dialog MODIMONEDA) over the MONEDA screen. A changed code is carried
// into every table of the business unit that names the currency (CURRENCY_REFERENCES),
// record by record, and into the business's accounting currency when it was that one.
#pragma once

#include <string>
#include <vector>

#include "screens/editor.h"
#include "screens/recode.h"

namespace currencies {

// Where a currency's code is carried: the accounting modules' documents, the pairs and the
// dated rates (each of their two currencies), the deposits, and the currencies equivalent
// to it.
const std::vector<screens::RecodeStep>& CURRENCY_REFERENCES();

class MODIMONEDA : public screens::EDITOR {
 public:
  MODIMONEDA(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  bool MODIFICA(const std::string& code) override;
};

}  // namespace currencies
