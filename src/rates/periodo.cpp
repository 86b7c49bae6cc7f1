#include "rates/periodo.h"

#include "lib/rate_calendar.h"
#include "lib/text.h"

namespace rates {

std::string Periodo::fechas() const {
  return lib::padded(iDia, 2) + lib::padded(iMes, 2) + lib::padded(iAnho, 4) + lib::padded(fDia, 2) +
         lib::padded(fMes, 2) + lib::padded(fAnho, 4);
}

std::string Periodo::codigo() const {
  return lib::padded(iAnho, 4) + lib::padded(iMes, 2) + lib::padded(iDia, 2) + lib::padded(fAnho, 4) +
         lib::padded(fMes, 2) + lib::padded(fDia, 2);
}

int32_t Periodo::inicio() const {
  return raDefecto == 1 ? 0 : lib::FECHA_TEXTOS(iDia, iMes, iAnho);
}

int32_t Periodo::fin() const {
  return raDefecto == 1 ? 0 : lib::FECHA_TEXTOS(fDia, fMes, fAnho);
}

Periodo PERIODO_DE(const lib::WDBTable& t) {
  return {t.S("I_DIA"), t.S("I_MES"), t.S("I_ANHO"), t.S("F_DIA"), t.S("F_MES"), t.S("F_ANHO"),
          int(t.N("RA_DEFECTO")), int(t.N("NIV_TARI")), t.S("DESCRIP"), t.S("COD_PROMO")};
}

void PON_FECHAS(lib::WDBTable& t, const Periodo& p) {
  t.FieldPut("I_DIA", lib::Value::chars(p.iDia));
  t.FieldPut("I_MES", lib::Value::chars(p.iMes));
  t.FieldPut("I_ANHO", lib::Value::chars(p.iAnho));
  t.FieldPut("F_DIA", lib::Value::chars(p.fDia));
  t.FieldPut("F_MES", lib::Value::chars(p.fMes));
  t.FieldPut("F_ANHO", lib::Value::chars(p.fAnho));
}

std::string FECHA_PERIODO(const std::string& d, const std::string& m, const std::string& y) {
  return lib::trim(y).empty() ? d + "/" + m : d + "/" + m + "/" + y;
}

}  // namespace rates
