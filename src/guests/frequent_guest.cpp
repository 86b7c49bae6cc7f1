#include "guests/frequent_guest.h"

#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/dialog_box.h"

namespace guests {

namespace {

using lib::Value;

constexpr int kGuest = 801, kNumber = 501, kActiveOrKeep = 1001;

// The frequent-guest series of the business unit ("" when none is set).
std::string frequentSeries(const std::string& negocio) {
  std::string series;
  lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio),
                   [&](const lib::WDBTable& h) { series = lib::trim(h.S("SER_FREC")); });
  return series;
}

// Another guest of the business unit with that number.
bool numberTaken(const lib::WDBTable& guest, const std::string& negocio, const std::string& number) {
  bool taken = false;
  lib::EACH_RECORD("H_HUES", "H_HUES14", lib::businessKey(negocio) + guest.KeyPart("CLIENTE_F", number),
                   [&](const lib::WDBTable& h) { taken = taken || h.RecNo() != guest.RecNo(); });
  return taken;
}

}  // namespace

bool E_HUESP2(win::WDIAG* owner, lib::WDBTable& guest, const std::string& negocio) {
  const std::string series = frequentSeries(negocio);
  std::string proposed = lib::trim(guest.S("CLIENTE_F"));
  bool fromSeries = false;
  if (proposed.empty() && !series.empty()) {
    const std::string next = lib::trim(lib::GET_CURRENTSERIAL(nullptr, negocio, series));
    if (next != lib::trim(lib::kNoSerial)) {
      proposed = next;
      fromSeries = true;
    }
  }
  std::string number;
  bool active = true;
  const int answer = win::DIALOG_BOX(
      "E_HUESP2", owner,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(kGuest, lib::trim(guest.S("NOMBRE_C")) + "  (" + lib::trim(guest.S("CEDULA")) + ")");
         d.SetDlgItemText(kNumber, proposed);
         d.CheckDlgButton(kActiveOrKeep, true);
         d.SetFocusTo(kNumber);
       },
       [&](win::ModalDialog& d) {
         number = lib::trim(d.GetDlgItemText(kNumber));
         if (number.empty()) {
           screens::error("Debe indicar el número de cliente frecuente");
           d.SetFocusTo(kNumber);
           return false;
         }
         if (fromSeries && number == proposed) {
           // Taken now: another workstation may have drawn the proposal meanwhile.
           number = lib::trim(lib::GET_NXSERIAL(nullptr, negocio, series));
         }
         if (numberTaken(guest, negocio, number)) {
           screens::error("El número de cliente frecuente " + number + " ya pertenece a otro huésped");
           d.SetFocusTo(kNumber);
           return false;
         }
         active = d.IsDlgButtonChecked(kActiveOrKeep);
         return true;
       }});
  if (answer != win::IDOK) return false;
  lib::MODIFY(guest, [&] {
    screens::CON_HISTORIAL(guest, [&] {
      guest.FieldPut("CLIEN_FREC", Value::num(1));
      guest.FieldPut("STAT_FREC", Value::num(active ? 0 : 1));
      guest.FieldPut("CLIENTE_F", Value::chars(number));
    });
  });
  return true;
}

bool E_HUESP3(win::WDIAG* owner, lib::WDBTable& guest) {
  bool keep = false;
  const int answer = win::DIALOG_BOX(
      "E_HUESP3", owner,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(kGuest, lib::trim(guest.S("NOMBRE_C")) + "  (" + lib::trim(guest.S("CEDULA")) + ")");
         d.SetDlgItemText(kNumber, lib::trim(guest.S("CLIENTE_F")));
         d.CheckDlgButton(kActiveOrKeep, false);
       },
       [&](win::ModalDialog& d) {
         keep = d.IsDlgButtonChecked(kActiveOrKeep);
         return true;
       }});
  if (answer != win::IDOK) return false;
  lib::MODIFY(guest, [&] {
    screens::CON_HISTORIAL(guest, [&] {
      guest.FieldPut("CLIEN_FREC", Value::num(0));
      guest.FieldPut("STAT_FREC", Value::num(0));
      if (!keep) guest.FieldPut("CLIENTE_F", Value::chars(""));
    });
  });
  return true;
}

}  // namespace guests
