#include "parameters/param2.h"

#include "lib/messages.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "parameters/parameter_records.h"
#include "win/controls.h"
#include "win/message_box.h"

namespace parameters {

namespace {

using win::WCONTROL;
using win::WDIAG;

}  // namespace

PARAM2::PARAM2(const std::string& dialog, const std::string& negocio) : PARAMETER_SCREEN(dialog, negocio) {}

void PARAM2::ABRIRBASES() {
  F_HOTEL = PARAMETRO("F_HOTEL");
  F_HOTEL3 = PARAMETRO("F_HOTEL3");
}

void PARAM2::CONTROLES() {
  lib::WDBTable* h = F_HOTEL;
  screens::FORM& f = form_;
  f.OPTION(h, "TRS_CAMBIO", {{201, 1}, {202, 2}, {203, 3}, {204, 4}, {205, 5}});
  f.FLAG(1001, h, "ENTREGA");
  f.FLAG(1002, h, "ENTREGA_M");
  f.FLAG(1003, h, "VUELTO");
  f.FLAG(1004, h, "VER_CAJA");
  int id = 601;
  for (const char* code :
       {"TRS_VUELTO", "TRS_MONEDA", "T2_VUELTO", "T2_MONEDA", "TRS_ENTREG", "T_SOBRANTE", "T_FALTANTE", "PAG_EFEC"})
    f.CODE(id++, h, code);
  f.NUMBER(500, h, "MARG_NEG", "999,999,999.99");
  f.CODE(609, F_HOTEL3, "SERIAL_AMA");
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  ADD_BUTTON(win::IDCANCEL, [this] { TERMINAR(); });
}

void PARAM2::LOAD_LISTAS() {
  WDIAG& d = *this;
  screens::LOAD_LISTA(d, {601, 602, 603, 604, 605, 606, 607}, "TRANSACS", "TRANSACS1", NEGOCIO);
  screens::LOAD_LISTA(d, {608}, "T_PAGO", "T_PAGO", NEGOCIO);
  LOAD_SERIALES(d, {609}, NEGOCIO);
}

void PARAM2::PROCESAR() {
  // Nothing is written without the business unit's F_HOTEL record (another station may
  // have removed it meanwhile); the entries stay on the screen.
  if (!F_HOTEL->Seek(lib::businessKey(NEGOCIO))) {
    win::MESSAGE_BOX(this,
                     "No existen los Parámetros de Control del negocio " + NEGOCIO + ", no se guardaron los cambios",
                     "Error", lib::MB_OK | lib::MB_ICONERROR);
    return;
  }
  lib::MODIFY(*F_HOTEL, [&] { form_.SAVE(F_HOTEL); });
  if (F_HOTEL3->Seek(lib::businessKey(NEGOCIO))) lib::MODIFY(*F_HOTEL3, [&] { form_.SAVE(F_HOTEL3); });
  ENDDIALOG();
}

}  // namespace parameters
