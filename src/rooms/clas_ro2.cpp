#include "rooms/clas_ro2.h"

#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "rooms/clas_rom.h"
#include "rooms/room_counters.h"
#include "rooms/room_util.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "win/wait.h"

namespace rooms {

namespace {

using lib::Value;

constexpr int kCode = 500, kDescription = 501, kAbbreviation = 502, kFactor = 503, kCeiling = 504;
constexpr int kRooms = 505;  // shown only: the recount of the rooms of the class's types
constexpr int kOtherClass = 601, kAdultBand = 602, kChildBand = 603;
constexpr int kCombine = 1002;
constexpr const char* kFactorPicture = "9999.9999";
constexpr const char* kCeilingPicture = "999.99";
constexpr const char* kRoomsPicture = "999999";

constexpr struct {
  int id;
  const char* field;
} kFlags[] = {
    {1001, "PRESUP_REQ"}, {kCombine, "COMBINAR"}, {1003, "LEER_BRAZA"}, {1004, "PRES_PLAN"}, {1005, "ST_IMAGE"}};

}  // namespace

CLAS_RO2::CLAS_RO2(CLAS_ROM* list, const std::string& dialog, const std::string& negocio, Mode mode, uint32_t recno)
    : list_(list), MODO_E(mode), XRECNO(recno) {
  NEGOCIO = negocio;
  AbrirBases();
  if (!Init(list, dialog)) return;
  for (int id : {kCode, kDescription, kAbbreviation, kFactor, kCeiling, kRooms})
    ADD(std::make_unique<win::WEDIT>(this, id));
  for (int id : {kOtherClass, kAdultBand, kChildBand}) ADD(std::make_unique<win::CCOMBOBOX>(this, id));
  for (const auto& f : kFlags) {
    if (f.id == kCombine) {
      ADD(std::make_unique<win::WCHECKBOX>(this, f.id), [this](win::WDIAG&, win::WCONTROL&, int) {
        COMBINAR_CHANGED();
        return 1;
      });
    } else {
      ADD(std::make_unique<win::WCHECKBOX>(this, f.id));
    }
  }
  ADD_BUTTON(win::IDOK, [this] { SAVE_DATOS(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(dialog);
  LOAD_CLASES();
  LOAD_BRAZALETES();
  win::WEDIT(this, kCode).SetLimit(int(widthOf(*CLAS_ROM_, "CODIGO")));
  win::WEDIT(this, kDescription).SetLimit(int(widthOf(*CLAS_ROM_, "DESCRIP")));
  win::WEDIT(this, kAbbreviation).SetLimit(int(widthOf(*CLAS_ROM_, "ABREVIA")));
  win::WEDIT(this, kRooms).ReadOnly(true);
  if (MODO_E == kModify) {
    readRecord();
  } else {
    SetDlgItemText(kFactor, lib::TRANSFORM_NUMBER(0, kFactorPicture));
    SetDlgItemText(kCeiling, lib::TRANSFORM_NUMBER(0, kCeilingPicture));
    SetDlgItemText(kRooms, lib::TRANSFORM_NUMBER(0, kRoomsPicture));
  }
  COMBINAR_CHANGED();
  win::WEDIT factor(this, kFactor), ceiling(this, kCeiling);
  win::ONLYNUMBER(factor, kFactorPicture);
  win::ONLYNUMBER(ceiling, kCeilingPicture);
  EDITOR_OF(list);
  SetFocusTo(kCode);
}

void CLAS_RO2::AbrirBases() {
  CLAS_ROM_ = lib::USE(this, "CLAS_ROM", "CLAS_ROM");
}

void CLAS_RO2::CerrarBases() {
  lib::KILLTABLA(CLAS_ROM_);
}

// The classes this one may combine with: every other class of the business unit.
void CLAS_RO2::LOAD_CLASES() {
  win::CCOMBOBOX box(this, kOtherClass);
  const std::string key = keyPart(*CLAS_ROM_, "NEGOCIO", NEGOCIO);
  CLAS_ROM_->SetScope(Value::chars(key), Value::chars(key));
  for (CLAS_ROM_->GoTop(); !CLAS_ROM_->Eof(); CLAS_ROM_->Skip())
    if (CLAS_ROM_->RecNo() != XRECNO) box.Add(CLAS_ROM_->S("DESCRIP"), 0, CLAS_ROM_->S("CODIGO"));
  CLAS_ROM_->ClearScope();
}

void CLAS_RO2::LOAD_BRAZALETES() {
  if (!lib::IS_FILE(nullptr, "DEF_BRAS")) return;
  win::CCOMBOBOX adults(this, kAdultBand), children(this, kChildBand);
  auto t = lib::USE(this, "DEF_BRAS", "DEF_BRAS");
  const std::string key = keyPart(*t, "NEGOCIO", NEGOCIO);
  t->SetScope(Value::chars(key), Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    adults.Add(t->S("DESCRIP"), 0, t->S("CODIGO"));
    children.Add(t->S("DESCRIP"), 0, t->S("CODIGO"));
  }
  lib::KILLTABLA(t);
}

// The class as stored, its room count first recounted from the rooms of its types.
void CLAS_RO2::readRecord() {
  lib::WDBTable& t = *CLAS_ROM_;
  t.GoTo(XRECNO);
  RECUENTA_CLASE(NEGOCIO, t.S("CODIGO"));
  t.GoTo(XRECNO);
  SetDlgItemText(kCode, t.S("CODIGO"));
  SetDlgItemText(kDescription, t.S("DESCRIP"));
  SetDlgItemText(kAbbreviation, t.S("ABREVIA"));
  SetDlgItemText(kFactor, lib::TRANSFORM_NUMBER(t.N("FACTOR"), kFactorPicture));
  SetDlgItemText(kCeiling, lib::TRANSFORM_NUMBER(t.N("TOPE1"), kCeilingPicture));
  SetDlgItemText(kRooms, lib::TRANSFORM_NUMBER(t.N("CANTIDAD"), kRoomsPicture));
  for (const auto& f : kFlags) CheckDlgButton(f.id, t.N(f.field) == 1);
  win::CCOMBOBOX(this, kOtherClass).SeekCargo(t.S("OTRA_CLASE"));
  win::CCOMBOBOX(this, kAdultBand).SeekCargo(t.S("BRAS_ADULT"));
  win::CCOMBOBOX(this, kChildBand).SeekCargo(t.S("BRAS_NINHO"));
}

// The class to combine with is chosen only while "Combinar Ocupación para Pronóstico" is checked.
void CLAS_RO2::COMBINAR_CHANGED() {
  EnableItem(kOtherClass, IsDlgButtonChecked(kCombine));
}

// Another class of the business unit with the code; the record being edited is not one.
bool CLAS_RO2::duplicate(const std::string& code) {
  lib::WDBTable& t = *CLAS_ROM_;
  bool found = false;
  if (t.Seek(keyPart(t, "NEGOCIO", NEGOCIO) + keyPart(t, "CODIGO", code))) {
    if (MODO_E == kModify && t.RecNo() == XRECNO) t.Skip();
    found = !t.Eof() && t.S("NEGOCIO") == trim(NEGOCIO) && t.S("CODIGO") == code;
  }
  if (XRECNO) t.GoTo(XRECNO);
  return found;
}

void CLAS_RO2::writeFields(lib::WDBTable& t, const std::string& code) {
  const bool combine = IsDlgButtonChecked(kCombine);
  t.FieldPut("CODIGO", Value::chars(code));
  t.FieldPut("DESCRIP", Value::chars(trim(GetDlgItemText(kDescription))));
  t.FieldPut("ABREVIA", Value::chars(trim(GetDlgItemText(kAbbreviation))));
  t.FieldPut("FACTOR", Value::num(lib::readNumber(GetDlgItemText(kFactor))));
  t.FieldPut("TOPE1", Value::num(lib::readNumber(GetDlgItemText(kCeiling))));
  for (const auto& f : kFlags) t.FieldPut(f.field, Value::num(IsDlgButtonChecked(f.id) ? 1 : 0));
  t.FieldPut("OTRA_CLASE", Value::chars(combine ? win::CCOMBOBOX(this, kOtherClass).CurCargo() : ""));
  t.FieldPut("BRAS_ADULT", Value::chars(win::CCOMBOBOX(this, kAdultBand).CurCargo()));
  t.FieldPut("BRAS_NINHO", Value::chars(win::CCOMBOBOX(this, kChildBand).CurCargo()));
}

void CLAS_RO2::SAVE_DATOS() {
  const std::string code = upper(trim(GetDlgItemText(kCode)));
  if (code.empty()) {
    error("Debe definir el Código");
    SetFocusTo(kCode);
    return;
  }
  if (duplicate(code)) {
    error(MODO_E == kAdd ? "Código ya definido..." : "Código Ya definido...");
    SetFocusTo(kCode);
    return;
  }
  CLAS_ROM& list = *list_;
  list.DISABLE_BROWSE(*list.OB);
  const int32_t desde = CIERRE_DIA(NEGOCIO);
  const double tope = lib::readNumber(GetDlgItemText(kCeiling));
  uint32_t recno = XRECNO;
  if (MODO_E == kAdd) {
    lib::ADD(*CLAS_ROM_, [&] {
      CLAS_ROM_->FieldPut("NEGOCIO", Value::chars(NEGOCIO));
      CLAS_ROM_->FieldPut("CANTIDAD", Value::num(0));
      writeFields(*CLAS_ROM_, code);
    });
    recno = CLAS_ROM_->RecNo();
  } else {
    lib::WDBTable& t = *CLAS_ROM_;
    t.GoTo(XRECNO);
    const std::string old = t.S("CODIGO");
    if (old != code) {
      win::WAIT wait(this);
      wait.PUT_TEXT("Un momento por favor...", "Recodificando referencias en Habitaciones...");
      const std::vector<RecodeStep>& steps = CLASS_REFERENCES();
      REEMPLAZA_CODIGO(steps.front(), NEGOCIO, old, code);
      RECODIFICA(std::vector<RecodeStep>(steps.begin() + 1, steps.end()), NEGOCIO, old, code, &wait);
      wait.TERMINAR();
    }
    t.GoTo(XRECNO);
    lib::MODIFY(t, [&] { writeFields(t, code); });
  }
  TOPE_CLASE(NEGOCIO, code, tope, desde);
  list.CLAS_ROM_->GoTo(recno);
  list.ENABLE_BROWSE(*list.OB);
  list.refreshClasses(MODO_E == kAdd);
  ENDDIALOG();
}

}  // namespace rooms
