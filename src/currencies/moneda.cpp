#include "currencies/moneda.h"

#include "currencies/modimoneda.h"

namespace currencies {

MONEDA::MONEDA(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"MONEDAS",
                   "MONEDAS",
                   kMenuId,
                   {{"Código", "CODIGO", "!!", 0, 24}, {"Descrpción", "DESCRIP", std::string(40, '!')}}}) {}

void MONEDA::ADD_MONEDAS() {
  screens::OPEN<MODIMONEDA>(this, NEGOCIO, MODIMONEDA::kAdd);
}

void MONEDA::MOD_MONEDAS() {
  if (hasRecord()) screens::OPEN<MODIMONEDA>(this, NEGOCIO, MODIMONEDA::kModify);
}

void MONEDA::DEL_MONEDAS() {
  CALL_LEVEL();
  BORRA_REGISTRO("Desea borrar la Moneda?", {});
}

}  // namespace currencies
