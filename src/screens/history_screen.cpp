#include "screens/history_screen.h"

#include "lib/text.h"
#include "screens/history.h"

namespace screens {

HIST_CAMBIOS::HIST_CAMBIOS(std::string negocio, std::string table, std::string key, std::string title)
    : LIST_SCREEN("HIST_CAM", std::move(negocio), {kHistoryTable, kHistoryTable, 0, {}, true}),
      table_(std::move(table)),
      key_(std::move(key)),
      title_(std::move(title)) {}

void HIST_CAMBIOS::INIT() {
  LIST_SCREEN::INIT();
  if (window()) SetDlgItemText(501, title_);
}

void HIST_CAMBIOS::AbrirBases() {
  CREA_HISTORIAL();
  LIST_SCREEN::AbrirBases();
}

void HIST_CAMBIOS::MontarColumnas() {
  lib::WDBTable* h = TABLA;
  const std::string wide = "@X " + std::string(30, 'X');
  win::AGREGARCOL(*OB, h, "Fecha", "FECHA");
  win::AGREGARCOL(*OB, h, "Hora", "HORA");
  win::AGREGARCOL(*OB, h, "Usuario", "USUARIO", "@X XXXX", {}, 0, false, 12);
  win::AGREGARCOL(*OB, h, "Operación", "", "@X XXXXXX", [h] {
    const std::string op = h->S("OPERACION");
    return lib::Value::chars(op == "A" ? "Alta" : op == "B" ? "Baja" : "Cambio");
  });
  win::AGREGARCOL(*OB, h, "Campo", "CAMPO", "@X XXXXXXXXXX", {}, 0, false, 24);
  win::AGREGARCOL(*OB, h, "Antes", "ANTES", wide);
  win::AGREGARCOL(*OB, h, "Después", "DESPUES", wide);
  win::AGREGARCOL(*OB, h, "Estación", "ESTACION", "@X " + std::string(30, 'X'));
}

// The record's history, not the business unit's: the scope is the table and the key.
void HIST_CAMBIOS::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  win::BrowMarksOptions options;
  options.searchDisabled = true;
  BROWMARKS(*OB, {}, 1, historyPrefix(*TABLA, table_, key_), options);
}

}  // namespace screens
