// The database-wide settings kept in the first record of a parameter table (F_SYS, DEFMAIL),
// each edited in a modal dialog whose controls are bound to the record's fields (FORM).
// "Aceptar" checks what the dialog adds, writes the record under its lock (creating it when
// the table has none, and recording the change in the history), then reads the settings into
// the process-wide state again, so that what follows in this session uses them.
#pragma once

#include <functional>
#include <string>

#include "screens/form.h"
#include "win/dialog_box.h"

namespace app {

struct SettingsDialog {
  std::string table, dialog;
  // The controls bound to the record (`record` on it), and the lists filled.
  std::function<void(screens::FORM& form, lib::WDBTable* record, win::ModalDialog& d)> bind;
  // Further checks before saving: false keeps the dialog open (the user told why).
  std::function<bool(const screens::FORM& form, win::ModalDialog& d)> valid = {};
  // Buttons besides Aceptar and Cancelar.
  std::function<bool(const screens::FORM& form, win::ModalDialog& d, int id)> command = {};
  // Reads the saved settings into the process-wide state.
  std::function<void()> reload;
};

// True when the user saved.
bool EDITA_PARAMETROS(const SettingsDialog& settings);

// "Fuente Despliegue de Datos" (SYS_FONT) and "Parámetros Manipulación DB" (SYS_DB), the
// main window's own dialogs on F_SYS; "Parámetros Globales" of E-Mails (F_MAIL) on DEFMAIL,
// with "Probar", which sends a test message with what the dialog shows and reports the
// server's reply.
void DEF_SYSFONT();
void DEF_SYSDB();
void EMAIL6();

void registerSettingsDialogs();

}  // namespace app
