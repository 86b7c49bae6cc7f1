#include "rooms/act_stip.h"

#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/availability_screens.h"
#include "win/controls.h"
#include "win/message_box.h"
#include "xbase/date.h"

namespace rooms {

namespace {

constexpr int kFrom = 501, kTo = 502, kClass = 601, kTypes = 901, kAll = 201, kClear = 202;

void selectAll(win::WDIAG& screen, bool selected) {
  win::CLISTBOX types(&screen, kTypes);
  for (int i = 1; i <= types.Count(); ++i) types.SetSel(i, selected);
}

}  // namespace

void ACT_STIP::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  ADD(std::make_unique<win::WEDIT>(this, kFrom));
  ADD(std::make_unique<win::WEDIT>(this, kTo));
  ADD(std::make_unique<win::CCOMBOBOX>(this, kClass));
  ADD(std::make_unique<win::CLISTBOX>(this, kTypes));
  ADD(std::make_unique<win::WPUSHBUTTON>(this, kAll), [](win::WDIAG& d, win::WCONTROL&, int) {
    selectAll(d, true);
    return 1;
  });
  ADD(std::make_unique<win::WPUSHBUTTON>(this, kClear), [](win::WDIAG& d, win::WCONTROL&, int) {
    selectAll(d, false);
    return 1;
  });
  ADD_BUTTON(win::IDOK, [this] { PROCESAR(); });
  CREATE(DIALOG);
  const std::string today = lib::DTOC(lib::XDATE());
  SetDlgItemText(kFrom, today);
  SetDlgItemText(kTo, today);
  L_CLASES();
  L_TIPOS();
  selectAll(*this, true);
  SetFocusTo(kFrom);
}

void ACT_STIP::L_CLASES() {
  win::CCOMBOBOX classes(this, kClass);
  classes.Clear();
  lib::EACH_RECORD("CLAS_ROM", "CLAS_ROM", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& t) {
    classes.Add(t.S("CODIGO") + " - " + t.S("DESCRIP"), 0, t.S("CODIGO"));
  });
}

void ACT_STIP::L_TIPOS() {
  win::CLISTBOX types(this, kTypes);
  types.Clear();
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(NEGOCIO),
                   [&](const lib::WDBTable& t) { types.Add(t.S("CODIGO") + " - " + t.S("DESCRIP"), t.S("CODIGO")); });
}

void ACT_STIP::PROCESAR() {
  CALL_LEVEL();
  const int32_t from = dateOfEdit(*this, kFrom), to = dateOfEdit(*this, kTo);
  auto year = [](int32_t d) { return xbase::ymdFromJulian(d).year; };
  // An end before the start would flag nothing and still report success.
  if (year(from) < 1990 || year(to) < 1990 || from > to) {
    win::MESSAGE_BOX(this, "Rango de Fechas inválido", "Error", 16);
    SetFocusTo(kFrom);
    return;
  }
  const std::string clase = win::CCOMBOBOX(this, kClass).CurCargo();
  if (clase.empty()) {
    win::MESSAGE_BOX(this, "Debe seleccionar una Clase válida", "Error", 16);
    SetFocusTo(kClass);
    return;
  }
  win::CLISTBOX types(this, kTypes);
  const std::vector<int> marked = types.Selected();
  if (marked.empty()) {
    win::MESSAGE_BOX(this, "Debe marcar algún Tipo de Habitación", "Error", 16);
    SetFocusTo(kTypes);
    return;
  }
  flagged = 0;
  auto st = lib::USE(this, "STAT_TIP", "STAT_TIP");
  for (int item : marked) {
    const std::string tipo = types.ItemCargo(item);
    for (int32_t d = from; d <= to; ++d) {
      if (!st->Seek(statTipKey(NEGOCIO, tipo, d, clase))) continue;
      lib::MODIFY(*st, [&] { st->FieldPut("ALTERA_1", lib::Value::num(1)); });
      ++flagged;
    }
  }
  lib::KILLTABLA(st);
  win::MESSAGE_BOX(this,
                   "Concluido: " + lib::TRANSFORM_NUMBER(double(flagged), "999,999,999") + " registrados afectados",
                   "Confirmación", 64);
}

}  // namespace rooms
