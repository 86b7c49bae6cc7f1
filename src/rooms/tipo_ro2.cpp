#include "rooms/tipo_ro2.h"

#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/room_counters.h"
#include "rooms/room_util.h"
#include "rooms/tipo_rom.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kCode = 500, kDescription = 501, kAbbreviation = 502;
constexpr int kClass = 601, kAllotment = 602, kGroup = 603, kRate = 604, kPointsType = 605;
constexpr int kRooms = 503;  // shown only: the rooms screens keep it
constexpr int kCeiling = 510;
constexpr const char* kRoomsPicture = "9999";
constexpr const char* kNoGroup = "***Sin Asociación";

// The numeric edits and their fields and pictures.
constexpr struct {
  int id;
  const char* field;
  const char* picture;
} kNumbers[] = {
    {504, "CANT_MIN", "9999"},     {505, "CANT_ADULT", "9999"},  {506, "CANT_NINHO", "9999"},
    {507, "PORC_MIN", "999.99"},   {508, "FACTOR", "9999.9999"}, {509, "WEB_MENOS", "9999"},
    {kCeiling, "TOPE1", "999.99"},
};

// The check boxes and their 0/1 fields.
constexpr struct {
  int id;
  const char* field;
} kFlags[] = {{1001, "SHOW_WEB"}, {1002, "PUNTOS"}, {1003, "CONEX_ROOM"}};

// Drop-down lists filled from a table of the business unit: code in the value, description shown.
void fillFrom(win::WDIAG* dialog, int id, const std::string& table, const std::string& negocio) {
  win::CCOMBOBOX box(dialog, id);
  if (!lib::IS_FILE(nullptr, table)) return;
  auto t = lib::USE(nullptr, table, table);
  const std::string key = keyPart(*t, "NEGOCIO", negocio);
  t->SetScope(Value::chars(key), Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip()) box.Add(t->S("DESCRIP"), 0, t->S("CODIGO"));
  lib::KILLTABLA(t);
}

}  // namespace

TIPO_RO2::TIPO_RO2(TIPO_ROM* list, const std::string& dialog, const std::string& negocio, Mode mode)
    : list_(list), mode_(mode) {
  NEGOCIO = negocio;
  if (mode == kModify) XRECNO = list->TIPO_ROM_->RecNo();
  AbrirBases();
  if (!Init(list, dialog)) return;
  for (int id : {kCode, kDescription, kAbbreviation, kRooms}) ADD(std::make_unique<win::WEDIT>(this, id));
  for (const auto& n : kNumbers) ADD(std::make_unique<win::WEDIT>(this, n.id));
  for (int id : {kClass, kAllotment, kGroup, kRate, kPointsType}) ADD(std::make_unique<win::CCOMBOBOX>(this, id));
  for (const auto& f : kFlags) ADD(std::make_unique<win::WCHECKBOX>(this, f.id));
  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(dialog);
  LOAD_CLASES();
  LOAD_ALLOTMENT();
  LOAD_TARIFAS();
  LOAD_PUNTOS();
  LOAD_GRUPOS();
  lib::WDBTable& t = *list->TIPO_ROM_;
  win::WEDIT(this, kCode).SetLimit(int(widthOf(t, "CODIGO")));
  win::WEDIT(this, kDescription).SetLimit(int(widthOf(t, "DESCRIP")));
  win::WEDIT(this, kAbbreviation).SetLimit(int(widthOf(t, "ABREVIA")));
  win::WEDIT(this, kRooms).ReadOnly(true);
  if (mode == kModify) {
    readRecord();
  } else {
    SetDlgItemText(kRooms, lib::TRANSFORM_NUMBER(0, kRoomsPicture));
    for (const auto& n : kNumbers) SetDlgItemText(n.id, lib::TRANSFORM_NUMBER(0, n.picture));
    win::CCOMBOBOX(this, kGroup).SeekCargo("");
  }
  for (const auto& n : kNumbers) {
    win::WEDIT edit(this, n.id);
    win::ONLYNUMBER(edit, n.picture);
  }
  EDITOR_OF(list);
  SetFocusTo(kCode);
}

void TIPO_RO2::AbrirBases() {
  TIPO_ROM_ = lib::USE(this, "TIPO_ROM", "TIPO_ROM");
}

void TIPO_RO2::CerrarBases() {
  lib::KILLTABLA(TIPO_ROM_);
}

void TIPO_RO2::LOAD_CLASES() {
  fillFrom(this, kClass, "CLAS_ROM", NEGOCIO);
}

void TIPO_RO2::LOAD_ALLOTMENT() {
  win::CCOMBOBOX box(this, kAllotment);
  for (int n = 1; n <= 20; ++n) box.Add(std::to_string(n), 0, std::to_string(n));
}

void TIPO_RO2::LOAD_TARIFAS() {
  fillFrom(this, kRate, "ENC_RACK", NEGOCIO);
}

void TIPO_RO2::LOAD_PUNTOS() {
  fillFrom(this, kPointsType, "ROOM_PTO", NEGOCIO);
}

void TIPO_RO2::LOAD_GRUPOS() {
  win::CCOMBOBOX(this, kGroup).Add(kNoGroup, 0, "");
  fillFrom(this, kGroup, "GR_ROOM", NEGOCIO);
}

// The type as stored, its room count first recounted from the rooms.
void TIPO_RO2::readRecord() {
  lib::WDBTable& t = *list_->TIPO_ROM_;
  t.GoTo(XRECNO);
  RECUENTA_TIPO(NEGOCIO, t.S("CODIGO"));
  t.GoTo(XRECNO);
  SetDlgItemText(kCode, t.S("CODIGO"));
  SetDlgItemText(kDescription, t.S("DESCRIP"));
  SetDlgItemText(kAbbreviation, t.S("ABREVIA"));
  SetDlgItemText(kRooms, lib::TRANSFORM_NUMBER(t.N("CANTIDAD"), kRoomsPicture));
  for (const auto& n : kNumbers) SetDlgItemText(n.id, lib::TRANSFORM_NUMBER(t.N(n.field), n.picture));
  for (const auto& f : kFlags) CheckDlgButton(f.id, t.N(f.field) == 1);
  win::CCOMBOBOX(this, kClass).SeekCargo(t.S("CLASE"));
  const int column = int(t.N("ALLOTMENT"));
  win::CCOMBOBOX(this, kAllotment).SeekCargo(column > 0 ? std::to_string(column) : "");
  win::CCOMBOBOX(this, kGroup).SeekCargo(t.S("GRUPO"));
  win::CCOMBOBOX(this, kRate).SeekCargo(t.S("COD_RACK"));
  win::CCOMBOBOX(this, kPointsType).SeekCargo(t.S("ROOM_PUNTO"));
}

bool TIPO_RO2::validate(const std::string& code) {
  auto refuse = [this](const char* text, int focus) {
    error(text);
    SetFocusTo(focus);
    return false;
  };
  if (code.empty()) return refuse("Debe definir el Código", kCode);
  if (win::CCOMBOBOX(this, kClass).CurCargo().empty()) return refuse("Debe definir el Tipo de Ubicación", kClass);
  if (win::CCOMBOBOX(this, kAllotment).CurCargo().empty())
    return refuse("Debe definir una Columna para el Allotment", kAllotment);
  if (duplicate(code)) return refuse("Código Ya definido...", kCode);
  return true;
}

// Another type of the business unit with the code; the record being edited is not one.
bool TIPO_RO2::duplicate(const std::string& code) {
  lib::WDBTable& t = *TIPO_ROM_;
  bool found = false;
  if (t.Seek(keyPart(t, "NEGOCIO", NEGOCIO) + keyPart(t, "CODIGO", code))) {
    if (mode_ == kModify && t.RecNo() == XRECNO) t.Skip();
    found = !t.Eof() && t.S("NEGOCIO") == trim(NEGOCIO) && t.S("CODIGO") == code;
  }
  return found;
}

// Every field but the room count, which the rooms screens keep.
void TIPO_RO2::writeFields(lib::WDBTable& t, const std::string& code) {
  t.FieldPut("CODIGO", Value::chars(code));
  t.FieldPut("DESCRIP", Value::chars(trim(GetDlgItemText(kDescription))));
  t.FieldPut("ABREVIA", Value::chars(trim(GetDlgItemText(kAbbreviation))));
  t.FieldPut("CLASE", Value::chars(win::CCOMBOBOX(this, kClass).CurCargo()));
  t.FieldPut("ALLOTMENT", Value::num(std::stoi(win::CCOMBOBOX(this, kAllotment).CurCargo())));
  t.FieldPut("GRUPO", Value::chars(win::CCOMBOBOX(this, kGroup).CurCargo()));
  t.FieldPut("COD_RACK", Value::chars(win::CCOMBOBOX(this, kRate).CurCargo()));
  t.FieldPut("ROOM_PUNTO", Value::chars(win::CCOMBOBOX(this, kPointsType).CurCargo()));
  for (const auto& n : kNumbers) t.FieldPut(n.field, Value::num(lib::readNumber(GetDlgItemText(n.id))));
  for (const auto& f : kFlags) t.FieldPut(f.field, Value::num(IsDlgButtonChecked(f.id) ? 1 : 0));
}

void TIPO_RO2::SAVE_DATOS() {
  const std::string code = upper(trim(GetDlgItemText(kCode)));
  if (!validate(code)) return;
  TIPO_ROM& list = *list_;
  list.DISABLE_BROWSE(*list.OB);
  if (mode_ == kAdd) {
    ADD_TIPO();
  } else {
    MOD_TIPO(code);
  }
  list.ENABLE_BROWSE(*list.OB);
  list.refreshTypes(mode_ == kAdd);
  ENDDIALOG();
}

// A new type, without rooms yet, and its availability rows from the closing day on.
void TIPO_RO2::ADD_TIPO() {
  const std::string code = upper(trim(GetDlgItemText(kCode)));
  const std::string clase = win::CCOMBOBOX(this, kClass).CurCargo();
  const double tope = lib::readNumber(GetDlgItemText(kCeiling));
  lib::WDBTable& t = *TIPO_ROM_;
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    t.FieldPut("CANTIDAD", Value::num(0));
    writeFields(t, code);
  });
  const uint32_t added = t.RecNo();
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Generando Disponibilidad del Tipo...");
    CREA_DISPONIBLE_TIPO(NEGOCIO, code, clase, 0, desde);
    TOPE_TIPO(NEGOCIO, code, tope, desde);
    CLASE_A_ROOMS(NEGOCIO, code, clase);
    wait.TERMINAR();
  }
  list_->TIPO_ROM_->GoTo(added);
  notice("Fin de Creación de Tipo del Habitación", "Aviso");
}

// The type rewritten from the controls. A changed class takes the type's rooms from the old
// class to the new one; a changed code is carried into every table that names the type.
void TIPO_RO2::MOD_TIPO(const std::string& code) {
  lib::WDBTable& t = *list_->TIPO_ROM_;
  t.GoTo(XRECNO);
  const std::string oldCode = t.S("CODIGO"), oldClass = t.S("CLASE");
  const std::string clase = win::CCOMBOBOX(this, kClass).CurCargo();
  const double cantidad = t.N("CANTIDAD");
  const double tope = lib::readNumber(GetDlgItemText(kCeiling));
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  win::WAIT wait(this);
  wait.PUT_TEXT("Un momento por favor...");
  if (oldClass != clase) {
    SUMA_CLASE(NEGOCIO, oldClass, -cantidad);
    SUMA_CLASE(NEGOCIO, clase, +cantidad);
    // The class-total availability rows follow their classes' room counts.
    SUMA_DISPONIBLE_CLASE(NEGOCIO, oldClass, desde, -cantidad);
    SUMA_DISPONIBLE_CLASE(NEGOCIO, clase, desde, +cantidad);
  }
  if (oldCode != code) RECODIFICA(TYPE_REFERENCES(), NEGOCIO, oldCode, code, &wait);
  t.GoTo(XRECNO);
  lib::MODIFY(t, [&] { writeFields(t, code); });
  TOPE_TIPO(NEGOCIO, code, tope, desde);
  CLASE_A_ROOMS(NEGOCIO, code, clase);
  if (oldClass != clase) {
    SHOW_TIPO_EN_CLASE(NEGOCIO, code, clase, desde);
    for (const std::string& room : ROOMS_DEL_TIPO(NEGOCIO, code)) CLASE_TAB_RESE(NEGOCIO, room, clase, desde);
  }
  wait.TERMINAR();
  t.GoTo(XRECNO);
}

}  // namespace rooms
