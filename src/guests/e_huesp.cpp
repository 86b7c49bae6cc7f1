#include "guests/e_huesp.h"

#include "guests/guest_rules.h"
#include "lib/multitask.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"

namespace guests {

namespace {

using lib::Value;

constexpr int kTabs = 200;
constexpr int kName = 501, kSurname = 502, kDocument = 505, kEmail = 506;
constexpr int kDay = 514, kMonth = 515, kYear = 516;
constexpr int kCountry = 601, kState = 602, kSource = 603, kProfession = 604, kClassification = 605, kAirline = 606;
constexpr int kUpdateProfile = 1008;
constexpr int kFamily = 710;

// The amenity boxes and their fields (captions from the first record of F_SABRE).
constexpr struct {
  int id;
  const char* field;
} kAmenities[] = {
    {1001, "P_AMENITY1"}, {1002, "P_AMENITY2"}, {1003, "P_AMENITY3"}, {1004, "R_AMENITY1"}, {1005, "R_AMENITY2"}};

// The parts of the profile the synchronisation sends.
constexpr const char* kChangeFlags[] = {"ACT_NAME", "ACT_EMAIL", "ACT_TEL1",   "ACT_TEL2",   "ACT_TEL3",  "ACT_TEL4",
                                        "ACT_ADDR", "ACT_PAY",   "ACT_PREFIX", "ACT_AMENIT", "ACT_LOYALT"};

constexpr const char* kRelations[] = {"Cónyuge", "Hijo(a)", "Padre/Madre", "Hermano(a)", "Otro"};

}  // namespace

std::string SERIAL_HUESPED(const std::string& negocio, const std::string& field) {
  std::string series;
  lib::EACH_RECORD("F_HOTEL4", "F_HOTEL4", lib::businessKey(negocio),
                   [&](const lib::WDBTable& h) { series = lib::trim(h.S(field)); });
  if (series.empty()) return "";
  const std::string serial = lib::GET_NXSERIAL(nullptr, negocio, series);
  return serial == lib::kNoSerial ? "" : lib::trim(serial);
}

E_HUESP::E_HUESP(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode, bool activar)
    : EDITOR(list, "MODIF_B_H", negocio, mode), activar_(activar) {
  CODE_ID = kName;
}

// The family members of the guest modified, into the working copy.
void E_HUESP::AbrirBases() {
  EDITOR::AbrirBases();
  REGISTRO->SetOrder("H_HUES2");
  if (XRECNO) REGISTRO->GoTo(XRECNO);
  WORK = USE("D_HUESW.DBF", "D_HUESW");
  if (MODO_E != kModify) return;
  const std::string document = lib::trim(REGISTRO->S("CEDULA"));
  if (document.empty()) return;
  lib::EACH_RECORD("D_HUES", "D_HUES", lib::businessKey(NEGOCIO) + REGISTRO->KeyPart("CEDULA", document),
                   [&](const lib::WDBTable& m) {
                     lib::ADD(*WORK, [&] {
                       for (const char* f : {"NOMBRE", "APELLIDO1", "APELLIDO2", "TIPO", "SEXO", "FECHA_NAC"})
                         WORK->FieldPut(f, m.FieldGet(f));
                       WORK->FieldPut("NUM_REC", Value::num(m.RecNo()));
                     });
                   });
  WORK->GoTop();
}

void E_HUESP::BIND() {
  MAINTABPAGE(DIALOG, kTabs, "", 8, 130);
  ADDTABPAGE("MODIF_B_H2", "Datos Personales");
  ADDTABPAGE("MODIF_B_H3", "Datos Reservas");
  lib::WDBTable* t = REGISTRO;
  for (auto [id, field] :
       {std::pair{kName, "NOMBRE"}, {kSurname, "APELLIDO1"}, {503, "MIDDLENAME"}, {504, "PREFIX"},
        {kDocument, "CEDULA"},      {kEmail, "EMAIL"},       {507, "TELEFONO1"},  {508, "TELEFONO2"},
        {509, "TELEFONO3"},         {510, "TELEFONO4"},      {511, "CIUDAD"},     {512, "CITYNAME"},
        {513, "APARTADO"},          {521, "CARDCODE"},       {522, "CARDNUMBER"}, {523, "CARDHOLDER"},
        {524, "CARDVENCE"},         {525, "LOY_P_ID"},       {526, "LOY_M_ID"},   {527, "LOY_LEVEL"},
        {531, "LOY_PIN"},           {532, "CLIENTE_F"},      {533, "AFILIADO"},   {534, "VIAJERO_F"}})
    FORM_.TRIMMED(id, t, field);
  FORM_.NUMBER(kDay, t, "NAC_DIA", "99");
  FORM_.NUMBER(kMonth, t, "NAC_MES", "99");
  FORM_.NUMBER(kYear, t, "NAC_ANHO", "9999");
  FORM_.DATE(528, t, "LOY_SIGNUP");
  FORM_.DATE(529, t, "LOY_EFF_D");
  FORM_.DATE(530, t, "LOY_EXPIRE");
  FORM_.TEXT(517, t, "ANOTACION");
  FORM_.TEXT(518, t, "NOTAS_RES");
  FORM_.OPTION(t, "GENERO", {{1101, 0}, {1102, 1}}, 1101);
  FORM_.OPTION(t, "ESTA_CIVIL", {{1111, 0}, {1112, 1}, {1113, 2}}, 1111);
  for (const auto& a : kAmenities) FORM_.FLAG(a.id, t, a.field);
  FORM_.FLAG(1006, t, "BLOQUEADO");
  FORM_.FLAG(1007, t, "SYNC_SABRE");
  FORM_.CODE(kCountry, t, "PAIS");
  FORM_.CODE(kState, t, "ESTADO_GEO");
  FORM_.CODE(kSource, t, "FUENTE");
  FORM_.CODE(kProfession, t, "PROFESION");
  FORM_.CODE(kClassification, t, "CLAS_HUE");
  FORM_.CODE(kAirline, t, "AEROLINEA");
  // The states follow the country chosen.
  ADD(std::make_unique<win::CCOMBOBOX>(this, kCountry), [this](win::WDIAG&, win::WCONTROL&, int n) {
    if (n == win::CBN_SELCHANGE) LOAD_ESTADOS();
    return 1;
  });
  ADD(std::make_unique<win::WCHECKBOX>(this, kUpdateProfile));
  OB_FAMILIA = std::make_unique<win::WBLISTBOX>(this, kFamily, WORK, "MODIF_B_H_710");
  ADD(OB_FAMILIA.get());
  ADD_BUTTON(201, [this] { ADD_FAMILIAR(); });
  ADD_BUTTON(202, [this] { MOD_FAMILIAR(); });
  ADD_BUTTON(203, [this] { DEL_FAMILIAR(); });
}

void E_HUESP::LOAD_LISTAS() {
  screens::LOAD_LISTA(*this, {kCountry}, "PAISES", "PAISES", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kSource}, "COM_ENT", "COM_ENT", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kProfession}, "T_PROFE", "T_PROFE", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kClassification}, "CLAS_HUE", "CLAS_HUE", NEGOCIO, "DESCRIP", true);
  screens::LOAD_LISTA(*this, {kAirline}, "AEROLIN", "AEROLIN", NEGOCIO, "DESCRIP", true);
}

void E_HUESP::LOAD_ESTADOS() {
  win::CCOMBOBOX states(this, kState);
  states.Clear();
  const std::string country = win::CCOMBOBOX(this, kCountry).CurCargo();
  if (country.empty()) return;
  screens::LOAD_LISTA_IF(*this, {kState}, "DET_PAIS", "DET_PAIS",
                         lib::businessKey(NEGOCIO) + lib::padded(lib::trim(country), 4),
                         [](const lib::WDBTable&) { return true; });
}

void E_HUESP::CARGAR() {
  if (MODO_E == kModify) {
    REGISTRO->GoTo(XRECNO);
    win::CCOMBOBOX country(this, kCountry);
    screens::SEEK_CODIGO(country, REGISTRO->S("PAIS"));
    LOAD_ESTADOS();
  }
  EDITOR::CARGAR();
  // The amenities as the synchronisation names them.
  if (lib::IS_FILE(nullptr, "F_SABRE")) {
    auto sabre = lib::USE(nullptr, "F_SABRE");
    sabre->GoTop();
    if (!sabre->Eof())
      for (const auto& a : kAmenities)
        if (std::string caption = lib::trim(sabre->S(a.field)); !caption.empty()) SetDlgItemText(a.id, caption);
    lib::KILLTABLA(sabre);
  }
  win::WBLISTBOX& g = *OB_FAMILIA;
  win::AGREGARCOL(g, WORK, "Nombre", "NOMBRE", std::string(20, 'X'));
  win::AGREGARCOL(g, WORK, "Apellido 1", "APELLIDO1", std::string(18, 'X'));
  win::AGREGARCOL(g, WORK, "Apellido 2", "APELLIDO2", std::string(18, 'X'));
  win::AGREGARCOL(g, WORK, "Parentesco", "TIPO", std::string(12, 'X'));
  win::AGREGARCOL(g, WORK, "Sexo", "SEXO", "X", {}, 0, false, 16);
  win::AGREGARCOL(g, WORK, "Nacimiento", "FECHA_NAC", "");
  lib::SELECT(WORK->Area);
  g.useMaintenanceLook();
  win::BrowMarksOptions options;
  options.noRefresh = true;
  BROWMARKS(g, {{1, "D_HUESW"}}, 1, "", options);
  g.doubleclick = [this](win::WBLISTBOX&) { MOD_FAMILIAR(); };
  ACTIVATEPAGE(1);
}

bool E_HUESP::VALIDA(const std::string&) {
  const std::string name = FORM_.text(kName), surname = FORM_.text(kSurname), document = FORM_.text(kDocument);
  if (name.empty() && surname.empty()) return REHUSA("Debe definir el nombre del huésped", kName);
  if (!FORM_.VALID()) return false;
  const int day = int(FORM_.number(kDay)), month = int(FORM_.number(kMonth)), year = int(FORM_.number(kYear));
  if ((day || month || year) && F_NACE(day, month, year) == 0) {
    ACTIVATEPAGE(1);
    return REHUSA("Fecha de nacimiento inválida", kDay);
  }
  // Name, surname and document, 25 characters each, with the business unit.
  lib::WDBTable& t = *REGISTRO;
  const std::string key = lib::businessKey(NEGOCIO) + t.KeyPart("NOMBRE", name) + t.KeyPart("APELLIDO1", surname) +
                          t.KeyPart("CEDULA", document);
  bool taken = false;
  t.SetOrder("H_HUES2");
  t.SetScope(key);
  for (t.GoTop(); !t.Eof() && !taken; t.Skip()) taken = t.RecNo() != XRECNO;
  t.ClearScope();
  if (XRECNO) t.GoTo(XRECNO);
  if (taken) return REHUSA("Ya existe un huesped con el mismo nombre", kName);
  return true;
}

// Every field from the controls and what is made of them; every part of the profile marked
// for the synchronisation. The caller holds the record.
void E_HUESP::writeGuest() {
  lib::WDBTable& t = *REGISTRO;
  screens::CON_HISTORIAL(t, [&] {
    FORM_.SAVE(&t, false);
    t.FieldPut("NOMBRE_C", Value::chars(NOMBRE_C(t.S("NOMBRE"), t.S("APELLIDO1"))));
    t.FieldPut("F_NACE", Value::date(F_NACE(int(t.N("NAC_DIA")), int(t.N("NAC_MES")), int(t.N("NAC_ANHO")))));
    t.FieldPut("VALID_MAIL", Value::num(VALID_MAIL(t.S("EMAIL"))));
    if (IsDlgButtonChecked(kUpdateProfile)) t.FieldPut("PROCESADO", Value::num(0));
    for (const char* flag : kChangeFlags) t.FieldPut(flag, Value::num(1));
    t.FieldPut("F_ACTUALIZ", Value::date(lib::XDATE()));
  });
}

bool E_HUESP::AGREGA(const std::string&) {
  const std::string sync = SERIAL_HUESPED(NEGOCIO, "SERIAL_SBR");
  const std::string code = SERIAL_HUESPED(NEGOCIO, "COD_HUESP");
  lib::WDBTable& t = *REGISTRO;
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    if (!sync.empty()) {
      t.FieldPut("ID_ORIG", Value::chars(sync));
      t.FieldPut("PROCESADO", Value::num(0));
      t.FieldPut("IS_MODIFY", Value::num(0));
    }
    if (!code.empty()) t.FieldPut("CODIGO", Value::chars(code));
    writeGuest();
  });
  const uint32_t added = t.RecNo();
  GRABA_FAMILIARES();
  t.GoTo(added);
  return true;
}

bool E_HUESP::MODIFICA(const std::string&) {
  lib::WDBTable& t = *REGISTRO;
  t.GoTo(XRECNO);
  const std::string before = lib::trim(t.S("CEDULA"));
  const std::string sync = lib::trim(t.S("ID_ORIG")).empty() ? SERIAL_HUESPED(NEGOCIO, "SERIAL_SBR") : "";
  const std::string code = lib::trim(t.S("CODIGO")).empty() ? SERIAL_HUESPED(NEGOCIO, "COD_HUESP") : "";
  t.GoTo(XRECNO);
  lib::MODIFY(t, [&] {
    if (!lib::trim(t.S("ID_ORIG")).empty()) {
      t.FieldPut("IS_MODIFY", Value::num(1));
    } else if (!sync.empty()) {
      t.FieldPut("ID_ORIG", Value::chars(sync));
      t.FieldPut("PROCESADO", Value::num(0));
      t.FieldPut("IS_MODIFY", Value::num(0));
    }
    if (!code.empty()) t.FieldPut("CODIGO", Value::chars(code));
    if (activar_) t.FieldPut("STAT_FREC", Value::num(0));
    writeGuest();
  });
  const std::string after = lib::trim(t.S("CEDULA"));
  if (!before.empty() && after != before) CAMBIA_NOTAS(before, after);
  GRABA_FAMILIARES();
  t.GoTo(XRECNO);
  return true;
}

// The guest's notes follow the new document number, one note at a time under its lock.
void E_HUESP::CAMBIA_NOTAS(const std::string& before, const std::string& after) {
  if (!lib::IS_FILE(nullptr, "ENC_NOTA")) return;
  const int cursor = WAIT_CURSOR();
  auto notes = lib::USE(nullptr, "ENC_NOTA", "ENC_NOTA2");
  const std::string key = notes->KeyPart("HUESPED", before);
  while (notes->Seek(key)) {
    lib::MODIFY(*notes, [&] { notes->FieldPut("HUESPED", Value::chars(after)); });
    lib::MULTITASK();
  }
  lib::KILLTABLA(notes);
  SET_CURSOR(cursor);
}

// Every row of the working copy, those removed included: a removed row deletes its member,
// a new one appends one, a kept one rewrites its member; each with the guest's document.
void E_HUESP::GRABA_FAMILIARES() {
  const std::string document = REGISTRO->S("CEDULA");
  auto family = lib::USE(nullptr, "D_HUES", "D_HUES");
  WORK->driver().setDeletedHidden(false);
  WORK->SetOrder("");
  auto write = [&] {
    family->FieldPut("CEDULA", Value::chars(document));
    for (const char* f : {"NOMBRE", "APELLIDO1", "APELLIDO2", "TIPO", "SEXO", "FECHA_NAC"})
      family->FieldPut(f, WORK->FieldGet(f));
  };
  for (WORK->GoTop(); !WORK->Eof(); WORK->Skip()) {
    const uint32_t from = uint32_t(WORK->N("NUM_REC"));
    if (WORK->Deleted()) {
      if (!from) continue;
      family->GoTo(from);
      if (!family->Eof() && !family->Deleted()) lib::MODIFY(*family, [&] { family->Delete(); });
    } else if (!from) {
      lib::ADD(*family, [&] {
        family->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
        write();
      });
    } else {
      family->GoTo(from);
      if (family->Eof() || family->Deleted()) continue;  // deleted meanwhile by another workstation
      lib::MODIFY(*family, write);
    }
  }
  WORK->driver().setDeletedHidden(true);
  WORK->SetOrder("D_HUESW");
  lib::KILLTABLA(family);
}

void E_HUESP::refreshFamily(uint32_t recno) {
  win::WBLISTBOX& g = *OB_FAMILIA;
  g.CountScope();
  if (recno) WORK->GoTo(recno);
  g.SHOWDATA();
  g.REFRESHALL();
}

// A family member in the dialog E_D_HUES: name required, the birth date a date.
bool E_HUESP::E_D_HUES(bool adding) {
  std::unique_ptr<screens::FORM> form;
  const int answer = win::DIALOG_BOX("E_D_HUES", this,
                                     {[&](win::ModalDialog& d) {
                                        form = std::make_unique<screens::FORM>(d);
                                        form->TRIMMED(501, WORK, "NOMBRE");
                                        form->TRIMMED(502, WORK, "APELLIDO1");
                                        form->TRIMMED(503, WORK, "APELLIDO2");
                                        form->CODE(601, WORK, "TIPO");
                                        form->OPTION_TEXT(WORK, "SEXO", {{1101, "M"}, {1102, "F"}}, 1101);
                                        form->DATE(504, WORK, "FECHA_NAC");
                                        win::CCOMBOBOX relations(&d, 601);
                                        for (const char* r : kRelations) relations.Add(r, 0, r);
                                        if (adding)
                                          form->CLEAR();
                                        else
                                          form->LOAD();
                                        form->FILTROS();
                                        d.SetFocusTo(501);
                                      },
                                      [&](win::ModalDialog& d) {
                                        if (form->text(501).empty()) {
                                          screens::error("Debe definir el nombre del familiar");
                                          d.SetFocusTo(501);
                                          return false;
                                        }
                                        if (!form->VALID()) return false;
                                        if (adding)
                                          lib::ADD(*WORK, [&] {
                                            WORK->FieldPut("NUM_REC", Value::num(0));
                                            form->SAVE(WORK, false);
                                          });
                                        else
                                          lib::MODIFY(*WORK, [&] { form->SAVE(WORK, false); });
                                        return true;
                                      }});
  return answer == win::IDOK;
}

void E_HUESP::ADD_FAMILIAR() {
  CALL_LEVEL();
  if (E_D_HUES(true)) refreshFamily(WORK->RecNo());
}

void E_HUESP::MOD_FAMILIAR() {
  CALL_LEVEL();
  if (WORK->Eof() || OB_FAMILIA->nMaxRec == 0) return;
  if (E_D_HUES(false)) refreshFamily(WORK->RecNo());
}

void E_HUESP::DEL_FAMILIAR() {
  CALL_LEVEL();
  if (WORK->Eof() || OB_FAMILIA->nMaxRec == 0 || !screens::confirm("Desea borrar el familiar?")) return;
  lib::MODIFY(*WORK, [&] { WORK->Delete(); });
  WORK->Skip();
  if (WORK->Eof()) WORK->GoTop();
  refreshFamily(0);
}

void E_HUESP::CerrarBases() {
  if (OB_FAMILIA) CLOSEBROWSE(*OB_FAMILIA);
  EDITOR::CerrarBases();
}

}  // namespace guests
