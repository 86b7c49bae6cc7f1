#include "tools/demo_frontcash.h"

#include "tools/demo_data.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"

namespace initdb {

namespace {

struct Register {
  const char *code, *description, *state;
  int closing, control, counts;
  const char* printer;
};

const Register kRegisters[] = {
    {"01", "Caja Recepción Principal", "A", 1, 0, 1, "01"},
    {"02", "Caja Auditor Nocturno", "C", 0, 0, 0, "01"},
    {"03", "Caja de Pre-Pagos", "C", 0, 1, 0, "04"},
};

struct Slot {
  const char *payment, *label, *kind;
};
const Slot kSlots[] = {{"EFE", "Efectivo", "01"}, {"TAR", "Tarjetas", "02"}, {"CXC", "Crédito", "03"}};

struct PeriodRow {
  const char* caja;
  int day;  // of May 2024
  const char *from, *to;
  int endDay;  // 0: still open
};
const PeriodRow kPeriods[] = {
    {"01", 11, "06:58:12", "15:02:40", 11}, {"01", 12, "07:01:05", "15:05:11", 12},
    {"01", 13, "06:55:30", "14:59:58", 13}, {"01", 14, "07:00:02", "", 0},
    {"02", 13, "23:00:00", "06:30:00", 14}, {"03", 13, "08:00:00", "17:00:00", 13},
};

int32_t may(int day) {
  return xbase::julianFromYmd(2024, 5, day);
}

}  // namespace

void addFrontCashDemo(const std::string& home) {
  const int32_t limit = xbase::julianFromYmd(2090, 1, 1);
  {
    auto t = openTable(home, "ENC_HCAJ");
    for (const Register& r : kRegisters) {
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", r.code);
      t->putString("DESCRIP", r.description);
      t->putString("PASSWORD", "CAJA" + std::string(r.code));
      t->putString("ESTADO", r.state);
      t->putNumber("TIP_CIERRE", r.closing);
      t->putNumber("T_CONTROL", r.control);
      t->putNumber("ARQUEO_AD", r.counts);
      t->putString("PREDET_P", r.printer);
      for (int n = 0; n < 3; ++n) {
        const std::string slot = std::to_string(n + 1);
        t->putString("PAGO_" + slot, kSlots[n].payment);
        t->putString("ROTULO_" + slot, kSlots[n].label);
        t->putString("VENTANA_" + slot, kSlots[n].kind);
      }
    }
  }
  {
    auto t = openTable(home, "DIGITA");
    const struct {
      const char *code, *name, *password;
      int closes;
    } operators[] = {{"0001", "Ana Solís", "ANA", 1}, {"0002", "Luis Mora", "LUIS", 0}};
    for (const auto& o : operators) {
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", o.code);
      t->putString("NOMBRE", o.name);
      t->putString("CLAVE", o.password);
      t->putNumber("CIERRE", o.closes);
    }
  }
  {
    auto t = openTable(home, "STAT_COC");
    for (auto [code, description] : {std::pair{"CO1", "Cocina Principal"}, {"BAR", "Bar de la Piscina"}}) {
      t->append();
      t->putString("NEGOCIO", "01");
      t->putString("CODIGO", code);
      t->putString("DESCRIP", description);
    }
  }
  auto periods = openTable(home, "DET_HCAJ");
  auto balances = openTable(home, "DET_HCA2");
  for (const PeriodRow& p : kPeriods) {
    periods->append();
    periods->putString("NEGOCIO", "01");
    periods->putString("CAJA", p.caja);
    periods->putDate("FECHA_INI", may(p.day));
    periods->putString("HORA_INI", p.from);
    periods->putString("AGENTE", "0001");
    periods->putString("H_LIMITE", "24:60:60");
    periods->putDate("LIMITE", limit);
    if (p.endDay == 0) continue;
    periods->putDate("FECHA_FIN", may(p.endDay));
    periods->putString("HORA_FIN", p.to);
    periods->putString("CTRL_USR", "ADM");
    periods->putString("CTRL_COMP", "RECEPCION1");
    periods->putString("CTRL_WIN_U", "recepcion");
    periods->putString("CTRL_HORA", p.to);
    periods->putDate("CTRL_FECHA", may(p.endDay));
    if (std::string(p.caja) != "01") continue;
    // The front desk closes with a count: what it held in each currency.
    for (auto [currency, amount] : {std::pair{"01", 150000.0}, {"02", 320.0}, {"03", 0.0}}) {
      balances->append();
      balances->putString("NEGOCIO", "01");
      balances->putString("CAJA", p.caja);
      balances->putString("MONEDA", currency);
      balances->putNumber("MONTO", amount + p.day);
      balances->putDate("FECHA_INI", may(p.day));
      balances->putString("HORA_INI", p.from);
      balances->putDate("FECHA_FIN", may(p.endDay));
      balances->putString("HORA_FIN", p.to);
      balances->putString("H_LIMITE", "24:60:60");
      balances->putDate("LIMITE", limit);
    }
  }
}

}  // namespace initdb
