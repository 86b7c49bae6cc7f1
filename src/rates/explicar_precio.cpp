#include "rates/explicar_precio.h"

#include "lib/price_lookup.h"
#include "lib/program_time.h"
#include "lib/rate_calendar.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace rates {

namespace {

constexpr int kRoom = 601, kAgency = 602, kRack = 603, kDate = 500, kAdults = 501, kChildren = 502;
constexpr int kPrice = 510, kOrigin = 511, kTrace = 801;

std::string amount(lib::Money m) {
  return m.text(2);
}

}  // namespace

void EXPLICAR_PRECIO(win::WDIAG* owner, const std::string& negocio, const std::string& rack) {
  win::DIALOG_BOX(
      "EXPLICA_PRECIO", owner,
      {[&](win::ModalDialog& d) {
         screens::LOAD_LISTA(d, {kRoom}, "TIPO_ROM", "TIPO_ROM", negocio);
         win::CCOMBOBOX(&d, kAgency).Add("Sin Agencia (Tarifa General)", 0, "");
         screens::LOAD_LISTA(d, {kAgency}, "AGENCIAS", "AGENCIAS", negocio);
         win::CCOMBOBOX(&d, kAgency).SeekCargo("");
         screens::LOAD_LISTA(d, {kRack}, "ENC_RACK", "ENC_RACK", negocio);
         if (!rack.empty()) {
           win::CCOMBOBOX racks(&d, kRack);
           screens::SEEK_CODIGO(racks, rack);
         }
         d.SetDlgItemText(kDate, lib::FECHA_LARGA(lib::XDATE()));
         d.SetDlgItemText(kAdults, "2");
         d.SetDlgItemText(kChildren, "0");
         d.SetFocusTo(kRoom);
       },
       [&](win::ModalDialog& d) {
         const std::string room = win::CCOMBOBOX(&d, kRoom).CurCargo();
         const std::string chosenRack = win::CCOMBOBOX(&d, kRack).CurCargo();
         const std::string agency = win::CCOMBOBOX(&d, kAgency).CurCargo();
         auto refuse = [&](const std::string& text, int focus) {
           screens::error(text);
           d.SetFocusTo(focus);
           return false;
         };
         if (room.empty()) return refuse("Debe seleccionar el Tipo de Room", kRoom);
         if (chosenRack.empty()) return refuse("Debe seleccionar el Tipo de Tarifa", kRack);
         const lib::TypedDate date = lib::readDate(d.GetDlgItemText(kDate));
         if (date.unreadable || !date.julian) return refuse("Fecha inválida", kDate);
         const int adults = std::max(0, lib::NUMERO_TEXTO(d.GetDlgItemText(kAdults)));
         const int children = std::max(0, lib::NUMERO_TEXTO(d.GetDlgItemText(kChildren)));
         lib::C_PRECIO lookup(negocio, chosenRack, agency);
         lib::PriceTrace trace;
         const lib::PriceSet s = lookup.PRECIO_NOCHE(date.julian, room, adults, children, {}, &trace);
         d.SetDlgItemText(kPrice, s.found ? "Adulto " + amount(s.grossAdult) + ", niño " + amount(s.grossChild) +
                                                ", total " + amount(s.netTotal)
                                          : "No hay precio para esta noche");
         d.SetDlgItemText(kOrigin, s.origen);
         win::CLISTBOX lines(&d, kTrace);
         lines.Clear();
         for (const std::string& line : trace.lines) lines.Add(line);
         return false;  // the dialog stays for another question
       }});
}

}  // namespace rates
