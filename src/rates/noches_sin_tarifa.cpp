#include "rates/noches_sin_tarifa.h"

#include <memory>

#include "lib/price_lookup.h"
#include "lib/program_time.h"
#include "lib/rate_calendar.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/wait.h"

namespace rates {

namespace {

constexpr int kFrom = 500, kTo = 501, kSummary = 510, kList = 801;

std::vector<std::string> codes(const std::string& table, const std::string& negocio) {
  std::vector<std::string> out;
  lib::EACH_RECORD(table, table, lib::businessKey(negocio), [&](const lib::WDBTable& t) { out.push_back(t.S("CODIGO")); });
  return out;
}

}  // namespace

std::vector<NocheSinTarifa> REVISA_NOCHES(const std::string& negocio, int32_t desde, int32_t hasta) {
  std::vector<NocheSinTarifa> found;
  const std::vector<std::string> types = codes("TIPO_ROM", negocio);
  for (const std::string& rack : codes("ENC_RACK", negocio)) {
    lib::C_PRECIO lookup(negocio, rack);
    for (const std::string& tipo : types)
      for (int32_t night = desde; night <= hasta; ++night) {
        const lib::PriceSet s = lookup.PRECIO_NOCHE(night, tipo, 1, 0);
        if (!s.found || s.grossAdult.isZero()) found.push_back({night, tipo, rack, "sin precio"});
        if (!lookup.POR_PERIODOS()) continue;
        std::vector<lib::PeriodoVigente> dated, yearly;
        for (const lib::PeriodoVigente& p : lookup.PERIODOS_VIGENTES(night, lib::kTarifaGeneral, tipo))
          (p.defecto ? yearly : dated).push_back(p);
        for (const auto* same : {&dated, &yearly})
          if (same->size() >= 2)
            found.push_back({night, tipo, rack, "periodos superpuestos: " + (*same)[0].descripcion + " y " +
                                                    (*same)[1].descripcion});
      }
  }
  return found;
}

void NOCHES_SIN_TARIFA(win::WDIAG* owner, const std::string& negocio) {
  win::DIALOG_BOX(
      "NOCHES_SIN_TARIFA", owner,
      {[&](win::ModalDialog& d) {
         const int32_t today = lib::XDATE();
         d.SetDlgItemText(kFrom, lib::FECHA_LARGA(today));
         d.SetDlgItemText(kTo, lib::FECHA_LARGA(today + 30));
         d.SetFocusTo(kFrom);
       },
       [&](win::ModalDialog& d) {
         const lib::TypedDate from = lib::readDate(d.GetDlgItemText(kFrom));
         const lib::TypedDate to = lib::readDate(d.GetDlgItemText(kTo));
         auto refuse = [&](const std::string& text, int focus) {
           screens::error(text);
           d.SetFocusTo(focus);
           return false;
         };
         if (from.unreadable || !from.julian) return refuse("Fecha inválida", kFrom);
         if (to.unreadable || !to.julian) return refuse("Fecha inválida", kTo);
         if (to.julian < from.julian) return refuse("La fecha final es anterior a la inicial", kTo);
         std::vector<NocheSinTarifa> nights;
         {
           win::WAIT wait(&d);
           wait.PUT_TEXT("Un momento por favor...", "Revisando Tarifas...");
           nights = REVISA_NOCHES(negocio, from.julian, to.julian);
           wait.TERMINAR();
         }
         win::CLISTBOX list(&d, kList);
         list.Clear();
         size_t missing = 0;
         for (const NocheSinTarifa& n : nights) {
           missing += n.problema == "sin precio";
           list.Add(lib::FECHA_LARGA(n.fecha) + "  " + lib::padded(n.tipoRom, 4) + "  " + lib::padded(n.rack, 4) + "  " +
                    n.problema);
         }
         d.SetDlgItemText(kSummary, std::to_string(missing) + " noches sin precio, " +
                                        std::to_string(nights.size() - missing) + " con periodos superpuestos");
         return false;  // the dialog stays for another range
       }});
}

}  // namespace rates
