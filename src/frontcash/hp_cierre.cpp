#include "frontcash/hp_cierre.h"

#include "frontcash/closing_digest.h"
#include "frontcash/closing_report.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/print_document.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace frontcash {

namespace {

constexpr int kCurrency = 601;
constexpr int kDetail = 1001, kPos = 1002, kComposite = 1003, kSummary = 1004;

}  // namespace

std::string closingPdfName(const std::string& caja) {
  return "CIERRE_CAJA_" + lib::trim(caja) + ".PDF";
}

bool HP_CIERRE(win::WDIAG* owner, const std::string& negocio, const std::string& caja, const Period& start,
               const Period& end) {
  bool printed = false;
  std::string descrip, profile;
  lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", lib::businessKey(negocio) + lib::padded(caja, 2), [&](const lib::WDBTable& r) {
    descrip = r.S("DESCRIP");
    profile = r.S("PREDET_P");
  });
  win::DIALOG_BOX(
      "HP_CIERRE", owner,
      {[&](win::ModalDialog& d) {
         d.SetDlgItemText(500, caja);
         d.SetDlgItemText(501, descrip);
         d.SetDlgItemText(502, lib::DTOC(start.date));
         d.SetDlgItemText(503, start.time);
         d.SetDlgItemText(504, end.date ? lib::DTOC(end.date) : "");
         d.SetDlgItemText(505, end.time);
         win::CCOMBOBOX currencies(&d, kCurrency);
         lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(negocio),
                          [&](const lib::WDBTable& m) { currencies.Add(m.S("DESCRIP"), 0, m.S("CODIGO")); });
         currencies.Add("Ninguna", 0, "  ");
         currencies.SetCurItem(currencies.Count());
       },
       [&](win::ModalDialog& d) {
         ClosingOptions options;
         options.detalle = d.IsDlgButtonChecked(kDetail);
         options.pos = d.IsDlgButtonChecked(kPos);
         options.compuestas = d.IsDlgButtonChecked(kComposite);
         options.resumen = d.IsDlgButtonChecked(kSummary);
         options.moneda = lib::rtrim(win::CCOMBOBOX(&d, kCurrency).CurCargo());
         const ClosingData data = RECOGE_CIERRE(negocio, caja, start, end, options);
         screens::PRINT_DOC doc("Cierre de Caja", closingPdfName(caja));
         IMPRIME_CIERRE(data, options, doc);
         screens::PRINTER printer;
         if (!lib::trim(profile).empty()) screens::SET_PREDET_INFO(negocio, profile, printer);
         printed = doc.PRINT(printer.entry(), true, true);
         // A final closing keeps what it said; a reprint says whether its data changed since.
         if (printed && !data.preliminar &&
             REGISTRA_CIERRE(negocio, caja, start, end) == DigestCheck::Changed)
           screens::caution("Los datos de este cierre cambiaron después de imprimirse");
         return printed;  // a cancelled set-up keeps the window open
       }});
  return printed;
}

}  // namespace frontcash
