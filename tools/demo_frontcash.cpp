#include "tools/demo_frontcash.h"

#include "tools/demo_data.h"
#include "tools/demo_folios.h"
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
  {
    // The night auditor's last shift; the front desk's and the prepayment register's month
    // is demo_folios.
    auto periods = openTable(home, "DET_HCAJ");
    periods->append();
    periods->putString("NEGOCIO", "01");
    periods->putString("CAJA", "02");
    periods->putDate("FECHA_INI", may(13));
    periods->putString("HORA_INI", "23:00:00");
    periods->putDate("FECHA_FIN", may(14));
    periods->putString("HORA_FIN", "06:30:00");
    periods->putString("AGENTE", "0001");
    periods->putString("H_LIMITE", "24:60:60");
    periods->putDate("LIMITE", limit);
    periods->putString("CTRL_USR", "ADM");
    periods->putString("CTRL_COMP", "RECEPCION1");
    periods->putString("CTRL_WIN_U", "recepcion");
    periods->putString("CTRL_HORA", "06:30:00");
    periods->putDate("CTRL_FECHA", may(14));
  }
  addFrontDeskMonth(home);
}

}  // namespace initdb
