#include "rates/niveles.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "lib/call_stack.h"
#include "lib/errors.h"
#include "lib/rate_levels.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"

namespace rates {

namespace {

using lib::Value;

struct Nivel {
  std::string codigo;
  Value ocup1, ocup2, minNight, minAdult;
};

// The period's prices for 1 to 10 adults, then 1 to 10 children (zeros without a record).
using Precios = std::array<Value, 20>;

std::vector<std::string> roomTypes(const std::string& negocio) {
  std::vector<std::string> types;
  lib::EACH_RECORD("TIPO_ROM", "TIPO_ROM", lib::businessKey(negocio),
                   [&](const lib::WDBTable& t) { types.push_back(t.S("CODIGO")); });
  return types;
}

std::vector<Nivel> levels(const std::string& negocio) {
  std::vector<Nivel> found;
  lib::EACH_RECORD("ENC_NIV", "ENC_NIV", lib::businessKey(negocio), [&](const lib::WDBTable& t) {
    found.push_back({t.S("CODIGO"), t.FieldGet("P_OCUP1"), t.FieldGet("P_OCUP2"), t.FieldGet("MIN_NIGHT"),
                     t.FieldGet("MIN_ADULT")});
  });
  return found;
}

std::optional<Precios> periodPrices(lib::WDBTable& prices, const std::string& negocio, const PeriodoNivel& p,
                                    const std::string& tipoRom) {
  const std::string key = lib::businessKey(negocio) + prices.KeyPart("AGENCIA", p.agencia) +
                          prices.KeyPart("RACK", p.rack) + prices.KeyPart("T_ROOM", tipoRom) + "1" +
                          prices.KeyPart("I_DIA", p.iDia) + prices.KeyPart("I_MES", p.iMes) +
                          prices.KeyPart("I_ANHO", p.iAnho) + prices.KeyPart("F_DIA", p.fDia) +
                          prices.KeyPart("F_MES", p.fMes) + prices.KeyPart("F_ANHO", p.fAnho);
  if (!prices.Seek(key)) return std::nullopt;
  Precios out;
  for (int n = 1; n <= 10; ++n) {
    out[size_t(n - 1)] = prices.FieldGet("ADULT_" + std::to_string(n));
    out[size_t(n + 9)] = prices.FieldGet("NINHO_" + std::to_string(n));
  }
  return out;
}

void putPrices(lib::WDBTable& row, const std::optional<Precios>& prices) {
  for (int n = 1; n <= 10; ++n) {
    row.FieldPut(lib::COLUMNA_NIVEL(false, n), prices ? (*prices)[size_t(n - 1)] : Value::num(0));
    row.FieldPut(lib::COLUMNA_NIVEL(true, n), prices ? (*prices)[size_t(n + 9)] : Value::num(0));
  }
}

}  // namespace

size_t LIBERA_NIVELES(const std::string& negocio, const std::string& agencia, const std::string& rack,
                      const std::string& tipoRom, int32_t desde, int32_t hasta) {
  CALL_LEVEL_AS("LIBERA_NIVELES");
  if (!desde || !hasta) return 0;
  auto t = lib::USE(nullptr, "NIV_TARI", "NIV_TARI11");
  size_t released = 0;
  for (int32_t d = desde; d <= hasta; ++d) {
    t->SetScope(lib::CLAVE_NIVEL(negocio, agencia, tipoRom, rack, d));
    uint32_t last = 0;
    // Each released row leaves the scope, so the first row of the scope is always the next.
    for (t->GoTop(); !t->Eof(); t->GoTop()) {
      if (t->RecNo() == last)
        throw lib::RuntimeError(xbase::EG_WRITE, xbase::SC_VALUE, "no se pudo liberar la fila de nivel", "NIV_TARI");
      last = t->RecNo();
      lib::MODIFY(*t, [&] { t->FieldPut("NEGOCIO", Value::chars(lib::kNivelLiberado)); });
      ++released;
    }
  }
  lib::KILLTABLA(t);
  return released;
}

void NIVELES_PERIODO(const std::string& negocio, bool analisis, const PeriodoNivel& periodo, int32_t inicio,
                     int32_t fin, int32_t inicio0, int32_t fin0, const std::function<void(int32_t)>& progress) {
  CALL_LEVEL_AS("NIVELES_PERIODO");
  if (!analisis || !inicio || !fin || fin < inicio) return;
  if (!inicio0) inicio0 = inicio;
  if (!fin0) fin0 = fin;
  const std::vector<std::string> types = roomTypes(negocio);
  if (inicio0 < inicio)
    for (const std::string& tipo : types) LIBERA_NIVELES(negocio, periodo.agencia, periodo.rack, tipo, inicio0, inicio - 1);
  if (fin0 > fin)
    for (const std::string& tipo : types) LIBERA_NIVELES(negocio, periodo.agencia, periodo.rack, tipo, fin + 1, fin0);

  const std::vector<Nivel> niveles = levels(negocio);
  if (niveles.empty()) return;
  std::vector<std::optional<Precios>> prices;
  {
    auto p = lib::USE(nullptr, "TIP_PREC", "TIP_PREC6");
    for (const std::string& tipo : types) prices.push_back(periodPrices(*p, negocio, periodo, tipo));
    lib::KILLTABLA(p);
  }
  auto rows = lib::USE(nullptr, "NIV_TARI", "NIV_TARI11");
  auto spare = lib::USE(nullptr, "NIV_TARI", "NIV_TARI11");
  const std::string released = lib::kNivelLiberado;

  auto writeWhole = [&](lib::WDBTable& row, int32_t fecha, const std::string& tipo, size_t level, size_t type) {
    const Nivel& n = niveles[level];
    row.FieldPut("NEGOCIO", Value::chars(negocio));
    row.FieldPut("TIP_PREC", Value::chars(lib::kNivelDePeriodo));
    row.FieldPut("AGENCIA", Value::chars(periodo.agencia));
    row.FieldPut("COD_RACK", Value::chars(periodo.rack));
    row.FieldPut("TIPO_ROM", Value::chars(tipo));
    row.FieldPut("FECHA", Value::date(fecha));
    row.FieldPut("COD_NIVEL", Value::chars(n.codigo));
    row.FieldPut("MARCADO", Value::num(level + 1 == niveles.size() ? 1 : 0));
    row.FieldPut("P_OCUP1", n.ocup1);
    row.FieldPut("P_OCUP2", n.ocup2);
    row.FieldPut("MIN_NIGHT", n.minNight);
    row.FieldPut("MIN_ADULT", n.minAdult);
    putPrices(row, prices[type]);
  };

  int dates = 0;
  for (int32_t fecha = inicio; fecha <= fin; ++fecha) {
    if (progress && dates++ % 20 == 0) progress(fecha);
    for (size_t type = 0; type < types.size(); ++type) {
      const std::string& tipo = types[type];
      const std::string dateKey = lib::CLAVE_NIVEL(negocio, periodo.agencia, tipo, periodo.rack, fecha);
      for (size_t level = 0; level < niveles.size(); ++level) {
        if (rows->Seek(dateKey + lib::padded(niveles[level].codigo, 4))) {
          lib::MODIFY(*rows, [&] {
            rows->FieldPut("TIP_PREC", Value::chars(lib::kNivelDePeriodo));
            if (prices[type]) putPrices(*rows, prices[type]);
          });
          continue;
        }
        // A released row first; another workstation may take the same one meanwhile, and
        // then the next one is tried.
        bool written = false;
        while (!written && spare->Seek(released)) {
          lib::MODIFY(*spare, [&] {
            if (lib::padded(spare->S("NEGOCIO"), 15) != released) return;
            writeWhole(*spare, fecha, tipo, level, type);
            written = true;
          });
        }
        if (!written) lib::ADD(*rows, [&] { writeWhole(*rows, fecha, tipo, level, type); });
      }
    }
  }
  lib::KILLTABLA(spare);
  lib::KILLTABLA(rows);
}

}  // namespace rates
