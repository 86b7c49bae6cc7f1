#include "reservations/brow_tr.h"

#include "lib/text.h"
#include "reservations/ed_tr.h"
#include "reservations/reservation_references.h"

namespace reservations {

BROW_TR::BROW_TR(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"E_T_RES",
                   "E_T_RES",
                   kMenuId,
                   {{"Código", "CODIGO", "!!", 0, 30}, {"Descripción", "DESCRIP", std::string(40, '!')}}}) {}

void BROW_TR::ADD_TR() {
  CALL_LEVEL();
  screens::OPEN<ED_TR>(this, NEGOCIO, ED_TR::kAdd);
}

void BROW_TR::MOD_TR() {
  CALL_LEVEL();
  if (hasRecord()) screens::OPEN<ED_TR>(this, NEGOCIO, ED_TR::kModify);
}

void BROW_TR::DEL_TR() {
  CALL_LEVEL();
  const std::string code = hasRecord() ? lib::trim(TABLA->S("CODIGO")) : "";
  BORRA_REGISTRO("Desea borrar el item escogido?",
                 [&](win::WAIT& wait) { screens::BORRA_CODIGO(GUARANTEE_MESSAGES(), NEGOCIO, code, &wait); });
}

}  // namespace reservations
