#include "currencies/check_cambio.h"

#include "lib/calendar.h"
#include "lib/exchange_rates.h"
#include "lib/messages.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/message_box.h"

namespace currencies {

int32_t OBT_DIA_F(int32_t today, int checkMon, int cantidad) {
  return checkMon == 1 ? today - cantidad : lib::GOMONTH(today, -cantidad);
}

std::string CAMBIOS_VENCIDOS(const std::string& negocio) {
  auto business = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  if (!business->HasField("CHECK_MON") || !business->Seek(business->KeyPart("CODIGO", negocio))) return "";
  const int cantidad = int(business->N("CANT_MON"));
  if (cantidad <= 0) return "";
  const int32_t today = lib::XDATE();
  const int32_t threshold = OBT_DIA_F(today, int(business->N("CHECK_MON")), cantidad);
  const std::string accounting = business->S("MONEDA_CON");
  lib::KILLTABLA(business);

  auto currencies = lib::USE(nullptr, "MONEDAS", "MONEDAS");
  std::string accountingName;
  if (currencies->Seek(lib::businessKey(negocio) + lib::padded(accounting, 2)))
    accountingName = lib::trim(currencies->S("DESCRIP"));
  auto rates = lib::USE(nullptr, "T_CAMBIO", "T_CAMB3");
  std::string text = " ";
  currencies->SetScope(lib::businessKey(negocio));
  for (currencies->GoTop(); !currencies->Eof(); currencies->Skip()) {
    const int32_t fecha = lib::CFECHA_ACT(negocio, *rates, accounting, currencies->S("CODIGO"));
    if (fecha == 0 || (fecha < threshold && fecha <= today))
      text += "Debe actualizar la definición de tipos de cambio de " + lib::trim(currencies->S("DESCRIP")) + " a " +
              accountingName + "\r";
  }
  return text.size() > 1 ? text : "";
}

void CHECK_CAMBIO(const std::string& negocio) {
  const std::string text = CAMBIOS_VENCIDOS(negocio);
  if (!text.empty()) win::MESSAGE_BOX(nullptr, text, "Atención", lib::MB_OK | lib::MB_ICONSTOP);
}

}  // namespace currencies
