#include "tools/demo_agencies.h"

#include <string>
#include <vector>

#include "tools/demo_data.h"
#include "xbase/dbf_table.h"

namespace initdb {

namespace {

using xbase::DbfTable;

std::string pad(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

struct Agency {
  const char *code, *type, *segment, *detail, *classification, *country;
  int currencyRule;  // TIPO_MON
  double lodging;    // A_COMIS
};

// The agencies of both business units: direct, wholesalers with allotments, a corporate
// account and online agencies.
const Agency kAgencies[] = {
    {"DIRECTO", "DIR", "VAC", "IND", "DIRECTO", "CR", 0, 0},
    {"EXPEDIA", "OTA", "VAC", "IND", "INTERNET", "USA", 1, 18},
    {"BOOKING", "OTA", "VAC", "IND", "INTERNET", "ESP", 1, 15},
    {"TRAVELNET", "MAY", "VAC", "GRP", "AGENCIAS", "CR", 1, 20},
    {"VIAJESOL", "MAY", "VAC", "GRP", "AGENCIAS", "CR", 1, 22},
    {"TURISOL", "MAY", "VAC", "GRP", "AGENCIAS", "CAN", 1, 20},
    {"CORPTEC", "COR", "NEG", "COR", "CORPORATIVO", "CR", 0, 10},
};

void addRows(const std::string& home, const char* table, const std::vector<std::vector<std::pair<const char*, std::string>>>& rows) {
  auto t = openTable(home, table);
  for (const auto& row : rows) {
    t->append();
    for (const auto& [field, value] : row) t->putString(field, value);
  }
}

}  // namespace

void addAgencyDemo(const std::string& home) {
  for (const std::string business : {"01", "02"}) {
    {
      auto t = openTable(home, "TIPO_AGE");
      struct {
        const char *code, *descrip;
        int rule;
        const char *master, *extra;
      } const types[] = {{"DIR", "Directo", 0, "", ""},
                         {"MAY", "Mayorista", 1, "02", "01"},
                         {"COR", "Corporativo", 0, "", ""},
                         {"OTA", "Agencia en Línea", 1, "02", "02"}};
      for (const auto& y : types) {
        t->append();
        t->putString("NEGOCIO", business);
        t->putString("CODIGO", y.code);
        t->putString("DESCRIP", y.descrip);
        t->putNumber("TIPO_MON", y.rule);
        t->putString("MON_MASTER", y.master);
        t->putString("MON_EXTRA", y.extra);
      }
    }
    addRows(home, "CLAS_AGE",
            {{{"NEGOCIO", business}, {"CODIGO", "AGENCIAS"}, {"DESCRIP", "Agencias de Viajes"}},
             {{"NEGOCIO", business}, {"CODIGO", "CORPORATIVO"}, {"DESCRIP", "Cuentas Corporativas"}},
             {{"NEGOCIO", business}, {"CODIGO", "INTERNET"}, {"DESCRIP", "Agencias en Línea"}},
             {{"NEGOCIO", business}, {"CODIGO", "DIRECTO"}, {"DESCRIP", "Venta Directa"}}});
    {
      auto seg = openTable(home, "ENC_SEG");
      auto det = openTable(home, "DET_SEG");
      struct {
        int set;
        const char *code, *descrip;
        std::vector<std::pair<const char*, const char*>> details;
      } const segments[] = {{0, "VAC", "Vacacional", {{"IND", "Individual"}, {"GRP", "Grupos"}}},
                            {0, "NEG", "Negocios", {{"COR", "Corporativo"}, {"CON", "Congresos"}}},
                            {1, "NAC", "Mercado Nacional", {{"GAM", "Gran Área Metropolitana"}, {"RUR", "Rural"}}},
                            {1, "INT", "Mercado Internacional", {{"NAM", "Norteamérica"}, {"EUR", "Europa"}}}};
      for (const auto& s : segments) {
        seg->append();
        seg->putString("NEGOCIO", business);
        seg->putNumber("CONJUNTO", s.set);
        seg->putString("CODIGO", s.code);
        seg->putString("DESCRIP", s.descrip);
        for (const auto& [code, descrip] : s.details) {
          det->append();
          det->putString("NEGOCIO", business);
          det->putNumber("CONJUNTO", s.set);
          det->putString("ENC_CODIGO", s.code);
          det->putString("CODIGO", code);
          det->putString("DESCRIP", descrip);
        }
      }
    }
    auto agencies = openTable(home, "AGENCIAS");
    agencies->setOrder("AGENCIAS");
    auto sellers = openTable(home, "AGE_VEND");
    bool wholesaler = false;
    for (const Agency& a : kAgencies) {
      if (!agencies->seek(business + pad(a.code, 15))) continue;
      wholesaler = wholesaler || std::string(a.code) == "VIAJESOL";
      agencies->putString("TIPO", a.type);
      agencies->putString("E_SEGMENTO", a.segment);
      agencies->putString("D_SEGMENTO", a.detail);
      agencies->putString("E_SEG2", std::string(a.country) == "CR" ? "NAC" : "INT");
      agencies->putString("D_SEG2", std::string(a.country) == "CR" ? "GAM" : "NAM");
      agencies->putString("CLASIFICA", a.classification);
      agencies->putString("PAIS", a.country);
      agencies->putNumber("TIPO_MON", a.currencyRule);
      agencies->putNumber("A_COMIS", a.lodging);
      agencies->putNumber("COM_CONF", a.lodging > 0 ? 1 : 0);
      if (a.lodging > 0) {
        agencies->putNumber("C_COMIS1", 1);
        agencies->putNumber("P_COMIS1", a.lodging / 2);
      }
      agencies->putNumber("LISTA_VEND", 1);
      sellers->append();
      sellers->putString("NEGOCIO", business);
      sellers->putString("AGENCIA", a.code);
      sellers->putString("VENDEDOR", std::string(a.type) == "COR" ? "0002" : "0001");
      sellers->putNumber("CHECK1", 1);
    }
    // The wholesaler's exception: a higher commission in the high season of its rack.
    if (!wholesaler) continue;
    auto exceptions = openTable(home, "DET_AGE3");
    exceptions->append();
    exceptions->putString("NEGOCIO", business);
    exceptions->putString("AGENCIA", "VIAJESOL");
    exceptions->putString("COD_RACK", "MAYO");
    for (auto [field, value] : {std::pair{"D_INICIO", "15"}, {"M_INICIO", "12"}, {"D_FINAL", "15"}, {"M_FINAL", "04"}})
      exceptions->putString(field, value);
    exceptions->putNumber("A_COMIS", 25);
    exceptions->putNumber("COM_CONF", 1);
  }
}

}  // namespace initdb
