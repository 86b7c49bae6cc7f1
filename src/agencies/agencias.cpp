#include "agencies/agencias.h"

#include "agencies/edit_agencia.h"
#include "agencies/references.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace agencies {

namespace {

using lib::Value;
using screens::Column;

// The four segment sets, as the grid shows them: set number and fields.
constexpr struct {
  int set;
  const char *segment, *detail;
} kSets[] = {
    {0, "E_SEGMENTO", "D_SEGMENTO"}, {1, "E_SEG2", "D_SEG2"}, {2, "E_SEG3", "D_SEG3"}, {3, "E_SEG4", "D_SEG4"}};

}  // namespace

AGENCIAS::AGENCIAS(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"AGENCIAS",
                   "AGENCIAS",
                   kMenuId,
                   {{"Agencia ", "CODIGO", std::string(15, '!')},
                    {"Nombre  ", "DESCRIP", std::string(40, 'X')},
                    {"Telefono", "TELEFONO", std::string(20, 'X')},
                    {"Fax", "FAX", std::string(20, 'X')},
                    {"Contacto", "CONTACTO", std::string(30, 'X')},
                    {"Dirección", "DIRECCION", std::string(40, 'X')},
                    {"Tipo", "TIPO", "!!!!"},
                    {"Tarifa ", "TARIFA", "!!!!"},
                    {"CxC ", "GENERA_CXC", "9"},
                    {"Sub-Tipo Tarifa", "", std::string(30, 'X'), 0, 0,
                     [this]() {
                       const std::string key =
                           TABLA->KeyPart("NEGOCIO", NEGOCIO) + lib::padded(TABLA->S("COD_TREL"), 15);
                       return Value::chars(ENC_TREL && ENC_TREL->Seek(key) ? ENC_TREL->S("DESCRIP") : std::string());
                     }}},
                   true}) {}

void AGENCIAS::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  if (lib::IS_FILE(nullptr, "ENC_TREL")) ENC_TREL = USE("ENC_TREL", "ENC_TREL");
  ENC_SEG = USE("ENC_SEG", "ENC_SEG");
  DET_SEG = USE("DET_SEG", "DET_SEG2");
}

// The description of a segment (or of its detail) of the agency under the cursor.
std::string AGENCIAS::segmentText(int set, const char* segmentField, const char* detailField, bool detail) const {
  const std::string key = lib::businessKey(NEGOCIO) + lib::STR(set, 2) + lib::padded(TABLA->S(segmentField), 4);
  lib::WDBTable* t = detail ? DET_SEG : ENC_SEG;
  return t->Seek(detail ? key + lib::padded(TABLA->S(detailField), 4) : key) ? t->S("DESCRIP") : std::string();
}

// After the declared columns, "SOB1 E ", "SOB1 D " ... "SOB4 E ", "SOB4 D ": the segments and
// their details.
void AGENCIAS::MontarColumnas() {
  LIST_SCREEN::MontarColumnas();
  for (const auto& s : kSets) {
    const std::string n = std::to_string(s.set + 1);
    for (bool detail : {false, true})
      win::AGREGARCOL(*OB, TABLA, "SOB" + n + (detail ? " D " : " E "), "", std::string(20, 'X'),
                      [this, s, detail] { return Value::chars(segmentText(s.set, s.segment, s.detail, detail)); });
  }
}

void AGENCIAS::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "AGENCIAS"}, {2, "AGENCIA5"}}, 1, NEGOCIO);
}

void AGENCIAS::ADD_AGENCIA() {
  screens::OPEN<EDIT_AGENCIA>(this, NEGOCIO, EDIT_AGENCIA::kAdd);
}

void AGENCIAS::MOD_AGENCIA() {
  if (hasRecord()) screens::OPEN<EDIT_AGENCIA>(this, NEGOCIO, EDIT_AGENCIA::kModify);
}

void AGENCIAS::DEL_AGENCIA() {
  CALL_LEVEL();
  screens::CascadeReport report;
  const std::string code = hasRecord() ? lib::trim(TABLA->S("CODIGO")) : "";
  if (BORRA_REGISTRO(screens::cascadeQuestion("Desea borrar la Agencia?"),
                     [&](win::WAIT& wait) { report = screens::BORRA_CODIGO(AGENCY_ROWS(), NEGOCIO, code, &wait); }))
    screens::AVISA_FALTANTES(report);
}

void AGENCIAS::ALLOTMENT() {
  screens::NO_DISPONIBLE("ED_ALLOT", "Registro de Allotment");
}

void AGENCIAS::REPORTE() {
  screens::NO_DISPONIBLE("REP_AGEN", "Reporte de Agencias");
}

void AGENCIAS::REG_COMISION() {
  if (!hasRecord()) return;
  if (TABLA->N("COM_IND") != 1) {
    screens::error("La agencia no permite registrar comision individual");
    return;
  }
  screens::NO_DISPONIBLE("REG_COM", "Registro de Comision");
}

}  // namespace agencies
