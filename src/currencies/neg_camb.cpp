#include "currencies/neg_camb.h"

#include "lib/record_protocol.h"

namespace currencies {

namespace {

constexpr int kRange = 501;

}  // namespace

void NEG_CAMB::INIT() {
  NEGOCIOS = USE("NEGOCIOS", "NEGOCIOS");
  NEGOCIOS->Seek(NEGOCIOS->KeyPart("CODIGO", NEGOCIO));
  if (!Init(nullptr, DIALOG)) return;
  FORM_.OPTION(NEGOCIOS, "CHECK_MON", {{kDias, 1}, {kMeses, 0}}, kMeses);
  FORM_.NUMBER(kRange, NEGOCIOS, "CANT_MON", "999");
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  if (!NEGOCIOS->Eof()) FORM_.LOAD();
  FORM_.FILTROS();
  SetFocusTo(kRange);
}

// "Rango en Días" stores 1, "Rango en Meses" 0.
void NEG_CAMB::PROCESAR() {
  CALL_LEVEL();
  if (!NEGOCIOS->Eof()) lib::MODIFY(*NEGOCIOS, [&] { FORM_.SAVE(NEGOCIOS); });
  ENDDIALOG();
}

}  // namespace currencies
