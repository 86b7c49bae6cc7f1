#include "frontcash/closing_digest.h"

#include <QByteArray>
#include <QCryptographicHash>

#include "frontcash/closing_report.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/print_document.h"
#include "xbase/date.h"

namespace frontcash {

ClosingDigest DIGEST_CIERRE(const std::string& negocio, const std::string& caja, const Period& start, const Period& end) {
  ClosingOptions canonical;
  canonical.detalle = true;
  canonical.resumen = true;
  const ClosingData data = RECOGE_CIERRE(negocio, caja, start, end, canonical);
  screens::PRINT_DOC doc("Cierre de Caja", "");
  IMPRIME_CIERRE(data, canonical, doc);
  const std::string text = doc.text();
  ClosingDigest d;
  d.digest = QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256).toHex().toStdString();
  const ClosingTotals totals = TOTALIZA_CIERRE(data);
  for (const auto& [currency, amount] : totals.grand.entries())
    d.totales += (d.totales.empty() ? "" : ";") + lib::rtrim(currency) + "=" + amount.text(2);
  return d;
}

DigestCheck REGISTRA_CIERRE(const std::string& negocio, const std::string& caja, const Period& start,
                            const Period& end) {
  const ClosingDigest now = DIGEST_CIERRE(negocio, caja, start, end);
  auto t = lib::USE(nullptr, "HCAJ_DIG", "HCAJ_DIG");
  const std::string key =
      lib::businessKey(negocio) + lib::padded(caja, 2) + xbase::dtos(start.date) + lib::padded(start.time, 8);
  DigestCheck result = DigestCheck::Recorded;
  if (t->Seek(key)) {
    result = lib::trim(t->S("DIGEST")) == now.digest ? DigestCheck::Unchanged : DigestCheck::Changed;
  } else {
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", lib::Value::chars(negocio));
      t->FieldPut("CAJA", lib::Value::chars(caja));
      t->FieldPut("FECHA_INI", lib::Value::date(start.date));
      t->FieldPut("HORA_INI", lib::Value::chars(start.time));
      t->FieldPut("FECHA_FIN", lib::Value::date(end.date));
      t->FieldPut("HORA_FIN", lib::Value::chars(end.time));
      t->FieldPut("TOTALES", lib::Value::chars(now.totales.substr(0, 200)));
      t->FieldPut("DIGEST", lib::Value::chars(now.digest));
      t->FieldPut("F_IMPRESO", lib::Value::date(lib::XDATE()));
      t->FieldPut("H_IMPRESO", lib::Value::chars(lib::XTIME()));
      t->FieldPut("USUARIO", lib::Value::chars(lib::G().XUSER_ABREVIA));
    });
  }
  lib::KILLTABLA(t);
  return result;
}

}  // namespace frontcash
