#include "agencies/edit_agencia.h"

#include "agencies/segment_lists.h"

#include <set>

#include "agencies/commission_exceptions.h"
#include "agencies/references.h"
#include "agencies/segment_lists.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/message_box.h"
#include "win/wait.h"

namespace agencies {

namespace {

using lib::Value;

constexpr int kCode = 501, kLodging = 507;
constexpr int kType = 601, kSubType = 602, kSegment1 = 603, kDetail1 = 604, kClient = 605, kBranch = 606;
constexpr int kClassification = 607, kCountry = 608, kMaster = 609, kExtra = 610;
constexpr int kReceivables = 1002, kIndividual = 1006, kSpecialPrices = 1004;
constexpr int kSellers = 901, kRacks = 902;
constexpr int kByAgency = 213;
constexpr size_t kAgencyWidth = 15;
constexpr const char* kNoSubType = "***Sin Asociación***";

const SegmentLists kSegments = segmentLists(kSegment1, kDetail1);

// The check boxes and their 0/1 fields.
constexpr struct {
  int id;
  const char* field;
} kFlags[] = {{1001, "LISTA_VEND"}, {1018, "TODOS_VEN"},      {kReceivables, "GENERA_CXC"},
              {1011, "VARIAR_CXC"}, {1003, "NO_COMP"},        {kSpecialPrices, "TARIFA_ESP"},
              {1005, "COMISION"},   {kIndividual, "COM_IND"}, {1007, "EXENTO"},
              {1008, "FACTURA_E"},  {1013, "REST_RACK"},      {1014, "INACTIVO"},
              {1015, "CONTRATO"},   {1016, "NO_P_TARIF"},     {1017, "NO_NOSH_CM"},
              {1012, "LIMIT_DESC"}};

std::string agencyKey(const std::string& negocio, const std::string& code) {
  return lib::businessKey(negocio) + lib::padded(code, kAgencyWidth);
}

}  // namespace

EDIT_AGENCIA::EDIT_AGENCIA(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "AGREGAR_AGENCIA", negocio, mode) {
  CODE_ID = kCode;
}

void EDIT_AGENCIA::AbrirBases() {
  EDITOR::AbrirBases();
  WORK = USE("DET_AG3W.CNF", "DET_AG3W");
  if (MODO_E == kModify) CARGA_EXCEPCIONES(*WORK, NEGOCIO, REGISTRO->S("CODIGO"));
}

void EDIT_AGENCIA::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(kCode, t, "CODIGO");
  for (auto [id, field] : {std::pair{502, "DESCRIP"},
                           {510, "SOCIAL"},
                           {509, "CED_JUR"},
                           {503, "TELEFONO"},
                           {504, "FAX"},
                           {511, "EMAIL"},
                           {505, "CONTACTO"}})
    FORM_.TRIMMED(id, t, field);
  FORM_.TEXT(506, t, "DIRECCION");
  FORM_.NUMBER(512, t, "DESCUENTO", "999.99");
  FORM_.NUMBER(508, t, "DESC_MAX", "999.99");
  FORM_.CODE(kType, t, "TIPO");
  FORM_.CODE(kSubType, t, "COD_TREL");
  FORM_.CODE(kClassification, t, "CLASIFICA");
  FORM_.CODE(kCountry, t, "PAIS");
  FORM_.CODE(kMaster, t, "MON_MASTER");
  FORM_.CODE(kExtra, t, "MON_EXTRA");
  FORM_.CODE(kBranch, t, "SUBCLIENTE");
  for (const auto& f : kFlags) FORM_.FLAG(f.id, t, f.field);
  FORM_.OPTION(t, "MOD_SALIDA", {{203, 0}, {204, 1}, {205, 2}}, 203);
  FORM_.OPTION(t, "TIPO_FOLIO", {{208, 0}, {209, 1}, {210, 2}}, 208);
  FORM_.OPTION(t, "TIPO_MON", {{211, 0}, {212, 1}, {kByAgency, 2}}, 212);
  // A segment or a client chosen fills the list that depends on it.
  BIND_SEGMENTOS(*this, FORM_, t, NEGOCIO, kSegments);
  FORM_.CODE(kClient, t, "CLIENTE");
  ADD(std::make_unique<win::CCOMBOBOX>(this, kClient), [this](win::WDIAG&, win::WCONTROL&, int n) {
    if (n == win::CBN_SELCHANGE) LOAD_SUCURSALES();
    return 1;
  });
  ADD(std::make_unique<win::WEDIT>(this, kLodging))->ReadOnly(true);
  ADD(std::make_unique<win::CLISTBOX>(this, kSellers));
  ADD(std::make_unique<win::CLISTBOX>(this, kRacks));
  ADD_BUTTON(201, [this] { ADD_VENDEDOR(); });
  ADD_BUTTON(202, [this] { DEL_VENDEDOR(); });
  ADD_BUTTON(206, [this] { COMISIONES(); });
  ADD_BUTTON(207, [this] { EXCEPCIONES(); });
}

void EDIT_AGENCIA::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kType}, "TIPO_AGE", "TIPO_AGE", NEGOCIO, "DESCRIP", true);
  win::CCOMBOBOX(this, kSubType).Add(kNoSubType, 0, "");
  screens::LOAD_LISTA(*this, {kSubType}, "ENC_TREL", "ENC_TREL", NEGOCIO, "DESCRIP", true);
  LLENA_SEGMENTOS(*this, NEGOCIO, kSegments);
  screens::LOAD_LISTA(*this, {kClassification}, "CLAS_AGE", "CLAS_AGE", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kClient}, "CLIENTES", "CLIENTES", NEGOCIO, "NOMBRE", true);
  screens::LOAD_LISTA(*this, {kCountry}, "PAISES", "PAISES", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kMaster, kExtra}, "MONEDAS", "MONEDAS", NEGOCIO, "DESCRIP", true);
  win::CLISTBOX racks(this, kRacks);
  if (lib::IS_FILE(nullptr, "ENC_RACK"))
    lib::EACH_RECORD("ENC_RACK", "ENC_RACK", lib::businessKey(NEGOCIO),
                     [&](const lib::WDBTable& r) { racks.Add(r.S("DESCRIP"), r.S("CODIGO")); });
}

void EDIT_AGENCIA::LOAD_SUCURSALES() {
  win::CCOMBOBOX branches(this, kBranch);
  branches.Clear();
  const std::string client = win::CCOMBOBOX(this, kClient).CurCargo();
  if (client.empty() || !lib::IS_FILE(nullptr, "SUBCLIEN")) return;
  lib::EACH_RECORD("SUBCLIEN", "SUBCLIEN", lib::businessKey(NEGOCIO) + lib::padded(client, 15),
                   [&](const lib::WDBTable& b) { branches.Add(b.S("DESCRIP"), 0, b.S("CODIGO")); });
}

// Add mode: "Siempre", "Según Parám.Generales" and "Según Tipo de Agencia", no commission.
// Modify mode: every control from the record, the dependent lists filled for its segments
// and client, its sellers and racks marked, its schedule held for the commission screen.
void EDIT_AGENCIA::CARGAR() {
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    // The dependent lists first, so that loading finds their entries.
    MUESTRA_SEGMENTOS(*this, *REGISTRO, NEGOCIO, kSegments);
    win::CCOMBOBOX client(this, kClient);
    screens::SEEK_CODIGO(client, REGISTRO->S("CLIENTE"));
    LOAD_SUCURSALES();
    schedule_ = CommissionSchedule::read(*REGISTRO);
    const std::string code = REGISTRO->S("CODIGO");
    win::CLISTBOX sellers(this, kSellers);
    std::map<std::string, std::string> names;
    if (lib::IS_FILE(nullptr, "VENDEDOR"))
      lib::EACH_RECORD("VENDEDOR", "VENDEDOR", lib::businessKey(NEGOCIO),
                       [&](const lib::WDBTable& v) { names[v.S("CODIGO")] = v.S("DESCRIP"); });
    lib::EACH_RECORD("AGE_VEND", "AGE_VEND", agencyKey(NEGOCIO, code), [&](const lib::WDBTable& row) {
      if (row.N("CHECK1") == 1)
        sellers.Add(names.count(row.S("VENDEDOR")) ? names[row.S("VENDEDOR")] : row.S("VENDEDOR"), row.S("VENDEDOR"));
    });
    std::set<std::string> allowed;
    lib::EACH_RECORD("DET_AGE2", "DET_AGE2", agencyKey(NEGOCIO, code),
                     [&](const lib::WDBTable& row) { allowed.insert(row.S("COD_RACK")); });
    win::CLISTBOX racks(this, kRacks);
    for (int i = 1; i <= racks.Count(); ++i) racks.SetSel(i, allowed.count(racks.ItemCargo(i)) > 0);
  } else {
    schedule_ = {};
  }
  EDITOR::CARGAR();
  showLodging();
}

void EDIT_AGENCIA::showLodging() {
  SetDlgItemText(kLodging, lib::TRANSFORM_NUMBER(schedule_.lodging.number(), "999.99"));
}

void EDIT_AGENCIA::COMISIONES() {
  CALL_LEVEL();
  if (E_COMIS(this, NEGOCIO, ScheduleMode::Regular, schedule_)) showLodging();
}

void EDIT_AGENCIA::EXCEPCIONES() {
  CALL_LEVEL();
  screens::OPEN<E_COMIS2>(this, WORK, NEGOCIO);
}

void EDIT_AGENCIA::ADD_VENDEDOR() {
  CALL_LEVEL();
  std::string chosen, name;
  const int code = win::DIALOG_BOX("ADD_AG_VEND", this,
                                   {[&](win::ModalDialog& d) {
                                      screens::LOAD_LISTA(d, {601}, "VENDEDOR", "VENDEDOR", NEGOCIO, "DESCRIP", true);
                                      d.SetFocusTo(601);
                                    },
                                    [&](win::ModalDialog& d) {
                                      win::CCOMBOBOX sellers(&d, 601);
                                      if (sellers.CurItem() <= 0) {
                                        screens::error("No ha seleccionado ningun Vendedor");
                                        return false;
                                      }
                                      chosen = sellers.CurCargo();
                                      name = sellers.CurText();
                                      win::CLISTBOX listed(this, kSellers);
                                      for (int i = 1; i <= listed.Count(); ++i)
                                        if (lib::trim(listed.ItemCargo(i)) == lib::trim(chosen)) {
                                          screens::error("Ya existe el vendedor seleccionado");
                                          return false;
                                        }
                                      return true;
                                    }});
  if (code == win::IDOK) win::CLISTBOX(this, kSellers).Add(name, chosen);
}

void EDIT_AGENCIA::DEL_VENDEDOR() {
  win::CLISTBOX sellers(this, kSellers);
  if (int at = sellers.CurItem(); at > 0) sellers.Delete(at);
}

bool EDIT_AGENCIA::VALIDA(const std::string& code) {
  auto chosen = [this](int id) { return !FORM_.text(id).empty(); };
  if (code.empty()) return REHUSA("Debe definir el Código", kCode);
  if (!chosen(kType)) return REHUSA("Debe definir el Tipo de Agencia", kType);
  if (win::CCOMBOBOX(this, kSubType).CurItem() <= 0) return REHUSA("Debe definir el Sub-Tipo de Tarifa", kSubType);
  if (!chosen(kSegment1)) return REHUSA("Debe definir el Segmento", kSegment1);
  if (!chosen(kDetail1)) return REHUSA("Debe definir el Sub-Segmento", kDetail1);
  if (IsDlgButtonChecked(kReceivables) && (!chosen(kClient) || !chosen(kBranch)))
    return REHUSA("Debe definir correctamente el Cliente y Sucursal", kClient);
  if (!chosen(kCountry)) return REHUSA("Debe definir el País", kCountry);
  if (!chosen(kClassification)) return REHUSA("Debe definir la Clasificación del Source of Business", kClassification);
  if (!FORM_.VALID()) return false;
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO)) {
    win::MESSAGE_BOX(nullptr, "Código Ya definido...", MODO_E == kAdd ? "Error " : "Error 2", 16);
    SetFocusTo(kCode);
    return false;
  }
  return true;
}

// The bound fields, the schedule, and the folio currencies only for a folio currency of the
// agency's own.
void EDIT_AGENCIA::writeAll() {
  FORM_.SAVE(REGISTRO);
  schedule_.write(*REGISTRO);
  if (!IsDlgButtonChecked(kByAgency)) {
    REGISTRO->FieldPut("MON_MASTER", Value::chars(""));
    REGISTRO->FieldPut("MON_EXTRA", Value::chars(""));
  }
}

bool EDIT_AGENCIA::AGREGA(const std::string& code) {
  lib::ADD(*REGISTRO, [&] {
    REGISTRO->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    writeAll();
  });
  if (IsDlgButtonChecked(kIndividual)) FILAS_COMISION(NEGOCIO, code);
  GRABA_RELACIONES(code);
  return true;
}

bool EDIT_AGENCIA::MODIFICA(const std::string& code) {
  REGISTRO->GoTo(XRECNO);
  const std::string old = lib::trim(REGISTRO->S("CODIGO"));
  screens::CascadeReport report;
  if (old != code) {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias en Reservaciones...");
    report = screens::RECODIFICA(AGENCY_REFERENCES(), NEGOCIO, old, code, &wait);
    wait.TERMINAR();
  }
  REGISTRO->GoTo(XRECNO);
  lib::MODIFY(*REGISTRO, [&] { writeAll(); });
  if (IsDlgButtonChecked(kIndividual))
    FILAS_COMISION(NEGOCIO, code);
  else
    screens::BORRA_REFERENCIAS({"DET_AGE", "AGENCIA", "DET_AGE", true, true}, NEGOCIO, code);
  GRABA_RELACIONES(code);
  screens::AVISA_FALTANTES(report);
  return true;
}

// What follows the record in both modes: special prices gone without "Tarifa Especial", the
// sellers' marks, the allowed racks, and the exceptions written back.
void EDIT_AGENCIA::GRABA_RELACIONES(const std::string& code) {
  if (!IsDlgButtonChecked(kSpecialPrices))
    screens::BORRA_REFERENCIAS({"TIP_PREC", "AGENCIA", "TIP_PREC3", true, true}, NEGOCIO, code);
  // Sellers: every row unmarked, the listed ones marked (appended when missing).
  std::set<std::string> listed;
  win::CLISTBOX sellers(this, kSellers);
  for (int i = 1; i <= sellers.Count(); ++i) listed.insert(lib::trim(sellers.ItemCargo(i)));
  auto rows = lib::USE(nullptr, "AGE_VEND", "AGE_VEND");
  const std::string key = agencyKey(NEGOCIO, code);
  std::set<std::string> present;
  rows->SetScope(key);
  for (rows->GoTop(); !rows->Eof(); rows->Skip()) {
    const std::string seller = lib::trim(rows->S("VENDEDOR"));
    present.insert(seller);
    const int mark = listed.count(seller) ? 1 : 0;
    if (rows->N("CHECK1") != mark) lib::MODIFY(*rows, [&] { rows->FieldPut("CHECK1", Value::num(mark)); });
  }
  rows->ClearScope();
  for (const std::string& seller : listed) {
    if (present.count(seller)) continue;
    lib::ADD(*rows, [&] {
      rows->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      rows->FieldPut("AGENCIA", Value::chars(code));
      rows->FieldPut("VENDEDOR", Value::chars(seller));
      rows->FieldPut("CHECK1", Value::num(1));
    });
  }
  lib::KILLTABLA(rows);
  // Racks: a row exactly for each rack selected.
  std::set<std::string> selected;
  win::CLISTBOX racks(this, kRacks);
  for (int i : racks.Selected()) selected.insert(lib::trim(racks.ItemCargo(i)));
  auto allowed = lib::USE(nullptr, "DET_AGE2", "DET_AGE2");
  allowed->SetScope(key);
  std::set<std::string> kept;
  for (allowed->GoTop(); !allowed->Eof(); allowed->Skip()) {
    const std::string rack = lib::trim(allowed->S("COD_RACK"));
    if (selected.count(rack) && !kept.count(rack))
      kept.insert(rack);
    else
      lib::MODIFY(*allowed, [&] { allowed->Delete(); });
  }
  allowed->ClearScope();
  for (const std::string& rack : selected) {
    if (kept.count(rack)) continue;
    lib::ADD(*allowed, [&] {
      allowed->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      allowed->FieldPut("AGENCIA", Value::chars(code));
      allowed->FieldPut("COD_RACK", Value::chars(rack));
    });
  }
  lib::KILLTABLA(allowed);
  GRABA_EXCEPCIONES(*WORK, NEGOCIO, code);
}

void FILAS_COMISION(const std::string& negocio, const std::string& agency) {
  if (!lib::IS_FILE(nullptr, "TEMPORA") || !lib::IS_FILE(nullptr, "SUBTEMPO")) return;
  std::set<std::pair<std::string, std::string>> present;
  lib::EACH_RECORD("DET_AGE", "DET_AGE", agencyKey(negocio, agency), [&](const lib::WDBTable& row) {
    present.insert({lib::trim(row.S("TEMPORA")), lib::trim(row.S("SUBTEMPO"))});
  });
  std::vector<std::pair<std::string, std::string>> wanted;
  lib::EACH_RECORD("TEMPORA", "TEMPORA", lib::businessKey(negocio), [&](const lib::WDBTable& season) {
    const std::string code = season.S("CODIGO");
    lib::EACH_RECORD("SUBTEMPO", "SUBTEMPO", lib::businessKey(negocio) + season.KeyPart("CODIGO", code),
                     [&](const lib::WDBTable& sub) {
                       wanted.push_back({lib::trim(code), lib::trim(sub.S("CODIGO"))});
                     });
  });
  auto rows = lib::USE(nullptr, "DET_AGE", "DET_AGE");
  for (const auto& [season, sub] : wanted) {
    if (present.count({season, sub})) continue;
    lib::ADD(*rows, [&] {
      rows->FieldPut("NEGOCIO", Value::chars(negocio));
      rows->FieldPut("AGENCIA", Value::chars(agency));
      rows->FieldPut("TEMPORA", Value::chars(season));
      rows->FieldPut("SUBTEMPO", Value::chars(sub));
      rows->FieldPut("COM_IND", lib::Money());  // entered later, per row
      rows->FieldPut("COM_GRUP", lib::Money());
    });
  }
  lib::KILLTABLA(rows);
}

}  // namespace agencies
