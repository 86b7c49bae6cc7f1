#include "rates/desglose.h"

#include <map>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/componente.h"
#include "screens/messages.h"

namespace rates {

namespace {

constexpr const char* kNumber = "999.9999";

// The stored table and order of each kind of component.
const char* storedTable(bool fixed) { return fixed ? "DET_RAK2" : "DET_RACK"; }
const char* storedTag(bool fixed) { return fixed ? "DET_RAK23" : "DET_RACK3"; }

int gridId(bool fixed, int n) { return (fixed ? DESGLOSE::kFixedGrid : DESGLOSE::kPercentGrid) + n; }

}  // namespace

std::string lineaDesglose(int n) {
  return "0" + std::to_string(n + 1);
}

DESGLOSE::DESGLOSE(screens::SCREEN& screen, const std::string& negocio, const std::string& especial)
    : screen_(screen), negocio_(negocio), especial_(especial) {}

void DESGLOSE::BIND() {
  for (bool fixed : {false, true})
    for (int n = 0; n < 4; ++n) {
      Line& l = line(fixed, n);
      l.table = lib::USE(&screen_, fixed ? "T_DETRK2.DBF" : "T_DETRAK.DBF", fixed ? "T_DETRK2" : "T_DETRAK");
      const int id = gridId(fixed, n);
      l.grid = std::make_unique<win::WBLISTBOX>(&screen_, id, l.table.get(), screen_.DIALOG + "_" + std::to_string(id));
      screen_.ADD(l.grid.get());
      screen_.ADD_BUTTON(id * 10 + 1, [this, fixed, n] { AGREGAR(fixed, n); });
      screen_.ADD_BUTTON(id * 10 + 2, [this, fixed, n] { MODIFICAR(fixed, n); });
      screen_.ADD_BUTTON(id * 10 + 3, [this, fixed, n] { BORRAR(fixed, n); });
    }
}

void DESGLOSE::CONFIGURA() {
  auto names = std::make_shared<std::map<std::string, std::string>>();
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio_),
                   [&](const lib::WDBTable& t) { (*names)[lib::trim(t.S("CODIGO"))] = t.S("DESCRIP"); });
  for (bool fixed : {false, true})
    for (int n = 0; n < 4; ++n) {
      Line& l = line(fixed, n);
      win::WBLISTBOX& g = *l.grid;
      lib::WDBTable* t = l.table.get();
      auto description = [t, names] {
        auto it = names->find(lib::trim(t->S("COD_TRANS")));
        return lib::Value::chars(it == names->end() ? "" : it->second);
      };
      if (fixed)
        win::AGREGARCOL(g, t, "N R", "NO_RESTAR", "", [t] { return lib::Value::chars(t->N("NO_RESTAR") == 1 ? "Sí" : ""); },
                        0, true, 8);
      win::AGREGARCOL(g, t, "Código", "COD_TRANS", "!!!!", {}, 0, false, 12);
      win::AGREGARCOL(g, t, "Transacción", "COD_TRANS", std::string(fixed ? 12 : 22, 'X'), description, 0, true);
      if (fixed) {
        win::AGREGARCOL(g, t, "Valor", "VALOR", kNumber, {}, 2);
        win::AGREGARCOL(g, t, "% Ref", "IMPONIBLE", kNumber, {}, 2);
        win::AGREGARCOL(g, t, "M.Base", "MONTO_BASE", kNumber, {}, 2);
      } else {
        win::AGREGARCOL(g, t, "%", "PORCENTAJE", kNumber, {}, 2);
        win::AGREGARCOL(g, t, "% Ref", "IMPONIBLE", kNumber, {}, 2);
      }
      lib::SELECT(t->Area);
      g.useMaintenanceLook();
      win::BrowMarksOptions options;
      options.noRefresh = true;
      BROWMARKS(g, {{1, fixed ? "T_DETRK2" : "T_DETRAK"}}, 1, "", options);
      g.doubleclick = [this, fixed, n](win::WBLISTBOX& grid) {
        if (fixed && grid.DefinedColumn(grid.colPos) == 1)
          TOGGLE_NR(n);
        else
          MODIFICAR(fixed, n);
      };
    }
}

void DESGLOSE::CARGAR(const std::string& rack) {
  if (rack.empty()) return;
  for (bool fixed : {false, true}) {
    auto stored = lib::USE(nullptr, storedTable(fixed), storedTag(fixed));
    for (int n = 0; n < 4; ++n) {
      Line& l = line(fixed, n);
      stored->SetScope(stored->KeyPart("NEGOCIO", negocio_) + stored->KeyPart("RACK", rack) +
                       stored->KeyPart("ESPECIAL", especial_) + lineaDesglose(n));
      for (stored->GoTop(); !stored->Eof(); stored->Skip())
        lib::ADD(*l.table, [&] {
          l.table->FieldPut("NUM_REC", lib::Value::num(stored->RecNo()));
          l.table->FieldPut("COD_TRANS", lib::Value::chars(stored->S("COD_TRANS")));
          l.table->FieldPut("IMPONIBLE", stored->M("IMPONIBLE"));
          if (fixed) {
            l.table->FieldPut("VALOR", stored->M("VALOR"));
            l.table->FieldPut("NO_RESTAR", lib::Value::num(stored->N("NO_RESTAR")));
            l.table->FieldPut("MONTO_BASE", stored->M("MONTO_BASE"));
          } else {
            l.table->FieldPut("PORCENTAJE", stored->M("PORCENTAJE"));
          }
        });
      REFRESCA(l, 0);
    }
  }
}

void DESGLOSE::REFRESCA(Line& l, uint32_t recno) {
  l.grid->CountScope();
  if (recno) {
    l.table->GoTo(recno);
    l.grid->SHOWDATA();
  } else {
    l.grid->GOTOP();
  }
  l.grid->REFRESHALL();
}

bool DESGLOSE::COMPONENTE(bool fixed, int n, uint32_t recno) {
  lib::WDBTable& t = *line(fixed, n).table;
  return fixed ? E_RACK6(&screen_, negocio_, t, recno) : E_RACK2(&screen_, negocio_, t, recno);
}

void DESGLOSE::AGREGAR(bool fixed, int n) {
  CALL_LEVEL_AS(screen_.routine("AGREGAR"));
  Line& l = line(fixed, n);
  if (COMPONENTE(fixed, n, 0)) REFRESCA(l, l.table->RecNo());
}

void DESGLOSE::MODIFICAR(bool fixed, int n) {
  CALL_LEVEL_AS(screen_.routine("MODIFICAR"));
  Line& l = line(fixed, n);
  if (l.table->Eof() || l.table->Deleted()) return;
  const uint32_t recno = l.table->RecNo();
  if (COMPONENTE(fixed, n, recno)) REFRESCA(l, recno);
}

void DESGLOSE::BORRAR(bool fixed, int n) {
  Line& l = line(fixed, n);
  lib::WDBTable& t = *l.table;
  if (t.Eof() || t.Deleted()) return;
  if (const uint32_t stored = uint32_t(t.N("NUM_REC"))) l.removed.push_back(stored);
  lib::MODIFY(t, [&] { t.Delete(); });
  REFRESCA(l, 0);
}

void DESGLOSE::TOGGLE_NR(int n) {
  Line& l = line(true, n);
  lib::WDBTable& t = *l.table;
  if (t.Eof() || t.Deleted()) return;
  const uint32_t recno = t.RecNo();
  lib::MODIFY(t, [&] { t.FieldPut("NO_RESTAR", lib::Value::num(t.N("NO_RESTAR") == 1 ? 0 : 1)); });
  REFRESCA(l, recno);
}

void DESGLOSE::VACIA(Line& l) {
  lib::WDBTable& t = *l.table;
  for (t.GoTop(); !t.Eof(); t.Skip()) {
    if (const uint32_t stored = uint32_t(t.N("NUM_REC"))) l.removed.push_back(stored);
    lib::MODIFY(t, [&] { t.Delete(); });
  }
}

void DESGLOSE::PROPAGAR() {
  if (!screens::confirm("Desea propagar los datos de Adulto Regular a las demás ventanas?")) return;
  lib::WDBTable& source = *line(false, 0).table;
  const uint32_t back = source.RecNo();
  for (int n = 1; n < 4; ++n) {
    Line& l = line(false, n);
    VACIA(l);
    for (source.GoTop(); !source.Eof(); source.Skip())
      lib::ADD(*l.table, [&] {
        l.table->FieldPut("NUM_REC", lib::Value::num(0));
        l.table->FieldPut("COD_TRANS", lib::Value::chars(source.S("COD_TRANS")));
        l.table->FieldPut("PORCENTAJE", source.M("PORCENTAJE"));
        l.table->FieldPut("IMPONIBLE", source.M("IMPONIBLE"));
      });
    REFRESCA(l, 0);
  }
  source.GoTo(back);
}

void DESGLOSE::GRABAR(const std::string& rack) {
  GRABAR(rack, especial_);
}

void DESGLOSE::GRABAR(const std::string& rack, const std::string& especial) {
  especial_ = especial;
  for (bool fixed : {false, true}) {
    auto stored = lib::USE(nullptr, storedTable(fixed), storedTag(fixed));
    for (int n = 0; n < 4; ++n) {
      Line& l = line(fixed, n);
      for (uint32_t recno : l.removed) {
        stored->GoTo(recno);
        if (!stored->Eof() && !stored->Deleted()) lib::MODIFY(*stored, [&] { stored->Delete(); });
      }
      l.removed.clear();
      lib::WDBTable& t = *l.table;
      for (t.GoTop(); !t.Eof(); t.Skip()) {
        auto fill = [&] {
          stored->FieldPut("COD_TRANS", lib::Value::chars(t.S("COD_TRANS")));
          stored->FieldPut("IMPONIBLE", t.M("IMPONIBLE"));
          if (fixed) {
            stored->FieldPut("VALOR", t.M("VALOR"));
            stored->FieldPut("NO_RESTAR", lib::Value::num(t.N("NO_RESTAR")));
            stored->FieldPut("MONTO_BASE", t.M("MONTO_BASE"));
          } else {
            stored->FieldPut("PORCENTAJE", t.M("PORCENTAJE"));
          }
        };
        const uint32_t recno = uint32_t(t.N("NUM_REC"));
        if (recno) {
          stored->GoTo(recno);
          if (!stored->Eof() && !stored->Deleted()) lib::MODIFY(*stored, fill);
          continue;
        }
        lib::ADD(*stored, [&] {
          stored->FieldPut("NEGOCIO", lib::Value::chars(negocio_));
          stored->FieldPut("RACK", lib::Value::chars(rack));
          stored->FieldPut("ESPECIAL", lib::Value::chars(especial_));
          stored->FieldPut("CODIGO", lib::Value::chars(lineaDesglose(n)));
          fill();
        });
        const uint32_t added = stored->RecNo();
        lib::MODIFY(t, [&] { t.FieldPut("NUM_REC", lib::Value::num(added)); });
      }
    }
  }
}

void DESGLOSE::CERRAR() {
  for (bool fixed : {false, true})
    for (int n = 0; n < 4; ++n) {
      Line& l = line(fixed, n);
      if (l.grid) CLOSEBROWSE(*l.grid);
      lib::KILLTABLA(l.table);
    }
}

}  // namespace rates
