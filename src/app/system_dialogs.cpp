#include "app/system_dialogs.h"

#include "app/screens.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace app {

namespace {

// The record the settings live in: the first one, added when the table has none.
void firstRecord(lib::WDBTable& t) {
  t.GoTop();
  if (t.Eof()) lib::ADD(t, [] {});
}

}  // namespace

bool EDITA_PARAMETROS(const SettingsDialog& s) {
  auto record = lib::USE(nullptr, s.table);
  std::unique_ptr<screens::FORM> form;
  const int code = win::DIALOG_BOX(s.dialog, nullptr,
                                   {[&](win::ModalDialog& d) {
                                      form = std::make_unique<screens::FORM>(d);
                                      s.bind(*form, record.get(), d);
                                      record->GoTop();
                                      if (record->Eof())
                                        form->CLEAR();
                                      else
                                        form->LOAD();
                                      form->FILTROS();
                                    },
                                    [&](win::ModalDialog& d) {
                                      if (!form->VALID() || (s.valid && !s.valid(*form, d))) return false;
                                      firstRecord(*record);
                                      lib::MODIFY(*record, [&] { form->SAVE(record.get()); });
                                      return true;
                                    },
                                    [&](win::ModalDialog& d, int id, int notification) {
                                      return notification == 0 && s.command && s.command(*form, d, id);
                                    }});
  lib::KILLTABLA(record);
  if (code != win::IDOK) return false;
  if (s.reload) s.reload();
  return true;
}

void registerSettingsDialogs() {
  registerScreen("DEF_SYSFONT", [](const ScreenRequest&) { DEF_SYSFONT(); });
  registerScreen("DEF_SYSDB", [](const ScreenRequest&) { DEF_SYSDB(); });
  registerScreen("EMAIL6", [](const ScreenRequest&) { EMAIL6(); });
}

}  // namespace app
