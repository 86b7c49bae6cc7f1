#include "app/mant_ser.h"

#include "app/mant_se2.h"
#include "lib/serials.h"
#include "screens/registry.h"
#include "xbase/number_text.h"

namespace app {

MANT_SER::MANT_SER(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio, {"SERIALES", "SERIALES", kMenuId, {}}) {}

// The counter as the documents see it: the next number and the serial it makes.
void MANT_SER::MontarColumnas() {
  lib::WDBTable* t = TABLA;
  win::AGREGARCOL(*OB, t, "Módulo", "MODULO", "@! XXXXXXXXXX");
  win::AGREGARCOL(*OB, t, "Código", "CODIGO", "!!!!", {}, 0, false, 16);
  win::AGREGARCOL(*OB, t, "Descripción", "DESCRIP", std::string(30, '!'));
  win::AGREGARCOL(
      *OB, t, "Próximo Número", "", "@X XXXXXXXXXXXXXXX",
      [t] { return lib::Value::chars(xbase::decimalText(t->N("NUMERO") + 1, 0)); }, 2, true);
  win::AGREGARCOL(
      *OB, t, "Próximo Serial", "", "@X XXXXXXXXXXXXXXX",
      [t] {
        return lib::Value::chars(lib::SERIAL_FORMAT(t->S("PREFIJO"), t->N("NUMERO") + 1, int(t->N("INDENT")),
                                                    int(t->N("JUSTIFICA")), t->S("POSFIJO")));
      },
      0, false);
  win::AGREGARCOL(*OB, t, "Último Entregado", "CURRENT_N", "@X XXXXXXXXXXXXXXX");
}

void MANT_SER::ADD_SERIAL() {
  screens::OPEN<MANT_SE2>(this, NEGOCIO, MANT_SE2::kAdd);
}

void MANT_SER::MOD_SERIAL() {
  if (hasRecord()) screens::OPEN<MANT_SE2>(this, NEGOCIO, MANT_SE2::kModify);
}

void MANT_SER::DEL_SERIAL() {
  CALL_LEVEL();
  BORRA_REGISTRO("¿Desea borrar el Serial?\rLos documentos que lo usan recibirán NO_SERIAL! como número.", {});
}

void registerSerialScreen() {
  screens::editMenu(MANT_SER::kMenuId, screens::listEntries<MANT_SER>({2842, 2843, 2844}, &MANT_SER::ADD_SERIAL,
                                                                      &MANT_SER::MOD_SERIAL, &MANT_SER::DEL_SERIAL));
  screens::opens<MANT_SER>("MANT_SER");
}

}  // namespace app
